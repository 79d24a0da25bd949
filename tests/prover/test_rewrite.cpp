// The rewriter and the occurrence tests.
#include "provertest.h"

static std::string Rw(const std::string &text) { return FText(SimplifySequentUseRewrite(F(text))); }

TEST(Rewrite, NegationComparisonsConnectivesAndQuantifiers) {
  struct { const char *in, *out; } cases[] = {
      {"~~~(x>0)", "~x>0"},    {"x<y", "y>x"},           {"x<x", "~$T"},
      {"x>0^$F", "~$T"},       {"$F|x>0", "x>0"},        {"~x>0^x>0", "~$T"},
      {"x>0^0<x", "x>0"},      {"x>0^y>0", "(x>0^y>0)"}, {"x>0->$F", "~x>0"},
      {"$F->x>0", "$T"},       {"~x>0->x>0", "x>0"},
      // no test of a conclusion beginning with T
      {"x=1->Tz=2", "((x=1)->Tz=2)"}, {"x=1->T(z)>0", "((x=1)->T(z)>0)"},
      // a quantifier is dropped only when its variable does not occur (the
      // array name and the function name count)
      {"$Ai:y>0", "y>0"},      {"$Ai:a[i]>0", "$Ai:a[i]>0"}, {"$Aa:a[i]>0", "$Aa:a[i]>0"},
      {"$Af:f(x)>0", "$Af:f(x)>0"}, {"$Ax:$Ax:x>0", "$Ax:$Ax:x>0"},
  };
  for (auto &c : cases) EXPECT_EQ(Rw(c.in), c.out) << c.in;
  // Long children need no buffers.
  std::string big = "x>0";
  for (int i = 0; i < 2000; i++) big = "f(" + big.substr(0, big.size() - 2) + ")>0";
  EXPECT_EQ(Rw(big + "^~" + big), "~$T");
  EXPECT_EQ(Rw(big + "|" + big), big);
}

TEST(Rewrite, EmptyChildIsAnOpaqueAtom) {
  struct { char connective; const char *left, *right; } cases[] = {
      {'^', "$T", 0}, {':', 0, "$T"}, {'~', 0, 0}, {'A', "x", 0}};
  for (auto &c : cases) {
    FormulaPtr f = FormulaAlloc();
    f->connective = c.connective;
    if (c.left) f->left = c.connective == 'A' ? (void *)T(c.left) : (void *)F(c.left);
    if (c.right) f->right = F(c.right);
    EXPECT_EQ(SimplifySequentUseRewrite(f), f) << c.connective;
  }
}

TEST(FreeVar, OccurrenceTests) {
  TermPtr x = T("x");
  struct { const char *f; bool free; } cases[] = {
      {"y>0^z=f(x)", 0}, {"a[x]>0", 0}, {"x[i]>0", 0}, {"xy>0", 1}, {"$Ax:y>0", 0}};
  for (auto &c : cases) EXPECT_EQ(!!isFreeVarFormula(x, F(c.f)), c.free) << c.f;
  EXPECT_TRUE(isFreeVarFormula(x, 0) && isFreeVarTermTermList(x, 0) &&
              isFreeVarTermExpPairList(x, 0) && isFreeVarTermArraySubList(x, 0) &&
              isFreeVarTerm(x, 0));
}
