#include "proof.h"

int isTrue(FormulaPtr) { return 0; }
int isFalse(FormulaPtr) { return 0; }
