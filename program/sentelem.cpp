// Elementary statements (guarded simultaneous assignments) and the sequence
// records that join two chained statements.
#include <cstdlib>
#include <cstring>

#include "sentence.h"
#include "../core/pool.h"

static int isNextLabel(const char *s) { return isAt(s, "$OLB="); }

int SentElemAssignReadList(const char *s, AssignListPtr p) {
  p->assign = static_cast<AssignPtr>(PoolAlloc(sizeof(Assign)));
  if (isNextLabel(s)) {
    AssignRead("$Ox=x", p->assign);   // no assignment: x keeps its value
    return 0;
  }
  int n = AssignRead(s, p->assign);
  while (s[n] == '^') {
    n++;
    if (isNextLabel(s + n)) return n;
    p->assignList = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
    p = p->assignList;
    p->assign = static_cast<AssignPtr>(PoolAlloc(sizeof(Assign)));
    n += AssignRead(s + n, p->assign);
  }
  ErrorMsg("*** Missing $OLB ***");
  return n;
}

void SentElemRead1(char *s, char *l, SentencePtr sent) {
  char a[LABEL_SIZE], b[LABEL_SIZE];
  b[0] = 0;
  char *p = s;
  p += LabelRead(p, a);
  if (p[0] == '=' && p[1] == '>') p += 2;
  else ErrorMsg("sent.elem");
  sent->assignList = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
  p += SentElemAssignReadList(p, sent->assignList);
  if (p[0] == '$' && p[1] == 'O') {
    p += 2;
    p += LabelRead(p, b);
  } else {
    ErrorMsg("sent.elem, LB");
  }
  // Only the block's own "]" may follow when the final ";" was left out.
  if (*p && strcmp(p, "]") != 0) ErrorMsgPrintf("sent.elem: text after the next label: %s", p);
  sent->type = 1;
  LabelPairKeep(&sent->labels, a, b);
  CopyBounded(l, LABEL_SIZE, sent->labels);
}

int SentElemRead(char *s, char *l) {
  char *end = strchr(s, ';');
  int n;
  if (end) {
    *end = 0;
    n = static_cast<int>(end - s) + 1;
  } else {
    n = static_cast<int>(strlen(s));
  }
  SentencePtr sent = SentenceAlloc();
  SentElemRead1(s, l, sent);
  if (!SentenceAttach(sent)) l[0] = 0;
  return n;
}

int SentSeqComposition(const char *s1, char *s2) {
  char a[LABEL_SIZE], b[LABEL_SIZE], b2[LABEL_SIZE], c[LABEL_SIZE];
  DivideLabels(s1, a, b);
  DivideLabels(s2, b2, c);
  if (!a[0] || !b[0] || !c[0] || strcmp(b, b2) != 0) return 0;
  SentencePtr sent = SentenceAlloc();
  sent->type = 2;
  if (!LabelPairKeep(&sent->labels, a, c)) {
    PoolFree(sent, sizeof(Sentence));
    return 0;
  }
  sent->labels1 = LabelKeep(s1);
  sent->labels2 = LabelKeep(s2);
  if (!SentenceAttach(sent)) return 0;
  CopyBounded(s2, LABEL_SIZE, sent->labels);
  return 1;
}
