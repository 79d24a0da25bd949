#include <gtest/gtest.h>

#include <string>

#include "formulatest.h"

static std::string Nice(const std::string &s, int width = NICE_WIDTH) {
  Text t;
  TextInit(&t);
  TextAppend(&t, "pre:");
  NiceFormula(s.c_str(), &t, width);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r.substr(4);
}

TEST(NiceFormula, WorkedExample) {
  EXPECT_EQ(Nice("((alpha>0^beta>0)|((gamma>0^delta>0)|(epsilon>0^zeta>0)))"),
            "((alpha>0^beta>0)|((gamma>0^delta>0)|\n   (epsilon>0^zeta>0)))");
}

TEST(NiceFormula, SegmentsWidthAndIndent) {
  EXPECT_EQ(Nice(""), "");
  std::string longName(100, 'x');
  EXPECT_EQ(Nice(longName), longName);
  // six segments of ten characters, one opening bracket in the first
  std::string s = "(aaaaaaaa^bbbbbbbbb^ccccccccc^ddddddddd^eeeeeeeee^fffffffff";
  EXPECT_EQ(Nice(s), "(aaaaaaaa^bbbbbbbbb^ccccccccc^\n ddddddddd^eeeeeeeee^fffffffff");
  // a segment longer than the width stays whole
  std::string big = "p(" + std::string(60, 'y') + ")^q";
  EXPECT_EQ(Nice(big), "p(" + std::string(60, 'y') + ")^\nq");

  Text seg;
  TextInit(&seg);
  int depth = 0;
  EXPECT_EQ(GetLine(&seg, &depth, "(a[i]|b"), 6);
  EXPECT_STREQ(TextStr(&seg), "(a[i]|");
  EXPECT_EQ(depth, 1);
  TextClear(&seg);
  EXPECT_EQ(GetLine(&seg, &depth, "b)"), 2);
  EXPECT_EQ(depth, 0);
  TextClear(&seg);
  EXPECT_EQ(GetLine(&seg, &depth, ""), 0);
  EXPECT_STREQ(TextStr(&seg), "");
  TextFree(&seg);

  // the wrapped text of a long formula is complete and longer than the input
  std::string f;
  for (int i = 0; i < 3000; i++) f += "(x" + std::to_string(i) + "=1^";
  f += "y" + std::string(3000, ')');
  std::string w = Nice(f);
  std::string joined;
  for (char c : w)
    if (c != '\n' && c != ' ') joined += c;
  EXPECT_EQ(joined, f);
  EXPECT_GT(w.size(), f.size());
}
