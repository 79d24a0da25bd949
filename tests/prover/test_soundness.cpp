// Soundness on random conditions: whenever small integer values make a
// condition false, the prover must leave at least one sequent of it; and
// what the prover removes is valid, so the refuter must not refute it.
#include <functional>
#include <random>
#include "provertest.h"

// A generated term or formula: its text and its value under x, y, z.
struct Expr { std::string text; std::function<long(const long *)> value; };

// pre a mid b ")", valued f(a, b).
static Expr Op(const char *pre, const char *mid, const Expr &a, const Expr &b, long (*f)(long, long)) {
  auto A = a.value, B = b.value;
  return {pre + a.text + mid + b.text + ")", [=](const long *e) { return f(A(e), B(e)); }};
}

struct Gen {
  std::mt19937 rng;
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

  Expr Term(int depth) {
    // leaves are variables twice as often as numerals
    int k = depth > 0 ? Pick(9) : (Pick(3) == 2 ? 1 : 0);
    int v = Pick(3);
    if (k == 0) return {std::string(1, "xyz"[v]), [v](const long *e) { return e[v]; }};
    if (k == 1) return {std::to_string(v), [v](const long *) { return (long)v; }};
    Expr a = Term(depth - 1), b = Term(depth - 1);
    auto A = a.value;
    if (k <= 3) return Op("+(", ",", a, b, [](long x, long y) { return x + y; });
    if (k <= 5) return Op("-(", ",", a, b, [](long x, long y) { return x - y; });
    if (k == 6) return Op("*(", ",", a, b, [](long x, long y) { return x * y; });
    if (k == 7) return {"+1(" + a.text + ")", [=](const long *e) { return A(e) + 1; }};
    return {"-1(" + a.text + ")", [=](const long *e) { return A(e) - 1; }};
  }

  Expr Formula(int depth) {
    int k = depth > 0 ? Pick(10) : Pick(4);
    if (k <= 2) {
      Expr a = Term(Pick(3) == 0), b = Term(Pick(3) == 0);
      auto A = a.value, B = b.value;
      return {a.text + "=<>"[k] + b.text, [=](const long *e) {
                long l = A(e), r = B(e);
                return (long)(k == 0 ? l == r : k == 1 ? l < r : l > r);
              }};
    }
    bool t = Pick(4) != 0;
    if (k == 3) return {t ? "$T" : "$F", [t](const long *) { return (long)t; }};
    Expr a = Formula(depth - 1), b = Formula(depth - 1);
    auto A = a.value;
    if (k <= 5) return Op("(", "^", a, b, [](long x, long y) { return (long)(x && y); });
    if (k <= 7) return Op("(", "|", a, b, [](long x, long y) { return (long)(x || y); });
    if (k == 8) return Op("(", "->", a, b, [](long x, long y) { return (long)(!x || y); });
    return {"~(" + a.text + ")", [=](const long *e) { return (long)!A(e); }};
  }
};

// Some x, y, z in -3..3 make the hypothesis true and the conclusion false.
static bool HasCounterexample(const Expr &h, const Expr &c) {
  long e[3];
  for (e[0] = -3; e[0] <= 3; e[0]++)
    for (e[1] = -3; e[1] <= 3; e[1]++)
      for (e[2] = -3; e[2] <= 3; e[2]++)
        if (h.value(e) && !c.value(e)) return true;
  return false;
}

TEST(Soundness, NoConditionWithACounterexampleIsProvedNorAProvedOneRefuted) {
  Gen g{std::mt19937(20261206)};
  int proved = 0, refutable = 0, refuted = 0;
  for (int i = 0; i < 1000; i++) {
    Expr h = g.Formula(3), c = g.Formula(3);
    ProverReset();
    Sequent *s = Append({}, {});
    s->formulaList1 = Formula2FormulaList(SimplifySequentUseRewrite(F(h.text)), '^');
    s->formulaList2 = Formula2FormulaList(SimplifySequentUseRewrite(F(c.text)), '|');
    char w[256];
    int found = RefuteSequent(s, w, sizeof w);
    SimplifySequentAll();
    bool gone = sequentList.sequent == nullptr;
    EXPECT_FALSE(found && gone) << "proved and refuted: " << h.text << " => " << c.text;
    refuted += found;
    if (HasCounterexample(h, c)) {
      refutable++;
      EXPECT_FALSE(gone) << h.text << " => " << c.text;
    }
    proved += gone;
  }
  // the generator gives both kinds in fair numbers
  EXPECT_GT(proved, 100);
  EXPECT_GT(refutable, 100);
  EXPECT_GT(refuted, 100);
}
