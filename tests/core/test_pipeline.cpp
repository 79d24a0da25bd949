// The pipeline: assumptions to sequents, the per-procedure listing, the result
// text and a whole run twice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "../../core/core.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"

namespace {

template <class T>
T *New() { return (T *)calloc(1, sizeof(T)); }
FormulaPtr Read(const char *text) {
  FormulaPtr f = FormulaAlloc();
  FormulaRead(strdup(text), f);
  return f;
}

// Appends to the lists through remembered tails, so long setups stay linear.
struct Lists {
  AssumptionListPtr a = &assumptionList;
  ProcedureListPtr p = &procedureList;
  Lists() {
    ProcedureListClear();
    AssumptionListClear();
    SequentListClear();
    currentProcedureList = &procedureList;
  }
  void Assume(const char *f1, const char *f2, const std::string &name) {
    a->assumption = New<Assumption>();
    a->assumption->formula1 = f1 ? Read(f1) : nullptr;
    a->assumption->formula2 = f2 ? Read(f2) : nullptr;
    CopyBounded(a->assumption->procName, sizeof a->assumption->procName, name.c_str());
    a = a->assumptionList = New<AssumptionList>();
  }
  void Procedure(const std::string &name) {
    p->procedure = New<::Procedure>();
    CopyBounded(p->procedure->name, sizeof p->procedure->name, name.c_str());
    p = p->procedureList = New<ProcedureList>();
  }
};

std::string Printed(const std::function<void(Text *)> &print) {
  Text t;
  TextInit(&t);
  print(&t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}
std::string Listing() { return Printed(SequentListPrint); }
std::string Print(FormulaListPtr p) { return Printed([&](Text *t) { FormulaListPrint(p, t); }); }

TEST(Pipeline, AssumptionsBecomeRewrittenSplitSequents) {
  Lists l;
  l.Assume("(a>0^b>0)^c<d", "a>0|(b>0|c>0)", "p");
  l.Assume("x=x", "y>0", "q");
  l.Assume(nullptr, nullptr, "p");  // an assumption without formulas
  AssumptionList2SequentList();
  SequentPtr s = sequentList.sequent, s2 = sequentList.sequentList->sequent;
  ASSERT_TRUE(s && s2);
  EXPECT_EQ(Print(s->formulaList1) + " " + Print(s->formulaList2), "a>0,b>0,d>c a>0,b>0,c>0");
  EXPECT_STREQ(s->remark, "p");
  EXPECT_STREQ(s2->remark, "q");
  // Nothing to show: proved, gone at the first compaction.
  SequentPtr s3 = sequentList.sequentList->sequentList->sequent;
  ASSERT_TRUE(s3);
  EXPECT_TRUE(s3->proved);
  PactSequentList(&sequentList);
  EXPECT_EQ(sequentList.sequentList->sequentList->sequent, nullptr);
  AssumptionList2SequentList();  // rebuilding starts again at the head record
  EXPECT_EQ(Print(sequentList.sequent->formulaList1), "a>0,b>0,d>c");
}

TEST(Pipeline, ListingPerProcedureInListOrderAndResultText) {
  Lists l;
  for (const char *name : {"p", "empty", "q"}) l.Procedure(name);
  l.Assume("a>0", "b>0", "q");
  l.Assume("c>0", "d>0", "p");
  l.Assume("e>0", nullptr, "q");
  l.Assume("f>0", "g>0", "other");
  AssumptionList2SequentList();
  const std::string listing = "...p...\n\nc>0\n =>\n  d>0\n\n\n...empty...\n\n\n"
                              "...q...\n\na>0\n =>\n  b>0\n\ne>0\n =>\n  $F\n\n\n";
  EXPECT_EQ(Listing(), listing);
  std::string r = Printed(ResultTextBuild);
  const std::string sep =
      ";;--------------------------------------\n\nRemaining Verification Conditions:\n\n";
  ASSERT_NE(r.find(sep), std::string::npos) << r;
  EXPECT_EQ(r.substr(r.find(sep) + sep.size()), listing);
  EXPECT_FALSE(ResultFileWrite("/nonexistent-dir/result"));
  EXPECT_FALSE(ResultFileWrite(""));
  Lists empty;
  EXPECT_EQ(Listing(), "");
  // 8000 procedures, conditions in reverse order: listed in linear time.
  const int n = 8000;
  for (int i = 0; i < n; i++) empty.Procedure("p" + std::to_string(i));
  for (int i = 0; i < n; i++) empty.Assume("x>0", "y>0", "p" + std::to_string(n - 1 - i));
  AssumptionList2SequentList();
  std::string text = Listing();
  EXPECT_EQ(text.substr(0, 29), "...p0...\n\nx>0\n =>\n  y>0\n\n\n...");
  EXPECT_NE(text.find("...p7999...\n\nx>0\n =>\n  y>0\n\n\n"), std::string::npos);
}

TEST(Pipeline, StartProg0TwiceGivesTheSameSequents) {
  Lists l;
  char text[] = "{x=a^y=b}%PROC s(%IOP/x:int;%IOP/y:int)==%STM[LB=1=>$Ox=y^$Oy=x^$OLB=2;]{x=a^y=b}";
  StartProg1(text);
  auto count = [] {
    int k = 0;
    for (AssumptionListPtr a = &assumptionList; a && a->assumption; a = a->assumptionList) k++;
    return k;
  };
  StartProg0();
  std::string first = Listing();
  int assumptions = count();
  StartProg0();
  EXPECT_EQ(count(), assumptions);
  EXPECT_EQ(Listing(), first);
  EXPECT_NE(first.find("=>"), std::string::npos);  // a wrong swap keeps a condition
}

}  // namespace
