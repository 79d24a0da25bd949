// Translation of terms and formulas into Z3 terms, sound by construction:
// integers; "+", "-", "*" at arity 2 and "+1", "-1" at arity 1 are integer
// arithmetic; "!" at arity 1 is the factorial on the natural numbers (an
// unknown function with its recursion equations for n >= 0); every other
// name is an unknown symbol per role and arity; quantifiers range over the
// integers. Anything else (an empty part, an empty name, an update that
// replaces a whole array, a quantifier over something not a name) marks the
// translation failed, and the sequent is left as it is.
#include <cstring>

#include "smtint.h"

std::string SmtNumeral(const char *name) {
  const char *p = name;
  int negative = *p == '-';
  if (negative) p++;
  if (*p < '0' || *p > '9') return "";
  for (const char *q = p; *q; q++)
    if (*q < '0' || *q > '9') return "";
  while (p[0] == '0' && p[1]) p++;
  if (!strcmp(p, "0")) return "0";
  return (negative ? "-" : "") + std::string(p);
}

static Z3_ast SmtFail(SmtTrans *tr) {
  tr->failed = 1;
  return nullptr;
}

static int SmtListLength(TermListPtr p) {
  int n = 0;
  for (; p; p = p->termList) n++;
  return n;
}

// The free symbol, recorded for models when wanted.
static SmtUse *SmtNoteUse(SmtTrans *tr, char role, int arity, const char *name, Z3_func_decl d) {
  if (!tr->uses) return nullptr;
  for (SmtUse &u : *tr->uses)
    if (u.decl == d) return &u;
  tr->uses->push_back(SmtUse{role, arity, name, d, {}});
  return &tr->uses->back();
}

// Arguments translated in order; 0 on failure.
static int SmtArgs(SmtTrans *tr, TermListPtr p, SmtScope *scope, int depth, std::vector<Z3_ast> *out) {
  for (; p; p = p->termList) {
    Z3_ast a = SmtTermTrans(tr, p->term, scope, depth + 1);
    if (!a) return 0;
    out->push_back(a);
  }
  return 1;
}

// Records the argument tuple of a read when it mentions no bound variable.
static void SmtNoteArgs(SmtUse *u, SmtScope *scope, const std::vector<Z3_ast> &args) {
  if (u && !scope) u->args.insert(u->args.end(), args.begin(), args.end());
}

// 1 when the index list is a tuple of numerals; its text goes to key.
static int isSmtNumeralTuple(TermListPtr p, std::string *key) {
  for (; p; p = p->termList) {
    if (!p->term || p->term->type != 2) return 0;
    std::string n = SmtNumeral(p->term->name);
    if (n.empty()) return 0;
    *key += n + ",";
  }
  return 1;
}

// 1 when the places of an update list cannot meet: one pair, or pairs at
// distinct numerals.
static int isSmtUpdateListClear(ExpPairListPtr l) {
  if (!l || !l->expPairList) return 1;
  std::vector<std::string> keys;
  for (; l; l = l->expPairList) {
    std::string key;
    if (!l->expPair || !isSmtNumeralTuple(l->expPair->subList, &key)) return 0;
    for (const std::string &k : keys)
      if (k == key) return 0;
    keys.push_back(key);
  }
  return 1;
}

// 1 when the two index tuples are equal, as a Z3 formula.
static Z3_ast SmtSamePlace(Z3_context c, const std::vector<Z3_ast> &k1, const std::vector<Z3_ast> &k2) {
  std::vector<Z3_ast> eq;
  for (size_t i = 0; i < k1.size(); i++) eq.push_back(Z3_mk_eq(c, k1[i], k2[i]));
  return Z3_mk_and(c, eq.size(), eq.data());
}

// The innermost binding of the name, or null when no quantifier binds it.
static SmtScope *SmtBinding(SmtScope *scope, const char *name) {
  for (; scope; scope = scope->up)
    if (!strcmp(scope->name, name)) return scope;
  return nullptr;
}

// 1 when a quantifier around binds the name. The substitution takes such a
// binding to cover the name in every role (an assignment to a[k] does not
// reach into the body of $Aa:...), so an array, function or predicate of
// that name there is not the free symbol of the same name: not translated.
static int isSmtBound(SmtScope *scope, const char *name) { return SmtBinding(scope, name) != nullptr; }

// a[[u1][u2]...][i]: the first update list is the innermost store (it was
// added by the substitution of the earliest statement), the last the outermost.
static Z3_ast SmtArrayTrans(SmtTrans *tr, TermPtr t, SmtScope *scope, int depth) {
  Z3_context c = tr->c;
  int dim = SmtListLength(t->termList);
  if (dim == 0 || isSmtBound(scope, t->name)) return SmtFail(tr);
  Z3_func_decl d = SmtDecl(c, SMT_ARRAY, dim, t->name, 1);
  if (!d) return SmtFail(tr);
  Z3_ast a = Z3_mk_app(c, d, 0, nullptr);
  for (ArraySubListPtr u = t->arraySubList; u; u = u->arraySubList) {
    if (!u->expPairList) return SmtFail(tr);
    // Pairs of one list whose places may meet: where two meet with
    // different values the statement's outcome is not defined, and the array
    // is then unknown. Under a quantifier such a list is not taken.
    int clear = isSmtUpdateListClear(u->expPairList);
    if (!clear && scope) return SmtFail(tr);
    std::vector<std::vector<Z3_ast>> places;
    std::vector<Z3_ast> values;
    for (ExpPairListPtr e = u->expPairList; e; e = e->expPairList) {
      ExpPairPtr pair = e->expPair;
      // an update with no place replaces the whole array: not translated
      if (!pair || !pair->exp || SmtListLength(pair->subList) != dim) return SmtFail(tr);
      std::vector<Z3_ast> idx;
      if (!SmtArgs(tr, pair->subList, scope, depth, &idx)) return nullptr;
      Z3_ast v = SmtTermTrans(tr, pair->exp, scope, depth + 1);
      if (!v) return nullptr;
      places.push_back(idx);
      values.push_back(v);
    }
    Z3_ast stored = a;
    for (size_t i = 0; i < places.size(); i++) stored = Z3_mk_store_n(c, stored, dim, places[i].data(), values[i]);
    if (clear) {
      a = stored;
      continue;
    }
    std::vector<Z3_ast> conflicts;
    for (size_t i = 0; i < places.size(); i++)
      for (size_t j = i + 1; j < places.size(); j++) {
        Z3_ast both[2] = {SmtSamePlace(c, places[i], places[j]),
                          Z3_mk_not(c, Z3_mk_eq(c, values[i], values[j]))};
        conflicts.push_back(Z3_mk_and(c, 2, both));
      }
    // The undefined outcome is still one array for the same array, places
    // and values: an unknown function of them, so equal terms stay equal.
    tr->undefined = 1;
    Z3_sort arraySort = Z3_get_sort(c, a);
    std::vector<Z3_ast> inputs = {a};
    for (size_t i = 0; i < places.size(); i++) {
      inputs.insert(inputs.end(), places[i].begin(), places[i].end());
      inputs.push_back(values[i]);
    }
    std::vector<Z3_sort> domain(inputs.size(), Z3_mk_int_sort(c));
    domain[0] = arraySort;
    std::string name = "undefined-store:" + std::to_string(dim) + ":" + std::to_string(places.size());
    Z3_func_decl outcome = Z3_mk_func_decl(c, Z3_mk_string_symbol(c, name.c_str()), domain.size(),
                                           domain.data(), arraySort);
    Z3_ast any = Z3_mk_app(c, outcome, inputs.size(), inputs.data());
    a = Z3_mk_ite(c, Z3_mk_or(c, conflicts.size(), conflicts.data()), any, stored);
  }
  std::vector<Z3_ast> sub;
  if (!SmtArgs(tr, t->termList, scope, depth, &sub)) return nullptr;
  // noted after the parts: noting them may move the earlier records
  SmtNoteArgs(SmtNoteUse(tr, SMT_ARRAY, dim, t->name, d), scope, sub);
  return Z3_mk_select_n(c, a, dim, sub.data());
}

static Z3_ast SmtApplyTrans(SmtTrans *tr, TermPtr t, SmtScope *scope, int depth) {
  Z3_context c = tr->c;
  int n = SmtListLength(t->termList);
  if (n == 0 || isSmtBound(scope, t->name)) return SmtFail(tr);
  std::vector<Z3_ast> args;
  if (!SmtArgs(tr, t->termList, scope, depth, &args)) return nullptr;
  const char *op = t->name;
  if (n == 2 && !strcmp(op, "+")) return Z3_mk_add(c, 2, args.data());
  if (n == 2 && !strcmp(op, "-")) return Z3_mk_sub(c, 2, args.data());
  if (n == 2 && !strcmp(op, "*")) return Z3_mk_mul(c, 2, args.data());
  if (n == 1 && (!strcmp(op, "+1") || !strcmp(op, "-1"))) {
    Z3_ast two[2] = {args[0], Z3_mk_int(c, 1, Z3_mk_int_sort(c))};
    return op[0] == '+' ? Z3_mk_add(c, 2, two) : Z3_mk_sub(c, 2, two);
  }
  char role = SMT_FUN;
  if (n == 1 && !strcmp(op, "!")) {
    role = SMT_FACT;
    tr->factorial = 1;
  }
  Z3_func_decl d = SmtDecl(c, role, n, op, 1);
  if (!d) return SmtFail(tr);
  SmtNoteArgs(SmtNoteUse(tr, role, n, op, d), scope, args);
  return Z3_mk_app(c, d, n, args.data());
}

// After a Z3 error a result may be null: nothing more is built on it.
static Z3_ast SmtChecked(SmtTrans *tr, Z3_ast a) {
  return a && !SmtErrorSeen() ? a : SmtFail(tr);
}

static Z3_ast SmtTermTrans1(SmtTrans *tr, TermPtr t, SmtScope *scope, int depth);

Z3_ast SmtTermTrans(SmtTrans *tr, TermPtr t, SmtScope *scope, int depth) {
  return SmtChecked(tr, SmtTermTrans1(tr, t, scope, depth));
}

static Z3_ast SmtTermTrans1(SmtTrans *tr, TermPtr t, SmtScope *scope, int depth) {
  if (tr->failed || !t || !t->name || !t->name[0] || depth > MAX_NEST_DEPTH ||
      ++tr->nodes > SMT_NODE_LIMIT)
    return SmtFail(tr);
  Z3_context c = tr->c;
  if (t->type == 1) return SmtArrayTrans(tr, t, scope, depth);
  if (t->type == 3) return SmtApplyTrans(tr, t, scope, depth);
  if (t->type != 2) return SmtFail(tr);
  std::string num = SmtNumeral(t->name);
  if (!num.empty()) return Z3_mk_numeral(c, num.c_str(), Z3_mk_int_sort(c));
  if (SmtScope *b = SmtBinding(scope, t->name)) return b->var;
  Z3_func_decl d = SmtDecl(c, SMT_VAR, 0, t->name, 1);
  if (!d) return SmtFail(tr);
  SmtNoteUse(tr, SMT_VAR, 0, t->name, d);
  return Z3_mk_app(c, d, 0, nullptr);
}

static Z3_ast SmtPredicateTrans(SmtTrans *tr, TermPtr t, SmtScope *scope, int depth) {
  if (!t || !t->name || !t->name[0] || (t->type != 2 && t->type != 3)) return SmtFail(tr);
  int n = t->type == 3 ? SmtListLength(t->termList) : 0;
  if ((t->type == 3 && n == 0) || isSmtBound(scope, t->name)) return SmtFail(tr);
  std::vector<Z3_ast> args;
  if (!SmtArgs(tr, t->termList, scope, depth, &args)) return nullptr;
  Z3_func_decl d = SmtDecl(tr->c, SMT_PRED, n, t->name, 1);
  if (!d) return SmtFail(tr);
  SmtNoteArgs(SmtNoteUse(tr, SMT_PRED, n, t->name, d), scope, args);
  return Z3_mk_app(tr->c, d, n, args.data());
}

static Z3_ast SmtFormulaTrans1(SmtTrans *tr, FormulaPtr f, SmtScope *scope, int depth);

Z3_ast SmtFormulaTrans(SmtTrans *tr, FormulaPtr f, SmtScope *scope, int depth) {
  return SmtChecked(tr, SmtFormulaTrans1(tr, f, scope, depth));
}

static Z3_ast SmtFormulaTrans1(SmtTrans *tr, FormulaPtr f, SmtScope *scope, int depth) {
  if (tr->failed || !f || depth > MAX_NEST_DEPTH || ++tr->nodes > SMT_NODE_LIMIT) return SmtFail(tr);
  Z3_context c = tr->c;
  FormulaPtr l = (FormulaPtr)f->left, r = (FormulaPtr)f->right;
  switch (f->connective) {
    case 'T':
      return Z3_mk_true(c);
    case '~': {
      Z3_ast a = SmtFormulaTrans(tr, r, scope, depth + 1);
      return a ? Z3_mk_not(c, a) : nullptr;
    }
    case '^':
    case '|':
    case ':': {
      Z3_ast a = SmtFormulaTrans(tr, l, scope, depth + 1);
      Z3_ast b = a ? SmtFormulaTrans(tr, r, scope, depth + 1) : nullptr;
      if (!b) return nullptr;
      if (f->connective == ':') return Z3_mk_implies(c, a, b);
      Z3_ast two[2] = {a, b};
      return f->connective == '^' ? Z3_mk_and(c, 2, two) : Z3_mk_or(c, 2, two);
    }
    case 'A': {
      TermPtr x = (TermPtr)f->left;
      // the bound variable is a plain name that is not a numeral
      if (!x || x->type != 2 || !x->name || !x->name[0] || !SmtNumeral(x->name).empty())
        return SmtFail(tr);
      Z3_ast v = Z3_mk_fresh_const(c, "bound", Z3_mk_int_sort(c));
      SmtScope inner = {x->name, v, scope};
      Z3_ast body = SmtFormulaTrans(tr, r, &inner, depth + 1);
      if (!body) return nullptr;
      Z3_app bound = Z3_to_app(c, v);
      return Z3_mk_forall_const(c, 0, 1, &bound, 0, nullptr, body);
    }
    case '=':
    case '<':
    case '>': {
      Z3_ast a = SmtTermTrans(tr, (TermPtr)f->left, scope, depth + 1);
      Z3_ast b = a ? SmtTermTrans(tr, (TermPtr)f->right, scope, depth + 1) : nullptr;
      if (!b) return nullptr;
      if (f->connective == '=') return Z3_mk_eq(c, a, b);
      return f->connective == '<' ? Z3_mk_lt(c, a, b) : Z3_mk_gt(c, a, b);
    }
    case '.':
      return SmtPredicateTrans(tr, (TermPtr)f->right, scope, depth + 1);
    default:
      return SmtFail(tr);  // the empty formula
  }
}

// !(0) = 1; for n >= 0: !(n+1) = (n+1)*!(n) and !(n) >= 1. Nothing is said
// of negative arguments. The patterns only match terms already present, so
// instantiation cannot run away.
static void SmtFactorialAxioms(Z3_context c, Z3_solver s) {
  Z3_func_decl fact = SmtDecl(c, SMT_FACT, 1, "!", 1);
  if (!fact) return;
  Z3_sort z = Z3_mk_int_sort(c);
  Z3_ast zero = Z3_mk_int(c, 0, z), one = Z3_mk_int(c, 1, z);
  Z3_solver_assert(c, s, Z3_mk_eq(c, Z3_mk_app(c, fact, 1, &zero), one));
  Z3_ast n = Z3_mk_fresh_const(c, "n", z);
  Z3_app bound = Z3_to_app(c, n);
  Z3_ast sum[2] = {n, one};
  Z3_ast next = Z3_mk_add(c, 2, sum);
  Z3_ast factNext = Z3_mk_app(c, fact, 1, &next), factN = Z3_mk_app(c, fact, 1, &n);
  Z3_ast product[2] = {next, factN};
  Z3_ast natural = Z3_mk_ge(c, n, zero);
  Z3_pattern p1 = Z3_mk_pattern(c, 1, &factNext);
  Z3_ast step = Z3_mk_implies(c, natural, Z3_mk_eq(c, factNext, Z3_mk_mul(c, 2, product)));
  Z3_solver_assert(c, s, Z3_mk_forall_const(c, 0, 1, &bound, 1, &p1, step));
  Z3_pattern p2 = Z3_mk_pattern(c, 1, &factN);
  Z3_ast positive = Z3_mk_implies(c, natural, Z3_mk_ge(c, factN, one));
  Z3_solver_assert(c, s, Z3_mk_forall_const(c, 0, 1, &bound, 1, &p2, positive));
}

int SmtAssertSequent(SmtTrans *tr, FormulaListPtr antecedents, FormulaListPtr succedents) {
  Z3_solver s = SmtSolver();
  std::vector<Z3_ast> facts;
  for (FormulaListPtr p = antecedents; p; p = p->formulaList) {
    Z3_ast a = SmtFormulaTrans(tr, p->formula, nullptr, 0);
    if (!a) return 0;
    facts.push_back(a);
  }
  for (FormulaListPtr p = succedents; p; p = p->formulaList) {
    Z3_ast a = SmtFormulaTrans(tr, p->formula, nullptr, 0);
    if (!a) return 0;
    facts.push_back(Z3_mk_not(tr->c, a));
  }
  if (tr->failed || SmtErrorSeen()) return 0;
  for (Z3_ast a : facts) Z3_solver_assert(tr->c, s, a);
  if (tr->factorial) SmtFactorialAxioms(tr->c, s);
  return !SmtErrorSeen();
}
