// Soundness on random conditions: whenever small integer values make a
// condition false, the prover must leave at least one sequent of it.
#include <functional>
#include <random>
#include "provertest.h"
#include "../../core/core.h"

namespace {

struct Gen {
  std::mt19937 rng;
  explicit Gen(unsigned seed) : rng(seed) {}
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
};

// A generated term or formula: its text and its value under x, y, z.
struct Expr {
  std::string text;
  std::function<long(const long *)> value;
};

Expr Term(Gen &g, int depth) {
  // leaves are variables twice as often as numerals
  int k = depth > 0 ? g.Pick(9) : (g.Pick(3) == 2 ? 1 : 0);
  if (k == 0) {
    int v = g.Pick(3);
    std::string name(1, "xyz"[v]);
    return {name, [v](const long *e) { return e[v]; }};
  }
  if (k == 1) {
    int n = g.Pick(3);
    return {std::to_string(n), [n](const long *) { return (long)n; }};
  }
  Expr a = Term(g, depth - 1), b = Term(g, depth - 1);
  switch (k) {
    case 2: case 3:
      return {"+(" + a.text + "," + b.text + ")", [a, b](const long *e) { return a.value(e) + b.value(e); }};
    case 4: case 5:
      return {"-(" + a.text + "," + b.text + ")", [a, b](const long *e) { return a.value(e) - b.value(e); }};
    case 6:
      return {"*(" + a.text + "," + b.text + ")", [a, b](const long *e) { return a.value(e) * b.value(e); }};
    case 7:
      return {"+1(" + a.text + ")", [a](const long *e) { return a.value(e) + 1; }};
    default:
      return {"-1(" + a.text + ")", [a](const long *e) { return a.value(e) - 1; }};
  }
}

Expr Formula(Gen &g, int depth) {
  int k = depth > 0 ? g.Pick(10) : g.Pick(4);
  if (k <= 2) {
    Expr a = Term(g, g.Pick(3) == 0), b = Term(g, g.Pick(3) == 0);
    const char *op = k == 0 ? "=" : k == 1 ? "<" : ">";
    return {a.text + op + b.text, [a, b, k](const long *e) {
              long l = a.value(e), r = b.value(e);
              return (long)(k == 0 ? l == r : k == 1 ? l < r : l > r);
            }};
  }
  if (k == 3) {
    bool t = g.Pick(4) != 0;
    return {t ? "$T" : "$F", [t](const long *) { return (long)t; }};
  }
  Expr a = Formula(g, depth - 1), b = Formula(g, depth - 1);
  switch (k) {
    case 4: case 5:
      return {"(" + a.text + "^" + b.text + ")", [a, b](const long *e) { return (long)(a.value(e) && b.value(e)); }};
    case 6: case 7:
      return {"(" + a.text + "|" + b.text + ")", [a, b](const long *e) { return (long)(a.value(e) || b.value(e)); }};
    case 8:
      return {"(" + a.text + "->" + b.text + ")", [a, b](const long *e) { return (long)(!a.value(e) || b.value(e)); }};
    default:
      return {"~(" + a.text + ")", [a](const long *e) { return (long)!a.value(e); }};
  }
}

// 1 when some x, y, z in -3..3 make hypothesis true and conclusion false.
bool HasCounterexample(const Expr &h, const Expr &c) {
  long e[3];
  for (e[0] = -3; e[0] <= 3; e[0]++)
    for (e[1] = -3; e[1] <= 3; e[1]++)
      for (e[2] = -3; e[2] <= 3; e[2]++)
        if (h.value(e) && !c.value(e)) return true;
  return false;
}

TEST(Soundness, NoConditionWithACounterexampleIsProved) {
  Gen g(20261206);
  int proved = 0, refutable = 0;
  for (int i = 0; i < 3000; i++) {
    Expr h = Formula(g, 3), c = Formula(g, 3);
    ProverReset();
    FormulaPtr f1 = SimplifySequentUseRewrite(F(h.text.c_str()));
    FormulaPtr f2 = SimplifySequentUseRewrite(F(c.text.c_str()));
    Sequent *s = (Sequent *)calloc(1, sizeof(Sequent));
    s->formulaList1 = Formula2FormulaList(f1, '^');
    s->formulaList2 = Formula2FormulaList(f2, '|');
    sequentListPtr->sequent = s;
    sequentListPtr->sequentList = (SequentListPtr)calloc(1, sizeof(SequentList));
    sequentListPtr = sequentListPtr->sequentList;
    SimplifySequentAll();
    bool gone = sequentList.sequent == nullptr;
    if (HasCounterexample(h, c)) {
      refutable++;
      EXPECT_FALSE(gone) << h.text << " => " << c.text;
    }
    if (gone) proved++;
  }
  // the generator gives both kinds in fair numbers
  EXPECT_GT(proved, 300);
  EXPECT_GT(refutable, 300);
}

}  // namespace
