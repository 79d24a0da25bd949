#include <gtest/gtest.h>

#include <string>

#include "termtest.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

static std::string PrintAssigns(AssignListPtr p) {
  Text s;
  TextInit(&s);
  AssignListPrint(p, &s);
  std::string r = TextStr(&s);
  TextFree(&s);
  return r;
}

TEST(Assign, ReadAndPrintLists) {
  AssignListPtr p = static_cast<AssignListPtr>(calloc(1, sizeof(AssignList)));
  CaptureStdout();
  EXPECT_EQ(AssignReadList("$Ox=1^$Oa[i]=y:rest", p), 14);
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(PrintAssigns(p), "$Ox=1^$Oa[i]=y");
  EXPECT_EQ(p->assign->termLeft->type, 2);
  EXPECT_EQ(p->assignList->assign->termLeft->type, 1);
  EXPECT_EQ(p->assignList->assignList, nullptr);
  FreeAssigns(p);

  EXPECT_EQ(PrintAssigns(nullptr), "");

  p = ReadAssigns("$Ox=+(x,1)^$Oy=f(a[i],b)");
  Text s;
  TextInit(&s);
  TextAppend(&s, "<");
  AssignPrint(p->assignList->assign, &s);
  EXPECT_STREQ(TextStr(&s), "<$Oy=f(a[i],b)");
  TextFree(&s);
  FreeAssigns(p);
}

TEST(Assign, Messages) {
  AssignPtr a = static_cast<AssignPtr>(calloc(1, sizeof(Assign)));
  CaptureStdout();
  EXPECT_EQ(AssignRead("x=1", a), 3);
  EXPECT_EQ(GetCapturedStdout(), "Error: *** Missing $O ***\n");
  EXPECT_STREQ(a->termLeft->name, "x");
  EXPECT_STREQ(a->termRight->name, "1");
  TermFree(a->termLeft);
  TermFree(a->termRight);

  *a = Assign{nullptr, nullptr};
  CaptureStdout();
  EXPECT_EQ(AssignRead("$Ox", a), 3);
  EXPECT_EQ(GetCapturedStdout(), "Error: *** Missing = ***\nError: *** Missing name ***\n");
  EXPECT_EQ(a->termRight->type, 2);
  EXPECT_STREQ(a->termRight->name, "");
  TermFree(a->termLeft);
  TermFree(a->termRight);

  // Only a name or an array element can be assigned.
  *a = Assign{nullptr, nullptr};
  CaptureStdout();
  EXPECT_EQ(AssignRead("$Of(x)=1", a), 8);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out.rfind("Error: ", 0), 0u);
  EXPECT_NE(out.find("name or an array element"), std::string::npos);
  TermFree(a->termLeft);
  TermFree(a->termRight);
  free(a);

  AssignListPtr p = static_cast<AssignListPtr>(calloc(1, sizeof(AssignList)));
  CaptureStdout();
  EXPECT_EQ(AssignReadList("$Ox=1^", p), 6);
  EXPECT_EQ(GetCapturedStdout(),
            "Error: *** Missing $O ***\nError: *** Missing name ***\n"
            "Error: *** Missing = ***\nError: *** Missing name ***\n");
  ASSERT_NE(p->assignList, nullptr);
  EXPECT_STREQ(p->assignList->assign->termLeft->name, "");
  EXPECT_STREQ(p->assignList->assign->termRight->name, "");
  FreeAssigns(p);
}
