// The sequent prover: sequents, the simplification passes, rewriting and
// user axioms.
#pragma once
#include "../g.h"
#include "../formula/formula.h"
#include "../program/sentence.h"

struct Sequent;
struct SequentList;
typedef Sequent *SequentPtr;
typedef SequentList *SequentListPtr;

// A sequent is removed only when `proved` is set (by the axiom test or a
// user axiom); one that merely lost all its formulas stays ($T => $F).
// `origin` is the record of the verification condition it was made from
// (null for sequents made otherwise); copies and split-off sequents share it.
struct Sequent {
  FormulaListPtr formulaList1;
  FormulaListPtr formulaList2;
  char remark[LABEL_SIZE];
  int proved;
  OriginPtr origin;
  const char *provedBy;   // the pass that proved it
  char *counterexample;   // values that refute it ("x=0, y=1"), when found
};
struct SequentList { SequentPtr sequent; SequentListPtr sequentList; };

extern SequentList sequentList;
extern SequentListPtr sequentListPtr;
extern Sequent userAxiom;
extern SequentPtr userAxiomPtr;

typedef int (*SequentPass)(SequentPtr s);
// The name a pass is reported by ("rules", "premisses", ...): the five passes
// and the user axiom have theirs; others are named with SequentPassNameSet.
const char *SequentPassName(SequentPass f);
void SequentPassNameSet(SequentPass f, const char *name);

SequentPtr NewSequent(SequentPtr s);
void SequentPrint(const char *note, Text *ss);
void SimplifySequentAll();
void SimplifySequentList(SequentPass f);
SequentListPtr PactSequentList(SequentListPtr p);
int SetInclude(FormulaPtr e, FormulaListPtr s);
FormulaListPtr SetRemove(FormulaPtr e, FormulaListPtr s);
FormulaListPtr SetAdd(FormulaPtr e, FormulaListPtr s);
int SetSetInclude(FormulaListPtr p, FormulaListPtr s);
// Unlinks the node holding e itself (not an equal copy); nothing is freed.
FormulaListPtr SetRemoveIdentical(FormulaPtr e, FormulaListPtr s);

// Bounds of the rules pass: beyond them compound formulas stay undecomposed
// (the sequent then simply remains) instead of exhausting memory.
const long SEQUENT_LIMIT = 50000;        // sequents made by splits in one pass
const long SPLIT_NODE_LIMIT = 1000000;   // nodes copied by splits in one pass
// A long list of conditions gets at least this much per sequent it held when
// the pass began, so a large program is decomposed as fully as a small one
// while the bound stays proportional to the input.
const long SPLITS_PER_SEQUENT = 16;
const long SPLIT_NODES_PER_SEQUENT = 320;
// Bound of the premisses pass: a definition whose substitution would make the
// sequent larger than this is not used.
const long PREMISS_NODE_LIMIT = FORMULA_NODE_LIMIT;
// Work of one premisses pass (nodes measured and substituted); beyond it the
// remaining definitions are not used, and their sequents stay as they are.
const long PREMISS_WORK_LIMIT = 20000000;

// Empties the list (nothing freed) with the tail cursor on the head record.
void SequentListClear();
// Appends one sequent in the printed form of SequentPrint.
void SequentPrintOne(SequentPtr s, Text *ss);

int SimplifySequentUsePremisses(SequentPtr s);
int TermNotInFunc(TermPtr x, TermPtr y);

int SimplifySequentUseRules(SequentPtr s);
int SimplifySequentUseAxioms(SequentPtr s);
int isTrue(FormulaPtr p);
int isFalse(FormulaPtr p);

int SimplifySequentUseFunAxioms(SequentPtr s);
FormulaPtr ApplyFunctionAxiomsFormula(FormulaPtr c);
TermPtr FunRewrite(TermPtr t);
FormulaPtr FunMinus(FormulaPtr c);
TermPtr FunMin(TermPtr t);
TermPtr FunMinus1(TermPtr t);
TermPtr FunCommutative(TermPtr t);
TermPtr FunFaculty(TermPtr t);

FormulaPtr SimplifySequentUseRewrite(FormulaPtr c);
FormulaPtr SimplifyEqual(FormulaPtr c);
FormulaPtr SimplifyLess(FormulaPtr c);
FormulaPtr SimplifyGreater(FormulaPtr c);
int isFreeVarFormula(TermPtr x, FormulaPtr t);
int isFreeVarTerm(TermPtr x, TermPtr t);
int isFreeVarTermTermList(TermPtr x, TermListPtr p);
int isFreeVarTermArraySubList(TermPtr x, ArraySubListPtr p);
int isFreeVarTermExpPairList(TermPtr x, ExpPairListPtr p);
int isFreeVarTermExpPair(TermPtr x, ExpPairPtr p);

// User axioms: 1 when the axiom was taken, 0 when it was refused.
int wMakeUseAxiom(char *text);
void MakeUserAxiom(FormulaPtr f);
int SimplifySequentUseUserAxiom(SequentPtr s);
