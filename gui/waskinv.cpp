// The annotation questions asked after every load.
#include "w.h"

void wAskInv(Widget, XtPointer, XtPointer) {}
void wAskInvOk(int) {}
