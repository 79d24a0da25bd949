#include "proof.h"

int SimplifySequentUseFunAxioms(SequentPtr) { return 1; }
FormulaPtr ApplyFunctionAxiomsFormula(FormulaPtr c) { return c; }
TermPtr FunRewrite(TermPtr t) { return t; }
FormulaPtr FunMinus(FormulaPtr c) { return c; }
TermPtr FunMin(TermPtr t) { return t; }
TermPtr FunMinus1(TermPtr t) { return t; }
TermPtr FunCommutative(TermPtr t) { return t; }
TermPtr FunFaculty(TermPtr t) { return t; }
