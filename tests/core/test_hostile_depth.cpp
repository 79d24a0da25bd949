// Texts nested far deeper than any program block allows (typed axioms and
// answers have no length limit): reading, printing, copying, comparing,
// rewriting and freeing must stay within the stack and say what they cut.
// Long flat ^/| chains are not deep: read, split and printed in full.
#include <chrono>

#include "../../formula/formula.h"
#include "../../prover/proof.h"
#include "coretest.h"

TEST(HostileDepth, DeepNestingIsCutWithAnErrorFlatChainsAreKept) {
  auto rep = [](int n, const std::string &s) {
    std::string r;
    for (int i = 0; i < n; i++) r += s;
    return r;
  };
  const int deep = 6000;  // past MAX_NEST_DEPTH
  enum { CUT, KEPT, SURPLUS };  // SURPLUS: the text after the formula is ignored
  struct { const char *what; std::string text; int how; } cases[] = {
      {"parentheses", rep(deep, "(") + "x>0" + rep(deep, ")"), CUT},
      {"unclosed parentheses", rep(deep, "(") + "x>0", CUT},
      {"surplus parentheses", "x>0" + rep(deep, ")"), SURPLUS},
      {"negations", rep(deep, "~") + "x>0", CUT},
      {"nested terms", rep(deep, "+(") + "x" + rep(deep, ",1)") + ">0", CUT},
      {"nested array elements", rep(deep, "a[") + "0" + rep(deep, "]") + "=1", CUT},
      {"quantifiers", rep(deep, "$Ax:") + "x>0", CUT},
      {"existential quantifiers", rep(deep, "$Ex:") + "x>0", CUT},
      {"conjunctions", "x>0" + rep(100000, "^x>0"), KEPT},
      {"disjunctions", "a" + rep(100000, "|a"), KEPT},
  };
  for (auto &k : cases) {
    SCOPED_TRACE(k.what);
    std::string s = k.text;
    long before = ErrorMsgCount();
    auto t0 = std::chrono::steady_clock::now();
    CaptureStdout();
    FormulaPtr f = FormulaAlloc();
    FormulaRead(&s[0], f);
    std::string printed = Str(f, FormulaPrint);
    FormulaPtr c = FormulaCopy(f);
    EXPECT_TRUE(FormulaEqual(f, c) && FormulaPrintEqual(f, c));
    EXPECT_LE(FormulaSize(c, FORMULA_NODE_LIMIT), FORMULA_NODE_LIMIT + 1);
    FormulaListFree(Formula2FormulaList(FormulaCopy(f), '^'));
    FormulaFree(SimplifySequentUseRewrite(c)), FormulaFree(f);
    std::string out = Out();
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 20.0);
    long errors = ErrorMsgCount() - before;
    EXPECT_EQ(errors >= 1 && Has(out, "Error: "), k.how == CUT) << "nothing said about the cut";
    EXPECT_TRUE(k.how != KEPT || printed.size() >= k.text.size());
    // "$E" prints as "~$A" ... ":~": at most twice the text.
    EXPECT_LT(printed.size(), 2 * k.text.size() + 16);
  }
}
