// The commands in process: start / add-proc, the annotation questions,
// refresh, clear and save.
#include "gui_fixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

class Commands : public GuiTest {
 protected:
  // Opens the start dialog and answers it with `input`.
  void StartWith(const std::string &input) {
    Press(wstart);
    SetTextOf(wp1->text, input);
    Press(wp1->ok);
  }
  void Answer(const std::string &text) {
    SetTextOf(wp1->text, text);
    Press(wp1->ok);
  }
  std::string Prompt() { return LabelOf(wp1->label); }
};

std::string Example(const char *name) {
  return std::string(QUELL_SOURCE_DIR) + "/examples/" + name;
}

std::string FileText(const std::string &path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Printed(FormulaPtr f) {
  Text t;
  TextInit(&t);
  if (f) FormulaPrint(f, &t);
  std::string s = TextStr(&t);
  TextFree(&t);
  return s;
}

const char *kSevenButtonsNames = "clear save veri-conds select refresh post-cond expand";

TEST_F(Commands, StartWithAMissingFileThenAGoodOne) {
  SetSensitiveFalse(0);
  Press(wstart);
  EXPECT_EQ(state, 105);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_EQ(Prompt(), "Please Provide Procedure Text or a File Name:");
  EXPECT_FALSE(IsSensitive(wstart));
  Press(wp1->ok);   // empty input: nothing happens
  EXPECT_EQ(state, 105);
  EXPECT_TRUE(IsPoppedUp(wp1));
  SetTextOf(wp1->text, "/no/such/file.q");
  Press(wp1->ok);
  EXPECT_EQ(Prompt(), "File Not Found!!");
  EXPECT_EQ(state, 105);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_EQ(procedureList.procedure, nullptr);
  // Blanks inside the name are removed before it is used.
  std::string name = Example("swap.q");
  name.insert(name.size() - 4, " \t\n");
  SetTextOf(wp1->text, name);
  Press(wp1->ok);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wstart));
  EXPECT_EQ(LabelOf(wstart), "add-proc");
  EXPECT_EQ(TextOf(wtext), "swap\n");
  for (Widget b : {wclear, wsave, wassumption, wselect, wredisplay, wpost, wexpand})
    EXPECT_TRUE(IsSensitive(b)) << kSevenButtonsNames;
  // add-proc appends.
  StartWith(Example("count.q"));
  EXPECT_EQ(TextOf(wtext), "swap\ncount\n");
  // Cancel closes the dialog and loads nothing.
  Press(wstart);
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wstart));
}

TEST_F(Commands, QuestionsInOrderThenGeneration) {
  StartWith(
      "%PROC r(%IOP/x:int)==%STM[LB=1=>$Ox=0^$OLB=2;"
      "*[LB=2^x<5=>($OLB=3|$OLB=4)LB=3=>$Ox=+(x,1)^$OLB=2;]"
      "*[LB=4^x>0=>($OLB=5|$OLB=6)LB=5=>$Ox=-(x,1)^$OLB=4;]]");
  EXPECT_EQ(state, 109);
  EXPECT_EQ(Prompt(), "Please Provide the post-condition of r:");
  Answer("{x = 0}");
  EXPECT_EQ(Prompt(), "Please Provide the pre-condition of r:");
  Answer("x=0");
  EXPECT_EQ(Prompt(), "Please Provide the invariant of (2,4) of procedure r:");
  Answer("");   // empty answer: the question stays
  EXPECT_EQ(state, 109);
  EXPECT_TRUE(IsPoppedUp(wp1));
  Answer("{x<6}");
  EXPECT_EQ(Prompt(), "Please Provide the invariant of (4,6) of procedure r:");
  EXPECT_EQ(assumptionList.assumption, nullptr);
  Answer("x>-1");
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_NE(assumptionList.assumption, nullptr);
  ProcedurePtr r = Procedure2Ptr("r");
  ASSERT_NE(r, nullptr);
  // An answer with braces and one without give the same condition.
  EXPECT_EQ(Printed(r->postCond), Printed(r->preCond));
  currentProcedure = r;
  EXPECT_EQ(Printed(GetPostCond("(3,2)")), "x<6");
}

TEST_F(Commands, CancelOnTheSecondQuestionDropsEverything) {
  StartWith(Example("swap.q"));
  EXPECT_EQ(state, 0);
  StartWith("%PROC r(%IOP/x:int)==%STM[LB=1=>$Ox=0^$OLB=2;]");
  EXPECT_EQ(Prompt(), "Please Provide the post-condition of r:");
  Answer("x=0");
  EXPECT_EQ(Prompt(), "Please Provide the pre-condition of r:");
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_EQ(procedureList.procedure, nullptr);
  EXPECT_EQ(assumptionList.assumption, nullptr);
  EXPECT_EQ(currentProcedureList, &procedureList);
  EXPECT_EQ(TextOf(wtext), "");
  EXPECT_EQ(LabelOf(wstart), "start");
  EXPECT_TRUE(IsSensitive(wstart));
  for (Widget b : {wclear, wsave, wassumption, wselect, wredisplay, wpost, wexpand})
    EXPECT_FALSE(IsSensitive(b)) << kSevenButtonsNames;
}

TEST_F(Commands, AnInvariantThatCannotBeAttachedSaysSo) {
  // The body chain (3,9) does not end at the loop label 2: no body record.
  testing::internal::CaptureStdout();
  StartWith(
      "{x=0}%PROC u(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)LB=3=>$Ox=+(x,1)^$OLB=9;]]"
      "{x=5}");
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(state, 109);
  std::string first = Prompt();
  EXPECT_EQ(first.rfind("Please Provide the invariant of (2,4) of procedure u:", 0), 0u) << first;
  testing::internal::CaptureStdout();
  Answer("x<6");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error: the answer could not be attached to (3,2)"), std::string::npos) << out;
  EXPECT_EQ(state, 109);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_NE(Prompt().find("could not be attached"), std::string::npos) << Prompt();
  EXPECT_EQ(Prompt().rfind("Please Provide the invariant of (2,4) of procedure u:", 0), 0u);
  Press(wp1->cancel);
  EXPECT_EQ(procedureList.procedure, nullptr);
}

TEST_F(Commands, ASecondProcedureOfTheSameNameAsksNothing) {
  StartWith(Example("swap.q"));
  ASSERT_EQ(state, 0);
  testing::internal::CaptureStdout();
  StartWith("%PROC swap(%IOP/x:int)==%STM[LB=1=>$Ox=0^$OLB=2;]");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error: a second procedure of that name is not added: swap"),
            std::string::npos)
      << out;
  EXPECT_EQ(state, 0);   // no question: the complete swap stays as it was
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_EQ(TextOf(wtext), "swap\n");
}

TEST_F(Commands, RefreshAndClear) {
  StartWith(Example("swap.q"));
  wSetText(wtext, "stale");
  Press(wredisplay);
  EXPECT_EQ(TextOf(wtext), "swap\n");
  Press(wclear);
  EXPECT_EQ(procedureList.procedure, nullptr);
  EXPECT_EQ(assumptionList.assumption, nullptr);
  EXPECT_EQ(TextOf(wtext), "");
  EXPECT_EQ(state, 105);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_EQ(Prompt(), "Please Provide Procedure Text or a File Name:");
  EXPECT_EQ(LabelOf(wstart), "add-proc");
  EXPECT_TRUE(IsSensitive(wsave));
  Press(wp1->cancel);
}

TEST_F(Commands, SaveEmptyGoodAndUnwritable) {
  StartWith(Example("maxwrong.q"));
  ASSERT_EQ(state, 0);
  Press(wsave);
  EXPECT_EQ(state, 107);
  EXPECT_EQ(Prompt(), "Please Provide a File Name:");
  EXPECT_FALSE(IsSensitive(wsave));
  Press(wp1->ok);   // empty name: nothing
  EXPECT_EQ(state, 107);
  EXPECT_TRUE(IsPoppedUp(wp1));

  testing::internal::CaptureStdout();
  SetTextOf(wp1->text, "/no/such/dir/out.txt");
  Press(wp1->ok);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error: cannot write the file /no/such/dir/out.txt"), std::string::npos) << out;
  EXPECT_EQ(state, 107);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_NE(Prompt().find("could not be written"), std::string::npos) << Prompt();

  char dir[] = "/tmp/quell-save-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string path = std::string(dir) + "/result.txt";
  SetTextOf(wp1->text, path);
  Press(wp1->ok);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wsave));
  std::string text = FileText(path);
  EXPECT_EQ(text.rfind("Procedures:\n\n{ $T }\n%PROC maxwrong(", 0), 0u) << text;
  size_t sep = text.find("\n;;--------------------------------------\n\n");
  ASSERT_NE(sep, std::string::npos) << text;
  EXPECT_EQ(text.find("Remaining Verification Conditions:\n\n"), sep + 43) << text;
  EXPECT_NE(text.find("...maxwrong...\n\n"), std::string::npos) << text;
  EXPECT_EQ(wFileWrite(path.c_str()), 1);
  EXPECT_EQ(FileText(path), text);
  unlink(path.c_str());
  rmdir(dir);

  Press(wsave);
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
}

}  // namespace
