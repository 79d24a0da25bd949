// The process entry: toolkit, main window, popup boxes, callbacks, then the
// command line (batch exit or event loop).
#include <cstdlib>

#include "w.h"
#include "../smt/smt.h"

// The X resource smt (class Smt): the solver's pass runs for every
// generation, and the batch exit, only when it is true.
static void SmtResourceRead(Widget shell) {
  static Boolean on = False;
  static XtResource smt = {(char *)"smt", (char *)"Smt", XtRBoolean, sizeof(Boolean), 0, XtRImmediate,
                           (XtPointer)False};
  XtGetApplicationResources(shell, &on, &smt, 1, nullptr, 0);
  SmtSetOn(on);
}

int main(int argc, char **argv) {
  XtAppContext app;
  topLevel = XtVaAppInitialize(&app, "Quell1", nullptr, 0, &argc, argv, nullptr, NULL);
  SmtResourceRead(topLevel);
  wBuildClient(topLevel);
  XtVaSetValues(topLevel, XtNx, 50, XtNy, 100, NULL);
  XtRealizeWidget(topLevel);
  int status = wCommandLine(argc, argv);
  if (status >= 0) exit(status);
  XtAppMainLoop(app);
  return 0;
}
