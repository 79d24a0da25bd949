// Precondition rules of elementary, sequence, loop and case statements.
#include "assump.h"

FormulaPtr CalElem(SentencePtr) { return nullptr; }
FormulaPtr CalSeq(SentencePtr) { return nullptr; }
FormulaPtr CalLoop(SentencePtr) { return nullptr; }
FormulaPtr CalCase(SentencePtr) { return nullptr; }
