// The sixth pass: one query per sequent, inside a push/pop of the run's
// solver. Only an unsat answer proves; sat, unknown, an exhausted budget,
// a Z3 error or a sequent that cannot be translated leave it.
//
// Answers are kept per sequent, keyed by an exact encoding of its structure
// (every name with its length, every list with its count): the same sequent
// under the same budget gets the same answer from Z3, so a repeated one (a
// second run after add-proc, identical branches) is not asked again.
#include <chrono>
#include <cstring>
#include <unordered_map>

#include "smtint.h"

static SmtStats smtStats;
static std::unordered_map<std::string, int> *smtAnswers = nullptr;
static unsigned smtAnswersRlimit = 0;
const size_t SMT_ANSWERS_MAX = 200000;   // kept answers; the table is emptied beyond

static void SmtKeyName(const char *name, std::string *k) {
  *k += std::to_string(strlen(name));
  *k += ':';
  *k += name;
}

static void SmtKeyTerm(TermPtr t, std::string *k);

static void SmtKeyTerms(TermListPtr p, std::string *k) {
  int n = 0;
  for (TermListPtr q = p; q; q = q->termList) n++;
  *k += '#' + std::to_string(n);
  for (; p; p = p->termList) SmtKeyTerm(p->term, k);
}

static void SmtKeyTerm(TermPtr t, std::string *k) {
  if (!t) {
    *k += 'N';
    return;
  }
  *k += 'a' + t->type;
  SmtKeyName(t->name ? t->name : "", k);
  if (t->type == 1) {
    for (ArraySubListPtr u = t->arraySubList; u; u = u->arraySubList) {
      *k += '[';
      for (ExpPairListPtr e = u->expPairList; e; e = e->expPairList) {
        *k += '(';
        if (e->expPair) {
          SmtKeyTerms(e->expPair->subList, k);
          SmtKeyTerm(e->expPair->exp, k);
        }
      }
      *k += ']';
    }
  }
  if (t->type == 1 || t->type == 3) SmtKeyTerms(t->termList, k);
}

// 0 for a formula nested deeper than the translation goes (its answer is
// not kept).
static int SmtKeyFormula(FormulaPtr f, std::string *k, int depth) {
  if (depth > MAX_NEST_DEPTH) return 0;
  if (!f) {
    *k += 'N';
    return 1;
  }
  *k += f->connective ? f->connective : '0';
  if (f->connective == 'A') {
    SmtKeyTerm((TermPtr)f->left, k);
    return SmtKeyFormula((FormulaPtr)f->right, k, depth + 1);
  }
  if (isFormulaClass(f->connective))
    return SmtKeyFormula((FormulaPtr)f->left, k, depth + 1) &&
           SmtKeyFormula((FormulaPtr)f->right, k, depth + 1);
  if (isTermClass(f->connective)) {
    SmtKeyTerm((TermPtr)f->left, k);
    SmtKeyTerm((TermPtr)f->right, k);
  }
  return 1;
}

// The key of a sequent, or "" when it is not to be kept. It begins with the
// number of antecedents: "|" is also a connective, so a separator alone
// would give (a|b) => c,d the key of => a,b,(c|d).
std::string SmtKey(FormulaListPtr antecedents, FormulaListPtr succedents) {
  long n = 0;
  for (FormulaListPtr p = antecedents; p; p = p->formulaList) n++;
  std::string k = std::to_string(n);
  for (FormulaListPtr p = antecedents; p; p = p->formulaList)
    if (!SmtKeyFormula(p->formula, &k, 0)) return "";
  k += '|';
  for (FormulaListPtr p = succedents; p; p = p->formulaList)
    if (!SmtKeyFormula(p->formula, &k, 0)) return "";
  return k;
}

int SmtAnswerKept(const std::string &key) {
  if (!smtAnswers || smtAnswersRlimit != SmtRlimit()) return 0;
  auto known = key.empty() ? smtAnswers->end() : smtAnswers->find(key);
  return known == smtAnswers->end() ? 0 : known->second;
}

void SmtAnswersClear() {
  delete smtAnswers;
  smtAnswers = nullptr;
  SmtLinesClear();
}

SmtStats SmtStatsGet() { return smtStats; }
void SmtStatsReset() { smtStats = SmtStats{}; }

int SmtDecide(FormulaListPtr antecedents, FormulaListPtr succedents) {
  Z3_context c = SmtContext();
  if (!c) return SMT_UNKNOWN;
  if (!smtAnswers || smtAnswersRlimit != SmtRlimit() || smtAnswers->size() >= SMT_ANSWERS_MAX) {
    SmtAnswersClear();
    smtAnswers = new std::unordered_map<std::string, int>();
    smtAnswersRlimit = SmtRlimit();
  }
  std::string key = SmtKey(antecedents, succedents);
  if (int kept = SmtAnswerKept(key)) {
    smtStats.repeated++;
    return kept;
  }
  Z3_solver s = SmtSolver();
  SmtErrorClear();
  smtStats.queries++;
  Z3_solver_push(c, s);
  SmtTrans tr = {c, 0, 0, 0, 0, nullptr};
  int answer = SMT_UNKNOWN;
  if (SmtAssertSequent(&tr, antecedents, succedents)) {
    Z3_lbool r = SmtCheck(c, s);
    if (!SmtErrorSeen()) answer = r == Z3_L_FALSE ? SMT_VALID : r == Z3_L_TRUE ? SMT_FALSIFIABLE : SMT_UNKNOWN;
  }
  Z3_solver_pop(c, s, 1);
  SmtErrorClear();
  if (!key.empty()) (*smtAnswers)[key] = answer;
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
