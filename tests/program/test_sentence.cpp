// Labels, recognisers, bounded copies, the block reader and the lookups.
#include "progtest.h"

// Records dropped from the global lists are never freed (the lists are
// emptied by zeroing their heads), so leak reports would only list them.
extern "C" const char *__asan_default_options() { return "detect_leaks=0"; }

TEST(Labels, LabelReadStopsAtPunctuationAndRefusesLongLabels) {
  char l[LABEL_SIZE];
  EXPECT_EQ(LabelRead("LB=12=>x", l), 5);
  EXPECT_STREQ(l, "12");
  EXPECT_EQ(LabelRead("LB=a;b", l), 4);
  EXPECT_STREQ(l, "a");
  testing::internal::CaptureStdout();
  EXPECT_EQ(LabelRead("xLB=1", l), 0);
  EXPECT_STREQ(l, "");
  std::string label29(29, 'q'), label30(30, 'q');
  EXPECT_EQ(LabelRead(("LB=" + label29 + ";").c_str(), l), 32);
  EXPECT_EQ(std::string(l), label29);
  EXPECT_EQ(LabelRead(("LB=" + label30 + ";").c_str(), l), 33);   // consumed, not cut
  EXPECT_STREQ(l, "");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error: LabelRead\n"), std::string::npos);
  EXPECT_NE(out.find("label longer than 29"), std::string::npos);
  EXPECT_EQ(CountOf(out, "Error: "), 2);
}

TEST(Labels, PairsDivideAndMakeWithinTheirSize) {
  char a[LABEL_SIZE], b[LABEL_SIZE];
  DivideLabels("(1,25)", a, b);
  EXPECT_STREQ(a, "1");
  EXPECT_STREQ(b, "25");
  for (const char *bad : {"", "(", "(1", "(1,", "(1,2", "12", "x(1,2)"}) {
    strcpy(a, "junk");
    strcpy(b, "junk");
    DivideLabels(bad, a, b);
    EXPECT_STREQ(a, "") << bad;
    EXPECT_STREQ(b, "") << bad;
  }
  char pair[LABEL_SIZE];
  std::string x13(13, 'x'), y13(13, 'y'), y14(14, 'y');
  EXPECT_EQ(LabelPairMake(pair, x13.c_str(), y13.c_str()), 1);   // 29 characters
  EXPECT_EQ(strlen(pair), 29u);
  testing::internal::CaptureStdout();
  EXPECT_EQ(LabelPairMake(pair, x13.c_str(), y14.c_str()), 0);   // 30: refused
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_STREQ(pair, "");
  EXPECT_NE(out.find("Error: label pair longer than 29"), std::string::npos);
  char s[8];
  Blanks(0, s);
  EXPECT_STREQ(s, "");
  Blanks(3, s);
  EXPECT_STREQ(s, "   ");
}

TEST(Recognisers, LookForTheArrowOnlyInTheCurrentStatement) {
  EXPECT_TRUE(isLoop("*[LB=1"));
  EXPECT_TRUE(isCase("?[LB=1"));
  EXPECT_TRUE(isInv("{x}"));
  EXPECT_TRUE(isElem("LB=1=>$Ox=1^$OLB=2;"));
  EXPECT_FALSE(isCall("LB=1=>$Ox=1^$OLB=2;"));
  EXPECT_TRUE(isCall("LB=1=>q(%IOP/b|y;%INP/t|z)^$OLB=6;"));
  EXPECT_FALSE(isElem("LB=1=>q(%IOP/b|y;%INP/t|z)^$OLB=6;"));
  // No arrow before the statement's own ";": the later statement's arrow
  // does not count.
  EXPECT_FALSE(isElem("LB=1$Ox=1;LB=2=>$Ox=2^$OLB=3;"));
  EXPECT_FALSE(isCall("LB=1$Ox=1;LB=2=>q()^$OLB=3;"));
  EXPECT_FALSE(isElem("x=>$O"));
  EXPECT_FALSE(isCall(""));
}

TEST(Segments, ProcHeadReadReadToAndAssertionsStayInsideTheirBuffers) {
  char buf[SEGMENT_SIZE];
  EXPECT_EQ(ProcHeadRead("p(a(b))x", buf, '(', ')'), 7);
  EXPECT_STREQ(buf, "p(a(b))");
  EXPECT_EQ(ProcHeadRead("[x[y]]z", buf, '[', ']'), 6);
  EXPECT_EQ(ProcHeadRead("[x[y]", buf, '[', ']'), 5);   // runs to the end of the text
  std::string ok = "[" + std::string(2045, 'a') + "]";
  std::string big = "[" + std::string(2046, 'a') + "]";
  EXPECT_EQ(ProcHeadRead(ok.c_str(), buf, '[', ']'), 2047);
  EXPECT_EQ(std::string(buf), ok);
  testing::internal::CaptureStdout();
  EXPECT_EQ(ProcHeadReadWhat(big.c_str(), buf, '[', ']', "locals"), 2048);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(ReadTo("abc", buf, '/', '/'), 3);   // end of text
  EXPECT_STREQ(buf, "abc");
  std::string longRun(2048, 'r');
  EXPECT_EQ(ReadTo((longRun + "/").c_str(), buf, '/', '/'), 2048);
  EXPECT_STREQ(buf, "");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error: locals longer than 2047 characters\n"), std::string::npos);
  EXPECT_NE(out.find("Error: ReadTo\n"), std::string::npos);
  EXPECT_NE(out.find("Error: ReadTo: text longer than 2047"), std::string::npos);
  EXPECT_EQ(ReadTo("ab/cd", buf, '/', '|'), 2);
  EXPECT_STREQ(buf, "ab");

  FormulaPtr f = FormulaAlloc();
  EXPECT_EQ(AssertionRead("x", f), 0);
  EXPECT_EQ(AssertionRead("{a>0}rest", f), 5);
  EXPECT_EQ(FormulaText(f), "a>0");
  f = FormulaAlloc();
  EXPECT_EQ(AssertionRead("{f({x})}y", f), 8);   // braces nest
  int okFlag;
  std::string a2047 = "{" + std::string(2045, 'z') + "}";
  std::string a2048 = "{" + std::string(2046, 'z') + "}";
  f = FormulaAlloc();
  EXPECT_EQ(AssertionReadOk(a2047.c_str(), f, &okFlag), 2047);
  EXPECT_EQ(okFlag, 1);
  testing::internal::CaptureStdout();
  f = FormulaAlloc();
  EXPECT_EQ(AssertionReadOk(a2048.c_str(), f, &okFlag), 2048);
  EXPECT_EQ(okFlag, 0);
  EXPECT_EQ(AssertionReadOk("{a>0", f, &okFlag), 4);
  EXPECT_EQ(okFlag, 0);
  out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("assertion longer than 2047"), std::string::npos);
  EXPECT_NE(out.find("assertion without its closing }"), std::string::npos);
}

TEST(Block, EmptyBlockChainsAndNonChains) {
  ProgReset();
  std::string l, out;
  ProcedurePtr p = ProgBlock("[]", &l, &out);
  EXPECT_EQ(l, "");
  EXPECT_TRUE(Rows(p).empty());
  EXPECT_EQ(out, "");

  p = ProgBlock("[LB=1=>$Ox=y^$OLB=2;LB=2=>$Oy=x^$OLB=3;]", &l, &out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(l, "(1,3)");
  std::vector<std::string> want = {"1 (1,2)    $Ox=y", "1 (2,3)    $Oy=x", "2 (1,3) (1,2) (2,3)  "};
  EXPECT_EQ(Rows(p), want);

  p = ProgBlock("[LB=3=>$Ox=1^$OLB=5;LB=4=>$Ox=2^$OLB=5;]", &l, &out);
  EXPECT_EQ(l, "(4,5)");
  EXPECT_EQ(Rows(p).size(), 2u);

  // Three in a chain nest to the left: ((S1;S2);S3).
  p = ProgBlock("[LB=1=>$OLB=2;LB=2=>$OLB=3;LB=3=>$OLB=4;]", &l);
  want = {"1 (1,2)    $Ox=x", "1 (2,3)    $Ox=x", "2 (1,3) (1,2) (2,3)  ",
          "1 (3,4)    $Ox=x", "2 (1,4) (1,3) (3,4)  "};
  EXPECT_EQ(Rows(p), want);
  EXPECT_EQ(l, "(1,4)");
}

TEST(Block, AssertionsBelongToTheRecordCoveringTheChain) {
  ProgReset();
  std::string l, out;
  ProgBlock("[LB=1=>$Ox=y^$OLB=2;{x=y}LB=2=>$Oy=x^$OLB=3;{y=x}]", &l, &out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(FormulaText(Sentence2Ptr("(1,2)")->postCond), "x=y");
  EXPECT_EQ(Sentence2Ptr("(2,3)")->postCond, nullptr);
  EXPECT_EQ(FormulaText(Sentence2Ptr("(1,3)")->postCond), "y=x");
  EXPECT_EQ(FormulaText(GetPostCond("(1,3)")), "y=x");

  // Before the first statement there is nothing to attach to; "{}" is quiet.
  ProgBlock("[{x>0}LB=1=>$OLB=2;]", &l, &out);
  EXPECT_NE(out.find("Error: assertion with no statement before it"), std::string::npos);
  EXPECT_EQ(Sentence2Ptr("(1,2)")->postCond, nullptr);
  ProgBlock("[{}LB=1=>$OLB=2;]", &l, &out);
  EXPECT_EQ(out, "");
}

TEST(Block, UnrecognisedStatementStopsTheBlock) {
  ProgReset();
  std::string l, out;
  ProcedurePtr p = ProgBlock("[LB=1=>$OLB=2;x]", &l, &out);
  EXPECT_EQ(out, "Error: sentenceRead\nError: x]\n");
  EXPECT_EQ(Rows(p).size(), 1u);
  EXPECT_EQ(l, "(1,2)");
}

TEST(Block, SecondStatementAtAStartLabelIsRefused) {
  ProgReset();
  std::string l, out;
  ProcedurePtr p = ProgBlock("[LB=1=>$Ox=1^$OLB=2;LB=1=>$Ox=2^$OLB=3;]", &l, &out);
  EXPECT_NE(out.find("Error: two statements start at label 1"), std::string::npos);
  ASSERT_EQ(Rows(p).size(), 1u);
  EXPECT_EQ(AssignsText(Sentence2Ptr("(1,2)")->assignList), "$Ox=1");
  EXPECT_EQ(Sentence2Ptr("(1,3)"), nullptr);
}

TEST(Block, LabelPairsAtTheirLimit) {
  ProgReset();
  std::string l, out;
  std::string a13(13, 'a'), b13(13, 'b'), b14(14, 'b');
  ProgBlock(("[LB=" + a13 + "=>$OLB=" + b13 + ";]").c_str(), &l, &out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(l, "(" + a13 + "," + b13 + ")");
  ProcedurePtr p = ProgBlock(("[LB=" + a13 + "=>$OLB=" + b14 + ";]").c_str(), &l, &out);
  EXPECT_NE(out.find("Error: label pair longer than 29"), std::string::npos);
  EXPECT_TRUE(Rows(p).empty());   // refused, not cut
  EXPECT_EQ(l, "");
  // A sequence whose joined pair would not fit is not made.
  std::string c14(14, 'c');
  p = ProgBlock(("[LB=" + a13 + "=>$OLB=1;LB=1=>$OLB=" + c14 + ";]").c_str(), &l, &out);
  EXPECT_EQ(Rows(p).size(), 2u);
  EXPECT_NE(out.find("Error: label pair longer than 29"), std::string::npos);
}

TEST(Lookups, FirstMatchAndProcedureFallback) {
  ProgReset();
  ProgLoad("%PROC p()==[LB=1=>$OLB=2;]{p1}%PROC q()==[LB=1=>$OLB=2;{inner}]{q1}");
  ProcedurePtr p = Procedure2Ptr("p"), q = Procedure2Ptr("q");
  ASSERT_TRUE(p && q);
  EXPECT_EQ(Procedure2Ptr("r"), nullptr);
  currentProcedure = p;
  EXPECT_EQ(GetPostCond("(1,2)"), nullptr);   // the statement has none
  EXPECT_EQ(FormulaText(GetPostCond("q")), "q1");   // no statement "q": procedure
  currentProcedure = q;
  EXPECT_EQ(FormulaText(GetPostCond("(1,2)")), "inner");
  FormulaPtr f = FormulaMakeTrue();
  EXPECT_EQ(AddPostCond("(9,9)", f), 0);
  EXPECT_EQ(AddPostCond("p", f), 1);
  EXPECT_EQ(p->postCond, f);
  EXPECT_EQ(AddPreCond("q", f), 1);
  EXPECT_EQ(q->preCond, f);
  EXPECT_EQ(AddPreCond("(1,2)", f), 0);   // statements are not searched
  EXPECT_EQ(AddPreCond("zz", f), 0);
  currentProcedure = nullptr;
  EXPECT_EQ(Sentence2Ptr("(1,2)"), nullptr);
}

TEST(Lookups, IndexesFollowAppendsAndClears) {
  ProgReset();
  ProgLoad("%PROC p()==[LB=1=>$OLB=2;]");
  ProcedurePtr p1 = Procedure2Ptr("p");
  ASSERT_NE(p1, nullptr);
  ProgLoad("%PROC q()==[LB=1=>$OLB=2;]");
  EXPECT_EQ(ProcedureCount(), 2);
  EXPECT_NE(Procedure2Ptr("q"), nullptr);
  ProcedureListClear();
  EXPECT_EQ(currentProcedureList, &procedureList);
  EXPECT_EQ(Procedure2Ptr("p"), nullptr);
  // Emptied by zeroing the head, as the front end does.
  ProgLoad("%PROC p()==[LB=3=>$OLB=4;]");
  ProcedurePtr p2 = Procedure2Ptr("p");
  ASSERT_NE(p2, nullptr);
  EXPECT_NE(p2, p1);
  procedureList.procedure = nullptr;
  procedureList.procedureList = nullptr;
  EXPECT_EQ(Procedure2Ptr("p"), nullptr);
  std::string out = ProgLoad("%PROC p()==[LB=5=>$OLB=6;]");
  EXPECT_EQ(out, "");
  EXPECT_EQ(ProcedureCount(), 1);
  // A statement appended by hand is found too.
  ProcedurePtr p3 = Procedure2Ptr("p");
  currentProcedure = p3;
  EXPECT_NE(Sentence2Ptr("(5,6)"), nullptr);
  SentencePtr extra = static_cast<SentencePtr>(calloc(1, sizeof(Sentence)));
  extra->type = 1;
  strcpy(extra->labels, "(6,7)");
  SentenceListPtr tail = p3->sentenceList;
  while (tail->sentence) tail = tail->sentenceList;
  tail->sentence = extra;
  tail->sentenceList = static_cast<SentenceListPtr>(calloc(1, sizeof(SentenceList)));
  EXPECT_EQ(Sentence2Ptr("(6,7)"), extra);
}
