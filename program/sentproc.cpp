#include "sentence.h"
void ProcedureReadList(char *) {}
int ProcedureRead(char *, ProcedurePtr) { return 0; }
void ProcedureMake(ProcedurePtr, FormulaPtr, FormulaPtr, const char *, const char *, const char *) {}
ProcedurePtr Procedure2Ptr(const char *) { return nullptr; }
void ProcedureListClear() { procedureList.procedure = nullptr; procedureList.procedureList = nullptr; currentProcedureList = &procedureList; }
