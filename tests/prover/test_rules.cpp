// The rules pass, the axiom test and the truth tests.
#include "provertest.h"

static std::string RunRules(std::vector<const char *> left, std::vector<const char *> right) {
  ProverReset();
  Append(left, right);
  SimplifySequentList(SimplifySequentUseRules);
  return AllText();
}

TEST(Truth, TestsNormaliseInPlace) {
  FormulaPtr e = F("f(x)=f(x)");
  EXPECT_TRUE(isTrue(e));
  EXPECT_EQ(FText(e), "$T");
  FormulaPtr g = F("x>x");
  EXPECT_FALSE(isTrue(g));
  EXPECT_TRUE(isFalse(g));
  EXPECT_EQ(FText(g), "~$T");
  EXPECT_TRUE(isFalse(F("~(x=x)")));
  EXPECT_FALSE(isFalse(F("x<x")));
  EXPECT_FALSE(isTrue(F("x=y")));
  EXPECT_FALSE(isFalse(F("~x=y")));
  // an empty child is an opaque atom
  EXPECT_FALSE(isTrue(0));
  EXPECT_FALSE(isFalse(0));
  FormulaPtr neg = FormulaAlloc();
  neg->connective = '~';
  EXPECT_FALSE(isFalse(neg));
}

TEST(Rules, DecompositionOrder) {
  EXPECT_EQ(RunRules({"x>0"}, {"(a>0|b>0)|c>0", "d>0"}), "x>0\n =>\n  a>0,b>0,c>0,d>0\n\n");
  EXPECT_EQ(RunRules({"a>0^(b>0^c>0)"}, {"d>0"}), "a>0,b>0,c>0\n =>\n  d>0\n\n");
  EXPECT_EQ(RunRules({}, {"a>0->b>0"}), "a>0\n =>\n  b>0\n\n");
  EXPECT_EQ(RunRules({"~~a>0"}, {"d>0"}), "a>0\n =>\n  d>0\n\n");
  // antecedent A->B: (=> A) and (B =>), each with the rest
  EXPECT_EQ(RunRules({"a>0->b>0", "c>0"}, {"d>0"}),
            "b>0,c>0\n =>\n  d>0\n\nc>0\n =>\n  a>0,d>0\n\n");
  // antecedent A|B: B stays, A goes to the copy at the end
  EXPECT_EQ(RunRules({"a>0|b>0"}, {"d>0"}), "b>0\n =>\n  d>0\n\na>0\n =>\n  d>0\n\n");
}

TEST(Rules, SplitAndAxioms) {
  // x>0 => x>0^y>0: the first part is proved and removed
  EXPECT_EQ(RunRules({"x>0"}, {"x>0^y>0"}), "x>0\n =>\n  y>0\n\n");
  EXPECT_EQ(RunRules({"a=b"}, {"b=a"}), "");
  EXPECT_EQ(RunRules({"c>0"}, {"t=t"}), "");
  EXPECT_EQ(RunRules({"c>0"}, {"t>t", "d>0"}), "c>0\n =>\n  d>0\n\n");
  EXPECT_EQ(RunRules({"t>t"}, {"d>0"}), "");
  EXPECT_EQ(RunRules({"$T", "c>0"}, {"d>0"}), "c>0\n =>\n  d>0\n\n");
}

TEST(Rules, LosingAllFormulasIsNotAProof) {
  // true => false: both lists empty, not proved, printed as such
  EXPECT_EQ(RunRules({"$T", "x=x"}, {"$F", "y>y"}), "$T\n =>\n  $F\n\n");
  EXPECT_EQ(RunRules({}, {"$F"}), "$T\n =>\n  $F\n\n");
  ProverReset();
  Sequent *s = Append({"$T"}, {"$F"});
  SimplifySequentUseAxioms(s);
  EXPECT_FALSE(s->proved);
  EXPECT_EQ(ListLength(), 1);
}

TEST(Rules, WalkedFormulaIsRemovedByIdentity) {
  // two equal compound formulas in the antecedent: each is taken apart once
  // and nothing is reachable twice (the sanitizer build catches a double free)
  EXPECT_EQ(RunRules({"a>0^b>0", "a>0^b>0"}, {"d>0"}),
            "a>0,b>0,a>0,b>0\n =>\n  d>0\n\n");
  EXPECT_EQ(RunRules({"~a>0", "~a>0"}, {"a>0|b>0"}), "$T\n =>\n  a>0,b>0,a>0,a>0\n\n");
  // ~a>0 moved in front by the first rule equals the walked ~a>0: removing
  // the first equal one would leave the walked node in the list and put its
  // operand in the succedent twice
  EXPECT_EQ(RunRules({"(~a>0)^c>0", "~a>0"}, {"d>0"}), "c>0\n =>\n  a>0,a>0,d>0\n\n");
  ProverReset();
  Sequent *s = Append({"(~a>0)^c>0", "~a>0", "~~e>0"}, {"e>0", "d>0"});
  SimplifySequentList(SimplifySequentUseRules);   // proved: its lists are freed once
  EXPECT_TRUE(s->proved);
  EXPECT_EQ(ListLength(), 0);
  ProverReset();
  Append({"~(p>0|q>0)", "~(p>0|q>0)"}, {"r>0"});
  SimplifySequentList(SimplifySequentUseRules);
  SimplifySequentList(SimplifySequentUseFunAxioms);
  SimplifySequentList(SimplifySequentUsePremisses);
  SimplifySequentList(SimplifySequentUseAxioms);
  EXPECT_EQ(AllText(), "$T\n =>\n  p>0,q>0,p>0,q>0,r>0\n\n");
}

TEST(Rules, EmptyChildIsAnOpaqueAtom) {
  ProverReset();
  FormulaPtr f = FormulaAlloc();
  f->connective = '^';
  f->left = F("x>0");   // right child none
  FormulaPtr g = FormulaAlloc();
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
  Append({"c>0"}, {f.c_str()});
  testing::internal::CaptureStdout();
  SimplifySequentList(SimplifySequentUseRules);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error: "), std::string::npos);
  int n = ListLength();
  EXPECT_LE(n, SEQUENT_LIMIT + 1);
  EXPECT_GT(n, 1000);
  // what could not be taken apart stays: none of them is proved
  int compound = 0;
  for (SequentListPtr p = &sequentList; p->sequent; p = p->sequentList)
    for (FormulaListPtr q = p->sequent->formulaList2; q; q = q->formulaList)
      if (q->formula->connective == '^') compound++;
  EXPECT_GT(compound, 0);
  // a second pass starts with a fresh budget and ends too
  SimplifySequentList(SimplifySequentUseAxioms);
  EXPECT_EQ(ListLength(), n);
}
