// The generation driver, the assumption list and its printers, and the
// bounds on size and time.
#include <ctime>
#include "vctest.h"

static std::string ListPrint() { return Str(0, [](int, Text *t) { AssumptionListPrint(t); }); }

TEST(Driver, ProcedureAssumptionLastSecondRunAddsNothingReadErrorGivesFalse) {
  const std::string all = "p: (x>1^x>0) => -(x,1)>0; p: (~x>1^x>0) => x=1; p: x>0 => x>0; r:  => 2=2";
  VcCheck({"{x>0}%PROC p(%IOP/x:int)==%STM[*[LB=1^x>1=>($OLB=2|$OLB=3)LB=2=>$Ox=-(x,1)^$OLB=1;"
           "{x>0}]]{x=1}%PROC r(%IOP/y:int)==%STM[LB=1=>$Oy=2^$OLB=2;]{y=2}", all.c_str(), ""});
  // A second run adds nothing; a procedure added later is verified on its own.
  GenerateVerificationCond();
  VcLoad("%PROC s(%IOP/z:int)==%STM[LB=1=>$Oz=3^$OLB=2;]{z=3}", "s", true);
  EXPECT_EQ(VcRender(VcGenerate()), all + "; s:  => 3=3");
  // A read error gives pre => $F, nothing computed from the body.
  VcLoad("{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}")->readError = 1;
  EXPECT_EQ(VcRender(VcGenerate()), "p: x>0 => ~$T");
  EXPECT_EQ(Sentence2Ptr("(1,2)")->preCond, nullptr);
}

TEST(Driver, AssumptionListStatementConditionsAndPrinters) {
  VcReset();
  FormulaPtr t = FormulaMakeTrue(), f = FormulaMakeFalse();
  MakeAssumption(t, f), AssumptionListClear(), MakeAssumption(t, nullptr);
  EXPECT_EQ(VcRender(VcAssumptions()), ": $T => ");
  // Emptied by zeroing the head record, as the clear command does.
  assumptionList.assumption = nullptr, assumptionList.assumptionList = nullptr;
  MakeAssumption(f, f);
  EXPECT_EQ(VcRender(VcAssumptions()), ": ~$T => ~$T");
  // Statements keep their conditions.
  VcGenerate("%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;LB=2=>$Ox=+(x,2)^$OLB=3;]{x>0}");
  SentencePtr s1 = Sentence2Ptr("(1,2)");
  ASSERT_TRUE(s1);
  EXPECT_EQ(VcPrint(s1->postCond) + " " + VcPrint(s1->preCond), "+(x,2)>0 +(+(x,1),2)>0");
  // The printers group by procedure; an unknown name appends nothing.
  VcGenerate("{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}"
             "%PROC r(%IOP/y:int)==%STM[LB=1=>$Oy=2^$OLB=2;]{y=2}");
  EXPECT_EQ(ListPrint(), "...for p...\n\nx>0\n =>\n  1=1\n\n\n...for r...\n\n\n =>\n  2=2\n\n\n");
  EXPECT_EQ(Str("r", AssumptionPrint) + Str("nosuch", AssumptionPrint), "\n =>\n  2=2\n\n");
}

// Processor time, so that a busy machine does not fail the bounds; they
// leave room for sanitizer builds, an optimised build takes a fraction.
static double Seconds(std::clock_t a) { return double(std::clock() - a) / CLOCKS_PER_SEC; }
const double kQuick = 3.0;

TEST(Driver, GrowingConditionsAreCutAndManyProceduresGenerateQuickly) {
  // Thirty doublings of x; then thirty cases in a row, the post-condition
  // shared into both branches of each.
  std::string doubling = "%PROC p(%IOP/x:int)==%STM[", cases = doubling;
  for (int k = 0; k < 30; k++) {
    std::string a = std::to_string(2 * k), b = "b" + a, d = std::to_string(2 * k + 2);
    doubling += "LB=" + std::to_string(k + 1) + "=>$Ox=+(x,x)^$OLB=" + std::to_string(k + 2) + ";";
    cases += "?[LB=" + a + "^x>0=>$OLB=" + b + "|~=>$OLB=" + d + ";LB=" + b + "=>$Ox=+(x,1)^$OLB=" + d + ";]";
  }
  const char *cut = "Error: p: verification condition grew too large\n";
  std::clock_t start = std::clock();
  VcCheck({(doubling + "]{x>0}").c_str(), "p:  => ~$T", cut});
  auto r = VcGenerate((cases + "]{x>0}").c_str());
  EXPECT_LT(Seconds(start), 2 * kQuick);
  ASSERT_EQ(r.size(), 1u);
  // The cut part is false; the outer cases stay within the bound; reported once.
  EXPECT_NE(r[0].concl.find("~$T"), std::string::npos);
  EXPECT_LT(r[0].concl.size(), 8u * FORMULA_NODE_LIMIT);
  EXPECT_EQ(vcOut, cut);

  // 8000 procedures, each but the first calling the one before.
  std::string text = "{x>0}%PROC p0(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;]{x>1}";
  for (int i = 1; i < 8000; i++)
    text += "{x>0}%PROC p" + std::to_string(i) + "(%IOP/x:int)==%STM[LB=1=>p" + std::to_string(i - 1) +
            "(%IOP/x|x)^$OLB=2;]{x>1}";
  VcLoad(text.c_str());
  start = std::clock();
  auto a = VcGenerate();
  EXPECT_LT(Seconds(start), kQuick);
  start = std::clock();
  ListPrint();
  EXPECT_LT(Seconds(start), kQuick);
  ASSERT_EQ(a.size(), 8000u);
  EXPECT_EQ(a[0].concl, "+(x,1)>1");
  // The output is unknown after each call: one fresh name, twice.
  const std::string &c = a[7999].concl, fresh = c.substr(7, c.find('>', 7) - 7);
  EXPECT_EQ(c, "(x>0^(~" + fresh + ">1|" + fresh + ">1))");
  EXPECT_EQ(fresh.substr(0, 2), "#@");
}
