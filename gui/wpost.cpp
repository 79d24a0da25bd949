// The post-cond command.
#include "w.h"

void wPost(Widget, XtPointer, XtPointer) {}
void wPostOk(int, Widget, XtPointer, XtPointer) {}
