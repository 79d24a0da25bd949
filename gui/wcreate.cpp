// The popup boxes: read boxes (prompt, editable text, two buttons) and the
// list box (prompt, read-only text to select in, two buttons).
#include <X11/Shell.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Box.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Label.h>

#include "w.h"

PopupBox popupBoxes[POPUP_CAPACITY];
int numberOfBoxes = -1;
PopupBoxPtr wp1, wp2, wp3;

// Index of a fresh box, or -1 with an Error line when the storage is full.
static int BoxNew() {
  if (numberOfBoxes + 1 >= POPUP_CAPACITY) {
    ErrorMsg("no room for another popup box");
    return -1;
  }
  return ++numberOfBoxes;
}

// Typing may make a text outgrow its area. Its scrollbars are fitted once the
// edit is done, not inside the text widget's own change.
static XtIntervalId fitTimer[POPUP_CAPACITY];

static void TypedFit(XtPointer client, XtIntervalId *) {
  long i = (long)client;
  fitTimer[i] = 0;
  wScrollFit(popupBoxes[i].text, 1);
}

static void TextChanged(Widget w, XtPointer client, XtPointer) {
  long i = (long)client;
  if (!fitTimer[i])
    fitTimer[i] = XtAppAddTimeOut(XtWidgetToApplicationContext(w), 0, TypedFit, client);
}

static void TextGone(Widget, XtPointer client, XtPointer) {
  long i = (long)client;
  if (fitTimer[i]) XtRemoveTimeOut(fitTimer[i]);
  fitTimer[i] = 0;
}

static void ButtonsCreate(PopupBoxPtr p, const char *first, const char *firstLabel, int width) {
  p->ok = XtVaCreateManagedWidget(first, commandWidgetClass, p->box, XtNlabel, firstLabel,
                                  XtNwidth, width, XtNheight, 30, XtNresize, False, NULL);
  p->cancel = XtVaCreateManagedWidget("cancel", commandWidgetClass, p->box, XtNlabel, "Cancel",
                                      XtNwidth, width, XtNheight, 30, XtNresize, False, NULL);
  wFitLabel(p->ok);
  wFitLabel(p->cancel);
  XtAddCallback(p->ok, XtNcallback, DialogDone, (XtPointer)p->box);
  XtAddCallback(p->cancel, XtNcallback, Cancel, (XtPointer)p->box);
}

int CreateReadBox() {
  int n = BoxNew();
  if (n < 0) return -1;
  PopupBoxPtr p = &popupBoxes[n];
  p->pshell = XtVaCreatePopupShell("pshell", transientShellWidgetClass, topLevel,
                                   XtNheight, 470, XtNtitle, "quell1",
                                   XtNallowShellResize, True, NULL);
  p->box = XtVaCreateManagedWidget("box", boxWidgetClass, p->pshell, NULL);
  p->label = XtVaCreateManagedWidget("label", labelWidgetClass, p->box, XtNwidth, 500,
                                     XtNheight, 30, XtNx, 100, XtNy, 100, XtNborderWidth, 0,
                                     NULL);
  p->text = XtVaCreateManagedWidget("text", asciiTextWidgetClass, p->box, XtNstring, "",
                                    XtNtype, XawAsciiString, XtNeditType, XawtextEdit,
                                    XtNwidth, 500, XtNheight, 400, XtNautoFill, True,
                                    XtNscrollVertical, XawtextScrollWhenNeeded,
                                    XtNscrollHorizontal, XawtextScrollWhenNeeded, NULL);
  fitTimer[n] = 0;
  XtAddCallback(XawTextGetSource(p->text), XtNcallback, TextChanged, (XtPointer)(long)n);
  XtAddCallback(p->text, XtNdestroyCallback, TextGone, (XtPointer)(long)n);
  ButtonsCreate(p, "ok", "Ok", 246);
  return n;
}

int CreateListBox() {
  int n = BoxNew();
  if (n < 0) return -1;
  PopupBoxPtr p = &popupBoxes[n];
  p->pshell = XtVaCreatePopupShell("pshell2", transientShellWidgetClass, topLevel,
                                   XtNheight, 515, XtNtitle, "quell1",
                                   XtNallowShellResize, True, NULL);
  p->box = XtVaCreateManagedWidget("box2", boxWidgetClass, p->pshell, NULL);
  p->label = XtVaCreateManagedWidget("label", labelWidgetClass, p->box, XtNwidth, 300,
                                     XtNheight, 30, NULL);
  p->text = XtVaCreateManagedWidget("text", asciiTextWidgetClass, p->box, XtNstring, "",
                                    XtNtype, XawAsciiString, XtNeditType, XawtextRead,
                                    XtNwidth, 300, XtNheight, 450, XtNautoFill, True,
                                    XtNscrollVertical, XawtextScrollWhenNeeded,
                                    XtNselectTypes, a, NULL);
  ButtonsCreate(p, "expand", "Expand", 146);
  return n;
}
