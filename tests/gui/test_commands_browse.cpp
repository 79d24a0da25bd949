// The browsing commands in process: select, post-cond, expand, veri-conds.
#include "gui_fixture.h"

namespace {

const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM ["
    "LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";

class Browse : public GuiTest {
 protected:
  void Load(const std::string &input) {
    Press(wstart);
    SetTextOf(wp1->text, input);
    Press(wp1->ok);
    ASSERT_EQ(state, 0);
  }
  // Selects the procedure name in the main list.
  void Pick(const std::string &name) { ASSERT_TRUE(SelectWord(wtext, name)); }
  void Unpick() { Select(wtext, 0, 0); }
};

std::string Example(const char *name) {
  return std::string(QUELL_SOURCE_DIR) + "/examples/" + name;
}

TEST_F(Browse, SelectAndItsPartPopup) {
  Load(kExample);
  Press(wselect);   // nothing selected: nothing happens
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp2));
  Pick("p");
  Press(wselect);
  EXPECT_EQ(state, 106);
  EXPECT_TRUE(IsPoppedUp(wp2));
  EXPECT_FALSE(IsSensitive(wselect));
  EXPECT_EQ(LabelOf(wp2->label), "Please Select One Line:");
  EXPECT_EQ(TextOf(wp2->text), "(1,2)\n(3,5)\n(4,5)\n(2,5)\n(1,5)\n");
  EXPECT_EQ(LabelOf(wp2->ok), "Show");
  Press(wp2->ok);   // nothing selected in the list
  EXPECT_FALSE(IsPoppedUp(wp1));
  for (Widget closer : {wp1->ok, wp1->cancel}) {
    ASSERT_TRUE(SelectWord(wp2->text, "(2,5)"));
    Press(wp2->ok);
    EXPECT_TRUE(IsPoppedUp(wp1));
    EXPECT_EQ(LabelOf(wp1->label), "Program Part (2,5) of p:");
    std::string part = TextOf(wp1->text);
    EXPECT_NE(part.find("?[LB=2^t>b=>$OLB=3|~=>$OLB=4;"), std::string::npos) << part;
    EXPECT_EQ(part.rfind("{ ", 0), 0u) << part;
    EXPECT_FALSE(IsSensitive(wp2->ok));
    Press(closer);   // either button closes only the part popup
    EXPECT_FALSE(IsPoppedUp(wp1));
    EXPECT_TRUE(IsPoppedUp(wp2));
    EXPECT_TRUE(IsSensitive(wp2->ok));
    EXPECT_EQ(state, 106);
  }
  Press(wp2->cancel);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp2));
  EXPECT_TRUE(IsSensitive(wselect));
}

TEST_F(Browse, SelectionsThatNameNothingShowEmptyTexts) {
  Load(kExample);
  ProcedurePtr cur = currentProcedure;
  wSetText(wtext, "nosuch\n");
  ASSERT_TRUE(SelectWord(wtext, "nosuch"));
  Press(wselect);
  EXPECT_TRUE(IsPoppedUp(wp2));
  EXPECT_EQ(TextOf(wp2->text), "");
  Press(wp2->cancel);
  Press(wpost);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_EQ(TextOf(wp1->text), "");
  Press(wp1->cancel);
  Press(wexpand);
  EXPECT_EQ(TextOf(wp1->text), "");
  Press(wp1->cancel);
  EXPECT_EQ(currentProcedure, cur);
  EXPECT_EQ(state, 0);
}

TEST_F(Browse, PostCondDescendsAndGoesBack) {
  Load(kExample);
  Pick("p");
  Press(wpost);
  EXPECT_EQ(state, 112);
  EXPECT_EQ(LabelOf(wp1->label), "Procedure p:");
  EXPECT_EQ(LabelOf(wp1->ok), "Show");
  std::string proc = TextOf(wp1->text);
  EXPECT_NE(proc.find("%STM[ \n\t(1,5) \n]\n"), std::string::npos) << proc;
  Press(wp1->ok);   // nothing selected: stays
  EXPECT_FALSE(IsPoppedUp(wp3));
  ASSERT_TRUE(SelectWord(wp1->text, "(1,5)"));
  Press(wp1->ok);
  EXPECT_TRUE(IsPoppedUp(wp3));
  EXPECT_EQ(LabelOf(wp3->label), "Program Part (1,5):");
  EXPECT_NE(TextOf(wp3->text).find("   (1,2);\n   (2,5);\n"), std::string::npos);
  ASSERT_TRUE(SelectWord(wp3->text, "(2,5)"));
  Press(wp3->ok);
  EXPECT_EQ(LabelOf(wp3->label), "Program Part (2,5):");
  ASSERT_TRUE(SelectWord(wp3->text, "(3,5)"));
  Press(wp3->ok);
  EXPECT_EQ(LabelOf(wp3->label), "Program Part (3,5):");
  EXPECT_NE(TextOf(wp3->text).find("LB=3=>$Ob=t^$OLB=5;"), std::string::npos);
  EXPECT_EQ(n, 3);
  // Three presses with nothing selected: up, up, closed.
  Select(wp3->text, 0, 0);
  Press(wp3->ok);
  EXPECT_EQ(LabelOf(wp3->label), "Program Part (2,5):");
  Select(wp3->text, 0, 0);
  Press(wp3->ok);
  EXPECT_EQ(LabelOf(wp3->label), "Program Part (1,5):");
  EXPECT_TRUE(IsPoppedUp(wp3));
  Select(wp3->text, 0, 0);
  Press(wp3->ok);
  EXPECT_FALSE(IsPoppedUp(wp3));
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wp1->ok));
  EXPECT_EQ(n, 0);
  EXPECT_EQ(state, 112);

  // Cancel in the part popup empties the stack; a pair naming no statement
  // closes it.
  ASSERT_TRUE(SelectWord(wp1->text, "(1,5)"));
  Press(wp1->ok);
  ASSERT_TRUE(SelectWord(wp3->text, "(2,5)"));
  Press(wp3->ok);
  Press(wp3->cancel);
  EXPECT_FALSE(IsPoppedUp(wp3));
  EXPECT_EQ(n, 0);
  ASSERT_TRUE(SelectWord(wp1->text, "(1,5)"));
  Press(wp1->ok);
  SetTextOf(wp3->text, "(9,9)");
  Select(wp3->text, 0, 5);
  Press(wp3->ok);
  EXPECT_FALSE(IsPoppedUp(wp3));
  EXPECT_EQ(n, 0);
  // A selection without "(" at the first stage opens an empty part popup.
  ASSERT_TRUE(SelectWord(wp1->text, "PROC"));
  Press(wp1->ok);
  EXPECT_TRUE(IsPoppedUp(wp3));
  EXPECT_EQ(TextOf(wp3->text), "");
  Select(wp3->text, 0, 0);
  Press(wp3->ok);
  EXPECT_FALSE(IsPoppedUp(wp3));
  EXPECT_EQ(n, 0);
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wpost));
}

TEST_F(Browse, ExpandASelectionSpanningTwoStatements) {
  Load(kExample);
  Pick("p");
  Press(wexpand);
  EXPECT_EQ(state, 111);
  EXPECT_EQ(LabelOf(wp1->label), "Procedure p:");
  std::string full = TextOf(wp1->text);
  size_t from = full.find("LB=1=>");
  size_t to = full.find("     ]\n");
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos) << full;
  Select(wp1->text, (long)from, (long)(to + 6));
  testing::internal::CaptureStdout();
  Press(wp1->ok);
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(printed, "Error: sent.seq\n");   // the case's two branches do not chain
  EXPECT_TRUE(IsPoppedUp(wp3));
  EXPECT_EQ(LabelOf(wp3->label), "Program Part (1,5):");
  std::string part = TextOf(wp3->text);
  EXPECT_NE(part.find("LB=1=>$Ot=a^$OLB=2;"), std::string::npos) << part;
  EXPECT_NE(part.find("LB=4=>$Ox=x^$OLB=5;"), std::string::npos) << part;
  Press(wp3->ok);
  EXPECT_FALSE(IsPoppedUp(wp3));
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_EQ(state, 111);
  // One statement, then the first box's Cancel at stage 1 closes the part.
  size_t one = full.find("LB=3=>");
  Select(wp1->text, (long)one, (long)full.find('\n', one));
  Press(wp1->ok);
  EXPECT_EQ(LabelOf(wp3->label), "Program Part (3,5):");
  Press(wp1->cancel);
  EXPECT_FALSE(IsPoppedUp(wp3));
  EXPECT_TRUE(IsPoppedUp(wp1));
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wexpand));
}

TEST_F(Browse, VeriCondsSimplifyFourTimesThenAnAxiom) {
  Load(Example("maxwrong.q"));
  Unpick();
  Press(wassumption);
  EXPECT_EQ(state, 108);
  EXPECT_EQ(LabelOf(wp1->label), "Verification Conditions:");
  EXPECT_EQ(LabelOf(wp1->ok), "Simplify");
  std::string conds = TextOf(wp1->text);
  EXPECT_NE(conds.find("maxwrong"), std::string::npos) << conds;
  Press(wp1->ok);
  std::string seqs = TextOf(wp1->text);
  EXPECT_NE(seqs.find("b>a\n =>\n  a>b"), std::string::npos) << seqs;
  Press(wp1->ok);
  EXPECT_EQ(LabelOf(wp1->label), "Please Provide an Axiom:");
  EXPECT_EQ(TextOf(wp1->text), " ");
  Press(wp1->ok);   // blank input: no axiom, the sequents again
  EXPECT_EQ(TextOf(wp1->text), seqs);
  EXPECT_EQ(LabelOf(wp1->label), "Verification Conditions:");
  Press(wp1->ok);
  EXPECT_EQ(LabelOf(wp1->label), "Please Provide an Axiom:");
  EXPECT_EQ(LabelOf(wp1->ok), "Simplify");
  // The axiom a>b discharges the sequent with a>b among its conclusions.
  SetTextOf(wp1->text, "a > b");
  Press(wp1->ok);
  std::string left = TextOf(wp1->text);
  EXPECT_EQ(left.find("b>a\n =>\n  a>b"), std::string::npos) << left;
  EXPECT_NE(left.find("a>b\n =>\n  $F"), std::string::npos) << left;
  EXPECT_EQ(LabelOf(wp1->label), "Verification Conditions:");
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wassumption));

  // With a name selected, and Cancel at the axiom stage.
  Pick("maxwrong");
  Press(wassumption);
  EXPECT_EQ(LabelOf(wp1->label), "Verification Conditions for maxwrong:");
  Press(wp1->ok);
  Press(wp1->ok);
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
  Press(wassumption);   // starts again at the conditions
  EXPECT_EQ(LabelOf(wp1->label), "Verification Conditions for maxwrong:");
  Press(wp1->ok);
  EXPECT_NE(TextOf(wp1->text).find("a>b\n =>\n  $F"), std::string::npos);
  Press(wp1->cancel);
}

}  // namespace

namespace {

class BrowseAxiom : public GuiTest {};

TEST_F(BrowseAxiom, AnInvariantAnswerThenAnImplicationAxiom) {
  Press(wstart);
  SetTextOf(wp1->text, std::string(QUELL_SOURCE_DIR) + "/examples/noinv.q");
  Press(wp1->ok);
  ASSERT_EQ(state, 109);
  EXPECT_EQ(LabelOf(wp1->label), "Please Provide the invariant of (2,4) of procedure noinv:");
  SetTextOf(wp1->text, "x < n | x = n");
  Press(wp1->ok);
  ASSERT_EQ(state, 0);
  ASSERT_TRUE(SelectWord(wtext, "noinv"));
  Press(wassumption);
  EXPECT_EQ(LabelOf(wp1->label), "Verification Conditions for noinv:");
  Press(wp1->ok);
  std::string seqs = TextOf(wp1->text);
  EXPECT_NE(seqs.find("n>x\n =>\n  x=n,n>+(x,1),+(x,1)=n"), std::string::npos) << seqs;
  Press(wp1->ok);
  SetTextOf(wp1->text, "n>x -> n>+(x,1) | +(x,1)=n");
  Press(wp1->ok);
  EXPECT_EQ(TextOf(wp1->text), "");
  EXPECT_EQ(LabelOf(wp1->label), "Verification Conditions for noinv:");
  // An axiom the prover refuses is noted in the prompt.
  Press(wp1->ok);
  testing::internal::CaptureStdout();
  SetTextOf(wp1->text, "x=x");
  Press(wp1->ok);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error: axiom refused"), std::string::npos) << out;
  EXPECT_EQ(LabelOf(wp1->label), "Verification Conditions for noinv: (the axiom was refused)");
  Press(wp1->cancel);
}

}  // namespace
