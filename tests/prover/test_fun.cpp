// Function axioms.
#include "provertest.h"

static std::string Fun(const char *term) { return TText(FunRewrite(T(term))); }

static std::string FunF(const char *formula) {
  return FText(ApplyFunctionAxiomsFormula(F(formula)));
}

TEST(FunAxioms, Identities) {
  EXPECT_EQ(Fun("+(-(a,b),b)"), "a");
  EXPECT_EQ(Fun("+(b,-(a,b))"), "+(b,-(a,b))");
  EXPECT_EQ(Fun("-(x,x)"), "0");
  EXPECT_EQ(Fun("-(+(x,y),x)"), "y");
  EXPECT_EQ(Fun("-(+(x,y),y)"), "x");
  EXPECT_EQ(Fun("+(1,x)"), "+(x,1)");
  EXPECT_EQ(Fun("*(a,b)"), "*(b,a)");
  EXPECT_EQ(Fun("+1(-1(n))"), "n");
  EXPECT_EQ(Fun("-1(+1(n))"), "n");
  EXPECT_EQ(Fun("!(0)"), "1");
  EXPECT_EQ(Fun("!(1)"), "1");
  EXPECT_EQ(Fun("!(+1(n))"), "*(+1(n),!(n))");
  EXPECT_EQ(Fun("!(+1(+1(n)))"), "*(+1(+1(n)),*(+1(n),!(n)))");
  EXPECT_EQ(Fun("!(n)"), "!(n)");
  EXPECT_EQ(Fun("f(-(x,x))"), "f(0)");
  EXPECT_EQ(Fun("a[-(i,i)]"), "a[0]");
}

TEST(FunAxioms, ComparisonsWithZero) {
  EXPECT_EQ(FunF("0<-(x,y)"), "x>y");
  EXPECT_EQ(FunF("0>-(x,y)"), "y>x");
  EXPECT_EQ(FunF("0=-(x,y)"), "x=y");
  EXPECT_EQ(FunF("-(x,y)=0"), "x=y");
  EXPECT_EQ(FunF("-(x,y)<0"), "x<y");
  EXPECT_EQ(FunF("~(-(x,x)>y)"), "~0>y");
  // not inside implications or quantifiers
  EXPECT_EQ(FunF("(-(x,x)>y)->z>0"), "((-(x,x)>y)->z>0)");
  EXPECT_EQ(FunF("$Ax:-(x,x)>y"), "$Ax:-(x,x)>y");
}

TEST(FunAxioms, OnlyAtTheExactArity) {
  EXPECT_EQ(Fun("-(x,x,y)"), "-(x,x,y)");
  EXPECT_EQ(FunF("-(x,x,y)=0"), "-(x,x,y)=0");
  EXPECT_EQ(Fun("+(-(a,b,c),b)"), "+(b,-(a,b,c))");   // ordered, not cancelled
  EXPECT_EQ(Fun("-1(+1(n,m))"), "-1(+1(n,m))");
  EXPECT_EQ(Fun("!(+1(n),m)"), "!(+1(n),m)");
  EXPECT_EQ(Fun("!(0(z))"), "!(0(z))");   // "0" applied is not the name 0
  EXPECT_EQ(Fun("+(x)"), "+(x)");
  EXPECT_EQ(FunF("0(a)<-(x,y)"), "0(a)<-(x,y)");
}

TEST(FunAxioms, DeepSumsStayLinear) {
  std::string t = "x";
  for (int i = 0; i < 200; i++) t = "+(" + t + ",y)";
  EXPECT_EQ(Fun(t.c_str()).size(), t.size());
}

TEST(FunAxioms, PassRewritesBothSides) {
  Sequent *s = Seq({"-(a,a)=b"}, {"0<-(c,d)"});
  SimplifySequentUseFunAxioms(s);
  EXPECT_EQ(SText(s), "0=b\n =>\n  c>d\n\n");
}
