// Soundness on random conditions: whenever small integer values make a
// condition false, the prover must leave at least one sequent of it; and
// what the prover removes is valid, so the refuter must not refute it.
#include <functional>
#include <random>
#include "provertest.h"

// A generated term or formula: its text and its value under x, y, z.
struct Expr { std::string text; std::function<long(const long *)> value; };

// pre a mid b post, valued f(a, b); b is left out when it has no value.
static Expr Op(std::string pre, std::string mid, const Expr &a, const Expr &b,
               std::function<long(long, long)> f, const char *post = ")") {
  auto A = a.value, B = b.value;
  return {pre + a.text + mid + b.text + post, [=](const long *e) { return f(A(e), B ? B(e) : 0); }};
}

struct Gen {
  std::mt19937 rng;
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  Expr Term(int depth) {
    // leaves are variables twice as often as numerals
    int k = depth > 0 ? Pick(9) : (Pick(3) == 2 ? 1 : 0), v = Pick(3);
    if (k == 0) return {std::string(1, "xyz"[v]), [v](const long *e) { return e[v]; }};
    if (k == 1) return {std::to_string(v), [v](const long *) { return (long)v; }};
    Expr a = Term(depth - 1), b = Term(depth - 1);
    if (k <= 3) return Op("+(", ",", a, b, [](long x, long y) { return x + y; });
    if (k <= 5) return Op("-(", ",", a, b, [](long x, long y) { return x - y; });
    if (k == 6) return Op("*(", ",", a, b, [](long x, long y) { return x * y; });
    if (k == 7) return Op("+1(", "", a, {}, [](long x, long) { return x + 1; });
    return Op("-1(", "", a, {}, [](long x, long) { return x - 1; });
  }
  Expr Formula(int depth) {
    int k = depth > 0 ? Pick(10) : Pick(4);
    if (k <= 2) {
      Expr a = Term(Pick(3) == 0), b = Term(Pick(3) == 0);
      auto f = [k](long l, long r) { return long(k == 0 ? l == r : k == 1 ? l < r : l > r); };
      return Op("", {"=<>"[k]}, a, b, f, "");
    }
    bool t = Pick(4) != 0;
    if (k == 3) return {t ? "$T" : "$F", [t](const long *) { return (long)t; }};
    Expr a = Formula(depth - 1), b = Formula(depth - 1);
    if (k <= 5) return Op("(", "^", a, b, [](long x, long y) { return (long)(x && y); });
    if (k <= 7) return Op("(", "|", a, b, [](long x, long y) { return (long)(x || y); });
    if (k == 8) return Op("(", "->", a, b, [](long x, long y) { return (long)(!x || y); });
    return Op("~(", "", a, {}, [](long x, long) { return (long)!x; });
  }
};

// Some x, y, z in -3..3 make the hypothesis true and the conclusion false.
static bool HasCounterexample(const Expr &h, const Expr &c) {
  for (int i = 0; i < 7 * 7 * 7; i++) {
    long e[3] = {i % 7 - 3, i / 7 % 7 - 3, i / 49 - 3};
    if (h.value(e) && !c.value(e)) return true;
  }
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
    bool gone = sequentList.sequent == nullptr, wrong = HasCounterexample(h, c);
    EXPECT_FALSE(found && gone) << "proved and refuted: " << h.text << " => " << c.text;
    EXPECT_FALSE(wrong && gone) << h.text << " => " << c.text;
    // A counterexample found is one: evaluated again under its values (0 for the others).
    long e[3] = {0, 0, 0};
    for (const char *p = found ? strchr(w, '=') : nullptr; p; p = strchr(p + 1, '='))
      if (strchr("xyz", p[-1])) e[p[-1] - 'x'] = atol(p + 1);
    EXPECT_TRUE(!found || (h.value(e) && !c.value(e))) << h.text << " => " << c.text << " at " << w;
    proved += gone, refutable += wrong, refuted += found;
  }
  // the generator gives both kinds in fair numbers
  EXPECT_TRUE(proved > 100 && refutable > 100 && refuted > 100) << proved << refutable << refuted;
}
