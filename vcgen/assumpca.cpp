// The procedure-call rule: a call is replaced by the callee's pre- and
// post-condition, instantiated with the call's bindings.
#include "assump.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "../core/pool.h"

FormulaPtr CallFail(SentencePtr s, const char *detail) {
  ErrorMsg("Procedure Call");
  if (detail && detail[0]) ErrorMsg(detail);
  // The condition is unknown, not false: no counterexample is claimed.
  if (currentProcedure) currentProcedure->readError = 1;
  s->preCond = FormulaMakeFalse();
  return s->preCond;
}

// Checks the bindings against the callee's formals: every formal bound
// exactly once, and the arguments of "%IOP" formals distinct variables.
// Returns 1 and a message when they do not fit.
static int CallBindingError(SentencePtr s, ProcedurePtr proc, char *msg, size_t size) {
  int formals = 0, bindings = 0;
  for (ParamTrippleListPtr f = proc->params; f; f = f->paramTrippleList) formals++;
  for (AssignListPtr b = s->assignList; b && b->assign; b = b->assignList) {
    bindings++;
    TermPtr l = b->assign->termLeft, r = b->assign->termRight;
    if (!l || !r || l->type != 2 || (!isInp(l, proc) && !isIop(l, proc))) {
      snprintf(msg, size, "%s: %.64s is not a parameter", proc->name, l ? l->name : "");
      return 1;
    }
    if (isIop(l, proc)) {
      if (!isPlainVariable(r)) {
        snprintf(msg, size, "%s: the argument of %.64s must be a variable", proc->name, l->name);
        return 1;
      }
      for (AssignListPtr c = s->assignList; c != b && c && c->assign; c = c->assignList)
        if (isIop(c->assign->termLeft, proc) && VarEqual(c->assign->termRight, r)) {
          snprintf(msg, size, "%s: %.64s is passed to two outputs", proc->name, r->name);
          return 1;
        }
    }
  }
  for (ParamTrippleListPtr f = proc->params; f; f = f->paramTrippleList) {
    int n = 0;
    for (AssignListPtr b = s->assignList; b && b->assign; b = b->assignList)
      if (b->assign->termLeft && strcmp(b->assign->termLeft->name, f->name) == 0) n++;
    if (n != 1 || !f->name[0]) {
      snprintf(msg, size, "%s: parameter %.64s is not bound exactly once", proc->name, f->name);
      return 1;
    }
  }
  if (bindings != formals) {
    snprintf(msg, size, "%s: the parameters do not match the bindings", proc->name);
    return 1;
  }
  return 0;
}

// The name of an "%INP" formal of proc that its body assigns, directly or as
// the argument of an output of a call; null when there is none.
static const char *CalleeInputAssigned(ProcedurePtr proc) {
  for (SentenceListPtr n = proc->sentenceList; n && n->sentence; n = n->sentenceList) {
    SentencePtr st = n->sentence;
    if (st->type == 1) {
      for (AssignListPtr a = st->assignList; a && a->assign; a = a->assignList) {
        TermPtr l = a->assign->termLeft;
        if (l && (l->type == 1 || l->type == 2) && isInp(l, proc)) return l->name;
      }
    } else if (st->type == 5) {
      ProcedurePtr inner = Procedure2Ptr(st->labels1);
      for (AssignListPtr a = st->assignList; a && a->assign; a = a->assignList) {
        TermPtr r = a->assign->termRight;
        if (r && (r->type == 1 || r->type == 2) && isInp(r, proc) &&
            (!inner || !isInp(a->assign->termLeft, inner)))
          return r->name;
      }
    }
  }
  return nullptr;
}

static FormulaListPtr ListNode(FormulaPtr f) {
  FormulaListPtr k = static_cast<FormulaListPtr>(PoolAlloc(sizeof(FormulaList)));
  k->formula = f;
  return k;
}

static FormulaListPtr *ListEnd(FormulaListPtr *l) {
  while (*l) l = &(*l)->formulaList;
  return l;
}

// Each equation usable as a rule is substituted into all the others, in
// list order, with the sizes kept within bounds.
static void CallRewrite(FormulaListPtr eList, int *tooLarge) {
  for (FormulaListPtr n = eList; n && n->formula && !*tooLarge; n = n->formulaList) {
    FormulaPtr f = n->formula;
    if (!isAssign1(f)) continue;
    Assign a = {static_cast<TermPtr>(f->left), static_cast<TermPtr>(f->right)};
    AssignList sl = {&a, nullptr};
    for (FormulaListPtr m = eList; m && m->formula && !*tooLarge; m = m->formulaList)
      if (m->formula != f) m->formula = GenSubst(m->formula, &sl, tooLarge);
  }
}

static int MentionsOutput(TermPtr t, ProcedurePtr proc) {
  for (ParamTrippleListPtr f = proc->params; f; f = f->paramTrippleList)
    if (f->name[0] && strcmp(f->io, "%IOP") == 0 && TermMentionsName(t, f->name)) return 1;
  return 0;
}

static int isDefined(FormulaListPtr defs, const char *name) {
  for (; defs; defs = defs->formulaList)
    if (strcmp(static_cast<TermPtr>(defs->formula->left)->name, name) == 0) return 1;
  return 0;
}

// Keeps in eList the equations that define an output once, by a value that
// does not refer to any output; the others go to the end of *rList.
static FormulaListPtr CallDefinitions(FormulaListPtr eList, FormulaListPtr *rList,
                                      ProcedurePtr proc) {
  FormulaListPtr defs = nullptr, *tail = &defs;
  FormulaListPtr *rTail = ListEnd(rList);
  for (FormulaListPtr n = eList; n && n->formula; n = n->formulaList) {
    FormulaPtr f = n->formula;
    TermPtr l = static_cast<TermPtr>(f->left), r = static_cast<TermPtr>(f->right);
    int ok = f->connective == '=' && l && r && l->type == 2 && l->name[0] != '#' &&
             l->name[0] != '@' && isIop(l, proc) && !isDefined(defs, l->name) &&
             !MentionsOutput(r, proc);
    FormulaListPtr k = ListNode(f);
    if (ok) {
      *tail = k;
      tail = &k->formulaList;
    } else {
      *rTail = k;
      rTail = &k->formulaList;
    }
  }
  CleanPtrList(eList);
  // An output that no equation defines has an unknown new value.
  for (ParamTrippleListPtr p = proc->params; p; p = p->paramTrippleList) {
    if (!p->name[0] || strcmp(p->io, "%IOP") != 0 || isDefined(defs, p->name)) continue;
    char fresh[LABEL_SIZE];
    NewName(fresh);
    FormulaPtr eq = FormulaAlloc();
    eq->connective = '=';
    eq->left = TermMakeName(p->name);
    eq->right = TermMakeName(fresh);
    *tail = ListNode(eq);
    tail = &(*tail)->formulaList;
  }
  return defs;
}

static void AssignListFreeShallow(AssignListPtr l) {
  while (l) {
    AssignListPtr next = l->assignList;
    PoolFree(l->assign, sizeof(Assign));
    PoolFree(l, sizeof(AssignList));
    l = next;
  }
}

// Splits the conjuncts of the instantiated pre-condition into initial-value
// equations (the first for each "#" name) and the rest.
static void CallInits(FormulaListPtr pList, ProcedurePtr proc, FormulaListPtr *inits,
                      FormulaListPtr *rest) {
  FormulaListPtr *iTail = inits, *rTail = rest;
  for (FormulaListPtr n = pList; n && n->formula; n = n->formulaList) {
    FormulaPtr f = n->formula;
    int init = isInit(f, proc) && !isDefined(*inits, static_cast<TermPtr>(f->left)->name);
    FormulaListPtr k = ListNode(f);
    if (init) {
      *iTail = k;
      iTail = &k->formulaList;
    } else {
      *rTail = k;
      rTail = &k->formulaList;
    }
  }
}

FormulaPtr CalCall(SentencePtr s) {
  char msg[256];
  ProcedurePtr proc = Procedure2Ptr(s->labels1);
  if (!proc) {
    snprintf(msg, sizeof msg, "%s: no such procedure", s->labels1);
    return CallFail(s, msg);
  }
  if (CallBindingError(s, proc, msg, sizeof msg)) return CallFail(s, msg);
  if (const char *x = CalleeInputAssigned(proc)) {
    snprintf(msg, sizeof msg, "%s assigns its input parameter %.64s", proc->name, x);
    return CallFail(s, msg);
  }
  if (FormulaSize(proc->preCond, FORMULA_NODE_LIMIT) > FORMULA_NODE_LIMIT ||
      FormulaSize(proc->postCond, FORMULA_NODE_LIMIT) > FORMULA_NODE_LIMIT ||
      FormulaSize(s->postCond, FORMULA_NODE_LIMIT) > FORMULA_NODE_LIMIT) {
    s->preCond = GenTooLarge();
    return s->preCond;
  }
  int madeBind = 0, big = 0;
  AssignListPtr bind = AssignListTrim(s->assignList, &madeBind);

  // Fresh "#" and "@" names, then the arguments into the pre-condition.
  FormulaPtr prepost = CombineCond(FormulaCopy(proc->preCond), '^', FormulaCopy(proc->postCond));
  prepost = EgenVarRename2(prepost);
  prepost->right = EgenVarRename(static_cast<FormulaPtr>(prepost->right));
  prepost = CallRenameFree(prepost, proc);
  FormulaPtr p = static_cast<FormulaPtr>(prepost->left);
  FormulaPtr post = static_cast<FormulaPtr>(prepost->right);
  prepost->left = prepost->right = nullptr;
  FormulaFree(prepost);
  p = GenSubst(p, bind, &big);

  // The equations that define the outputs, and the other conjuncts.
  FormulaListPtr postList = Formula2FormulaList(post, '^');
  FormulaListPtr eList = FormulaListSelect(postList, proc, isAssign);
  FormulaListPtr rList = FormulaListSelect(postList, proc, isNotAssign);
  CleanPtrList(postList);
  CallRewrite(eList, &big);
  eList = CallDefinitions(eList, &rList, proc);
  AssignListPtr e1 = FormulaList2AssignList(eList);

  // Everything in the caller's terms.
  for (FormulaListPtr n = rList; n && n->formula; n = n->formulaList) {
    n->formula = GenSubst(n->formula, e1, &big);
    n->formula = GenSubst(n->formula, bind, &big);
  }
  AssignListFreeShallow(e1);
  for (FormulaListPtr n = eList; n && n->formula; n = n->formulaList)
    n->formula = GenSubst(n->formula, bind, &big);
  AssignListPtr e2 = FormulaList2AssignList(eList);
  FormulaPtr q = GenSubstCopy(s->postCond, e2, &big);
  AssignListFreeShallow(e2);
  FormulaListFree(eList);

  // The other conjuncts as a hypothesis.
  if (rList) q = CombineCond(CombineCond(nullptr, '~', FormulaList2Formula(rList, '^')), '|', q);
  CleanPtrList(rList);

  // Initial values, and the demands of the pre-condition.
  FormulaListPtr pList = Formula2FormulaList(p, '^');
  FormulaListPtr inits = nullptr, rest = nullptr;
  CallInits(pList, proc, &inits, &rest);
  CleanPtrList(pList);
  AssignListPtr e3 = FormulaList2AssignList(inits);
  q = GenSubst(q, e3, &big);
  p = GenSubst(FormulaList2Formula(rest, '^'), e3, &big);
  AssignListFreeShallow(e3);
  FormulaListFree(inits);
  CleanPtrList(rest);
  if (p) q = CombineCond(p, '^', q);
  if (madeBind) CleanPtrList(bind);
  if (big) q = GenTooLarge();
  s->preCond = q;
  return q;
}
