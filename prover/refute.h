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
// Values that come from elsewhere (a solver's model), for checking a
// counterexample with this evaluator: plain names with their values, and a
// lookup for array elements ('[' with the index values), applications of
// unknown functions ('(' with the argument values) and predicate atoms
// ('.' with the argument values; the value 0 or 1). The lookup answers 1
// and sets *v when it knows the value.
typedef int (*RefuteLookup)(void *ctx, char kind, const char *name, int n, const long long *args,
                            long long *v);
struct RefuteModel {
  int count;
  const char *const *names;
  const long long *values;
  RefuteLookup lookup;
  void *ctx;
};
enum { REFUTE_FALSE = 0, REFUTE_TRUE = 1, REFUTE_UNKNOWN = 2 };
// REFUTE_TRUE when under the model every antecedent formula is true and
// every succedent formula false, REFUTE_FALSE when the evaluator finds the
// sequent true under it (some antecedent false or some succedent true),
// REFUTE_UNKNOWN otherwise.
int RefuteSequentModel(SequentPtr s, const RefuteModel *m);

// A finder of counterexamples tried before the small-integer search: 1 with
// the values appended to out, or 0.
typedef int (*RefuteFinder)(SequentPtr s, Text *out);
// Prints one line per refuted remaining sequent ("p: condition 2 fails for
// x=0, y=-1"), numbered per procedure in the order of the result file, and
// a summary line; sequents of a procedure with a read error get no verdict.
// With quiet set prints nothing.
void RefuteReportAll(int quiet);
// The same with a finder tried first; with solverProved >= 0 the summary
// line also says how many conditions the solver proved.
void RefuteReportAllWith(int quiet, RefuteFinder finder, long solverProved);
// The refutation of RefuteReportAllWith without printing: the values are
// noted in the refuted sequents (`counterexample`) only.
void RefuteAll(RefuteFinder finder);
