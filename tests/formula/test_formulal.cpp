#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "formulatest.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(FormulaList, SplitAndJoinOrder) {
  FormulaPtr f = ReadF("a^(b|c)");
  FormulaListPtr p = Formula2FormulaList(f, '^');
  EXPECT_EQ(PrintList(p), "a,(b|c)");
  CleanPtrList(p);
  p = Formula2FormulaList(f, '|');
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->formula, f);
  EXPECT_EQ(p->formulaList, nullptr);
  CleanPtrList(p);
  FormulaFree(f);
  EXPECT_EQ(Formula2FormulaList(nullptr, '^'), nullptr);

  const char *texts[] = {"a^(b^c)", "(a^b)^c"};
  for (const char *t : texts) {
    f = ReadF(t);
    p = Formula2FormulaList(f, '^');
    EXPECT_EQ(PrintList(p), "a,b,c") << t;
    FormulaPtr g = FormulaList2Formula(p, '^');
    EXPECT_EQ(PrintF(g), "((a^b)^c)") << t;
    // free the new joints, then the original
    free(static_cast<FormulaPtr>(g->left));
    free(g);
    CleanPtrList(p);
    FormulaFree(f);
  }
  p = ReadList("x=1");
  EXPECT_EQ(FormulaList2Formula(p, '^'), p->formula);
  EXPECT_EQ(FormulaList2Formula(nullptr, '^'), nullptr);
  FormulaListFree(p);
}

TEST(FormulaList, CopyAppendPrint) {
  FormulaListPtr a = ReadList("a=b^c<d");
  EXPECT_EQ(PrintList(a), "a=b,c<d");
  FormulaListPtr b = FormulaListCopy(a);
  EXPECT_NE(b->formula, a->formula);
  EXPECT_EQ(PrintList(b), "a=b,c<d");
  EXPECT_EQ(FormulaListAppend(nullptr, b), b);
  FormulaListPtr c = FormulaListAppend(a, b);
  EXPECT_EQ(c, a);
  EXPECT_EQ(PrintList(c), "a=b,c<d,a=b,c<d");
  EXPECT_EQ(PrintList(nullptr), "");
  FormulaListFree(c);
  EXPECT_EQ(FormulaListCopy(nullptr), nullptr);
}

TEST(FormulaList, IsAssign1ExchangesSides) {
  struct { const char *f; int r; const char *after; } cases[] = {
      {"1=x", 1, "x=1"},      {"1=2", 0, "1=2"},       {"x=y", 1, "x=y"},
      {"1=f(x)", 0, "1=f(x)"}, {"f(x)=y", 1, "y=f(x)"}, {"\"s\"=x", 1, "\"s\"=x"},
      {"\"s\"=f(x)", 0, "\"s\"=f(x)"}, {"f(x)=\"s\"", 0, "f(x)=\"s\""},
      {"x<1", 0, "x<1"},       {"p(x)", 0, "p(x)"},     {"a[i]=x", 1, "x=a[i]"},
  };
  for (auto &c : cases) {
    FormulaPtr f = ReadF(c.f);
    EXPECT_EQ(isAssign1(f), c.r) << c.f;
    EXPECT_EQ(PrintF(f), c.after) << c.f;
    FormulaFree(f);
  }
  EXPECT_EQ(isAssign1(nullptr), 0);
}

TEST(FormulaList, RewriteInListOrder) {
  FormulaListPtr a = ReadList("x=1^+(x,y)=z");
  FormulaListRewrite(a);
  EXPECT_EQ(PrintList(a), "x=1,z=+(1,y)");
  FormulaListFree(a);

  // later equations rewrite earlier formulas too
  a = ReadList("p(y)^x=y^y=3");
  FormulaListRewrite(a);
  EXPECT_EQ(PrintList(a), "p(3),x=3,y=3");
  FormulaListFree(a);

  // a null formula ends the walk
  a = ReadList("x=1^p(x)");
  FormulaListPtr tail = a->formulaList;
  FormulaPtr keep = tail->formula;
  tail->formula = nullptr;
  FormulaListPtr extra = ReadList("p(x)");
  tail->formulaList = extra;
  FormulaListRewrite(a);
  EXPECT_EQ(PrintF(extra->formula), "p(x)");
  FormulaFree(keep);
  FormulaListFree(a);

  a = ReadList("x=1^p(x)^q(x)");
  AssignListPtr sl = ReadAssignsF("$Ox=2");
  FormulaListSubstSim1(a->formulaList->formula, a, sl);
  EXPECT_EQ(PrintList(a), "2=1,p(x),q(2)");
  FormulaListSubstSim(a, sl);
  EXPECT_EQ(PrintList(a), "2=1,p(2),q(2)");
  FreeAssignsF(sl);
  FormulaListFree(a);
}

TEST(FormulaList, AssignListSkipsNonEquations) {
  FormulaListPtr a = ReadList("x=1^p(x)^~(y=2)^y=f(x)");
  CaptureStdout();
  AssignListPtr s = FormulaList2AssignList(a);
  fflush(stdout);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out, "Error: FormulaList2Assign\nError: FormulaList2Assign\n");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->assign->termLeft, a->formula->left);
  EXPECT_EQ(s->assign->termRight, a->formula->right);
  ASSERT_NE(s->assignList, nullptr);
  EXPECT_STREQ(s->assignList->assign->termLeft->name, "y");
  EXPECT_EQ(s->assignList->assignList, nullptr);
  Text t;
  TextInit(&t);
  AssignListPrint(s, &t);
  EXPECT_STREQ(TextStr(&t), "$Ox=1^$Oy=f(x)");
  TextFree(&t);
  for (AssignListPtr q = s; q; q = q->assignList) free(q->assign);
  CleanPtrList(s);
  FormulaListFree(a);
  EXPECT_EQ(FormulaList2AssignList(nullptr), nullptr);
}
