#include "sentence.h"
int SentLoopRead(char *, char *l) { l[0] = 0; return 0; }
void SentLoopRead1(char *, char *l, SentencePtr) { l[0] = 0; }
int SentCaseRead(char *, char *l) { l[0] = 0; return 0; }
void SentCaseRead1(char *, char *l, SentencePtr) { l[0] = 0; }
int SentCondRead(char *, FormulaPtr) { return 0; }
