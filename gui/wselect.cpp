// The select command.
#include "w.h"

void wSelect(Widget, XtPointer, XtPointer) {}
void wSelectOk(int, Widget, XtPointer, XtPointer) {}
