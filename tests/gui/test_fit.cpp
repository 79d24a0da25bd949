// The client as the font, the window manager and the keyboard see it: prompts
// and labels fit their widgets, scrollbars appear on large texts, closing a
// window and the dialog keys act as the buttons.
#include "client_fixture.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/Xaw/TextP.h>

namespace {

int Width(Widget w) { Dimension d = 0; XtVaGetValues(w, XtNwidth, &d, NULL); return d; }
int Height(Widget w) { Dimension d = 0; XtVaGetValues(w, XtNheight, &d, NULL); return d; }
std::string Unwrapped(std::string s) { return std::replace(s.begin(), s.end(), '\n', ' '), s; }

class Fit : public Client {
 protected:
  void TearDown() override {
    Client::TearDown();
    if (TheDisplay()) FontResource("XtDefaultFont");
  }
  static void FontResource(const char *font) {
    XrmDatabase db = XtDatabase(TheDisplay());
    XrmPutStringResource(&db, "*font", font);
  }
  void WithFont(const char *font) {   // the client built again in that font
    XFontStruct *f = XLoadQueryFont(TheDisplay(), font);
    if (!f) GTEST_SKIP() << "font " << font << " missing (package xfonts-base)";
    XFreeFont(TheDisplay(), f), Client::TearDown(), FontResource(font), SetUp();
  }
  // Every line of the label fits inside its widget, in the label's font.
  static void ExpectFits(Widget label) {
    Dimension iw = 0, ih = 0;
    XFontStruct *f = nullptr;
    XtVaGetValues(label, XtNinternalWidth, &iw, XtNinternalHeight, &ih, XtNfont, &f, NULL);
    std::istringstream in(LabelOf(label));
    int lines = 0;
    for (std::string line; std::getline(in, line); lines++)
      EXPECT_LE(XTextWidth(f, line.c_str(), (int)line.size()) + 2 * iw, Width(label)) << line;
    EXPECT_LE(lines * (f->ascent + f->descent) + 2 * ih, Height(label)) << LabelOf(label);
  }
  // The widget lies inside its shell, and the shell on the screen.
  static void ExpectShown(Widget w, Widget shell) {
    Position x = 0, y = 0, sx = 0, sy = 0;
    XtTranslateCoords(w, Width(w), Height(w), &x, &y), XtTranslateCoords(shell, 0, 0, &sx, &sy);
    EXPECT_TRUE(x <= sx + Width(shell) && y <= sy + Height(shell)) << XtName(w);
    EXPECT_TRUE(sx >= 0 && sy >= 0 && sx + Width(shell) <= WidthOfScreen(XtScreen(shell)) &&
                sy + Height(shell) <= HeightOfScreen(XtScreen(shell)));
  }
  // A synthetic key press (keysym `detail`) or button press on w.
  static void Send(Widget w, int type, unsigned detail, unsigned state) {
    XEvent ev{};
    ev.xkey = XKeyEvent{type, 0, True, XtDisplay(w), XtWindow(w), RootWindowOfScreen(XtScreen(w)),
                        0, CurrentTime, 5, 5, 0, 0, state,
                        type == KeyPress ? XKeysymToKeycode(XtDisplay(w), detail) : detail, True};
    XSendEvent(XtDisplay(w), XtWindow(w), True, type == KeyPress ? KeyPressMask : ButtonPressMask,
               &ev);
    Pump();
  }
};

// Prompts are wrapped to their box and every label fits, in the default font
// and in a large one (the main window's buttons grow to their labels).
TEST_F(Fit, PromptsAndLabelsFitTheFontInUse) {
  for (const char *font : {"", "10x20"}) {
    SCOPED_TRACE(font);
    if (*font) WithFont(font);
    if (IsSkipped()) return;
    auto shown = [](PopupBoxPtr p) { ExpectFits(p->label), ExpectShown(p->cancel, p->pshell); };
    // A name long enough to widen the box in the default font (not in the large one).
    std::string name = "/nonexistent/dir/" + std::string(*font ? 600 : 2000, 'o') + "/out.txt";
    StartWith(Example("maxwrong.q")), Press(wassumption);   // a prompt of one line
    EXPECT_EQ(state, 108);
    shown(wp1), Press(wp1->cancel);
    std::string out = Out([&] { Press(wsave), Answer(name); });
    ASSERT_TRUE(Has(Unwrapped(Prompt()), "could not be written") && Has(out, "Error: ")) << Prompt();
    shown(wp1), Press(wp1->cancel);
    StartWith("%PROC r(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)LB=3=>$Ox=+(x,1)^$OLB=9;]]"
              "{x=5}");
    Out([] { Answer("x=0"), Answer("x<6"); });   // the invariant cannot be attached
    EXPECT_TRUE(Has(Unwrapped(Prompt()), "could not be attached")) << Prompt();
    shown(wp1), Press(wp1->cancel);
    SetSensitiveFalse(1);
    PopShell2(topLevel, wselect, "Please Select One Line: a long prompt to wrap in the list box",
              "", "Show", "Cancel");
    shown(wp2), popdown(wselect, wp2->pshell);
    for (Widget b : {wstart, wredisplay, wselect, wpost, wexpand, wassumption, wclear, wsave, wquit,
                     wp1->ok, wp1->cancel, wp2->ok})
      ExpectFits(b);
    // The minimum size of the main window keeps every button and the list.
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(XtDisplay(topLevel), XtWindow(topLevel), &hints, &supplied));
    ASSERT_TRUE(hints.flags & PMinSize);
    Position x = 0, y = 0, sx = 0, sy = 0;
    XtTranslateCoords(topLevel, 0, 0, &sx, &sy);
    for (Widget w : {wassumption, wquit, wtext}) {
      XtTranslateCoords(w, Width(w), Height(w), &x, &y);
      EXPECT_TRUE(x - sx <= hints.min_width && y - sy <= hints.min_height) << XtName(w);
    }
  }
}

// Scrollbars exactly where the text is larger than its area (sideways only in
// the read boxes), also for typed text; the wheel scrolls.
TEST_F(Fit, ScrollbarsOnLargeTextsAndTheWheel) {
  std::string lines, names, wide(400, 'w');
  for (int i = 0; i < 100; i++) lines += "line " + std::to_string(i) + "\n";
  for (int i = 0; i < 100; i++) names += "proc" + std::to_string(i) + "\n";
  struct { Widget *text; std::string content; bool v, h; } rows[] = {
      {&wp1->text, "short", false, false}, {&wp1->text, lines, true, false},
      {&wp3->text, wide, false, true},     {&wp3->text, lines + wide, true, true},
      {&wp2->text, names + wide, true, false}, {&wtext, names, true, false},
      {&wtext, "p\n", false, false},       {&wp1->text, "", false, false}};
  for (const auto &r : rows) {
    wSetText(*r.text, r.content.c_str()), Pump();
    TextWidget t = (TextWidget)*r.text;
    EXPECT_TRUE((t->text.vbar != nullptr) == r.v && (t->text.hbar != nullptr) == r.h)
        << XtName(XtParent(XtParent(*r.text))) << " " << r.content.substr(0, 20);
  }
  // Typed (inserted) text gets its bar once the edit is done.
  PopShell1(topLevel, wstart, "prompt", "", "Ok", "Cancel");
  XawTextBlock b{0, (int)lines.size(), &lines[0], FMT8BIT};
  XawTextReplace(wp1->text, 0, 0, &b), Pump();
  EXPECT_NE(((TextWidget)wp1->text)->text.vbar, nullptr);
  XawTextSetInsertionPoint(wp1->text, 0), XawTextDisplay(wp1->text), Pump();
  Send(wp1->text, ButtonPress, Button5, 0);
  XawTextPosition down = XawTextTopPosition(wp1->text);
  Send(wp1->text, ButtonPress, Button4, 0);
  EXPECT_TRUE(down > 0 && XawTextTopPosition(wp1->text) == 0) << down;
  popdown(wstart, wp1->pshell);
}

// Every window takes WM_DELETE_WINDOW: a dialog closes as its Cancel, the main
// window as "quit". Escape is Cancel, Ctrl+Return Ok; Return stays a line break.
TEST_F(Fit, WindowCloseAndDialogKeys) {
  Atom del = XInternAtom(TheDisplay(), "WM_DELETE_WINDOW", False);
  for (Widget s : {topLevel, wp1->pshell, wp2->pshell, wp3->pshell}) {
    Atom *atoms = nullptr;
    int count = 0;
    ASSERT_TRUE(XGetWMProtocols(TheDisplay(), XtWindow(s), &atoms, &count));
    EXPECT_TRUE(count == 1 && atoms[0] == del);
    XFree(atoms);
  }
  auto close = [&](Widget s) {
    XEvent ev{};
    ev.xclient = XClientMessageEvent{ClientMessage, 0, True, TheDisplay(), XtWindow(s),
                                     XInternAtom(TheDisplay(), "WM_PROTOCOLS", False), 32, {}};
    ev.xclient.data.l[0] = (long)del;
    XSendEvent(TheDisplay(), XtWindow(s), False, NoEventMask, &ev), Pump();
  };
  Run({{0, &wstart, 105, wp1}});
  String title = nullptr;
  XtVaGetValues(wp1->pshell, XtNtitle, &title, NULL);
  EXPECT_STREQ(title, "quell1: load procedures");
  close(wp1->pshell);
  EXPECT_TRUE(state == 0 && !IsPoppedUp(wp1) && IsSensitive(wstart));
  StartWith(kExample);
  Run({{"p", &wselect, 106, wp2}, {"(2,5)", &wp2->ok, 106, wp1}});
  close(wp1->pshell);   // the part popup closes, the list stays
  EXPECT_TRUE(state == 106 && !IsPoppedUp(wp1) && IsPoppedUp(wp2));
  close(wp2->pshell);
  EXPECT_TRUE(state == 0 && !IsPoppedUp(wp2) && IsSensitive(wselect));
  int quits = 0;
  XtRemoveAllCallbacks(wquit, XtNcallback);
  XtAddCallback(wquit, XtNcallback, CountCall, &quits);
  close(topLevel);
  EXPECT_EQ(quits, 1);
  // Keys: over the text and over the rest of the box.
  Clear(), Run({{0, &wstart, 105, wp1}});
  Send(wp1->text, KeyPress, XK_Escape, 0);
  EXPECT_TRUE(state == 0 && !IsPoppedUp(wp1));
  Run({{0, &wstart, 105, wp1}});
  Send(wp1->box, KeyPress, XK_Escape, 0);
  EXPECT_TRUE(state == 0 && !IsPoppedUp(wp1));
  Run({{0, &wstart, 105, wp1}});
  SetTextOf(wp1->text, kExample), XawTextSetInsertionPoint(wp1->text, 0);
  Send(wp1->text, KeyPress, XK_Return, 0);
  EXPECT_TRUE(state == 105 && TextOf(wp1->text)[0] == '\n');
  Send(wp1->text, KeyPress, XK_Return, ControlMask);
  EXPECT_TRUE(state == 0 && procedureList.procedure && LabelOf(wstart) == "add-proc");
}

}  // namespace
