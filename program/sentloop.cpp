// Loop and case statements. Each reads its inner block first (so the inner
// records come before its own), then its head from a private copy, so that
// no search of the head runs past the statement.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sentence.h"

static int isAt(const char *s, const char *w) { return strncmp(s, w, strlen(w)) == 0; }

static char *CopyRange(const char *from, const char *to) {
  size_t n = to > from ? static_cast<size_t>(to - from) : 0;
  char *c = static_cast<char *>(malloc(n + 1));
  memcpy(c, from, n);
  c[n] = 0;
  return c;
}

static void TrailingText(const char *what, const char *p) {
  if (!*p) return;
  Text t;
  TextInit(&t);
  TextPrintf(&t, "%s: text after the head: %s", what, p);
  ErrorMsg(TextStr(&t));
  TextFree(&t);
}

int SentCondRead(char *s, FormulaPtr p) {
  char *arrow = strstr(s, "=>");
  if (!arrow) {
    int n = static_cast<int>(strlen(s));
    FormulaRead(s, p);
    return n;
  }
  arrow[0] = 0;
  arrow[1] = 0;
  int n = static_cast<int>(arrow - s);
  FormulaRead(s, p);
  return n + 2;
}

// Reads "$OLB=" x into l, printing msgO or msgLB for the missing piece.
static const char *NextLabel(const char *p, char *l, const char *msgO, const char *msgLB) {
  l[0] = 0;
  if (isAt(p, "$O")) p += 2;
  else ErrorMsg(msgO);
  if (isAt(p, "LB=")) p += LabelRead(p, l);
  else ErrorMsg(msgLB);
  return p;
}

void SentLoopRead1(char *s, char *l, SentencePtr sent) {
  char a[LABEL_SIZE] = "", b[LABEL_SIZE] = "", c[LABEL_SIZE] = "";
  sent->cond = FormulaAlloc();
  char *p = s;
  if (isAt(p, "LB=")) p += LabelRead(p, a);
  else ErrorMsg("loop");
  if (*p == '^') {
    p++;
    p += SentCondRead(p, sent->cond);
  } else {
    ErrorMsg("loop");
  }
  if (*p == '(') p++;
  else ErrorMsg("loop");
  p = const_cast<char *>(NextLabel(p, b, "loop", "loop"));
  if (*p == '|') p++;
  else ErrorMsg("loop");
  p = const_cast<char *>(NextLabel(p, c, "loop", "loop"));
  if (*p == ')') p++;
  else ErrorMsg("loop");
  TrailingText("loop", p);
  sent->type = 3;
  if (!LabelPairMake(sent->labels, a, c) || !LabelPairMake(sent->labels1, b, a)) sent->labels[0] = 0;
  CopyBounded(l, LABEL_SIZE, sent->labels);
}

// Length of the statement at s (from its "*" or "?" to its "]"); cuts the
// text at that "]" while the inside is read. *closing is the cut position.
static int Measure(char *s, char **closing, const char *what) {
  int closed;
  int n = SegmentMeasure(s, '[', ']', &closed);
  *closing = nullptr;
  if (closed) {
    *closing = s + n - 1;
    **closing = 0;
  } else {
    char msg[64];
    snprintf(msg, sizeof msg, "%s without its closing ]", what);
    ErrorMsg(msg);
  }
  return n;
}

int SentLoopRead(char *s, char *l) {
  char *closing;
  int n = Measure(s, &closing, "loop");
  char *inner = s + 2;
  char *body = nullptr;
  char *arrow = strstr(inner, "=>");
  char *open = arrow ? strchr(arrow + 2, '(') : nullptr;
  if (open) {
    int depth = 0;
    for (char *q = open; *q; q++) {
      if (*q == '(') depth++;
      else if (*q == ')' && --depth == 0) {
        body = q + 1;
        break;
      }
    }
  }
  if (!body) ErrorMsg("loop");
  char *head = CopyRange(inner, body ? body : inner + strlen(inner));
  l[0] = 0;
  if (body) SentenceReadN(body, l);
  SentencePtr sent = static_cast<SentencePtr>(calloc(1, sizeof(Sentence)));
  SentLoopRead1(head, l, sent);
  if (!SentenceAttach(sent)) l[0] = 0;
  free(head);
  if (closing) *closing = ']';
  return n;
}

void SentCaseRead1(char *s, char *l, SentencePtr sent) {
  char a[LABEL_SIZE] = "", b[LABEL_SIZE] = "", c[LABEL_SIZE] = "";
  sent->cond = FormulaAlloc();
  char *p = s;
  if (isAt(p, "LB=")) p += LabelRead(p, a);
  else ErrorMsg("case1");
  if (*p == '^') {
    p++;
    p += SentCondRead(p, sent->cond);
  } else {
    ErrorMsg("case2");
  }
  p = const_cast<char *>(NextLabel(p, b, "case3", "case4"));
  if (*p == '|') p++;
  else ErrorMsg("case5");
  if (*p == '~') p++;
  else ErrorMsg("case6");
  if (isAt(p, "=>")) p += 2;
  else ErrorMsg("case7");
  p = const_cast<char *>(NextLabel(p, c, "case8", "case9"));
  if (*p == ';') p++;
  else ErrorMsg("case10");
  TrailingText("case", p);
  char x[LABEL_SIZE], d[LABEL_SIZE];
  DivideLabels(l, x, d);
  sent->type = 4;
  if (!d[0]) {
    ErrorMsg("case: its branches hold no statement, so they join at no label");
    sent->labels[0] = 0;
  } else if (!LabelPairMake(sent->labels, a, d) || !LabelPairMake(sent->labels1, b, d) ||
             !LabelPairMake(sent->labels2, c, d)) {
    sent->labels[0] = 0;
  }
  CopyBounded(l, LABEL_SIZE, sent->labels);
}

int SentCaseRead(char *s, char *l) {
  char *closing;
  int n = Measure(s, &closing, "case");
  char *inner = s + 2;
  char *semi = strchr(inner, ';');
  char *head = CopyRange(inner, semi ? semi + 1 : inner + strlen(inner));
  l[0] = 0;
  if (semi) SentenceReadN(semi + 1, l);
  SentencePtr sent = static_cast<SentencePtr>(calloc(1, sizeof(Sentence)));
  SentCaseRead1(head, l, sent);
  if (!SentenceAttach(sent)) l[0] = 0;
  free(head);
  if (closing) *closing = ']';
  return n;
}
