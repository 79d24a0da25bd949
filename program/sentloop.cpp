// Loop and case statements. Each reads its inner block first (so the inner
// records come before its own), then its head from a private copy, so that
// no search of the head runs past the statement.
#include <cstdlib>
#include <cstring>

#include "sentence.h"
#include "../core/pool.h"

static char *CopyRange(const char *from, const char *to) {
  size_t n = to > from ? static_cast<size_t>(to - from) : 0;
  char *c = static_cast<char *>(malloc(n + 1));
  memcpy(c, from, n);
  c[n] = 0;
  return c;
}

static void TrailingText(const char *what, const char *p) {
  if (!*p) return;
  ErrorMsgPrintf("%s: text after the head: %s", what, p);
}

// The condition ends at the first "=>", which is consumed with it.
int SentCondRead(char *s, FormulaPtr p) {
  char *arrow = strstr(s, "=>");
  int n = arrow ? static_cast<int>(arrow - s) + 2 : static_cast<int>(strlen(s));
  if (arrow) arrow[0] = arrow[1] = 0;
  FormulaRead(s, p);
  return n;
}

// Steps over w, or prints msg when it is not there.
static char *Expect(char *p, const char *w, const char *msg) {
  if (isAt(p, w)) return p + strlen(w);
  ErrorMsg(msg);
  return p;
}

// Reads "$OLB=" x into l, printing msgO or msgLB for the missing piece.
static char *NextLabel(char *p, char *l, const char *msgO, const char *msgLB) {
  l[0] = 0;
  p = Expect(p, "$O", msgO);
  if (isAt(p, "LB=")) p += LabelRead(p, l);
  else ErrorMsg(msgLB);
  return p;
}

// Reads the start of a head, "LB=" a "^" condition, printing msgLB or
// msgCond for the missing piece.
static char *HeadStart(char *p, char *a, FormulaPtr cond, const char *msgLB, const char *msgCond) {
  if (isAt(p, "LB=")) p += LabelRead(p, a);
  else ErrorMsg(msgLB);
  if (*p != '^') {
    ErrorMsg(msgCond);
    return p;
  }
  p++;
  return p + SentCondRead(p, cond);
}

void SentLoopRead1(char *s, char *l, SentencePtr sent) {
  char a[LABEL_SIZE] = "", b[LABEL_SIZE], c[LABEL_SIZE];
  sent->cond = FormulaAlloc();
  char *p = HeadStart(s, a, sent->cond, "loop", "loop");
  p = Expect(p, "(", "loop");
  p = NextLabel(p, b, "loop", "loop");
  p = Expect(p, "|", "loop");
  p = NextLabel(p, c, "loop", "loop");
  p = Expect(p, ")", "loop");
  TrailingText("loop", p);
  sent->type = 3;
  if (!LabelPairKeep(&sent->labels, a, c) || !LabelPairKeep(&sent->labels1, b, a)) sent->labels = "";
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
    ErrorMsgPrintf("%s without its closing ]", what);
  }
  return n;
}

// Where the loop's body block begins: after the ")" that closes the "(" past
// its arrow; null when there is none.
static char *LoopBlock(char *inner) {
  char *arrow = strstr(inner, "=>");
  if (arrow) {
    int closed;
    int n = SegmentMeasure(arrow + 2, '(', ')', &closed);
    if (closed) return arrow + 2 + n;
  }
  ErrorMsg("loop");
  return nullptr;
}

// Where the case's block begins: after the first ";", which ends its head.
static char *CaseBlock(char *inner) {
  char *semi = strchr(inner, ';');
  return semi ? semi + 1 : nullptr;
}

// The chains of the block that are not parts of sent: a loop's block must be
// its body (labels1), a case's block its two branches (labels1, labels2).
static LabelListPtr NotParts(LabelListPtr chains, SentencePtr sent) {
  LabelListPtr kept = nullptr, *tail = &kept;
  for (LabelListPtr n = chains, next; n; n = next) {
    next = n->labelList;
    n->labelList = nullptr;
    int isPart = strcmp(n->labels, sent->labels1) == 0 ||
                 (sent->type == 4 && strcmp(n->labels, sent->labels2) == 0);
    if (isPart) {
      PoolFree(n, sizeof(LabelList));
    } else {
      *tail = n;
      tail = &n->labelList;
    }
  }
  return kept;
}

// A loop or case: its inner block (found by blockOf) is read first, then the
// head before that block from a private copy by read1.
static int StructuredRead(char *s, char *l, const char *what, char *(*blockOf)(char *),
                          void (*read1)(char *, char *, SentencePtr)) {
  char *closing;
  int n = Measure(s, &closing, what);
  char *inner = s + 2;
  char *block = blockOf(inner);
  char *head = CopyRange(inner, block ? block : inner + strlen(inner));
  l[0] = 0;
  LabelListPtr chains = nullptr;
  if (block) SentenceReadN(block, l, &chains);
  if (l[0]) LabelListAppend(&chains, l);   // the last chain too must be a part
  SentencePtr sent = SentenceAlloc();
  LocCopy(head, strlen(head), inner);
  LocAt(head);
  read1(head, l, sent);
  LocCopyEnd(head);
  sent->cutChains = NotParts(chains, sent);
  if (!SentenceAttach(sent)) l[0] = 0;
  free(head);
  if (closing) *closing = ']';
  return n;
}

int SentLoopRead(char *s, char *l) {
  return StructuredRead(s, l, "loop", LoopBlock, SentLoopRead1);
}

void SentCaseRead1(char *s, char *l, SentencePtr sent) {
  char a[LABEL_SIZE] = "", b[LABEL_SIZE], c[LABEL_SIZE];
  sent->cond = FormulaAlloc();
  char *p = HeadStart(s, a, sent->cond, "case1", "case2");
  p = NextLabel(p, b, "case3", "case4");
  p = Expect(p, "|", "case5");
  p = Expect(p, "~", "case6");
  p = Expect(p, "=>", "case7");
  p = NextLabel(p, c, "case8", "case9");
  p = Expect(p, ";", "case10");
  TrailingText("case", p);
  char x[LABEL_SIZE], d[LABEL_SIZE];
  DivideLabels(l, x, d);
  sent->type = 4;
  if (!d[0]) {
    ErrorMsg("case: its branches hold no statement, so they join at no label");
    sent->labels = "";
  } else if (!LabelPairKeep(&sent->labels, a, d) || !LabelPairKeep(&sent->labels1, b, d) ||
             !LabelPairKeep(&sent->labels2, c, d)) {
    sent->labels = "";
  }
  CopyBounded(l, LABEL_SIZE, sent->labels);
}

int SentCaseRead(char *s, char *l) {
  return StructuredRead(s, l, "case", CaseBlock, SentCaseRead1);
}
