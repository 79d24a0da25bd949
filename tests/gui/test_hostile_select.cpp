// The selection reader on hostile selections: a loop or case is read only up to
// its closing bracket, so nested brackets cost linear time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "../../gui/w.h"

// The pair of a selection (in its buffer, read in bounded time) and what was printed.
static std::string PairOf(std::string text, std::string *printed) {
  char l[LABEL_SIZE] = "junk";
  testing::internal::CaptureStdout();
  auto t0 = std::chrono::steady_clock::now();
  wSentenceRead(&text[0], l);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 2.0);
  *printed = testing::internal::GetCapturedStdout();
  EXPECT_LT(strlen(l), (size_t)LABEL_SIZE);
  return std::string(l);
}

TEST(HostileSelect, NestedBracketsTakeLinearTimeAndKeepTheirPairs) {
  std::string printed;
  // A loop followed by a statement: the loop's body does not run on into it.
  EXPECT_EQ(PairOf("*[LB=2^i<n=>($OLB=3|$OLB=6)LB=3=>$Oi=+(i,1)^$OLB=2;]LB=6=>$Ox=i^$OLB=7;",
                   &printed), "(2,7)");
  EXPECT_EQ(printed, "");
  // Found by fuzzing: brackets closing before the loop's "=>" made every loop read
  // the rest of the selection again (exponential time).
  std::stringstream ss;
  ss << std::ifstream(QUELL_SOURCE_DIR "/tests/data/hostile/select-nested-brackets.bin").rdbuf();
  ASSERT_FALSE(ss.str().empty());
  PairOf(ss.str(), &printed);
  std::string shape;
  for (int i = 0; i < 60; i++) shape += "*[?]*[LB=5=>y([;L4)";
  PairOf(shape, &printed);
}

TEST(SelectionReader, PairsErrorsAndBounds) {
  std::string printed;
  EXPECT_EQ(PairOf("LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;", &printed), "(5,6)");
  EXPECT_EQ(printed, "");
  EXPECT_EQ(PairOf("LB=1=>$OLB=2;LB=7=>$OLB=8;", &printed), "(7,8)");
  EXPECT_EQ(printed, "Error: sent.seq\n");
  EXPECT_EQ(PairOf("LB=1=>$OLB=2;junk", &printed), "(1,2)");
  EXPECT_EQ(printed, "Error: sentenceRead\n");
  // Cut and hostile texts: never read past the end, the pair stays in its buffer.
  std::string deep;
  for (int i = 0; i < 1000; i++) deep += "*[LB=2^c=>($OLB=3|$OLB=4)";
  for (std::string c : {std::string("*[LB=2^i<n=>($OLB=3"), std::string("?[LB=2^t>b=>"),
                        std::string("LB=1=>"), deep,
                        "LB=" + std::string(300, 'a') + "=>$OLB=" + std::string(300, 'b') + ";"})
    PairOf(c, &printed);
  // Labels too long to form a pair give the empty pair, never a cut one.
  EXPECT_EQ(PairOf("LB=" + std::string(16, 'a') + "=>$OLB=" + std::string(14, 'b') + ";",
                   &printed), "");
  char out[LABEL_SIZE];
  wSentenceRead2("x(3,4)y(5,6)", out);
  EXPECT_STREQ(out, "(3,4)");
  wSentenceRead2(("(" + std::string(200, 'a') + ")").c_str(), out);
  EXPECT_EQ(strlen(out), (size_t)LABEL_SIZE - 1);
}
