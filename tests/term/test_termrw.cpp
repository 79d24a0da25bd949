#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "termtest.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(TermRead, NamesApplicationsAndSeparators) {
  TermPtr t = TermAlloc();
  EXPECT_EQ(TermRead("x+1", t), 3);
  EXPECT_EQ(t->type, 2);
  EXPECT_STREQ(t->name, "x+1");
  TermFree(t);

  t = TermAlloc();
  EXPECT_EQ(TermRead("+(x,1)=y", t), 6);
  EXPECT_EQ(t->type, 3);
  EXPECT_STREQ(t->name, "+");
  ASSERT_NE(t->termList, nullptr);
  EXPECT_STREQ(t->termList->term->name, "x");
  ASSERT_NE(t->termList->termList, nullptr);
  EXPECT_STREQ(t->termList->termList->term->name, "1");
  EXPECT_EQ(t->termList->termList->termList, nullptr);
  TermFree(t);

  t = TermAlloc();
  EXPECT_EQ(TermRead("a->b", t), 1);
  EXPECT_STREQ(t->name, "a");
  TermFree(t);

  t = TermAlloc();
  EXPECT_EQ(TermRead("a-b>c", t), 3);
  EXPECT_STREQ(t->name, "a-b");
  TermFree(t);

  t = TermAlloc();
  EXPECT_EQ(TermRead("a[i][j]", t), 4);
  EXPECT_EQ(t->type, 1);
  EXPECT_EQ(t->arraySubList, nullptr);
  TermFree(t);

  char w[NAME_SIZE];
  EXPECT_EQ(GetWord("$Ox.y;{}%?\"s\"|z", w), 13);
  EXPECT_STREQ(w, "$Ox.y;{}%?\"s\"");
  EXPECT_EQ(GetWord("", w), 0);
  EXPECT_STREQ(w, "");
}

TEST(TermRead, Messages) {
  CaptureStdout();
  TermPtr t = TermAlloc();
  EXPECT_EQ(TermRead("(x)", t), 3);
  EXPECT_EQ(GetCapturedStdout(), "Error: *** Missing name ***\n");
  EXPECT_STREQ(t->name, "");
  EXPECT_EQ(t->type, 3);
  EXPECT_STREQ(t->termList->term->name, "x");
  TermFree(t);

  CaptureStdout();
  t = TermAlloc();
  EXPECT_EQ(TermRead("f(a,b", t), 5);
  EXPECT_EQ(GetCapturedStdout(), "Error: *** Missing ) ***\n");
  EXPECT_EQ(t->type, 3);
  EXPECT_NE(t->termList->termList, nullptr);
  EXPECT_EQ(t->termList->termList->termList, nullptr);
  TermFree(t);

  CaptureStdout();
  t = TermAlloc();
  EXPECT_EQ(TermRead("a[i)", t), 3);
  EXPECT_EQ(GetCapturedStdout(), "Error: *** Missing ] ***\n");
  TermFree(t);

  CaptureStdout();
  t = TermAlloc();
  EXPECT_EQ(TermRead("", t), 0);
  EXPECT_EQ(GetCapturedStdout(), "Error: *** Missing name ***\n");
  EXPECT_EQ(t->type, 2);
  EXPECT_STREQ(t->name, "");
  TermFree(t);

  CaptureStdout();
  t = TermAlloc();
  EXPECT_EQ(TermRead("f()", t), 3);
  EXPECT_EQ(GetCapturedStdout(), "Error: *** Missing name ***\n");
  ASSERT_NE(t->termList, nullptr);
  EXPECT_STREQ(t->termList->term->name, "");
  EXPECT_EQ(t->termList->termList, nullptr);
  TermFree(t);
}

TEST(TermRead, LongNamesAreCutAndConsumed) {
  std::string longName(3000, 'x');
  std::string text = longName + "(y)";
  CaptureStdout();
  TermPtr t = TermAlloc();
  EXPECT_EQ(TermRead(text.c_str(), t), 3003);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out.rfind("Error: ", 0), 0u);
  EXPECT_EQ(strlen(t->name), static_cast<size_t>(NAME_SIZE - 1));
  EXPECT_EQ(t->type, 3);
  EXPECT_STREQ(t->termList->term->name, "y");
  TermFree(t);

  // Exactly 2047 characters fit without a message.
  std::string fits(NAME_SIZE - 1, 'n');
  CaptureStdout();
  t = ReadTerm(fits.c_str());
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(PrintTerm(t), fits);
  TermFree(t);

  char w[NAME_SIZE];
  CaptureStdout();
  EXPECT_EQ(GetWord(text.c_str(), w), 3000);
  EXPECT_NE(GetCapturedStdout(), "");
  EXPECT_EQ(strlen(w), static_cast<size_t>(NAME_SIZE - 1));

  t = TermAlloc();
  CaptureStdout();
  TermSetName(t, longName.c_str());
  EXPECT_NE(GetCapturedStdout(), "");
  EXPECT_EQ(strlen(t->name), static_cast<size_t>(NAME_SIZE - 1));
  TermFree(t);
}

static std::string Nested(int depth) {
  std::string s;
  for (int i = 0; i < depth; i++) s += "f(";
  s += "x";
  for (int i = 0; i < depth; i++) s += ")";
  return s;
}

TEST(TermRead, NestingIsBounded) {
  // Within the bound: read, print, copy, compare and free all work.
  std::string deep = Nested(3000);
  CaptureStdout();
  TermPtr t = ReadTerm(deep.c_str());
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(PrintTerm(t), deep);
  TermPtr c = TermCopy(t);
  EXPECT_TRUE(TermEqual(t, c));
  EXPECT_EQ(TermSize(c, 100000), 3001);
  TermFree(c);
  TermFree(t);

  // Past the bound: an Error line, the whole text consumed, no overflow.
  std::string tooDeep = Nested(MAX_NEST_DEPTH + 50) + ",z";
  CaptureStdout();
  t = TermAlloc();
  int n = TermRead(tooDeep.c_str(), t);
  EXPECT_EQ(GetCapturedStdout(), "Error: *** Term nested too deeply ***\n");
  EXPECT_EQ(n, static_cast<int>(tooDeep.size()) - 2);
  TermFree(t);

  // Substitution builds deep trees without the reader's bound.
  t = ReadTerm("x");
  AssignListPtr sl = ReadAssigns("$Ox=f(x)");
  for (int i = 0; i < 3000; i++) t = TermSubstSim(t, sl);
  c = TermCopy(t);
  EXPECT_TRUE(TermEqual(t, c));
  EXPECT_EQ(PrintTerm(c), Nested(3000));
  EXPECT_EQ(TermSize(c, 10), 11);
  TermFree(c);
  TermFree(t);
  FreeAssigns(sl);
}

TEST(TermPrint, RoundTripAndUpdateForm) {
  const char *texts[] = {"x", "f(a,g(b))", "a[i,j]", "a[b[i],c[d[j],+(k,1)]]", "h(a[f(x)],y)"};
  for (const char *s : texts) {
    TermPtr t = ReadTerm(s);
    EXPECT_EQ(PrintTerm(t), s);
    TermFree(t);
  }
  EXPECT_EQ(Subst("a[i]", "$Oa[k]=5"), "a[[(k)->5]][i]");
  EXPECT_EQ(Subst("a[i]", "$Oa=f(c)"), "a[[()->f(c)]][i]");

  TermPtr t = ReadTerm("a[i]");
  t = TermSubstSim(t, nullptr);
  AssignListPtr sl = ReadAssigns("$Oa[k,l]=5^$Oa[m,n]=6");
  t = TermSubstSim(t, sl);
  CaptureStdout();
  ShowExpPairList(t->arraySubList->expPairList);
  EXPECT_EQ(GetCapturedStdout(), "ExpPairList: (k,l)->5,(m,n)->6\n");
  TermFree(t);
  FreeAssigns(sl);
}

TEST(TermCopy, DeepCopyMarkedCopyAndFree) {
  TermPtr t = ReadTerm("f(a[i],g(b))");
  t = TermSubstSim(t, nullptr);
  AssignListPtr sl = ReadAssigns("$Oa[k]=h(z)");
  t = TermSubstSim(t, sl);
  FreeAssigns(sl);
  std::string before = PrintTerm(t);
  EXPECT_EQ(before, "f(a[[(k)->h(z)]][i],g(b))");

  TermPtr c = TermCopy(t);
  EXPECT_EQ(PrintTerm(c), before);
  TermSetName(c->termList->term->arraySubList->expPairList->expPair->exp, "q");
  TermSetName(c->termList->termList->term, "r");
  EXPECT_EQ(PrintTerm(t), before);
  TermFree(c);
  EXPECT_EQ(PrintTerm(t), before);

  TermPtr m = TermCopy1(t);
  EXPECT_EQ(m->type, 13);
  EXPECT_EQ(m->termList->term->type, 1);
  TermFree(m);

  TermListPtr l = TermCopyTermList1(t->termList);
  EXPECT_EQ(l->term->type, 11);
  EXPECT_EQ(l->termList->term->type, 13);
  EXPECT_EQ(l->termList->term->termList->term->type, 2);
  TermFreeTermList(l);

  EXPECT_EQ(TermCopy(nullptr), nullptr);
  TermFree(t);
}
