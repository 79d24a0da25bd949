// Display text builders, condensed printers, the navigation stack and the
// statement reader for selected text. None of these needs a display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../../formula/formula.h"
#include "../../gui/w.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"

namespace {

const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM ["
    "LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";

std::string Str(const char *s) { return s ? s : "(null)"; }
bool Has(const std::string &s, const std::string &part) { return s.find(part) != s.npos; }

class Builders : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    ProcedureListClear(), AssumptionListClear(), SequentListClear(), wPostCleanStack();
  }
  // Loads literal program text; the loader keeps using the storage.
  static void Load(const char *text) { StartProg1(strdup(text)); }
  // Steps the navigation stack to `to` ("" goes back); what is shown.
  static std::string Nav(char *pair, const char *to) {
    strcpy(pair, to);
    return Str(wGetSentenceContent2(pair));
  }
};

// The statement reader: the pair of a selection, and what it printed.
std::string PairOf(const std::string &text, std::string *out = nullptr) {
  std::string copy = text;
  char l[LABEL_SIZE] = "junk";
  testing::internal::CaptureStdout();
  wSentenceRead(&copy[0], l);
  std::string printed = testing::internal::GetCapturedStdout();
  if (out) *out = printed;
  EXPECT_LT(strlen(l), (size_t)LABEL_SIZE);
  return l;
}

TEST_F(Builders, PrintedFormsListsAndConditions) {
  EXPECT_EQ(Str(wGetProcList()), "");
  Load(kExample);
  Load("{x>0}%PROC q()==%STM [LB=1=>$Ox=x^$OLB=2;]{x>0}");
  ProcedurePtr p = Procedure2Ptr("p");
  EXPECT_EQ(Str(wGetProcContent2("p")), "{ a>0 }\n%PROC p(%INP/a:int;%IOP/b:int)==\n%LOC [int:t]\n"
                                        "%STM[ \n\t(1,5) \n]\n{ b>0 }\n");
  EXPECT_EQ(currentProcedure, p);
  Text t;
  TextInit(&t);
  SentencePrint2("(1,2)", &t, 2);
  SentencePrint2("(9,9)", &t, 4), ProcedurePrint2(nullptr, &t);   // print nothing
  EXPECT_EQ(std::string(TextStr(&t), t.len), "  LB=1=>$Ot=a^$OLB=2;\n");
  TextFree(&t);
  // The full form prints the parts' text.
  EXPECT_TRUE(Has(Str(wGetSentenceContent("(2,5)")), "LB=3=>$Ob=t^$OLB=5;"));
  EXPECT_EQ(Str(wGetProcList()), "p\nq\n");
  EXPECT_EQ(Str(wGetSentenceList("p")), "(1,2)\n(3,5)\n(4,5)\n(2,5)\n(1,5)\n");
  EXPECT_EQ(Str(wGetProcContent2("q")),   // no %LOC line for an empty local part
            "{ x>0 }\n%PROC q()==\n%STM[ \n\t(1,2) \n]\n{ x>0 }\n");
  EXPECT_EQ(Str(wGetProcPrePostCond("p")), "Pre-Condition: \n\na>0\nPost-Condition: \n\nb>0");
  // Names that name nothing give empty texts or null, never a crash, and keep the
  // current procedure.
  currentProcedure = p;
  for (const char *s : {wGetProcPrePostCond("zz"), wGetSentPrePostCond("(7,7)"),
                        wGetSentenceContent("(9,9)"), wGetSentenceContent("")})
    EXPECT_EQ(s, nullptr);
  EXPECT_EQ(Str(wGetSentenceList("nosuch")) + Str(wGetProcContent("pp")) +
                Str(wGetProcContent2("")), "");
  EXPECT_EQ(currentProcedure, p);
  // Reading a selection changes nothing of the program.
  std::string before = Str(wGetProcContent("p"));
  EXPECT_EQ(PairOf("?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$Ox=x^$OLB=5;]"),
            "(2,5)");
  EXPECT_EQ(Str(wGetProcContent("p")), before);
}

TEST_F(Builders, NavigationStackShowsPartsAndStaysInBounds) {
  Load(kExample);
  currentProcedure = Procedure2Ptr("p");
  char pair[LABEL_SIZE];
  std::string seq = Nav(pair, "(1,5)");
  EXPECT_TRUE(Has(seq, "\n   (1,2);\n   (2,5);\n")) << seq;
  EXPECT_EQ(seq.rfind("{ ", 0), 0u) << seq;
  EXPECT_EQ(seq.substr(seq.size() - 6), "\n{  }\n") << seq;   // nothing generated yet
  std::string cs = Nav(pair, "(2,5)");
  EXPECT_TRUE(Has(cs, "   ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n      (3,5);\n      (4,5)\n   ]\n")) << cs;
  // Back: up to the earlier entry, then past the first, never below 0.
  EXPECT_TRUE(Has(Nav(pair, ""), "(1,2);"));
  EXPECT_STREQ(pair, "(1,5)");
  for (int i = 0; i < 2; i++) EXPECT_EQ(Nav(pair, ""), "(null)");
  EXPECT_EQ(n, 0);
  // A full stack refuses the 31st entry and keeps showing its top.
  for (int i = 0; i < NAV_DEPTH; i++) Nav(pair, i == NAV_DEPTH - 1 ? "(2,5)" : "(1,5)");
  EXPECT_TRUE(Has(Nav(pair, "(3,5)"), "?[LB=2"));
  EXPECT_EQ(n, NAV_DEPTH);
  EXPECT_STREQ(pair, "(2,5)");
  // A text too long to be a label pair is not pushed.
  wPostCleanStack();
  Nav(pair, "(1,5)");
  char big[SELECT_SIZE];
  memset(big, 'x', 100);
  big[0] = '(', big[100] = 0;
  EXPECT_NE(wGetSentenceContent2(big), nullptr);
  EXPECT_EQ(n, 1);
  EXPECT_STREQ(big, "(1,5)");
}

TEST_F(Builders, LongTextsAreCutInSss) {
  std::string prog;
  for (int i = 0; i < 1500; i++)
    prog += "{x>0}%PROC proc" + std::to_string(i) + "()==%STM[LB=1=>$Ox=x^$OLB=2;]{x>0}";
  Load(prog.c_str());
  std::string list = Str(wGetProcList());
  EXPECT_LT(list.size(), (size_t)SSS_SIZE);
  EXPECT_EQ(list.rfind("proc0\nproc1\n", 0), 0u);
  EXPECT_TRUE(Has(list, "text cut"));
}

TEST(SelectionReader, PairsOfSelectedTexts) {
  struct { const char *text, *pair, *printed; } rows[] = {
      {"LB=1=>$Ot=a^$OLB=2;", "(1,2)", ""},
      {"LB=1=>$Ox=y^$OLB=2;LB=2=>$Oy=x^$OLB=3;", "(1,3)", ""},
      {"LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;", "(5,6)", ""},
      // A statement and a case after it, as selected in the full printed form.
      {"LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]", "(1,5)",
       nullptr},
      {"LB=1=>$OLB=2;LB=7=>$OLB=8;", "(7,8)", "Error: sent.seq\n"},
      {"LB=1=>$OLB=2;junk", "(1,2)", "Error: sentenceRead\n"}};
  for (auto &r : rows) {
    SCOPED_TRACE(r.text);
    std::string printed;
    EXPECT_EQ(PairOf(r.text, &printed), r.pair);
    if (r.printed) { EXPECT_EQ(printed, r.printed); }
  }
  // Cut and hostile texts: never read past the end, the pair stays in its buffer.
  std::string deep;
  for (int i = 0; i < 1000; i++) deep += "*[LB=2^c=>($OLB=3|$OLB=4)";
  for (std::string c : std::vector<std::string>{
           "*[", "?[", "*[LB=2^", "*[LB=2^i<n=>($OLB=3", "?[LB=2^t>b=>", "LB=", "LB=1=>", "{a>0",
           "*[LB=2^c=>($OLB=3|$OLB=4)LB=3=>$OLB=2", "?[LB=2^c=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=5;",
           deep, "LB=" + std::string(300, 'a') + "=>$OLB=" + std::string(300, 'b') + ";"})
    PairOf(c);
  // The first pair of a selection as the navigation reads it, cut to LABEL_SIZE.
  struct { std::string sel, pair; } pairs[] = {{"   (1,2);", "(1,2)"}, {"x(3,4)y(5,6)", "(3,4)"},
                                               {"no pair", ""}, {"(7,8", "(7,8"}};
  char out[LABEL_SIZE];
  for (auto &r : pairs) {
    wSentenceRead2(r.sel.c_str(), out);
    EXPECT_EQ(std::string(out), r.pair) << r.sel;
  }
  wSentenceRead2(("(" + std::string(200, 'a') + ")").c_str(), out);
  EXPECT_EQ(strlen(out), (size_t)LABEL_SIZE - 1);
}

}  // namespace
