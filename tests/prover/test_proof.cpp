// Sequents, the set operations, appending copies, printing and compaction.
#include "provertest.h"

TEST(Sets, MembershipRemovalAndInclusion) {
  FormulaListPtr s = L({"a=b", "c>d", "a=b"});
  EXPECT_TRUE(SetInclude(F("b=a"), s));   // mirrored equation
  EXPECT_FALSE(SetInclude(F("d<c"), s));  // < and > only side by side
  FormulaPtr second = s->formulaList->formulaList->formula;
  s = SetRemove(F("a=b"), s);  // only the first of two
  EXPECT_EQ(Str(FormulaListPrint, s), "c>d,a=b");
  EXPECT_EQ(s->formulaList->formula, second);
  EXPECT_FALSE(SetSetInclude(L({"b=a", "e>d"}), s));
  // SetRemoveIdentical unlinks that node only, not an equal one.
  s = L({"a=b", "a=b"});
  FormulaPtr first = s->formula;
  s = SetRemoveIdentical(s->formulaList->formula, s);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->formula, first);
  EXPECT_EQ(s->formulaList, nullptr);
}

TEST(Sequent, PrintFormSelectionAndDeepCopy) {
  ProverReset();
  Sequent *s = Append({"x>0", "y=1"}, {"z>0"}, "p");
  Append({}, {}, "q");
  Append({"a=b"}, {}, "p");
  EXPECT_EQ(Str(SequentPrint, "p"), "x>0,y=1\n =>\n  z>0\n\na=b\n =>\n  $F\n\n");
  EXPECT_EQ(Str(SequentPrint, ""), "x>0,y=1\n =>\n  z>0\n\n$T\n =>\n  $F\n\na=b\n =>\n  $F\n\n");
  // NewSequent appends a deep copy at the tail.
  SequentListPtr tail = sequentListPtr;
  Sequent *n = NewSequent(s);
  EXPECT_EQ(tail->sequent, n);
  EXPECT_NE(n->formulaList1->formula, s->formulaList1->formula);
  EXPECT_EQ(SText(n), SText(s));
}

TEST(Sequent, CompactionKeepsOrderAndTheTailCursor) {
  ProverReset();
  Sequent *a = Append({"a>0"}, {"b>0"}), *b = Append({"c>0"}, {"d>0"});
  Sequent *c = Append({"e>0"}, {"f>0"}), *d = Append({"g>0"}, {"h>0"});
  a->proved = c->proved = 1;
  EXPECT_EQ(PactSequentList(&sequentList), &sequentList);
  EXPECT_EQ(sequentList.sequent, b);
  EXPECT_EQ(sequentList.sequentList->sequent, d);
  EXPECT_EQ(sequentList.sequentList->sequentList, sequentListPtr);
  // the last one proved: the cursor must still end the list, so a later
  // sequent (a user axiom's, say) is appended inside it
  d->proved = 1;
  PactSequentList(&sequentList);
  NewSequent(b);
  EXPECT_EQ(ListLength(), 2);
  b->proved = sequentList.sequentList->sequent->proved = 1;
  PactSequentList(&sequentList);
  EXPECT_EQ(sequentListPtr, &sequentList);
  NewSequent(a);
  EXPECT_EQ(ListLength(), 1);
  // A very long list is compacted iteratively.
  ProverReset();
  for (int i = 0; i < 300000; i++) Append((Sequent *)calloc(1, sizeof(Sequent)))->proved = i % 3;
  PactSequentList(&sequentList);
  EXPECT_EQ(ListLength(), 100000);
  SequentListPtr p = &sequentList;
  while (p->sequentList) p = p->sequentList;
  EXPECT_EQ(p, sequentListPtr);
}

TEST(Sequent, PassesIgnoreTheEmptyTailNode) {
  for (SequentPass pass : {SimplifySequentUseRules, SimplifySequentUseAxioms, SimplifySequentUseFunAxioms,
                           SimplifySequentUsePremisses, SimplifySequentUseUserAxiom})
    EXPECT_EQ(pass(0), 1);
}
