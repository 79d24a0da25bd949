// The post-cond command: a procedure in condensed form, and a part popup that
// descends into the parts by their label pairs and steps back up.
#include "w.h"

static int state1 = 0;   // 0 procedure box only, 1 part popup open as well

void wPost(Widget, XtPointer client_data, XtPointer) {
  if (wProcedureBoxOpen((Widget)client_data, wpost, 112, wGetProcContent2)) state1 = 0;
}

static void wPostPartClose() {
  state1 = 0;
  popdown(wp1->ok, wp3->pshell);
  wPostCleanStack();
}

void wPostOk(int i, Widget, XtPointer client_data, XtPointer) {
  char sel[SELECT_SIZE];
  char pair[SELECT_SIZE];
  Text prompt;
  TextInit(&prompt);
  if (state1 == 0) {
    if (!i) {
      state = 0;
      popdown(wpost, wp1->pshell);
    } else if (GetSelectedItem(sel, wp1->text, sizeof sel)) {
      state1 = 1;
      wPostCleanStack();   // a new descent starts at the bottom of the stack
      wSentenceRead2N(sel, pair, sizeof pair);
      char *display = wGetSentenceContent2(pair);
      TextPrintf(&prompt, "Program Part %s:", pair);
      PopShell3((Widget)client_data, wp1->ok, TextStr(&prompt), wOrHint(display, hintPair), "Ok",
                "Cancel");
    }
  } else if (!i) {
    wPostPartClose();
  } else {
    GetSelectedItem(sel, wp3->text, sizeof sel);   // nothing selected: one level up
    wSentenceRead2N(sel, pair, sizeof pair);
    char *display = wGetSentenceContent2(pair);
    if (!display) {
      wPostPartClose();
    } else {
      TextPrintf(&prompt, "Program Part %s:", pair);
      wSetPrompt(wp3, TextStr(&prompt));
      wSetText(wp3->text, display);
    }
  }
  TextFree(&prompt);
}
