// The X client in process: one display and application context per process
// (libXaw caches per display); each client test builds a fresh client under a
// new shell. Any Xt warning fails the test; without DISPLAY the tests skip.
#pragma once
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

#include "../testutil.h"
#include "../../formula/formula.h"
#include "../../gui/w.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"

inline std::string Example(const std::string &f) { return QUELL_SOURCE_DIR "/examples/" + f; }
inline bool Exists(const char *path) { return access(path, F_OK) == 0; }
inline void CountCall(Widget, XtPointer c, XtPointer) { ++*static_cast<int *>(c); }
// wCommandLine on the arguments; the copies live on (program text is parsed in place).
inline int CommandLine(const std::vector<std::string> &args) {
  std::vector<char *> argv{strdup("quell1")};
  for (const std::string &s : args) argv.push_back(strdup(s.c_str()));
  argv.push_back(nullptr);
  return wCommandLine((int)argv.size() - 1, argv.data());
}
inline std::string Str(const char *s) { return s ? s : "(null)"; }
inline void Clear() { ProcedureListClear(), AssumptionListClear(), SequentListClear(), wPostCleanStack(); }
inline std::string Nav(char *pair, const char *to) {   // "" goes back
  return strcpy(pair, to), Str(wGetSentenceContent2(pair));
}

constexpr const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM ["
    "LB=1=>$Ot=a^$OLB=2;?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";
constexpr const char *kAskFile = "Please Provide Procedure Text or a File Name:";

#if defined(__SANITIZE_ADDRESS__)
constexpr double kLimitMs = 500.0;
#else
constexpr double kLimitMs = 100.0;
#endif

// One stage: select `sel` in the text of the box of *press (of the main window
// for its buttons; "" clears, "=text" types text and selects it, null: neither),
// press *press (events delivered; when timed, within kLimitMs). Then `state` holds, box `open`
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
    wRealizeClient(shell), Pump();
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
  // Timed runs also print their slowest press, the figure the speed goal is measured by.
  static void Run(const std::vector<Stage> &stages, bool timed = false) {
    double slowest = 0;
    size_t slowestAt = 0;
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
      if (timed) { EXPECT_LT(ms.count(), kLimitMs); }
      if (ms.count() > slowest) slowest = ms.count(), slowestAt = i;
      EXPECT_EQ(state, s.state);
      if (s.open) { EXPECT_TRUE(IsPoppedUp(s.open)); }
      if (s.open && s.label) { EXPECT_EQ(LabelOf(s.open->label), s.label); }
      std::string text = s.open ? TextOf(s.open->text) : "";
      if (s.has) { EXPECT_TRUE(*s.has == '=' ? text == s.has + 1 : Has(text, s.has)) << text; }
      if (s.shut) { EXPECT_FALSE(IsPoppedUp(s.shut)); }
    }
    if (timed) printf("slowest press: stage %zu, %.1f ms\n", slowestAt, slowest);
  }
};
