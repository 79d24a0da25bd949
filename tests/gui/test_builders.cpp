// Display text builders and the navigation stack. None of these needs a display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../../formula/formula.h"
#include "../../gui/w.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"

namespace {

std::string Str(const char *s) { return s ? s : "(null)"; }
bool Has(const std::string &s, const std::string &part) { return s.find(part) != s.npos; }

class Builders : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    ProcedureListClear(), AssumptionListClear(), SequentListClear(), wPostCleanStack();
  }
  static std::string Nav(char *pair, const char *to) {   // "" goes back
    return strcpy(pair, to), Str(wGetSentenceContent2(pair));
  }
};

TEST_F(Builders, NamesOfNothingNavigationBoundsAndCutTexts) {
  StartProg1(strdup("{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM [LB=1=>$Ot=a^$OLB=2;"
                    "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}"));
  ProcedurePtr p = currentProcedure = Procedure2Ptr("p");
  for (const char *s : {wGetProcPrePostCond("zz"), wGetSentPrePostCond("(7,7)"),
                        wGetSentenceContent("(9,9)"), wGetSentenceContent("")})
    EXPECT_EQ(s, nullptr);
  EXPECT_EQ(currentProcedure, p);
  char pair[LABEL_SIZE];
  Nav(pair, "(1,5)");
  EXPECT_TRUE(Has(Nav(pair, "(2,5)"), "   ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n      (3,5);\n"));
  // Back: to the earlier entry, then past the first, never below 0.
  EXPECT_TRUE(Has(Nav(pair, ""), "(1,2);"));
  for (int i = 0; i < 2; i++) EXPECT_EQ(Nav(pair, ""), "(null)");
  EXPECT_EQ(n, 0);
  // A full stack refuses one entry more and keeps showing its top.
  for (int i = 0; i < NAV_DEPTH; i++) Nav(pair, i == NAV_DEPTH - 1 ? "(2,5)" : "(1,5)");
  EXPECT_TRUE(Has(Nav(pair, "(3,5)"), "?[LB=2"));
  EXPECT_TRUE(n == NAV_DEPTH && !strcmp(pair, "(2,5)"));
  // A text too long to be a label pair is not pushed.
  wPostCleanStack(), Nav(pair, "(1,5)");
  char big[SELECT_SIZE];
  memset(big, 'x', 100), big[0] = '(', big[100] = 0;
  EXPECT_NE(wGetSentenceContent2(big), nullptr);
  EXPECT_TRUE(n == 1 && !strcmp(big, "(1,5)"));
  // Long lists are cut to their buffer.
  std::string prog;
  for (int i = 0; i < 1500; i++)
    prog += "{x>0}%PROC proc" + std::to_string(i) + "()==%STM[LB=1=>$Ox=x^$OLB=2;]{x>0}";
  StartProg1(strdup(prog.c_str()));
  std::string list = Str(wGetProcList());
  EXPECT_TRUE(list.size() < (size_t)SSS_SIZE && Has(list, "text cut"));
}

}  // namespace
