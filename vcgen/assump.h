// Verification conditions: assumptions, the generation driver and the
// precondition calculus.
#pragma once
#include "../g.h"
#include "../program/sentence.h"

struct Assumption;
struct AssumptionList;
typedef Assumption *AssumptionPtr;
typedef AssumptionList *AssumptionListPtr;

struct Assumption { FormulaPtr formula1; FormulaPtr formula2; char procName[LABEL_SIZE]; };
struct AssumptionList { AssumptionPtr assumption; AssumptionListPtr assumptionList; };

extern AssumptionList assumptionList;
void AssumptionListClear();   // empties the list (nothing freed)

void GenerateVerificationCond();
void Verification(ProcedurePtr proc);
FormulaPtr CalPreCond(const char *l);
void MakeAssumption(FormulaPtr c1, FormulaPtr c2);
void MakeLoopAssumption(FormulaPtr c, FormulaPtr c1, FormulaPtr c2);
FormulaPtr CombineCaseCond(FormulaPtr c1, FormulaPtr c2, FormulaPtr c);
void AssumptionPrint(const char *pname, Text *ss);
void AssumptionListPrint(Text *ss);

FormulaPtr CalElem(SentencePtr s);
FormulaPtr CalSeq(SentencePtr s);
FormulaPtr CalLoop(SentencePtr s);
FormulaPtr CalCase(SentencePtr s);
FormulaPtr CalCall(SentencePtr s);

typedef int (*FormulaSelector)(FormulaPtr p, ProcedurePtr proc);
typedef int (*TermSelector)(TermPtr t, ProcedurePtr proc);
FormulaListPtr FormulaListSelect(FormulaListPtr list, ProcedurePtr proc, FormulaSelector f);
AssignListPtr AssignListSelect(AssignListPtr list, ProcedurePtr proc, TermSelector f);
int isInp(TermPtr t, ProcedurePtr proc);
int isIop(TermPtr t, ProcedurePtr proc);
int isAssign(FormulaPtr p, ProcedurePtr proc);
int isNotAssign(FormulaPtr p, ProcedurePtr proc);
int isInit(FormulaPtr p, ProcedurePtr proc);
int isNotInit(FormulaPtr p, ProcedurePtr proc);
