// The loading and saving commands: start / add-proc, refresh, clear, save,
// and the result file.
#include "w.h"
#include "../vcgen/assump.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void wLoadedShow() {
  int loaded = procedureList.procedure != nullptr;
  wRelabelStart(loaded ? "add-proc" : "start");
  SetSensitiveFalse(loaded);
}

void wStart(Widget, XtPointer client_data, XtPointer) {
  state = 105;
  PopShell1((Widget)client_data, wstart, "Please Provide Procedure Text or a File Name:", "", "Ok",
            "Cancel");
}

void wStartOk(int i, Widget w, XtPointer client_data, XtPointer call_data) {
  if (!i) {
    state = 0;
    popdown(wstart, wp1->pshell);
    wLoadedShow();   // after "clear" nothing is loaded any more
    return;
  }
  char *input = static_cast<char *>(calloc(INPUT_SIZE, 1));
  if (!input || !GetInput(input, wp1->text, INPUT_SIZE)) {
    free(input);
    return;
  }
  if (!ProgramReadable(input)) {
    wSetPrompt(wp1, "File Not Found!!");
    free(input);
    return;
  }
  state = 0;
  popdown(wstart, wp1->pshell);
  StartProg1Checked(input);
  free(input);
  wLoadedShow();   // a text without procedures loads nothing
  wRedisplay(w, client_data, call_data);
  wAskInv(w, client_data, call_data);
}

void wRedisplay(Widget, XtPointer, XtPointer) { wSetText(wtext, wGetProcList()); }

void wClear(Widget w, XtPointer client_data, XtPointer call_data) {
  RunClear();
  wRedisplay(w, client_data, call_data);
  wStart(w, client_data, call_data);
}

void wSave(Widget, XtPointer client_data, XtPointer) {
  state = 107;
  PopShell1((Widget)client_data, wsave, "Please Provide a File Name:", "", "Ok", "Cancel");
}

void wSaveOk(int i, Widget, XtPointer, XtPointer) {
  if (!i) {
    state = 0;
    popdown(wsave, wp1->pshell);
    return;
  }
  char name[SELECT_SIZE];
  if (!GetInput(name, wp1->text, sizeof name)) return;
  if (!wFileWrite(name)) {
    // Stay open so the user can give another name.
    Text m;
    TextInit(&m);
    TextPrintf(&m, "The file %s could not be written. Please Provide a File Name:", name);
    wSetPrompt(wp1, TextStr(&m));
    TextFree(&m);
    return;
  }
  state = 0;
  popdown(wsave, wp1->pshell);
}

int wFileWrite(const char *name) {
  if (ResultFileWrite(name)) return 1;
  ErrorMsgPrintf("cannot write the file %s", name);
  return 0;
}
