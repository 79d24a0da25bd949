// Precondition rules of elementary, sequence, loop and case statements.
#include "assump.h"
#include <cstring>

// The name that two assignments of the statement give a value at once (the
// same variable twice, or a whole array and one of its elements); null when
// there is none. Elements of one array may be assigned together.
static const char *DoubleAssigned(AssignListPtr l) {
  for (AssignListPtr a = l; a && a->assign; a = a->assignList)
    for (AssignListPtr b = a->assignList; b && b->assign; b = b->assignList) {
      TermPtr x = a->assign->termLeft, y = b->assign->termLeft;
      if (x && y && (x->type == 2 || y->type == 2) && strcmp(x->name, y->name) == 0)
        return x->name;
    }
  return nullptr;
}

FormulaPtr CalElem(SentencePtr s) {
  FormulaPtr post = s->postCond;
  FormulaPtr p = nullptr;
  if (const char *x = DoubleAssigned(s->assignList)) {
    // Which of the two values the variable keeps is not defined.
    ErrorMsgPrintf("%s: statement %s assigns %.64s twice",
                   currentProcedure ? currentProcedure->name : "", s->labels, x);
    // The condition is unknown, not false: no counterexample is claimed.
    if (currentProcedure) currentProcedure->readError = 1;
    s->preCond = FormulaMakeFalse();
    return s->preCond;
  }
  if (post) {
    int tooLarge = 0;
    p = GenSubstShared(post, s->assignList, &tooLarge);
    if (tooLarge) p = GenTooLarge();
  }
  s->preCond = p;
  return p;
}

// The pre-condition of the part l of s for the post-condition post; "~T"
// when l names no statement other than s itself.
static FormulaPtr PartPreCond(SentencePtr s, const char *l, FormulaPtr post) {
  SentencePtr part = Sentence2Ptr(l);
  if (!part || part == s) return FormulaMakeFalse();
  AddPostCond(l, post);
  return CalPreCond(l);
}

FormulaPtr CalSeq(SentencePtr s) {
  FormulaPtr p2 = PartPreCond(s, s->labels2, s->postCond);
  FormulaPtr p = PartPreCond(s, s->labels1, p2);
  s->preCond = p;
  return p;
}

FormulaPtr CalLoop(SentencePtr s) {
  SentencePtr body = Sentence2Ptr(s->labels1);
  FormulaPtr inv = nullptr, pb;
  if (body && body != s) {
    inv = GetPostCond(s->labels1);
    pb = CalPreCond(s->labels1);
  } else {
    pb = FormulaMakeFalse();   // no body to run
  }
  MakeLoopAssumption(ORIGIN_LOOP_KEPT, s->labels, s->cond, inv, pb);
  FormulaPtr notC = CombineCond(nullptr, '~', s->cond);
  MakeLoopAssumption(ORIGIN_LOOP_EXIT, s->labels, notC, inv, s->postCond);
  notC->right = nullptr;
  FormulaFree(notC);
  // Without an invariant nothing is known on entry: the loop cannot be used.
  s->preCond = inv ? inv : FormulaMakeFalse();
  return s->preCond;
}

// 1 when l is the pair (d,d) with d the end label of the case s: a branch
// that does nothing and so has no record of its own.
static int isEmptyBranch(SentencePtr s, const char *l) {
  char a[LABEL_SIZE] = "", b[LABEL_SIZE] = "", c[LABEL_SIZE] = "", d[LABEL_SIZE] = "";
  DivideLabels(l, a, b);
  DivideLabels(s->labels, c, d);
  return l[0] == '(' && a[0] && strcmp(a, b) == 0 && strcmp(b, d) == 0;
}

static FormulaPtr BranchPreCond(SentencePtr s, const char *l) {
  SentencePtr part = Sentence2Ptr(l);
  if ((!part || part == s) && isEmptyBranch(s, l)) return s->postCond;
  return PartPreCond(s, l, s->postCond);
}

FormulaPtr CalCase(SentencePtr s) {
  FormulaPtr p1 = BranchPreCond(s, s->labels1);
  FormulaPtr p2 = BranchPreCond(s, s->labels2);
  s->preCond = CombineCaseCond(p1, p2, s->cond);
  return s->preCond;
}
