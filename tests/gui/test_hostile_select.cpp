// The selection reader on hostile selections: a loop or case is read only up to
// its closing bracket, so nested brackets cost linear time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "../../gui/w.h"

TEST(HostileSelect, NestedBracketsTakeLinearTimeAndKeepTheirPairs) {
  auto read = [](std::string text, std::string *printed) {
    char l[LABEL_SIZE];
    testing::internal::CaptureStdout();
    auto t0 = std::chrono::steady_clock::now();
    wSentenceRead(&text[0], l);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 2.0);
    *printed = testing::internal::GetCapturedStdout();
    EXPECT_LT(strlen(l), (size_t)LABEL_SIZE);
    return std::string(l);
  };
  std::string printed;
  // A loop followed by a statement: the loop's body does not run on into it.
  EXPECT_EQ(read("*[LB=2^i<n=>($OLB=3|$OLB=6)LB=3=>$Oi=+(i,1)^$OLB=2;]LB=6=>$Ox=i^$OLB=7;", &printed),
            "(2,7)");
  EXPECT_EQ(printed, "");
  // Found by fuzzing: brackets closing before the loop's "=>" made every loop read
  // the rest of the selection again (exponential time).
  std::stringstream ss;
  ss << std::ifstream(QUELL_SOURCE_DIR "/tests/data/hostile/select-nested-brackets.bin").rdbuf();
  ASSERT_FALSE(ss.str().empty());
  read(ss.str(), &printed);
  std::string shape;
  for (int i = 0; i < 60; i++) shape += "*[?]*[LB=5=>y([;L4)";
  read(shape, &printed);
}
