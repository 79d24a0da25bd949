// Sequents, the set operations, appending copies, printing, compaction, the
// rules pass, the axiom test and the truth tests.
#include "provertest.h"

TEST(Sequent, SetsPrintFormsCopiesAndTheEmptyTailNode) {
  FormulaListPtr s = L({"a=b", "c>d", "a=b"});
  EXPECT_TRUE(SetInclude(F("b=a"), s) && !SetInclude(F("d<c"), s));  // mirrored equations only
  s = SetRemove(F("a=b"), s);
  EXPECT_EQ(Str(s, FormulaListPrint), "c>d,a=b");  // only the first of two
  EXPECT_FALSE(SetSetInclude(L({"b=a", "e>d"}), s));
  // SetRemoveIdentical unlinks that node only, not an equal one.
  s = L({"a=b", "a=b"});
  FormulaPtr first = s->formula;
  s = SetRemoveIdentical(s->formulaList->formula, s);
  EXPECT_TRUE(s && s->formula == first && !s->formulaList);
  // Sequents: the printed form, selected by remark; NewSequent appends a deep copy at the tail.
  ProverReset();
  Sequent *q = Append({"x>0", "y=1"}, {"z>0"}, "p");
  Append({}, {}, "q"), Append({"a=b"}, {}, "p");
  EXPECT_EQ(AllText("p"), "x>0,y=1\n =>\n  z>0\n\na=b\n =>\n  $F\n\n");
  EXPECT_EQ(AllText(""), "x>0,y=1\n =>\n  z>0\n\n$T\n =>\n  $F\n\na=b\n =>\n  $F\n\n");
  SequentListPtr tail = sequentListPtr;
  Sequent *n = NewSequent(q);
  EXPECT_TRUE(tail->sequent == n && n->formulaList1->formula != q->formulaList1->formula);
  EXPECT_EQ(SText(n), SText(q));
  for (SequentPass pass : {SimplifySequentUseRules, SimplifySequentUseAxioms, SimplifySequentUseFunAxioms,
                           SimplifySequentUsePremisses, SimplifySequentUseUserAxiom})
    EXPECT_EQ(pass(0), 1);  // the empty tail node
}

TEST(Sequent, CompactionKeepsOrderAndTheTailCursor) {
  ProverReset();
  const int n = 300000;  // compacted iteratively
  std::vector<Sequent *> s;
  for (int i = 0; i < n; i++)  // the last one proved too
    s.push_back(Append({}, {})), s.back()->proved = i % 3 != 1;
  EXPECT_EQ(PactSequentList(&sequentList), &sequentList);
  SequentListPtr p = &sequentList;
  for (int i = 1; i <= n; p = p->sequentList, i += 3) ASSERT_EQ(p->sequent, s[i]);
  // the cursor must still end the list, so a later sequent (a user axiom's,
  // say) is appended inside it; also when every one is proved
  EXPECT_EQ(p, sequentListPtr);
  NewSequent(s[1]);
  EXPECT_EQ(ListLength(), n / 3 + 1);
  for (p = &sequentList; p->sequent; p = p->sequentList) p->sequent->proved = 1;
  PactSequentList(&sequentList);
  EXPECT_EQ(sequentListPtr, &sequentList);
  NewSequent(s[0]);
  EXPECT_EQ(ListLength(), 1);
}

TEST(Rules, DecompositionSplitsAndAxioms) {
  struct { Texts left, right; const char *out; } cases[] = {
      // antecedent A->B: (=> A) and (B =>), each with the rest
      {{"a>0->b>0", "c>0"}, {"d>0"}, "b>0,c>0\n =>\n  d>0\n\nc>0\n =>\n  a>0,d>0\n\n"},
      // antecedent A|B: B stays, A goes to the copy at the end
      {{"a>0|b>0"}, {"d>0"}, "b>0\n =>\n  d>0\n\na>0\n =>\n  d>0\n\n"},
      // succedent A^B: likewise; ~A and A->B in the succedent split nothing
      {{"c>0"}, {"a>0^b>0"}, "c>0\n =>\n  b>0\n\nc>0\n =>\n  a>0\n\n"},
      {{"c>0"}, {"~e>0", "a>0->b>0"}, "a>0,e>0,c>0\n =>\n  b>0\n\n"},
      {{"a=b"}, {"b=a"}, ""}, {{"t>t"}, {"d>0"}, ""}, {{"c>0"}, {"d>0", "f(x)=f(x)"}, ""},
      // losing all formulas is not a proof: true => false stays
      {{"$T", "x=x"}, {"$F", "y>y"}, "$T\n =>\n  $F\n\n"},
      // two equal compound formulas: each is taken apart once and nothing is
      // reachable twice (the sanitizer build catches a double free)
      {{"a>0^b>0", "a>0^b>0"}, {"d>0"}, "a>0,b>0,a>0,b>0\n =>\n  d>0\n\n"},
      {{"~a>0", "~a>0"}, {"a>0|b>0"}, "$T\n =>\n  a>0,b>0,a>0,a>0\n\n"},
      // ~a>0 moved in front equals the walked ~a>0: removing the first equal
      // one would put its operand in the succedent twice
      {{"(~a>0)^c>0", "~a>0"}, {"d>0"}, "c>0\n =>\n  a>0,a>0,d>0\n\n"},
      {{"(~a>0)^c>0", "~a>0", "~~e>0"}, {"e>0", "d>0"}, ""},  // proved: its lists are freed once
  };
  for (auto &c : cases) {
    ProverReset(), Append(c.left, c.right), SimplifySequentList(SimplifySequentUseRules);
    EXPECT_EQ(AllText(), c.out) << c.out;
  }
  ProverReset();
  Append({"~(p>0|q>0)", "~(p>0|q>0)"}, {"r>0"});
  for (SequentPass pass : {SimplifySequentUseRules, SimplifySequentUseFunAxioms,
                           SimplifySequentUsePremisses, SimplifySequentUseAxioms})
    SimplifySequentList(pass);
  EXPECT_EQ(AllText(), "$T\n =>\n  p>0,q>0,p>0,q>0,r>0\n\n");
}

TEST(Rules, EmptyChildIsAnOpaqueAtom) {
  ProverReset();
  FormulaPtr f = Node('^', F("x>0"), 0), g = Node(':', 0, F("y>0"));
  Sequent *s = Append({}, {});
  s->formulaList1 = SetAdd(g, 0), s->formulaList2 = SetAdd(f, 0);
  SimplifySequentList(SimplifySequentUseRules);
  SimplifySequentList(SimplifySequentUseAxioms);
  EXPECT_EQ(ListLength(), 1);
  EXPECT_TRUE(s->formulaList1->formula == g && s->formulaList2->formula == f);
  // nor does the rewriter take it apart
  for (FormulaPtr x : {Node('^', F("$T"), 0), Node(':', 0, F("$T")), Node('~', 0, 0), Node('A', T("x"), 0)})
    EXPECT_EQ(SimplifySequentUseRewrite(x), x) << x->connective;
  EXPECT_FALSE(isTrue(0) || isFalse(0) || isFalse(Node('~', 0, 0)));
}

TEST(Rules, SplittingIsBounded) {
  // (a1^b1)|...|(a24^b24) in the succedent would give 2^24 sequents
  std::string f = "a0>0^b0>0";
  for (int i = 1; i < 24; i++)
    f = "(a" + std::to_string(i) + ">0^b" + std::to_string(i) + ">0)|(" + f + ")";
  ProverReset();
  Append({"c>0"}, {f});
  CaptureStdout();
  SimplifySequentList(SimplifySequentUseRules);
  EXPECT_NE(Out().find("Error: "), std::string::npos);
  int n = ListLength();
  EXPECT_TRUE(n > 1000 && n <= SEQUENT_LIMIT + 1) << n;
  EXPECT_NE(AllText().find('^'), std::string::npos);  // what could not be taken apart stays
  // a second pass starts with a fresh budget and ends too
  SimplifySequentList(SimplifySequentUseAxioms);
  EXPECT_EQ(ListLength(), n);
  // Many small conditions that need more splits together than the fixed
  // bound are all taken apart: the budget grows with the list.
  ProverReset();
  const int many = 18000;   // three splits each: 54000 in all
  for (int i = 0; i < many; i++) Append({"a>0|b>0|c>0|d>0"}, {"e>0"});
  CaptureStdout();
  SimplifySequentList(SimplifySequentUseRules);
  EXPECT_EQ(Out(), "");
  EXPECT_EQ(ListLength(), 4 * many);
  EXPECT_EQ(AllText().find('|'), std::string::npos);
}
