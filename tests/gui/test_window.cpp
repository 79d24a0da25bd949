// The main window, the command line at start-up, the popup boxes, the dialog
// dispatcher and the reading of input and selections, in process.
#include "gui_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

std::string ClassName(Widget w) { return XtClass(w)->core_class.class_name; }
bool Exists(const char *path) { return access(path, F_OK) == 0; }
std::vector<Widget> Children(Widget w) {
  WidgetList list = nullptr;
  Cardinal k = 0;
  XtVaGetValues(w, XtNchildren, &list, XtNnumChildren, &k, NULL);
  return std::vector<Widget>(list, list + k);
}
// Counts the calls of a callback added with &counter as client data.
void CountCall(Widget, XtPointer c, XtPointer) { ++*static_cast<int *>(c); }
std::string Sizes(Widget w) {
  Dimension wd = 0, ht = 0;
  XtVaGetValues(w, XtNwidth, &wd, XtNheight, &ht, NULL);
  return std::to_string(wd) + "x" + std::to_string(ht);
}
XawTextEditType EditType(Widget t) {
  XawTextEditType et = XawtextAppend;
  return XtVaGetValues(t, XtNeditType, &et, NULL), et;
}

const char *const kSwap = "{x=a^y=b}%PROC swap(%IOP/x:int;%IOP/y:int)==%LOC [int:t]"
    "%STM [LB=1=>$Ot=x^$OLB=2;LB=2=>$Ox=y^$OLB=3;LB=3=>$Oy=t^$OLB=4;]{x=b^y=a}";

class WindowTest : public GuiTest {
 protected:
  // The popup opened at (50,100) of rel.
  static bool PlacedAt(PopupBoxPtr p, Widget rel) {
    Position x = 0, y = 0;
    XtTranslateCoords(rel, 50, 100, &x, &y);
    return Geo(p->pshell).x == x && Geo(p->pshell).y == y;
  }
  // The widgets below w as name/Class/size/label, children in brackets in creation order.
  static std::string Tree(Widget w) {
    std::string s = XtName(w) + ("/" + ClassName(w)), sub;
    if (ClassName(w) == "Command" || ClassName(w) == "Label")
      s += "/" + Sizes(w) + "/" + LabelOf(w);
    if (ClassName(w) == "Text") s += "/" + Sizes(w);
    if (XtIsComposite(w))
      for (Widget c : Children(w)) if (XtIsWidget(c)) sub += (sub.empty() ? "" : " ") + Tree(c);
    return sub.empty() ? s : s + "[" + sub + "]";
  }
};

TEST_F(WindowTest, WidgetTreeNamesClassesOrderAndSizes) {
  EXPECT_EQ(Tree(shell),
            "quell1/ApplicationShell[box/Box[boxa/Box[start/Command/80x70/start "
            "refresh/Command/80x70/refresh select/Command/80x70/select post-cond/Command/80x70/"
            "post-cond expand/Command/80x70/expand veri-conds/Command/80x70/veri-conds] boxb/Box["
            "Procedure List:/Label/250x30/Procedure List: text/Text/250x415] clear/Command/40x70/"
            "clear save/Command/40x70/save quit/Command/40x70/quit]]");
  EXPECT_TRUE(XtNameToWidget(shell, "box.boxb.text") == wtext &&
              XtNameToWidget(shell, "box.boxa.veri-conds") == wassumption);
  XawTextSelectType *sel = nullptr;
  XtVaGetValues(wtext, XtNselectTypes, &sel, NULL);
  EXPECT_TRUE(EditType(wtext) == XawtextRead && sel == a);
  EXPECT_TRUE(a[0] == XawselectWord && a[1] == XawselectNull);
}

// The command line at start-up: what each form returns, loads, shows and writes.
struct StartRow {
  const char *name;
  std::vector<std::string> args;   // "$SWAP": program text, "$NOINV": a file missing an invariant
  int ret;                         // -1: enter the event loop
  const char *start, *list;        // label of start; text the list holds
  int st;                          // state (109: an invariant question is open)
  bool writes;                     // out.txt is written
  const char *printed;             // part of what was printed (null: not checked)
};
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
    args.push_back(a == "$SWAP"    ? kSwap
                   : a == "$NOINV" ? std::string(QUELL_SOURCE_DIR) + "/examples/noinv.q"
                                   : a);
  std::string printed = Out([&] { EXPECT_EQ(CommandLine(args), r.ret); });
  if (r.printed) { EXPECT_TRUE(Has(printed, r.printed) && Has(printed, "Error: ")) << printed; }
  EXPECT_EQ(LabelOf(wstart), r.start);
  if (*r.list || !r.printed) { EXPECT_EQ(SevenUsable(), *r.list ? 7 : 0); }
  // start is greyed out while a question is open
  EXPECT_TRUE(IsSensitive(wstart) == (r.st != 109) && IsSensitive(wquit));
  EXPECT_TRUE(state == r.st && IsPoppedUp(wp1) == (r.st == 109));
  EXPECT_EQ(TextOf(wtext), r.list);
  EXPECT_EQ(procedureList.procedure != nullptr, *r.list != 0);
  std::stringstream ss;
  ss << std::ifstream("out.txt").rdbuf();
  EXPECT_EQ(Exists("out.txt"), r.writes);
  EXPECT_EQ(ss.str().rfind("Procedures:\n\n", 0) == 0, r.writes);
  if (r.args.size() && r.args[0] == "-d") {   // the log is opened, nothing is loaded
    EXPECT_TRUE(LogIsOn() && Exists("vLog"));
    unlink("vLog"), mkdir("vLog", 0700);   // switched off: opening a directory fails
    Out([] { LogFileOpen(); });
    rmdir("vLog");
    EXPECT_FALSE(LogIsOn());
  }
  if (r.st == 109) {   // answering the question generates the conditions but writes no file
    EXPECT_TRUE(Has(Prompt(), "invariant"));
    Answer("x < +(n,1)");
    EXPECT_TRUE(state == 0 && !IsPoppedUp(wp1));
    EXPECT_NE(assumptionList.assumption, nullptr);
    EXPECT_FALSE(Exists("out.txt"));
  }
}

const char *kNone = "/nonexistent-dir/none.q", *kNoDir = "/nonexistent-dir/out.txt";
INSTANTIATE_TEST_SUITE_P(Forms, Startup, ::testing::Values(
    StartRow{"none", {}, -1, "start", "", 0, false, nullptr},
    StartRow{"debug", {"-d", "p.q", "out.txt"}, -1, "start", "", 0, false, nullptr},
    StartRow{"text", {"$SWAP"}, -1, "add-proc", "swap\n", 0, false, nullptr},
    StartRow{"file", {"p.q"}, -1, "add-proc", "swap\n", 0, false, nullptr},
    StartRow{"three", {"$SWAP", "out.txt", "x"}, -1, "add-proc", "swap\n", 0, false, nullptr},
    StartRow{"batch", {"$SWAP", "out.txt"}, 0, "add-proc", "swap\n", 0, true, nullptr},
    StartRow{"noinv", {"$NOINV", "out.txt"}, -1, "add-proc", "noinv\n", 109, false, nullptr},
    StartRow{"unreadable", {kNone, "out.txt"}, 1, "start", "", 0, false, kNone},
    StartRow{"unreadable_alone", {kNone}, 1, "start", "", 0, false, kNone},
    StartRow{"unwritable", {"$SWAP", kNoDir}, 1, "add-proc", "swap\n", 0, false,
             "Error: cannot write the file /nonexistent-dir/out.txt"}),
    [](const ::testing::TestParamInfo<StartRow> &i) { return std::string(i.param.name); });

TEST_F(WindowTest, PopupBoxesAfterInitAndTheirBound) {
  EXPECT_EQ(numberOfBoxes, 2);
  EXPECT_TRUE(wp1 == &popupBoxes[0] && wp2 == &popupBoxes[1] && wp3 == &popupBoxes[2]);
  for (PopupBoxPtr p : {wp1, wp3}) {   // the two read boxes
    EXPECT_EQ(Tree(p->pshell), "pshell/TransientShell[box/Box[label/Label/500x30/label text/Text/"
                               "500x400 ok/Command/246x30/Ok cancel/Command/246x30/Cancel]]");
    EXPECT_TRUE(XtParent(p->pshell) == topLevel && EditType(p->text) == XawtextEdit);
    EXPECT_FALSE(IsPoppedUp(p));
  }
  EXPECT_EQ(Tree(wp2->pshell), "pshell2/TransientShell[box2/Box[label/Label/300x30/label text/"
                               "Text/300x450 expand/Command/146x30/Expand cancel/Command/146x30/"
                               "Cancel]]");
  XawTextSelectType *sel = nullptr;
  XtVaGetValues(wp2->text, XtNselectTypes, &sel, NULL);
  EXPECT_EQ(sel, a);
  // The storage of boxes is bounded: past it creation fails with an Error line.
  numberOfBoxes = POPUP_CAPACITY - 1;
  int r1 = 0, r2 = 0;
  EXPECT_TRUE(Has(Out([&] { r1 = CreateReadBox(), r2 = CreateListBox(); }), "Error: "));
  EXPECT_TRUE(r1 == -1 && r2 == -1 && numberOfBoxes == POPUP_CAPACITY - 1);
  numberOfBoxes = POPUP_CAPACITY - 2;   // the last free element can still be used
  EXPECT_EQ(CreateListBox(), POPUP_CAPACITY - 1);
  numberOfBoxes = 2;
}

TEST_F(WindowTest, PopShellsPlaceShowAndGreyOutWhatTakesNoClicks) {
  EXPECT_EQ(CommandLine({}), -1);
  int calls = 0;
  XtAddCallback(wredisplay, XtNcallback, CountCall, &calls);
  Click(wredisplay);   // greyed out without a program: no call
  SetSensitiveFalse(1);
  EXPECT_EQ(SevenUsable(), 7);
  PopShell1(topLevel, wsave, "Please Provide a File Name:", "abc", "Ok", "Cancel");
  EXPECT_TRUE(IsPoppedUp(wp1) && !IsSensitive(wsave));
  EXPECT_EQ(Prompt() + "|" + TextOf(wp1->text) + "|" + LabelOf(wp1->ok) + "|" +
                LabelOf(wp1->cancel), "Please Provide a File Name:|abc|Ok|Cancel");
  EXPECT_TRUE(PlacedAt(wp1, topLevel));
  Click(wredisplay);   // the main window takes no input while the popup is up
  EXPECT_EQ(calls, 0);
  // The second read box opens relative to the first box; a null text is "".
  PopShell3(wp1->box, wp1->ok, "Program Part (1,2) of swap:", nullptr, "Select", "Back");
  EXPECT_TRUE(IsPoppedUp(wp3) && !IsSensitive(wp1->ok) && PlacedAt(wp3, wp1->box));
  EXPECT_EQ(TextOf(wp3->text) + "|" + LabelOf(wp3->ok) + "|" + LabelOf(wp3->cancel),
            "|Select|Back");
  popdown(wp1->ok, wp3->pshell);
  EXPECT_TRUE(!IsPoppedUp(wp3) && IsSensitive(wp1->ok));
  popdown(wsave, wp1->pshell);
  EXPECT_TRUE(!IsPoppedUp(wp1) && IsSensitive(wsave));
  Click(wredisplay);
  EXPECT_EQ(calls, 1);
  PopShell1(topLevel, wstart, nullptr, nullptr, "Ok", "Cancel");   // null texts show as empty
  EXPECT_EQ(Prompt() + "|" + TextOf(wp1->text), "|");
  popdown(wstart, wp1->pshell);
  // The list box: a long prompt left-justified above the list, which is read-only.
  std::string longName(2047, 'n');
  const char *list = "LB=1=>$Ox=1^$OLB=2;\nLB=2=>$Ox=2^$OLB=3;\n";
  PopShell2(topLevel, wselect, longName.c_str(), list, "Expand", "Cancel");
  EXPECT_TRUE(IsPoppedUp(wp2) && !IsSensitive(wselect));
  EXPECT_EQ(LabelOf(wp2->label) + TextOf(wp2->text), longName + list);
  XtJustify j = XtJustifyCenter;
  Dimension bw = 9;
  XtVaGetValues(wp2->label, XtNjustify, &j, XtNborderWidth, &bw, NULL);
  EXPECT_TRUE(j == XtJustifyLeft && bw == 0 && EditType(wp2->text) == XawtextRead);
  EXPECT_EQ(Geo(wp2->label).x, 4);
  EXPECT_LE(Geo(wp2->label).y + Geo(wp2->label).h, Geo(wp2->text).y);   // the prompt stays visible
  popdown(wselect, wp2->pshell);
  EXPECT_TRUE(IsSensitive(wselect));
  SetSensitiveFalse(0);
  EXPECT_EQ(SevenUsable(), 0);
  EXPECT_TRUE(IsSensitive(wstart) && IsSensitive(wquit));
}

TEST_F(WindowTest, DispatchReachesOnlyTheOpenCommand) {
  // With state 0 (or one no command has) Ok and Cancel of every box do nothing.
  PopShell1(topLevel, wstart, "prompt", "text", "Ok", "Cancel");
  for (PopupBoxPtr p : {wp1, wp2, wp3}) Press(p->ok), Press(p->cancel);
  DialogDone1(1, wp1->ok, wp1->box, nullptr);
  state = 4711;
  DialogDone1(0, wp1->cancel, wp1->box, nullptr);
  state = 0;
  EXPECT_TRUE(IsPoppedUp(wp1) && !IsPoppedUp(wp2) && !IsPoppedUp(wp3));
  EXPECT_EQ(Prompt() + "|" + TextOf(wp1->text), "prompt|text");
  EXPECT_FALSE(IsSensitive(wstart));
  EXPECT_EQ(procedureList.procedure, nullptr);
  popdown(wstart, wp1->pshell);
}

TEST_F(WindowTest, InputAndSelectionWithoutWhiteSpaceAndInBounds) {
  static char s[INPUT_SIZE];
  struct { const char *text, *read; } inputs[] = {
      {"  {x = 1 ^\n\ty=2}\n ", "{x=1^y=2}"}, {" \t\n\n  ", ""}, {"", ""}};
  for (auto &r : inputs) {
    SetTextOf(wp1->text, r.text);
    strcpy(s, "old");
    EXPECT_EQ(GetInput(s, wp1->text), r.read[0]);
    EXPECT_STREQ(s, r.read);
  }
  char sel[SELECT_SIZE + 8];
  SetTextOf(wtext, "first\nse c\tond\nthird\n");
  struct { long from, to; const char *read; } sels[] = {
      {0, 0, ""}, {6, 14, "second"}, {5, 6, ""}, {15, 20, "third"}};
  for (auto &r : sels) {
    Select(wtext, r.from, r.to);
    strcpy(sel, "old");
    EXPECT_EQ(GetSelectedItem(sel, wtext), r.read[0]);
    EXPECT_STREQ(sel, r.read);
  }
  // Longer than one block of the text source and than 2048: read whole.
  std::string text, expect;
  for (int i = 0; i < 9000; i++) text += (i % 10 == 9) ? '\n' : char('a' + i % 26);
  for (char c : text) if (c != '\n') expect += c;
  SetTextOf(wp1->text, text);
  EXPECT_EQ(GetInput(s, wp1->text), 'a');
  EXPECT_EQ(std::string(s), expect);
  // Exactly what the buffer holds, with blanks around that do not count; one
  // character more is refused with an Error line.
  std::string full(INPUT_SIZE - 1, 'x');
  SetTextOf(wp1->text, "  " + full + " \n");
  EXPECT_TRUE(GetInput(s, wp1->text) == 'x' && strlen(s) == INPUT_SIZE - 1);
  SetTextOf(wp1->text, full + "y");
  char r = 1;
  EXPECT_EQ(Out([&] { r = GetInput(s, wp1->text); }).rfind("Error: ", 0), 0u);
  EXPECT_TRUE(r == 0 && !*s);
  // A small caller buffer is never overrun.
  char small[8];
  memset(small, 'Z', sizeof small);
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
  EXPECT_EQ(GetSelectedItem(small, wtext, 4), 'q');
  EXPECT_STREQ(small, "qqq");
  EXPECT_TRUE(GetSelectedItem(small, wtext, 1) == 0 && !*small);
}

}  // namespace
