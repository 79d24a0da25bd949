// Elementary statements, sequences, loops, cases and calls: their records
// in list order and their messages.
#include "progtest.h"

TEST(Elementary, FormsAndTheirRecords) {
  ProgReset();
  std::string l, out;
  ProcedurePtr p = ProgBlock("LB=1=>$OLB=2;", &l, &out);
  EXPECT_EQ(out, "");
  std::vector<std::string> want = {"1 (1,2)    $Ox=x"};
  EXPECT_EQ(Rows(p), want);

  ProgFrame();
  char s[] = "LB=1=>$Ox=y^$Oy=x^$OLB=2;";
  char lab[LABEL_SIZE];
  EXPECT_EQ(SentElemRead(s, lab), 25);
  EXPECT_STREQ(lab, "(1,2)");
  EXPECT_EQ(AssignsText(Sentence2Ptr("(1,2)")->assignList), "$Ox=y^$Oy=x");
  EXPECT_EQ(Sentence2Ptr("(1,2)")->assignList->assignList->assignList, nullptr);
}

TEST(Elementary, Messages) {
  ProgReset();
  std::string l, out;
  ProgBlock("LB=1$Ox=1;LB=2=>$OLB=3;", &l, &out);   // recognised as nothing
  EXPECT_EQ(out, "Error: sentenceRead\nError: LB=1$Ox=1;LB=2=>$OLB=3;\n");
  ProgFrame();
  char s1[] = "LB=1$OLB=2";
  char lab[LABEL_SIZE];
  SentencePtr sent = static_cast<SentencePtr>(calloc(1, sizeof(Sentence)));
  testing::internal::CaptureStdout();
  SentElemRead1(s1, lab, sent);
  out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.substr(0, 17), "Error: sent.elem\n");
  ProgBlock("LB=1=>$Ox=1$OLB=2;", &l, &out);
  EXPECT_NE(out.find("Error: *** Missing $OLB ***\n"), std::string::npos);
  EXPECT_NE(out.find("Error: sent.elem, LB\n"), std::string::npos);
  ProgBlock("LB=1=>$Ox=1^$OLB=2)^$Oy=5;", &l, &out);
  EXPECT_NE(out.find("Error: sent.elem: text after the next label: )^$Oy=5"), std::string::npos);
}

TEST(Sequence, CompositionComparesLabelsAsTexts) {
  ProgReset();
  ProcedurePtr p = ProgFrame();
  char s2[LABEL_SIZE] = "(2,3)";
  EXPECT_EQ(SentSeqComposition("(1,2)", s2), 1);
  EXPECT_STREQ(s2, "(1,3)");
  std::vector<std::string> want = {"2 (1,3) (1,2) (2,3)  "};
  EXPECT_EQ(Rows(p), want);
  char s3[LABEL_SIZE] = "(3,4)";
  EXPECT_EQ(SentSeqComposition("(1,2)", s3), 0);
  EXPECT_STREQ(s3, "(3,4)");
  char s4[LABEL_SIZE] = "(2,3)";
  EXPECT_EQ(SentSeqComposition("(1,02)", s4), 0);
  char s5[LABEL_SIZE] = "(,3)";
  EXPECT_EQ(SentSeqComposition("", s5), 0);   // malformed pairs never join
  EXPECT_EQ(Rows(p).size(), 1u);
}

TEST(Loop, WorkedExampleAndInvariant) {
  ProgReset();
  ProcedurePtr p = ProgFrame();
  char s[] = "*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=2;{i<s(n)}]";
  char lab[LABEL_SIZE];
  testing::internal::CaptureStdout();
  EXPECT_EQ(SentLoopRead(s, lab), static_cast<int>(strlen("*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=2;{i<s(n)}]")));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_STREQ(lab, "(2,4)");
  std::vector<std::string> want = {"1 (3,2)    $Oi=s(i)", "3 (2,4) (3,2)  i<n "};
  EXPECT_EQ(Rows(p), want);
  EXPECT_EQ(FormulaText(GetPostCond("(3,2)")), "i<s(n)");

  // A body of two chained statements: the sequence record is the body and
  // the assertion after them its invariant.
  std::string l, out;
  p = ProgBlock("*[LB=2^c=>($OLB=3|$OLB=9)LB=3=>$OLB=5;LB=5=>$OLB=2;{inv}]", &l, &out);
  EXPECT_EQ(out, "");
  want = {"1 (3,5)    $Ox=x", "1 (5,2)    $Ox=x", "2 (3,2) (3,5) (5,2)  ",
          "3 (2,9) (3,2)  c "};
  EXPECT_EQ(Rows(p), want);
  EXPECT_EQ(FormulaText(GetPostCond("(3,2)")), "inv");

  // No invariant yet; the condition is cut at the first "=>".
  p = ProgBlock("*[LB=2^x=y=>($OLB=3|$OLB=4)LB=3=>$OLB=2;]", &l, &out);
  EXPECT_EQ(GetPostCond("(3,2)"), nullptr);
  EXPECT_EQ(FormulaText(Sentence2Ptr("(2,4)")->cond), "x=y");
}

TEST(Loop, NestedLoopsAndCases) {
  ProgReset();
  std::string l, out;
  ProcedurePtr p = ProgBlock(
      "[LB=1=>$Oi=0^$OLB=2;"
      "*[LB=2^i<n=>($OLB=3|$OLB=9)"
      "LB=3=>$Oj=0^$OLB=4;"
      "*[LB=4^j<i=>($OLB=5|$OLB=6)"
      "?[LB=5^j=0=>$OLB=7|~=>$OLB=8;LB=7=>$Ox=1^$OLB=10;LB=8=>$Ox=2^$OLB=10;]"
      "LB=10=>$Oj=s(j)^$OLB=4;{j<s(i)}]"
      "LB=6=>$Oi=s(i)^$OLB=2;{i<s(n)}]"
      "]",
      &l, &out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(l, "(1,9)");
  std::vector<std::string> want = {
      "1 (1,2)    $Oi=0",
      "1 (3,4)    $Oj=0",
      "1 (7,10)    $Ox=1",
      "1 (8,10)    $Ox=2",
      "4 (5,10) (7,10) (8,10) j=0 ",
      "1 (10,4)    $Oj=s(j)",
      "2 (5,4) (5,10) (10,4)  ",
      "3 (4,6) (5,4)  j<i ",
      "2 (3,6) (3,4) (4,6)  ",
      "1 (6,2)    $Oi=s(i)",
      "2 (3,2) (3,6) (6,2)  ",
      "3 (2,9) (3,2)  i<n ",
      "2 (1,9) (1,2) (2,9)  ",
  };
  EXPECT_EQ(Rows(p), want);
  EXPECT_EQ(FormulaText(GetPostCond("(5,4)")), "j<s(i)");
  EXPECT_EQ(FormulaText(GetPostCond("(3,2)")), "i<s(n)");
  EXPECT_EQ(ProcedureCheckParts(p), 1);
}

TEST(Loop, MissingPiecesAreReportedInsideTheStatement) {
  ProgReset();
  std::string l, out;
  // No "=>" in the loop: the arrow of the statement after it is not used.
  ProcedurePtr p = ProgBlock("[*[LB=2^c($OLB=3|$OLB=4)]LB=4=>$Ox=1^$OLB=5;]", &l, &out);
  EXPECT_NE(out.find("Error: loop\n"), std::string::npos);
  EXPECT_NE(Sentence2Ptr("(4,5)"), nullptr);   // the next statement is intact
  EXPECT_EQ(AssignsText(Sentence2Ptr("(4,5)")->assignList), "$Ox=1");
  (void)p;
  ProgBlock("*[LB=2^c=>$OLB=3|$OLB=4)LB=3=>$OLB=2;]", &l, &out);
  EXPECT_NE(out.find("Error: loop\n"), std::string::npos);
  ProgBlock("*[LB=2^c=>($OLB=3|$OLB=4)LB=3=>$OLB=2;", &l, &out);
  EXPECT_NE(out.find("loop without its closing ]"), std::string::npos);
}

TEST(Case, ExampleEmptyBranchAndMessages) {
  ProgReset();
  std::string l, out;
  ProcedurePtr p = ProgBlock("?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]", &l, &out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(l, "(2,5)");
  std::vector<std::string> want = {"1 (3,5)    $Ob=t", "1 (4,5)    $Ox=x",
                                   "4 (2,5) (3,5) (4,5) t>b "};
  EXPECT_EQ(Rows(p), want);

  // Second branch empty: c equals d, (d,d) names no record.
  p = ProgBlock("?[LB=2^c=>$OLB=3|~=>$OLB=5;LB=3=>$Ox=1^$OLB=5;]", &l, &out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Rows(p).back(), "4 (2,5) (3,5) (5,5) c ");
  EXPECT_EQ(ProcedureCheckParts(p), 1);

  // Both branches empty: no join label.
  p = ProgBlock("?[LB=2^c=>$OLB=3|~=>$OLB=4;]", &l, &out);
  EXPECT_NE(out.find("join at no label"), std::string::npos);
  EXPECT_TRUE(Rows(p).empty());

  struct { const char *text, *msg; } cases[] = {
      {"?[2^c=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case1"},
      {"?[LB=2c=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case2"},
      {"?[LB=2^c=>LB=3|~=>$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case3"},
      {"?[LB=2^c=>$O3|~=>$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case4"},
      {"?[LB=2^c=>$OLB=3~=>$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case5"},
      {"?[LB=2^c=>$OLB=3|=>$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case6"},
      {"?[LB=2^c=>$OLB=3|~$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case7"},
      {"?[LB=2^c=>$OLB=3|~=>LB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case8"},
      {"?[LB=2^c=>$OLB=3|~=>$O4;LB=3=>$OLB=5;LB=4=>$OLB=5;]", "case9"},
      {"?[LB=2^c=>$OLB=3|~=>$OLB=4]", "case10"},
  };
  for (auto &c : cases) {
    ProgBlock(c.text, &l, &out);
    EXPECT_NE(out.find(std::string("Error: ") + c.msg + "\n"), std::string::npos) << c.text << "\n" << out;
  }
}

TEST(Call, WorkedExampleAndBindings) {
  ProgReset();
  ProcedurePtr p = ProgFrame();
  char s[] = "LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;";
  char lab[LABEL_SIZE];
  testing::internal::CaptureStdout();
  EXPECT_EQ(SentCallRead(s, lab), 34);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_STREQ(lab, "(5,6)");
  std::vector<std::string> want = {"5 (5,6) q   $Oy=b^$Oz=t"};
  EXPECT_EQ(Rows(p), want);

  // No bindings: one node with neither assignment nor successor.
  for (const char *t : {"LB=1=>r()^$OLB=2;", "LB=1=>r()$OLB=2;"}) {
    std::string l, out;
    p = ProgBlock(t, &l, &out);
    EXPECT_EQ(out, "") << t;
    SentencePtr c = Sentence2Ptr("(1,2)");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->type, 5);
    EXPECT_STREQ(c->labels1, "r");
    ASSERT_NE(c->assignList, nullptr);
    EXPECT_EQ(c->assignList->assign, nullptr);
    EXPECT_EQ(c->assignList->assignList, nullptr);
  }

  // Arguments with parentheses; the statement ends after the ")".
  std::string l, out;
  p = ProgBlock("[LB=1=>q(%INP/f(u,g(v))|z;%IOP/a[i]|y)^$OLB=2;LB=2=>$Ox=1^$OLB=3;]", &l, &out);
  EXPECT_EQ(out, "");
  want = {"5 (1,2) q   $Oz=f(u,g(v))^$Oy=a[i]", "1 (2,3)    $Ox=1", "2 (1,3) (1,2) (2,3)  "};
  EXPECT_EQ(Rows(p), want);
}

TEST(Call, MessagesAndLimits) {
  ProgReset();
  std::string l, out;
  ProgBlock("LB=1=>q(%XYZ/b|y;%INP/t|z)^$OLB=2;", &l, &out);
  EXPECT_NE(out.find("neither %IOP nor %INP"), std::string::npos);
  EXPECT_EQ(AssignsText(Sentence2Ptr("(1,2)")->assignList), "$Oz=t");
  ProgBlock("LB=1=>q(%INP/b|y)^LB=2;", &l, &out);
  EXPECT_NE(out.find("Error: sent.call\n"), std::string::npos);
  ProgBlock("LB=1=>q(%INPb|y)^$OLB=2;", &l, &out);
  EXPECT_NE(out.find("Error: ReadTo\n"), std::string::npos);
  std::string n29(29, 'n'), n30(30, 'n');
  ProgBlock(("LB=1=>" + n29 + "()^$OLB=2;").c_str(), &l, &out);
  EXPECT_EQ(out, "");
  EXPECT_EQ(std::string(Sentence2Ptr("(1,2)")->labels1), n29);
  ProgBlock(("LB=1=>" + n30 + "()^$OLB=2;").c_str(), &l, &out);
  EXPECT_NE(out.find("called procedure name longer than 29"), std::string::npos);
  EXPECT_STREQ(Sentence2Ptr("(1,2)")->labels1, "");

  // Binding text "^$Oy=" + actual: 2047 characters fit, 2048 are refused.
  auto call = [](size_t actual) {
    return "LB=1=>q(%INP/" + std::string(actual, 'a') + "|y)^$OLB=2;";
  };
  ProgBlock(call(2047 - 5).c_str(), &l, &out);
  EXPECT_EQ(out, "");
  EXPECT_NE(Sentence2Ptr("(1,2)")->assignList->assign, nullptr);
  ProgBlock(call(2048 - 5).c_str(), &l, &out);
  EXPECT_NE(out.find("call bindings longer than 2047"), std::string::npos);
  EXPECT_EQ(Sentence2Ptr("(1,2)")->assignList->assign, nullptr);
}
