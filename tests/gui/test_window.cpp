// The command line at start-up, the popup boxes, the dialog dispatcher and the
// reading of input and selections, in process.
#include "gui_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

bool Exists(const char *path) { return access(path, F_OK) == 0; }
void CountCall(Widget, XtPointer c, XtPointer) { ++*static_cast<int *>(c); }

const char *const kSwap = "{x=a^y=b}%PROC swap(%IOP/x:int;%IOP/y:int)==%LOC [int:t]"
    "%STM [LB=1=>$Ot=x^$OLB=2;LB=2=>$Ox=y^$OLB=3;LB=3=>$Oy=t^$OLB=4;]{x=b^y=a}";

// A start-up command line: what it returns (-1: enter the event loop), the list
// text, the state (109: an invariant question is open), whether out.txt is
// written and part of what was printed (null: not checked).
struct StartRow { const char *name; std::vector<std::string> args; int ret; const char *list;
                  int st; bool writes; const char *printed; };
void PrintTo(const StartRow &r, std::ostream *os) { *os << r.name; }

class Startup : public GuiTest, public ::testing::WithParamInterface<StartRow> {
 protected:
  char old[4096] = "", dir[32] = "/tmp/quell-gui-XXXXXX";
  void SetUp() override {
    GuiTest::SetUp();
    if (!IsSkipped()) { ASSERT_TRUE(getcwd(old, sizeof old) && mkdtemp(dir) && chdir(dir) == 0); }
  }
  void TearDown() override {
    if (*old) { EXPECT_TRUE(!chdir(old) && !system((std::string("rm -rf ") + dir).c_str())); }
    GuiTest::TearDown();
  }
};

TEST_P(Startup, CommandLineForms) {
  const StartRow &r = GetParam();
  std::ofstream("p.q") << kSwap;
  std::vector<std::string> args;
  for (const std::string &a : r.args)
    args.push_back(a == "$SWAP" ? kSwap : a == "$NOINV" ? QUELL_SOURCE_DIR "/examples/noinv.q" : a);
  std::string printed = Out([&] { EXPECT_EQ(CommandLine(args), r.ret); });
  if (r.printed) { EXPECT_TRUE(Has(printed, r.printed) && Has(printed, "Error: ")) << printed; }
  EXPECT_EQ(LabelOf(wstart), *r.list ? "add-proc" : "start");
  if (*r.list || !r.printed) { EXPECT_EQ(SevenUsable(), *r.list ? 7 : 0); }
  EXPECT_TRUE(IsSensitive(wstart) == (r.st != 109) && IsSensitive(wquit));
  EXPECT_TRUE(state == r.st && IsPoppedUp(wp1) == (r.st == 109));
  EXPECT_EQ(TextOf(wtext), r.list);
  std::stringstream ss;
  ss << std::ifstream("out.txt").rdbuf();
  EXPECT_EQ(Exists("out.txt"), r.writes);
  EXPECT_EQ(ss.str().rfind("Procedures:\n\n", 0) == 0, r.writes);
  if (r.args.size() && r.args[0] == "-d") {   // the log is opened, nothing is loaded
    EXPECT_TRUE(LogIsOn() && Exists("vLog"));
    unlink("vLog"), mkdir("vLog", 0700);   // opening a directory fails: the log is off
    Out([] { LogFileOpen(); });
    EXPECT_FALSE(rmdir("vLog") || LogIsOn());
  }
  if (r.st == 109) {   // answering the question generates the conditions but writes no file
    Answer("x < +(n,1)");
    EXPECT_TRUE(state == 0 && !IsPoppedUp(wp1) && assumptionList.assumption);
    EXPECT_FALSE(Exists("out.txt"));
  }
}

const char *kNone = "/nonexistent-dir/none.q";
INSTANTIATE_TEST_SUITE_P(Forms, Startup, ::testing::Values(
    StartRow{"none", {}, -1, "", 0, false, nullptr},
    StartRow{"debug", {"-d", "p.q", "out.txt"}, -1, "", 0, false, nullptr},
    StartRow{"text", {"$SWAP"}, -1, "swap\n", 0, false, nullptr},
    StartRow{"three", {"$SWAP", "out.txt", "x"}, -1, "swap\n", 0, false, nullptr},
    StartRow{"batch", {"$SWAP", "out.txt"}, 0, "swap\n", 0, true, nullptr},
    StartRow{"noinv", {"$NOINV", "out.txt"}, -1, "noinv\n", 109, false, nullptr},
    StartRow{"unreadable", {kNone, "out.txt"}, 1, "", 0, false, kNone},
    StartRow{"unreadable_alone", {kNone}, 1, "", 0, false, kNone},
    StartRow{"unwritable", {"$SWAP", "/nonexistent-dir/out.txt"}, 1, "swap\n", 0, false,
             "Error: cannot write the file /nonexistent-dir/out.txt"}),
    [](const ::testing::TestParamInfo<StartRow> &i) { return std::string(i.param.name); });

class WindowTest : public GuiTest {};

TEST_F(WindowTest, PopupsPlaceGreyOutAndAreBounded) {
  EXPECT_TRUE(numberOfBoxes == 2 && wp1 == &popupBoxes[0] && wp3 == &popupBoxes[2]);
  EXPECT_EQ(CommandLine({}), -1);
  int calls = 0;
  XtAddCallback(wredisplay, XtNcallback, CountCall, &calls);
  Click(wredisplay);   // greyed out without a program: no call
  SetSensitiveFalse(1);
  PopShell1(topLevel, wsave, "Please Provide a File Name:", "abc", "Ok", "Cancel");
  EXPECT_TRUE(IsPoppedUp(wp1) && !IsSensitive(wsave));
  EXPECT_EQ(Prompt() + "|" + TextOf(wp1->text), "Please Provide a File Name:|abc");
  Position x = 0, y = 0;
  XtTranslateCoords(topLevel, 50, 100, &x, &y);
  EXPECT_TRUE(Geo(wp1->pshell).x == x && Geo(wp1->pshell).y == y);
  Click(wredisplay);   // the main window takes no input while the popup is up
  EXPECT_EQ(calls, 0);
  PopShell3(wp1->box, wp1->ok, "Program Part (1,2) of swap:", nullptr, "Select", "Back");
  EXPECT_TRUE(IsPoppedUp(wp3) && !IsSensitive(wp1->ok) && TextOf(wp3->text).empty());
  popdown(wp1->ok, wp3->pshell), popdown(wsave, wp1->pshell);
  EXPECT_TRUE(!IsPoppedUp(wp3) && IsSensitive(wp1->ok) && IsSensitive(wsave));
  Click(wredisplay);
  EXPECT_EQ(calls, 1);
  // The list box: a long prompt stays visible above the list.
  std::string longName(2047, 'n');
  PopShell2(topLevel, wselect, longName.c_str(), "LB=1=>$Ox=1^$OLB=2;\n", "Expand", "Cancel");
  EXPECT_EQ(LabelOf(wp2->label), longName);
  EXPECT_LE(Geo(wp2->label).y + Geo(wp2->label).h, Geo(wp2->text).y);
  popdown(wselect, wp2->pshell);
  // The storage of boxes is bounded: past it creation fails with an Error line.
  numberOfBoxes = POPUP_CAPACITY - 1;
  int r1 = 0, r2 = 0;
  EXPECT_TRUE(Has(Out([&] { r1 = CreateReadBox(), r2 = CreateListBox(); }), "Error: "));
  EXPECT_TRUE(r1 == -1 && r2 == -1 && numberOfBoxes == POPUP_CAPACITY - 1);
  numberOfBoxes = POPUP_CAPACITY - 2;   // the last free element can still be used
  EXPECT_EQ(CreateListBox(), POPUP_CAPACITY - 1);
  numberOfBoxes = 2;
}

TEST_F(WindowTest, DispatchWithStateZeroDoesNothing) {
  PopShell1(topLevel, wstart, "prompt", "text", "Ok", "Cancel");
  for (PopupBoxPtr p : {wp1, wp2, wp3}) Press(p->ok), Press(p->cancel);
  state = 4711;   // a state no command has
  DialogDone1(0, wp1->cancel, wp1->box, nullptr);
  state = 0;
  EXPECT_TRUE(IsPoppedUp(wp1) && !IsPoppedUp(wp2) && !IsPoppedUp(wp3));
  EXPECT_EQ(Prompt() + "|" + TextOf(wp1->text), "prompt|text");
  EXPECT_EQ(procedureList.procedure, nullptr);
  popdown(wstart, wp1->pshell);
}

TEST_F(WindowTest, InputAndSelectionWithoutWhiteSpaceAndInBounds) {
  static char s[INPUT_SIZE];
  SetTextOf(wp1->text, "  {x = 1 ^\n\ty=2}\n ");
  EXPECT_EQ(GetInput(s, wp1->text), '{');
  EXPECT_STREQ(s, "{x=1^y=2}");
  SetTextOf(wp1->text, " \t\n\n  ");
  EXPECT_TRUE(GetInput(s, wp1->text) == 0 && !*s);
  char sel[SELECT_SIZE + 8];
  SetTextOf(wtext, "first\nse c\tond\nthird\n");
  Select(wtext, 6, 14);
  EXPECT_EQ(GetSelectedItem(sel, wtext), 's');
  EXPECT_STREQ(sel, "second");
  // Longer than one block of the text source: read whole.
  std::string text, expect;
  for (int i = 0; i < 9000; i++) text += (i % 10 == 9) ? '\n' : char('a' + i % 26);
  for (char c : text) if (c != '\n') expect += c;
  SetTextOf(wp1->text, text);
  EXPECT_TRUE(GetInput(s, wp1->text) == 'a' && std::string(s) == expect);
  // Exactly what the buffer holds, blanks around not counting; one more is refused.
  std::string full(INPUT_SIZE - 1, 'x');
  SetTextOf(wp1->text, "  " + full + " \n");
  EXPECT_TRUE(GetInput(s, wp1->text) == 'x' && strlen(s) == INPUT_SIZE - 1);
  SetTextOf(wp1->text, full + "y");
  char r = 1;
  EXPECT_EQ(Out([&] { r = GetInput(s, wp1->text); }).rfind("Error: ", 0), 0u);
  EXPECT_TRUE(r == 0 && !*s);
  // A small caller buffer is never overrun.
  char small[8];
  SetTextOf(wp1->text, "abcdefgh");
  Out([&] { EXPECT_EQ(GetInput(small, wp1->text, sizeof small), 0); });
  SetTextOf(wp1->text, "abc defg");
  EXPECT_EQ(GetInput(small, wp1->text, sizeof small), 'a');
  EXPECT_STREQ(small, "abcdefg");
  // A long selection is cut to the buffer, nothing written past it.
  SetTextOf(wtext, std::string(3000, 'q') + "\nrest");
  memset(sel, 'Z', sizeof sel);
  Select(wtext, 0, 3005);
  EXPECT_EQ(GetSelectedItem(sel, wtext), 'q');
  EXPECT_TRUE(strlen(sel) == SELECT_SIZE - 1 && sel[SELECT_SIZE] == 'Z');
  Select(wtext, 2995, 3005);
  EXPECT_TRUE(GetSelectedItem(small, wtext, 4) == 'q' && !strcmp(small, "qqq"));
  EXPECT_TRUE(GetSelectedItem(small, wtext, 1) == 0 && !*small);
}

}  // namespace
