// The condensed printers of the post-cond command and its navigation stack.
#include "w.h"

#include <cstring>

char sName[NAV_DEPTH][NAV_ENTRY_SIZE];
int n = 0;

void wPostCleanStack() { n = 0; }

// Shows the part on top of the stack again, its pair copied into `pair`.
static char *wShowTop(char *pair) {
  if (n < 1) return nullptr;
  CopyBounded(pair, LABEL_SIZE, sName[n - 1]);
  return wSentenceDisplay(pair, 1);
}

char *wGetSentenceContent2(char *pair) {
  if (pair[0]) {
    // A pair that cannot be a label pair, or a full stack: stay where we are.
    if (strnlen(pair, LABEL_SIZE) >= (size_t)LABEL_SIZE || n >= NAV_DEPTH) return wShowTop(pair);
    CopyBounded(sName[n], NAV_ENTRY_SIZE, pair);
    n++;
    return wSentenceDisplay(pair, 1);
  }
  if (n > 0) n--;
  return wShowTop(pair);
}

void wSentenceRead2N(const char *s, char *out, size_t size) {
  out[0] = 0;
  const char *p = strchr(s, '(');
  if (!p) return;
  const char *q = strchr(p, ')');
  size_t len = q ? (size_t)(q - p + 1) : strlen(p);
  if (len >= size) len = size - 1;
  memcpy(out, p, len);
  out[len] = 0;
}

void wSentenceRead2(const char *s, char *out) { wSentenceRead2N(s, out, LABEL_SIZE); }

void ProcedurePrint2(ProcedurePtr p, Text *out) {
  if (!p) return;
  TextAppend(out, "{ ");
  FormulaPrint(p->preCond, out);
  TextAppend(out, " }\n");
  ProcedureHeadPrint(p, out);
  TextPrintf(out, "%s[ \n", "%STM");
  for (LabelListPtr c = p->cutChains; c; c = c->labelList) TextPrintf(out, "\t%s \n", c->labels);
  TextPrintf(out, "\t%s \n]\n", p->body);
  TextAppend(out, "{ ");
  FormulaPrint(p->postCond, out);
  TextAppend(out, " }\n");
}

void SentencePrint2(const char *pair, Text *out, int k) {
  if (!pair || !pair[0]) return;
  SentencePtr s = Sentence2Ptr(pair);
  if (!s) return;
  // Elementary statements and calls have no parts: printed as in the full listing.
  if (s->type == 1 || s->type == 5) {
    SentencePrintPtr(s, out, k);
    return;
  }
  char a[LABEL_SIZE], b[LABEL_SIZE], a1[LABEL_SIZE], b1[LABEL_SIZE], a2[LABEL_SIZE], b2[LABEL_SIZE];
  DivideLabels(s->labels, a, b);
  DivideLabels(s->labels1, a1, b1);
  DivideLabels(s->labels2, a2, b2);
  if (s->type != 2)
    for (int i = 0; i < k; i++) TextAppendChar(out, ' ');
  switch (s->type) {
    case 2:
      TextPrintf(out, "   %s;\n   %s;\n", s->labels1, s->labels2);
      break;
    case 3:
      TextPrintf(out, "   *[LB=%s^", b1);
      FormulaPrint(s->cond, out);
      TextPrintf(out, "=>($OLB=%s|$OLB=%s)\n      %s;\n", a1, b, s->labels1);
      TextAppend(out, "   ]\n");
      break;
    case 4:
      TextPrintf(out, "   ?[LB=%s^", a);
      FormulaPrint(s->cond, out);
      TextPrintf(out, "=>$OLB=%s|~=>$OLB=%s;\n      %s;\n      %s\n", a1, a2, s->labels1, s->labels2);
      for (int i = 0; i < k; i++) TextAppendChar(out, ' ');
      TextAppend(out, "   ]\n");
      break;
    default:
      break;
  }
}
