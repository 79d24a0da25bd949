// User axioms: a typed formula A1^..^An -> B1|..|Bm proves every remaining
// sequent that holds all Ai among its premisses and all Bj among its
// conclusions.
#include <cstdlib>
#include "proof.h"
#include "../program/sentence.h"

void MakeUserAxiom(FormulaPtr f) {
  userAxiomPtr->formulaList1 = 0;
  userAxiomPtr->formulaList2 = 0;
  userAxiomPtr->proved = 0;
  if (!f) return;
  if (f->connective == ':' && f->left && f->right) {
    userAxiomPtr->formulaList1 = Formula2FormulaList(FormulaCopy((FormulaPtr)f->left), '^');
    if (!isFalse((FormulaPtr)f->right))
      userAxiomPtr->formulaList2 = Formula2FormulaList(FormulaCopy((FormulaPtr)f->right), '|');
  } else {
    userAxiomPtr->formulaList2 = Formula2FormulaList(FormulaCopy(f), '|');
  }
}

// Drops true premisses and false conclusions, which say nothing; answers 1
// when the axiom is trivially valid (a true conclusion or a false premiss).
static int UserAxiomSimplify(SequentPtr a) {
  int trivial = 0;
  for (FormulaListPtr q = a->formulaList1; q;) {
    FormulaListPtr next = q->formulaList;
    if (isFalse(q->formula)) trivial = 1;
    else if (isTrue(q->formula)) a->formulaList1 = SetRemoveIdentical(q->formula, a->formulaList1);
    q = next;
  }
  for (FormulaListPtr q = a->formulaList2; q;) {
    FormulaListPtr next = q->formulaList;
    if (isTrue(q->formula)) trivial = 1;
    else if (isFalse(q->formula)) a->formulaList2 = SetRemoveIdentical(q->formula, a->formulaList2);
    q = next;
  }
  return trivial;
}

// An element the reader could not fill (the empty formula).
static int hasEmptyFormula(FormulaListPtr p) {
  for (; p; p = p->formulaList)
    if (!p->formula || p->formula->connective == 0) return 1;
  return 0;
}

int SimplifySequentUseUserAxiom(SequentPtr s) {
  if (!s) return 1;
  if (s->proved) return 1;
  if (!userAxiomPtr->formulaList1 && !userAxiomPtr->formulaList2) return 0;   // never proves all
  if (SetSetInclude(userAxiomPtr->formulaList1, s->formulaList1) &&
      SetSetInclude(userAxiomPtr->formulaList2, s->formulaList2)) {
    s->formulaList1 = 0;   // dropped, not freed
    s->formulaList2 = 0;
    s->proved = 1;
  }
  return 0;
}

// "$" begins only the markers $T, $F, $A, $E (and $O in statements): a name
// beginning with it is no name of a formula.
static int isMarkerName(TermPtr t, Ptr) { return t->name && t->name[0] == '$'; }

// Reads the typed axiom, in braces or without; 1 when it was read without an
// Error line, wholly, and holds only names.
static int AxiomRead(char *text, FormulaPtr f) {
  long errors = ErrorMsgCount();
  int whole = 1;
  if (isInv(text)) {
    int closed;
    int n = SegmentMeasure(text, '{', '}', &closed);
    whole = closed && !text[n];
    if (closed) text[n - 1] = 0;
    text++;
  }
  whole = FormulaReadWhole(text, f) && whole;
  return whole && ErrorMsgCount() == errors && !FormulaTermFind(f, isMarkerName, nullptr);
}

int wMakeUseAxiom(char *text) {
  if (!text) return 0;
  FormulaPtr f = FormulaAlloc();
  if (!AxiomRead(text, f)) {
    ErrorMsg("axiom refused: it could not be read as one formula");
    return 0;
  }
  Sequent old = *userAxiomPtr;
  MakeUserAxiom(f);
  int trivial = UserAxiomSimplify(userAxiomPtr);
  if (hasEmptyFormula(userAxiomPtr->formulaList1) || hasEmptyFormula(userAxiomPtr->formulaList2)) {
    *userAxiomPtr = old;
    ErrorMsg("axiom refused: it could not be read");
    return 0;
  }
  if (!userAxiomPtr->formulaList1 && !userAxiomPtr->formulaList2) {
    *userAxiomPtr = old;
    ErrorMsg("axiom refused: it has neither premisses nor conclusions and would prove every condition");
    return 0;
  }
  if (trivial) {
    *userAxiomPtr = old;
    ErrorMsg("axiom refused: it is trivially true and proves nothing");
    return 0;
  }
  SimplifySequentList(SimplifySequentUseUserAxiom);
  return 1;
}
