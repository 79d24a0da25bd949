// The expand command: a procedure in full form; the statements selected in it
// are shown, by the label pair they span, with their conditions.
#include "w.h"

static int state1 = 0;   // 0 procedure box only, 1 part popup open as well

void wExpand(Widget, XtPointer client_data, XtPointer) {
  if (wProcedureBoxOpen((Widget)client_data, wexpand, 111, wGetProcContent)) state1 = 0;
}

void wExpandOk(int i, Widget, XtPointer client_data, XtPointer) {
  if (state1 == 1) {
    state1 = 0;
    popdown(wp1->ok, wp3->pshell);
    return;
  }
  if (!i) {
    state = 0;
    popdown(wexpand, wp1->pshell);
    return;
  }
  char sel[SELECT_SIZE];
  if (!GetSelectedItem(sel, wp1->text, sizeof sel)) return;
  state1 = 1;
  char pair[LABEL_SIZE];
  wSentenceRead(sel, pair);
  Text prompt;
  TextInit(&prompt);
  TextPrintf(&prompt, "Program Part %s:", pair);
  PopShell3((Widget)client_data, wp1->ok, TextStr(&prompt),
            wOrHint(wGetSentenceContent(pair), hintStatements), "Ok", "Cancel");
  TextFree(&prompt);
}
