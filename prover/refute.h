// Refutation: small integer counterexamples for remaining sequents.
#pragma once
#include <cstddef>
#include "proof.h"

// 1 when values were found that make every antecedent formula true and
// every succedent formula false (witness gets "x=0, y=-1"); 0 for no verdict.
int RefuteSequent(SequentPtr s, char *witness, size_t size);
// Prints one line per refuted remaining sequent ("p: condition 2 fails for
// x=0, y=-1"), numbered per procedure in the order of the result file, and
// a summary line; sequents of a procedure with a read error get no verdict.
// With quiet set prints nothing.
void RefuteReportAll(int quiet);
