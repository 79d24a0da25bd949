// The commands in process, each through the transitions of its dialog.
#include "gui_fixture.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

namespace {

const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM ["
    "LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";
const char *kAskFile = "Please Provide Procedure Text or a File Name:";

#if defined(__SANITIZE_ADDRESS__)
const double kLimitMs = 500.0;
#else
const double kLimitMs = 100.0;
#endif

// One stage: select `sel` in *in ("" clears, "=text" types text and selects it;
// no `in`: neither), press *press (within kLimitMs, events delivered). Then `state`
// holds, box `open` is up with prompt `label` and a text holding `has`, box `shut`
// is down (null: not checked).
struct Stage { Widget *in; const char *sel; Widget *press; int state; PopupBoxPtr open, shut;
               const char *label, *has; };

class Commands : public GuiTest {
 protected:
  static void StartWith(const std::string &input) { Press(wstart); Answer(input); }
  static void Run(const std::vector<Stage> &stages) {
    for (size_t i = 0; i < stages.size(); i++) {
      const Stage &s = stages[i];
      SCOPED_TRACE("stage " + std::to_string(i) + (s.label ? std::string(": ") + s.label : ""));
      if (s.in && s.sel[0] == '=') SetTextOf(*s.in, s.sel + 1), Select(*s.in, 0, strlen(s.sel) - 1);
      else if (s.in && s.sel[0]) { EXPECT_TRUE(SelectWord(*s.in, s.sel)) << s.sel; }
      else if (s.in) Select(*s.in, 0, 0);
      auto t0 = std::chrono::steady_clock::now();
      Press(*s.press);
      std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - t0;
      EXPECT_LT(ms.count(), kLimitMs);
      EXPECT_EQ(state, s.state);
      if (s.open) { EXPECT_TRUE(IsPoppedUp(s.open)); }
      if (s.open && s.label) { EXPECT_EQ(LabelOf(s.open->label), s.label); }
      if (s.open && s.has) { EXPECT_TRUE(Has(TextOf(s.open->text), s.has)) << s.has; }
      if (s.shut) { EXPECT_FALSE(IsPoppedUp(s.shut)); }
    }
  }
};

TEST_F(Commands, StartAddProcAndAnnotationQuestions) {
  SetSensitiveFalse(0);
  std::string name = "=" + Example("swap.q");
  name.insert(name.size() - 4, " \t\n");   // blanks inside the name are removed before use
  Run({{0, 0, &wstart, 105, wp1, 0, kAskFile, 0},
       {&wp1->text, "=/no/such/file.q", &wp1->ok, 105, wp1, 0, "File Not Found!!", 0},
       {0, 0, &wp1->cancel, 0, 0, wp1, 0, 0}});
  // The questions come in order; nothing is generated before the last answer.
  StartWith("%PROC r(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)LB=3=>$Ox=+(x,1)^$OLB=2;]]");
  const char *inv = "Please Provide the invariant of (2,4) of procedure r:";
  EXPECT_EQ(Prompt(), "Please Provide the post-condition of r:");
  Run({{&wp1->text, "={x = 0}", &wp1->ok, 109, wp1, 0, "Please Provide the pre-condition of r:", 0},
       {&wp1->text, "=x=0", &wp1->ok, 109, wp1, 0, inv, 0},
       {&wp1->text, "=", &wp1->ok, 109, wp1, 0, inv, 0}});   // an empty answer: the question stays
  EXPECT_EQ(assumptionList.assumption, nullptr);
  Run({{&wp1->text, "=x<6", &wp1->ok, 0, 0, wp1, 0, 0}});
  EXPECT_NE(assumptionList.assumption, nullptr);
  ProcedurePtr r = Procedure2Ptr("r");
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(FormulaPrintEqual(r->postCond, r->preCond));   // with braces or without: the same
  // An invariant whose body chain does not end at the loop label: the question stays.
  Out([] { StartWith("{x=0}%PROC u(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)"
                     "LB=3=>$Ox=+(x,1)^$OLB=9;]]{x=5}"); });
  std::string out = Out([] { Answer("x<6"); });
  EXPECT_TRUE(Has(out, "Error: the answer could not be attached to (3,2)")) << out;
  EXPECT_TRUE(state == 109 && Has(Prompt(), "could not be attached")) << Prompt();
  // Cancel on a question drops everything, also what was loaded before.
  Run({{0, 0, &wp1->cancel, 0, 0, wp1, 0, 0}});
  EXPECT_TRUE(!procedureList.procedure && !assumptionList.assumption);
  EXPECT_EQ(TextOf(wtext) + LabelOf(wstart), "start");
  EXPECT_EQ(SevenUsable(), 0);
  Run({{0, 0, &wstart, 105, wp1, 0, kAskFile, 0}, {&wp1->text, name.c_str(), &wp1->ok, 0, 0, wp1, 0, 0}});
  EXPECT_EQ(LabelOf(wstart) + TextOf(wtext), "add-procswap\n");
  EXPECT_EQ(SevenUsable(), 7);
}

TEST_F(Commands, RefreshSaveAndClear) {
  StartWith(Example("maxwrong.q"));
  wSetText(wtext, "stale");
  Press(wredisplay);
  EXPECT_EQ(TextOf(wtext), "maxwrong\n");
  char dir[] = "/tmp/quell-save-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string path = "=" + std::string(dir) + "/result.txt";
  std::string out = Out([&] {
    Run({{0, 0, &wsave, 107, wp1, 0, "Please Provide a File Name:", 0},
         {&wp1->text, "=/no/such/dir/out.txt", &wp1->ok, 107, wp1, 0, 0, 0}});
  });
  EXPECT_TRUE(Has(out, "Error: cannot write the file /no/such/dir/out.txt")) << out;
  EXPECT_TRUE(Has(Prompt(), "could not be written")) << Prompt();
  Run({{&wp1->text, path.c_str(), &wp1->ok, 0, 0, wp1, 0, 0}});
  std::stringstream ss;
  std::string text = (ss << std::ifstream(path.substr(1)).rdbuf(), ss.str());
  EXPECT_TRUE(text.rfind("Procedures:\n\n{ $T }\n%PROC maxwrong(", 0) == 0 &&
              Has(text, "\n;;--------------------------------------\n\n"
                        "Remaining Verification Conditions:\n\n")) << text;
  unlink(path.c_str() + 1), rmdir(dir);
  // clear drops the program and opens the start dialog at once.
  Run({{0, 0, &wclear, 105, wp1, 0, kAskFile, 0}});
  EXPECT_TRUE(!procedureList.procedure && !assumptionList.assumption);
  EXPECT_EQ(TextOf(wtext) + LabelOf(wstart), "add-proc");
}

TEST_F(Commands, SelectPostCondAndExpand) {
  StartWith(kExample);
  const char *pick = "Please Select One Line:";
  Run({{0, 0, &wselect, 0, 0, wp2, 0, 0},   // nothing selected: nothing happens
       {&wtext, "p", &wselect, 106, wp2, 0, pick, "(1,2)\n(3,5)\n(4,5)\n(2,5)\n(1,5)\n"},
       {&wp2->text, "(2,5)", &wp2->ok, 106, wp1, 0, "Program Part (2,5) of p:",
        "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;"},
       {0, 0, &wp1->cancel, 106, wp2, wp1, pick, 0},   // closes only the part popup
       {0, 0, &wp2->cancel, 0, 0, wp2, 0, 0}});
  // A selection naming no procedure shows an empty text.
  wSetText(wtext, "nosuch\np\n");
  Run({{&wtext, "nosuch", &wselect, 106, wp2, 0, 0, 0}});
  EXPECT_EQ(TextOf(wp2->text), "");
  Press(wp2->cancel);
  // post-cond descends through the parts; presses with nothing selected go back up.
  const char *part15 = "Program Part (1,5):", *part25 = "Program Part (2,5):";
  Run({{&wtext, "p", &wpost, 112, wp1, 0, "Procedure p:", "%STM[ \n\t(1,5) \n]\n"},
       {&wp1->text, "(1,5)", &wp1->ok, 112, wp3, 0, part15, "   (1,2);\n   (2,5);\n"},
       {&wp3->text, "(2,5)", &wp3->ok, 112, wp3, 0, part25, 0},
       {&wp3->text, "(3,5)", &wp3->ok, 112, wp3, 0, "Program Part (3,5):", "LB=3=>$Ob=t^$OLB=5;"},
       {&wp3->text, "", &wp3->ok, 112, wp3, 0, part25, 0},
       {&wp3->text, "", &wp3->ok, 112, wp3, 0, part15, 0},
       {&wp3->text, "", &wp3->ok, 112, wp1, wp3, "Procedure p:", 0}});
  EXPECT_EQ(n, 0);
  // Cancel in the part popup, and a pair naming no statement, empty the stack.
  Run({{&wp1->text, "(1,5)", &wp1->ok, 112, wp3, 0, part15, 0},
       {&wp3->text, "(2,5)", &wp3->ok, 112, wp3, 0, part25, 0},
       {0, 0, &wp3->cancel, 112, wp1, wp3, 0, 0}});
  EXPECT_EQ(n, 0);
  Run({{&wp1->text, "(1,5)", &wp1->ok, 112, wp3, 0, part15, 0},
       {&wp3->text, "=(9,9)", &wp3->ok, 112, wp1, wp3, 0, 0}});
  EXPECT_EQ(n, 0);
  Press(wp1->cancel);
  Run({{&wtext, "p", &wexpand, 111, wp1, 0, "Procedure p:", 0},
       {&wp1->text, "LB=1=>$Ot=a^$OLB=2;", &wp1->ok, 111, wp3, 0, "Program Part (1,2):",
        "LB=1=>$Ot=a^$OLB=2;"},
       {0, 0, &wp3->ok, 111, wp1, wp3, "Procedure p:", 0}, {0, 0, &wp1->cancel, 0, 0, wp1, 0, 0}});
  EXPECT_TRUE(IsSensitive(wselect) && IsSensitive(wpost) && IsSensitive(wexpand));
}

TEST_F(Commands, VeriCondsAxiomsDischargeAndRefusals) {
  StartWith(Example("noinv.q"));
  const char *noinv = "Verification Conditions for noinv:", *axiom = "Please Provide an Axiom:";
  // After the invariant answer an implication axiom discharges the last sequent.
  Run({{&wp1->text, "=x < n | x = n", &wp1->ok, 0, 0, wp1, 0, 0},
       {&wtext, "", &wassumption, 108, wp1, 0, "Verification Conditions:", "noinv"},
       {0, 0, &wp1->cancel, 0, 0, wp1, 0, 0},
       {&wtext, "noinv", &wassumption, 108, wp1, 0, noinv, 0},
       {0, 0, &wp1->ok, 108, wp1, 0, noinv, "n>x\n =>\n  x=n,n>+(x,1),+(x,1)=n"},
       {0, 0, &wp1->ok, 108, wp1, 0, axiom, 0},
       {&wp1->text, "=n>x -> n>+(x,1) | +(x,1)=n", &wp1->ok, 108, wp1, 0, noinv, 0}});
  EXPECT_EQ(TextOf(wp1->text), "");
  // An axiom the prover refuses is noted in the prompt.
  std::string refused = std::string(noinv) + " (the axiom was refused)";
  std::string out = Out([&] {
    Run({{0, 0, &wp1->ok, 108, wp1, 0, axiom, 0},
         {&wp1->text, "=x=x", &wp1->ok, 108, wp1, 0, refused.c_str(), 0}});
  });
  EXPECT_TRUE(Has(out, "Error: axiom refused")) << out;
}

// With 1000 procedures loaded every command's text appears in time (Run times each press).
TEST_F(Commands, EveryCommandInTimeWithAThousandProcedures) {
  std::string prog;
  for (int i = 0; i < 1000; i++)
    prog += "{n>0}%PROC proc" + std::to_string(i) +
            "(%INP/n:int;%IOP/x:int)==%LOC [int:i]%STM [LB=1=>$Oi=0^$Ox=0^$OLB=2;*[LB=2^~(i=n)=>("
            "$OLB=3|$OLB=4)LB=3=>$Oi=+(i,1)^$Ox=+(x,1)^$OLB=2;{x=i}]?[LB=4^x>0=>$OLB=5|~=>$OLB=6;"
            "LB=5=>$Ox=x^$OLB=7;LB=6=>$Ox=+(x,1)^$OLB=7;]]{x>-1}";
  StartProg1(strdup(prog.c_str()));
  wAskInv(topLevel, nullptr, nullptr);
  ASSERT_EQ(state, 0);
  SetSensitiveFalse(1);
  Run({{0, 0, &wredisplay, 0, 0, 0, 0, 0}, {&wtext, "proc999", &wselect, 106, wp2, 0, 0, "(4,7)"},
       {&wp2->text, "(4,7)", &wp2->ok, 106, wp1, 0, 0, 0}, {0, 0, &wp1->cancel, 106, wp2, wp1, 0, 0},
       {0, 0, &wp2->cancel, 0, 0, wp2, 0, 0}, {&wtext, "proc999", &wpost, 112, wp1, 0, 0, "(1,7)"},
       {&wp1->text, "(1,7)", &wp1->ok, 112, wp3, 0, 0, "(1,4)"},
       {&wp3->text, "(1,4)", &wp3->ok, 112, wp3, 0, 0, "(2,4)"},
       {0, 0, &wp3->cancel, 112, wp1, wp3, 0, 0}, {0, 0, &wp1->cancel, 0, 0, wp1, 0, 0},
       {&wtext, "proc999", &wexpand, 111, wp1, 0, 0, 0},
       {&wp1->text, "LB=1=>$Oi=0^$Ox=0^$OLB=2;", &wp1->ok, 111, wp3, 0, 0, "LB=1=>"},
       {0, 0, &wp3->ok, 111, wp1, wp3, 0, 0}, {0, 0, &wp1->cancel, 0, 0, wp1, 0, 0},
       {&wtext, "proc999", &wassumption, 108, wp1, 0, 0, 0}, {0, 0, &wp1->ok, 108, wp1, 0, 0, 0},
       {0, 0, &wp1->ok, 108, wp1, 0, 0, 0}, {&wp1->text, "=x>-1", &wp1->ok, 108, wp1, 0, 0, 0},
       {0, 0, &wp1->cancel, 0, 0, wp1, 0, 0}, {&wtext, "", &wassumption, 108, wp1, 0, 0, "proc0"},
       {0, 0, &wp1->ok, 108, wp1, 0, 0, 0}, {0, 0, &wp1->cancel, 0, 0, wp1, 0, 0},
       {0, 0, &wsave, 107, wp1, 0, 0, 0}});
}

}  // namespace
