// Inside the decision procedure: the one Z3 context of the run and the
// translation of sequents into Z3 terms.
#pragma once
#include <z3.h>

#include <string>
#include <vector>

#include "smt.h"

// The context and solver, made on first use; null when Z3 could not start.
Z3_context SmtContext();
Z3_solver SmtSolver();
// Z3_solver_check under the wall-clock backstop: past it the check is
// interrupted and answers Z3_L_UNDEF.
Z3_lbool SmtCheck(Z3_context c, Z3_solver s);
// Starts the watchdog of the backstop; 0 when it cannot run (Z3's own
// timeout is then set instead).
int SmtWatchStart();
// The backstop in milliseconds (tests shorten it); 0 restores the default.
void SmtSetTimeout(unsigned ms);
unsigned SmtTimeout();
// The context was interrupted: the next SmtContext makes a new one.
void SmtContextStale();
// 1 when Z3 reported an error since the last SmtErrorClear.
int SmtErrorSeen();
void SmtErrorClear();
// Forgets the kept answers (when the context goes).
void SmtAnswersClear();
// Exact key of a sequent's structure (every name with its length, every list
// with its count), "" for one nested too deep to be kept.
std::string SmtKey(FormulaListPtr antecedents, FormulaListPtr succedents);
// Forgets the kept counterexample lines.
void SmtLinesClear();
// The answer kept for the sequent of the key (SMT_VALID, ...), 0 when there
// is none.
int SmtAnswerKept(const std::string &key);

// Roles of a free name: one independent symbol per role and arity.
enum SmtRole { SMT_VAR = 'v', SMT_ARRAY = 'a', SMT_FUN = 'f', SMT_PRED = 'p', SMT_FACT = '!' };

// A free symbol of a sequent, with the argument tuples it is read at (for
// models); args holds `arity` entries per tuple.
struct SmtUse {
  char role;
  int arity;
  std::string name;
  Z3_func_decl decl;
  std::vector<Z3_ast> args;
};

// A bound variable in scope during translation (innermost first).
struct SmtScope {
  const char *name;
  Z3_ast var;
  SmtScope *up;
};

struct SmtTrans {
  Z3_context c;
  int failed;          // something could not be translated: leave the sequent
  int factorial;       // "!" occurs: its axioms are needed
  int undefined;       // an array may be one left undefined by two stores at one place
  long nodes;
  std::vector<SmtUse> *uses;   // when non-null, the free symbols met
};

// The declaration of a free name in a role (made once per run), or null
// when the role was never translated and make is 0.
Z3_func_decl SmtDecl(Z3_context c, char role, int arity, const char *name, int make);
// The numeral text of a name ("-012" gives "-12"), or "" when it is none.
std::string SmtNumeral(const char *name);

Z3_ast SmtTermTrans(SmtTrans *tr, TermPtr t, SmtScope *scope, int depth);
Z3_ast SmtFormulaTrans(SmtTrans *tr, FormulaPtr f, SmtScope *scope, int depth);
// Asserts, in the current solver scope, the antecedents and the negated
// succedents (and the factorial's axioms when needed); 0 when the sequent
// cannot be translated.
int SmtAssertSequent(SmtTrans *tr, FormulaListPtr antecedents, FormulaListPtr succedents);
