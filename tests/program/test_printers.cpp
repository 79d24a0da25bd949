// Program printers: the worked examples, edge cases, the debug form, long
// outputs and print-load-print round trips.
#include "progtest.h"

static const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM ["
    "LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";

static const char *kExamplePrinted =
    "{ a>0 }\n"
    "%PROC p(%INP/a:int;%IOP/b:int)==\n"
    "%LOC [int:t]\n"
    "%STM [ \n"
    "    LB=1=>$Ot=a^$OLB=2;\n"
    "    ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n"
    "      LB=3=>$Ob=t^$OLB=5;\n"
    "      LB=4=>$Ox=x^$OLB=5;\n"
    "     ]\n"
    "]\n"
    "{ b>0 }\n";

TEST(Printers, WorkedExamples) {
  ProgReset();
  ASSERT_EQ(ProgLoad(kExample), "");
  Text t;
  TextInit(&t);
  ProcedurePrint(procedureList.procedure, &t);
  EXPECT_EQ(std::string(TextStr(&t)), kExamplePrinted);
  TextFree(&t);
  EXPECT_EQ(ProgPrintAll(), std::string(kExamplePrinted) + "\n");

  ProgReset();
  ASSERT_EQ(ProgLoad("%PROC w(%IOP/i:int;%INP/n:int)==[LB=1=>$Oi=0^$OLB=2;"
                     "*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=2;{i<s(n)}]]"),
            "");
  currentProcedure = procedureList.procedure;
  TextInit(&t);
  SentencePrint("(2,4)", &t, 4);
  EXPECT_EQ(std::string(TextStr(&t)),
            "    *[LB=2^i<n=>($OLB=3|$OLB=4)\n"
            "      LB=3=>$Oi=s(i)^$OLB=2;\n"
            "      {i<s(n)}\n"
            "     ]\n");
  TextFree(&t);
}

TEST(Printers, EdgeCases) {
  ProgReset();
  // The second branch of the case goes to 7, where no statement is: an
  // Error line, and the branch prints as nothing.
  EXPECT_EQ(ProgLoad("%PROC q()==[LB=1=>r(%INP/a|x)^$OLB=2;LB=2=>q()^$OLB=3;"
                     "*[LB=3^c=>($OLB=4|$OLB=5)LB=4=>$OLB=3;]"
                     "?[LB=5^d=>$OLB=6|~=>$OLB=7;LB=6=>$OLB=9;]]"),
            "Error: statement (5,9): its part (7,9) names no statement\n");
  std::string printed = ProgPrintAll();
  EXPECT_EQ(printed,
            "{  }\n"
            "%PROC q()==\n"
            "%STM [ \n"
            "    LB=1=>r()^$OLB=2;\n"        // r is not in the list
            "    LB=2=>q()^$OLB=3;\n"
            "    *[LB=3^c=>($OLB=4|$OLB=5)\n"
            "      LB=4=>$Ox=x^$OLB=3;\n"
            "      {}\n"                   // no invariant
            "     ]\n"
            "    ?[LB=5^d=>$OLB=6|~=>$OLB=7;\n"
            "      LB=6=>$Ox=x^$OLB=9;\n"  // the (7,9) branch names no record
            "     ]\n"
            "]\n"
            "{  }\n\n");
  Text t;
  TextInit(&t);
  TextAppend(&t, "kept");
  SentencePrint("", &t, 4);
  SentencePrintPtr(nullptr, &t, 4);
  EXPECT_STREQ(TextStr(&t), "kept");   // nothing added, nothing erased
  TextFree(&t);
}

TEST(Printers, CallBindingsPairWithTheCalleesFormals) {
  ProgReset();
  ASSERT_EQ(ProgLoad("%PROC q(%IOP/y:int;%INP/z:int)==[]"
                     "%PROC m()==[LB=5=>q(%INP/b|y;%IOP/f(u,v)|z)^$OLB=6;LB=6=>q(%IOP/c|y)^$OLB=7;]"),
            "");
  ProcedurePtr m = Procedure2Ptr("m");
  Text t;
  TextInit(&t);
  ProcedurePrint(m, &t);
  std::string s = TextStr(&t);
  // The io shown is the callee's; fewer bindings than formals leave no ";".
  EXPECT_NE(s.find("    LB=5=>q(%IOP/b|y;%INP/f(u,v)|z)^$OLB=6;\n"), std::string::npos) << s;
  EXPECT_NE(s.find("    LB=6=>q(%IOP/c|y)^$OLB=7;\n"), std::string::npos) << s;
  TextFree(&t);
}

TEST(Printers, DebugFormShowsPreConditions) {
  ProgReset();
  ASSERT_EQ(ProgLoad(kExample), "");
  ProcedurePtr p = procedureList.procedure;
  currentProcedure = p;
  Sentence2Ptr("(1,2)")->preCond = FormulaMakeTrue();
  Text t;
  TextInit(&t);
  ProcedurePrintDebug(p, &t);
  EXPECT_EQ(std::string(TextStr(&t)),
            "{ a>0 }\n"
            "%PROC p(%INP/a:int;%IOP/b:int)==\n"
            "%LOC [int:t]\n"
            "%STM [ \n"
            "    {$T}\n"
            "    LB=1=>$Ot=a^$OLB=2;\n"
            "    {}\n"
            "    ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n"
            "      {}\n"
            "      LB=3=>$Ob=t^$OLB=5;\n"
            "      {}\n"
            "      LB=4=>$Ox=x^$OLB=5;\n"
            "     ]\n"
            "]\n"
            "{ b>0 }\n");
  TextClear(&t);
  EXPECT_EQ(PrintPreCond(Sentence2Ptr("(1,2)"), &t, 2), 7);
  EXPECT_STREQ(TextStr(&t), "  {$T}\n");
  TextClear(&t);
  ProcedureListPrintDebug(&t);
  EXPECT_EQ(CountOf(TextStr(&t), "{}\n"), 3);
  TextFree(&t);
}

TEST(Printers, ARecordThatContainsItselfPrintsOnce) {
  ProgReset();
  // Loop label, body pair and exit are all 2: the body names the loop.
  std::string out = ProgLoad("%PROC z()[*[LB=2^c=>($OLB=2|$OLB=2)]]");
  EXPECT_NE(out.find("is not a statement read before it"), std::string::npos);
  ProcedurePtr z = Procedure2Ptr("z");
  ASSERT_NE(z, nullptr);
  EXPECT_EQ(z->readError, 1);
  std::string printed = ProgPrintAll();
  EXPECT_EQ(CountOf(printed, "*[LB=2"), 1);
}

TEST(Printers, ManyProceduresAreAllPrinted) {
  ProgReset();
  std::string prog;
  for (int i = 0; i < 300; i++)
    prog += "{x>0}%PROC p" + std::to_string(i) + "(%IOP/x:int)==[LB=1=>$Ox=+(x,1)^$OLB=2;]{x>1}";
  ASSERT_EQ(ProgLoad(prog.c_str()), "");
  std::string printed = ProgPrintAll();
  EXPECT_GT(printed.size(), static_cast<size_t>(SSS_SIZE));
  EXPECT_EQ(CountOf(printed, "%PROC p"), 300);
  EXPECT_NE(printed.find("%PROC p299(%IOP/x:int)==\n"), std::string::npos);
}

TEST(Printers, PrintLoadPrintRoundTrip) {
  const char *programs[] = {
      kExample,
      "%PROC w(%IOP/i:int;%INP/n:int)==[LB=1=>$Oi=0^$OLB=2;"
      "*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=5;LB=5=>$Oa[i]=i^$OLB=2;{i<s(n)}]]{i=n}"
      "%PROC c(%IOP/k:int)==%LOC[int:j]%STM[LB=1=>w(%IOP/k|i;%INP/+(k,1)|n)^$OLB=2;"
      "?[LB=2^k>0=>$OLB=3|~=>$OLB=4;*[LB=3^$T=>($OLB=5|$OLB=6)LB=5=>$OLB=3;]LB=4=>$Ok=0^$OLB=6;]]",
      "%PROC e()[]{$F}%PROC f()[LB=1=>e()^$OLB=2;]",
  };
  for (const char *prog : programs) {
    ProgReset();
    ASSERT_EQ(ProgLoad(prog), "") << prog;
    std::string first = ProgPrintAll();
    ProgReset();
    ASSERT_EQ(ProgLoad(first.c_str()), "") << first;
    std::string second = ProgPrintAll();
    EXPECT_EQ(first, second);
    for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList)
      EXPECT_EQ(n->procedure->readError, 0) << n->procedure->name;
  }
}

TEST(Printers, ExampleFilesRoundTrip) {
  const char *files[] = {"arrays.q", "calls.q", "count.q", "max.q", "missing.q", "swap.q"};
  for (const char *f : files) {
    std::string path = std::string(QUELL_SOURCE_DIR) + "/examples/" + f;
    if (!FileReadable(path.c_str())) continue;
    ProgReset();
    char *text = FileRead(path.c_str());
    testing::internal::CaptureStdout();
    ProcedureReadList(text);
    std::string out = testing::internal::GetCapturedStdout();
    free(text);
    EXPECT_EQ(out, "") << f;
    EXPECT_GT(ProcedureCount(), 0) << f;
    std::string first = ProgPrintAll();
    ProgReset();
    EXPECT_EQ(ProgLoad(first.c_str()), "") << f;
    EXPECT_EQ(ProgPrintAll(), first) << f;
  }
}
