// The command line at start-up, the popup boxes, the dialog dispatcher and the
// reading of input and selections, in process.
#include "gui_fixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

bool Exists(const char *path) { return access(path, F_OK) == 0; }
void CountCall(Widget, XtPointer c, XtPointer) { ++*static_cast<int *>(c); }
std::vector<int> Geo(Widget w) {   // x, y, width, height
  Position x = 0, y = 0;
  Dimension wd = 0, ht = 0;
  XtVaGetValues(w, XtNx, &x, XtNy, &y, XtNwidth, &wd, XtNheight, &ht, NULL);
  return {x, y, wd, ht};
}
// wCommandLine on the arguments; the copies live on (program text is parsed in place).
int CommandLine(const std::vector<std::string> &args) {
  std::vector<char *> argv{strdup("quell1")};
  for (const std::string &s : args) argv.push_back(strdup(s.c_str()));
  argv.push_back(nullptr);
  return wCommandLine((int)argv.size() - 1, argv.data());
}

const char *const kSwap = "{x=a^y=b}%PROC swap(%IOP/x:int;%IOP/y:int)==%LOC [int:t]"
    "%STM [LB=1=>$Ot=x^$OLB=2;LB=2=>$Ox=y^$OLB=3;LB=3=>$Oy=t^$OLB=4;]{x=b^y=a}";
const char *kNone = "/nonexistent-dir/none.q";

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
    args.push_back(a == "$SWAP" ? kSwap : a == "$NOINV" ? Example("noinv.q") : a);
  std::string printed = Out([&] { EXPECT_EQ(CommandLine(args), r.ret); Pump(); });
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
  if (r.args.size() && r.args[0] == "-d") { EXPECT_TRUE(LogIsOn() && Exists("vLog")); }
  if (r.st == 109) {   // answering the question generates the conditions but writes no file
    Answer("x < +(n,1)");
    EXPECT_TRUE(state == 0 && !IsPoppedUp(wp1) && assumptionList.assumption);
    EXPECT_FALSE(Exists("out.txt"));
  }
}

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

TEST_F(WindowTest, PopupsPlaceGreyOutDispatchAndAreBounded) {
  EXPECT_TRUE(numberOfBoxes == 2 && wp1 == &popupBoxes[0] && wp3 == &popupBoxes[2]);
  // With state 0 (and a state no command has) Ok and Cancel do nothing.
  PopShell1(topLevel, wstart, "prompt", "text", "Ok", "Cancel");
  for (PopupBoxPtr p : {wp1, wp2, wp3}) Press(p->ok), Press(p->cancel);
  state = 4711, DialogDone1(0, wp1->cancel, wp1->box, nullptr), state = 0;
  EXPECT_TRUE(IsPoppedUp(wp1) && !IsPoppedUp(wp2) && !IsPoppedUp(wp3) && !procedureList.procedure);
  EXPECT_EQ(Prompt() + "|" + TextOf(wp1->text), "prompt|text");
  popdown(wstart, wp1->pshell);
  // The box is placed at the main window and grabs input; a greyed-out button takes none.
  EXPECT_EQ(CommandLine({}), -1);
  int calls = 0;
  XtAddCallback(wredisplay, XtNcallback, CountCall, &calls);
  Click(wredisplay);
  SetSensitiveFalse(1);
  PopShell1(topLevel, wsave, "Please Provide a File Name:", "abc", "Ok", "Cancel");
  EXPECT_TRUE(IsPoppedUp(wp1) && !IsSensitive(wsave));
  Position x = 0, y = 0;
  XtTranslateCoords(topLevel, 50, 100, &x, &y);
  EXPECT_TRUE(Geo(wp1->pshell)[0] == x && Geo(wp1->pshell)[1] == y);
  Click(wredisplay);
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
  EXPECT_LE(Geo(wp2->label)[1] + Geo(wp2->label)[3], Geo(wp2->text)[1]);
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

// Input loses its white space and is read whole up to the buffer, longer input is
// refused with an Error line; selections are cut to the buffer. Nothing is written
// past the caller's buffer.
TEST_F(WindowTest, InputAndSelectionWithoutWhiteSpaceAndInBounds) {
  std::string text, expect, full(INPUT_SIZE - 1, 'x'), qs(3000, 'q');
  for (int i = 0; i < 9000; i++) text += (i % 10 == 9) ? '\n' : char('a' + i % 26);
  for (char c : text) if (c != '\n') expect += c;   // longer than one block of the source
  // Read from the answer text, or the selection from..to of the main text.
  struct { std::string text; long from, to; size_t size; char first; std::string read; bool err; } rows[] = {
      {"  {x = 1 ^\n\ty=2}\n ", 0, 0, INPUT_SIZE, '{', "{x=1^y=2}", false},
      {" \t\n\n  ", 0, 0, INPUT_SIZE, 0, "", false},
      {text, 0, 0, INPUT_SIZE, 'a', expect, false},
      {"  " + full + " \n", 0, 0, INPUT_SIZE, 'x', full, false},
      {full + "y", 0, 0, INPUT_SIZE, 0, "", true},
      {"abcdefgh", 0, 0, 8, 0, "", true},
      {"abc defg", 0, 0, 8, 'a', "abcdefg", false},
      {"first\nse c\tond\nthird\n", 6, 14, SELECT_SIZE, 's', "second", false},
      {qs + "\nrest", 0, 3005, SELECT_SIZE, 'q', qs.substr(0, SELECT_SIZE - 1), false},
      {qs + "\nrest", 2995, 3005, 4, 'q', "qqq", false},
      {qs + "\nrest", 2995, 3005, 1, 0, "", false}};
  for (const auto &r : rows) {
    std::vector<char> buf(r.size + 8, 'Z');
    Widget w = r.to ? wtext : wp1->text;
    SetTextOf(w, r.text), Select(w, r.from, r.to);
    char first = 1;
    std::string out = Out([&] {
      first = r.to ? GetSelectedItem(buf.data(), w, r.size) : GetInput(buf.data(), w, r.size);
    });
    EXPECT_TRUE(first == r.first && buf.data() == r.read && buf[r.size] == 'Z') << r.text.substr(0, 40);
    EXPECT_EQ(out.rfind("Error: ", 0) == 0, r.err) << out;
  }
}

}  // namespace
