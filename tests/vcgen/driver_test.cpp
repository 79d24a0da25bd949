// The generation driver, the assumption list and its printers, and the
// bounds on size and time.
#include <ctime>
#include "vctest.h"

TEST(Driver, ProcedureAssumptionComesLastAndSecondRunAddsNothing) {
  VcCheck({"{x>0}%PROC p(%IOP/x:int)==%STM[*[LB=1^x>1=>($OLB=2|$OLB=3)LB=2=>$Ox=-(x,1)^$OLB=1;"
           "{x>0}]]{x=1}%PROC r(%IOP/y:int)==%STM[LB=1=>$Oy=2^$OLB=2;]{y=2}",
           "p: (x>1^x>0) => -(x,1)>0; p: (~x>1^x>0) => x=1; p: x>0 => x>0; r:  => 2=2", ""});
  // A second run adds nothing; a procedure added later is verified on its own.
  GenerateVerificationCond();
  VcLoad("%PROC s(%IOP/z:int)==%STM[LB=1=>$Oz=3^$OLB=2;]{z=3}", "s", nullptr, true);
  EXPECT_EQ(VcRender(VcGenerateLoaded()), "p: (x>1^x>0) => -(x,1)>0; p: (~x>1^x>0) => x=1; "
                                          "p: x>0 => x>0; r:  => 2=2; s:  => 3=3");
}

TEST(Driver, ReadErrorGivesFalseAndStatementsKeepTheirConditions) {
  VcLoad("{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}")->readError = 1;
  EXPECT_EQ(VcRender(VcGenerateLoaded()), "p: x>0 => ~$T");
  EXPECT_EQ(Sentence2Ptr("(1,2)")->preCond, nullptr);  // nothing computed from the body

  VcGenerate("%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;LB=2=>$Ox=+(x,2)^$OLB=3;]{x>0}");
  currentProcedure = Procedure2Ptr("p");
  SentencePtr s1 = Sentence2Ptr("(1,2)");
  ASSERT_TRUE(s1);
  EXPECT_EQ(VcPrint(s1->postCond) + " " + VcPrint(s1->preCond), "+(x,2)>0 +(+(x,1),2)>0");
}

TEST(Driver, AssumptionListAndPrinters) {
  VcReset();
  FormulaPtr t = FormulaMakeTrue(), f = FormulaMakeFalse();
  MakeAssumption(t, f);
  AssumptionListClear();
  MakeAssumption(t, nullptr);
  EXPECT_EQ(VcRender(VcAssumptions()), ": $T => ");
  // Emptied by zeroing the head record, as the clear command does.
  assumptionList.assumption = nullptr;
  assumptionList.assumptionList = nullptr;
  MakeAssumption(f, f);
  MakeLoopAssumption(t, f, t);
  EXPECT_EQ(VcRender(VcAssumptions()), ": ~$T => ~$T; : ($T^~$T) => $T");

  // The printers group by procedure; an unknown name appends nothing.
  VcGenerate("{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}"
             "%PROC r(%IOP/y:int)==%STM[LB=1=>$Oy=2^$OLB=2;]{y=2}");
  Text s;
  TextInit(&s);
  AssumptionListPrint(&s);
  EXPECT_STREQ(TextStr(&s),
               "...for p...\n\nx>0\n =>\n  1=1\n\n\n...for r...\n\n\n =>\n  2=2\n\n\n");
  TextClear(&s);
  TextAppend(&s, "keep");
  AssumptionPrint("nosuch", &s);
  EXPECT_STREQ(TextStr(&s), "keep");
  TextFree(&s);
}

// Processor time, so that a busy machine does not fail the bounds; they
// leave room for sanitizer builds, an optimised build takes a fraction.
static double Seconds(std::clock_t a) { return double(std::clock() - a) / CLOCKS_PER_SEC; }
const double kQuick = 3.0;

TEST(Driver, GrowingConditionsAreCutQuickly) {
  // Thirty doublings of x; then thirty cases in a row, the post-condition
  // shared into both branches of each.
  std::string doubling = "%PROC p(%IOP/x:int)==%STM[", cases = doubling, out;
  for (int i = 1; i <= 30; i++)
    doubling += "LB=" + std::to_string(i) + "=>$Ox=+(x,x)^$OLB=" + std::to_string(i + 1) + ";";
  for (int k = 0; k < 30; k++) {
    std::string a = std::to_string(2 * k), b = "b" + a, d = std::to_string(2 * k + 2);
    cases += "?[LB=" + a + "^x>0=>$OLB=" + b + "|~=>$OLB=" + d + ";LB=" + b +
             "=>$Ox=+(x,1)^$OLB=" + d + ";]";
  }
  std::clock_t start = std::clock();
  VcCheck({(doubling + "]{x>0}").c_str(), "p:  => ~$T",
           "Error: p: verification condition grew too large\n"});
  auto r = VcGenerate((cases + "]{x>0}").c_str(), &out);
  EXPECT_LT(Seconds(start), 2 * kQuick);
  ASSERT_EQ(r.size(), 1u);
  // The cut part is false; the outer cases stay within the bound; reported once.
  EXPECT_NE(r[0].concl.find("~$T"), std::string::npos);
  EXPECT_LT(r[0].concl.size(), 8u * FORMULA_NODE_LIMIT);
  EXPECT_EQ(out, "Error: p: verification condition grew too large\n");
}

TEST(Driver, ManyProceduresAndCallsGenerateQuickly) {
  for (bool calls : {false, true}) {
    std::string text = "{x>0}%PROC p0(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;]{x>1}";
    for (int i = 1; i < 8000; i++)
      text += "{x>0}%PROC p" + std::to_string(i) + "(%IOP/x:int)==%STM[LB=1=>" +
              (calls ? "p" + std::to_string(i - 1) + "(%IOP/x|x)" : "$Ox=+(x,1)") +
              "^$OLB=2;]{x>1}";
    VcLoad(text.c_str());
    std::clock_t start = std::clock();
    auto a = VcGenerateLoaded();
    EXPECT_LT(Seconds(start), kQuick);
    Text t;
    TextInit(&t);
    start = std::clock();
    AssumptionListPrint(&t);
    EXPECT_LT(Seconds(start), kQuick);
    ASSERT_EQ(a.size(), 8000u);
    const std::string &c = a[7999].concl;
    if (!calls) {
      EXPECT_EQ(c, "+(x,1)>1");
      continue;
    }
    // The output is unknown after each call: one fresh name, twice.
    ASSERT_EQ(c.substr(0, 9), "(x>0^(~#@");
    std::string fresh = c.substr(7, c.find('>', 7) - 7);
    EXPECT_EQ(c, "(x>0^(~" + fresh + ">1|" + fresh + ">1))");
  }
}
