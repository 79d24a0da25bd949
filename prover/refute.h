// Refutation: small integer counterexamples for remaining sequents.
#pragma once
#include <cstddef>
#include "proof.h"

// 1 when values were found that make every antecedent formula true and
// every succedent formula false (witness gets "x=0, y=-1"); 0 for no verdict.
int RefuteSequent(SequentPtr s, char *witness, size_t size);
// Appends the beginning of a counterexample line: "count.q:4: count:
// condition 2 (exit of loop (2,4)) fails for " (no place for a procedure
// not read from a text, no origin for a sequent without one).
void RefuteLineBegin(ProcedurePtr proc, SequentPtr s, long number, Text *line);
// Prints one line per refuted remaining sequent ("p: condition 2 fails for
// x=0, y=-1"), numbered per procedure in the order of the result file, and
// a summary line; sequents of a procedure with a read error get no verdict.
// With quiet set prints nothing.
void RefuteReportAll(int quiet);
// The refutation of RefuteReportAll without printing: the values are noted
// in the refuted sequents (`counterexample`) only.
void RefuteAll();
