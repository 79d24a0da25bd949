// The decision procedure: what the five passes leave is handed to Z3 (in
// process, through its C API) over the integers, with arrays, unknown
// functions and quantifiers; a sequent is proved only on an unsat answer.
#pragma once
#include "../prover/proof.h"

// Whether the sixth pass runs (quell1-batch: on unless --no-smt; quell1: off
// unless the X resource smt is true).
void SmtSetOn(int on);
int SmtIsOn();
// Per-query Z3 resource limit (rlimit; deterministic); 0 restores the default.
void SmtSetRlimit(unsigned limit);
unsigned SmtRlimit();
const unsigned SMT_RLIMIT_DEFAULT = 50000;    // about 25 ms of work here at most
const unsigned SMT_TIMEOUT_MS = 5000;     // wall-clock backstop beside the rlimit
const long SMT_NODE_LIMIT = 50000;        // larger sequents are left to the user

// The pass handed to SimplifySequentList: marks the sequent proved when Z3
// answers unsat for the antecedents with the negation of every succedent.
// Returns as the other passes do.
int SimplifySequentUseSmt(SequentPtr s);
// 1 when the antecedents imply the disjunction of the succedents (unsat
// within the budget), 0 otherwise (sat, unknown, budget exhausted, or not
// translatable). Lists are not changed.
int SmtValid(FormulaListPtr antecedents, FormulaListPtr succedents);
// The three answers behind SmtValid.
enum { SMT_VALID = 1, SMT_FALSIFIABLE = 2, SMT_UNKNOWN = 3 };
int SmtDecide(FormulaListPtr antecedents, FormulaListPtr succedents);
// When Z3 finds the sequent falsifiable and the project's own evaluator does
// not contradict the model, appends "a=-1, i=0, a[0]=1, ..." (free names
// sorted, array entries read, chosen values of unknown functions marked) to
// out and returns 1; otherwise 0 and out unchanged.
int SmtCounterexample(SequentPtr s, Text *out);
// Releases the context and solver (at exit; tests may call it between runs).
void SmtClose();

// Counts since the start (or the last SmtStatsReset): queries asked of Z3,
// sequents answered again from an earlier query, sequents proved by the
// pass, and the seconds spent in the pass.
struct SmtStats { long queries; long repeated; long proved; double seconds; };
SmtStats SmtStatsGet();
void SmtStatsReset();
