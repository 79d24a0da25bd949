#include "proof.h"

int SetInclude(FormulaPtr, FormulaListPtr) { return 0; }
FormulaListPtr SetRemove(FormulaPtr, FormulaListPtr s) { return s; }
FormulaListPtr SetAdd(FormulaPtr, FormulaListPtr s) { return s; }
int SetSetInclude(FormulaListPtr, FormulaListPtr) { return 0; }
