#include "proof.h"

FormulaPtr SimplifySequentUseRewrite(FormulaPtr c) { return c; }
FormulaPtr SimplifyEqual(FormulaPtr c) { return c; }
FormulaPtr SimplifyLess(FormulaPtr c) { return c; }
FormulaPtr SimplifyGreater(FormulaPtr c) { return c; }
int isFreeVarFormula(TermPtr, FormulaPtr) { return 0; }
int isFreeVarTerm(TermPtr, TermPtr) { return 0; }
int isFreeVarTermTermList(TermPtr, TermListPtr) { return 0; }
int isFreeVarTermArraySubList(TermPtr, ArraySubListPtr) { return 0; }
int isFreeVarTermExpPairList(TermPtr, ExpPairListPtr) { return 0; }
int isFreeVarTermExpPair(TermPtr, ExpPairPtr) { return 0; }
