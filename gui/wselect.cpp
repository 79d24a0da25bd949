// The select command: the statements of the selected procedure as a list of
// label pairs, and a part popup with the chosen statement and its conditions.
#include "w.h"

static int state1 = 0;          // 0 list box only, 1 part popup open as well
static char s1[SELECT_SIZE];    // the selected procedure name

void wSelect(Widget, XtPointer client_data, XtPointer) {
  if (!GetSelectedItem(s1, wtext, sizeof s1)) return;
  state = 106;
  state1 = 0;
  const char *list = Procedure2Ptr(s1) ? wGetSentenceList(s1) : hintProcedure;
  PopShell2((Widget)client_data, wselect, "Please Select One Line:", list, "Show", "Cancel");
}

void wSelectOk(int i, Widget, XtPointer client_data, XtPointer) {
  if (state1 == 1) {
    state1 = 0;
    popdown(wp2->ok, wp1->pshell);
    return;
  }
  if (!i) {
    state = 0;
    popdown(wselect, wp2->pshell);
    return;
  }
  char pair[SELECT_SIZE];
  if (!GetSelectedItem(pair, wp2->text, sizeof pair)) return;
  state1 = 1;
  Text prompt;
  TextInit(&prompt);
  TextPrintf(&prompt, "Program Part %s of %s:", pair, s1);
  PopShell1((Widget)client_data, wp2->ok, TextStr(&prompt),
            wOrHint(wGetSentenceContent(pair), hintPair), "Ok", "Cancel");
  TextFree(&prompt);
}
