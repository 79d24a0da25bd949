// Texts nested far deeper than any program block allows (typed axioms and
// answers have no length limit): reading, printing, copying, comparing,
// rewriting and freeing must stay within the stack and say what they cut.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "../../formula/formula.h"
#include "../../prover/proof.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Reads the text, then puts the formula through every recursive operation.
std::string Exercise(const std::string &text, long *errors) {
  std::string s = text;
  long before = ErrorMsgCount();
  FormulaPtr f = FormulaAlloc();
  FormulaRead(&s[0], f);
  Text out;
  TextInit(&out);
  FormulaPrint(f, &out);
  FormulaPtr c = FormulaCopy(f);
  EXPECT_TRUE(FormulaEqual(f, c));
  EXPECT_TRUE(FormulaPrintEqual(f, c));
  EXPECT_LE(FormulaSize(c, FORMULA_NODE_LIMIT), FORMULA_NODE_LIMIT + 1);
  c = SimplifySequentUseRewrite(c);
  FormulaListPtr l = Formula2FormulaList(FormulaCopy(f), '^');
  FormulaListFree(l);
  FormulaFree(c);
  FormulaFree(f);
  std::string r = TextStr(&out);
  TextFree(&out);
  *errors = ErrorMsgCount() - before;
  return r;
}

}  // namespace

TEST(HostileDepth, NestingPastTheBoundIsCutWithAnError) {
  const int deep = 6000;   // past MAX_NEST_DEPTH
  struct Case { std::string text; const char *what; };
  auto rep = [&](const std::string &s) {
    std::string r;
    for (int i = 0; i < deep; i++) r += s;
    return r;
  };
  Case cases[] = {
      {std::string(deep, '(') + "x>0" + std::string(deep, ')'), "parentheses"},
      {std::string(deep, '(') + "x>0", "unclosed parentheses"},
      {"x>0" + std::string(deep, ')'), "surplus parentheses"},
      {std::string(deep, '~') + "x>0", "negations"},
      {rep("+(") + "x" + rep(",1)") + ">0", "nested terms"},
      {rep("a[") + "0" + rep("]") + "=1", "nested array elements"},
      {rep("$Ax:") + "x>0", "quantifiers"},
      {rep("$Ex:") + "x>0", "existential quantifiers"},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(k.what);
    long errors = 0;
    CaptureStdout();
    auto t0 = std::chrono::steady_clock::now();
    std::string printed = Exercise(k.text, &errors);
    double sec = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::string out = GetCapturedStdout();
    EXPECT_LT(sec, 20.0);
    if (std::string(k.what) != "surplus parentheses") {
      EXPECT_GE(errors, 1) << "nothing said about the cut";
      EXPECT_NE(out.find("Error: "), std::string::npos);
    }
    // "$E" prints as "~$A" ... ":~": at most twice the text.
    EXPECT_LT(printed.size(), 2 * k.text.size() + 16);
  }
}

TEST(HostileDepth, LongFlatChainsAreLinear) {
  // 100000 conjuncts and disjuncts in a row: a flat chain is not deep, it is
  // read, split and printed in full.
  for (std::string link : {"^x>0", "|a"}) {
    std::string chain = link.substr(1);
    for (int i = 0; i < 100000; i++) chain += link;
    long errors = 0;
    CaptureStdout();
    std::string printed = Exercise(chain, &errors);
    GetCapturedStdout();
    EXPECT_EQ(errors, 0) << link;
    EXPECT_GE(printed.size(), chain.size()) << link;
  }
}
