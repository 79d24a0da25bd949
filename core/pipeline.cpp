#include "core.h"
#include "../prover/proof.h"

void StartProg0() {}
SequentList *AssumptionList2SequentList() { return sequentListPtr; }
void SequentListPrint(Text *) {}
