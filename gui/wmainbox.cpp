// The main window: its widget tree, the button sensitivity switch, quit,
// the wiring of the commands and the evaluation of the command line.
#include <cstdlib>
#include <cstring>

#include <X11/Shell.h>
#include <X11/Xaw/AsciiText.h>
#include <X11/Xaw/Box.h>
#include <X11/Xaw/Command.h>
#include <X11/Xaw/Label.h>

#include "w.h"

Widget topLevel;
Widget wstart, wredisplay, wselect, wpost, wexpand, wassumption;
Widget wclear, wsave, wquit;
Widget wtext;
XawTextSelectType a[3];

// A button of its designed size, larger when its label needs more in the font in use.
static Widget CommandCreate(const char *name, Widget parent, int width, int height) {
  Widget w = XtVaCreateManagedWidget(name, commandWidgetClass, parent, XtNwidth, width,
                                     XtNheight, height, NULL);
  wFitLabel(w);
  return w;
}

void CreateMainBox() {
  // A button grown for a longer label (the font in use) may widen the window.
  XtVaSetValues(topLevel, XtNallowShellResize, True, NULL);
  Widget box = XtVaCreateManagedWidget("box", boxWidgetClass, topLevel, XtNx, 50, XtNy, 50,
                                       XtNwidth, 700, XtNheight, 500, NULL);
  // The command buttons form one row across the top of the window.
  Widget boxa = XtVaCreateManagedWidget("boxa", boxWidgetClass, box, XtNborderWidth, 0,
                                        XtNorientation, XtorientHorizontal, NULL);
  wstart = CommandCreate("start", boxa, 80, 70);
  wredisplay = CommandCreate("refresh", boxa, 80, 70);
  wselect = CommandCreate("select", boxa, 80, 70);
  wpost = CommandCreate("post-cond", boxa, 80, 70);
  wexpand = CommandCreate("expand", boxa, 80, 70);
  wassumption = CommandCreate("veri-conds", boxa, 80, 70);
  Widget boxb = XtVaCreateManagedWidget("boxb", boxWidgetClass, box, NULL);
  wFitLabel(XtVaCreateManagedWidget("Procedure List:", labelWidgetClass, boxb, XtNwidth, 250,
                                    XtNheight, 30, XtNborderWidth, 0, NULL));
  wtext = XtVaCreateManagedWidget("text", asciiTextWidgetClass, boxb, XtNstring, "",
                                  XtNtype, XawAsciiString, XtNeditType, XawtextRead,
                                  XtNwidth, 250, XtNheight, 415, XtNautoFill, True,
                                  XtNscrollVertical, XawtextScrollWhenNeeded,
                                  XtNselectTypes, a, NULL);
  wclear = CommandCreate("clear", box, 40, 70);
  wsave = CommandCreate("save", box, 40, 70);
  wquit = CommandCreate("quit", box, 40, 70);
}

void SetSensitiveFalse(int k) {
  Boolean b = k ? True : False;
  XtSetSensitive(wclear, b);
  XtSetSensitive(wsave, b);
  XtSetSensitive(wassumption, b);
  XtSetSensitive(wselect, b);
  XtSetSensitive(wredisplay, b);
  XtSetSensitive(wpost, b);
  XtSetSensitive(wexpand, b);
}

void wQuit(Widget, XtPointer, XtPointer) { exit(0); }

void wBuildClient(Widget shell) {
  topLevel = shell;
  CreateMainBox();
  wInit(0, nullptr);
  XtPointer tl = (XtPointer)topLevel;
  XtAddCallback(wquit, XtNcallback, wQuit, nullptr);
  XtAddCallback(wclear, XtNcallback, wClear, tl);
  XtAddCallback(wstart, XtNcallback, wStart, tl);
  XtAddCallback(wsave, XtNcallback, wSave, tl);
  XtAddCallback(wassumption, XtNcallback, wAssumption, tl);
  XtAddCallback(wselect, XtNcallback, wSelect, tl);
  XtAddCallback(wredisplay, XtNcallback, wRedisplay, tl);
  XtAddCallback(wpost, XtNcallback, wPost, tl);
  XtAddCallback(wexpand, XtNcallback, wExpand, tl);
  wTranslationsAdd();
}

int wCommandLine(int argc, char **argv) {
  if (argc <= 1) {
    SetSensitiveFalse(0);
    return -1;
  }
  if (strcmp(argv[1], "-d") == 0) {
    LogFileOpen();
    SetSensitiveFalse(0);
    return -1;
  }
  // A program file that cannot be read loads nothing and is an error: the
  // client exits with status 1 rather than start as if all were well.
  if (!StartProg1Checked(argv[1])) return 1;
  wRedisplay(nullptr, nullptr, nullptr);
  wLoadedShow();
  wAskInv(topLevel, (XtPointer)topLevel, nullptr);
  if (argc == 3 && state == 0) return wFileWrite(argv[2]) ? 0 : 1;
  return -1;
}
