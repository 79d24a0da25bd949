// Counterexamples from Z3's models. A model is shown only when the
// project's own evaluator, reading the model's values (of names, of the
// arrays at the places read and of unknown functions), does not find the
// condition true under it: a fault of the translation must never give a
// wrong counterexample.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "smtint.h"
#include "../prover/refute.h"

const int SMT_MODEL_MAX_ENTRIES = 64;   // values shown in one line
const size_t SMT_LINES_MAX = 100000;    // kept lines; the table is emptied beyond

// The line found for a sequent ("" for none), kept by its key: Z3 answers
// alike for the same sequent under the same budget.
static std::unordered_map<std::string, std::string> *smtLines = nullptr;
static unsigned smtLinesRlimit = 0;

void SmtLinesClear() {
  delete smtLines;
  smtLines = nullptr;
}

struct SmtModelCtx {
  Z3_context c;
  Z3_model m;
};

// The value of an integer term in the model as text, "" when it has none.
static std::string SmtValueText(Z3_context c, Z3_model m, Z3_ast a) {
  Z3_ast v = nullptr;
  if (!Z3_model_eval(c, m, a, true, &v) || !v || SmtErrorSeen()) return "";
  if (Z3_get_ast_kind(c, v) != Z3_NUMERAL_AST) return "";
  Z3_string s = Z3_get_numeral_string(c, v);
  return s && !SmtErrorSeen() ? std::string(s) : "";
}

static int SmtValueInt(Z3_context c, Z3_model m, Z3_ast a, long long *out) {
  Z3_ast v = nullptr;
  int64_t x;
  if (!Z3_model_eval(c, m, a, true, &v) || !v || SmtErrorSeen()) return 0;
  if (Z3_get_ast_kind(c, v) != Z3_NUMERAL_AST || !Z3_get_numeral_int64(c, v, &x)) return 0;
  *out = x;
  return !SmtErrorSeen();
}

// The truth of a predicate atom in the model: 1, 0, or -1 when it has none.
static int SmtTruth(Z3_context c, Z3_model m, Z3_ast atom) {
  Z3_ast b = nullptr;
  if (!Z3_model_eval(c, m, atom, true, &b) || !b || SmtErrorSeen()) return -1;
  Z3_lbool t = Z3_get_bool_value(c, b);
  return t == Z3_L_UNDEF ? -1 : t == Z3_L_TRUE;
}

// "name=true (chosen)" for a predicate atom with a truth in the model.
static void SmtChosenTruth(Z3_context c, Z3_model m, Z3_ast atom, const std::string &name,
                           std::vector<std::string> *chosen) {
  int t = SmtTruth(c, m, atom);
  if (t >= 0) chosen->push_back(name + (t ? "=true" : "=false") + " (chosen)");
}

static Z3_ast SmtNumeralAst(Z3_context c, long long v) {
  return Z3_mk_numeral(c, std::to_string(v).c_str(), Z3_mk_int_sort(c));
}

// The evaluator's lookup: array elements, unknown functions and predicates
// at argument values, read from the model.
static int SmtModelLookup(void *ctx, char kind, const char *name, int n, const long long *args,
                          long long *v) {
  SmtModelCtx *x = (SmtModelCtx *)ctx;
  Z3_context c = x->c;
  char role = kind == '[' ? SMT_ARRAY : kind == '(' ? SMT_FUN : SMT_PRED;
  Z3_func_decl d = SmtDecl(c, role, n, name, 0);
  if (!d) return 0;
  std::vector<Z3_ast> a;
  for (int i = 0; i < n; i++) a.push_back(SmtNumeralAst(c, args[i]));
  if (role == SMT_ARRAY)
    return SmtValueInt(c, x->m, Z3_mk_select_n(c, Z3_mk_app(c, d, 0, nullptr), n, a.data()), v);
  Z3_ast app = Z3_mk_app(c, d, n, a.data());
  if (role == SMT_FUN) return SmtValueInt(c, x->m, app, v);
  int t = SmtTruth(c, x->m, app);
  if (t < 0) return 0;
  *v = t;
  return 1;
}

// "a[0,1]" or "f(2)" with the argument values of one tuple; 0 when one has none.
static int SmtTupleText(Z3_context c, Z3_model m, const SmtUse &u, size_t at, std::string *text,
                        std::vector<Z3_ast> *values) {
  *text = u.name + (u.role == SMT_ARRAY ? "[" : "(");
  for (int i = 0; i < u.arity; i++) {
    std::string v = SmtValueText(c, m, u.args[at + i]);
    if (v.empty()) return 0;
    *text += (i ? "," : "") + v;
    values->push_back(Z3_mk_numeral(c, v.c_str(), Z3_mk_int_sort(c)));
  }
  *text += u.role == SMT_ARRAY ? "]" : ")";
  return 1;
}

// The line's entries: names sorted, then array entries read, then the
// chosen values of unknown functions and predicates, each group sorted.
static void SmtModelEntries(Z3_context c, Z3_model m, const std::vector<SmtUse> &uses,
                            std::vector<std::string> *names, std::vector<std::string> *reads,
                            std::vector<std::string> *chosen) {
  for (const SmtUse &u : uses) {
    if (u.role == SMT_VAR) {
      std::string v = SmtValueText(c, m, Z3_mk_app(c, u.decl, 0, nullptr));
      if (!v.empty()) names->push_back(u.name + "=" + v);
      continue;
    }
    if (u.role == SMT_PRED && u.arity == 0) {
      SmtChosenTruth(c, m, Z3_mk_app(c, u.decl, 0, nullptr), u.name, chosen);
      continue;
    }
    for (size_t at = 0; u.arity > 0 && at + u.arity <= u.args.size(); at += u.arity) {
      std::string text;
      std::vector<Z3_ast> args;
      if (!SmtTupleText(c, m, u, at, &text, &args)) continue;
      if (u.role == SMT_ARRAY) {
        Z3_ast read = Z3_mk_select_n(c, Z3_mk_app(c, u.decl, 0, nullptr), u.arity, args.data());
        std::string v = SmtValueText(c, m, read);
        if (!v.empty()) reads->push_back(text + "=" + v);
      } else if (u.role == SMT_FUN) {
        std::string v = SmtValueText(c, m, Z3_mk_app(c, u.decl, u.arity, args.data()));
        if (!v.empty()) chosen->push_back(text + "=" + v + " (chosen)");
      } else if (u.role == SMT_PRED) {
        SmtChosenTruth(c, m, Z3_mk_app(c, u.decl, u.arity, args.data()), text, chosen);
      }
    }
  }
  for (std::vector<std::string> *g : {names, reads, chosen}) {
    std::sort(g->begin(), g->end());
    g->erase(std::unique(g->begin(), g->end()), g->end());
  }
}

static int SmtModelReport(Z3_context c, Z3_model m, SequentPtr s, const std::vector<SmtUse> &uses,
                          Text *out) {
  // The evaluator reads the names whose values fit its integers.
  std::vector<const char *> names;
  std::vector<long long> values;
  for (const SmtUse &u : uses) {
    long long v;
    if (u.role != SMT_VAR || !SmtValueInt(c, m, Z3_mk_app(c, u.decl, 0, nullptr), &v)) continue;
    names.push_back(u.name.c_str());
    values.push_back(v);
  }
  SmtModelCtx ctx = {c, m};
  RefuteModel rm = {(int)names.size(), names.data(), values.data(), SmtModelLookup, &ctx};
  if (RefuteSequentModel(s, &rm) == REFUTE_FALSE || SmtErrorSeen()) return 0;
  std::vector<std::string> entries, reads, chosen;
  SmtModelEntries(c, m, uses, &entries, &reads, &chosen);
  if (SmtErrorSeen()) return 0;
  entries.insert(entries.end(), reads.begin(), reads.end());
  entries.insert(entries.end(), chosen.begin(), chosen.end());
  if (entries.empty()) {
    TextAppend(out, "all values");
    return 1;
  }
  for (size_t i = 0; i < entries.size(); i++) {
    if (i == (size_t)SMT_MODEL_MAX_ENTRIES) {
      TextAppend(out, ", ...");
      break;
    }
    TextPrintf(out, "%s%s", i ? ", " : "", entries[i].c_str());
  }
  return 1;
}

static int SmtCounterexampleFind(SequentPtr s, Text *out) {
  Z3_context c = SmtContext();
  if (!c) return 0;
  Z3_solver sv = SmtSolver();
  SmtErrorClear();
  Z3_solver_push(c, sv);
  std::vector<SmtUse> uses;
  SmtTrans tr = {c, 0, 0, 0, 0, &uses};
  int found = 0;
  // A model may rest on an array left undefined: it shows no failure.
  if (SmtAssertSequent(&tr, s->formulaList1, s->formulaList2) && !tr.undefined &&
      SmtCheck(c, sv) == Z3_L_TRUE && !SmtErrorSeen()) {
    Z3_model m = Z3_solver_get_model(c, sv);
    if (m && !SmtErrorSeen()) {
      Z3_model_inc_ref(c, m);
      found = SmtModelReport(c, m, s, uses, out);
      Z3_model_dec_ref(c, m);
    }
  }
  Z3_solver_pop(c, sv, 1);
  SmtErrorClear();
  return found;
}

int SmtCounterexample(SequentPtr s, Text *out) {
  if (!s || s->proved) return 0;
  // Z3 answers alike under the same budget: a sequent it could not settle
  // (or proved) before gets no model now either.
  std::string key = SmtKey(s->formulaList1, s->formulaList2);
  int kept = SmtAnswerKept(key);
  if (kept && kept != SMT_FALSIFIABLE) return 0;
  if (!smtLines || smtLinesRlimit != SmtRlimit() || smtLines->size() >= SMT_LINES_MAX) {
    SmtLinesClear();
    smtLines = new std::unordered_map<std::string, std::string>();
    smtLinesRlimit = SmtRlimit();
  }
  auto known = key.empty() ? smtLines->end() : smtLines->find(key);
  if (known != smtLines->end()) {
    if (known->second.empty()) return 0;
    TextAppend(out, known->second.c_str());
    return 1;
  }
  Text line;
  TextInit(&line);
  int found = SmtCounterexampleFind(s, &line);
  if (!key.empty()) (*smtLines)[key] = found ? TextStr(&line) : "";
  if (found) TextAppend(out, TextStr(&line));
  TextFree(&line);
  return found;
}
