// The pipeline: assumptions to sequents, the per-procedure listing, the
// result text and a whole run twice.
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include "../../core/core.h"
#include "../../program/sentence.h"
#include "../../vcgen/assump.h"
#include "../../prover/proof.h"

namespace {

FormulaPtr Read(const char *text) {
  char *s = strdup(text);
  FormulaPtr f = FormulaAlloc();
  FormulaRead(s, f);
  return f;
}

void PipelineReset() {
  ProcedureListClear();
  AssumptionListClear();
  SequentListClear();
  currentProcedureList = &procedureList;
}

void AddAssumption(FormulaPtr f1, FormulaPtr f2, const char *name) {
  AssumptionListPtr a = &assumptionList;
  while (a->assumption) a = a->assumptionList;
  a->assumption = (AssumptionPtr)calloc(1, sizeof(Assumption));
  a->assumption->formula1 = f1;
  a->assumption->formula2 = f2;
  CopyBounded(a->assumption->procName, sizeof a->assumption->procName, name);
  a->assumptionList = (AssumptionListPtr)calloc(1, sizeof(AssumptionList));
}

void AddProcedure(const char *name) {
  ProcedureListPtr p = &procedureList;
  while (p->procedure) p = p->procedureList;
  p->procedure = (ProcedurePtr)calloc(1, sizeof(Procedure));
  CopyBounded(p->procedure->name, sizeof p->procedure->name, name);
  p->procedureList = (ProcedureListPtr)calloc(1, sizeof(ProcedureList));
}

std::string Listing() {
  Text t;
  TextInit(&t);
  SequentListPrint(&t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

std::string Print(FormulaListPtr p) {
  Text t;
  TextInit(&t);
  FormulaListPrint(p, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

TEST(Pipeline, AssumptionsBecomeRewrittenSplitSequents) {
  PipelineReset();
  AddAssumption(Read("(a>0^b>0)^c<d"), Read("a>0|(b>0|c>0)"), "p");
  AddAssumption(Read("x=x"), Read("y>0"), "q");
  AssumptionListPtr hole = &assumptionList;
  while (hole->assumption) hole = hole->assumptionList;
  hole->assumptionList = (AssumptionListPtr)calloc(1, sizeof(AssumptionList));   // a node without assumption
  AddAssumption(0, 0, "p");
  SequentListPtr tail = AssumptionList2SequentList();
  EXPECT_EQ(tail, sequentListPtr);
  EXPECT_EQ(tail->sequent, nullptr);
  SequentPtr s = sequentList.sequent;
  ASSERT_TRUE(s);
  EXPECT_EQ(Print(s->formulaList1), "a>0,b>0,d>c");
  EXPECT_EQ(Print(s->formulaList2), "a>0,b>0,c>0");
  EXPECT_STREQ(s->remark, "p");
  SequentPtr s2 = sequentList.sequentList->sequent;
  EXPECT_EQ(Print(s2->formulaList1), "$T");
  EXPECT_STREQ(s2->remark, "q");
  // nothing to show: proved, gone at the first compaction
  SequentPtr s3 = sequentList.sequentList->sequentList->sequent;
  ASSERT_TRUE(s3);
  EXPECT_TRUE(s3->proved);
  PactSequentList(&sequentList);
  int n = 0;
  for (SequentListPtr p = &sequentList; p->sequent; p = p->sequentList) n++;
  EXPECT_EQ(n, 2);
  // rebuilding starts again at the head record
  AssumptionList2SequentList();
  EXPECT_EQ(Print(sequentList.sequent->formulaList1), "a>0,b>0,d>c");
}

TEST(Pipeline, ListingPerProcedureInListOrder) {
  PipelineReset();
  AddProcedure("p");
  AddProcedure("empty");
  AddProcedure("q");
  AddAssumption(Read("a>0"), Read("b>0"), "q");
  AddAssumption(Read("c>0"), Read("d>0"), "p");
  AddAssumption(Read("e>0"), 0, "q");
  AddAssumption(Read("f>0"), Read("g>0"), "other");
  AssumptionList2SequentList();
  EXPECT_EQ(Listing(),
            "...p...\n\nc>0\n =>\n  d>0\n\n\n"
            "...empty...\n\n\n"
            "...q...\n\na>0\n =>\n  b>0\n\ne>0\n =>\n  $F\n\n\n");
  PipelineReset();
  EXPECT_EQ(Listing(), "");
}

TEST(Pipeline, ManyProceduresAreListedInLinearTime) {
  PipelineReset();
  const int n = 8000;
  char name[32];
  for (int i = 0; i < n; i++) {
    snprintf(name, sizeof name, "p%d", i);
    AddProcedure(name);
  }
  // appending through remembered tails keeps the setup linear too
  AssumptionListPtr a = &assumptionList;
  for (int i = 0; i < n; i++) {
    snprintf(name, sizeof name, "p%d", n - 1 - i);
    a->assumption = (AssumptionPtr)calloc(1, sizeof(Assumption));
    a->assumption->formula1 = Read("x>0");
    a->assumption->formula2 = Read("y>0");
    CopyBounded(a->assumption->procName, sizeof a->assumption->procName, name);
    a->assumptionList = (AssumptionListPtr)calloc(1, sizeof(AssumptionList));
    a = a->assumptionList;
  }
  AssumptionList2SequentList();
  std::string text = Listing();
  EXPECT_EQ(text.substr(0, 29), "...p0...\n\nx>0\n =>\n  y>0\n\n\n...");
  EXPECT_NE(text.find("...p7999...\n\nx>0\n =>\n  y>0\n\n\n"), std::string::npos);
}

TEST(Pipeline, ResultTextSections) {
  PipelineReset();
  AddProcedure("p");
  AddAssumption(Read("a>0"), Read("b>0"), "p");
  AssumptionList2SequentList();
  Text t;
  TextInit(&t);
  ResultTextBuild(&t);
  std::string r = TextStr(&t);
  TextFree(&t);
  size_t sep = r.find(";;--------------------------------------\n\nRemaining Verification Conditions:\n\n");
  ASSERT_NE(sep, std::string::npos);
  EXPECT_EQ(r.substr(0, 13), "Procedures:\n\n");
  EXPECT_EQ(r.substr(sep + 78), "...p...\n\na>0\n =>\n  b>0\n\n\n");
  EXPECT_FALSE(ResultFileWrite("/nonexistent-dir/result"));
  EXPECT_FALSE(ResultFileWrite(""));
}

TEST(Pipeline, StartProg0TwiceGivesTheSameSequents) {
  PipelineReset();
  char text[] = "{x=a^y=b}%PROC s(%IOP/x:int;%IOP/y:int)==%STM[LB=1=>$Ox=y^$Oy=x^$OLB=2;]{x=a^y=b}";
  StartProg1(text);
  StartProg0();
  std::string first = Listing();
  int assumptions = 0;
  for (AssumptionListPtr a = &assumptionList; a && a->assumption; a = a->assumptionList) assumptions++;
  StartProg0();
  int again = 0;
  for (AssumptionListPtr a = &assumptionList; a && a->assumption; a = a->assumptionList) again++;
  EXPECT_EQ(again, assumptions);
  EXPECT_EQ(Listing(), first);
  EXPECT_NE(first.find("...s...\n\n"), std::string::npos);
  EXPECT_NE(first.find("=>"), std::string::npos);   // a wrong swap keeps a condition
}

}  // namespace
