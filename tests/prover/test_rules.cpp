// The rules pass, the axiom test and the truth tests.
#include "provertest.h"

static std::string RunRules(const Texts &left, const Texts &right) {
  ProverReset();
  Append(left, right);
  SimplifySequentList(SimplifySequentUseRules);
  return AllText();
}

TEST(Truth, TestsNormaliseInPlaceAndEmptyChildIsOpaque) {
  FormulaPtr e = F("f(x)=f(x)"), g = F("x>x"), neg = FormulaAlloc();
  EXPECT_TRUE(isTrue(e) && isFalse(g) && !isTrue(F("x=y")));
  EXPECT_EQ(FText(e) + FText(g), "$T~$T");
  neg->connective = '~';
  EXPECT_FALSE(isTrue(0) || isFalse(0) || isFalse(neg));
}

TEST(Rules, DecompositionSplitsAndAxioms) {
  struct { Texts left, right; const char *out; } cases[] = {
      // antecedent A->B: (=> A) and (B =>), each with the rest
      {{"a>0->b>0", "c>0"}, {"d>0"}, "b>0,c>0\n =>\n  d>0\n\nc>0\n =>\n  a>0,d>0\n\n"},
      // antecedent A|B: B stays, A goes to the copy at the end
      {{"a>0|b>0"}, {"d>0"}, "b>0\n =>\n  d>0\n\na>0\n =>\n  d>0\n\n"},
      {{"a=b"}, {"b=a"}, ""}, {{"t>t"}, {"d>0"}, ""},
      // losing all formulas is not a proof: true => false stays
      {{"$T", "x=x"}, {"$F", "y>y"}, "$T\n =>\n  $F\n\n"},
      // two equal compound formulas: each is taken apart once and nothing is
      // reachable twice (the sanitizer build catches a double free)
      {{"a>0^b>0", "a>0^b>0"}, {"d>0"}, "a>0,b>0,a>0,b>0\n =>\n  d>0\n\n"},
      {{"~a>0", "~a>0"}, {"a>0|b>0"}, "$T\n =>\n  a>0,b>0,a>0,a>0\n\n"},
      // ~a>0 moved in front equals the walked ~a>0: removing the first equal
      // one would put its operand in the succedent twice
      {{"(~a>0)^c>0", "~a>0"}, {"d>0"}, "c>0\n =>\n  a>0,a>0,d>0\n\n"},
  };
  for (auto &c : cases) EXPECT_EQ(RunRules(c.left, c.right), c.out) << c.out;

  ProverReset();
  Sequent *s = Append({"(~a>0)^c>0", "~a>0", "~~e>0"}, {"e>0", "d>0"});
  SimplifySequentList(SimplifySequentUseRules);  // proved: its lists are freed once
  EXPECT_TRUE(s->proved);
  EXPECT_EQ(ListLength(), 0);
  ProverReset();
  Append({"~(p>0|q>0)", "~(p>0|q>0)"}, {"r>0"});
  for (SequentPass pass : {SimplifySequentUseRules, SimplifySequentUseFunAxioms,
                           SimplifySequentUsePremisses, SimplifySequentUseAxioms})
    SimplifySequentList(pass);
  EXPECT_EQ(AllText(), "$T\n =>\n  p>0,q>0,p>0,q>0,r>0\n\n");
}

TEST(Rules, EmptyChildIsAnOpaqueAtom) {
  ProverReset();
  FormulaPtr f = FormulaAlloc(), g = FormulaAlloc();
  f->connective = '^';
  f->left = F("x>0");  // right child none
  g->connective = ':';
  g->right = F("y>0");  // left child none
  Sequent *s = Append({}, {});
  s->formulaList1 = SetAdd(g, 0);
  s->formulaList2 = SetAdd(f, 0);
  SimplifySequentList(SimplifySequentUseRules);
  SimplifySequentList(SimplifySequentUseAxioms);
  EXPECT_EQ(ListLength(), 1);
  EXPECT_EQ(s->formulaList1->formula, g);
  EXPECT_EQ(s->formulaList2->formula, f);
}

TEST(Rules, SplittingIsBounded) {
  // (a1^b1)|...|(a24^b24) in the succedent would give 2^24 sequents
  std::string f = "a0>0^b0>0";
  for (int i = 1; i < 24; i++)
    f = "(a" + std::to_string(i) + ">0^b" + std::to_string(i) + ">0)|(" + f + ")";
  ProverReset();
  Append({"c>0"}, {f});
  testing::internal::CaptureStdout();
  SimplifySequentList(SimplifySequentUseRules);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Error: "), std::string::npos);
  int n = ListLength();
  EXPECT_TRUE(n > 1000 && n <= SEQUENT_LIMIT + 1) << n;
  // what could not be taken apart stays: none of them is proved
  int compound = 0;
  for (SequentListPtr p = &sequentList; p->sequent; p = p->sequentList)
    for (FormulaListPtr q = p->sequent->formulaList2; q; q = q->formulaList)
      compound += q->formula->connective == '^';
  EXPECT_GT(compound, 0);
  // a second pass starts with a fresh budget and ends too
  SimplifySequentList(SimplifySequentUseAxioms);
  EXPECT_EQ(ListLength(), n);
}
