// The pipeline: assumptions to sequents, the per-procedure listing, the result
// text and a whole run twice.
#include <cstring>

#include "../../core/core.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"
#include "coretest.h"

namespace {

template <class T> T *New() { return (T *)calloc(1, sizeof(T)); }
FormulaPtr Read(const char *text) {
  FormulaPtr f = text ? FormulaAlloc() : nullptr;
  if (f) FormulaRead(strdup(text), f);
  return f;
}
// Appends to the emptied lists through remembered tails, so long setups stay linear.
struct Lists {
  AssumptionListPtr a = &assumptionList;
  ProcedureListPtr p = &procedureList;
  Lists() { ProcedureListClear(), AssumptionListClear(), SequentListClear(), currentProcedureList = p; }
  void Assume(const char *f1, const char *f2, const std::string &name) {
    a->assumption = New<Assumption>();
    a->assumption->formula1 = Read(f1), a->assumption->formula2 = Read(f2);
    CopyBounded(a->assumption->procName, sizeof a->assumption->procName, name.c_str());
    a = a->assumptionList = New<AssumptionList>();
  }
  void Procedure(const std::string &name) {
    p->procedure = New<::Procedure>();
    CopyBounded(p->procedure->name, sizeof p->procedure->name, name.c_str());
    p = p->procedureList = New<ProcedureList>();
  }
};
std::string Listing() { return Str(0, [](int, Text *t) { SequentListPrint(t); }); }
std::string Sides(SequentPtr s) {
  return Str(s->formulaList1, FormulaListPrint) + " " + Str(s->formulaList2, FormulaListPrint);
}

TEST(Pipeline, AssumptionsBecomeRewrittenSplitSequents) {
  Lists l;
  l.Assume("(a>0^b>0)^c<d", "a>0|(b>0|c>0)", "p");
  l.Assume("x=x", "y>0", "q");
  l.Assume(nullptr, nullptr, "p");  // an assumption without formulas: nothing to show, proved
  AssumptionList2SequentList();
  SequentListPtr n = sequentList.sequentList;
  ASSERT_TRUE(sequentList.sequent && n->sequent && n->sequentList->sequent);
  EXPECT_EQ(Sides(sequentList.sequent), "a>0,b>0,d>c a>0,b>0,c>0");
  EXPECT_TRUE(!strcmp(sequentList.sequent->remark, "p") && !strcmp(n->sequent->remark, "q"));
  EXPECT_TRUE(n->sequentList->sequent->proved);
  PactSequentList(&sequentList);  // gone at the first compaction
  EXPECT_EQ(sequentList.sequentList->sequentList->sequent, nullptr);
  AssumptionList2SequentList();  // rebuilding starts again at the head record
  EXPECT_EQ(Sides(sequentList.sequent), "a>0,b>0,d>c a>0,b>0,c>0");
}

TEST(Pipeline, ListingPerProcedureInListOrderAndResultText) {
  Lists l;
  for (const char *name : {"p", "empty", "q"}) l.Procedure(name);
  l.Assume("a>0", "b>0", "q");
  l.Assume("c>0", "d>0", "p");
  l.Assume("e>0", nullptr, "q");
  l.Assume("f>0", "g>0", "other");  // no such procedure: not listed
  AssumptionList2SequentList();
  const std::string listing = "...p...\n\nc>0\n =>\n  d>0\n\n\n...empty...\n\n\n"
                              "...q...\n\na>0\n =>\n  b>0\n\ne>0\n =>\n  $F\n\n\n";
  EXPECT_EQ(Listing(), listing);
  std::string r = Str(0, [](int, Text *t) { ResultTextBuild(t); });
  EXPECT_TRUE(Has(r, ";;--------------------------------------\n\nRemaining Verification Conditions:\n\n" +
                         listing)) << r;
  EXPECT_FALSE(ResultFileWrite("/nonexistent-dir/result") || ResultFileWrite(""));
  // 8000 procedures, conditions in reverse order: listed in procedure order, in linear time.
  Lists many;
  EXPECT_EQ(Listing(), "");
  for (int i = 0; i < 8000; i++) many.Procedure("p" + std::to_string(i));
  for (int i = 7999; i >= 0; i--) many.Assume("x>0", "y>0", "p" + std::to_string(i));
  AssumptionList2SequentList();
  std::string text = Listing();
  EXPECT_EQ(text.substr(0, 29), "...p0...\n\nx>0\n =>\n  y>0\n\n\n...");
  EXPECT_TRUE(Has(text, "\n...p7999...\n\nx>0\n =>\n  y>0\n\n\n"));
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
  EXPECT_TRUE(count() == assumptions && Listing() == first);
  EXPECT_TRUE(Has(first, "=>"));  // a wrong swap keeps a condition
}

}  // namespace
