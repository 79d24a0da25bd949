// Label pair of selected statement text.
#include "w.h"

void wSentenceRead(char *, char *l) { l[0] = 0; }
int wSentLoopRead(char *, char *l) { l[0] = 0; return 0; }
void wSentLoopRead1(char *, char *l) { l[0] = 0; }
int wSentCondRead(const char *) { return 0; }
int wSentCaseRead(char *, char *l) { l[0] = 0; return 0; }
void wSentCaseRead1(char *, char *l) { l[0] = 0; }
int wSentElemRead(char *, char *l) { l[0] = 0; return 0; }
int wSentCallRead(char *, char *l) { l[0] = 0; return 0; }
void wReadLabels(char *, char *l) { l[0] = 0; }
int wSentSeqComposition(const char *, char *) { return 0; }
