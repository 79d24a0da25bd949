// The generation driver, the post-condition of a procedure's own
// verification, the assumption list and its printers.
#include "vctest.h"
#include <ctime>

TEST(Driver, EgenEquationsAreEliminatedFromTheOwnPostCondition) {
  // Nothing but an egen equation: nothing is left to show.
  auto a = VcGenerate("%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=@v}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "$T");
  // The value of @v reaches the other conjuncts.
  a = VcGenerate("%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{@v=+(x,1)^@v>x^x>0}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "(+(1,1)>1^1>0)");
  // An equation that cannot be solved for @v stays as a demand.
  a = VcGenerate("%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{@v=f(@v)^x>0}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "(@v=f(@v)^1>0)");
  // The procedure's own post-condition is not changed.
  ProcedurePtr p = Procedure2Ptr("p");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(VcPrint(p->postCond), "(@v=f(@v)^x>0)");
}

TEST(Driver, ProcedureAssumptionComesLastAndSecondRunAddsNothing) {
  auto a = VcGenerate(
      "{x>0}%PROC p(%IOP/x:int)==%STM[*[LB=1^x>1=>($OLB=2|$OLB=3)LB=2=>$Ox=-(x,1)^$OLB=1;{x>0}]]{x=1}"
      "%PROC r(%IOP/y:int)==%STM[LB=1=>$Oy=2^$OLB=2;]{y=2}");
  ASSERT_EQ(a.size(), 4u);
  EXPECT_EQ(a[2].proc, "p");
  EXPECT_EQ(a[2].hyp, "x>0");
  EXPECT_EQ(a[2].concl, "x>0");
  EXPECT_EQ(a[3].proc, "r");
  EXPECT_EQ(a[3].concl, "2=2");

  GenerateVerificationCond();
  EXPECT_EQ(VcAssumptions().size(), 4u);

  // A procedure added later is verified on its own.
  testing::internal::CaptureStdout();
  VcLoad("%PROC s(%IOP/z:int)==%STM[LB=1=>$Oz=3^$OLB=2;]{z=3}");
  GenerateVerificationCond();
  testing::internal::GetCapturedStdout();
  a = VcAssumptions();
  ASSERT_EQ(a.size(), 5u);
  EXPECT_EQ(a[4].proc, "s");
  EXPECT_EQ(a[4].concl, "3=3");
}

TEST(Driver, ReadErrorAndEmptyBody) {
  VcReset();
  testing::internal::CaptureStdout();
  VcLoad("{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}");
  testing::internal::GetCapturedStdout();
  ProcedurePtr p = Procedure2Ptr("p");
  ASSERT_NE(p, nullptr);
  p->readError = 1;
  GenerateVerificationCond();
  auto a = VcAssumptions();
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].hyp, "x>0");
  EXPECT_EQ(a[0].concl, "~$T");
  SentencePtr s = Sentence2Ptr("(1,2)");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->preCond, nullptr);   // nothing computed from the body

  a = VcGenerate("{x>0}%PROC p(%IOP/x:int)==%STM[]{x>1}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].hyp, "x>0");
  EXPECT_EQ(a[0].concl, "x>1");
}

TEST(Driver, StatementsKeepTheirComputedConditions) {
  VcGenerate("%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;LB=2=>$Ox=+(x,2)^$OLB=3;]{x>0}");
  currentProcedure = Procedure2Ptr("p");
  SentencePtr s1 = Sentence2Ptr("(1,2)"), s2 = Sentence2Ptr("(2,3)");
  ASSERT_TRUE(s1 && s2);
  EXPECT_EQ(VcPrint(s2->postCond), "x>0");
  EXPECT_EQ(VcPrint(s2->preCond), "+(x,2)>0");
  EXPECT_EQ(VcPrint(s1->postCond), "+(x,2)>0");
  EXPECT_EQ(VcPrint(s1->preCond), "+(+(x,1),2)>0");
}

TEST(Driver, AssumptionListAppendsAfterClearing) {
  VcReset();
  FormulaPtr t = FormulaMakeTrue(), f = FormulaMakeFalse();
  MakeAssumption(t, f);
  MakeAssumption(f, t);
  ASSERT_EQ(VcAssumptions().size(), 2u);
  AssumptionListClear();
  MakeAssumption(t, nullptr);
  auto a = VcAssumptions();
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].hyp, "$T");
  EXPECT_EQ(a[0].concl, "");
  // Emptied by zeroing the head record, as the clear command does.
  assumptionList.assumption = nullptr;
  assumptionList.assumptionList = nullptr;
  MakeAssumption(f, f);
  MakeAssumption(t, t);
  a = VcAssumptions();
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[0].hyp, "~$T");
  EXPECT_EQ(a[1].hyp, "$T");
  // The stored formulas are copies; the list ends with an empty node.
  EXPECT_NE(assumptionList.assumption->formula1, f);
  AssumptionListPtr n = &assumptionList;
  while (n->assumption) n = n->assumptionList;
  EXPECT_EQ(n->assumptionList, nullptr);

  MakeLoopAssumption(t, f, t);
  a = VcAssumptions();
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[2].hyp, "($T^~$T)");

  FormulaPtr c = FormulaMakeTrue(), c1 = FormulaMakeFalse(), c2 = FormulaMakeTrue();
  FormulaPtr k = CombineCaseCond(c1, c2, c);
  EXPECT_EQ(VcPrint(k), "((~$T|~$T)^($T|$T))");
  EXPECT_EQ(static_cast<FormulaPtr>(static_cast<FormulaPtr>(k->right)->left), c);   // shared
}

TEST(Driver, PrintersGroupByProcedure) {
  VcGenerate(
      "{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}"
      "%PROC r(%IOP/y:int)==%STM[LB=1=>$Oy=2^$OLB=2;]{y=2}");
  Text t;
  TextInit(&t);
  AssumptionListPrint(&t);
  EXPECT_EQ(std::string(TextStr(&t)),
            "...for p...\n\nx>0\n =>\n  1=1\n\n\n...for r...\n\n\n =>\n  2=2\n\n\n");
  TextClear(&t);
  TextAppend(&t, "keep");
  AssumptionPrint("nosuch", &t);
  EXPECT_EQ(std::string(TextStr(&t)), "keep");
  TextFree(&t);
}

// Processor time, so that a busy machine does not fail the bounds; they
// leave room for sanitizer builds, an optimised build takes a fraction.
const double kQuick = 3.0;

static double Seconds(std::clock_t a) {
  return double(std::clock() - a) / CLOCKS_PER_SEC;
}

TEST(Driver, GrowingConditionsAreCutQuickly) {
  // Thirty doublings of x.
  std::string text = "%PROC p(%IOP/x:int)==%STM[";
  for (int i = 1; i <= 30; i++)
    text += "LB=" + std::to_string(i) + "=>$Ox=+(x,x)^$OLB=" + std::to_string(i + 1) + ";";
  text += "]{x>0}";
  std::string out;
  std::clock_t start = std::clock();
  auto a = VcGenerate(text.c_str(), &out);
  EXPECT_LT(Seconds(start), kQuick);
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "~$T");
  EXPECT_NE(out.find("Error: p: verification condition grew too large"), std::string::npos);

  // Thirty case statements in a row, the post-condition shared into both
  // branches of each.
  text = "%PROC p(%IOP/x:int)==%STM[";
  for (int k = 0; k < 30; k++) {
    std::string a0 = std::to_string(2 * k), b = "b" + a0, d = std::to_string(2 * k + 2);
    text += "?[LB=" + a0 + "^x>0=>$OLB=" + b + "|~=>$OLB=" + d + ";LB=" + b + "=>$Ox=+(x,1)^$OLB=" + d +
            ";]";
  }
  text += "]{x>0}";
  start = std::clock();
  a = VcGenerate(text.c_str(), &out);
  EXPECT_LT(Seconds(start), kQuick);
  ASSERT_EQ(a.size(), 1u);
  // The cut part is false; the outer cases stay within the bound.
  EXPECT_NE(a[0].concl.find("~$T"), std::string::npos);
  EXPECT_LT(a[0].concl.size(), 8u * FORMULA_NODE_LIMIT);
  size_t at = out.find("grew too large");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(out.find("grew too large", at + 1), std::string::npos) << "reported once";
}

TEST(Driver, ManyProceduresGenerateQuickly) {
  std::string text;
  for (int i = 0; i < 8000; i++)
    text += "{x>0}%PROC p" + std::to_string(i) + "(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;]{x>1}";
  VcReset();
  testing::internal::CaptureStdout();
  VcLoad(text.c_str());
  testing::internal::GetCapturedStdout();
  std::clock_t start = std::clock();
  GenerateVerificationCond();
  EXPECT_LT(Seconds(start), kQuick);
  auto a = VcAssumptions();
  ASSERT_EQ(a.size(), 8000u);
  EXPECT_EQ(a[7999].proc, "p7999");
  EXPECT_EQ(a[7999].concl, "+(x,1)>1");
  Text t;
  TextInit(&t);
  start = std::clock();
  AssumptionListPrint(&t);
  EXPECT_LT(Seconds(start), kQuick);
  TextFree(&t);
}

TEST(Driver, ManyCallsGenerateQuickly) {
  std::string text = "{x>0}%PROC p0(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;]{x>1}";
  for (int i = 1; i < 8000; i++)
    text += "{x>0}%PROC p" + std::to_string(i) + "(%IOP/x:int)==%STM[LB=1=>p" + std::to_string(i - 1) +
            "(%IOP/x|x)^$OLB=2;]{x>1}";
  VcReset();
  testing::internal::CaptureStdout();
  VcLoad(text.c_str());
  testing::internal::GetCapturedStdout();
  std::clock_t start = std::clock();
  GenerateVerificationCond();
  EXPECT_LT(Seconds(start), kQuick);
  auto a = VcAssumptions();
  ASSERT_EQ(a.size(), 8000u);
  // The output is unknown after each call: one fresh name, twice.
  const std::string &c = a[7999].concl;
  size_t bar = c.find('|');
  ASSERT_NE(bar, std::string::npos);
  std::string fresh = c.substr(7, c.find('>', 7) - 7);
  EXPECT_EQ(c.substr(0, 9), "(x>0^(~#@");
  EXPECT_EQ(c, "(x>0^(~" + fresh + ">1|" + fresh + ">1))");
}
