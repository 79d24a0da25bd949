#include <gtest/gtest.h>

#include <set>
#include <string>

#include "formulatest.h"

static std::string Next() {
  char s[LABEL_SIZE];
  NewName(s);
  return s;
}

TEST(FreshNames, SequenceAndUniqueness) {
  InitializeNewName();
  EXPECT_EQ(Next(), "#@a");
  EXPECT_EQ(Next(), "#@b");
  EXPECT_EQ(Next(), "#@c");
  InitializeNewName();
  std::string names[2000];
  for (int i = 0; i < 2000; i++) names[i] = Next();
  EXPECT_EQ(names[25], "#@z");
  EXPECT_EQ(names[26], "#@za");
  EXPECT_EQ(names[51], "#@zz");
  EXPECT_EQ(names[52], "#@zza");
  EXPECT_EQ(names[701], "#@" + std::string(27, 'z'));
  EXPECT_EQ(names[700], "#@" + std::string(26, 'z') + "y");
  std::set<std::string> seen;
  for (auto &n : names) {
    EXPECT_LT(n.size(), static_cast<size_t>(LABEL_SIZE));
    EXPECT_EQ(n.substr(0, 2), "#@");
    EXPECT_TRUE(seen.insert(n).second) << n;
  }
  InitializeNewName();
  EXPECT_EQ(Next(), "#@a");
}

TEST(EgenVars, IsNotEgenVar) {
  struct { const char *f; int r; } cases[] = {
      {"@v=x", 0}, {"x=@v", 0}, {"x<@v", 1}, {"p(@v)", 1}, {"x=y", 1}};
  for (auto &c : cases) {
    FormulaPtr f = ReadF(c.f);
    EXPECT_EQ(isNotEgenVar(f, nullptr), c.r) << c.f;
    FormulaFree(f);
  }
}

static std::string Rename(const char *text, int which) {
  FormulaPtr f = ReadF(text);
  f = which == 1 ? EgenVarRename(f) : EgenVarRename2(f);
  std::string r = PrintF(f);
  FormulaFree(f);
  return r;
}

TEST(EgenVars, RenameGivesOneFreshNamePerName) {
  InitializeNewName();
  EXPECT_EQ(Rename("x=@a^y=@b", 1), "(x=#@a^y=#@b)");
  InitializeNewName();
  EXPECT_EQ(Rename("x=@a^y=@a", 1), "(x=#@a^y=#@a)");
  InitializeNewName();
  // found on the sides first, in search order, then everywhere else
  EXPECT_EQ(Rename("f(@b)=@a^p(@c,@a)", 1), "(f(#@b)=#@a^p(#@c,#@a))");
  InitializeNewName();
  // every term position and type: arguments, subscripts, array and
  // application names, predicate atoms, quantifier bodies
  EXPECT_EQ(Rename("@q[@i]=@f(@y)^p(@y)^$Ax:x<@z", 1),
            "(#@a[#@c]=#@b(#@d)^(p(#@d)^$Ax:x<#@e))");
  InitializeNewName();
  EXPECT_EQ(Rename("$A@v:p(@v)", 1), "$A#@a:p(#@a)");
  InitializeNewName();
  EXPECT_EQ(Rename("x=y", 1), "x=y");
}

TEST(EgenVars, Rename2LeavesFreshNames) {
  InitializeNewName();
  EXPECT_EQ(Rename("#@c=#x^#x<@v", 2), "(#@c=#@a^#@a<@v)");
  InitializeNewName();
  // sides first (#a, #f), then the subscript
  EXPECT_EQ(Rename("#a[#i]=#f(#@q)", 2), "#@a[#@c]=#@b(#@q)");

  InitializeNewName();
  FormulaPtr f = ReadF("x=#y^z=@w");
  TermPtr t = FormulaEgenVarFind2(f);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->name, "#y");
  EXPECT_NE(t, static_cast<FormulaPtr>(f->left)->right);
  TermFree(t);
  t = FormulaEgenVarFind(f);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->name, "@w");
  TermFree(t);
  FormulaFree(f);
  f = ReadF("#@a=b");
  EXPECT_EQ(FormulaEgenVarFind2(f), nullptr);
  EXPECT_EQ(FormulaEgenVarFind(f), nullptr);
  FormulaFree(f);
}
