// Call statements: the callee's name and the bindings of its formal
// parameters to the caller's arguments.
#include <cstdlib>
#include <cstring>

#include "sentence.h"
#include "../core/pool.h"

int SentCallAssignList(const char *s, AssignListPtr tp) {
  const char *p = s;
  if (*p == '(') p++;
  if (*p == ')') return static_cast<int>(p + 1 - s);
  char buf[SEGMENT_SIZE], formal[SEGMENT_SIZE], bind[SEGMENT_SIZE];
  size_t blen = 0;
  int refused = 0;
  bind[0] = 0;
  while (*p) {
    p += ReadTo(p, buf, '/', '/');
    if (*p != '/') break;   // ReadTo said so
    p++;
    if (isIoText(buf)) {
      p += ReadTo(p, buf, '/', '|');
      if (*p == '/' || *p == '|') p++;
      p += ReadTo(p, formal, ';', ')');
      size_t need = strlen(buf) + strlen(formal) + 4;
      if (blen + need > static_cast<size_t>(SEGMENT_SIZE - 1)) {
        if (!refused) ErrorMsgPrintf("call bindings longer than %d characters", SEGMENT_SIZE - 1);
        refused = 1;
      } else {
        // need above keeps "^$O" formal "=" actual inside bind
        size_t lf = strlen(formal), la = strlen(buf);
        memcpy(bind + blen, "^$O", 3);
        memcpy(bind + blen + 3, formal, lf);
        bind[blen + 3 + lf] = '=';
        memcpy(bind + blen + 4 + lf, buf, la);
        blen += need;
        bind[blen] = 0;
      }
    } else {
      ErrorMsgPrintf("sent.call: binding whose io text %s is neither %%IOP nor %%INP is skipped",
                     buf);
      p += ReadTo(p, buf, ';', ')');
    }
    if (*p == ')' || !*p) break;
    p++;   // the ";" between bindings
  }
  if (*p == ')') p++;
  else ErrorMsg("sent.call: bindings without their closing )");
  if (!refused && blen > 0) {
    int m = AssignReadList(bind + 1, tp);
    if (bind[1 + m]) ErrorMsgPrintf("sent.call: bindings not read to their end: %s", bind + 1 + m);
  }
  return static_cast<int>(p - s);
}

void SentCallRead1(char *s, char *l, SentencePtr sent) {
  char a[LABEL_SIZE] = "", b[LABEL_SIZE] = "";
  char *p = s;
  p += LabelRead(p, a);
  if (p[0] == '=' && p[1] == '>') p += 2;
  else ErrorMsg("sent.call");
  size_t n = 0;
  while (p[n] && p[n] != '(') n++;
  if (n == 0) {
    ErrorMsg("sent.call: call without a procedure name");
  } else if (n > static_cast<size_t>(LABEL_SIZE - 1)) {
    ErrorMsgPrintf("called procedure name longer than %d characters: %.32s...", LABEL_SIZE - 1, p);
  } else {
    sent->labels1 = LabelKeepN(p, n);
  }
  if (p[n] != '(') ErrorMsg("sent.call: no ( after the procedure name");
  p += n;
  sent->assignList = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
  p += SentCallAssignList(p, sent->assignList);
  if (*p == '^') p++;
  if (p[0] == '$' && p[1] == 'O') p += 2;
  else ErrorMsg("sent.call");
  p += LabelRead(p, b);
  if (*p && strcmp(p, "]") != 0) ErrorMsgPrintf("sent.call: text after the next label: %s", p);
  sent->type = 5;
  LabelPairKeep(&sent->labels, a, b);
  CopyBounded(l, LABEL_SIZE, sent->labels);
}

int SentCallRead(char *s, char *l) {
  char *end = const_cast<char *>(StatementEnd(s));
  int n = static_cast<int>(end - s);
  if (*end) {
    *end = 0;
    n++;
  }
  SentencePtr sent = SentenceAlloc();
  SentCallRead1(s, l, sent);
  if (!SentenceAttach(sent)) l[0] = 0;
  return n;
}
