// The loading and saving commands: start / add-proc, refresh, clear, save.
#include "w.h"

void wStart(Widget, XtPointer, XtPointer) {}
void wStartOk(int, Widget, XtPointer, XtPointer) {}
void wRedisplay(Widget, XtPointer, XtPointer) {}
void wClear(Widget, XtPointer, XtPointer) {}
void wSave(Widget, XtPointer, XtPointer) {}
void wSaveOk(int, Widget, XtPointer, XtPointer) {}
int wFileWrite(const char *name) { return ResultFileWrite(name); }
