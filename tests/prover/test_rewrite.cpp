// The rewriter and the occurrence tests.
#include "provertest.h"

static std::string Rw(const char *text) { return FText(SimplifySequentUseRewrite(F(text))); }

TEST(Rewrite, NegationAndComparisons) {
  EXPECT_EQ(Rw("~~(x>0)"), "x>0");
  EXPECT_EQ(Rw("~~~(x>0)"), "~x>0");
  EXPECT_EQ(Rw("x<y"), "y>x");
  EXPECT_EQ(Rw("x<x"), "~$T");
  EXPECT_EQ(Rw("x=x"), "$T");
  EXPECT_EQ(Rw("x>x"), "~$T");
}

TEST(Rewrite, PropositionalIdentities) {
  EXPECT_EQ(Rw("$T^x>0"), "x>0");
  EXPECT_EQ(Rw("x>0^$F"), "~$T");
  EXPECT_EQ(Rw("x>0|$T"), "$T");
  EXPECT_EQ(Rw("$F|x>0"), "x>0");
  EXPECT_EQ(Rw("x>0^~x>0"), "~$T");
  EXPECT_EQ(Rw("~x>0^x>0"), "~$T");
  EXPECT_EQ(Rw("x>0|~x>0"), "$T");
  EXPECT_EQ(Rw("x>0^0<x"), "x>0");
  EXPECT_EQ(Rw("(x=x)^y>0"), "y>0");
  EXPECT_EQ(Rw("x>0^y>0"), "(x>0^y>0)");
  EXPECT_EQ(Rw("x>0->$F"), "~x>0");
  EXPECT_EQ(Rw("$F->x>0"), "$T");
  EXPECT_EQ(Rw("x>0->x>0"), "$T");
  EXPECT_EQ(Rw("$T->x>0"), "x>0");
  EXPECT_EQ(Rw("~x>0->x>0"), "x>0");
  EXPECT_EQ(Rw("x>0->~x>0"), "~x>0");
}

TEST(Rewrite, NoTestOfAConclusionBeginningWithT) {
  EXPECT_EQ(Rw("x=1->Tz=2"), "((x=1)->Tz=2)");
  EXPECT_EQ(Rw("x=1->T(z)>0"), "((x=1)->T(z)>0)");
}

TEST(Rewrite, Quantifiers) {
  EXPECT_EQ(Rw("$Ai:y>0"), "y>0");
  EXPECT_EQ(Rw("$Ai:a[i]>0"), "$Ai:a[i]>0");
  // the array name and the function name count as occurrences
  EXPECT_EQ(Rw("$Aa:a[i]>0"), "$Aa:a[i]>0");
  EXPECT_EQ(Rw("$Af:f(x)>0"), "$Af:f(x)>0");
  EXPECT_EQ(Rw("$Ax:$Ax:x>0"), "$Ax:$Ax:x>0");
}

TEST(Rewrite, EmptyChildIsAnOpaqueAtom) {
  FormulaPtr f = FormulaAlloc();
  f->connective = '^';
  f->left = F("$T");
  EXPECT_EQ(SimplifySequentUseRewrite(f), f);
  FormulaPtr g = FormulaAlloc();
  g->connective = ':';
  g->right = F("$T");
  EXPECT_EQ(SimplifySequentUseRewrite(g), g);
  FormulaPtr n = FormulaAlloc();
  n->connective = '~';
  EXPECT_EQ(SimplifySequentUseRewrite(n), n);
  FormulaPtr q = FormulaAlloc();
  q->connective = 'A';
  q->left = T("x");
  EXPECT_EQ(SimplifySequentUseRewrite(q), q);
  FormulaPtr o = FormulaAlloc();
  o->connective = '|';
  o->right = F("x<y");
  EXPECT_EQ(SimplifySequentUseRewrite(o), o);
  EXPECT_EQ(FText((FormulaPtr)o->right), "y>x");
}

TEST(Rewrite, LongChildrenNeedNoBuffers) {
  std::string big = "x>0";
  for (int i = 0; i < 2000; i++) big = "f(" + big.substr(0, big.size() - 2) + ")>0";
  std::string both = big + "^~" + big;
  EXPECT_EQ(Rw(both.c_str()), "~$T");
  std::string same = big + "|" + big;
  EXPECT_EQ(Rw(same.c_str()), big);
}

TEST(FreeVar, OccurrenceTests) {
  TermPtr x = T("x");
  EXPECT_TRUE(isFreeVarFormula(x, F("y>0^z=f(y)")));
  EXPECT_FALSE(isFreeVarFormula(x, F("y>0^z=f(x)")));
  EXPECT_FALSE(isFreeVarFormula(x, F("a[x]>0")));
  EXPECT_FALSE(isFreeVarFormula(x, F("x[i]>0")));
  EXPECT_FALSE(isFreeVarFormula(x, F("x(i)>0")));
  EXPECT_TRUE(isFreeVarFormula(x, F("xy>0")));
  EXPECT_FALSE(isFreeVarFormula(x, F("$Ax:y>0")));
  EXPECT_TRUE(isFreeVarFormula(x, 0));
  EXPECT_TRUE(isFreeVarTermTermList(x, 0));
  EXPECT_TRUE(isFreeVarTermExpPairList(x, 0));
  EXPECT_TRUE(isFreeVarTermArraySubList(x, 0));
  EXPECT_TRUE(isFreeVarTerm(x, 0));
  EXPECT_FALSE(isFreeVarTerm(x, T("g(h(x))")));
}
