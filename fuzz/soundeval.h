// Evaluation for the soundness checks of generated programs: values that
// may be unknown, a state of names and of an array a, three truth values,
// and the system's own terms and formulas read in that state, quantifiers
// over a small range.
#pragma once
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "../formula/formula.h"

namespace soundgen {

const long long VALUE_MAX = 1000000000000LL;   // larger values are not known
const int QUANT_MIN = -3, QUANT_MAX = 3;       // range of quantified names

// A value, unknown past VALUE_MAX or 20!.
struct Val { bool known; long long v; };
inline Val Num(__int128 v) { return {v >= -VALUE_MAX && v <= VALUE_MAX, static_cast<long long>(v)}; }
const Val kUnknown = {false, 0};
// The factorial on the naturals; at a negative number any value makes a
// model, 1 is taken (the interpreter and the condition's evaluation agree).
inline Val Factorial(Val n) {
  if (!n.known || n.v > 20) return kUnknown;
  long long r = 1;
  for (long long k = 2; k <= n.v; k++) r *= k;
  return Num(r);
}
inline Val Apply(const std::string &op, Val a, Val b) {
  if (!a.known || ((op == "+" || op == "-" || op == "*") && !b.known)) return kUnknown;
  __int128 x = a.v, y = b.v;   // known values are small enough for the wider type
  if (op == "+") return Num(x + y);
  if (op == "-") return Num(x - y);
  if (op == "*") return Num(x * y);
  if (op == "+1") return Num(a.v + 1);
  if (op == "-1") return Num(a.v - 1);
  if (op == "!") return Factorial(a);
  return kUnknown;
}
inline bool isNumber(const std::string &s) {
  size_t i = s[0] == '-' ? 1 : 0;
  if (i >= s.size() || s.size() > 12) return false;   // longer ones are not known
  for (; i < s.size(); i++)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

// Values of names (a quantifier binds on top, the last binding counts), and
// the array a: its initial elements (0, or the index) and those assigned since.
struct State {
  std::vector<std::pair<std::string, long long>> names;
  int arrayKind = 0;
  std::map<long long, long long> updates;
  Val Name(const std::string &n) const {
    if (isNumber(n)) return Num(atoll(n.c_str()));
    for (size_t k = names.size(); k-- > 0;)
      if (names[k].first == n) return Num(names[k].second);
    return kUnknown;
  }
  void Set(const std::string &n, long long v) {
    for (auto &x : names)
      if (x.first == n) x.second = v;
  }
  long long Element(long long k) const {
    auto it = updates.find(k);
    return it != updates.end() ? it->second : arrayKind ? k : 0;
  }
};

// Three truth values: 1, 0, and -1 for not known. A quantifier is false when
// an instance in range is; otherwise true only in the bounded reading.
inline int Not(int a) { return a < 0 ? a : !a; }
inline int And(int a, int b) { return a == 0 || b == 0 ? 0 : a < 0 || b < 0 ? -1 : 1; }
inline int Or(int a, int b) { return Not(And(Not(a), Not(b))); }
inline int Compare(char c, Val l, Val r) {
  if (!l.known || !r.known) return -1;
  return c == '=' ? l.v == r.v : c == '<' ? l.v < r.v : l.v > r.v;
}

// The system's own records: the same bounded reading. An array element
// applies its update lists from the last (the statement run first) to the
// first; a pair's index and value are read in the initial state.
inline Val EvalTerm(TermPtr t, const State &s);
inline Val EvalElement(TermPtr t, const State &s) {
  if (!t->termList || !t->termList->term || t->termList->termList || strcmp(t->name, "a") != 0)
    return kUnknown;
  Val k = EvalTerm(t->termList->term, s);
  if (!k.known) return kUnknown;
  std::vector<ArraySubListPtr> lists;
  for (ArraySubListPtr u = t->arraySubList; u; u = u->arraySubList) lists.push_back(u);
  for (size_t n = lists.size(); n-- > 0;)
    for (ExpPairListPtr e = lists[n]->expPairList; e; e = e->expPairList) {
      TermListPtr idx = e->expPair ? e->expPair->subList : nullptr;
      if (!idx || idx->termList) return kUnknown;
      Val at = EvalTerm(idx->term, s);
      if (!at.known) return kUnknown;
      if (at.v == k.v) return EvalTerm(e->expPair->exp, s);
    }
  return Num(s.Element(k.v));
}
inline Val EvalTerm(TermPtr t, const State &s) {
  if (!t || !t->name) return kUnknown;
  if (t->type == 2) return s.Name(t->name);
  if (t->type == 1) return EvalElement(t, s);
  if (t->type != 3 || !t->termList) return kUnknown;
  Val a = EvalTerm(t->termList->term, s);
  return Apply(t->name, a, t->termList->termList ? EvalTerm(t->termList->termList->term, s) : kUnknown);
}
inline int EvalFormula(FormulaPtr f, State &s) {
  if (!f) return -1;
  FormulaPtr l = static_cast<FormulaPtr>(f->left), r = static_cast<FormulaPtr>(f->right);
  switch (f->connective) {
    case 'T': return 1;
    case '~': return Not(EvalFormula(r, s));
    case '^': return And(EvalFormula(l, s), EvalFormula(r, s));
    case '|': return Or(EvalFormula(l, s), EvalFormula(r, s));
    case ':': return Or(Not(EvalFormula(l, s)), EvalFormula(r, s));
    case 'A': {
      TermPtr v = static_cast<TermPtr>(f->left);
      if (!v || !v->name) return -1;
      int result = 1;
      s.names.push_back({v->name, 0});
      for (int k = QUANT_MIN; k <= QUANT_MAX && result; k++) {
        s.names.back().second = k;
        result = And(result, EvalFormula(r, s));
      }
      s.names.pop_back();
      return result;
    }
    case '=': case '<': case '>':
      return Compare(f->connective, EvalTerm(static_cast<TermPtr>(f->left), s),
                     EvalTerm(static_cast<TermPtr>(f->right), s));
    default: return -1;
  }
}

}  // namespace soundgen
