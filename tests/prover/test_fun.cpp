// Function axioms.
#include "provertest.h"

TEST(FunAxioms, IdentitiesComparisonsAndArity) {
  // term: rewritten by FunRewrite; formula: by ApplyFunctionAxiomsFormula.
  struct { bool formula; const char *in, *out; } cases[] = {
      {0, "+(-(a,b),b)", "a"},        {0, "+(b,-(a,b))", "+(b,-(a,b))"}, {0, "-(+(x,y),y)", "x"},
      {0, "*(a,b)", "*(b,a)"},        {0, "-1(+1(n))", "n"},             {0, "!(n)", "!(n)"},
      {0, "!(+1(n))", "*(+1(n),!(n))"}, {0, "a[-(i,i)]", "a[0]"},
      {1, "0>-(x,y)", "y>x"},         {1, "-(x,y)<0", "x<y"},            {1, "~(-(x,x)>y)", "~0>y"},
      // not inside implications or quantifiers
      {1, "(-(x,x)>y)->z>0", "((-(x,x)>y)->z>0)"}, {1, "$Ax:-(x,x)>y", "$Ax:-(x,x)>y"},
      // only at the exact arity; "0" applied is not the name 0
      {0, "-(x,x,y)", "-(x,x,y)"},    {1, "-(x,x,y)=0", "-(x,x,y)=0"},
      {0, "+(-(a,b,c),b)", "+(b,-(a,b,c))"},  // ordered, not cancelled
      {0, "!(+1(n),m)", "!(+1(n),m)"}, {0, "!(0(z))", "!(0(z))"}, {1, "0(a)<-(x,y)", "0(a)<-(x,y)"},
  };
  for (auto &c : cases)
    EXPECT_EQ(c.formula ? FText(ApplyFunctionAxiomsFormula(F(c.in))) : Str(TermPrint, FunRewrite(T(c.in))),
              c.out)
        << c.in;
  // Deep sums stay linear.
  std::string t = "x";
  for (int i = 0; i < 200; i++) t = "+(" + t + ",y)";
  EXPECT_EQ(Str(TermPrint, FunRewrite(T(t.c_str()))).size(), t.size());
  // The pass rewrites both sides.
  Sequent *s = Seq({"-(a,a)=b"}, {"0<-(c,d)"});
  SimplifySequentUseFunAxioms(s);
  EXPECT_EQ(SText(s), "0=b\n =>\n  c>d\n\n");
}
