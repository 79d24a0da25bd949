// The veri-conds command: the verification conditions, then the sequents
// left after simplification, and user axioms applied to them.
#include "w.h"
#include "../prover/proof.h"

static int state1 = 0;          // 0 conditions shown, 1 sequents shown, 2 axiom input shown
static char s1[SELECT_SIZE];    // the selected procedure name, empty for all

static void wAssumptionPrompt(int refused) {
  Text prompt;
  TextInit(&prompt);
  if (s1[0])
    TextPrintf(&prompt, "Verification Conditions for %s:", s1);
  else
    TextAppend(&prompt, "Verification Conditions:");
  if (refused) TextAppend(&prompt, " (the axiom was refused)");
  wSetPrompt(wp1, TextStr(&prompt));
  TextFree(&prompt);
}

void wAssumption(Widget, XtPointer client_data, XtPointer) {
  GetSelectedItem(s1, wtext, sizeof s1);
  state = 108;
  state1 = 0;
  const char *text = !s1[0] || Procedure2Ptr(s1) ? wGetAssumptionList(s1) : hintProcedure;
  PopShell1((Widget)client_data, wassumption, "", text, "Simplify", "Cancel");
  wAssumptionPrompt(0);
}

void wAssumptionOk(int i, Widget, XtPointer, XtPointer) {
  if (!i) {
    state = 0;
    state1 = 0;
    popdown(wassumption, wp1->pshell);
    return;
  }
  if (state1 == 0) {
    wSetText(wp1->text, wGetAssumptionList2(s1));
    state1 = 1;
  } else if (state1 == 1) {
    wSetPrompt(wp1, "Please Provide an Axiom:");
    wSetText(wp1->text, " ");
    state1 = 2;
  } else {
    char *axiom = new char[INPUT_SIZE];
    int refused = GetInput(axiom, wp1->text, INPUT_SIZE) && !wMakeUseAxiom(axiom);
    delete[] axiom;
    wSetText(wp1->text, wGetAssumptionList2(s1));
    wAssumptionPrompt(refused);
    state1 = 1;
  }
}
