// Labels, label pairs, the statement recognisers and the bounded copies
// (ProcHeadRead, ReadTo) that the readers cut their texts with.
#include <cctype>
#include <cstring>

#include "sentence.h"
#include "../core/pool.h"

static int isLabelStop(char c) {
  return c == 0 || strchr(";,:()[]|^~=<>\n\t ", c) != nullptr;
}

int isAt(const char *s, const char *w) { return strncmp(s, w, strlen(w)) == 0; }

int LabelRead(const char *s, char *l) {
  l[0] = 0;
  if (!isAt(s, "LB=")) {
    ErrorMsg("LabelRead");
    return 0;
  }
  int n = 0;
  while (!isLabelStop(s[3 + n])) n++;
  if (n == 0) {
    ErrorMsg("LabelRead: empty label after LB=");
  } else if (n > LABEL_SIZE - 1) {
    ErrorMsgPrintf("label longer than %d characters: %.32s...", LABEL_SIZE - 1, s + 3);
  } else {
    memcpy(l, s + 3, n);
    l[n] = 0;
  }
  return 3 + n;
}

int LabelPairFit(char *dst, const char *a, const char *b) {
  size_t la = strlen(a), lb = strlen(b);
  if (la + lb + 3 > static_cast<size_t>(LABEL_SIZE - 1)) {
    dst[0] = 0;
    return 0;
  }
  dst[0] = '(';
  memcpy(dst + 1, a, la);
  dst[1 + la] = ',';
  memcpy(dst + 2 + la, b, lb);
  dst[2 + la + lb] = ')';
  dst[3 + la + lb] = 0;
  return 1;
}

int LabelPairMake(char *dst, const char *a, const char *b) {
  if (LabelPairFit(dst, a, b)) return 1;
  ErrorMsgPrintf("label pair longer than %d characters: (%.60s,%.60s)", LABEL_SIZE - 1, a, b);
  return 0;
}

int LabelPairKeep(const char **dst, const char *a, const char *b) {
  char pair[LABEL_SIZE];
  int ok = LabelPairMake(pair, a, b);
  *dst = LabelKeep(pair);
  return ok;
}

const char *LabelKeepN(const char *l, size_t n) {
  if (n > static_cast<size_t>(LABEL_SIZE - 1)) n = LABEL_SIZE - 1;
  if (!n) return "";
  char *k = static_cast<char *>(PoolAlloc(n + 1));
  memcpy(k, l, n);
  return k;
}

const char *LabelKeep(const char *l) { return LabelKeepN(l, strnlen(l, LABEL_SIZE - 1)); }

SentencePtr SentenceAlloc() {
  SentencePtr s = static_cast<SentencePtr>(PoolAlloc(sizeof(Sentence)));
  s->labels = s->labels1 = s->labels2 = "";
  return s;
}

void DivideLabels(const char *s, char *s1, char *s2) {
  s1[0] = 0;
  s2[0] = 0;
  if (!s || s[0] != '(') return;
  const char *p = s + 1;
  size_t n = 0;
  while (p[n] && p[n] != ',' && p[n] != ')') n++;
  if (p[n] != ',' || n > static_cast<size_t>(LABEL_SIZE - 1)) return;
  const char *q = p + n + 1;
  size_t m = 0;
  while (q[m] && q[m] != ')' && q[m] != ',') m++;
  if (q[m] != ')' || m > static_cast<size_t>(LABEL_SIZE - 1)) return;
  memcpy(s1, p, n);
  s1[n] = 0;
  memcpy(s2, q, m);
  s2[m] = 0;
}

void Blanks(int k, char *s) {
  if (k < 0) k = 0;
  memset(s, ' ', static_cast<size_t>(k));
  s[k] = 0;
}

int isLoop(const char *s) { return s[0] == '*' && s[1] == '['; }
int isCase(const char *s) { return s[0] == '?' && s[1] == '['; }
int isInv(const char *s) { return s[0] == '{'; }

const char *StatementEnd(const char *s) {
  int depth = 0;
  for (; *s; s++) {
    if (*s == '(') depth++;
    else if (*s == ')') { if (depth > 0) depth--; }
    else if (*s == ';' && depth == 0) break;
  }
  return s;
}

// The text after the first "=>" of the statement at s, looking no further
// than the statement's end; null when there is none.
static const char *AfterArrow(const char *s) {
  if (!isAt(s, "LB=")) return nullptr;
  const char *end = StatementEnd(s + 3);
  for (const char *p = s + 3; p < end; p++)
    if (p[0] == '=' && p[1] == '>') return p + 2;
  return nullptr;
}

int isIoText(const char *s) { return strcmp(s, "%IOP") == 0 || strcmp(s, "%INP") == 0; }

int isElem(const char *s) {
  const char *p = AfterArrow(s);
  return p && p[0] == '$' && p[1] == 'O';
}

int isCall(const char *s) {
  const char *p = AfterArrow(s);
  return p && !(p[0] == '$' && p[1] == 'O');
}

int SegmentMeasure(const char *s, char open, char close, int *closed) {
  *closed = 0;
  const char *p = strchr(s, open);
  if (!p || !open) return static_cast<int>(strlen(s));
  int depth = 1;
  p++;
  while (*p) {
    if (*p == open) depth++;
    else if (*p == close && --depth == 0) {
      *closed = 1;
      p++;
      break;
    }
    p++;
  }
  return static_cast<int>(p - s);
}

int ProcHeadReadWhat(const char *s, char *l, char open, char close, const char *what) {
  int closed;
  int n = SegmentMeasure(s, open, close, &closed);
  l[0] = 0;
  if (n > SEGMENT_SIZE - 1) {
    ErrorMsgPrintf("%s longer than %d characters", what, SEGMENT_SIZE - 1);
  } else {
    memcpy(l, s, static_cast<size_t>(n));
    l[n] = 0;
  }
  return n;
}

int ProcHeadRead(const char *s, char *l, char open, char close) {
  return ProcHeadReadWhat(s, l, open, close, "bracketed text");
}

// The result is the length of the run up to the stop character (what the
// caller advances by); a run too long for the buffer is refused, not cut.
int ReadTo(const char *s, char *s1, char c1, char c2) {
  int n = 0;
  while (s[n] && s[n] != c1 && s[n] != c2) n++;
  s1[0] = 0;
  if (n > SEGMENT_SIZE - 1) {
    ErrorMsgPrintf("ReadTo: text longer than %d characters", SEGMENT_SIZE - 1);
  } else {
    memcpy(s1, s, static_cast<size_t>(n));
    s1[n] = 0;
  }
  if (!s[n]) ErrorMsg("ReadTo");
  return n;
}

int isReservedNameUsed(const char *s, size_t n) {
  size_t len = strnlen(s, n);
  for (size_t i = 0; i + 1 < len; i++) {
    // the next "#" found by the library's scan, not character by character
    const char *hash = static_cast<const char *>(memchr(s + i, '#', len - 1 - i));
    if (!hash) break;
    i = static_cast<size_t>(hash - s);
    if (s[i + 1] != '@') continue;
    if (i == 0) return 1;
    unsigned char prev = static_cast<unsigned char>(s[i - 1]);
    if (!isalnum(prev) && prev != '_') return 1;
    if (i >= 2 && s[i - 2] == '$' && s[i - 1] == 'O') return 1;   // "$O#@x"
  }
  return 0;
}
