// The procedure-call rule, its list selectors and equation classifiers.
#include "assump.h"

FormulaPtr CalCall(SentencePtr) { return nullptr; }
FormulaListPtr FormulaListSelect(FormulaListPtr, ProcedurePtr, FormulaSelector) { return nullptr; }
AssignListPtr AssignListSelect(AssignListPtr, ProcedurePtr, TermSelector) { return nullptr; }
int isInp(TermPtr, ProcedurePtr) { return 0; }
int isIop(TermPtr, ProcedurePtr) { return 0; }
int isAssign(FormulaPtr, ProcedurePtr) { return 0; }
int isNotAssign(FormulaPtr, ProcedurePtr) { return 1; }
int isInit(FormulaPtr, ProcedurePtr) { return 0; }
int isNotInit(FormulaPtr, ProcedurePtr) { return 1; }
