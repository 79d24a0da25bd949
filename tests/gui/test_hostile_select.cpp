// The selection reader on hostile selections: it reads a loop or case only
// up to its closing bracket, so nested brackets cost linear time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "../../gui/w.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

std::string Select(const std::string &text, std::string *printed, double *seconds) {
  std::string copy = text;
  char l[LABEL_SIZE];
  CaptureStdout();
  auto t0 = std::chrono::steady_clock::now();
  wSentenceRead(&copy[0], l);
  *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  *printed = GetCapturedStdout();
  EXPECT_LT(strlen(l), (size_t)LABEL_SIZE);
  return l;
}

}  // namespace

TEST(HostileSelect, WholeLoopsAndCasesKeepTheirPairs) {
  std::string printed;
  double sec;
  EXPECT_EQ(Select("*[LB=2^i<n=>($OLB=3|$OLB=6)LB=3=>$Oi=+(i,1)^$OLB=2;{x>0}]", &printed, &sec), "(2,6)");
  EXPECT_EQ(printed, "");
  EXPECT_EQ(Select("?[LB=1^a>b=>$OLB=2|~=>$OLB=3;LB=2=>$Om=a^$OLB=4;LB=3=>$Om=b^$OLB=4;]", &printed, &sec),
            "(1,4)");
  EXPECT_EQ(printed, "Error: sent.seq\n");
  // A loop followed by a statement: the loop's body does not run on into it.
  EXPECT_EQ(Select("*[LB=2^i<n=>($OLB=3|$OLB=6)LB=3=>$Oi=+(i,1)^$OLB=2;]LB=6=>$Ox=i^$OLB=7;", &printed,
                   &sec),
            "(2,7)");
  EXPECT_EQ(printed, "");
}

TEST(HostileSelect, NestedBracketsTakeLinearTime) {
  // Found by fuzzing: brackets that close before the loop's "=>" made every
  // loop read the rest of the selection again (exponential time).
  std::string text;
  FILE *f = fopen(QUELL_SOURCE_DIR "/tests/data/hostile/select-nested-brackets.bin", "rb");
  ASSERT_NE(f, nullptr);
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  fclose(f);
  std::string printed;
  double sec;
  Select(text, &printed, &sec);
  EXPECT_LT(sec, 2.0);
  // The same shape, made longer (each repetition doubled the time).
  std::string shape;
  for (int i = 0; i < 60; i++) shape += "*[?]*[LB=5=>y([;L4)";
  Select(shape, &printed, &sec);
  EXPECT_LT(sec, 2.0);
  std::string cases;
  for (int i = 0; i < 60; i++) cases += "?[]?[;";
  Select(cases, &printed, &sec);
  EXPECT_LT(sec, 2.0);
}
