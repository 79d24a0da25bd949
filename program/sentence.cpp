// The block reader, assertions and the lookups of conditions by label pair
// or procedure name. The global cursors of reading live here.
#include <cstdlib>
#include <cstring>

#include "sentence.h"
#include "../core/pool.h"

ProcedureList procedureList;
ProcedureListPtr currentProcedureList = &procedureList;
ProcedurePtr currentProcedure;
SentenceListPtr sp;

// Nesting of blocks being read (loops and cases inside loops and cases).
static int blockDepth = 0;

int AssertionReadOk(const char *s, FormulaPtr c, int *ok) {
  *ok = 0;
  if (s[0] != '{') return 0;
  int closed;
  int n = SegmentMeasure(s, '{', '}', &closed);
  if (n > SEGMENT_SIZE - 1) {
    ErrorMsgPrintf("assertion longer than %d characters", SEGMENT_SIZE - 1);
    return n;
  }
  if (!closed) {
    ErrorMsg("assertion without its closing }");
    return n;
  }
  char buf[SEGMENT_SIZE];
  memcpy(buf, s, static_cast<size_t>(n));
  buf[n - 1] = 0;   // the closing brace
  LocCopy(buf, static_cast<size_t>(n), s);
  FormulaRead(buf + 1, c);
  LocCopyEnd(buf);
  *ok = 1;
  return n;
}

int AssertionRead(const char *s, FormulaPtr c) {
  int ok;
  return AssertionReadOk(s, c, &ok);
}

FormulaPtr GetPostCond(const char *l) {
  SentencePtr s = Sentence2Ptr(l);
  if (s) return s->postCond;
  ProcedurePtr p = Procedure2Ptr(l);
  return p ? p->postCond : nullptr;
}

int isLoopWithoutInvariant(SentencePtr s) { return s && s->type == 3 && !GetPostCond(s->labels1); }

int AddPostCond(const char *l, FormulaPtr f) {
  SentencePtr s = Sentence2Ptr(l);
  if (s) {
    s->postCond = f;
    return 1;
  }
  ProcedurePtr p = Procedure2Ptr(l);
  if (!p) return 0;
  p->postCond = f;
  return 1;
}

int AddPreCond(const char *l, FormulaPtr f) {
  ProcedurePtr p = Procedure2Ptr(l);
  if (!p) return 0;
  p->preCond = f;
  return 1;
}

// An assertion in a block: the post-condition of the chain read so far.
static int BlockAssertion(const char *s, const char *running) {
  FormulaPtr f = FormulaAlloc();
  int ok;
  int n = AssertionReadOk(s, f, &ok);
  if (!ok) return n;
  if (!running[0]) {
    // Nothing to attach to. "{}" says nothing and is passed over quietly.
    if (f->connective)
      ErrorMsgPrintf("assertion with no statement before it in its block is skipped: %.*s", n, s);
    return n;
  }
  if (!AddPostCond(running, f))
    ErrorMsgPrintf("assertion after %s has no statement to belong to", running);
  return n;
}

void LabelListAppend(LabelListPtr *list, const char *l) {
  while (*list) list = &(*list)->labelList;
  *list = static_cast<LabelListPtr>(PoolAlloc(sizeof(LabelList)));
  CopyBounded((*list)->labels, LABEL_SIZE, l);
}

int SentenceReadN(char *s, char *l, LabelListPtr *cuts) {
  l[0] = 0;
  char *p = s;
  if (*p == '[') p++;
  if (blockDepth >= MAX_NEST_DEPTH) {
    ErrorMsg("statements nested too deeply");
    return static_cast<int>(strlen(s));
  }
  blockDepth++;
  char running[LABEL_SIZE] = "";   // the pair of the chain read so far
  while (*p && *p != ']') {
    int n;
    LocAt(p);
    if (isLoop(p)) n = SentLoopRead(p, l);
    else if (isCase(p)) n = SentCaseRead(p, l);
    else if (isElem(p)) n = SentElemRead(p, l);
    else if (isCall(p)) n = SentCallRead(p, l);
    else if (isInv(p)) {
      p += BlockAssertion(p, running);
      continue;
    } else {
      ErrorMsg("sentenceRead");
      ErrorMsg(p);
      p += strlen(p);
      break;
    }
    if (n <= 0) n = 1;   // every statement reader consumes; never stand still
    p += n;
    if (!l[0]) continue;   // the statement was refused (its reader said why)
    // A statement that does not continue the running chain starts a new
    // one; the chain before it is handed to the caller, which decides.
    if (running[0] && !SentSeqComposition(running, l) && cuts) LabelListAppend(cuts, running);
    CopyBounded(running, LABEL_SIZE, l);
  }
  blockDepth--;
  CopyBounded(l, LABEL_SIZE, running);
  return static_cast<int>(p - s);
}

void SentenceRead(char *s, char *l) { SentenceReadN(s, l, nullptr); }
