// The main window, the popup boxes and the dialog dispatcher, in process.
#include "gui_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>
#include <X11/Xaw/Box.h>
#include <X11/Xaw/Command.h>

namespace {

class WindowTest : public GuiTest {};

struct Expected {
  const char *name;
  WidgetClass *cls;
  const char *parent;
  int width, height;
};

std::string ClassName(Widget w) { return XtClass(w)->core_class.class_name; }

// The children of a composite widget, in creation order.
std::vector<Widget> Children(Widget w) {
  WidgetList list = nullptr;
  Cardinal n = 0;
  XtVaGetValues(w, XtNchildren, &list, XtNnumChildren, &n, NULL);
  return std::vector<Widget>(list, list + n);
}

TEST_F(WindowTest, WidgetTreeNamesClassesOrderAndSizes) {
  // The shell's only widget child is "box" (Xaw adds a non-widget object).
  Widget box = nullptr;
  int widgets = 0;
  for (Widget c : Children(shell))
    if (XtIsWidget(c)) {
      box = c;
      widgets++;
    }
  ASSERT_EQ(widgets, 1);
  EXPECT_STREQ(XtName(box), "box");
  EXPECT_EQ(ClassName(box), "Box");
  int x, y, w, h;
  std::vector<Widget> inBox = Children(box);
  ASSERT_EQ(inBox.size(), 5u);
  const char *boxNames[] = {"boxa", "boxb", "clear", "save", "quit"};
  for (int i = 0; i < 5; i++) EXPECT_STREQ(XtName(inBox[i]), boxNames[i]);
  EXPECT_EQ(inBox[2], wclear);
  EXPECT_EQ(inBox[3], wsave);
  EXPECT_EQ(inBox[4], wquit);
  Dimension bw = 9;
  XtVaGetValues(inBox[0], XtNborderWidth, &bw, NULL);
  EXPECT_EQ(bw, 0);

  std::vector<Widget> boxa = Children(inBox[0]);
  const char *names[] = {"start", "refresh", "select", "post-cond", "expand", "veri-conds"};
  Widget globals[] = {wstart, wredisplay, wselect, wpost, wexpand, wassumption};
  ASSERT_EQ(boxa.size(), 6u);
  for (int i = 0; i < 6; i++) {
    EXPECT_EQ(boxa[i], globals[i]) << names[i];
    EXPECT_STREQ(XtName(boxa[i]), names[i]);
    EXPECT_EQ(ClassName(boxa[i]), "Command");
    EXPECT_EQ(LabelOf(boxa[i]), names[i]);
    Geometry(boxa[i], &x, &y, &w, &h);
    EXPECT_EQ(w, 80);
    EXPECT_EQ(h, 70);
  }
  const char *foot[] = {"clear", "save", "quit"};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(ClassName(inBox[2 + i]), "Command");
    EXPECT_EQ(LabelOf(inBox[2 + i]), foot[i]);
    Geometry(inBox[2 + i], &x, &y, &w, &h);
    EXPECT_EQ(w, 40);
    EXPECT_EQ(h, 70);
  }

  std::vector<Widget> boxb = Children(inBox[1]);
  ASSERT_EQ(boxb.size(), 2u);
  EXPECT_STREQ(XtName(boxb[0]), "Procedure List:");
  EXPECT_EQ(ClassName(boxb[0]), "Label");
  EXPECT_EQ(LabelOf(boxb[0]), "Procedure List:");
  Geometry(boxb[0], &x, &y, &w, &h);
  EXPECT_EQ(w, 250);
  EXPECT_EQ(h, 30);
  EXPECT_EQ(boxb[1], wtext);
  EXPECT_STREQ(XtName(wtext), "text");
  EXPECT_EQ(ClassName(wtext), "Text");   // AsciiText's class name
  Geometry(wtext, &x, &y, &w, &h);
  EXPECT_EQ(w, 250);
  EXPECT_EQ(h, 415);
  EXPECT_EQ(TextOf(wtext), "");
  XawTextEditType et = XawtextEdit;
  XtVaGetValues(wtext, XtNeditType, &et, NULL);
  EXPECT_EQ(et, XawtextRead);
  XawTextSelectType *sel = nullptr;
  XtVaGetValues(wtext, XtNselectTypes, &sel, NULL);
  EXPECT_EQ(sel, a);
  EXPECT_EQ(a[0], XawselectWord);
  EXPECT_EQ(a[1], XawselectNull);
}

}  // namespace

namespace {

class StartupTest : public GuiTest {
 protected:
  Widget seven[7];
  void SetUp() override {
    GuiTest::SetUp();
    if (IsSkipped()) return;
    Widget w[7] = {wclear, wsave, wassumption, wselect, wredisplay, wpost, wexpand};
    for (int i = 0; i < 7; i++) seven[i] = w[i];
  }
  int SensitiveCount() {
    int n = 0;
    for (Widget w : seven) n += IsSensitive(w);
    return n;
  }
};

const char *const kSwap =
    "{x=a^y=b}%PROC swap(%IOP/x:int;%IOP/y:int)==%LOC [int:t]"
    "%STM [LB=1=>$Ot=x^$OLB=2;LB=2=>$Ox=y^$OLB=3;LB=3=>$Oy=t^$OLB=4;]{x=b^y=a}";

TEST_F(StartupTest, NoArgumentsGreysOutSevenButtons) {
  EXPECT_EQ(CommandLine({}), -1);
  EXPECT_EQ(SensitiveCount(), 0);
  EXPECT_TRUE(IsSensitive(wstart));
  EXPECT_TRUE(IsSensitive(wquit));
  EXPECT_EQ(LabelOf(wstart), "start");
  EXPECT_EQ(TextOf(wtext), "");
  EXPECT_EQ(state, 0);
  // A real click on a greyed-out button does nothing, on a usable one it fires.
  int calls = 0;
  XtCallbackProc count = [](Widget, XtPointer c, XtPointer) { ++*static_cast<int *>(c); };
  XtAddCallback(wredisplay, XtNcallback, count, &calls);
  Click(wredisplay);
  EXPECT_EQ(calls, 0);
  SetSensitiveFalse(1);
  EXPECT_EQ(SensitiveCount(), 7);
  Click(wredisplay);
  EXPECT_EQ(calls, 1);
  SetSensitiveFalse(0);
  EXPECT_EQ(SensitiveCount(), 0);
  EXPECT_TRUE(IsSensitive(wstart));
  EXPECT_TRUE(IsSensitive(wquit));
}

TEST_F(StartupTest, DebugOptionOpensLogAndLoadsNothing) {
  char cwd[4096];
  ASSERT_TRUE(getcwd(cwd, sizeof cwd));
  char dir[] = "/tmp/quell-gui-XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  ASSERT_EQ(chdir(dir), 0);
  std::string prog = std::string(dir) + "/p.q";
  FILE *f = fopen(prog.c_str(), "w");
  ASSERT_TRUE(f);
  fputs(kSwap, f);
  fclose(f);
  EXPECT_EQ(CommandLine({"-d", prog.c_str(), "out.txt"}), -1);
  EXPECT_TRUE(LogIsOn());
  EXPECT_EQ(access("vLog", F_OK), 0);
  EXPECT_EQ(access("out.txt", F_OK), -1);
  EXPECT_EQ(procedureList.procedure, nullptr);
  EXPECT_EQ(SensitiveCount(), 0);
  EXPECT_EQ(LabelOf(wstart), "start");
  EXPECT_EQ(TextOf(wtext), "");
  // Switch the log off again: opening it where "vLog" is a directory fails.
  unlink("vLog");
  mkdir("vLog", 0700);
  testing::internal::CaptureStdout();
  LogFileOpen();
  testing::internal::GetCapturedStdout();
  rmdir("vLog");
  EXPECT_FALSE(LogIsOn());
  unlink(prog.c_str());
  EXPECT_EQ(chdir(cwd), 0);
  rmdir(dir);
}

TEST_F(StartupTest, ProgramLoadsAndKeepsButtonsUsable) {
  EXPECT_EQ(CommandLine({kSwap}), -1);
  EXPECT_EQ(LabelOf(wstart), "add-proc");
  int x, y, w, h;
  Geometry(wstart, &x, &y, &w, &h);
  EXPECT_EQ(w, 80);
  EXPECT_EQ(h, 70);
  EXPECT_EQ(SensitiveCount(), 7);
  EXPECT_NE(TextOf(wtext).find("swap"), std::string::npos);
  ASSERT_NE(procedureList.procedure, nullptr);
  EXPECT_STREQ(procedureList.procedure->name, "swap");
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
}

TEST_F(StartupTest, UnreadableProgramFile) {
  const char *missing = "/nonexistent-dir/none.q";
  const char *out = "/tmp/quell-gui-unreadable-out.txt";
  unlink(out);
  testing::internal::CaptureStdout();
  int r = CommandLine({missing, out});
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_GT(r, 0);
  EXPECT_NE(printed.find("Error: "), std::string::npos);
  EXPECT_NE(printed.find(missing), std::string::npos);
  EXPECT_EQ(access(out, F_OK), -1);
  // Without an output file it is an error too: the client does not start.
  testing::internal::CaptureStdout();
  r = CommandLine({missing});
  printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(r, 1);
  EXPECT_NE(printed.find(missing), std::string::npos);
  EXPECT_EQ(procedureList.procedure, nullptr);
}

TEST_F(StartupTest, ThreeArgumentsWriteNothing) {
  const char *out = "/tmp/quell-gui-three-out.txt";
  unlink(out);
  EXPECT_EQ(CommandLine({kSwap, out, "extra"}), -1);
  EXPECT_EQ(access(out, F_OK), -1);
  EXPECT_EQ(LabelOf(wstart), "add-proc");
  EXPECT_EQ(SensitiveCount(), 7);
}

TEST_F(StartupTest, BatchExitWritesResultFile) {
  const char *out = "/tmp/quell-gui-batch-out.txt";
  unlink(out);
  EXPECT_EQ(CommandLine({kSwap, out}), 0);
  EXPECT_EQ(LabelOf(wstart), "add-proc");
  EXPECT_EQ(SensitiveCount(), 7);
  EXPECT_NE(TextOf(wtext).find("swap"), std::string::npos);
  EXPECT_EQ(state, 0);
  FILE *f = fopen(out, "r");
  ASSERT_TRUE(f);
  char buf[64] = {0};
  size_t n = fread(buf, 1, sizeof buf - 1, f);
  fclose(f);
  EXPECT_GT(n, 0u);
  EXPECT_EQ(std::string(buf).rfind("Procedures:\n\n", 0), 0u);
  unlink(out);
}

TEST_F(StartupTest, MissingInvariantAsksAndNeverWrites) {
  const char *out = "/tmp/quell-gui-noinv-out.txt";
  unlink(out);
  std::string prog = std::string(QUELL_SOURCE_DIR) + "/examples/noinv.q";
  EXPECT_EQ(CommandLine({prog.c_str(), out}), -1);
  EXPECT_EQ(state, 109);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_NE(LabelOf(wp1->label).find("invariant"), std::string::npos);
  EXPECT_EQ(LabelOf(wstart), "add-proc");
  EXPECT_EQ(SensitiveCount(), 7);
  EXPECT_EQ(access(out, F_OK), -1);
  // Answering the question generates the conditions but writes no file.
  SetTextOf(wp1->text, "x < +(n,1)");
  Press(wp1->ok);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_EQ(access(out, F_OK), -1);
}

TEST_F(StartupTest, BatchExitUnwritableOutput) {
  const char *out = "/nonexistent-dir/out.txt";
  testing::internal::CaptureStdout();
  int r = CommandLine({kSwap, out});
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_GT(r, 0);
  EXPECT_NE(printed.find("Error: "), std::string::npos);
  EXPECT_NE(printed.find(out), std::string::npos);
}

class PopupTest : public GuiTest {};

TEST_F(PopupTest, BoxesAfterInit) {
  EXPECT_EQ(numberOfBoxes, 2);
  EXPECT_EQ(wp1, &popupBoxes[0]);
  EXPECT_EQ(wp2, &popupBoxes[1]);
  EXPECT_EQ(wp3, &popupBoxes[2]);
  PopupBoxPtr read[] = {wp1, wp3};
  for (PopupBoxPtr p : read) {
    EXPECT_STREQ(XtName(p->pshell), "pshell");
    EXPECT_EQ(ClassName(p->pshell), "TransientShell");
    EXPECT_EQ(XtParent(p->pshell), topLevel);
    EXPECT_STREQ(XtName(p->box), "box");
    EXPECT_STREQ(XtName(p->label), "label");
    EXPECT_STREQ(XtName(p->text), "text");
    EXPECT_STREQ(XtName(p->ok), "ok");
    EXPECT_STREQ(XtName(p->cancel), "cancel");
    EXPECT_EQ(LabelOf(p->ok), "Ok");
    EXPECT_EQ(LabelOf(p->cancel), "Cancel");
    XawTextEditType et = XawtextRead;
    XtVaGetValues(p->text, XtNeditType, &et, NULL);
    EXPECT_EQ(et, XawtextEdit);
    int x, y, w, h;
    Geometry(p->text, &x, &y, &w, &h);
    EXPECT_EQ(w, 500);
    EXPECT_EQ(h, 400);
    Geometry(p->ok, &x, &y, &w, &h);
    EXPECT_EQ(w, 246);
    EXPECT_EQ(h, 30);
    EXPECT_FALSE(IsPoppedUp(p));
  }
  EXPECT_STREQ(XtName(wp2->pshell), "pshell2");
  EXPECT_STREQ(XtName(wp2->box), "box2");
  EXPECT_STREQ(XtName(wp2->ok), "expand");
  EXPECT_EQ(LabelOf(wp2->ok), "Expand");
  EXPECT_EQ(LabelOf(wp2->cancel), "Cancel");
  XawTextSelectType *sel = nullptr;
  XtVaGetValues(wp2->text, XtNselectTypes, &sel, NULL);
  EXPECT_EQ(sel, a);
  int x, y, w, h;
  Geometry(wp2->text, &x, &y, &w, &h);
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 450);
}

TEST_F(PopupTest, BoxCapacityIsChecked) {
  numberOfBoxes = POPUP_CAPACITY - 1;
  testing::internal::CaptureStdout();
  int r1 = CreateReadBox();
  int r2 = CreateListBox();
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(r1, -1);
  EXPECT_EQ(r2, -1);
  EXPECT_EQ(numberOfBoxes, POPUP_CAPACITY - 1);
  EXPECT_NE(printed.find("Error: "), std::string::npos);
  // The last free element can still be used.
  numberOfBoxes = POPUP_CAPACITY - 2;
  EXPECT_EQ(CreateListBox(), POPUP_CAPACITY - 1);
  numberOfBoxes = 2;
}

TEST_F(PopupTest, PopShell1And3ShowPromptTextAndButtons) {
  PopShell1(topLevel, wsave, "Please Provide a File Name:", "abc", "Ok", "Cancel");
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_FALSE(IsSensitive(wsave));
  EXPECT_EQ(LabelOf(wp1->label), "Please Provide a File Name:");
  EXPECT_EQ(TextOf(wp1->text), "abc");
  EXPECT_EQ(LabelOf(wp1->ok), "Ok");
  EXPECT_EQ(LabelOf(wp1->cancel), "Cancel");
  Position rx = 0, ry = 0;
  XtTranslateCoords(topLevel, 50, 100, &rx, &ry);
  int x, y;
  Geometry(wp1->pshell, &x, &y, nullptr, nullptr);
  EXPECT_EQ(x, rx);
  EXPECT_EQ(y, ry);
  // The main window takes no input while the popup is up.
  int calls = 0;
  XtCallbackProc count = [](Widget, XtPointer c, XtPointer) { ++*static_cast<int *>(c); };
  SetSensitiveFalse(1);
  XtAddCallback(wredisplay, XtNcallback, count, &calls);
  Click(wredisplay);
  EXPECT_EQ(calls, 0);

  // The second read box opens relative to the first box, a null text is "".
  PopShell3(wp1->box, wp1->ok, "Program Part (1,2) of swap:", nullptr, "Select", "Back");
  EXPECT_TRUE(IsPoppedUp(wp3));
  EXPECT_FALSE(IsSensitive(wp1->ok));
  EXPECT_EQ(TextOf(wp3->text), "");
  EXPECT_EQ(LabelOf(wp3->ok), "Select");
  EXPECT_EQ(LabelOf(wp3->cancel), "Back");
  XtTranslateCoords(wp1->box, 50, 100, &rx, &ry);
  Geometry(wp3->pshell, &x, &y, nullptr, nullptr);
  EXPECT_EQ(x, rx);
  EXPECT_EQ(y, ry);

  popdown(wp1->ok, wp3->pshell);
  EXPECT_FALSE(IsPoppedUp(wp3));
  EXPECT_TRUE(IsSensitive(wp1->ok));
  popdown(wsave, wp1->pshell);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wsave));
  Click(wredisplay);
  EXPECT_EQ(calls, 1);

  // Shown again, the contents are replaced; null texts show as empty.
  PopShell1(topLevel, wstart, "second", "", "Ok", "Cancel");
  EXPECT_EQ(LabelOf(wp1->label), "second");
  EXPECT_EQ(TextOf(wp1->text), "");
  PopShell1(topLevel, wstart, nullptr, nullptr, "Ok", "Cancel");
  EXPECT_EQ(LabelOf(wp1->label), "");
  EXPECT_EQ(TextOf(wp1->text), "");
  popdown(wstart, wp1->pshell);
}

TEST_F(PopupTest, PopShell2ShowsListLeftJustified) {
  std::string longName(2047, 'n');
  PopShell2(topLevel, wselect, longName.c_str(), "LB=1=>$Ox=1^$OLB=2;\nLB=2=>$Ox=2^$OLB=3;\n",
            "Expand", "Cancel");
  EXPECT_TRUE(IsPoppedUp(wp2));
  EXPECT_FALSE(IsSensitive(wselect));
  EXPECT_EQ(LabelOf(wp2->label), longName);
  EXPECT_EQ(LabelOf(wp2->ok), "Expand");
  EXPECT_EQ(LabelOf(wp2->cancel), "Cancel");
  XtJustify j = XtJustifyCenter;
  Dimension bw = 9;
  XtVaGetValues(wp2->label, XtNjustify, &j, XtNborderWidth, &bw, NULL);
  EXPECT_EQ(j, XtJustifyLeft);
  EXPECT_EQ(bw, 0);
  int x, y, w, h, tx, ty;
  Geometry(wp2->label, &x, &y, &w, &h);
  Geometry(wp2->text, &tx, &ty, nullptr, nullptr);
  EXPECT_EQ(x, 4);
  EXPECT_LE(y + h, ty);   // the prompt stays visible above the list
  EXPECT_EQ(TextOf(wp2->text), "LB=1=>$Ox=1^$OLB=2;\nLB=2=>$Ox=2^$OLB=3;\n");
  XawTextEditType et = XawtextEdit;
  XtVaGetValues(wp2->text, XtNeditType, &et, NULL);
  EXPECT_EQ(et, XawtextRead);
  popdown(wselect, wp2->pshell);
  EXPECT_TRUE(IsSensitive(wselect));
}

TEST_F(PopupTest, OkAndCancelDoNothingWithoutDialog) {
  ASSERT_EQ(state, 0);
  PopShell1(topLevel, wstart, "prompt", "text", "Ok", "Cancel");
  PopupBoxPtr boxes[] = {wp1, wp2, wp3};
  for (PopupBoxPtr p : boxes) {
    Press(p->ok);
    Press(p->cancel);
  }
  DialogDone1(1, wp1->ok, wp1->box, nullptr);
  state = 4711;   // no command has this state
  DialogDone1(0, wp1->cancel, wp1->box, nullptr);
  state = 0;
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_FALSE(IsPoppedUp(wp2));
  EXPECT_FALSE(IsPoppedUp(wp3));
  EXPECT_EQ(LabelOf(wp1->label), "prompt");
  EXPECT_EQ(TextOf(wp1->text), "text");
  EXPECT_FALSE(IsSensitive(wstart));
  EXPECT_EQ(procedureList.procedure, nullptr);
  popdown(wstart, wp1->pshell);

  // With a command's dialog open the press reaches that command's handler.
  SetSensitiveFalse(1);
  Press(wsave);
  EXPECT_EQ(state, 107);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_FALSE(IsSensitive(wsave));
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
  EXPECT_FALSE(IsPoppedUp(wp1));
  EXPECT_TRUE(IsSensitive(wsave));
}

class InputTest : public GuiTest {};

TEST_F(InputTest, InputAndSelectionWithoutWhiteSpace) {
  char s[INPUT_SIZE];
  SetTextOf(wp1->text, "  {x = 1 ^\n\ty=2}\n ");
  EXPECT_EQ(GetInput(s, wp1->text), '{');
  EXPECT_STREQ(s, "{x=1^y=2}");
  SetTextOf(wp1->text, " \t\n\n  ");
  strcpy(s, "old");
  EXPECT_EQ(GetInput(s, wp1->text), 0);
  EXPECT_STREQ(s, "");
  SetTextOf(wp1->text, "");
  EXPECT_EQ(GetInput(s, wp1->text), 0);

  char sel[SELECT_SIZE];
  SetTextOf(wtext, "first\nse c\tond\nthird\n");
  strcpy(sel, "old");
  EXPECT_EQ(GetSelectedItem(sel, wtext), 0);   // nothing selected
  EXPECT_STREQ(sel, "");
  Select(wtext, 6, 14);
  EXPECT_EQ(GetSelectedItem(sel, wtext), 's');
  EXPECT_STREQ(sel, "second");
  Select(wtext, 5, 6);   // only a newline
  EXPECT_EQ(GetSelectedItem(sel, wtext), 0);
  ASSERT_TRUE(SelectWord(wtext, "third"));
  EXPECT_EQ(GetSelectedItem(sel, wtext), 't');
  EXPECT_STREQ(sel, "third");
}

TEST_F(InputTest, LongInputIsReadWholeOrRefused) {
  static char s[INPUT_SIZE];
  // Longer than one block of the text source and than 2048: read whole.
  std::string text;
  for (int i = 0; i < 9000; i++) text += (i % 10 == 9) ? '\n' : char('a' + i % 26);
  std::string expect;
  for (char c : text)
    if (c != '\n') expect += c;
  SetTextOf(wp1->text, text);
  EXPECT_EQ(GetInput(s, wp1->text), 'a');
  EXPECT_EQ(std::string(s), expect);
  // Exactly what the buffer holds, with blanks around that do not count.
  std::string full(INPUT_SIZE - 1, 'x');
  SetTextOf(wp1->text, "  " + full + " \n");
  EXPECT_EQ(GetInput(s, wp1->text), 'x');
  EXPECT_EQ(strlen(s), (size_t)INPUT_SIZE - 1);
  // One character more is refused with an Error line.
  SetTextOf(wp1->text, full + "y");
  testing::internal::CaptureStdout();
  char r = GetInput(s, wp1->text);
  std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(r, 0);
  EXPECT_STREQ(s, "");
  EXPECT_EQ(printed.rfind("Error: ", 0), 0u);
  // A small caller buffer is never overrun.
  char small[8];
  memset(small, 'Z', sizeof small);
  SetTextOf(wp1->text, "abcdefgh");
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetInput(small, wp1->text, sizeof small), 0);
  testing::internal::GetCapturedStdout();
  SetTextOf(wp1->text, "abc defg");
  EXPECT_EQ(GetInput(small, wp1->text, sizeof small), 'a');
  EXPECT_STREQ(small, "abcdefg");
}

TEST_F(InputTest, LongSelectionIsCutToTheBuffer) {
  std::string text(3000, 'q');
  text += "\nrest";
  SetTextOf(wtext, text);
  char sel[SELECT_SIZE + 8];
  memset(sel, 'Z', sizeof sel);
  Select(wtext, 0, (long)text.size());
  EXPECT_EQ(GetSelectedItem(sel, wtext), 'q');
  EXPECT_EQ(strlen(sel), (size_t)SELECT_SIZE - 1);
  EXPECT_EQ(sel[SELECT_SIZE], 'Z');   // nothing written past the buffer
  char small[4];
  Select(wtext, 2995, 3005);
  EXPECT_EQ(GetSelectedItem(small, wtext, sizeof small), 'q');
  EXPECT_STREQ(small, "qqq");
  EXPECT_EQ(GetSelectedItem(small, wtext, 1), 0);
  EXPECT_STREQ(small, "");
}

}  // namespace

namespace {

class WiringTest : public GuiTest {};

// Every command button opens its own command's dialog next to the main
// window, and the box's second button closes it again.
TEST_F(WiringTest, ButtonsReachTheirCommands) {
  ASSERT_EQ(CommandLine({kSwap}), -1);
  ASSERT_TRUE(SelectWord(wtext, "swap"));
  struct {
    Widget *button;
    int state;
    PopupBoxPtr *box;
  } rows[] = {{&wstart, 105, &wp1},      {&wsave, 107, &wp1},   {&wassumption, 108, &wp1},
              {&wselect, 106, &wp2},     {&wpost, 112, &wp1},   {&wexpand, 111, &wp1}};
  Position rx = 0, ry = 0;
  XtTranslateCoords(topLevel, 50, 100, &rx, &ry);
  for (auto &r : rows) {
    SCOPED_TRACE(XtName(*r.button));
    Press(*r.button);
    EXPECT_EQ(state, r.state);
    PopupBoxPtr p = *r.box;
    EXPECT_TRUE(IsPoppedUp(p));
    EXPECT_FALSE(IsSensitive(*r.button));
    int x, y;
    Geometry(p->pshell, &x, &y, nullptr, nullptr);
    EXPECT_EQ(x, rx);
    EXPECT_EQ(y, ry);
    Press(p->cancel);
    EXPECT_EQ(state, 0);
    EXPECT_FALSE(IsPoppedUp(p));
    EXPECT_TRUE(IsSensitive(*r.button));
  }
  SetTextOf(wtext, "stale");
  Press(wredisplay);
  EXPECT_NE(TextOf(wtext).find("swap"), std::string::npos);
  EXPECT_EQ(TextOf(wtext).find("stale"), std::string::npos);
  EXPECT_EQ(XtHasCallbacks(wquit, XtNcallback), XtCallbackHasSome);
  // clear drops the program and opens the start dialog at once.
  Press(wclear);
  EXPECT_EQ(state, 105);
  EXPECT_TRUE(IsPoppedUp(wp1));
  EXPECT_EQ(procedureList.procedure, nullptr);
  EXPECT_EQ(TextOf(wtext).find("swap"), std::string::npos);
  EXPECT_EQ(LabelOf(wstart), "add-proc");
  Press(wp1->cancel);
  EXPECT_EQ(state, 0);
}

}  // namespace
