// Sequents, the set operations, appending copies, printing and compaction.
#include "provertest.h"

TEST(Sets, MembershipRemovalAndInclusion) {
  FormulaListPtr s = L({"a=b", "c>d", "a=b"});
  EXPECT_TRUE(SetInclude(F("b=a"), s));    // mirrored equation
  EXPECT_FALSE(SetInclude(F("d<c"), s));   // < and > only side by side
  EXPECT_FALSE(SetInclude(F("d>c"), s));
  FormulaPtr second = s->formulaList->formulaList->formula;
  s = SetRemove(F("a=b"), s);              // only the first of two
  EXPECT_EQ(LText(s), "c>d,a=b");
  EXPECT_EQ(s->formulaList->formula, second);
  EXPECT_EQ(SetRemove(F("x=y"), s), s);
  EXPECT_EQ(LText(s), "c>d,a=b");
  EXPECT_TRUE(SetSetInclude(0, s));
  EXPECT_TRUE(SetSetInclude(L({"b=a", "c>d"}), s));
  EXPECT_FALSE(SetSetInclude(L({"b=a", "e>d"}), s));
  FormulaPtr e = F("x>0");
  FormulaListPtr t = SetAdd(e, s);
  EXPECT_EQ(t->formula, e);
  EXPECT_EQ(t->formulaList, s);
}

TEST(Sets, RemoveIdenticalUnlinksThatNodeOnly) {
  FormulaListPtr s = L({"a=b", "a=b"});
  FormulaPtr second = s->formulaList->formula;
  FormulaPtr first = s->formula;
  s = SetRemoveIdentical(second, s);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->formula, first);
  EXPECT_EQ(s->formulaList, nullptr);
  EXPECT_EQ(SetRemoveIdentical(F("a=b"), s), s);
}

TEST(Sequent, PrintFormAndSelection) {
  ProverReset();
  Append({"x>0", "y=1"}, {"z>0"}, "p");
  Append({}, {}, "q");
  Append({"a=b"}, {}, "p");
  Text t;
  TextInit(&t);
  SequentPrint("p", &t);
  EXPECT_STREQ(TextStr(&t), "x>0,y=1\n =>\n  z>0\n\na=b\n =>\n  $F\n\n");
  TextClear(&t);
  SequentPrint("nobody", &t);
  EXPECT_STREQ(TextStr(&t), "");
  SequentPrint("", &t);
  EXPECT_EQ(std::string(TextStr(&t)),
            "x>0,y=1\n =>\n  z>0\n\n$T\n =>\n  $F\n\na=b\n =>\n  $F\n\n");
  TextFree(&t);
}

TEST(Sequent, NewSequentAppendsADeepCopyAtTheTail) {
  ProverReset();
  Sequent *s = Append({"x>0"}, {"y>0"}, "proc");
  SequentListPtr tail = sequentListPtr;
  Sequent *n = NewSequent(s);
  EXPECT_EQ(tail->sequent, n);
  EXPECT_EQ(tail->sequentList, sequentListPtr);
  EXPECT_EQ(sequentListPtr->sequent, nullptr);
  EXPECT_STREQ(n->remark, "proc");
  EXPECT_NE(n->formulaList1->formula, s->formulaList1->formula);
  EXPECT_EQ(SText(n), SText(s));
  EXPECT_EQ(ListLength(), 2);
}

TEST(Sequent, CompactionKeepsOrderAndTheTailCursor) {
  ProverReset();
  Sequent *a = Append({"a>0"}, {"b>0"});
  Sequent *b = Append({"c>0"}, {"d>0"});
  Sequent *c = Append({"e>0"}, {"f>0"});
  Sequent *d = Append({"g>0"}, {"h>0"});
  a->proved = 1;
  c->proved = 1;
  EXPECT_EQ(PactSequentList(&sequentList), &sequentList);
  EXPECT_EQ(ListLength(), 2);
  EXPECT_EQ(sequentList.sequent, b);
  EXPECT_EQ(sequentList.sequentList->sequent, d);
  EXPECT_EQ(sequentList.sequentList->sequentList, sequentListPtr);
  // the last one proved: the cursor must still end the list, so a later
  // sequent (a user axiom's, say) is appended inside it
  d->proved = 1;
  PactSequentList(&sequentList);
  EXPECT_EQ(ListLength(), 1);
  NewSequent(b);
  EXPECT_EQ(ListLength(), 2);
  b->proved = 1;
  PactSequentList(&sequentList);
  EXPECT_EQ(ListLength(), 1);
  sequentList.sequent->proved = 1;
  PactSequentList(&sequentList);
  EXPECT_EQ(sequentList.sequent, nullptr);
  EXPECT_EQ(sequentList.sequentList, nullptr);
  EXPECT_EQ(sequentListPtr, &sequentList);
  NewSequent(a);
  EXPECT_EQ(ListLength(), 1);
}

TEST(Sequent, CompactionOfAVeryLongListIsIterative) {
  ProverReset();
  const int n = 300000;
  for (int i = 0; i < n; i++) {
    Sequent *s = (Sequent *)calloc(1, sizeof(Sequent));
    s->proved = i % 3 != 0;
    sequentListPtr->sequent = s;
    sequentListPtr->sequentList = (SequentListPtr)calloc(1, sizeof(SequentList));
    sequentListPtr = sequentListPtr->sequentList;
  }
  PactSequentList(&sequentList);
  EXPECT_EQ(ListLength(), n / 3);
  SequentListPtr p = &sequentList;
  while (p->sequentList) p = p->sequentList;
  EXPECT_EQ(p, sequentListPtr);
}

TEST(Sequent, PassesIgnoreTheEmptyTailNode) {
  EXPECT_EQ(SimplifySequentUseRules(0), 1);
  EXPECT_EQ(SimplifySequentUseAxioms(0), 1);
  EXPECT_EQ(SimplifySequentUseFunAxioms(0), 1);
  EXPECT_EQ(SimplifySequentUsePremisses(0), 1);
  EXPECT_EQ(SimplifySequentUseUserAxiom(0), 1);
}
