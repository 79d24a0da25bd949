// Refutation of remaining sequents: a bounded search for small integer
// values of the free variables under which every antecedent formula is
// true and every succedent formula is false.
//
// Formulas are evaluated three-valued (true, false, unknown) in the manner
// of Kleene: a conjunction with a false side is false, a disjunction with a
// true side is true, whatever the other side is; anything the evaluator does
// not know (array elements, functions other than + - * +1 -1 !, predicate
// atoms, strings, overflow) is unknown. A sequent is refuted only when all
// of its formulas come out definite, so an unknown part never decides the
// verdict, and the counterexample holds for every meaning of that part.
//
// A universal quantifier cannot be made true by trying finitely many values.
// Its body is first evaluated with the bound variable unknown: a definite
// result does not depend on the variable and is the quantifier's value.
// Otherwise the quantifier is false when the body is false for one value of
// a small range (a witness), and unknown when no witness turns up. Under "~"
// the roles swap: ~$Ax:P is definitely true only by a witness for ~P.
//
// Names made of digits, with an optional leading "-", are numerals; other
// plain names built from letters, digits and "_", "#", "@", "$", ".", "'"
// (among them the system's fresh names "#@a" and the egen variables "@x")
// are integer variables. The search and every evaluation run under a fixed
// work budget, so the result is deterministic.
#include "refute.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../program/sentence.h"

const int REFUTE_MAX_VARS = 32;          // more free variables: no verdict
const int REFUTE_MAX_VALUES = 64;        // candidate values per variable
const int REFUTE_MAX_CONSTS = 12;        // numerals of a sequent taken as hints
const int REFUTE_QUANT_VALUES = 21;      // values a bound variable runs over
const long REFUTE_MAX_TRIALS = 512;      // assignments tried per sequent
const long REFUTE_STEP_LIMIT = 250000;   // evaluation steps per sequent
const long REFUTE_TOTAL_STEPS = 8000000;  // evaluation steps of one report
const long long REFUTE_FACTORIAL_MAX = 20;  // 20! is the last that fits


// A bound variable in scope during evaluation (innermost first).
struct RefuteScope {
  const char *name;
  long long value;
  int known;
  RefuteScope *up;
};

struct RefuteState {
  const char *vars[REFUTE_MAX_VARS];   // free variables, sorted by name
  long long varValue[REFUTE_MAX_VARS];
  int varCount;
  int tooManyVars;
  long long consts[REFUTE_MAX_CONSTS];
  int constCount;
  long long values[REFUTE_MAX_VALUES];  // candidate values, tried in order
  int valueCount;
  long steps;
  long stepLimit;
  int exhausted;
  const RefuteModel *model;  // values from a model instead of the search
};

// --- names -----------------------------------------------------------------

// 1 when the name is a numeral ("12", "-3"); its value goes to *v, and a
// numeral too large for 64 bits is not taken.
static int isRefuteNumeral(const char *name, long long *v) {
  const char *p = name;
  int negative = 0;
  if (*p == '-') {
    negative = 1;
    p++;
  }
  if (*p < '0' || *p > '9') return 0;
  long long x = 0;
  for (; *p; p++) {
    if (*p < '0' || *p > '9') return 0;
    int d = *p - '0';
    if (__builtin_mul_overflow(x, 10LL, &x)) return 0;
    if (__builtin_add_overflow(x, (long long)(negative ? -d : d), &x)) return 0;
  }
  *v = x;
  return 1;
}

static int isRefuteVarName(const char *name) {
  if (!name[0] || (name[0] >= '0' && name[0] <= '9')) return 0;
  for (const char *p = name; *p; p++) {
    char c = *p;
    int ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
             c == '_' || c == '#' || c == '@' || c == '$' || c == '.' || c == '\'';
    if (!ok) return 0;
  }
  return 1;
}

// Arity of an operator the evaluator knows, or -1.
static int RefuteOperatorArity(const char *name) {
  if (!strcmp(name, "+") || !strcmp(name, "-") || !strcmp(name, "*")) return 2;
  if (!strcmp(name, "+1") || !strcmp(name, "-1") || !strcmp(name, "!")) return 1;
  return -1;
}

static int RefuteTermListLength(TermListPtr p) {
  int n = 0;
  for (; p; p = p->termList) n++;
  return n;
}

// 1 when t is an application of a known operator with its own arity.
static int isRefuteOperator(TermPtr t) {
  if (t->type != 3) return 0;
  int arity = RefuteOperatorArity(t->name);
  return arity >= 0 && RefuteTermListLength(t->termList) == arity;
}

// --- well-formedness ---------------------------------------------------------

// 0 when a term is incomplete (a read error left an empty name or a missing
// part); such a sequent gets no verdict, whatever its other formulas say.
static int isRefuteTermComplete(TermPtr t, int depth);

static int isRefuteTermListComplete(TermListPtr p, int depth) {
  for (; p; p = p->termList)
    if (!isRefuteTermComplete(p->term, depth + 1)) return 0;
  return 1;
}

static int isRefuteTermComplete(TermPtr t, int depth) {
  if (!t || !t->name || !t->name[0] || depth > MAX_NEST_DEPTH) return 0;
  if (t->type == 2) return 1;
  if (t->type != 1 && t->type != 3) return 0;
  if (!isRefuteTermListComplete(t->termList, depth)) return 0;
  for (ArraySubListPtr a = t->arraySubList; a; a = a->arraySubList)
    for (ExpPairListPtr e = a->expPairList; e; e = e->expPairList) {
      if (!e->expPair || !isRefuteTermListComplete(e->expPair->subList, depth)) return 0;
      if (!isRefuteTermComplete(e->expPair->exp, depth + 1)) return 0;
    }
  return 1;
}

static int isRefuteFormulaComplete(FormulaPtr f, int depth) {
  if (!f || depth > MAX_NEST_DEPTH) return 0;
  switch (f->connective) {
    case 'T':
      return 1;
    case '~':
      return isRefuteFormulaComplete((FormulaPtr)f->right, depth + 1);
    case '^':
    case '|':
    case ':':
      return isRefuteFormulaComplete((FormulaPtr)f->left, depth + 1) &&
             isRefuteFormulaComplete((FormulaPtr)f->right, depth + 1);
    case 'A':
      return isRefuteTermComplete((TermPtr)f->left, depth + 1) &&
             isRefuteFormulaComplete((FormulaPtr)f->right, depth + 1);
    case '=':
    case '<':
    case '>':
      return isRefuteTermComplete((TermPtr)f->left, depth + 1) &&
             isRefuteTermComplete((TermPtr)f->right, depth + 1);
    case '.':
      return isRefuteTermComplete((TermPtr)f->right, depth + 1);
    default:
      return 0;  // the empty formula and anything unknown
  }
}

// --- free variables and numerals --------------------------------------------

static int isRefuteBound(const char *name, RefuteScope *scope) {
  for (; scope; scope = scope->up)
    if (!strcmp(scope->name, name)) return 1;
  return 0;
}

static void RefuteAddVar(RefuteState *st, const char *name) {
  for (int i = 0; i < st->varCount; i++)
    if (!strcmp(st->vars[i], name)) return;
  if (st->varCount == REFUTE_MAX_VARS) {
    st->tooManyVars = 1;
    return;
  }
  int i = st->varCount++;
  while (i > 0 && strcmp(st->vars[i - 1], name) > 0) {
    st->vars[i] = st->vars[i - 1];
    i--;
  }
  st->vars[i] = name;
}

static void RefuteAddConst(RefuteState *st, long long v) {
  for (int i = 0; i < st->constCount; i++)
    if (st->consts[i] == v) return;
  if (st->constCount < REFUTE_MAX_CONSTS) st->consts[st->constCount++] = v;
}

// Collects the variables and numerals in the places the evaluator reads:
// names directly in comparisons or under known operators.
static void RefuteCollectTerm(TermPtr t, RefuteScope *scope, RefuteState *st, int depth) {
  if (!t || depth > MAX_NEST_DEPTH) return;
  long long v;
  if (t->type == 2) {
    if (isRefuteNumeral(t->name, &v))
      RefuteAddConst(st, v);
    else if (isRefuteVarName(t->name) && !isRefuteBound(t->name, scope))
      RefuteAddVar(st, t->name);
    return;
  }
  if (!isRefuteOperator(t)) return;
  for (TermListPtr p = t->termList; p; p = p->termList)
    RefuteCollectTerm(p->term, scope, st, depth + 1);
}

static void RefuteCollectFormula(FormulaPtr f, RefuteScope *scope, RefuteState *st, int depth) {
  if (!f || depth > MAX_NEST_DEPTH) return;
  switch (f->connective) {
    case '~':
    case '^':
    case '|':
    case ':':
      RefuteCollectFormula((FormulaPtr)f->left, scope, st, depth + 1);
      RefuteCollectFormula((FormulaPtr)f->right, scope, st, depth + 1);
      break;
    case 'A': {
      TermPtr x = (TermPtr)f->left;
      RefuteScope inner = {x->name, 0, 0, scope};
      RefuteCollectFormula((FormulaPtr)f->right, &inner, st, depth + 1);
      break;
    }
    case '=':
    case '<':
    case '>':
      RefuteCollectTerm((TermPtr)f->left, scope, st, depth + 1);
      RefuteCollectTerm((TermPtr)f->right, scope, st, depth + 1);
      break;
    default:
      break;
  }
}

static void RefuteAddValue(RefuteState *st, long long v) {
  for (int i = 0; i < st->valueCount; i++)
    if (st->values[i] == v) return;
  if (st->valueCount < REFUTE_MAX_VALUES) st->values[st->valueCount++] = v;
}

// Candidate values: -3..3 from 0 outwards, then the numerals of the sequent
// and their neighbours, then wider values.
static void RefuteMakeValues(RefuteState *st) {
  static const long long wide[] = {4, -4, 5, -5, 6, -6, 7, -7, 8, -8, 10, -10,
                                   16, -16, 100, -100, 1000, -1000};
  st->valueCount = 0;
  for (int k = 0; k <= 3; k++) {
    RefuteAddValue(st, k);
    RefuteAddValue(st, -k);
  }
  for (int i = 0; i < st->constCount; i++) {
    long long c = st->consts[i];
    RefuteAddValue(st, c);
    if (c < 1000000000LL) RefuteAddValue(st, c + 1);
    if (c > -1000000000LL) RefuteAddValue(st, c - 1);
  }
  for (size_t i = 0; i < sizeof wide / sizeof wide[0]; i++) RefuteAddValue(st, wide[i]);
}

// --- evaluation --------------------------------------------------------------

static int RefuteStep(RefuteState *st) {
  if (++st->steps > st->stepLimit) st->exhausted = 1;
  return !st->exhausted;
}

static int RefuteTermValue(TermPtr t, RefuteScope *scope, RefuteState *st, int depth,
                           long long *v);

static int RefuteModelName(const RefuteModel *m, const char *name, long long *v) {
  for (int i = 0; i < m->count; i++)
    if (!strcmp(m->names[i], name)) {
      *v = m->values[i];
      return 1;
    }
  return 0;
}

const int REFUTE_MAX_ARGS = 16;   // arguments of an application looked up in a model
const int REFUTE_MAX_STORES = 64;   // update lists of an array element read under a model

// Values of a list of terms; 0 when one is unknown or there are too many.
static int RefuteArgValues(TermListPtr p, RefuteScope *scope, RefuteState *st, int depth,
                           long long *args, int *n) {
  for (*n = 0; p; p = p->termList) {
    if (*n == REFUTE_MAX_ARGS || !RefuteTermValue(p->term, scope, st, depth + 1, &args[*n]))
      return 0;
    (*n)++;
  }
  return 1;
}

// An array element or an unknown function under a model. Updates are read
// from the outermost store (the last update list) inwards; within one list
// two places that meet the index with different values leave it unknown.
static int RefuteModelApply(TermPtr t, RefuteScope *scope, RefuteState *st, int depth,
                            long long *v) {
  const RefuteModel *m = st->model;
  long long args[REFUTE_MAX_ARGS];
  int n;
  if ((t->type != 1 && t->type != 3) || !m->lookup ||
      !RefuteArgValues(t->termList, scope, st, depth, args, &n) || n == 0)
    return 0;
  if (t->type == 3) return m->lookup(m->ctx, '(', t->name, n, args, v);
  ArraySubListPtr lists[REFUTE_MAX_STORES];
  int count = 0;
  for (ArraySubListPtr u = t->arraySubList; u; u = u->arraySubList) {
    if (count == REFUTE_MAX_STORES) return 0;
    lists[count++] = u;
  }
  for (int i = count - 1; i >= 0; i--) {
    int found = 0;
    long long value = 0;
    for (ExpPairListPtr e = lists[i]->expPairList; e; e = e->expPairList) {
      long long idx[REFUTE_MAX_ARGS];
      int k;
      if (!e->expPair || !RefuteArgValues(e->expPair->subList, scope, st, depth, idx, &k) || k != n)
        return 0;
      if (memcmp(idx, args, sizeof(long long) * n) != 0) continue;
      long long x;
      if (!RefuteTermValue(e->expPair->exp, scope, st, depth + 1, &x)) return 0;
      if (found && x != value) return 0;
      found = 1;
      value = x;
    }
    if (found) {
      *v = value;
      return 1;
    }
  }
  return m->lookup(m->ctx, '[', t->name, n, args, v);
}

// 1 with the value in *v when the term has a definite integer value.
static int RefuteTermValue(TermPtr t, RefuteScope *scope, RefuteState *st, int depth,
                           long long *v) {
  if (!t || depth > MAX_NEST_DEPTH || !RefuteStep(st)) return 0;
  if (t->type == 2) {
    st->steps += (long)(strlen(t->name) >> 5);  // long names cost their length
    if (isRefuteNumeral(t->name, v)) return 1;
    if (!isRefuteVarName(t->name)) return st->model && RefuteModelName(st->model, t->name, v);
    for (RefuteScope *s = scope; s; s = s->up)
      if (!strcmp(s->name, t->name)) {
        *v = s->value;
        return s->known;
      }
    if (st->model) return RefuteModelName(st->model, t->name, v);
    for (int i = 0; i < st->varCount; i++)
      if (!strcmp(st->vars[i], t->name)) {
        *v = st->varValue[i];
        return 1;
      }
    return 0;
  }
  if (!isRefuteOperator(t)) return st->model && RefuteModelApply(t, scope, st, depth, v);
  long long a = 0, b = 0;
  const char *op = t->name;
  if (!RefuteTermValue(t->termList->term, scope, st, depth + 1, &a)) return 0;
  if (t->termList->termList &&
      !RefuteTermValue(t->termList->termList->term, scope, st, depth + 1, &b))
    return 0;
  if (!strcmp(op, "+")) return !__builtin_add_overflow(a, b, v);
  if (!strcmp(op, "-")) return !__builtin_sub_overflow(a, b, v);
  if (!strcmp(op, "*")) return !__builtin_mul_overflow(a, b, v);
  if (!strcmp(op, "+1")) return !__builtin_add_overflow(a, 1LL, v);
  if (!strcmp(op, "-1")) return !__builtin_sub_overflow(a, 1LL, v);
  if (a < 0 || a > REFUTE_FACTORIAL_MAX) return 0;  // "!"
  *v = 1;
  for (long long k = 2; k <= a; k++) *v *= k;
  return 1;
}

static int RefuteFormulaValue(FormulaPtr f, RefuteScope *scope, RefuteState *st, int depth);

static int RefuteNot(int v) {
  return v == REFUTE_UNKNOWN ? v : !v;
}

static int RefuteQuantifierValue(FormulaPtr f, RefuteScope *scope, RefuteState *st,
                                 int depth) {
  TermPtr x = (TermPtr)f->left;
  FormulaPtr body = (FormulaPtr)f->right;
  if (x->type != 2 || !isRefuteVarName(x->name)) return REFUTE_UNKNOWN;
  RefuteScope inner = {x->name, 0, 0, scope};
  int v = RefuteFormulaValue(body, &inner, st, depth + 1);
  if (v != REFUTE_UNKNOWN) return v;  // does not depend on x
  inner.known = 1;
  for (int i = 0; i < st->valueCount && i < REFUTE_QUANT_VALUES && !st->exhausted; i++) {
    inner.value = st->values[i];
    if (RefuteFormulaValue(body, &inner, st, depth + 1) == REFUTE_FALSE) return REFUTE_FALSE;
  }
  return REFUTE_UNKNOWN;
}

static int RefuteFormulaValue(FormulaPtr f, RefuteScope *scope, RefuteState *st, int depth) {
  if (!f || depth > MAX_NEST_DEPTH || !RefuteStep(st)) return REFUTE_UNKNOWN;
  FormulaPtr l = (FormulaPtr)f->left;
  FormulaPtr r = (FormulaPtr)f->right;
  int a, b;
  switch (f->connective) {
    case 'T':
      return REFUTE_TRUE;
    case '~':
      return RefuteNot(RefuteFormulaValue(r, scope, st, depth + 1));
    case '^':
      a = RefuteFormulaValue(l, scope, st, depth + 1);
      if (a == REFUTE_FALSE) return a;
      b = RefuteFormulaValue(r, scope, st, depth + 1);
      if (b == REFUTE_FALSE) return b;
      return a == REFUTE_TRUE && b == REFUTE_TRUE ? REFUTE_TRUE : REFUTE_UNKNOWN;
    case '|':
    case ':':
      a = RefuteFormulaValue(l, scope, st, depth + 1);
      if (f->connective == ':') a = RefuteNot(a);
      if (a == REFUTE_TRUE) return a;
      b = RefuteFormulaValue(r, scope, st, depth + 1);
      if (b == REFUTE_TRUE) return b;
      return a == REFUTE_FALSE && b == REFUTE_FALSE ? REFUTE_FALSE : REFUTE_UNKNOWN;
    case 'A':
      return RefuteQuantifierValue(f, scope, st, depth);
    case '=':
    case '<':
    case '>': {
      long long x, y;
      TermPtr tl = (TermPtr)f->left;
      TermPtr tr = (TermPtr)f->right;
      if (RefuteTermValue(tl, scope, st, depth + 1, &x) &&
          RefuteTermValue(tr, scope, st, depth + 1, &y)) {
        if (f->connective == '=') return x == y;
        return f->connective == '<' ? x < y : x > y;
      }
      // The same term on both sides has the same value, whatever it is.
      st->steps += TermSize(tl, st->stepLimit);
      if (!RefuteStep(st)) return REFUTE_UNKNOWN;
      if (TermEqual(tl, tr)) return f->connective == '=' ? REFUTE_TRUE : REFUTE_FALSE;
      return REFUTE_UNKNOWN;
    }
    case '.': {
      // predicate atoms: known only from a model
      TermPtr t = (TermPtr)f->right;
      const RefuteModel *m = st->model;
      long long args[REFUTE_MAX_ARGS], v;
      int n = 0;
      if (!m || !m->lookup || !t || (t->type != 2 && t->type != 3)) return REFUTE_UNKNOWN;
      if (t->type == 3 && !RefuteArgValues(t->termList, scope, st, depth, args, &n)) return REFUTE_UNKNOWN;
      if (!m->lookup(m->ctx, '.', t->name, n, args, &v)) return REFUTE_UNKNOWN;
      return v ? REFUTE_TRUE : REFUTE_FALSE;
    }
    default:
      return REFUTE_UNKNOWN;
  }
}

// 1 when the current values make every antecedent formula true and every
// succedent formula false.
static int isRefuteCounterexample(SequentPtr s, RefuteState *st) {
  for (FormulaListPtr p = s->formulaList1; p; p = p->formulaList)
    if (RefuteFormulaValue(p->formula, 0, st, 0) != REFUTE_TRUE) return 0;
  for (FormulaListPtr p = s->formulaList2; p; p = p->formulaList)
    if (RefuteFormulaValue(p->formula, 0, st, 0) != REFUTE_FALSE) return 0;
  return 1;
}

static int isRefuteSequentComplete(SequentPtr s);

// A new state for s with its variables and numerals collected (the caller
// frees it); null when out of memory.
static RefuteState *RefuteStateFor(SequentPtr s, long stepLimit) {
  RefuteState *st = (RefuteState *)calloc(1, sizeof(RefuteState));
  if (!st) return 0;
  st->stepLimit = stepLimit;
  for (FormulaListPtr p = s->formulaList1; p; p = p->formulaList)
    RefuteCollectFormula(p->formula, 0, st, 0);
  for (FormulaListPtr p = s->formulaList2; p; p = p->formulaList)
    RefuteCollectFormula(p->formula, 0, st, 0);
  return st;
}

int RefuteSequentModel(SequentPtr s, const RefuteModel *m) {
  if (!s || !m || !isRefuteSequentComplete(s)) return REFUTE_UNKNOWN;
  RefuteState *st = RefuteStateFor(s, REFUTE_STEP_LIMIT);
  if (!st) return REFUTE_UNKNOWN;
  RefuteMakeValues(st);   // the range a quantifier is tried over
  st->model = m;
  int verdict = REFUTE_TRUE;
  for (FormulaListPtr p = s->formulaList1; p && verdict != REFUTE_FALSE; p = p->formulaList) {
    int v = RefuteFormulaValue(p->formula, 0, st, 0);
    if (v != REFUTE_TRUE) verdict = v == REFUTE_FALSE ? REFUTE_FALSE : REFUTE_UNKNOWN;
  }
  for (FormulaListPtr p = s->formulaList2; p && verdict != REFUTE_FALSE; p = p->formulaList) {
    int v = RefuteFormulaValue(p->formula, 0, st, 0);
    if (v != REFUTE_FALSE) verdict = v == REFUTE_TRUE ? REFUTE_FALSE : REFUTE_UNKNOWN;
  }
  // an exhausted budget may have cut a definite answer short
  if (st->exhausted && verdict != REFUTE_FALSE) verdict = REFUTE_UNKNOWN;
  free(st);
  return verdict;
}

// --- search ------------------------------------------------------------------

static int isRefuteSequentComplete(SequentPtr s) {
  for (FormulaListPtr p = s->formulaList1; p; p = p->formulaList)
    if (!isRefuteFormulaComplete(p->formula, 0)) return 0;
  for (FormulaListPtr p = s->formulaList2; p; p = p->formulaList)
    if (!isRefuteFormulaComplete(p->formula, 0)) return 0;
  return 1;
}

static void RefuteWitnessPrint(RefuteState *st, Text *out) {
  if (st->varCount == 0) {
    TextAppend(out, "all values");
    return;
  }
  for (int i = 0; i < st->varCount; i++)
    TextPrintf(out, "%s%s=%lld", i ? ", " : "", st->vars[i], st->varValue[i]);
}

// Tries assignments shell by shell: shell r holds the tuples of candidate
// indices whose greatest index is r, so small values come first.
static int RefuteSearch(SequentPtr s, RefuteState *st) {
  int n = st->varCount;
  if (n == 0) return isRefuteCounterexample(s, st);
  int idx[REFUTE_MAX_VARS];
  long trials = 0;
  for (int r = 0; r < st->valueCount; r++) {
    for (int i = 0; i < n; i++) idx[i] = 0;
    for (;;) {
      int top = 0;
      for (int i = 0; i < n; i++)
        if (idx[i] > top) top = idx[i];
      if (top == r) {
        for (int i = 0; i < n; i++) st->varValue[i] = st->values[idx[i]];
        if (isRefuteCounterexample(s, st)) return 1;
        if (st->exhausted || ++trials >= REFUTE_MAX_TRIALS) return 0;
      }
      int k = 0;
      while (k < n && idx[k] == r) idx[k++] = 0;
      if (k == n) break;
      idx[k]++;
    }
  }
  return 0;
}

// The whole refutation of one sequent with a given work budget; the
// witness is appended to out when the sequent is refuted.
static int RefuteSequentText(SequentPtr s, long stepLimit, long *used, Text *out) {
  *used = 0;
  if (!s || !isRefuteSequentComplete(s)) return 0;
  RefuteState *st = RefuteStateFor(s, stepLimit);
  if (!st) return 0;
  int found = 0;
  if (!st->tooManyVars) {
    RefuteMakeValues(st);
    found = RefuteSearch(s, st);
    if (found) RefuteWitnessPrint(st, out);
  }
  *used = st->steps;
  free(st);
  return found;
}

int RefuteSequent(SequentPtr s, char *witness, size_t size) {
  Text t;
  TextInit(&t);
  long used;
  int found = RefuteSequentText(s, REFUTE_STEP_LIMIT, &used, &t);
  if (witness && size) CopyBounded(witness, size, found ? TextStr(&t) : "");
  TextFree(&t);
  return found;
}

// --- report ------------------------------------------------------------------

struct RefuteItem {
  SequentPtr sequent;
  ProcedurePtr procedure;
  long rank;   // position of its procedure in the procedure list
  long order;  // position in the sequent list
};

static int RefuteItemCompare(const void *a, const void *b) {
  const RefuteItem *x = (const RefuteItem *)a;
  const RefuteItem *y = (const RefuteItem *)b;
  if (x->rank != y->rank) return x->rank < y->rank ? -1 : 1;
  return x->order < y->order ? -1 : x->order > y->order;
}

struct RefuteName {
  const char *name;
  long rank;
  ProcedurePtr procedure;
};

static int RefuteNameCompare(const void *a, const void *b) {
  const RefuteName *x = (const RefuteName *)a;
  const RefuteName *y = (const RefuteName *)b;
  int c = strcmp(x->name, y->name);
  if (c) return c;
  return x->rank < y->rank ? -1 : x->rank > y->rank;
}

// Index of procedure names for the lookup of sequent remarks; the first
// procedure of a name wins, as in the printed listing.
static long RefuteNamesBuild(RefuteName **out) {
  long n = 0;
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList)
    if (p->procedure) n++;
  RefuteName *names = (RefuteName *)calloc(n ? n : 1, sizeof(RefuteName));
  if (!names) {
    *out = 0;
    return 0;
  }
  long i = 0;
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList)
    if (p->procedure) {
      names[i].name = p->procedure->name;
      names[i].rank = i;
      names[i].procedure = p->procedure;
      i++;
    }
  qsort(names, n, sizeof(RefuteName), RefuteNameCompare);
  *out = names;
  return n;
}

static RefuteName *RefuteNamesFind(RefuteName *names, long n, const char *name) {
  long lo = 0, hi = n;
  while (lo < hi) {  // first entry not less than name
    long mid = lo + (hi - lo) / 2;
    if (strcmp(names[mid].name, name) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo < n && !strcmp(names[lo].name, name) ? &names[lo] : 0;
}

void RefuteLineBegin(ProcedurePtr proc, SequentPtr s, long number, Text *line) {
  if (proc && proc->file) TextPrintf(line, "%s:%ld: ", proc->file, proc->line);
  TextPrintf(line, "%s: condition %ld ", s->remark, number);
  if (s->origin && s->origin->kind) {
    TextAppendChar(line, '(');
    OriginPrint(s->origin, s->remark, line);
    TextAppend(line, ") ");
  }
  TextAppend(line, "fails for ");
}

// Refutes the remaining sequents (with the finder first, when there is one),
// noting the values in each refuted one; prints the lines and the summary
// when print is set.
static void RefuteRun(int print, RefuteFinder finder, long solverProved) {
  RefuteName *names;
  long nameCount = RefuteNamesBuild(&names);
  long count = 0;
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList) count++;
  RefuteItem *items = (RefuteItem *)calloc(count ? count : 1, sizeof(RefuteItem));
  if (!names || !items) {
    free(names);
    free(items);
    ErrorMsg("refute: out of memory");
    return;
  }
  long n = 0, order = 0;
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList, order++) {
    if (p->sequent->proved) continue;
    RefuteName *e = RefuteNamesFind(names, nameCount, p->sequent->remark);
    if (!e) continue;  // not listed under any procedure
    items[n].sequent = p->sequent;
    items[n].procedure = e->procedure;
    items[n].rank = e->rank;
    items[n].order = order;
    n++;
  }
  qsort(items, n, sizeof(RefuteItem), RefuteItemCompare);

  long refuted = 0;
  long number = 0;
  long stepsLeft = REFUTE_TOTAL_STEPS;
  Text line;
  TextInit(&line);
  for (long i = 0; i < n; i++) {
    number = (i > 0 && items[i].rank == items[i - 1].rank) ? number + 1 : 1;
    SequentPtr s = items[i].sequent;
    // A procedure whose text had a read error has conditions about what
    // was read, not about what was meant: no verdict.
    if (items[i].procedure->readError || stepsLeft <= 0) continue;
    long limit = stepsLeft < REFUTE_STEP_LIMIT ? stepsLeft : REFUTE_STEP_LIMIT;
    long used = 0;   // stays 0 when the finder refutes the sequent
    TextClear(&line);
    RefuteLineBegin(items[i].procedure, s, number, &line);
    size_t begin = line.len;
    if ((finder && finder(s, &line)) || RefuteSequentText(s, limit, &used, &line)) {
      refuted++;
      free(s->counterexample);
      s->counterexample = strdup(TextStr(&line) + begin);
      if (print) printf("%s\n", TextStr(&line));
    }
    stepsLeft -= used;
  }
  TextFree(&line);
  if (print) {
    printf("conditions remaining: %ld, refuted: %ld, without verdict: %ld", n, refuted, n - refuted);
    if (solverProved >= 0) printf(", proved by the solver: %ld", solverProved);
    printf("\n");
    fflush(stdout);
  }
  free(items);
  free(names);
}

void RefuteReportAll(int quiet) { RefuteReportAllWith(quiet, nullptr, -1); }

void RefuteReportAllWith(int quiet, RefuteFinder finder, long solverProved) {
  if (!quiet) RefuteRun(1, finder, solverProved);
}

void RefuteAll(RefuteFinder finder) { RefuteRun(0, finder, -1); }
