// Display text builders.
#include "w.h"

char *wGetProcList() { return SssSet(""); }
char *wGetSentenceList(const char *) { return SssSet(""); }
char *wGetProcContent(const char *) { return SssSet(""); }
char *wGetProcContent2(const char *) { return SssSet(""); }
char *wGetSentenceContent(const char *) { return nullptr; }
char *wGetAssumptionList(const char *) { return SssSet(""); }
char *wGetAssumptionList2(const char *) { return SssSet(""); }
char *wGetProcPrePostCond(const char *) { return nullptr; }
char *wGetSentPrePostCond(const char *) { return nullptr; }
