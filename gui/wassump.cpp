// The veri-conds command.
#include "w.h"

void wAssumption(Widget, XtPointer, XtPointer) {}
void wAssumptionOk(int, Widget, XtPointer, XtPointer) {}
