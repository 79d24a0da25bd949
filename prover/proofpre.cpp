#include "proof.h"

int SimplifySequentUsePremisses(SequentPtr) { return 1; }
int TermNotInFunc(TermPtr, TermPtr) { return 0; }
