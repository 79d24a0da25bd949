// Loop invariant suggestions: candidate formulas made from the program text,
// kept only when the decision procedure shows them inductive (the Houdini
// method). A suggestion is offered, never trusted: it is verified afterwards
// through the normal conditions and prover, as if the user had typed it.
#pragma once
#include "../program/sentence.h"

// Bounds of the candidate language (per loop).
const int INV_CANDIDATE_LIMIT = 400;   // candidates tried
const int INV_VARIABLE_LIMIT = 8;      // variables compared
const int INV_NUMERAL_LIMIT = 6;       // numerals, 0 and 1 among them
const int INV_TERM_LIMIT = 8;          // terms taken from the post-condition
const int INV_LOOP_LIMIT = 64;         // loops of one procedure inferred together
const long INV_QUERY_LIMIT = 20000;    // solver queries for one procedure

// The candidates of loop (a loop record of proc), in the order they are
// tried; enclosing holds the loops around it, innermost first. The caller
// frees the list with its formulas (InvariantListFree).
FormulaListPtr InvariantCandidates(ProcedurePtr proc, SentencePtr loop, SentencePtr *enclosing,
                                   int nEnclosing);
void InvariantListFree(FormulaListPtr l);

// Runs the inference over the loops of proc that have no invariant. With
// install set, every suggestion becomes its loop's invariant; otherwise
// nothing of proc changes. Returns the suggestion for `want` (a new formula,
// null when none or when want is null).
FormulaPtr InvariantInfer(ProcedurePtr proc, int install, SentencePtr want);

// The suggestion for one loop of proc, installing nothing (null: none).
FormulaPtr InvariantSuggest(ProcedurePtr proc, SentencePtr loop);

// For every procedure with both conditions, installs suggestions for its
// loops without invariant and appends "p: invariant of (2,4): ..." per
// suggestion to out. Returns the number of suggestions.
int InvariantInferAll(Text *out);

// The text of a suggestion as the user would type it: its conjuncts joined
// by "^", the brackets around all of it left off.
void InvariantPrint(FormulaPtr f, Text *out);
// The formula that typing that text gives (a new one).
FormulaPtr InvariantAsTyped(FormulaPtr f);
