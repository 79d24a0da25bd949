// The process entry: toolkit, main window, popup boxes, callbacks, then the
// command line (batch exit or event loop).
#include <cstdio>
#include <cstdlib>
#include <cstring>

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
  // Error lines reach a redirected standard output while the client runs.
  setvbuf(stdout, nullptr, _IOLBF, 0);
  // The toolkit would take "-d" for an abbreviation of its "-display": an
  // exact "-d" first is taken out before it parses and given back after.
  int debug = argc > 1 && strcmp(argv[1], "-d") == 0;
  if (debug) {
    for (int i = 1; i < argc; i++) argv[i] = argv[i + 1];
    argc--;
  }
  XtAppContext app;
  LocPrintTo(stderr);   // located error lines beside the Error lines
  topLevel = XtVaAppInitialize(&app, "Quell1", nullptr, 0, &argc, argv, nullptr, NULL);
  SmtResourceRead(topLevel);
  wBuildClient(topLevel);
  XtVaSetValues(topLevel, XtNx, 50, XtNy, 100, NULL);
  wRealizeClient(topLevel);
  char dashD[] = "-d";
  char *debugArgs[] = {argv[0], dashD, nullptr};
  int status = debug ? wCommandLine(2, debugArgs) : wCommandLine(argc, argv);
  if (status >= 0) exit(status);
  XtAppMainLoop(app);
  return 0;
}
