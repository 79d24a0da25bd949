// Display text builders, the navigation stack and the selection reader. None of
// these needs a display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

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
  EXPECT_EQ(Nav(pair, "") + Nav(pair, ""), "(null)(null)");
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

// The pair of a selection (in its buffer, read in bounded time) and what was printed.
std::string PairOf(std::string text, std::string *printed = nullptr) {
  char l[LABEL_SIZE] = "junk";
  testing::internal::CaptureStdout();
  auto t0 = std::chrono::steady_clock::now();
  wSentenceRead(&text[0], l);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 2.0);
  std::string out = testing::internal::GetCapturedStdout();
  if (printed) *printed = out;
  EXPECT_LT(strlen(l), (size_t)LABEL_SIZE);
  return std::string(l);
}

TEST(SelectionReader, PairsErrorsBoundsAndLinearTimeOnNestedBrackets) {
  std::string printed;
  struct { const char *text, *pair, *printed; } rows[] = {
      {"LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;", "(5,6)", ""},
      {"LB=1=>$OLB=2;LB=7=>$OLB=8;", "(7,8)", "Error: sent.seq\n"},
      {"LB=1=>$OLB=2;junk", "(1,2)", "Error: sentenceRead\n"},
      // A loop followed by a statement: the loop's body does not run on into it.
      {"*[LB=2^i<n=>($OLB=3|$OLB=6)LB=3=>$Oi=+(i,1)^$OLB=2;]LB=6=>$Ox=i^$OLB=7;", "(2,7)", ""}};
  for (const auto &r : rows) {
    EXPECT_EQ(PairOf(r.text, &printed), r.pair) << r.text;
    EXPECT_EQ(printed, r.printed) << r.text;
  }
  // Found by fuzzing: brackets closing before the loop's "=>" made every loop read
  // the rest of the selection again (exponential time).
  std::stringstream ss;
  ss << std::ifstream(QUELL_SOURCE_DIR "/tests/data/hostile/select-nested-brackets.bin").rdbuf();
  ASSERT_FALSE(ss.str().empty());
  std::string shape, deep;
  for (int i = 0; i < 60; i++) shape += "*[?]*[LB=5=>y([;L4)";
  for (int i = 0; i < 1000; i++) deep += "*[LB=2^c=>($OLB=3|$OLB=4)";
  // Cut and hostile texts: never read past the end, the pair stays in its buffer.
  for (std::string c : {ss.str(), shape, deep, std::string("*[LB=2^i<n=>($OLB=3"),
                        std::string("?[LB=2^t>b=>"), std::string("LB=1=>"),
                        "LB=" + std::string(300, 'a') + "=>$OLB=" + std::string(300, 'b') + ";"})
    PairOf(c);
  // Labels too long to form a pair give the empty pair, never a cut one.
  EXPECT_EQ(PairOf("LB=" + std::string(16, 'a') + "=>$OLB=" + std::string(14, 'b') + ";"), "");
  char out[LABEL_SIZE];
  wSentenceRead2("x(3,4)y(5,6)", out);
  EXPECT_STREQ(out, "(3,4)");
  wSentenceRead2(("(" + std::string(200, 'a') + ")").c_str(), out);
  EXPECT_EQ(strlen(out), (size_t)LABEL_SIZE - 1);
}

}  // namespace
