// In-process test fixture of the X client. One display and one application
// context per test process (a second XtOpenDisplay after closing the first
// is unsafe with libXaw's per-display caches); every test builds a fresh
// client under a new application shell with wBuildClient and destroys it at
// the end. Any Xt warning fails the test. Without DISPLAY the tests skip.
//
// Use:  class MyTest : public GuiTest {};   TEST_F(MyTest, X) { Press(wquit); }
#pragma once
#include <gtest/gtest.h>   // before the X headers (they define None, Bool, ...)

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <X11/Intrinsic.h>
#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <X11/ShellP.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Label.h>

#include "../../formula/formula.h"
#include "../../gui/w.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"

namespace guitest {

inline std::string &Warnings() {
  static std::string w;
  return w;
}

inline void WarningHandler(String msg) {
  Warnings() += msg ? msg : "(null)";
  Warnings() += "\n";
}

inline XtAppContext &App() {
  static XtAppContext app = nullptr;
  return app;
}

// The display of the process, opened on first use; null without DISPLAY.
inline Display *TheDisplay() {
  static bool tried = false;
  static Display *dpy = nullptr;
  if (tried) return dpy;
  tried = true;
  const char *d = getenv("DISPLAY");
  if (!d || !*d) return nullptr;
  XtToolkitInitialize();
  App() = XtCreateApplicationContext();
  XtAppSetWarningHandler(App(), WarningHandler);
  static int argc = 1;
  static char arg0[] = "quell1";
  static char *argv[] = {arg0, nullptr};
  dpy = XtOpenDisplay(App(), nullptr, "quell1", "Quell1", nullptr, 0, &argc, argv);
  return dpy;
}

// Delivers everything the server has sent and every pending timer.
inline void Pump() {
  Display *dpy = TheDisplay();
  if (!dpy) return;
  for (int round = 0; round < 3; round++) {
    XSync(dpy, False);
    int n = 0;
    while (XtAppPending(App()) && n < 100000) {
      XtAppProcessEvent(App(), XtIMAll);
      n++;
    }
  }
}

// Empties the global state of a run.
inline void RunStateReset() {
  ProcedureListClear();
  AssumptionListClear();
  SequentListClear();
  InitializeNewName();
  state = 0;
}

}  // namespace guitest

class GuiTest : public ::testing::Test {
 protected:
  Widget shell = nullptr;

  void SetUp() override {
    if (!guitest::TheDisplay()) GTEST_SKIP() << "no X display (DISPLAY unset or unusable)";
    guitest::Warnings().clear();
    guitest::RunStateReset();
    shell = XtVaAppCreateShell("quell1", "Quell1", applicationShellWidgetClass,
                               guitest::TheDisplay(), NULL);
    wBuildClient(shell);
    XtVaSetValues(shell, XtNx, 50, XtNy, 100, NULL);
    XtRealizeWidget(shell);
    Pump();
  }

  void TearDown() override {
    if (shell) {
      XtDestroyWidget(shell);
      shell = nullptr;
      Pump();
      EXPECT_EQ(guitest::Warnings(), "") << "Xt warnings during the test";
    }
    guitest::RunStateReset();
  }

  static void Pump() { guitest::Pump(); }

  // Fires a button's callbacks (bypasses sensitivity and grabs), then pumps.
  static void Press(Widget b) {
    XtCallCallbacks(b, XtNcallback, nullptr);
    Pump();
  }

  // Real button press and release on the middle of w (honours sensitivity
  // and grabs, unlike Press).
  static void Click(Widget w) {
    if (!XtIsRealized(w)) return;
    Display *dpy = XtDisplay(w);
    XEvent ev;
    memset(&ev, 0, sizeof ev);
    ev.xbutton.type = ButtonPress;
    ev.xbutton.display = dpy;
    ev.xbutton.window = XtWindow(w);
    ev.xbutton.root = RootWindowOfScreen(XtScreen(w));
    ev.xbutton.subwindow = 0;
    ev.xbutton.time = CurrentTime;
    Dimension wd = 0, ht = 0;
    XtVaGetValues(w, XtNwidth, &wd, XtNheight, &ht, NULL);
    ev.xbutton.x = wd / 2;
    ev.xbutton.y = ht / 2;
    ev.xbutton.button = Button1;
    ev.xbutton.same_screen = True;
    XSendEvent(dpy, XtWindow(w), True, ButtonPressMask, &ev);
    ev.xbutton.type = ButtonRelease;
    ev.xbutton.state = Button1Mask;
    XSendEvent(dpy, XtWindow(w), True, ButtonReleaseMask, &ev);
    Pump();
  }

  // The whole text of a text widget, read through its source.
  static std::string TextOf(Widget t) {
    std::string out;
    Widget src = XawTextGetSource(t);
    if (!src) return out;
    XawTextPosition pos = 0;
    for (;;) {
      XawTextBlock b;
      memset(&b, 0, sizeof b);
      XawTextPosition next = XawTextSourceRead(src, pos, &b, 1 << 20);
      if (b.length <= 0 || !b.ptr || next <= pos) break;
      out.append(b.ptr, b.length);
      pos = next;
    }
    return out;
  }

  // Replaces the text of t (also of a read-only one); a typed answer.
  static void SetTextOf(Widget t, const std::string &s) {
    XtVaSetValues(t, XtNstring, s.c_str(), NULL);
    Pump();
  }

  // Selects characters [from, to) of t.
  static void Select(Widget t, long from, long to) {
    XawTextSetSelection(t, from, to);
    Pump();
  }

  // Selects the first occurrence of word in t; false when it is not there.
  static bool SelectWord(Widget t, const std::string &word) {
    std::string all = TextOf(t);
    size_t at = all.find(word);
    if (at == std::string::npos) return false;
    Select(t, (long)at, (long)(at + word.size()));
    return true;
  }

  static std::string LabelOf(Widget w) {
    String s = nullptr;
    XtVaGetValues(w, XtNlabel, &s, NULL);
    return s ? s : "";
  }

  static bool IsSensitive(Widget w) { return XtIsSensitive(w) == True; }

  static bool IsPoppedUp(PopupBoxPtr p) {
    return p && p->pshell && ((ShellWidget)p->pshell)->shell.popped_up;
  }

  static void Geometry(Widget w, int *x, int *y, int *width, int *height) {
    Position px = 0, py = 0;
    Dimension wd = 0, ht = 0;
    XtVaGetValues(w, XtNx, &px, XtNy, &py, XtNwidth, &wd, XtNheight, &ht, NULL);
    if (x) *x = px;
    if (y) *y = py;
    if (width) *width = wd;
    if (height) *height = ht;
  }

  // Runs wCommandLine on the given arguments (argv[0] is added). The copies
  // stay alive for the whole process: loaded program text is parsed in place.
  static int CommandLine(std::initializer_list<const char *> args) {
    static std::vector<char *> *keep = new std::vector<char *>;
    std::vector<char *> argv;
    keep->push_back(strdup("quell1"));
    argv.push_back(keep->back());
    for (const char *s : args) {
      keep->push_back(strdup(s));
      argv.push_back(keep->back());
    }
    argv.push_back(nullptr);
    int r = wCommandLine((int)argv.size() - 1, argv.data());
    Pump();
    return r;
  }
};
