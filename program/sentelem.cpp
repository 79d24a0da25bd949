#include "sentence.h"
int SentElemRead(char *, char *l) { l[0] = 0; return 0; }
void SentElemRead1(char *, char *l, SentencePtr) { l[0] = 0; }
int SentElemAssignReadList(const char *, AssignListPtr) { return 0; }
int SentSeqComposition(const char *, char *) { return 0; }
