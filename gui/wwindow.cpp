// The client's windows as the window manager and the keyboard see them:
// closing a window, Escape and Ctrl+Return in the dialogs, the mouse wheel.
#include <X11/Xatom.h>

#include "w.h"

#include <cstring>

// The popup box whose shell is w or holds w; null for the main window.
static PopupBoxPtr BoxOf(Widget w) {
  for (; w; w = XtParent(w))
    for (int i = 0; i <= numberOfBoxes && i < POPUP_CAPACITY; i++)
      if (popupBoxes[i].pshell == w) return &popupBoxes[i];
  return nullptr;
}

static void Press(Widget button) {
  if (button && XtIsSensitive(button)) XtCallCallbacks(button, XtNcallback, nullptr);
}

// A window closed by the window manager: a dialog acts as its Cancel, the
// main window as "quit".
static void WindowClose(Widget w, XEvent *e, String *, Cardinal *) {
  Atom del = XInternAtom(XtDisplay(w), "WM_DELETE_WINDOW", False);
  if (e->type != ClientMessage || (Atom)e->xclient.data.l[0] != del) return;
  PopupBoxPtr p = BoxOf(w);
  if (!p) {
    XtCallCallbacks(wquit, XtNcallback, nullptr);
    return;
  }
  if (state != 0) XtCallCallbacks(p->cancel, XtNcallback, nullptr);
  else popdown(nullptr, p->pshell);   // a box no command owns
}

// Escape as Cancel, Ctrl+Return as Ok, in the box that holds w.
static void DialogKey(Widget w, XEvent *, String *params, Cardinal *count) {
  PopupBoxPtr p = BoxOf(w);
  if (!p || *count != 1) return;
  Press(strcmp(params[0], "ok") == 0 ? p->ok : p->cancel);
}

static XtActionsRec actions[] = {{(String) "wWindowClose", WindowClose},
                                 {(String) "wDialogKey", DialogKey}};

static const char *const dialogKeys =
    "<Key>Escape: wDialogKey(cancel)\nCtrl<Key>Return: wDialogKey(ok)\n";
// Three lines per notch of the wheel.
static const char *const wheel =
    "<Btn4Down>: scroll-one-line-down() scroll-one-line-down() scroll-one-line-down()\n"
    "<Btn5Down>: scroll-one-line-up() scroll-one-line-up() scroll-one-line-up()\n";

void wTranslationsAdd() {
  XtAppAddActions(XtWidgetToApplicationContext(topLevel), actions, XtNumber(actions));
  XtTranslations close = XtParseTranslationTable("<Message>WM_PROTOCOLS: wWindowClose()");
  XtTranslations keys = XtParseTranslationTable(dialogKeys);
  XtTranslations scroll = XtParseTranslationTable(wheel);
  XtOverrideTranslations(topLevel, close);
  XtOverrideTranslations(wtext, scroll);
  for (int i = 0; i <= numberOfBoxes && i < POPUP_CAPACITY; i++) {
    PopupBoxPtr p = &popupBoxes[i];
    XtOverrideTranslations(p->pshell, close);
    XtOverrideTranslations(p->box, keys);
    XtOverrideTranslations(p->text, keys);
    XtOverrideTranslations(p->text, scroll);
  }
}

// The protocol needs the windows: the popup shells are realised here, before
// their first popup, so the window manager sees it when it first maps them.
void wRealizeClient(Widget shell) {
  XtRealizeWidget(shell);
  wMinimumSize(shell);
  Atom del = XInternAtom(XtDisplay(shell), "WM_DELETE_WINDOW", False);
  XSetWMProtocols(XtDisplay(shell), XtWindow(shell), &del, 1);
  for (int i = 0; i <= numberOfBoxes && i < POPUP_CAPACITY; i++) {
    Widget s = popupBoxes[i].pshell;
    if (!s || XtParent(s) != shell) continue;
    if (!XtIsRealized(s)) XtRealizeWidget(s);
    XSetWMProtocols(XtDisplay(s), XtWindow(s), &del, 1);
  }
}
