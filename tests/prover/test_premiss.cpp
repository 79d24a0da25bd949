// The premisses pass.
#include "provertest.h"

static std::string Pre(std::vector<const char *> left, std::vector<const char *> right) {
  Sequent *s = Seq(left, right);
  SimplifySequentUsePremisses(s);
  return SText(s);
}

TEST(Premisses, OppositeComparisons) {
  // a>b, b>a leave; a=b comes in front and then defines a
  EXPECT_EQ(Pre({"c>0"}, {"a>b", "b>a"}), "c>0\n =>\n  $F\n\n");
  // a=b is then used as a definition of a
  EXPECT_EQ(Pre({"c>a"}, {"a>b", "d>0", "b>a"}), "c>b\n =>\n  d>0\n\n");
  // the order of the two does not matter: b=a defines b
  EXPECT_EQ(Pre({"c>a"}, {"b>a", "d>0", "a>b"}), "c>a\n =>\n  d>0\n\n");
  EXPECT_EQ(Pre({}, {"a>b"}), "$T\n =>\n  a>b\n\n");
  EXPECT_EQ(Pre({}, {"f(a)>f(b)", "f(b)>f(a)"}), "f(a)=f(b)\n =>\n  $F\n\n");
}

TEST(Premisses, Definitions) {
  EXPECT_EQ(Pre({"x=5"}, {"x>0"}), "$T\n =>\n  5>0\n\n");
  EXPECT_EQ(Pre({"5=x"}, {"x>0"}), "$T\n =>\n  5>0\n\n");
  EXPECT_EQ(Pre({"x=+(x,1)", "x>y"}, {"x>0"}), "x=+(x,1),+(x,1)>y\n =>\n  +(x,1)>0\n\n");
  EXPECT_EQ(Pre({"x=y", "y=3", "z>x"}, {"x>z"}), "z>3\n =>\n  3>z\n\n");
  EXPECT_EQ(Pre({"f(x)=y", "y>0"}, {"z>y"}), "f(x)>0\n =>\n  z>f(x)\n\n");
  EXPECT_EQ(Pre({"1=2"}, {"z>0"}), "1=2\n =>\n  z>0\n\n");
}

TEST(Premisses, NoCaptureByAQuantifier) {
  // x=y with $Ay:(g(y)>x|x=0) must not become $Ay:(g(y)>y|y=0): the
  // sequent is not valid and must stay as it is
  std::string before = Pre({"x=y", "$Ay:(g(y)>x|x=0)"}, {"$Ay:(g(y)>y|y=0)"});
  EXPECT_EQ(before, "x=y,$Ay:(g(y)>x|x=0)\n =>\n  $Ay:(g(y)>y|y=0)\n\n");
  // the bound variable itself is not replaced
  EXPECT_EQ(Pre({"x=3", "$Ax:x>z"}, {"x>z"}), "$Ax:x>z\n =>\n  3>z\n\n");
}

TEST(Premisses, GrowthIsBounded) {
  // x1=+(x0,x0), x2=+(x1,x1), ...: substituting every definition would double
  // the size each time
  std::vector<std::string> defs;
  for (int i = 1; i <= 40; i++)
    defs.push_back("x" + std::to_string(i) + "=+(x" + std::to_string(i - 1) + ",x" +
                   std::to_string(i - 1) + ")");
  std::vector<const char *> left;
  for (auto &d : defs) left.push_back(d.c_str());
  Sequent *s = Seq(left, {"x40>0"});
  SimplifySequentUsePremisses(s);
  long size = 0;
  for (FormulaListPtr q = s->formulaList1; q; q = q->formulaList) size += FormulaSize(q->formula, 1L << 40);
  for (FormulaListPtr q = s->formulaList2; q; q = q->formulaList) size += FormulaSize(q->formula, 1L << 40);
  EXPECT_LE(size, 2 * PREMISS_NODE_LIMIT);
}

TEST(Premisses, TermNotInFuncIsAWholeWordTest) {
  EXPECT_FALSE(TermNotInFunc(T("a"), T("f(a,b)")));
  EXPECT_FALSE(TermNotInFunc(T("a"), T("a[i]")));
  EXPECT_FALSE(TermNotInFunc(T("a"), T("a")));
  EXPECT_TRUE(TermNotInFunc(T("a"), T("ab")));
  EXPECT_TRUE(TermNotInFunc(T("a"), T("#a")));
  EXPECT_TRUE(TermNotInFunc(T("a"), T("f(ba,ab)")));
  EXPECT_FALSE(TermNotInFunc(T("f(a)"), T("g(f(a))")));
  std::string longName(3000, 'n');
  std::string value = "f(" + std::string(2000, 'm') + "," + longName.substr(0, 2000) + ")";
  EXPECT_FALSE(TermNotInFunc(T(longName.substr(0, 2000).c_str()), T(value.c_str())));
}
