// The X client in process: display text builders, the navigation stack and the
// selection reader (no display needed); then start-up command lines, popup boxes
// and dispatcher, input and selection reading, and every command through the
// transitions of its dialog. One display and application context per process
// (libXaw caches per display); each client test builds a fresh client under a
// new shell. Any Xt warning fails the test; without DISPLAY they skip.
#include <gtest/gtest.h>   // before the X headers (they define None, Bool, ...)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>

#include "../../formula/formula.h"
#include "../../gui/w.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"

namespace {

std::string Example(const std::string &f) { return QUELL_SOURCE_DIR "/examples/" + f; }
bool Has(const std::string &s, const std::string &part) { return s.find(part) != s.npos; }
bool Exists(const char *path) { return access(path, F_OK) == 0; }
void CountCall(Widget, XtPointer c, XtPointer) { ++*static_cast<int *>(c); }
std::string Slurp(std::string f) { std::stringstream s; return s << std::ifstream(f).rdbuf(), s.str(); }
// wCommandLine on the arguments; the copies live on (program text is parsed in place).
int CommandLine(const std::vector<std::string> &args) {
  std::vector<char *> argv{strdup("quell1")};
  for (const std::string &s : args) argv.push_back(strdup(s.c_str()));
  argv.push_back(nullptr);
  return wCommandLine((int)argv.size() - 1, argv.data());
}
std::string Str(const char *s) { return s ? s : "(null)"; }
void Clear() { ProcedureListClear(), AssumptionListClear(), SequentListClear(), wPostCleanStack(); }
std::string Nav(char *pair, const char *to) {   // "" goes back
  return strcpy(pair, to), Str(wGetSentenceContent2(pair));
}

TEST(Builders, NamesOfNothingNavigationBoundsAndCutTexts) {
  Clear();
  StartProg1(strdup("{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM [LB=1=>$Ot=a^$OLB=2;"
                    "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}"));
  ProcedurePtr p = currentProcedure = Procedure2Ptr("p");
  for (const char *s : {wGetProcPrePostCond("zz"), wGetSentPrePostCond("(7,7)"),
                        wGetSentenceContent("(9,9)"), wGetSentenceContent("")})
    EXPECT_EQ(s, nullptr);
  EXPECT_EQ(currentProcedure, p);
  char pair[LABEL_SIZE];
  Nav(pair, "(1,5)");
  EXPECT_TRUE(Has(Nav(pair, "(2,5)"), "   ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n      (3,5);\n"));
  // Back: to the earlier entry, then past the first, never below 0.
  EXPECT_TRUE(Has(Nav(pair, ""), "(1,2);"));
  EXPECT_TRUE(Nav(pair, "") + Nav(pair, "") == "(null)(null)" && n == 0);
  // A full stack refuses one entry more and keeps showing its top.
  for (int i = 0; i < NAV_DEPTH; i++) Nav(pair, i == NAV_DEPTH - 1 ? "(2,5)" : "(1,5)");
  EXPECT_TRUE(Has(Nav(pair, "(3,5)"), "?[LB=2"));
  EXPECT_TRUE(n == NAV_DEPTH && !strcmp(pair, "(2,5)"));
  // A text too long to be a label pair is not pushed.
  wPostCleanStack(), Nav(pair, "(1,5)");
  char big[SELECT_SIZE];
  memset(big, 'x', 100), big[0] = '(', big[100] = 0;
  EXPECT_TRUE(wGetSentenceContent2(big) && n == 1 && !strcmp(big, "(1,5)"));
  // Long lists are cut to their buffer.
  std::string prog;
  for (int i = 0; i < 1500; i++)
    prog += "{x>0}%PROC proc" + std::to_string(i) + "()==%STM[LB=1=>$Ox=x^$OLB=2;]{x>0}";
  StartProg1(strdup(prog.c_str()));
  std::string list = Str(wGetProcList());
  EXPECT_TRUE(list.size() < (size_t)SSS_SIZE && Has(list, "text cut"));
  Clear();
}

// The pair of a selection (in its buffer, read in bounded time) and what was printed.
std::string PairOf(std::string text, std::string *printed = nullptr) {
  char l[LABEL_SIZE] = "junk";
  testing::internal::CaptureStdout();
  auto t0 = std::chrono::steady_clock::now();
  wSentenceRead(&text[0], l);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 2.0);
  std::string out = testing::internal::GetCapturedStdout();
  if (printed) *printed = out;
  EXPECT_LT(strlen(l), (size_t)LABEL_SIZE);
  return l;
}

TEST(SelectionReader, PairsErrorsBoundsAndLinearTimeOnNestedBrackets) {
  std::string printed;
  struct { const char *text, *pair, *printed; } rows[] = {
      {"LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;", "(5,6)", ""},
      {"LB=1=>$OLB=2;LB=7=>$OLB=8;", "(7,8)", "Error: sent.seq\n"},
      {"LB=1=>$OLB=2;junk", "(1,2)", "Error: sentenceRead\n"},
      // A loop followed by a statement: the loop's body does not run on into it.
      {"*[LB=2^i<n=>($OLB=3|$OLB=6)LB=3=>$Oi=+(i,1)^$OLB=2;]LB=6=>$Ox=i^$OLB=7;", "(2,7)", ""}};
  for (const auto &r : rows) {
    EXPECT_EQ(PairOf(r.text, &printed), r.pair) << r.text;
    EXPECT_EQ(printed, r.printed) << r.text;
  }
  // Found by fuzzing: brackets closing before the loop's "=>" made every loop read
  // the rest of the selection again (exponential time).
  std::string nested = Slurp(QUELL_SOURCE_DIR "/tests/data/hostile/select-nested-brackets.bin"), shape, deep;
  ASSERT_FALSE(nested.empty());
  for (int i = 0; i < 60; i++) shape += "*[?]*[LB=5=>y([;L4)";
  for (int i = 0; i < 1000; i++) deep += "*[LB=2^c=>($OLB=3|$OLB=4)";
  // Cut and hostile texts: never read past the end, the pair stays in its buffer.
  for (std::string c : {nested, shape, deep, std::string("*[LB=2^i<n=>($OLB=3"),
                        std::string("?[LB=2^t>b=>"), std::string("LB=1=>"),
                        "LB=" + std::string(300, 'a') + "=>$OLB=" + std::string(300, 'b') + ";"})
    PairOf(c);
  // Labels too long to form a pair give the empty pair, never a cut one.
  EXPECT_EQ(PairOf("LB=" + std::string(16, 'a') + "=>$OLB=" + std::string(14, 'b') + ";"), "");
  char out[LABEL_SIZE];
  wSentenceRead2("x(3,4)y(5,6)", out);
  EXPECT_STREQ(out, "(3,4)");
  wSentenceRead2(("(" + std::string(200, 'a') + ")").c_str(), out);
  EXPECT_EQ(strlen(out), (size_t)LABEL_SIZE - 1);
}

const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM ["
    "LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";
const char *kAskFile = "Please Provide Procedure Text or a File Name:";

#if defined(__SANITIZE_ADDRESS__)
const double kLimitMs = 500.0;
#else
const double kLimitMs = 100.0;
#endif

// One stage: select `sel` in the text of the box of *press (of the main window
// for its buttons; "" clears, "=text" types text and selects it, null: neither),
// press *press (within kLimitMs, events delivered). Then `state` holds, box `open`
// is up with prompt `label` and a text holding `has` ("=..." exactly), box `shut`
// is down (null: not checked).
struct Stage { const char *sel; Widget *press; int state; PopupBoxPtr open = nullptr, shut = nullptr;
               const char *label = nullptr, *has = nullptr; };

class Client : public ::testing::Test {
 protected:
  Widget shell = nullptr;
  static std::string &Warnings() { static std::string w; return w; }
  static XtAppContext &App() { static XtAppContext app = nullptr; return app; }
  static Display *TheDisplay() {   // opened on first use; null without a usable DISPLAY
    static Display *dpy = [] {
      XtToolkitInitialize();
      App() = XtCreateApplicationContext();
      XtAppSetWarningHandler(App(), [](String m) { Warnings() += std::string(m ? m : "") + "\n"; });
      static int argc = 1;
      static char arg0[] = "quell1", *argv[] = {arg0, nullptr};
      return XtOpenDisplay(App(), nullptr, "quell1", "Quell1", nullptr, 0, &argc, argv);
    }();
    return dpy;
  }
  static void Reset() {
    ProcedureListClear(), AssumptionListClear(), SequentListClear(), InitializeNewName();
    state = 0;
  }
  void SetUp() override {
    if (!TheDisplay()) GTEST_SKIP() << "no X display (DISPLAY unset or unusable)";
    Warnings().clear(), Reset();
    shell = XtVaAppCreateShell("quell1", "Quell1", applicationShellWidgetClass, TheDisplay(), NULL);
    wBuildClient(shell);
    XtVaSetValues(shell, XtNx, 50, XtNy, 100, NULL);
    XtRealizeWidget(shell), Pump();
  }
  void TearDown() override {
    if (shell) {
      XtDestroyWidget(shell), shell = nullptr, Pump();
      EXPECT_EQ(Warnings(), "") << "Xt warnings during the test";
    }
    Reset();
  }
  static void Pump() {   // delivers all events and pending timers
    for (int round = 0; TheDisplay() && round < 3; round++) {
      XSync(TheDisplay(), False);
      for (int n = 0; XtAppPending(App()) && n < 100000; n++) XtAppProcessEvent(App(), XtIMAll);
    }
  }
  // Fires a button's callbacks (bypasses sensitivity and grabs).
  static void Press(Widget b) { XtCallCallbacks(b, XtNcallback, nullptr); Pump(); }
  // Real button press and release on w (honours sensitivity and grabs).
  static void Click(Widget w) {
    XEvent ev{};
    ev.xbutton = XButtonEvent{ButtonPress, 0, False, XtDisplay(w), XtWindow(w),
                              RootWindowOfScreen(XtScreen(w)), 0, CurrentTime, 2, 2, 0, 0, 0,
                              Button1, True};
    XSendEvent(XtDisplay(w), XtWindow(w), True, ButtonPressMask, &ev);
    ev.xbutton.type = ButtonRelease, ev.xbutton.state = Button1Mask;
    XSendEvent(XtDisplay(w), XtWindow(w), True, ButtonReleaseMask, &ev);
    Pump();
  }
  static std::string TextOf(Widget t) {   // one source read returns one block at most
    std::string out;
    XawTextBlock b;
    for (XawTextPosition pos = 0, next;; pos = next) {
      memset(&b, 0, sizeof b);
      next = XawTextSourceRead(XawTextGetSource(t), pos, &b, 1 << 20);
      if (b.length <= 0 || !b.ptr || next <= pos) return out;
      out.append(b.ptr, b.length);
    }
  }
  static void SetTextOf(Widget t, const std::string &s) {
    XtVaSetValues(t, XtNstring, s.c_str(), NULL), Pump();
  }
  static void Select(Widget t, long from, long to) { XawTextSetSelection(t, from, to); Pump(); }
  static bool SelectWord(Widget t, const std::string &word) {   // its first occurrence
    size_t at = TextOf(t).find(word);
    if (at != std::string::npos) Select(t, (long)at, (long)(at + word.size()));
    return at != std::string::npos;
  }
  static void Answer(const std::string &text) { SetTextOf(wp1->text, text); Press(wp1->ok); }
  static std::string LabelOf(Widget w) {
    String s = nullptr;
    XtVaGetValues(w, XtNlabel, &s, NULL);
    return s ? s : "";
  }
  static std::string Prompt() { return LabelOf(wp1->label); }
  static bool IsSensitive(Widget w) { return XtIsSensitive(w) == True; }
  static int SevenUsable() {   // how many of the buttons that need a program are usable
    Widget b[] = {wclear, wsave, wassumption, wselect, wredisplay, wpost, wexpand};
    return (int)std::count_if(b, b + 7, IsSensitive);
  }
  static bool IsPoppedUp(PopupBoxPtr p) { return ((ShellWidget)p->pshell)->shell.popped_up; }
  static std::string Out(const std::function<void()> &f) {   // what f printed
    testing::internal::CaptureStdout(), f();
    return testing::internal::GetCapturedStdout();
  }
  static void StartWith(const std::string &input) { Press(wstart); Answer(input); }
  static void Run(const std::vector<Stage> &stages) {
    for (size_t i = 0; i < stages.size(); i++) {
      const Stage &s = stages[i];
      SCOPED_TRACE("stage " + std::to_string(i) + (s.label ? std::string(": ") + s.label : ""));
      Widget in = wtext;
      for (PopupBoxPtr p : {wp1, wp2, wp3}) if (s.press == &p->ok || s.press == &p->cancel) in = p->text;
      if (s.sel && s.sel[0] == '=') SetTextOf(in, s.sel + 1), Select(in, 0, strlen(s.sel) - 1);
      else if (s.sel && s.sel[0]) { EXPECT_TRUE(SelectWord(in, s.sel)) << s.sel; }
      else if (s.sel) Select(in, 0, 0);
      auto t0 = std::chrono::steady_clock::now();
      Press(*s.press);
      std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - t0;
      EXPECT_LT(ms.count(), kLimitMs);
      EXPECT_EQ(state, s.state);
      if (s.open) { EXPECT_TRUE(IsPoppedUp(s.open)); }
      if (s.open && s.label) { EXPECT_EQ(LabelOf(s.open->label), s.label); }
      std::string text = s.open ? TextOf(s.open->text) : "";
      if (s.has) { EXPECT_TRUE(*s.has == '=' ? text == s.has + 1 : Has(text, s.has)) << text; }
      if (s.shut) { EXPECT_FALSE(IsPoppedUp(s.shut)); }
    }
  }
};

// Start-up command lines, each in a fresh client: what wCommandLine returns (-1:
// enter the event loop), the list text, the state (109: an invariant question is
// open), whether out.txt is written and part of what was printed (null: not checked).
TEST_F(Client, CommandLineForms) {
  const char *swap = "{x=a^y=b}%PROC swap(%IOP/x:int;%IOP/y:int)==%LOC [int:t]"
      "%STM [LB=1=>$Ot=x^$OLB=2;LB=2=>$Ox=y^$OLB=3;LB=3=>$Oy=t^$OLB=4;]{x=b^y=a}";
  std::string none = "/nonexistent-dir/none.q", noinv = Example("noinv.q");
  struct { std::vector<std::string> args; int ret; const char *list; int st; bool writes;
           const char *printed; } rows[] = {
      {{}, -1, "", 0, false, nullptr},
      {{swap}, -1, "swap\n", 0, false, nullptr},
      {{swap, "out.txt", "x"}, -1, "swap\n", 0, false, nullptr},
      {{swap, "out.txt"}, 0, "swap\n", 0, true, nullptr},
      {{noinv, "out.txt"}, -1, "noinv\n", 109, false, nullptr},
      {{none, "out.txt"}, 1, "", 0, false, none.c_str()},
      {{none}, 1, "", 0, false, none.c_str()},
      {{swap, "/nonexistent-dir/out.txt"}, 1, "swap\n", 0, false,
       "Error: cannot write the file /nonexistent-dir/out.txt"},
      {{"-d", "p.q", "out.txt"}, -1, "", 0, false, nullptr}};   // the log is opened, nothing loaded
  char old[4096], dir[] = "/tmp/quell-gui-XXXXXX";
  ASSERT_TRUE(getcwd(old, sizeof old) && mkdtemp(dir) && chdir(dir) == 0);
  std::ofstream("p.q") << swap;
  for (const auto &r : rows) {
    SCOPED_TRACE("row " + std::to_string(&r - rows));
    TearDown(), SetUp(), unlink("out.txt");
    std::string printed = Out([&] { EXPECT_EQ(CommandLine(r.args), r.ret); Pump(); });
    if (r.printed) { EXPECT_TRUE(Has(printed, r.printed) && Has(printed, "Error: ")) << printed; }
    EXPECT_EQ(LabelOf(wstart), *r.list ? "add-proc" : "start");
    if (*r.list || !r.printed) { EXPECT_EQ(SevenUsable(), *r.list ? 7 : 0); }
    EXPECT_TRUE(IsSensitive(wstart) == (r.st != 109) && IsSensitive(wquit));
    EXPECT_TRUE(state == r.st && IsPoppedUp(wp1) == (r.st == 109));
    EXPECT_EQ(TextOf(wtext), r.list);
    EXPECT_EQ(Exists("out.txt"), r.writes);
    EXPECT_EQ(Slurp("out.txt").rfind("Procedures:\n\n", 0) == 0, r.writes);
    if (r.st == 109) {   // answering the question generates the conditions but writes no file
      Answer("x < +(n,1)");
      EXPECT_TRUE(state == 0 && !IsPoppedUp(wp1) && assumptionList.assumption && !Exists("out.txt"));
    }
  }
  EXPECT_TRUE(LogIsOn() && Exists("vLog"));
  EXPECT_TRUE(!chdir(old) && !system((std::string("rm -rf ") + dir).c_str()));
}

TEST_F(Client, PopupsPlaceGreyOutDispatchAndAreBounded) {
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
  Position x = 0, y = 0, px = 1, py = 1;
  XtTranslateCoords(topLevel, 50, 100, &x, &y);
  XtVaGetValues(wp1->pshell, XtNx, &px, XtNy, &py, NULL);
  EXPECT_TRUE(px == x && py == y);
  Click(wredisplay);
  EXPECT_EQ(calls, 0);
  PopShell3(wp1->box, wp1->ok, "Program Part (1,2) of swap:", nullptr, "Select", "Back");
  EXPECT_TRUE(IsPoppedUp(wp3) && !IsSensitive(wp1->ok) && TextOf(wp3->text).empty());
  popdown(wp1->ok, wp3->pshell), popdown(wsave, wp1->pshell);
  EXPECT_TRUE(!IsPoppedUp(wp3) && IsSensitive(wp1->ok) && IsSensitive(wsave));
  Click(wredisplay);
  EXPECT_EQ(calls, 1);
  std::string longName(2047, 'n');   // a long prompt is shown whole
  PopShell2(topLevel, wselect, longName.c_str(), "LB=1=>$Ox=1^$OLB=2;\n", "Expand", "Cancel");
  EXPECT_EQ(LabelOf(wp2->label), longName);
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
TEST_F(Client, InputAndSelectionWithoutWhiteSpaceAndInBounds) {
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

TEST_F(Client, StartAddProcAndAnnotationQuestions) {
  SetSensitiveFalse(0);
  std::string name = "=" + Example("swap.q");
  name.insert(name.size() - 4, " \t\n");   // blanks inside the name are removed before use
  Run({{0, &wstart, 105, wp1, 0, kAskFile},
       {"=/no/such/file.q", &wp1->ok, 105, wp1, 0, "File Not Found!!"}, {0, &wp1->cancel, 0}});
  // The questions come in order; nothing is generated before the last answer.
  StartWith("%PROC r(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)LB=3=>$Ox=+(x,1)^$OLB=2;]]");
  const char *inv = "Please Provide the invariant of (2,4) of procedure r:";
  EXPECT_EQ(Prompt(), "Please Provide the post-condition of r:");
  Run({{"={x = 0}", &wp1->ok, 109, wp1, 0, "Please Provide the pre-condition of r:", 0},
       {"=x=0", &wp1->ok, 109, wp1, 0, inv},
       {"=", &wp1->ok, 109, wp1, 0, inv}});   // an empty answer: the question stays
  EXPECT_EQ(assumptionList.assumption, nullptr);
  Run({{"=x<6", &wp1->ok, 0, 0, wp1}});
  ProcedurePtr r = Procedure2Ptr("r");   // the answers with braces and without are the same
  EXPECT_TRUE(r && assumptionList.assumption && FormulaPrintEqual(r->postCond, r->preCond));
  // An invariant whose body chain does not end at the loop label: the question stays.
  Out([] { StartWith("{x=0}%PROC u(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)"
                     "LB=3=>$Ox=+(x,1)^$OLB=9;]]{x=5}"); });
  std::string out = Out([] { Answer("x<6"); });
  EXPECT_TRUE(Has(out, "Error: the answer could not be attached to (3,2)")) << out;
  EXPECT_TRUE(state == 109 && Has(Prompt(), "could not be attached")) << Prompt();
  // Cancel on a question drops everything, also what was loaded before.
  Run({{0, &wp1->cancel, 0, 0, wp1}});
  EXPECT_TRUE(!procedureList.procedure && !assumptionList.assumption && SevenUsable() == 0);
  EXPECT_EQ(TextOf(wtext) + LabelOf(wstart), "start");
  Run({{0, &wstart, 105, wp1, 0, kAskFile}, {name.c_str(), &wp1->ok, 0, 0, wp1}});
  EXPECT_TRUE(LabelOf(wstart) + TextOf(wtext) == "add-procswap\n" && SevenUsable() == 7);
}

TEST_F(Client, RefreshSaveAndClear) {
  StartWith(Example("maxwrong.q"));
  wSetText(wtext, "stale");
  Run({{0, &wredisplay, 0}});
  EXPECT_EQ(TextOf(wtext), "maxwrong\n");
  std::string path = "=/tmp/quell-save-" + std::to_string(getpid()) + ".txt";
  std::string out = Out([&] {
    Run({{0, &wsave, 107, wp1, 0, "Please Provide a File Name:"},
         {"=/no/such/dir/out.txt", &wp1->ok, 107, wp1}});
  });
  EXPECT_TRUE(Has(out, "Error: cannot write the file /no/such/dir/out.txt")) << out;
  EXPECT_TRUE(Has(Prompt(), "could not be written")) << Prompt();
  Run({{path.c_str(), &wp1->ok, 0, 0, wp1}});
  std::string text = Slurp(path.substr(1));
  EXPECT_EQ(text.rfind("Procedures:\n\n{ $T }\n%PROC maxwrong(", 0), 0u) << text;
  unlink(path.c_str() + 1);
  // clear drops the program and opens the start dialog at once.
  Run({{0, &wclear, 105, wp1, 0, kAskFile}});
  EXPECT_TRUE(!procedureList.procedure && !assumptionList.assumption);
  EXPECT_EQ(TextOf(wtext) + LabelOf(wstart), "add-proc");
}

TEST_F(Client, SelectPostCondAndExpand) {
  StartWith(kExample);
  const char *pick = "Please Select One Line:";
  Run({{0, &wselect, 0, 0, wp2},   // nothing selected: nothing happens
       {"p", &wselect, 106, wp2, 0, pick, "(1,2)\n(3,5)\n(4,5)\n(2,5)\n(1,5)\n"},
       {"(2,5)", &wp2->ok, 106, wp1, 0, "Program Part (2,5) of p:", "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;"},
       {0, &wp1->cancel, 106, wp2, wp1, pick},   // closes only the part popup
       {0, &wp2->cancel, 0, 0, wp2}});
  wSetText(wtext, "nosuch\np\n");   // a selection naming no procedure shows an empty text
  Run({{"nosuch", &wselect, 106, wp2, 0, 0, "="}, {0, &wp2->cancel, 0}});
  // post-cond descends through the parts; presses with nothing selected go back up.
  const char *part15 = "Program Part (1,5):", *part25 = "Program Part (2,5):";
  Run({{"p", &wpost, 112, wp1, 0, "Procedure p:", "%STM[ \n\t(1,5) \n]\n"},
       {"(1,5)", &wp1->ok, 112, wp3, 0, part15, "   (1,2);\n   (2,5);\n"},
       {"(2,5)", &wp3->ok, 112, wp3, 0, part25},
       {"(3,5)", &wp3->ok, 112, wp3, 0, "Program Part (3,5):", "LB=3=>$Ob=t^$OLB=5;"},
       {"", &wp3->ok, 112, wp3, 0, part25}, {"", &wp3->ok, 112, wp3, 0, part15},
       {"", &wp3->ok, 112, wp1, wp3, "Procedure p:"}});
  EXPECT_EQ(n, 0);
  // Cancel in the part popup, and a pair naming no statement, empty the stack.
  Run({{"(1,5)", &wp1->ok, 112, wp3, 0, part15}, {"(2,5)", &wp3->ok, 112, wp3, 0, part25},
       {0, &wp3->cancel, 112, wp1, wp3}});
  EXPECT_EQ(n, 0);
  Run({{"(1,5)", &wp1->ok, 112, wp3, 0, part15}, {"=(9,9)", &wp3->ok, 112, wp1, wp3}});
  EXPECT_EQ(n, 0);
  Run({{0, &wp1->cancel, 0}, {"p", &wexpand, 111, wp1, 0, "Procedure p:"},
       {"LB=1=>$Ot=a^$OLB=2;", &wp1->ok, 111, wp3, 0, "Program Part (1,2):", "LB=1=>$Ot=a^$OLB=2;"},
       {0, &wp3->ok, 111, wp1, wp3, "Procedure p:"}, {0, &wp1->cancel, 0, 0, wp1}});
  EXPECT_TRUE(IsSensitive(wselect) && IsSensitive(wpost) && IsSensitive(wexpand));
}

TEST_F(Client, VeriCondsAxiomsDischargeAndRefusals) {
  StartWith(Example("noinv.q"));
  const char *noinv = "Verification Conditions for noinv:", *axiom = "Please Provide an Axiom:";
  std::string refused = std::string(noinv) + " (the axiom was refused)";
  // After the invariant answer an implication axiom discharges the last sequent;
  // an axiom the prover refuses is noted in the prompt.
  std::string out = Out([&] {
    Run({{"=x < n | x = n", &wp1->ok, 0, 0, wp1},
         {"", &wassumption, 108, wp1, 0, "Verification Conditions:", "noinv"}, {0, &wp1->cancel, 0},
         {"noinv", &wassumption, 108, wp1, 0, noinv},
         {0, &wp1->ok, 108, wp1, 0, noinv, "n>x\n =>\n  x=n,n>+(x,1),+(x,1)=n"},
         {0, &wp1->ok, 108, wp1, 0, axiom},
         {"=n>x -> n>+(x,1) | +(x,1)=n", &wp1->ok, 108, wp1, 0, noinv, "="},
         {0, &wp1->ok, 108, wp1, 0, axiom}, {"=x=x", &wp1->ok, 108, wp1, 0, refused.c_str()}});
  });
  EXPECT_EQ(out, "Error: axiom refused: it is trivially true and proves nothing\n");
}

// With 1000 procedures loaded every command's text appears in time (Run times each press).
TEST_F(Client, EveryCommandInTimeWithAThousandProcedures) {
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
  Run({{0, &wredisplay, 0}, {"proc999", &wselect, 106, wp2, 0, 0, "(4,7)"}, {"(4,7)", &wp2->ok, 106, wp1},
       {0, &wp1->cancel, 106, wp2, wp1}, {0, &wp2->cancel, 0, 0, wp2},
       {"proc999", &wpost, 112, wp1, 0, 0, "(1,7)"}, {"(1,7)", &wp1->ok, 112, wp3, 0, 0, "(1,4)"},
       {"(1,4)", &wp3->ok, 112, wp3, 0, 0, "(2,4)"}, {0, &wp3->cancel, 112, wp1, wp3},
       {0, &wp1->cancel, 0, 0, wp1}, {"proc999", &wexpand, 111, wp1},
       {"LB=1=>$Oi=0^$Ox=0^$OLB=2;", &wp1->ok, 111, wp3, 0, 0, "LB=1=>"}, {0, &wp3->ok, 111, wp1, wp3},
       {0, &wp1->cancel, 0, 0, wp1}, {"proc999", &wassumption, 108, wp1}, {0, &wp1->ok, 108, wp1},
       {0, &wp1->ok, 108, wp1}, {"=x>-1", &wp1->ok, 108, wp1}, {0, &wp1->cancel, 0, 0, wp1},
       {"", &wassumption, 108, wp1, 0, 0, "proc0"}, {0, &wp1->ok, 108, wp1},
       {0, &wp1->cancel, 0, 0, wp1}, {0, &wsave, 107, wp1}});
}

}  // namespace
