// Verification conditions: assumptions, the generation driver and the
// precondition calculus.
#pragma once
#include "../g.h"
#include "../program/sentence.h"

struct Assumption;
struct AssumptionList;
typedef Assumption *AssumptionPtr;
typedef AssumptionList *AssumptionListPtr;

// procName: the procedure's name (at most LABEL_SIZE-1 characters), a pool
// text; null or "" for none.
struct Assumption { FormulaPtr formula1; FormulaPtr formula2; const char *procName; Origin origin; };
struct AssumptionList { AssumptionPtr assumption; AssumptionListPtr assumptionList; };

// The procedure name of a, "" for none.
inline const char *AssumptionProcName(const Assumption *a) { return a->procName ? a->procName : ""; }

extern AssumptionList assumptionList;
void AssumptionListClear();   // empties the list (nothing freed)
// The empty tail node, where the next assumption will go; AssumptionListCut
// with it later drops (without freeing) every assumption appended since.
AssumptionListPtr AssumptionListMark();
void AssumptionListCut(AssumptionListPtr mark);

void GenerateVerificationCond();
void Verification(ProcedurePtr proc);
FormulaPtr CalPreCond(const char *l);
void MakeAssumption(FormulaPtr c1, FormulaPtr c2);
// The condition c ^ c1 -> c2 of the loop `loop`, of origin kind
// ORIGIN_LOOP_KEPT or ORIGIN_LOOP_EXIT.
void MakeLoopAssumption(int kind, const char *loop, FormulaPtr c, FormulaPtr c1, FormulaPtr c2);
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

// Helpers of the generator: size bounds, name searches and guarded
// substitution. Generated conditions stay within FORMULA_NODE_LIMIT.
const int CAL_DEPTH_LIMIT = 1024;   // nesting of statements the calculus follows
// Nodes the substitutions of one procedure may make (and its statements keep)
// before its condition is cut as too large.
const long GEN_WORK_LIMIT = 2000000;
void GenWorkReset();   // at the start of each procedure

// Upper bound of the node count of f after FormulaSubstSim(f, sl); stops
// counting once it passes limit.
long FormulaSubstSizeBound(FormulaPtr f, AssignListPtr sl, long limit);
// 1 when a term of f (at any depth) carries the given name.
int FormulaMentionsName(FormulaPtr f, const char *name);
int TermMentionsName(TermPtr t, const char *name);
// FormulaSubstSim when the result stays within FORMULA_NODE_LIMIT and the
// procedure's GEN_WORK_LIMIT; otherwise
// f is left as it is and *tooLarge is set.
FormulaPtr GenSubst(FormulaPtr f, AssignListPtr sl, int *tooLarge);
// GenSubst of a copy of f; null, with *tooLarge set, when the result would
// pass FORMULA_NODE_LIMIT (nothing is copied then). Even an empty sl checks
// the size of f.
FormulaPtr GenSubstCopy(FormulaPtr f, AssignListPtr sl, int *tooLarge);
// GenSubstCopy that returns f itself (not a copy) when sl changes nothing
// (every assignment gives a name its own value): for a statement's own
// condition, which the records share and nothing changes in place.
FormulaPtr GenSubstShared(FormulaPtr f, AssignListPtr sl, int *tooLarge);
// Prints that the current procedure's condition grew too large; returns "~T".
FormulaPtr GenTooLarge();
// The assignments of l up to the first node without one: l itself when all
// nodes have one (*made 0), else a new list of new nodes (*made 1).
AssignListPtr AssignListTrim(AssignListPtr l, int *made);
// 1 when the term is a plain name usable as a variable (not a numeral, string,
// "#" or "@" name).
int isPlainVariable(TermPtr t);
// The post-condition a procedure's own body must establish: a private copy
// of its postCond whose egen equations @v=e are eliminated by substituting e
// for @v in the other conjuncts; "$T" when no conjunct is left.
FormulaPtr VerificationPostCond(ProcedurePtr proc);
// "~T" as the pre-condition of a call that cannot be used, after "Procedure
// Call" and the detail as Error lines.
FormulaPtr CallFail(SentencePtr s, const char *detail);
// Gives fresh names, throughout f, to the names of a callee's specification
// that would otherwise reach the caller's condition: "#" and "@" names at any
// depth, and plain variables that are none of the callee's formals.
FormulaPtr CallRenameFree(FormulaPtr f, ProcedurePtr proc);
