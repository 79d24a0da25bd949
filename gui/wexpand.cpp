// The expand command.
#include "w.h"

void wExpand(Widget, XtPointer, XtPointer) {}
void wExpandOk(int, Widget, XtPointer, XtPointer) {}
