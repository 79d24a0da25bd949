#include "sentence.h"
void SentencePrint(const char *, Text *, int) {}
void SentencePrintPtr(SentencePtr, Text *, int) {}
void SentCallParamPrint(const char *, AssignListPtr, Text *) {}
void ProcedurePrint(ProcedurePtr, Text *) {}
void ProcedureListPrint(Text *) {}
void SentencePrintDebug(const char *, Text *, int) {}
void SentencePrintPtrDebug(SentencePtr, Text *, int) {}
void ProcedurePrintDebug(ProcedurePtr, Text *) {}
void ProcedureListPrintDebug(Text *) {}
int PrintPreCond(SentencePtr, Text *, int) { return 0; }
