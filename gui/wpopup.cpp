// Showing and taking down the popup boxes; setting labels and texts.
#include <X11/Shell.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Label.h>

#include "w.h"

void wSetLabel(Widget w, const char *label) {
  XtVaSetValues(w, XtNlabel, label ? label : "", NULL);
}

void wSetText(Widget w, const char *text) {
  XtVaSetValues(w, XtNstring, text ? text : "", NULL);
  // Only the read boxes scroll sideways; the lists are read by word.
  wScrollFit(w, w != wtext && !(wp2 && w == wp2->text));
}

void wSetButton(Widget w, const char *label) {
  wSetLabel(w, label);
  wFitLabel(w);
}

const char *const hintProcedure =
    "The selection names no procedure.\nCancel, select a procedure name in the procedure\n"
    "list (one click on it) and press the button again.";
const char *const hintPair =
    "The selection names no statement.\nClose this box, select a whole label pair such as\n"
    "(1,4) and press Show again.";
const char *const hintStatements =
    "The selection names no statement.\nClose this box, select one or more whole statements,\n"
    "from their LB= through their closing ; or ], and press Show again.";

const char *wOrHint(const char *text, const char *hint) { return text && text[0] ? text : hint; }

void wRelabelStart(const char *label) {
  XtVaSetValues(wstart, XtNlabel, label ? label : "", XtNwidth, 80, XtNheight, 70, NULL);
  wFitLabel(wstart);
  if (XtIsRealized(topLevel)) wMinimumSize(topLevel);
}

// The window title names the command whose dialog the box shows.
static const char *DialogTitle(Widget pp) {
  switch (state) {
    case 105: return "quell1: load procedures";
    case 106: return pp == wselect ? "quell1: select" : "quell1: select, program part";
    case 107: return "quell1: save";
    case 108: return "quell1: veri-conds";
    case 109: return "quell1: annotation question";
    case 111: return pp == wexpand ? "quell1: expand" : "quell1: expand, program part";
    case 112: return pp == wpost ? "quell1: post-cond" : "quell1: post-cond, program part";
    default: return "quell1";
  }
}

// Places the box's shell at the point (50, 100) of tl.
static void PlaceShell(PopupBoxPtr p, Widget tl) {
  Position x = 0, y = 0;
  XtTranslateCoords(tl, 50, 100, &x, &y);
  XtVaSetValues(p->pshell, XtNx, x, XtNy, y, NULL);
}

static void PopShellRead(PopupBoxPtr p, Widget tl, Widget pp, const char *s, const char *cont,
                         const char *s1, const char *s2) {
  if (!p) return;
  PlaceShell(p, tl);
  XtVaSetValues(p->pshell, XtNtitle, DialogTitle(pp), NULL);
  wSetPrompt(p, s);
  wSetText(p->text, cont);
  wSetButton(p->ok, s1);
  wSetButton(p->cancel, s2);
  if (pp) XtSetSensitive(pp, False);
  XtPopup(p->pshell, XtGrabNonexclusive);
  wKeepOnScreen(p->pshell);
}

void PopShell1(Widget tl, Widget pp, const char *s, const char *cont, const char *s1,
               const char *s2) {
  PopShellRead(wp1, tl, pp, s, cont, s1, s2);
}

void PopShell3(Widget tl, Widget pp, const char *s, const char *cont, const char *s1,
               const char *s2) {
  PopShellRead(wp3, tl, pp, s, cont, s1, s2);
}

void PopShell2(Widget tl, Widget pp, const char *s, const char *cont, const char *s1,
               const char *s2) {
  PopupBoxPtr p = wp2;
  if (!p) return;
  PlaceShell(p, tl);
  XtVaSetValues(p->pshell, XtNtitle, DialogTitle(pp), NULL);
  if (pp) XtSetSensitive(pp, False);
  wSetButton(p->ok, s1);
  wSetButton(p->cancel, s2);
  wSetPrompt(p, s);
  XtVaSetValues(p->label, XtNborderWidth, 0, XtNjustify, XtJustifyLeft, NULL);
  XtVaSetValues(p->label, XtNx, 4, XtNy, 30, NULL);
  wSetText(p->text, cont);
  XtPopup(p->pshell, XtGrabNonexclusive);
  wKeepOnScreen(p->pshell);
}

void popdown(Widget pp, Widget p) {
  XtPopdown(p);
  if (pp) XtSetSensitive(pp, True);
}

// Opens the procedure box of post-cond and expand for the name selected in the
// main list: "Procedure %s:" with the text the builder gives for it. 0 (and
// nothing opened) when no name is selected.
int wProcedureBoxOpen(Widget tl, Widget button, int newState, char *(*builder)(const char *)) {
  char name[SELECT_SIZE];
  if (!GetSelectedItem(name, wtext, sizeof name)) return 0;
  state = newState;
  Text prompt;
  TextInit(&prompt);
  TextPrintf(&prompt, "Procedure %s:", name);
  const char *text = Procedure2Ptr(name) ? builder(name) : hintProcedure;
  PopShell1(tl, button, TextStr(&prompt), text, "Show", "Cancel");
  TextFree(&prompt);
  return 1;
}
