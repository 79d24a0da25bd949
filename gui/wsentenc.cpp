// The label pair of selected statement text: walks the text as the
// statement reader does, builds no records and attaches nothing. It cuts
// statements by writing terminators, so it works on the caller's copy, and
// every step stops at the end of the text.
#include "w.h"

#include <cstdio>
#include <cstring>

static void wSentenceReadDepth(char *s, char *l, int depth);
static int wSentLoopReadDepth(char *s, char *l, int depth);
static int wSentCaseReadDepth(char *s, char *l, int depth);

// A label after "LB=" into l (LABEL_SIZE), cut to fit; returns characters
// consumed including "LB=", 0 when the text does not begin with "LB=".
static int wLabelTake(const char *s, char *l) {
  l[0] = 0;
  if (!isAt(s, "LB=")) return 0;
  size_t len = strcspn(s + 3, ";,:\n\t ()[]|^~=<>");
  size_t k = len < (size_t)LABEL_SIZE - 1 ? len : (size_t)LABEL_SIZE - 1;
  memcpy(l, s + 3, k);
  l[k] = 0;
  return (int)(3 + len);
}

// Length from the opening bracket at s[1] through its matching "]", or to
// the end of the text.
static int wBracketLength(const char *s) {
  int depth = 1;
  size_t i = 2;
  if (!s[0] || !s[1]) return (int)strlen(s);
  for (; s[i] && depth > 0; i++) {
    if (s[i] == '[') depth++;
    else if (s[i] == ']') depth--;
  }
  return (int)i;
}

int wSentSeqComposition(const char *l1, char *l2) {
  char a1[LABEL_SIZE], b1[LABEL_SIZE], a2[LABEL_SIZE], b2[LABEL_SIZE];
  DivideLabels(l1, a1, b1);
  DivideLabels(l2, a2, b2);
  if (strcmp(b1, a2) == 0) {
    LabelPairFit(l2, a1, b2);
    return 1;
  }
  ErrorMsg("sent.seq");
  return 0;
}

void wReadLabels(char *s, char *l) {
  char entry[LABEL_SIZE] = "", exit[LABEL_SIZE] = "";
  if (isAt(s, "LB=")) wLabelTake(s, entry);
  for (const char *p = strstr(s, "$O"); p; p = strstr(p + 2, "$O"))
    if (isAt(p + 2, "LB=")) {
      wLabelTake(p + 2, exit);
      break;
    }
  LabelPairFit(l, entry, exit);
}

int wSentElemRead(char *s, char *l) {
  char *e = strchr(s, ';');
  int len = e ? (int)(e - s + 1) : (int)strlen(s);
  if (e) *e = 0;
  wReadLabels(s, l);
  return len;
}

int wSentCallRead(char *s, char *l) {
  int depth = 0;
  size_t i = 0;
  for (; s[i]; i++) {
    if (s[i] == '(') depth++;
    else if (s[i] == ')') depth--;
    else if (s[i] == ';' && depth <= 0) break;
  }
  int len = (int)i;
  if (s[i] == ';') {
    s[i] = 0;
    len++;
  }
  wReadLabels(s, l);
  return len;
}

int wSentCondRead(const char *s) {
  const char *p = strstr(s, "=>");
  return p ? (int)(p - s + 2) : (int)strlen(s);
}

// Consumes `tok` at *s when present.
static void wSkip(char **s, const char *tok) {
  if (isAt(*s, tok)) *s += strlen(tok);
}

void wSentLoopRead1(char *s, char *l) {
  char loop[LABEL_SIZE] = "", body[LABEL_SIZE] = "", exit[LABEL_SIZE] = "";
  s += wLabelTake(s, loop);
  if (*s == '^') s += 1 + wSentCondRead(s + 1);
  wSkip(&s, "(");
  wSkip(&s, "$O");
  s += wLabelTake(s, body);
  wSkip(&s, "|");
  wSkip(&s, "$O");
  s += wLabelTake(s, exit);
  wSkip(&s, ")");
  LabelPairFit(l, loop, exit);
}

static char *wLoopBody(char *s) {
  char *p = strstr(s, "=>");
  if (!p) return s + strlen(s);
  p = strchr(p + 2, '(');
  if (!p) return s + strlen(s);
  int depth = 0;
  for (; *p; p++) {
    if (*p == '(') depth++;
    else if (*p == ')' && --depth == 0) return p + 1;
  }
  return p;
}

// The text of a loop or case is read only up to its closing bracket: a
// reader that ran on past it would read the following statements again at
// every level (exponential time on nested brackets).
static char BracketCut(char *s, int len) {
  char c = s[len];
  s[len] = 0;
  return c;
}

static int wSentLoopReadDepth(char *s, char *l, int depth) {
  int len = wBracketLength(s);
  char *head = s + 2;
  if ((size_t)len < 2) return len;
  char kept = BracketCut(s, len);
  wSentenceReadDepth(wLoopBody(head), l, depth + 1);
  wSentLoopRead1(head, l);
  s[len] = kept;
  return len;
}

int wSentLoopRead(char *s, char *l) { return wSentLoopReadDepth(s, l, 0); }

// A case spans from its own label to the exit of its branches (already in l).
void wSentCaseRead1(char *s, char *l) {
  char label[LABEL_SIZE], entry[LABEL_SIZE], exit[LABEL_SIZE];
  wLabelTake(s, label);
  DivideLabels(l, entry, exit);
  LabelPairFit(l, label, exit);
}

static int wSentCaseReadDepth(char *s, char *l, int depth) {
  int len = wBracketLength(s);
  if (len < 2) return len;
  char *head = s + 2;
  char kept = BracketCut(s, len);
  char *e = strchr(head, ';');
  char *branches = e ? e + 1 : head + strlen(head);
  wSentenceReadDepth(branches, l, depth + 1);
  wSentCaseRead1(head, l);
  s[len] = kept;
  return len;
}

int wSentCaseRead(char *s, char *l) { return wSentCaseReadDepth(s, l, 0); }

// Length of an assertion through its matching "}", or -1 when the text
// ends inside it.
static int wAssertionLength(const char *s) {
  int depth = 0;
  for (size_t i = 0; s[i]; i++) {
    if (s[i] == '{') depth++;
    else if (s[i] == '}' && --depth == 0) return (int)(i + 1);
  }
  return -1;
}

static void wSentenceReadDepth(char *s, char *l, int depth) {
  char run[LABEL_SIZE] = "";
  int first = 1;
  l[0] = 0;
  if (depth > MAX_NEST_DEPTH) {
    ErrorMsg("statements nested too deeply");
    return;
  }
  if (*s == '[') s++;
  while (*s && *s != ']') {
    char one[LABEL_SIZE] = "";
    int k;
    if (isLoop(s))
      k = wSentLoopReadDepth(s, one, depth);
    else if (isCase(s))
      k = wSentCaseReadDepth(s, one, depth);
    else if (isElem(s))
      k = wSentElemRead(s, one);
    else if (isCall(s))
      k = wSentCallRead(s, one);
    else if (isInv(s)) {
      int a = wAssertionLength(s);
      if (a < 0) break;
      s += a;
      continue;
    } else {
      ErrorMsg("sentenceRead");
      break;
    }
    if (k <= 0) break;
    s += k;
    if (!first) wSentSeqComposition(run, one);
    first = 0;
    CopyBounded(run, LABEL_SIZE, one);
  }
  CopyBounded(l, LABEL_SIZE, run);
}

void wSentenceRead(char *s, char *l) { wSentenceReadDepth(s, l, 0); }
