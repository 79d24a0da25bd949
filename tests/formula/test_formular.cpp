#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "formulatest.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static std::string Out() {
  fflush(stdout);
  return GetCapturedStdout();
}

TEST(FormulaRead, PrecedenceAndRightGrouping) {
  EXPECT_EQ(RP("a^b|c"), "((a^b)|c)");
  EXPECT_EQ(RP("a|b^c"), "(a|(b^c))");
  EXPECT_EQ(RP("a->b->c"), "((a)->((b)->c))");
  EXPECT_EQ(RP("a|b->c"), "(((a|b))->c)");
  EXPECT_EQ(RP("a|b|c"), "(a|(b|c))");
  EXPECT_EQ(RP("a^b^c"), "(a^(b^c))");
  EXPECT_EQ(RP("(a|b)^c"), "((a|b)^c)");
  EXPECT_EQ(RP("a^(b|c)"), "(a^(b|c))");
  EXPECT_EQ(RP("(a^b)^c"), "((a^b)^c)");
  EXPECT_EQ(RP("a->b"), "((a)->b)");

  FormulaPtr f = ReadF("(a|b)^c");
  ASSERT_EQ(f->connective, '^');
  EXPECT_EQ(static_cast<FormulaPtr>(f->left)->connective, '|');
  EXPECT_EQ(static_cast<FormulaPtr>(f->right)->connective, '.');
  FormulaFree(f);
}

TEST(FormulaRead, PrimariesNegationQuantifiers) {
  FormulaPtr f = ReadF("~a=b");
  ASSERT_EQ(f->connective, '~');
  EXPECT_EQ(static_cast<FormulaPtr>(f->right)->connective, '=');
  FormulaFree(f);
  EXPECT_EQ(RP("~(a=b^c=d)"), "~(a=b^c=d)");
  EXPECT_EQ(RP("$Ex:p(x)"), "~$Ax:~p(x)");
  EXPECT_EQ(RP("$F"), "~$T");
  EXPECT_EQ(RP("$T"), "$T");
  EXPECT_EQ(RP("x"), "x");
  EXPECT_EQ(RP("p(x,y)"), "p(x,y)");
  EXPECT_EQ(RP("a[i]<f(b)"), "a[i]<f(b)");
  // the body of a quantifier is one primary
  EXPECT_EQ(RP("$Ax:a=b^c=d"), "($Ax:a=b^c=d)");
  f = ReadF("$Ax:a=b^c=d");
  ASSERT_EQ(f->connective, '^');
  EXPECT_EQ(static_cast<FormulaPtr>(f->left)->connective, 'A');
  FormulaFree(f);
  EXPECT_EQ(RP("$Ax:(a=b^c=d)"), "$Ax:(a=b^c=d)");

  // the existential statement is not-for-all-not
  f = ReadF("$Ex:p(x)");
  FormulaPtr g = ReadF("~$Ax:~p(x)");
  EXPECT_TRUE(FormulaEqual(f, g));
  FormulaFree(f);
  FormulaFree(g);

  // $ followed by another letter begins a name
  f = ReadF("$OLB=x");
  ASSERT_EQ(f->connective, '=');
  EXPECT_STREQ(static_cast<TermPtr>(f->left)->name, "$OLB");
  FormulaFree(f);
  EXPECT_EQ(RP("$Tx=1"), "$T");
  EXPECT_EQ(RP(""), "");
  f = ReadF("");
  EXPECT_EQ(f->connective, 0);
  FormulaFree(f);
}

TEST(FormulaRead, ErrorTolerance) {
  CaptureStdout();
  FormulaPtr f = ReadF("$Ax");
  std::string out = Out();
  EXPECT_NE(out.find("Error: FOR ALL\n"), std::string::npos);
  ASSERT_EQ(f->connective, 'A');
  EXPECT_STREQ(static_cast<TermPtr>(f->left)->name, "x");
  EXPECT_EQ(static_cast<FormulaPtr>(f->right)->connective, 0);
  EXPECT_EQ(PrintF(f), "$Ax:");
  FormulaFree(f);

  CaptureStdout();
  EXPECT_EQ(RP("a<=b"), "a<");
  EXPECT_NE(Out().find("Error: *** Missing name ***"), std::string::npos);

  EXPECT_EQ(RP("(a=b)c=d"), "a=b");
  EXPECT_EQ(RP("a|b)"), "a");
  EXPECT_EQ(RP("(a|b"), "(a|b)");
  EXPECT_EQ(RP("((a^b)"), "(a^b)");

  // FormulaRead1 returns the offset of the closing parenthesis
  char buf[] = "(a|b)^c";
  FormulaPtr g = FormulaAlloc();
  EXPECT_EQ(FormulaRead1(buf, g), 4);
  EXPECT_EQ(PrintF(g), "(a|b)");
  FormulaFree(g);
  char buf2[] = "~~x=y,z";
  g = FormulaAlloc();
  EXPECT_EQ(FormulaRead1(buf2, g), 5);
  FormulaFree(g);
}

TEST(FormulaRead, RoundTripsAreEqual) {
  const char *texts[] = {
      "a=b", "a<b", "f(x)>g(y,z)", "p(x)", "$T", "$F", "~~p",
      "a^b|c->d", "(a->b)->c", "$Ax:$Ay:(x=y->y=x)", "$Ex:(x<y^~x=z)",
      "a[i,j]=+(a[k],1)^b=c", "((((a))))", "~(a|b)^$Ax:~p(x)|q->r^s",
  };
  for (const char *t : texts) {
    FormulaPtr f = ReadF(t);
    std::string once = PrintF(f);
    FormulaPtr g = ReadF(once);
    EXPECT_TRUE(FormulaEqual(f, g)) << t;
    EXPECT_EQ(PrintF(g), once) << t;
    FormulaFree(f);
    FormulaFree(g);
  }
}

TEST(FormulaRead, DeepNestingIsBounded) {
  // 2000 nested parentheses read, print, copy, compare and free.
  std::string deep = std::string(2000, '(') + "a=b" + std::string(2000, ')');
  FormulaPtr f = ReadF(deep);
  EXPECT_EQ(PrintF(f), "a=b");
  std::string conj;
  for (int i = 0; i < 2000; i++) conj += "(a^";
  conj += "b" + std::string(2000, ')');
  FormulaPtr g = ReadF(conj);
  std::string pg = PrintF(g);
  EXPECT_EQ(pg, conj);
  FormulaPtr h = FormulaCopy(g);
  EXPECT_TRUE(FormulaEqual(g, h));
  EXPECT_TRUE(FormulaPrintEqual(g, h));
  FormulaFree(f);
  FormulaFree(g);
  FormulaFree(h);

  std::string negs = std::string(2000, '~') + "p";
  f = ReadF(negs);
  EXPECT_EQ(PrintF(f), negs);
  FormulaFree(f);

  // beyond the bound: an error line, no crash, nothing past the bound read
  std::string tooDeep = std::string(MAX_NEST_DEPTH + 10, '~') + "p";
  CaptureStdout();
  f = ReadF(tooDeep);
  std::string out = Out();
  EXPECT_NE(out.find("Error: *** Formula nested too deeply ***"), std::string::npos);
  EXPECT_LE(PrintF(f).size(), static_cast<size_t>(MAX_NEST_DEPTH));
  FormulaFree(f);

  std::string quants;
  for (int i = 0; i < MAX_NEST_DEPTH + 10; i++) quants += "$Ax:";
  CaptureStdout();
  f = ReadF(quants + "p");
  EXPECT_NE(Out().find("nested too deeply"), std::string::npos);
  FormulaFree(f);

  CaptureStdout();
  f = ReadF(std::string(MAX_NEST_DEPTH + 10, '(') + "a");
  EXPECT_NE(Out().find("nested too deeply"), std::string::npos);
  FormulaFree(f);
  f = ReadF("a" + std::string(5000, ')') + "|b^c");
  EXPECT_EQ(PrintF(f), "a");
  FormulaFree(f);

  // long right-grouped chains do not count as nesting
  std::string chain = "a";
  for (int i = 0; i < 3 * MAX_NEST_DEPTH; i++) chain += "^a";
  CaptureStdout();
  f = ReadF(chain);
  EXPECT_EQ(Out(), "");
  EXPECT_EQ(FormulaSize(f, 1000000), 2L * (3 * MAX_NEST_DEPTH) + 1 + 3 * MAX_NEST_DEPTH + 1);
  FormulaFree(f);
}
