// Terms (names, applications, array elements with update lists) and
// assignments, which also serve as simultaneous substitutions.
#pragma once
#include "../g.h"

struct Term;
struct TermList;
struct ExpPair;
struct ExpPairList;
struct ArraySubList;
struct Assign;
struct AssignList;
typedef Term *TermPtr;
typedef TermList *TermListPtr;
typedef ExpPair *ExpPairPtr;
typedef ExpPairList *ExpPairListPtr;
typedef ArraySubList *ArraySubListPtr;
typedef Assign *AssignPtr;
typedef AssignList *AssignListPtr;

// type: 1 array element, 2 name, 3 application; +10 while marked.
// `name` is a string of at most NAME_SIZE-1 characters, never null once the
// term was made by TermAlloc; set it only through TermSetName. A short name
// is kept in the record itself (`shortName`, in the room the alignment of
// the pointers leaves beside `type`), a longer one in a pool block of its own.
const int TERM_SHORT_NAME = 7;
struct Term {
  signed char type;
  char shortName[TERM_SHORT_NAME];
  char *name;
  TermListPtr termList;
  ArraySubListPtr arraySubList;
};
struct TermList { TermPtr term; TermListPtr termList; };
struct ExpPair { TermListPtr subList; TermPtr exp; };
struct ExpPairList { ExpPairPtr expPair; ExpPairListPtr expPairList; };
struct ArraySubList { ExpPairListPtr expPairList; ArraySubListPtr arraySubList; };

struct Assign { TermPtr termLeft; TermPtr termRight; };
struct AssignList { AssignPtr assign; AssignListPtr assignList; };

// Allocation. Every Term is made by TermAlloc (empty name, type 0).
TermPtr TermAlloc();
void TermSetName(TermPtr t, const char *name);  // cuts at NAME_SIZE-1 characters
void TermSetNameN(TermPtr t, const char *name, size_t n);
TermPtr TermMakeName(const char *name);   // new plain name (type 2)

// Reading: each returns the number of characters consumed.
int GetWord(const char *s, char *out);          // out holds NAME_SIZE characters
int TermRead(const char *s, TermPtr t);
int TermReadTermList(const char *s, TermListPtr p);

// Printing: append to the text.
void TermPrint(TermPtr t, Text *s);
void TermPrintTermList(TermListPtr p, Text *s);
void TermPrintArraySubList(ArraySubListPtr p, Text *s);
void TermPrintExpPairList(ExpPairListPtr p, Text *s);
void TermPrintExpPair(ExpPairPtr p, Text *s);
void ShowExpPairList(ExpPairListPtr p);

// Copying and freeing.
TermPtr TermCopy(TermPtr t);
TermListPtr TermCopyTermList(TermListPtr p);
ArraySubListPtr TermCopyArraySubList(ArraySubListPtr p);
ExpPairListPtr TermCopyExpPairList(ExpPairListPtr p);
ExpPairPtr TermCopyExpPair(ExpPairPtr p);
TermPtr TermCopy1(TermPtr t);
TermListPtr TermCopyTermList1(TermListPtr p);
void TermFree(TermPtr t);
void TermFreeTermList(TermListPtr p);
void TermFreeArraySubList(ArraySubListPtr p);
void TermFreeExpPairList(ExpPairListPtr p);
void TermFreeExpPair(ExpPairPtr p);

// Traversal, substitution, equality.
typedef TermPtr (*TermVisitor)(TermPtr t, AssignListPtr s);
TermPtr TermFunction(TermPtr t, AssignListPtr s, TermVisitor f);
void TermFunctionTermList(TermListPtr p, AssignListPtr s, TermVisitor f);
void TermFunctionArraySubList(ArraySubListPtr p, AssignListPtr s, TermVisitor f);
void TermFunctionExpPairList(ExpPairListPtr p, AssignListPtr s, TermVisitor f);
void TermFunctionExpPair(ExpPairPtr p, AssignListPtr s, TermVisitor f);
TermPtr TermSubstListf(TermPtr t, AssignListPtr sl);
TermPtr TermUnmarkf(TermPtr t, AssignListPtr s);
TermPtr TermSubstSim(TermPtr t, AssignListPtr sl);
void TermMarkSubstTermList(AssignListPtr sl, int flag);
int VarEqual(TermPtr t1, TermPtr t2);
int TermEqual(TermPtr t1, TermPtr t2);
long TermSize(TermPtr t, long limit);   // node count, stops counting past limit
// The first term for which test returns 1: t itself, then its update lists
// (subscripts before values), then its subscripts or arguments.
typedef int (*TermTest)(TermPtr t, Ptr ctx);
TermPtr TermFind(TermPtr t, TermTest test, Ptr ctx);

// Assignments.
int AssignRead(const char *s, AssignPtr t);
int AssignReadList(const char *s, AssignListPtr p);
void AssignPrint(AssignPtr t, Text *s);
void AssignListPrint(AssignListPtr t, Text *s);
