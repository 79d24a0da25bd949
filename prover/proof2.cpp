#include "proof.h"

int wMakeUseAxiom(char *) { return 0; }
void MakeUserAxiom(FormulaPtr) {}
int SimplifySequentUseUserAxiom(SequentPtr) { return 1; }
