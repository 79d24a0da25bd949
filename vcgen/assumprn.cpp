// Fresh names for the names of a callee's specification that are neither
// its formals nor constants, so that none of them meets a caller's name.
#include "assump.h"
#include <cstdlib>
#include <cstring>
#include "../core/pool.h"

static int isFormal(const char *name, ProcedurePtr proc) {
  for (ParamTrippleListPtr p = proc->params; p; p = p->paramTrippleList)
    if (strcmp(p->name, name) == 0) return 1;
  return 0;
}

// 1 when the name needs a fresh one: not a numeral, string, fresh name or
// formal parameter.
static int isForeignName(const char *name, ProcedurePtr proc) {
  char c = name[0];
  if (c == 0 || c == '"' || (c >= '0' && c <= '9')) return 0;
  if ((c == '-' || c == '+') && name[1] >= '0' && name[1] <= '9') return 0;
  if (c == '#' && name[1] == '@') return 0;
  if (c == '#' || c == '@') return 1;
  return !isFormal(name, proc);
}

struct RenameSet { AssignListPtr head; AssignListPtr *tail; long count; };

static void RenameAdd(RenameSet *r, const char *name) {
  for (AssignListPtr a = r->head; a; a = a->assignList)
    if (strcmp(a->assign->termLeft->name, name) == 0) return;
  char fresh[LABEL_SIZE];
  NewName(fresh);
  AssignPtr as = static_cast<AssignPtr>(PoolAlloc(sizeof(Assign)));
  as->termLeft = TermMakeName(name);
  as->termRight = TermMakeName(fresh);
  AssignListPtr n = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
  n->assign = as;
  *r->tail = n;
  r->tail = &n->assignList;
  r->count++;
}

static void TermCollect(TermPtr t, ProcedurePtr proc, RenameSet *r) {
  if (!t) return;
  if ((t->type == 1 || t->type == 2) && isForeignName(t->name, proc)) RenameAdd(r, t->name);
  for (ArraySubListPtr a = t->arraySubList; a; a = a->arraySubList)
    for (ExpPairListPtr e = a->expPairList; e; e = e->expPairList)
      if (e->expPair) {
        for (TermListPtr l = e->expPair->subList; l; l = l->termList) TermCollect(l->term, proc, r);
        TermCollect(e->expPair->exp, proc, r);
      }
  for (TermListPtr l = t->termList; l; l = l->termList) TermCollect(l->term, proc, r);
}

static void FormulaCollect(FormulaPtr f, ProcedurePtr proc, RenameSet *r) {
  while (f) {
    char c = f->connective;
    if (c == 'A') {
      // The bound variable is left alone by the substitution anyway.
    } else if (isFormulaClass(c)) {
      FormulaCollect(static_cast<FormulaPtr>(f->left), proc, r);
    } else if (isTermClass(c)) {
      TermCollect(static_cast<TermPtr>(f->left), proc, r);
      TermCollect(static_cast<TermPtr>(f->right), proc, r);
      return;
    } else {
      return;
    }
    f = static_cast<FormulaPtr>(f->right);
  }
}

FormulaPtr CallRenameFree(FormulaPtr f, ProcedurePtr proc) {
  RenameSet r = {nullptr, nullptr, 0};
  r.tail = &r.head;
  FormulaCollect(f, proc, &r);
  if (!r.head) return f;
  f = FormulaSubstSim(f, r.head);
  for (AssignListPtr a = r.head; a;) {
    AssignListPtr next = a->assignList;
    TermFree(a->assign->termLeft);
    TermFree(a->assign->termRight);
    PoolFree(a->assign, sizeof(Assign));
    PoolFree(a, sizeof(AssignList));
    a = next;
  }
  return f;
}
