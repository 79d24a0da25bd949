// The assumption list, the generation driver and the dispatcher of the
// precondition calculus.
#include "assump.h"

AssumptionList assumptionList;

void AssumptionListClear() { assumptionList.assumption = nullptr; assumptionList.assumptionList = nullptr; }
void GenerateVerificationCond() {}
void Verification(ProcedurePtr) {}
FormulaPtr CalPreCond(const char *) { return nullptr; }
void MakeAssumption(FormulaPtr, FormulaPtr) {}
void MakeLoopAssumption(FormulaPtr, FormulaPtr, FormulaPtr) {}
FormulaPtr CombineCaseCond(FormulaPtr, FormulaPtr, FormulaPtr) { return nullptr; }
void AssumptionPrint(const char *, Text *) {}
void AssumptionListPrint(Text *) {}
