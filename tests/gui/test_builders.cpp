// Display text builders, condensed printers, the navigation stack and the
// statement reader for selected text. None of these needs a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "../../formula/formula.h"
#include "../../gui/w.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"

namespace {

const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM ["
    "LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";

void Reset() {
  ProcedureListClear();
  AssumptionListClear();
  SequentListClear();
  wPostCleanStack();
}

// Loads literal program text; the loader keeps using the storage.
void Load(const char *text) { StartProg1(strdup(text)); }

std::string Str(const char *s) { return s ? s : "(null)"; }

class Builders : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
};

TEST_F(Builders, WorkedExampleCondensedForms) {
  Load(kExample);
  ProcedurePtr p = Procedure2Ptr("p");
  ASSERT_NE(p, nullptr);
  Text t;
  TextInit(&t);
  ProcedurePrint2(p, &t);
  EXPECT_EQ(std::string(TextStr(&t)),
            "{ a>0 }\n%PROC p(%INP/a:int;%IOP/b:int)==\n%LOC [int:t]\n%STM[ \n\t(1,5) \n]\n{ b>0 }\n");
  TextFree(&t);
  EXPECT_EQ(Str(wGetProcContent2("p")),
            "{ a>0 }\n%PROC p(%INP/a:int;%IOP/b:int)==\n%LOC [int:t]\n%STM[ \n\t(1,5) \n]\n{ b>0 }\n");
  EXPECT_EQ(currentProcedure, p);

  char pair[LABEL_SIZE] = "(1,5)";
  std::string seq = Str(wGetSentenceContent2(pair));
  EXPECT_NE(seq.find("\n   (1,2);\n   (2,5);\n"), std::string::npos) << seq;
  EXPECT_EQ(seq.rfind("{ ", 0), 0u) << seq;
  EXPECT_EQ(seq.substr(seq.size() - 6), "\n{  }\n") << seq;   // nothing generated yet
  strcpy(pair, "(2,5)");
  std::string cs = Str(wGetSentenceContent2(pair));
  EXPECT_NE(cs.find("   ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n      (3,5);\n      (4,5)\n   ]\n"),
            std::string::npos)
      << cs;
  EXPECT_EQ(n, 2);

  // The full form prints the parts' text.
  std::string full = Str(wGetSentenceContent("(2,5)"));
  EXPECT_NE(full.find("LB=3=>$Ob=t^$OLB=5;"), std::string::npos) << full;
  Text e;
  TextInit(&e);
  SentencePrint2("(1,2)", &e, 2);
  EXPECT_EQ(std::string(TextStr(&e)), "  LB=1=>$Ot=a^$OLB=2;\n");
  TextFree(&e);
}

TEST_F(Builders, ListsAndConditions) {
  EXPECT_EQ(Str(wGetProcList()), "");
  Load(kExample);
  Load("{x>0}%PROC q()==%STM [LB=1=>$Ox=x^$OLB=2;]{x>0}");
  EXPECT_EQ(Str(wGetProcList()), "p\nq\n");
  EXPECT_EQ(Str(wGetSentenceList("p")), "(1,2)\n(3,5)\n(4,5)\n(2,5)\n(1,5)\n");
  // No %LOC line for an empty local part.
  std::string q = Str(wGetProcContent2("q"));
  EXPECT_EQ(q.find("%LOC"), std::string::npos) << q;
  EXPECT_NE(q.find("%PROC q()==\n%STM[ \n\t(1,2) \n]\n"), std::string::npos) << q;
  EXPECT_EQ(Str(wGetProcPrePostCond("p")), "Pre-Condition: \n\na>0\nPost-Condition: \n\nb>0");
  EXPECT_EQ(wGetProcPrePostCond("zz"), nullptr);
  EXPECT_EQ(wGetSentPrePostCond("(7,7)"), nullptr);
}

TEST_F(Builders, NamesThatNameNothingNeverCrash) {
  Load(kExample);
  ProcedurePtr p = Procedure2Ptr("p");
  currentProcedure = p;
  EXPECT_EQ(Str(wGetSentenceList("nosuch")), "");
  EXPECT_EQ(Str(wGetProcContent("pp")), "");
  EXPECT_EQ(Str(wGetProcContent2("")), "");
  EXPECT_EQ(currentProcedure, p);
  EXPECT_EQ(wGetSentenceContent("(9,9)"), nullptr);
  EXPECT_EQ(wGetSentenceContent(""), nullptr);
  Text t;
  TextInit(&t);
  SentencePrint2("(9,9)", &t, 4);
  ProcedurePrint2(nullptr, &t);
  EXPECT_EQ(t.len, 0u);
  TextFree(&t);
}

TEST_F(Builders, NavigationStackBounds) {
  Load(kExample);
  currentProcedure = Procedure2Ptr("p");
  char pair[LABEL_SIZE] = "(1,5)";
  ASSERT_NE(wGetSentenceContent2(pair), nullptr);
  EXPECT_EQ(n, 1);
  pair[0] = 0;
  EXPECT_EQ(wGetSentenceContent2(pair), nullptr);   // back past the first entry
  EXPECT_EQ(n, 0);
  EXPECT_EQ(wGetSentenceContent2(pair), nullptr);   // never below 0
  EXPECT_EQ(n, 0);

  // Descend two levels and go back.
  strcpy(pair, "(1,5)");
  wGetSentenceContent2(pair);
  strcpy(pair, "(2,5)");
  wGetSentenceContent2(pair);
  strcpy(pair, "(3,5)");
  wGetSentenceContent2(pair);
  pair[0] = 0;
  EXPECT_NE(Str(wGetSentenceContent2(pair)).find("(3,5);"), std::string::npos);
  EXPECT_STREQ(pair, "(2,5)");
  pair[0] = 0;
  EXPECT_NE(wGetSentenceContent2(pair), nullptr);
  EXPECT_STREQ(pair, "(1,5)");
  pair[0] = 0;
  EXPECT_EQ(wGetSentenceContent2(pair), nullptr);

  // A full stack refuses the 31st entry and keeps showing its top.
  wPostCleanStack();
  for (int i = 0; i < NAV_DEPTH; i++) {
    strcpy(pair, i == NAV_DEPTH - 1 ? "(2,5)" : "(1,5)");
    wGetSentenceContent2(pair);
  }
  EXPECT_EQ(n, NAV_DEPTH);
  strcpy(pair, "(3,5)");
  std::string top = Str(wGetSentenceContent2(pair));
  EXPECT_EQ(n, NAV_DEPTH);
  EXPECT_STREQ(pair, "(2,5)");
  EXPECT_NE(top.find("?[LB=2"), std::string::npos) << top;

  // A text too long to be a label pair is not pushed.
  wPostCleanStack();
  strcpy(pair, "(1,5)");
  wGetSentenceContent2(pair);
  char big[SELECT_SIZE];
  memset(big, 'x', 100);
  big[0] = '(';
  big[100] = 0;
  EXPECT_NE(wGetSentenceContent2(big), nullptr);
  EXPECT_EQ(n, 1);
  EXPECT_STREQ(big, "(1,5)");
}

TEST_F(Builders, PairOfASelection) {
  char out[LABEL_SIZE];
  wSentenceRead2("   (1,2);", out);
  EXPECT_STREQ(out, "(1,2)");
  wSentenceRead2("x(3,4)y(5,6)", out);
  EXPECT_STREQ(out, "(3,4)");
  wSentenceRead2("no pair", out);
  EXPECT_STREQ(out, "");
  wSentenceRead2("(7,8", out);
  EXPECT_STREQ(out, "(7,8");
  std::string longSel = "(" + std::string(200, 'a') + ")";
  wSentenceRead2(longSel.c_str(), out);
  EXPECT_EQ(strlen(out), (size_t)LABEL_SIZE - 1);
}

TEST_F(Builders, LongTextsAreCutInSss) {
  std::string prog;
  for (int i = 0; i < 1500; i++)
    prog += "{x>0}%PROC proc" + std::to_string(i) + "()==%STM[LB=1=>$Ox=x^$OLB=2;]{x>0}";
  Load(prog.c_str());
  std::string list = Str(wGetProcList());
  EXPECT_LT(list.size(), (size_t)SSS_SIZE);
  EXPECT_EQ(list.rfind("proc0\nproc1\n", 0), 0u);
  EXPECT_NE(list.find("text cut"), std::string::npos);
}

// The statement reader for selected text.
std::string PairOf(const std::string &text, std::string *out = nullptr) {
  std::string copy = text;
  char l[LABEL_SIZE] = "junk";
  testing::internal::CaptureStdout();
  wSentenceRead(&copy[0], l);
  std::string printed = testing::internal::GetCapturedStdout();
  if (out) *out = printed;
  return l;
}

TEST(SelectionReader, PairsOfStatementTexts) {
  std::string printed;
  EXPECT_EQ(PairOf("LB=1=>$Ot=a^$OLB=2;", &printed), "(1,2)");
  EXPECT_EQ(printed, "");
  EXPECT_EQ(PairOf("LB=1=>$Ox=y^$OLB=2;LB=2=>$Oy=x^$OLB=3;", &printed), "(1,3)");
  EXPECT_EQ(printed, "");
  EXPECT_EQ(PairOf("LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;"), "(5,6)");
  EXPECT_EQ(PairOf("*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=2;{i<s(n)}]", &printed), "(2,4)");
  EXPECT_EQ(printed, "");
  EXPECT_EQ(PairOf("?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]", &printed),
            "(2,5)");
  EXPECT_EQ(printed, "Error: sent.seq\n");
  // A statement and a case after it, as selected in the full printed form.
  EXPECT_EQ(PairOf("LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;"
                   "LB=4=>$OLB=5;]"),
            "(1,5)");
  EXPECT_EQ(PairOf("LB=1=>$OLB=2;LB=7=>$OLB=8;", &printed), "(7,8)");
  EXPECT_EQ(printed, "Error: sent.seq\n");
  EXPECT_EQ(PairOf("LB=1=>$OLB=2;junk", &printed), "(1,2)");
  EXPECT_EQ(printed, "Error: sentenceRead\n");
}

TEST(SelectionReader, CutAndHostileTextsStayInside) {
  const char *cuts[] = {"*[", "?[", "*[LB=2^", "*[LB=2^i<n=>($OLB=3", "?[LB=2^t>b=>",
                        "LB=", "LB=1=>", "{a>0", "*[LB=2^c=>($OLB=3|$OLB=4)LB=3=>$OLB=2",
                        "?[LB=2^c=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=5;"};
  for (const char *c : cuts) PairOf(c);   // must not read past the end
  std::string deep;
  for (int i = 0; i < 1000; i++) deep += "*[LB=2^c=>($OLB=3|$OLB=4)";
  std::string printed;
  PairOf(deep, &printed);
  std::string longLabel = "LB=" + std::string(300, 'a') + "=>$OLB=" + std::string(300, 'b') + ";";
  EXPECT_LT(PairOf(longLabel).size(), (size_t)LABEL_SIZE);
}

TEST_F(Builders, ReadingASelectionTwiceChangesNothing) {
  Load(kExample);
  std::string before = Str(wGetProcContent("p"));
  std::string sel = "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$Ox=x^$OLB=5;]";
  EXPECT_EQ(PairOf(sel), "(2,5)");
  EXPECT_EQ(PairOf(sel), "(2,5)");
  EXPECT_EQ(Str(wGetProcContent("p")), before);
}

}  // namespace
