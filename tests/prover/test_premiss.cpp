// The premisses pass.
#include "provertest.h"

TEST(Premisses, OppositeComparisonsAndDefinitions) {
  struct { Texts left, right; const char *out; } cases[] = {
      // a>b, b>a leave; a=b comes in front and then defines a
      {{"c>0"}, {"a>b", "b>a"}, "c>0\n =>\n  $F\n\n"},
      {{"c>a"}, {"b>a", "d>0", "a>b"}, "c>a\n =>\n  d>0\n\n"},  // b=a defines b
      {{}, {"f(a)>f(b)", "f(b)>f(a)"}, "f(a)=f(b)\n =>\n  $F\n\n"},
      {{"5=x"}, {"x>0"}, "$T\n =>\n  5>0\n\n"},
      {{"x=+(x,1)", "x>y"}, {"x>0"}, "x=+(x,1),+(x,1)>y\n =>\n  +(x,1)>0\n\n"},
      {{"x=y", "y=3", "z>x"}, {"x>z"}, "z>3\n =>\n  3>z\n\n"},
      {{"1=2"}, {"z>0"}, "1=2\n =>\n  z>0\n\n"},
      // No capture by a quantifier: $Ay:(g(y)>x|x=0) must not become
      // $Ay:(g(y)>y|y=0) (not valid); the bound variable is not replaced.
      {{"x=y", "$Ay:(g(y)>x|x=0)"}, {"$Ay:(g(y)>y|y=0)"},
       "x=y,$Ay:(g(y)>x|x=0)\n =>\n  $Ay:(g(y)>y|y=0)\n\n"},
      {{"x=3", "$Ax:x>z"}, {"x>z"}, "$Ax:x>z\n =>\n  3>z\n\n"},
  };
  for (auto &c : cases) {
    Sequent *s = Seq(c.left, c.right);
    SimplifySequentUsePremisses(s);
    EXPECT_EQ(SText(s), c.out);
  }
}

TEST(Premisses, GrowthIsBounded) {
  // x1=+(x0,x0), x2=+(x1,x1), ...: substituting every definition would double
  // the size each time
  Texts left;
  for (int i = 1; i <= 40; i++) {
    std::string p = "x" + std::to_string(i - 1);
    left.push_back("x" + std::to_string(i) + "=+(" + p + "," + p + ")");
  }
  Sequent *s = Seq(left, {"x40>0"});
  SimplifySequentUsePremisses(s);
  long size = 0;
  for (FormulaListPtr q : {s->formulaList1, s->formulaList2})
    for (; q; q = q->formulaList) size += FormulaSize(q->formula, 1L << 40);
  EXPECT_LE(size, 2 * PREMISS_NODE_LIMIT);
}

TEST(Premisses, TermNotInFuncIsAWholeWordTest) {
  struct { const char *x, *in; bool notIn; } cases[] = {
      {"a", "a[i]", 0}, {"a", "#a", 1}, {"a", "f(ba,ab)", 1}, {"f(a)", "g(f(a))", 0},
  };
  for (auto &c : cases) EXPECT_EQ(!!TermNotInFunc(T(c.x), T(c.in)), c.notIn) << c.x << " " << c.in;
  std::string n(2000, 'n');  // long names need no buffers
  std::string value = "f(" + std::string(2000, 'm') + "," + n + ")";
  EXPECT_FALSE(TermNotInFunc(T(n.c_str()), T(value.c_str())));
}
