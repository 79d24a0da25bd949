// The sixth pass: one query per sequent, inside a push/pop of the run's
// solver. Only an unsat answer proves; sat, unknown, an exhausted budget,
// a Z3 error or a sequent that cannot be translated leave it.
#include <chrono>

#include "smtint.h"

static SmtStats smtStats;

SmtStats SmtStatsGet() { return smtStats; }
void SmtStatsReset() { smtStats = SmtStats{}; }

int SmtDecide(FormulaListPtr antecedents, FormulaListPtr succedents) {
  Z3_context c = SmtContext();
  if (!c) return SMT_UNKNOWN;
  Z3_solver s = SmtSolver();
  SmtErrorClear();
  smtStats.queries++;
  Z3_solver_push(c, s);
  SmtTrans tr = {c, 0, 0, 0, nullptr};
  int answer = SMT_UNKNOWN;
  if (SmtAssertSequent(&tr, antecedents, succedents)) {
    Z3_lbool r = Z3_solver_check(c, s);
    if (!SmtErrorSeen()) answer = r == Z3_L_FALSE ? SMT_VALID : r == Z3_L_TRUE ? SMT_FALSIFIABLE : SMT_UNKNOWN;
  }
  Z3_solver_pop(c, s, 1);
  SmtErrorClear();
  return answer;
}

int SmtValid(FormulaListPtr antecedents, FormulaListPtr succedents) {
  return SmtDecide(antecedents, succedents) == SMT_VALID;
}

int SimplifySequentUseSmt(SequentPtr s) {
  if (!s) return 1;
  if (s->proved) return 1;
  auto start = std::chrono::steady_clock::now();
  int valid = SmtValid(s->formulaList1, s->formulaList2);
  smtStats.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!valid) return 0;
  FormulaListFree(s->formulaList1);
  FormulaListFree(s->formulaList2);
  s->formulaList1 = 0;
  s->formulaList2 = 0;
  s->proved = 1;
  smtStats.proved++;
  return 1;
}
