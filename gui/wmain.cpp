// The process entry: toolkit, main window, popup boxes, callbacks, then the
// command line (batch exit or event loop).
#include <cstdlib>

#include "w.h"

int main(int argc, char **argv) {
  XtAppContext app;
  LocPrintTo(stderr);   // located error lines beside the Error lines
  topLevel = XtVaAppInitialize(&app, "Quell1", nullptr, 0, &argc, argv, nullptr, NULL);
  wBuildClient(topLevel);
  XtVaSetValues(topLevel, XtNx, 50, XtNy, 100, NULL);
  XtRealizeWidget(topLevel);
  int status = wCommandLine(argc, argv);
  if (status >= 0) exit(status);
  XtAppMainLoop(app);
  return 0;
}
