#include "sentence.h"
ProcedureList procedureList;
ProcedureListPtr currentProcedureList = &procedureList;
ProcedurePtr currentProcedure;
SentenceListPtr sp;
void SentenceRead(char *, char *l) { l[0] = 0; }
int LabelRead(const char *, char *l) { l[0] = 0; return 0; }
void DivideLabels(const char *, char *s1, char *s2) { s1[0] = 0; s2[0] = 0; }
void Blanks(int k, char *s) { for (int i = 0; i < k; i++) s[i] = ' '; s[k > 0 ? k : 0] = 0; }
SentencePtr Sentence2Ptr(const char *) { return nullptr; }
FormulaPtr GetPostCond(const char *) { return nullptr; }
int AddPostCond(const char *, FormulaPtr) { return 0; }
int AddPreCond(const char *, FormulaPtr) { return 0; }
int isLoop(const char *) { return 0; }
int isCase(const char *) { return 0; }
int isInv(const char *) { return 0; }
int isElem(const char *) { return 0; }
int isCall(const char *) { return 0; }
int ProcHeadRead(const char *, char *l, char, char) { l[0] = 0; return 0; }
int AssertionRead(const char *, FormulaPtr) { return 0; }
int ReadTo(const char *, char *s1, char, char) { s1[0] = 0; return 0; }
