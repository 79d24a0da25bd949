// The assumption list, the generation driver and the dispatcher of the
// precondition calculus.
#include "assump.h"
#include <cstdlib>
#include <cstring>
#include "../core/pool.h"

AssumptionList assumptionList;

// The empty tail node, remembered so that appending does not walk the list.
// It is trusted only while the head still holds the assumption it held when
// the tail was remembered; a list emptied by zeroing its head starts again.
static AssumptionListPtr assumptionTail;
static AssumptionPtr assumptionFirst;

void AssumptionListClear() {
  assumptionList.assumption = nullptr;
  assumptionList.assumptionList = nullptr;
  assumptionTail = nullptr;
  assumptionFirst = nullptr;
}

static AssumptionListPtr AssumptionListTail() {
  AssumptionListPtr t = assumptionTail;
  if (!assumptionList.assumption) return &assumptionList;
  if (t && assumptionFirst == assumptionList.assumption && !t->assumption && !t->assumptionList)
    return t;
  t = &assumptionList;
  while (t->assumption && t->assumptionList) t = t->assumptionList;
  if (t->assumption) {   // a list without its empty tail node: add one
    t->assumptionList = static_cast<AssumptionListPtr>(PoolAlloc(sizeof(AssumptionList)));
    t = t->assumptionList;
  }
  return t;
}

// Copies a formula for an assumption. A formula too large to copy becomes
// "$T" as a hypothesis and "~T" as a conclusion: either asks for more.
static FormulaPtr AssumptionCopy(FormulaPtr f, int asHypothesis) {
  if (FormulaSize(f, FORMULA_NODE_LIMIT) <= FORMULA_NODE_LIMIT) return FormulaCopy(f);
  if (asHypothesis) return FormulaMakeTrue();   // a weaker hypothesis asks for more
  return GenTooLarge();
}

// AssumptionCopy without the copy: the assumption shares the formula. For
// the conditions of the records (a procedure's, a statement's), which the
// calculus shares among records already and nothing changes or frees while
// the records live; assumptions only read their formulas.
static FormulaPtr AssumptionShare(FormulaPtr f, int asHypothesis) {
  if (FormulaSize(f, FORMULA_NODE_LIMIT) <= FORMULA_NODE_LIMIT) return f;
  if (asHypothesis) return FormulaMakeTrue();
  return GenTooLarge();
}

// Conditions are numbered per procedure in the order they are made.
static ProcedurePtr numberedProcedure;
static long conditionNumber;

AssumptionListPtr AssumptionListMark() { return AssumptionListTail(); }

// Conditions made on trial are dropped and do not count: the numbering of
// the procedure starts again with its next condition.
void AssumptionListCut(AssumptionListPtr mark) {
  if (!mark) return;
  mark->assumption = nullptr;
  mark->assumptionList = nullptr;
  assumptionTail = mark;
  assumptionFirst = assumptionList.assumption;
  numberedProcedure = nullptr;
}

static void AssumptionAppend(FormulaPtr f1, FormulaPtr f2, int kind, const char *loop) {
  AssumptionListPtr t = AssumptionListTail();
  AssumptionPtr a = static_cast<AssumptionPtr>(PoolAlloc(sizeof(Assumption)));
  a->formula1 = f1;
  a->formula2 = f2;
  a->procName = LabelKeep(currentProcedure ? currentProcedure->name : "");
  if (numberedProcedure != currentProcedure) conditionNumber = 0;
  numberedProcedure = currentProcedure;
  a->origin.kind = kind;
  a->origin.loop = LabelKeep(loop ? loop : "");
  a->origin.number = ++conditionNumber;
  t->assumption = a;
  t->assumptionList = static_cast<AssumptionListPtr>(PoolAlloc(sizeof(AssumptionList)));
  assumptionTail = t->assumptionList;
  assumptionFirst = assumptionList.assumption;
}

void MakeAssumption(FormulaPtr c1, FormulaPtr c2) {
  AssumptionAppend(AssumptionShare(c1, 1), AssumptionShare(c2, 0), ORIGIN_BODY, nullptr);
}

void MakeLoopAssumption(int kind, const char *loop, FormulaPtr c, FormulaPtr c1, FormulaPtr c2) {
  // c may be a node of the caller's own that it frees (the negated condition).
  FormulaPtr h = CombineCond(AssumptionCopy(c, 1), '^', AssumptionShare(c1, 1));
  AssumptionAppend(h, AssumptionShare(c2, 0), kind, loop);
}

FormulaPtr CombineCaseCond(FormulaPtr c1, FormulaPtr c2, FormulaPtr c) {
  FormulaPtr notC = CombineCond(nullptr, '~', c);
  FormulaPtr left = CombineCond(notC, '|', c1);
  FormulaPtr right = CombineCond(c, '|', c2);
  return CombineCond(left, '^', right);
}

void GenerateVerificationCond() {
  ProcedureListPtr n = currentProcedureList ? currentProcedureList : &procedureList;
  while (n->procedureList) {
    // Errors found now belong to the procedure: located at its head.
    if (n->procedure) {
      LocAtLine(n->procedure->file, n->procedure->line, n->procedure->name);
      Verification(n->procedure);
      LocEnd();
    }
    n = n->procedureList;
  }
  currentProcedureList = n;
}

void Verification(ProcedurePtr proc) {
  if (!proc) return;
  currentProcedure = proc;
  GenWorkReset();
  if (proc->readError) {
    // Nothing of a half-read body is trusted: one condition that stays open.
    AssumptionAppend(AssumptionCopy(proc->preCond, 1), FormulaMakeFalse(), ORIGIN_BODY, nullptr);
    return;
  }
  FormulaPtr post = VerificationPostCond(proc);
  if (!proc->body[0]) {
    // An empty block changes nothing: the pre-condition must give the post.
    MakeAssumption(proc->preCond, post);
    return;
  }
  AddPostCond(proc->body, post);
  FormulaPtr pre = CalPreCond(proc->body);
  MakeAssumption(proc->preCond, pre);
}

// How deep the calculus is inside composite statements.
static int calDepth;

FormulaPtr CalPreCond(const char *l) {
  SentencePtr s = Sentence2Ptr(l);
  if (!s) return FormulaMakeFalse();   // a label pair that names no statement
  if (calDepth >= CAL_DEPTH_LIMIT) {
    ErrorMsg("CalPreCond: statements nested too deeply");
    s->preCond = FormulaMakeFalse();
    return s->preCond;
  }
  calDepth++;
  FormulaPtr p;
  switch (s->type) {
    case 1: p = CalElem(s); break;
    case 2: p = CalSeq(s); break;
    case 3: p = CalLoop(s); break;
    case 4: p = CalCase(s); break;
    case 5: p = CalCall(s); break;
    default: p = FormulaMakeFalse(); s->preCond = p; break;
  }
  calDepth--;
  if (FormulaSize(p, FORMULA_NODE_LIMIT) > FORMULA_NODE_LIMIT) {
    p = GenTooLarge();
    s->preCond = p;
  }
  return p;
}
