// Condensed printers and the post-cond navigation stack.
#include "w.h"

char sName[NAV_DEPTH][NAV_ENTRY_SIZE];
int n = 0;

char *wGetSentenceContent2(char *) { return nullptr; }
void wSentenceRead2(const char *, char *out) { out[0] = 0; }
void wPostCleanStack() { n = 0; }
void ProcedurePrint2(ProcedurePtr, Text *) {}
void SentencePrint2(const char *, Text *, int) {}
