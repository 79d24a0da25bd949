// List selectors and the equation classifiers of the call rule.
#include "assump.h"
#include <cstdlib>
#include <cstring>
#include "../core/pool.h"

FormulaListPtr FormulaListSelect(FormulaListPtr list, ProcedurePtr proc, FormulaSelector f) {
  FormulaListPtr head = nullptr, *tail = &head;
  for (FormulaListPtr n = list; n && n->formula; n = n->formulaList) {
    if (!f(n->formula, proc)) continue;
    FormulaListPtr k = static_cast<FormulaListPtr>(PoolAlloc(sizeof(FormulaList)));
    k->formula = n->formula;
    *tail = k;
    tail = &k->formulaList;
  }
  return head;
}

AssignListPtr AssignListSelect(AssignListPtr list, ProcedurePtr proc, TermSelector f) {
  AssignListPtr head = nullptr, *tail = &head;
  for (AssignListPtr n = list; n && n->assign; n = n->assignList) {
    if (!f(n->assign->termLeft, proc)) continue;
    AssignListPtr k = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
    k->assign = n->assign;
    *tail = k;
    tail = &k->assignList;
  }
  return head;
}

static int isParam(TermPtr t, ProcedurePtr proc, const char *io) {
  if (!t || !proc) return 0;
  for (ParamTrippleListPtr p = proc->params; p; p = p->paramTrippleList)
    if (strcmp(p->name, t->name) == 0 && strcmp(p->io, io) == 0) return 1;
  return 0;
}

int isInp(TermPtr t, ProcedurePtr proc) { return isParam(t, proc, "%INP"); }
int isIop(TermPtr t, ProcedurePtr proc) { return isParam(t, proc, "%IOP"); }

static void EquationTurn(FormulaPtr p) {
  Ptr l = p->left;
  p->left = p->right;
  p->right = l;
}

// An output of the callee: a plain name that is one of its "%IOP" formals.
static int isOutput(TermPtr t, ProcedurePtr proc) {
  return t && t->type == 2 && t->name[0] != '#' && t->name[0] != '@' && isIop(t, proc);
}

int isAssign(FormulaPtr p, ProcedurePtr proc) {
  if (!p || p->connective != '=') return 0;
  if (isOutput(static_cast<TermPtr>(p->left), proc)) return 1;
  if (isOutput(static_cast<TermPtr>(p->right), proc)) {
    EquationTurn(p);
    return 1;
  }
  return 0;
}

int isNotAssign(FormulaPtr p, ProcedurePtr proc) { return !isAssign(p, proc); }

static int isHashName(TermPtr t) { return t && t->type == 2 && t->name[0] == '#'; }
static int isPlain(TermPtr t) { return t && t->type == 2; }

int isInit(FormulaPtr p, ProcedurePtr) {
  if (!p || p->connective != '=') return 0;
  TermPtr l = static_cast<TermPtr>(p->left), r = static_cast<TermPtr>(p->right);
  if (!isPlain(l) || !isPlain(r)) return 0;
  if (isHashName(l)) return 1;
  if (isHashName(r)) {
    EquationTurn(p);
    return 1;
  }
  return 0;
}

int isNotInit(FormulaPtr p, ProcedurePtr proc) { return !isInit(p, proc); }
