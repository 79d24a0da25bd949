#include "proof.h"

SequentList sequentList;
SequentListPtr sequentListPtr = &sequentList;
Sequent userAxiom;
SequentPtr userAxiomPtr = &userAxiom;

SequentPtr NewSequent(SequentPtr) { return 0; }
void SequentPrint(const char *, Text *) {}
void SimplifySequentAll() {}
void SimplifySequentList(SequentPass) {}
SequentListPtr PactSequentList(SequentListPtr p) { return p; }
