// In-process fixture of the X client: one display and application context per
// process (libXaw caches per display); each test builds a fresh client under a
// new shell. Any Xt warning fails the test; without DISPLAY the tests skip.
#pragma once
#include <gtest/gtest.h>   // before the X headers (they define None, Bool, ...)

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <X11/Intrinsic.h>
#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>

#include "../../formula/formula.h"
#include "../../gui/w.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"

inline std::string Example(const std::string &f) { return QUELL_SOURCE_DIR "/examples/" + f; }
inline bool Has(const std::string &s, const std::string &part) { return s.find(part) != s.npos; }

class GuiTest : public ::testing::Test {
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
    XEvent ev;
    memset(&ev, 0, sizeof ev);
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
    int k = 0;
    for (Widget b : {wclear, wsave, wassumption, wselect, wredisplay, wpost, wexpand}) k += IsSensitive(b);
    return k;
  }
  static bool IsPoppedUp(PopupBoxPtr p) { return ((ShellWidget)p->pshell)->shell.popped_up; }
  static std::string Out(const std::function<void()> &f) {   // what f printed
    testing::internal::CaptureStdout(), f();
    return testing::internal::GetCapturedStdout();
  }
};
