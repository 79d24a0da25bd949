// Procedures: the frame around a statement block, the program reader that
// appends every procedure of a text to procedureList, and their checks.
#include <cstdlib>
#include <cstring>

#include "sentence.h"
#include "../core/pool.h"

// Reports text that cannot be read as a procedure, with the rest of the text.
static void NotAProcedure(const char *why, const char *rest) {
  ErrorMsgPrintf("%s; reading ends at: %s", why, rest);
}

// Copies a parameter field; one over LABEL_SIZE-1 characters is refused.
static void FieldCopy(const char **dst, const char *src, const char *what) {
  if (strlen(src) > static_cast<size_t>(LABEL_SIZE - 1)) {
    ErrorMsgPrintf("parameter %s longer than %d characters: %.32s...", what, LABEL_SIZE - 1, src);
    *dst = "";
    return;
  }
  *dst = LabelKeep(src);
  if (!src[0]) ErrorMsgPrintf("parameter without its %s", what);
}

void ProcedureMake(ProcedurePtr p, FormulaPtr pre, FormulaPtr post, const char *head,
                   const char *loc, const char *body) {
  size_t n = 0;
  while (head[n] && head[n] != '(') n++;
  if (n > static_cast<size_t>(LABEL_SIZE - 1)) {
    ErrorMsgPrintf("procedure name longer than %d characters: %.32s...", LABEL_SIZE - 1, head);
    p->name[0] = 0;
  } else {
    memcpy(p->name, head, n);
    p->name[n] = 0;
  }
  const char *h = head + n;
  if (*h == '(') h++;
  ParamTrippleListPtr *link = &p->params;
  char buf[SEGMENT_SIZE];
  while (*h && *h != ')') {
    ParamTrippleListPtr q = static_cast<ParamTrippleListPtr>(PoolAlloc(sizeof(ParamTrippleList)));
    q->io = q->type = q->name = "";
    *link = q;
    link = &q->paramTrippleList;
    h += ReadTo(h, buf, '/', '/');
    if (*h != '/') break;   // ReadTo said so; the head is not read further
    h++;
    FieldCopy(&q->io, buf, "io text");
    if (isIoText(q->io)) {
      h += ReadTo(h, buf, ':', ':');
      FieldCopy(&q->name, buf, "name");
      if (*h != ':') break;
      h++;
      h += ReadTo(h, buf, ';', ')');
      FieldCopy(&q->type, buf, "type");
    } else {
      ErrorMsgPrintf("parameter io text %.32s is neither %%IOP nor %%INP", buf);
      h += ReadTo(h, buf, ';', ')');
    }
    if (!*h || *h == ')') break;
    h++;   // the ";"
  }
  size_t locLength = strnlen(loc, LOC_SIZE - 1);
  p->loc = static_cast<char *>(PoolAlloc(locLength + 1));
  CopyBounded(p->loc, locLength + 1, loc);
  CopyBounded(p->body, LABEL_SIZE, body);
  p->preCond = pre;
  p->postCond = post;
}

// Reads an assertion at *q and advances; none when it was refused.
static FormulaPtr ConditionRead(char **q) {
  FormulaPtr f = FormulaAlloc();
  int ok;
  *q += AssertionReadOk(*q, f, &ok);
  return ok ? f : nullptr;
}

// Statements that do not chain with the rest of their block would be left
// out of the verification: a read error, one line for each cut-off chain.
static void ProcedureReportCuts(ProcedurePtr p) {
  auto report = [p](LabelListPtr cuts) {
    for (; cuts; cuts = cuts->labelList)
      ErrorMsgPrintf("procedure %s: statements %s are cut off from the chain of their block", p->name,
                     cuts->labels);
  };
  for (SentenceListPtr n = p->sentenceList; n && n->sentence; n = n->sentenceList)
    report(n->sentence->cutChains);
  report(p->cutChains);
}

int ProcedureRead(char *s, ProcedurePtr p) {
  if (!s || !*s) return 0;
  long errors = ErrorMsgCount();
  char *q = s;
  currentProcedure = p;
  p->sentenceList = static_cast<SentenceListPtr>(PoolAlloc(sizeof(SentenceList)));
  sp = p->sentenceList;
  FormulaPtr pre = nullptr, post = nullptr;
  LocProcedure("", 0);
  LocAt(q);
  if (*q == '{') pre = ConditionRead(&q);
  LocAt(q);
  if (!isAt(q, "%PROC")) {
    NotAProcedure("text without %PROC is not a procedure and is not added", q);
    return 0;
  }
  char *headAt = q;   // errors found after reading are reported at the head
  p->file = LocFile();
  p->line = LocLine();
  q += 5;
  size_t nameLen = strcspn(q, "([{;");
  LocProcedure(q, nameLen);
  if (q[nameLen] != '(') {
    NotAProcedure("procedure head without its ( parameter list )", q);
    return 0;
  }
  int closed;
  int hn = SegmentMeasure(q, '(', ')', &closed);
  if (!closed) {
    NotAProcedure("procedure head without its closing )", q);
    return 0;
  }
  char head[SEGMENT_SIZE];
  if (hn > SEGMENT_SIZE - 1) {
    ErrorMsgPrintf("procedure head longer than %d characters", SEGMENT_SIZE - 1);
    // Keep the name (when it fits) so that the procedure stays visible.
    if (nameLen <= static_cast<size_t>(LABEL_SIZE - 1)) {
      memcpy(head, q, nameLen);
      strcpy(head + nameLen, "()");
    } else {
      head[0] = 0;
    }
  } else {
    memcpy(head, q, static_cast<size_t>(hn));
    head[hn] = 0;
  }
  q += hn;
  if (isAt(q, "==")) q += 2;
  LocAt(q);
  char loc[SEGMENT_SIZE] = "";
  if (isAt(q, "%LOC")) {
    q += 4;
    if (*q == '[') {
      SegmentMeasure(q, '[', ']', &closed);
      if (!closed) {
        NotAProcedure("locals without their closing ]", q);
        return 0;
      }
      q += ProcHeadReadWhat(q, loc, '[', ']', "locals");
    } else {
      ErrorMsg("%LOC without its [ locals ]");
    }
  }
  if (isAt(q, "%STM")) q += 4;
  LocAt(q);
  if (*q != '[') {
    NotAProcedure("procedure without its [ statement block ]", q);
    return 0;
  }
  int bn = SegmentMeasure(q, '[', ']', &closed);
  if (!closed) {
    NotAProcedure("statement block without its closing ]", q);
    return 0;
  }
  char body[LABEL_SIZE] = "";
  char block[SEGMENT_SIZE];
  if (bn > SEGMENT_SIZE - 1) {
    ErrorMsgPrintf("statement block of procedure %.*s longer than %d characters (%d); its statements are not read",
                   static_cast<int>(nameLen < 40 ? nameLen : 40), head, SEGMENT_SIZE - 1, bn);
  } else {
    memcpy(block, q, static_cast<size_t>(bn));
    block[bn] = 0;
    LocCopy(block, static_cast<size_t>(bn), q);
    SentenceReadN(block, body, &p->cutChains);
    LocCopyEnd(block);
    LocAt(headAt);
    ProcedureCheckParts(p);
  }
  q += bn;
  LocAt(q);
  if (*q == '{') post = ConditionRead(&q);
  LocAt(headAt);
  ProcedureMake(p, pre, post, head, loc, body);
  ProcedureReportCuts(p);
  if (isReservedNameUsed(s, static_cast<size_t>(q - s)))
    ErrorMsgPrintf("procedure %s uses a name beginning with #@, which is kept for the names the system makes",
                   p->name);
  if (ErrorMsgCount() != errors) p->readError = 1;
  return static_cast<int>(q - s);
}

int ProcedureCheckParts(ProcedurePtr p) {
  int sound = 1;
  long i = 0;
  for (SentenceListPtr n = p->sentenceList; n && n->sentence; n = n->sentenceList, i++) {
    SentencePtr s = n->sentence;
    if (s->type < 2 || s->type > 4) continue;
    const char *parts[2] = {s->labels1, s->type == 3 ? nullptr : s->labels2};
    for (const char *part : parts) {
      if (!part) continue;
      long at = SentencePosition(p, part);
      char x[LABEL_SIZE], y[LABEL_SIZE];
      DivideLabels(part, x, y);
      const char *why = nullptr;
      // An empty case branch (c equal to d) needs no statement; a loop body
      // always does, since its record holds the invariant.
      if (at >= i) why = "is not a statement read before it";
      else if (at < 0 && (s->type != 4 || strcmp(x, y) != 0)) why = "names no statement";
      if (!why) continue;
      ErrorMsgPrintf("statement %s: its part %s %s", s->labels, part, why);
      sound = 0;
    }
  }
  return sound;
}

void ProcedureReadList(char *s) {
  if (!s) return;
  char *q = s;
  while (*q) {
    ProcedurePtr before = currentProcedure;
    ProcedurePtr p = static_cast<ProcedurePtr>(PoolAlloc(sizeof(Procedure)));
    int n = ProcedureRead(q, p);
    if (n <= 0) {
      currentProcedure = before;
      return;
    }
    q += n;
    const char *refusal = nullptr;
    if (!p->name[0]) refusal = "procedure without a usable name is not added";
    else if (Procedure2Ptr(p->name)) refusal = "a second procedure of that name is not added";
    if (refusal) {
      ErrorMsgPrintf("%s%s%s", refusal, p->name[0] ? ": " : "", p->name);
      currentProcedure = before;
      continue;
    }
    ProcedureListPtr tail = ProcedureListTail();
    tail->procedure = p;
    tail->procedureList = static_cast<ProcedureListPtr>(PoolAlloc(sizeof(ProcedureList)));
  }
}

void ProcedureListClear() {
  procedureList.procedure = nullptr;
  procedureList.procedureList = nullptr;
  currentProcedureList = &procedureList;
  ProcedureIndexReset();
}
