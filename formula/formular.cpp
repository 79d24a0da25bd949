// Formula text form: the reader that splits at connectives, the primary
// reader and the printer.
#include "formula.h"

#include <cstring>

// *whole (when given) is cleared where text is left unread: after a primary,
// or at a parenthesis that is not closed.
static void FormulaReadAt(char *s, FormulaPtr t, int depth, int *whole);
static int FormulaRead1At(char *s, FormulaPtr t, int depth, int *whole);

// 1 when reading one more level would pass the nesting bound (says so once
// per refused level).
static int isTooDeep(int depth) {
  if (depth < MAX_NEST_DEPTH) return 0;
  ErrorMsg("*** Formula nested too deeply ***");
  return 1;
}

// Position of the first op (one or two characters) outside parentheses,
// continuing the shared depth counter; -1 when there is none.
static long ScanOp(const char *s, const char *op, int *level) {
  size_t n = strlen(op);
  for (long i = 0; s[i]; i++) {
    if (s[i] == '(') {
      (*level)++;
    } else if (s[i] == ')') {
      (*level)--;
    } else if (*level == 0 && strncmp(s + i, op, n) == 0) {
      return i;
    }
  }
  return -1;
}

// Splits at the first "->", then "|", then "^" outside parentheses; the
// right operand is read by the loop, so right-grouped chains stay flat on
// the stack. The three scans share one depth counter. When the text is
// balanced, the scans that failed on the whole text fail on its right part
// as well: `skip` counts them, which keeps long chains linear.
static void FormulaReadAt(char *s, FormulaPtr t, int depth, int *whole) {
  int skip = 0;
  while (!isTooDeep(depth)) {
    int level = 0;
    int balanced = skip > 0;
    long at = -1;
    int oplen = 2, found = 0;
    char c = ':';
    if (skip < 1) {
      at = ScanOp(s, "->", &level);
      if (at < 0) balanced = level == 0;
    }
    if (at < 0 && skip < 2) {
      at = ScanOp(s, "|", &level);
      oplen = 1;
      c = '|';
      found = 1;
    }
    if (at < 0) {
      at = ScanOp(s, "^", &level);
      oplen = 1;
      c = '^';
      found = 2;
    }
    if (at < 0) {
      int n = FormulaRead1At(s, t, depth, whole);
      if (whole && s[n]) *whole = 0;
      return;
    }
    s[at] = 0;
    FormulaPtr first = FormulaAlloc();
    FormulaPtr second = FormulaAlloc();
    FormulaReadAt(s, first, depth + 1, whole);
    t->connective = c;
    t->left = first;
    t->right = second;
    s += at + oplen;
    t = second;
    skip = balanced ? found : 0;
  }
}

void FormulaRead(char *s, FormulaPtr t) {
  if (!s || !t) return;
  FormulaReadAt(s, t, 0, nullptr);
}

int FormulaReadWhole(char *s, FormulaPtr t) {
  if (!s || !t) return 0;
  int whole = 1;
  FormulaReadAt(s, t, 0, &whole);
  return whole;
}

// Reads "v:" of a quantifier into a new term; returns the characters used.
static int QuantVarRead(char *s, TermPtr *v) {
  *v = TermAlloc();
  int n = TermRead(s, *v);
  if (s[n] == ':') {
    n++;
  } else {
    ErrorMsg("FOR ALL");
  }
  return n;
}

static int FormulaRead1At(char *s, FormulaPtr t, int depth, int *whole) {
  if (s[0] == 0) return 0;
  LocAt(s);
  if (isTooDeep(depth)) {
    if (whole) *whole = 0;
    return 0;
  }
  if (s[0] == '(') {
    int level = 0;
    long i = 0;
    for (; s[i]; i++) {
      if (s[i] == '(') level++;
      else if (s[i] == ')' && --level == 0) break;
    }
    // A primary ends its part of the text: nothing may follow its ")".
    if (whole && (s[i] != ')' || s[i + 1])) *whole = 0;
    s[i] = 0;
    FormulaReadAt(s + 1, t, depth + 1, whole);
    return static_cast<int>(i);
  }
  if (s[0] == '$' && s[1] == 'F') {
    t->connective = '~';
    t->left = nullptr;
    t->right = FormulaMakeTrue();
    return 2;
  }
  if (s[0] == '$' && s[1] == 'T') {
    t->connective = 'T';
    return 2;
  }
  if (s[0] == '~') {
    FormulaPtr n = FormulaAlloc();
    t->connective = '~';
    t->right = n;
    return 1 + FormulaRead1At(s + 1, n, depth + 1, whole);
  }
  if (s[0] == '$' && (s[1] == 'E' || s[1] == 'A')) {
    TermPtr v = nullptr;
    int n = 2 + QuantVarRead(s + 2, &v);
    FormulaPtr body = FormulaAlloc();
    n += FormulaRead1At(s + n, body, depth + 1, whole);
    if (s[1] == 'A') {
      t->connective = 'A';
      t->left = v;
      t->right = body;
    } else {
      FormulaPtr neg = FormulaAlloc();
      neg->connective = '~';
      neg->right = body;
      FormulaPtr q = FormulaAlloc();
      q->connective = 'A';
      q->left = v;
      q->right = neg;
      t->connective = '~';
      t->right = q;
    }
    return n;
  }
  TermPtr first = TermAlloc();
  int n = TermRead(s, first);
  char c = s[n];
  if (c == '=' || c == '<' || c == '>') {
    n++;
    TermPtr second = TermAlloc();
    n += TermRead(s + n, second);
    t->connective = c;
    t->left = first;
    t->right = second;
  } else {
    t->connective = '.';
    t->left = nullptr;
    t->right = first;
  }
  return n;
}

int FormulaRead1(char *s, FormulaPtr t) {
  if (!s || !t) return 0;
  return FormulaRead1At(s, t, 0, nullptr);
}

static void TermPrintOpt(Ptr t, Text *s) {
  if (t) TermPrint(static_cast<TermPtr>(t), s);
}

// Right children are printed by the loop; the closing parentheses they owe
// are written at the end.
void FormulaPrint(FormulaPtr t, Text *s) {
  long closing = 0;
  while (t) {
    char c = t->connective;
    if (c == '|' || c == '^') {
      TextAppendChar(s, '(');
      FormulaPrint(static_cast<FormulaPtr>(t->left), s);
      TextAppendChar(s, c);
      closing++;
    } else if (c == ':') {
      TextAppend(s, "((");
      FormulaPrint(static_cast<FormulaPtr>(t->left), s);
      TextAppend(s, ")->");
      closing++;
    } else if (c == '~') {
      TextAppendChar(s, '~');
    } else if (c == 'A') {
      TextAppend(s, "$A");
      TermPrintOpt(t->left, s);
      TextAppendChar(s, ':');
    } else {
      if (c == '.') {
        TermPrintOpt(t->right, s);
      } else if (c == 'T') {
        TextAppend(s, "$T");
      } else if (c == '=' || c == '<' || c == '>') {
        TermPrintOpt(t->left, s);
        TextAppendChar(s, c);
        TermPrintOpt(t->right, s);
      }
      break;
    }
    t = static_cast<FormulaPtr>(t->right);
  }
  for (; closing > 0; closing--) TextAppendChar(s, ')');
}
