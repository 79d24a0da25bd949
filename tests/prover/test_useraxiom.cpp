// User axioms.
#include "provertest.h"

static int Axiom(const char *text) { return wMakeUseAxiom(strdup(text)); }

TEST(UserAxiom, CoversPremissesConclusionsAndMirroredEquations) {
  ProverReset();
  Append({"x>0", "z=1"}, {"y>0", "w>2"});
  Append({"z=1"}, {"y>0"});
  EXPECT_TRUE(Axiom("x>0->y>0"));
  EXPECT_TRUE(Axiom("{y>0}"));
  EXPECT_EQ(AllText(), "");
  EXPECT_EQ(sequentListPtr, &sequentList);

  ProverReset();
  Append({"x>0"}, {"q>0"});
  Append({"b=a"}, {"c>d"});
  Append({"b=a"}, {"d<c"});
  Append({"u>0"}, {"v>0"});
  EXPECT_TRUE(Axiom("x>0->$F") && Axiom("a=b->c>d"));
  EXPECT_EQ(AllText(), "b=a\n =>\n  d<c\n\nu>0\n =>\n  v>0\n\n");
  EXPECT_TRUE(Axiom("d<c"));  // typed with "<": matches only that text
  EXPECT_EQ(AllText(), "u>0\n =>\n  v>0\n\n");
}

TEST(UserAxiom, EmptyOrTrivialAxiomsAreRefused) {
  ProverReset();
  Append({"x>0"}, {"y>0"});
  Append({}, {});  // lost all its formulas, not proved
  testing::internal::CaptureStdout();
  for (const char *a : {"$T", "$T->$F", "x=x->y>y", "", "x>0->"}) EXPECT_FALSE(Axiom(a)) << a;
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(ListLength(), 2);
  EXPECT_NE(out.find("Error: "), std::string::npos);
  // the refused axiom does not replace the last one, nor prove anything later
  EXPECT_EQ(SimplifySequentUseUserAxiom(sequentList.sequent), 0);
  EXPECT_FALSE(sequentList.sequent->proved);
  EXPECT_TRUE(Axiom("$T->y>0"));  // a true premiss says nothing
  EXPECT_EQ(ListLength(), 1);
}

TEST(UserAxiom, ANewAxiomAppendsNothingAndReplacesTheOld) {
  ProverReset();
  Append({"a>0"}, {"b>0"});
  Append({"c>0"}, {"d>0"});
  EXPECT_TRUE(Axiom("d>0") && Axiom("e>0"));
  EXPECT_EQ(AllText(), "a>0\n =>\n  b>0\n\n");
  NewSequent(sequentList.sequent);
  EXPECT_EQ(ListLength(), 2);
}
