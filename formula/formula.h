// Formulas over terms: the node, its text form, lists, fresh names and
// line breaking.
#pragma once
#include "../g.h"
#include "../term/term.h"

struct Formula;
struct FormulaList;
struct Procedure;
typedef Formula *FormulaPtr;
typedef FormulaList *FormulaListPtr;

// connective: '|' '^' ':' '~' 'T' 'A' '=' '<' '>' '.' or 0 (empty).
struct Formula { char connective; Ptr left; Ptr right; };
struct FormulaList { FormulaPtr formula; FormulaListPtr formulaList; };

// Classes of connectives: the children of '|' '^' '~' ':' 'T' are formulas,
// those of '=' '<' '>' '.' terms ('A' has a term and a formula).
int isFormulaClass(char c);
int isTermClass(char c);

FormulaPtr FormulaAlloc();   // zero-filled node
void FormulaFreeNode(FormulaPtr t);   // the node alone, not its children
FormulaPtr FormulaMakeTrue();   // new "T" node
FormulaPtr FormulaMakeFalse();  // new "~" over "T"

// Structural operations.
void FormulaFree(FormulaPtr t);
FormulaPtr FormulaCopy(FormulaPtr t);
void FormulaMove(FormulaPtr src, FormulaPtr dst);
FormulaPtr CombineCond(FormulaPtr c1, char c, FormulaPtr c2);
FormulaPtr FormulaSubstSim(FormulaPtr t, AssignListPtr sl);
int FormulaEqual(FormulaPtr p1, FormulaPtr p2);
AssignListPtr AvoidBoundVarSelect(AssignListPtr p, TermPtr v);
// 1 when the two formulas print to the same text (exact sides, no mirror).
int FormulaPrintEqual(FormulaPtr p1, FormulaPtr p2);
long FormulaSize(FormulaPtr t, long limit);   // node count, stops past limit
// The first term of t that passes the test (see TermFind): quantified
// variables, operands left to right, the left side of a relation first.
TermPtr FormulaTermFind(FormulaPtr t, TermTest test, Ptr ctx);

// Reader and printer.
void FormulaRead(char *s, FormulaPtr t);
int FormulaRead1(char *s, FormulaPtr t);
// FormulaRead that answers 1 when the formula took up the whole text: no
// text left after a primary, every parenthesis closed.
int FormulaReadWhole(char *s, FormulaPtr t);
void FormulaPrint(FormulaPtr t, Text *s);

// Lists.
void FormulaListFree(FormulaListPtr p);
FormulaListPtr FormulaListCopy(FormulaListPtr p);
FormulaListPtr FormulaListAppend(FormulaListPtr c1, FormulaListPtr c2);
FormulaListPtr Formula2FormulaList(FormulaPtr p, char ch);
FormulaPtr FormulaList2Formula(FormulaListPtr a, char ch);
AssignListPtr FormulaList2AssignList(FormulaListPtr p);
FormulaListPtr FormulaListSubstSim(FormulaListPtr a, AssignListPtr s);
FormulaListPtr FormulaListSubstSim1(FormulaPtr p, FormulaListPtr a, AssignListPtr s);
FormulaListPtr FormulaListRewrite(FormulaListPtr a);
void FormulaListPrint(FormulaListPtr p, Text *ss);
void CleanPtrList(Ptr p);   // any list of shape {element, next}: frees nodes only
int isAssign1(FormulaPtr p);

// Fresh names and egen variables.
void InitializeNewName();
void NewName(char *s);       // s holds LABEL_SIZE characters at least
// The next fresh name, saved and put back around work on trial whose names
// never reach a kept formula (s holds LABEL_SIZE characters).
void NewNameSave(char *s);
void NewNameRestore(const char *s);
int isNotEgenVar(FormulaPtr p, Procedure *proc);
TermPtr FormulaEgenVarFind(FormulaPtr t);
TermPtr FormulaEgenVarFind2(FormulaPtr t);
FormulaPtr EgenVarRename(FormulaPtr p);
FormulaPtr EgenVarRename2(FormulaPtr p);

// Line breaking: appends the wrapped text of s to out.
void NiceFormula(const char *s, Text *out, int width);
int GetLine(Text *out, int *depth, const char *s);
