// Program text: statements, procedures, their readers and printers.
#pragma once
#include "../g.h"
#include "../term/term.h"
#include "../formula/formula.h"

struct Sentence;
struct SentenceList;
struct ParamTrippleList;
struct Procedure;
struct ProcedureList;
typedef Sentence *SentencePtr;
typedef SentenceList *SentenceListPtr;
typedef ParamTrippleList *ParamTrippleListPtr;
typedef Procedure *ProcedurePtr;
typedef ProcedureList *ProcedureListPtr;

// Label pairs of the chains of a block that are no part of the statement
// holding the block (statements that were read but do not chain); kept so
// that they are reported and printed.
struct LabelList { char labels[LABEL_SIZE]; LabelList *labelList; };
typedef LabelList *LabelListPtr;

// type: 1 elementary, 2 sequence, 3 loop, 4 case, 5 call.
struct Sentence {
  char type;
  FormulaPtr cond;
  // Label pairs: texts of at most LABEL_SIZE-1 characters kept in the pool
  // (LabelKeep), "" for none; never null once made by SentenceAlloc.
  const char *labels;
  const char *labels1;
  const char *labels2;
  AssignListPtr assignList;
  FormulaPtr preCond;
  FormulaPtr postCond;
  LabelListPtr cutChains;   // of a loop's or case's block (beyond the plain record)
};
struct SentenceList { SentencePtr sentence; SentenceListPtr sentenceList; };

// Fields of at most LABEL_SIZE-1 characters, pool texts (LabelKeep); "" for
// one not read.
struct ParamTrippleList {
  const char *io;
  const char *type;
  const char *name;
  ParamTrippleListPtr paramTrippleList;
};

struct Procedure {
  char name[LABEL_SIZE];
  char *loc;   // at most LOC_SIZE-1 characters, in the pool; null or "" when none
  char body[LABEL_SIZE];
  ParamTrippleListPtr params;
  FormulaPtr preCond;
  FormulaPtr postCond;
  SentenceListPtr sentenceList;
  // Beyond the plain record: a read error in the procedure's text (its
  // conditions must then stay unprovable) and a lookup index by label pair.
  int readError;
  Ptr labelIndex;
  LabelListPtr cutChains;   // of the statement block: a read error
  // Where the head ("%PROC") stands: file (null for none) and line.
  const char *file;
  long line;
};
struct ProcedureList { ProcedurePtr procedure; ProcedureListPtr procedureList; };

// Where a verification condition comes from. Every sequent made from the
// condition, split off or not, points at its record.
const int ORIGIN_BODY = 1;        // the body of the procedure against its post-condition
const int ORIGIN_LOOP_KEPT = 2;   // the invariant of a loop kept by its body
const int ORIGIN_LOOP_EXIT = 3;   // the exit of a loop: invariant and negated condition
struct Origin {
  int kind;                 // 0 for none (sequents made elsewhere)
  const char *loop;         // the loop's label pair (kinds 2 and 3), a pool text; null or "" for none
  long number;              // place among the conditions of its procedure, 1 first
  const char *provedBy;     // the pass that proved the last of its sequents, or null
};
typedef Origin *OriginPtr;
// Appends "exit of loop (2,4)", "invariant of loop (2,4) kept by its body" or
// "body of p against its post-condition"; nothing for kind 0.
void OriginPrint(const Origin *o, const char *procName, Text *out);

// Global state of reading (declared with the records).
extern ProcedureList procedureList;
extern ProcedureListPtr currentProcedureList;
extern ProcedurePtr currentProcedure;
extern SentenceListPtr sp;

// Statement reader (the label buffer l holds LABEL_SIZE characters).
void SentenceRead(char *s, char *l);
int LabelRead(const char *s, char *l);
void DivideLabels(const char *s, char *s1, char *s2);
void Blanks(int k, char *s);
SentencePtr Sentence2Ptr(const char *l);
FormulaPtr GetPostCond(const char *l);
// 1 for a loop record whose body has no invariant yet (looked up in the
// current procedure): what the annotation questions ask for.
int isLoopWithoutInvariant(SentencePtr s);
int AddPostCond(const char *l, FormulaPtr p);
int AddPreCond(const char *l, FormulaPtr p);
int isLoop(const char *s);
int isCase(const char *s);
int isInv(const char *s);
int isElem(const char *s);
int isCall(const char *s);
int ProcHeadRead(const char *s, char *l, char open, char close);  // l: SEGMENT_SIZE
int AssertionRead(const char *s, FormulaPtr c);
int ReadTo(const char *s, char *s1, char c1, char c2);             // s1: SEGMENT_SIZE

// Elementary statements and sequences.
int SentElemRead(char *s, char *l);
void SentElemRead1(char *s, char *l, SentencePtr sent);
int SentElemAssignReadList(const char *s, AssignListPtr p);
int SentSeqComposition(const char *s1, char *s2);

// Procedures.
void ProcedureReadList(char *s);
int ProcedureRead(char *s, ProcedurePtr p);
void ProcedureMake(ProcedurePtr p, FormulaPtr pre, FormulaPtr post, const char *head,
                   const char *loc, const char *body);
ProcedurePtr Procedure2Ptr(const char *l);
void ProcedureListClear();   // empties procedureList (nothing freed), cursor to head

// Loops, cases and calls.
int SentLoopRead(char *s, char *l);
void SentLoopRead1(char *s, char *l, SentencePtr sent);
int SentCaseRead(char *s, char *l);
void SentCaseRead1(char *s, char *l, SentencePtr sent);
int SentCondRead(char *s, FormulaPtr p);
int SentCallRead(char *s, char *l);
void SentCallRead1(char *s, char *l, SentencePtr sent);
int SentCallAssignList(const char *s, AssignListPtr tp);

// Printers: append to the text.
void SentencePrint(const char *l, Text *s, int k);
void SentencePrintPtr(SentencePtr p, Text *s, int k);
void SentCallParamPrint(const char *name, AssignListPtr bindings, Text *s);
void ProcedurePrint(ProcedurePtr p, Text *ss);
void ProcedureHeadPrint(ProcedurePtr p, Text *ss);
void ProcedureListPrint(Text *ss);
void SentencePrintDebug(const char *l, Text *s, int k);
void SentencePrintPtrDebug(SentencePtr p, Text *s, int k);
void ProcedurePrintDebug(ProcedurePtr p, Text *ss);
void ProcedureListPrintDebug(Text *ss);
int PrintPreCond(SentencePtr p, Text *ss, int k);

// Helpers shared by the program readers.
// Writes "(a,b)" into dst (LABEL_SIZE); refuses, with an Error line and an
// empty dst, a pair longer than LABEL_SIZE-1 characters. 1 when written.
int LabelPairMake(char *dst, const char *a, const char *b);
// LabelPairMake into a kept text (*dst "" when refused).
int LabelPairKeep(const char **dst, const char *a, const char *b);
// A copy of the first n characters of l (at most LABEL_SIZE-1 of them) in
// the pool, released with the records; the shared "" for an empty one.
const char *LabelKeepN(const char *l, size_t n);
const char *LabelKeep(const char *l);
// A statement record from the pool, its label pairs "".
SentencePtr SentenceAlloc();
// The same without a word: a pair that would not fit is left empty (a cut
// pair could name another statement).
int LabelPairFit(char *dst, const char *a, const char *b);
// Appends a filled record at `sp` and indexes it. A statement record (not a
// sequence) whose start label is already used in the current procedure, or
// a record with an empty label pair, is refused (Error line for the first);
// returns 1 when appended.
int SentenceAttach(SentencePtr sent);
// The block reader, returning the number of characters consumed. A chain
// that the next statement does not continue is appended to *cuts (when cuts
// is not null); l is left holding the last chain.
int SentenceReadN(char *s, char *l, LabelListPtr *cuts);
// Appends a copy of the pair to the list.
void LabelListAppend(LabelListPtr *list, const char *l);
// Length of the bracketed segment as ProcHeadRead measures it; *closed is
// set to 1 when the closing bracket was found.
int SegmentMeasure(const char *s, char open, char close, int *closed);
// AssertionRead that tells (in *ok) whether a formula was read: 0 for an
// assertion that was refused (too long, or without its closing brace).
int AssertionReadOk(const char *s, FormulaPtr c, int *ok);
// ProcHeadRead that names what was too long in its Error line.
int ProcHeadReadWhat(const char *s, char *l, char open, char close, const char *what);
// Index of a procedure's statement in list order (0 first), -1 when absent.
long SentencePosition(ProcedurePtr p, const char *l);
// Statement lookup in a given procedure (first record with that pair).
SentencePtr SentenceFind(ProcedurePtr p, const char *l);
// Error lines for structured records whose parts name no statement or a
// statement that is not read before them; 1 when all parts are sound.
int ProcedureCheckParts(ProcedurePtr p);
// 1 when the text holds a name beginning with "#@" (reserved for the names
// the system makes).
int isReservedNameUsed(const char *s, size_t n);   // looks at the first n characters
// 1 for the io text of a parameter or binding: "%IOP" or "%INP".
int isIoText(const char *s);
// 1 when s begins with w.
int isAt(const char *s, const char *w);
// The end of the statement at s: its first ";" outside parentheses, or the
// end of the text.
const char *StatementEnd(const char *s);
// The empty tail node of procedureList (remembered, not walked for).
ProcedureListPtr ProcedureListTail();
// Forgets the remembered tail and the name index (after the list was emptied).
void ProcedureIndexReset();
