// Term reader and printer.
#include "term.h"
#include "../core/pool.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

TermPtr TermAlloc() {
  TermPtr t = static_cast<TermPtr>(PoolAlloc(sizeof(Term)));
  t->name = t->shortName;
  return t;
}

// The length a name of n characters keeps; a longer one is reported and cut.
static size_t NameLengthCut(size_t n) {
  if (n <= static_cast<size_t>(NAME_SIZE - 1)) return n;
  ErrorMsg("*** Name too long, cut at 2047 characters ***");
  return NAME_SIZE - 1;
}

void TermSetNameN(TermPtr t, const char *name, size_t n) {
  n = NameLengthCut(n);
  char *s = n < sizeof t->shortName ? t->shortName : static_cast<char *>(PoolAlloc(n + 1));
  memmove(s, name, n);   // name may be the term's own
  s[n] = 0;
  if (t->name && t->name != t->shortName && t->name != s) PoolFree(t->name, strlen(t->name) + 1);
  t->name = s;
}

void TermSetName(TermPtr t, const char *name) {
  if (!name) name = "";
  TermSetNameN(t, name, strlen(name));
}

TermPtr TermMakeName(const char *name) {
  TermPtr t = TermAlloc();
  t->type = 2;
  TermSetName(t, name);
  return t;
}

static int isSeparator(const char *s) {
  switch (*s) {
    case 0: case ',': case ':': case '(': case ')': case '[': case ']':
    case '|': case '^': case '~': case '=': case '<': case '>':
    case '\n': case '\t': case ' ':
      return 1;
    case '-':
      return s[1] == '>';
    default:
      return 0;
  }
}

// Length of the word at s (up to the first separator).
static size_t WordLength(const char *s) {
  size_t n = 0;
  while (!isSeparator(s + n)) n++;
  return n;
}

int GetWord(const char *s, char *out) {
  size_t n = WordLength(s);
  size_t k = NameLengthCut(n);
  memcpy(out, s, k);
  out[k] = 0;
  return static_cast<int>(n);
}

// Skips a term that is nested too deeply: its name and a balanced bracket
// group behind it, without recursion.
static size_t TermSkip(const char *s) {
  size_t i = WordLength(s);
  if (s[i] != '(' && s[i] != '[') return i;
  long open = 0;
  do {
    if (s[i] == '(' || s[i] == '[') open++;
    else if (s[i] == ')' || s[i] == ']') open--;
    i++;
  } while (s[i] && open > 0);
  return i;
}

static int TermReadDepth(const char *s, TermPtr t, int depth);

static int TermReadTermListDepth(const char *s, TermListPtr p, int depth) {
  int i = 0;
  p->term = TermAlloc();
  i += TermReadDepth(s + i, p->term, depth);
  while (s[i] == ',') {
    i++;
    TermListPtr q = static_cast<TermListPtr>(PoolAlloc(sizeof(TermList)));
    p->termList = q;
    p = q;
    p->term = TermAlloc();
    i += TermReadDepth(s + i, p->term, depth);
  }
  return i;
}

static int TermReadDepth(const char *s, TermPtr t, int depth) {
  size_t n = WordLength(s);
  if (n == 0) ErrorMsg("*** Missing name ***");
  TermSetNameN(t, s, n);
  size_t i = n;
  if (depth >= MAX_NEST_DEPTH && (s[i] == '(' || s[i] == '[')) {
    ErrorMsg("*** Term nested too deeply ***");
    t->type = 2;
    return static_cast<int>(TermSkip(s));
  }
  if (s[i] == '(' || s[i] == '[') {
    char close = s[i] == '(' ? ')' : ']';
    t->type = s[i] == '(' ? 3 : 1;
    i++;
    t->termList = static_cast<TermListPtr>(PoolAlloc(sizeof(TermList)));
    i += TermReadTermListDepth(s + i, t->termList, depth + 1);
    if (s[i] == close) i++;
    else ErrorMsg(close == ')' ? "*** Missing ) ***" : "*** Missing ] ***");
  } else {
    t->type = 2;
  }
  return static_cast<int>(i);
}

int TermRead(const char *s, TermPtr t) { return TermReadDepth(s, t, 0); }

int TermReadTermList(const char *s, TermListPtr p) { return TermReadTermListDepth(s, p, 0); }

void TermPrintTermList(TermListPtr p, Text *s) {
  for (; p; p = p->termList) {
    TermPrint(p->term, s);
    if (p->termList) TextAppendChar(s, ',');
  }
}

void TermPrintExpPair(ExpPairPtr p, Text *s) {
  TextAppendChar(s, '(');
  TermPrintTermList(p->subList, s);
  TextAppend(s, ")->");
  TermPrint(p->exp, s);
}

void TermPrintExpPairList(ExpPairListPtr p, Text *s) {
  for (; p; p = p->expPairList) {
    if (p->expPair) TermPrintExpPair(p->expPair, s);
    if (p->expPairList) TextAppendChar(s, ',');
  }
}

void TermPrintArraySubList(ArraySubListPtr p, Text *s) {
  if (!p) return;
  TextAppendChar(s, '[');
  for (; p; p = p->arraySubList) {
    TextAppendChar(s, '[');
    TermPrintExpPairList(p->expPairList, s);
    TextAppendChar(s, ']');
  }
  TextAppendChar(s, ']');
}

void TermPrint(TermPtr t, Text *s) {
  if (!t) return;
  TextAppend(s, t->name);
  if (t->type == 3) {
    TextAppendChar(s, '(');
    TermPrintTermList(t->termList, s);
    TextAppendChar(s, ')');
  } else if (t->type == 1) {
    TermPrintArraySubList(t->arraySubList, s);
    // An array value with updates but no subscripts (a whole array that
    // was changed elementwise) prints its update lists only.
    if (t->termList || !t->arraySubList) {
      TextAppendChar(s, '[');
      TermPrintTermList(t->termList, s);
      TextAppendChar(s, ']');
    }
  }
}

void ShowExpPairList(ExpPairListPtr p) {
  Text s;
  TextInit(&s);
  TermPrintExpPairList(p, &s);
  printf("ExpPairList: %s\n", TextStr(&s));
  TextFree(&s);
}
