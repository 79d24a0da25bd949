// Procedures: the frame, the program reader, refusals, limits and the
// speed of loading a large program.
#include <ctime>

#include "progtest.h"

static const char *kExample =
    "{a>0}\n"
    "%PROC p(%INP/a:int;%IOP/b:int)==\n"
    "%LOC [int:t]\n"
    "%STM [\n"
    "LB=1=>$Ot=a^$OLB=2;\n"
    "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n"
    "LB=3=>$Ob=t^$OLB=5;\n"
    "LB=4=>$OLB=5;\n"
    "]\n"
    "]\n"
    "{b>0}\n";

TEST(Procedure, WorkedExample) {
  ProgReset();
  EXPECT_EQ(ProgLoad(kExample), "");
  ASSERT_EQ(ProcedureCount(), 1);
  ProcedurePtr p = procedureList.procedure;
  EXPECT_STREQ(p->name, "p");
  ASSERT_NE(p->params, nullptr);
  EXPECT_STREQ(p->params->io, "%INP");
  EXPECT_STREQ(p->params->name, "a");
  EXPECT_STREQ(p->params->type, "int");
  ASSERT_NE(p->params->paramTrippleList, nullptr);
  EXPECT_STREQ(p->params->paramTrippleList->io, "%IOP");
  EXPECT_STREQ(p->params->paramTrippleList->name, "b");
  EXPECT_EQ(p->params->paramTrippleList->paramTrippleList, nullptr);
  EXPECT_STREQ(p->loc, "[int:t]");
  EXPECT_STREQ(p->body, "(1,5)");
  EXPECT_EQ(FormulaText(p->preCond), "a>0");
  EXPECT_EQ(FormulaText(p->postCond), "b>0");
  EXPECT_EQ(p->readError, 0);
  std::vector<std::string> want = {"1 (1,2)    $Ot=a", "1 (3,5)    $Ob=t", "1 (4,5)    $Ox=x",
                                   "4 (2,5) (3,5) (4,5) t>b ", "2 (1,5) (1,2) (2,5)  "};
  EXPECT_EQ(Rows(p), want);
  EXPECT_EQ(currentProcedure, p);
  EXPECT_EQ(sp->sentence, nullptr);
  EXPECT_EQ(sp->sentenceList, nullptr);
}

TEST(Procedure, OptionalPartsOfTheFrame) {
  ProgReset();
  EXPECT_EQ(ProgLoad("%PROC q()==%STM[LB=1=>$OLB=2;]"), "");
  ProcedurePtr q = Procedure2Ptr("q");
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q->params, nullptr);
  EXPECT_STREQ(q->loc, "");
  EXPECT_STREQ(q->body, "(1,2)");
  EXPECT_EQ(q->preCond, nullptr);
  EXPECT_EQ(q->postCond, nullptr);
  EXPECT_EQ(ProgLoad("%PROC r(%IOP/x:int)[LB=1=>$OLB=2;]{x>0}"), "");
  ProcedurePtr r = Procedure2Ptr("r");
  ASSERT_NE(r, nullptr);
  ASSERT_NE(r->params, nullptr);
  EXPECT_EQ(r->params->paramTrippleList, nullptr);
  EXPECT_EQ(FormulaText(r->postCond), "x>0");
  EXPECT_EQ(ProgLoad("%PROC s()%LOC[v]%STM[]"), "");   // an empty block is no error
  ProcedurePtr s = Procedure2Ptr("s");
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(s->body, "");
  EXPECT_EQ(s->readError, 0);
  EXPECT_STREQ(s->loc, "[v]");
  // Appended in text order, behind what was there.
  EXPECT_EQ(ProgLoad("%PROC t1()[]%PROC t2()[]"), "");
  std::vector<std::string> names;
  for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList)
    names.push_back(n->procedure->name);
  EXPECT_EQ(names, (std::vector<std::string>{"q", "r", "s", "t1", "t2"}));
}

TEST(Procedure, TextThatIsNoProcedureEndsTheReading) {
  ProgReset();
  std::string out = ProgLoad("%PROC p()[LB=1=>$OLB=2;]garbage%PROC q()[]");
  EXPECT_EQ(ProcedureCount(), 1);
  EXPECT_NE(out.find("text without %PROC is not a procedure and is not added; reading ends at: garbage%PROCq()[]"),
            std::string::npos);
  ProgReset();
  out = ProgLoad("{a>0}[LB=1=>$OLB=2;]");
  EXPECT_EQ(ProcedureCount(), 0);
  EXPECT_NE(out.find("without %PROC"), std::string::npos);
  ProgReset();
  out = ProgLoad("%PROC p()LB=1=>$OLB=2;");
  EXPECT_EQ(ProcedureCount(), 0);
  EXPECT_NE(out.find("procedure without its [ statement block ]"), std::string::npos);
  out = ProgLoad("%PROC p()[LB=1=>$OLB=2;");
  EXPECT_NE(out.find("statement block without its closing ]"), std::string::npos);
  out = ProgLoad("%PROC p[LB=1=>$OLB=2;]");
  EXPECT_NE(out.find("procedure head without its ( parameter list )"), std::string::npos);
  out = ProgLoad("%PROC p(%INP/a:int[]");
  EXPECT_NE(out.find("procedure head without its closing )"), std::string::npos);
  EXPECT_EQ(ProcedureCount(), 0);
  EXPECT_EQ(ProgLoad(""), "");
}

TEST(Procedure, DuplicatesAndNamelessProceduresAreRefused) {
  ProgReset();
  std::string out = ProgLoad("%PROC p()[LB=1=>$Ox=1^$OLB=2;]%PROC p()[LB=1=>$Ox=2^$OLB=2;]%PROC q()[]");
  EXPECT_NE(out.find("Error: a second procedure of that name is not added: p"), std::string::npos);
  EXPECT_EQ(ProcedureCount(), 2);
  currentProcedure = Procedure2Ptr("p");
  EXPECT_EQ(AssignsText(Sentence2Ptr("(1,2)")->assignList), "$Ox=1");
  out = ProgLoad("%PROC p()[]");   // also across loads
  EXPECT_NE(out.find("second procedure"), std::string::npos);
  out = ProgLoad("%PROC ()[]");
  EXPECT_NE(out.find("procedure without a usable name is not added"), std::string::npos);
  EXPECT_EQ(ProcedureCount(), 2);
}

TEST(Procedure, ReadErrorsMarkTheProcedure) {
  ProgReset();
  const char *bad[] = {
      "%PROC a1()[LB=1=>$Ox=1$OLB=2;]",
      "%PROC a2()[LB=1=>$OLB=2;x]",
      "%PROC a3()[LB=1=>$OLB=2;LB=1=>$OLB=3;]",
      "%PROC a4(%INP/x)[LB=1=>$OLB=2;]",
      "%PROC a5(%XX/x:int)[LB=1=>$OLB=2;]",
      "%PROC a6()[LB=1=>$O#@a=1^$OLB=2;]",
      "%PROC a7()[LB=1=>q(%INP/#@b|y)^$OLB=2;]",
      "{#@c>0}%PROC a8()[LB=1=>$OLB=2;]",
      "%PROC a9()[*[LB=2^c=>($OLB=3|$OLB=4)LB=3=>$OLB=5;]]",   // body does not return to 2
      "%PROC a10()[{x}LB=1=>$OLB=2;]",
      "%PROC a11()[LB=1=>$OLB=2;]{x>0",
      "%PROC a12()[*[LB=2^c=>($OLB=2|$OLB=4)]]",   // empty body: no record for the invariant
  };
  for (const char *t : bad) {
    std::string out = ProgLoad(t);
    EXPECT_NE(out.find("Error: "), std::string::npos) << t;
    ProcedurePtr p = nullptr;
    for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList) p = n->procedure;
    ASSERT_NE(p, nullptr) << t;
    EXPECT_EQ(p->readError, 1) << t << "\n" << out;
  }
  EXPECT_EQ(ProcedureCount(), 12);
  std::string out = ProgLoad("%PROC a13()%LOCx[LB=1=>$OLB=2;]");
  EXPECT_NE(out.find("Error: %LOC without its [ locals ]"), std::string::npos);
  EXPECT_EQ(ProcedureCount(), 12);   // no block where one must be: not added
  // Ordinary names that merely contain "#@" inside, and "#" names, are fine.
  EXPECT_EQ(ProgLoad("%PROC ok1()[LB=1=>$Ox=a#@b^$Oy=#y^$OLB=2;]"), "");
  EXPECT_EQ(Procedure2Ptr("ok1")->readError, 0);
}

TEST(Procedure, LimitsAtTheirBoundaries) {
  ProgReset();
  std::string n29(29, 'n'), n30(30, 'm');
  EXPECT_EQ(ProgLoad(("%PROC " + n29 + "()[]").c_str()), "");
  EXPECT_NE(Procedure2Ptr(n29.c_str()), nullptr);
  std::string out = ProgLoad(("%PROC " + n30 + "()[]").c_str());
  EXPECT_NE(out.find("procedure name longer than 29"), std::string::npos);
  EXPECT_EQ(ProcedureCount(), 1);

  std::string f29(29, 'f'), f30(30, 'g');
  EXPECT_EQ(ProgLoad(("%PROC pa(%INP/" + f29 + ":" + f29 + ")[]").c_str()), "");
  EXPECT_EQ(std::string(Procedure2Ptr("pa")->params->name), f29);
  out = ProgLoad(("%PROC pb(%INP/" + f30 + ":int)[]").c_str());
  EXPECT_NE(out.find("parameter name longer than 29"), std::string::npos);
  EXPECT_EQ(Procedure2Ptr("pb")->readError, 1);
  EXPECT_STREQ(Procedure2Ptr("pb")->params->name, "");
  out = ProgLoad(("%PROC pc(%INP/x:" + f30 + ")[]").c_str());
  EXPECT_NE(out.find("parameter type longer than 29"), std::string::npos);

  // Head "h(" ... ")" of 2047 and 2048 characters.
  auto head = [](const char *name, size_t len) {
    std::string h = std::string(name) + "(%INP/x:";
    return "%PROC " + h + std::string(len - h.size() - 1, 't') + ")[]";
  };
  out = ProgLoad(head("h1", 2047).c_str());
  EXPECT_EQ(out.find("head longer"), std::string::npos);
  out = ProgLoad(head("h2", 2048).c_str());
  EXPECT_NE(out.find("Error: procedure head longer than 2047 characters"), std::string::npos);
  ASSERT_NE(Procedure2Ptr("h2"), nullptr);
  EXPECT_EQ(Procedure2Ptr("h2")->readError, 1);

  // Locals "[...]" of 2047 and 2048 characters.
  out = ProgLoad(("%PROC l1()%LOC[" + std::string(2045, 'v') + "][]").c_str());
  EXPECT_EQ(out, "");
  EXPECT_EQ(strlen(Procedure2Ptr("l1")->loc), 2047u);
  out = ProgLoad(("%PROC l2()%LOC[" + std::string(2046, 'v') + "][]").c_str());
  EXPECT_NE(out.find("Error: locals longer than 2047 characters"), std::string::npos);
  EXPECT_EQ(Procedure2Ptr("l2")->readError, 1);

  // Statement block of 2047 and 2048 characters: "[LB=1=>$Ox=" e "^$OLB=2;]".
  auto block = [](const char *name, size_t len) {
    std::string frame = "[LB=1=>$Ox=^$OLB=2;]";
    return "%PROC " + std::string(name) + "()[LB=1=>$Ox=" + std::string(len - frame.size(), 'e') +
           "^$OLB=2;]";
  };
  out = ProgLoad(block("b1", 2047).c_str());
  EXPECT_EQ(out, "");
  EXPECT_STREQ(Procedure2Ptr("b1")->body, "(1,2)");
  out = ProgLoad(block("b2", 2048).c_str());
  EXPECT_NE(out.find("Error: statement block of procedure b2 longer than 2047 characters"),
            std::string::npos);
  EXPECT_EQ(Procedure2Ptr("b2")->readError, 1);
  EXPECT_STREQ(Procedure2Ptr("b2")->body, "");

  // Assertions of 2047 and 2048 characters, "{x=...}".
  out = ProgLoad(("{x=" + std::string(2043, 'w') + "}%PROC c1()[]").c_str());
  EXPECT_EQ(out, "");
  EXPECT_NE(Procedure2Ptr("c1")->preCond, nullptr);
  out = ProgLoad(("%PROC c2()[]{x=" + std::string(2044, 'w') + "}").c_str());
  EXPECT_NE(out.find("assertion longer than 2047"), std::string::npos);
  EXPECT_EQ(Procedure2Ptr("c2")->postCond, nullptr);
  EXPECT_EQ(Procedure2Ptr("c2")->readError, 1);
}

TEST(Procedure, LargeProgramLoadsQuickly) {
  ProgReset();
  std::string prog;
  const int count = 8000;
  for (int i = 0; i < count; i++) {
    std::string n = "p" + std::to_string(i);
    prog += "{x>0^y=+(x,1)^z=*(x,y)}%PROC" + n +
            "(%IOP/x:int;%IOP/y:int;%INP/z:int)==%LOC[int:u;int:v]%STM[LB=1=>$Ox=+(x,1)^$Oy=-(y,z)^$OLB=2;"
            "?[LB=2^x>y=>$OLB=3|~=>$OLB=4;LB=3=>$Ou=*(x,+(y,z))^$OLB=5;LB=4=>$Ov=+(u,1)^$OLB=5;]";
    if (i > 0) prog += "LB=5=>p" + std::to_string(i - 1) + "(%IOP/x|x;%IOP/y|y;%INP/z|z)^$OLB=6;";
    else prog += "LB=5=>$OLB=6;";
    prog += "]{x>1^y>0}";
  }
  // Processor time, so that a busy machine does not fail the test.
  std::clock_t t0 = std::clock();
  std::string out = ProgLoad(prog.c_str());
  double secs = static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
  EXPECT_EQ(out, "");
  EXPECT_EQ(ProcedureCount(), count);
  EXPECT_GT(prog.size(), 2000000u);
  ProcedurePtr last = Procedure2Ptr(("p" + std::to_string(count - 1)).c_str());
  ASSERT_NE(last, nullptr);
  EXPECT_STREQ(last->body, "(1,6)");
  // Well under a second in an optimised build; the sanitizer build is slower.
  EXPECT_LT(secs, 5.0);
  std::clock_t t1 = std::clock();
  std::string printed = ProgPrintAll();
  double psecs = static_cast<double>(std::clock() - t1) / CLOCKS_PER_SEC;
  EXPECT_EQ(CountOf(printed, "%PROC"), count);
  EXPECT_LT(psecs, 5.0);
}
