// The annotation questions asked after every load: missing post-conditions,
// pre-conditions and loop invariants, one popup at a time.
#include "w.h"
#include "../vcgen/assump.h"
#include "../invariant/invariant.h"

#include <cstdlib>
#include <cstring>

static int state1 = 0;              // 0 none, 1 post-condition, 2 pre-condition, 3 invariant
static char ss[LABEL_SIZE];         // what the answer is attached to
static char refused[LABEL_SIZE];    // the last answer that could not be attached went here

// answer: the text the answer box opens with.
static void wAskShow(Text *prompt, const char *answer) {
  if (refused[0] && strcmp(refused, ss) == 0)
    TextAppend(prompt, " (the last answer could not be attached; Cancel ends the questions)");
  PopShell1(topLevel, wstart, TextStr(prompt), answer, "Ok", "Cancel");
}

// The first loop of p, in statement order, whose body has no invariant.
static SentencePtr wLoopMissingInvariant(ProcedurePtr p) {
  for (SentenceListPtr l = p->sentenceList; l && l->sentenceList; l = l->sentenceList) {
    SentencePtr s = l->sentence;
    if (isLoopWithoutInvariant(s)) return s;
  }
  return nullptr;
}

void wAskInv(Widget, XtPointer, XtPointer) {
  state1 = 0;
  state = 109;
  Text prompt, answer;
  TextInit(&prompt);
  TextInit(&answer);
  for (ProcedureListPtr q = &procedureList; q && q->procedure; q = q->procedureList) {
    ProcedurePtr p = q->procedure;
    if (!p->postCond) {
      state1 = 1;
      TextPrintf(&prompt, "Please Provide the post-condition of %s:", p->name);
      CopyBounded(ss, sizeof ss, p->name);
    } else if (!p->preCond) {
      state1 = 2;
      TextPrintf(&prompt, "Please Provide the pre-condition of %s:", p->name);
      CopyBounded(ss, sizeof ss, p->name);
    } else {
      currentProcedure = p;
      SentencePtr loop = wLoopMissingInvariant(p);
      if (!loop) continue;
      state1 = 3;
      CopyBounded(ss, sizeof ss, loop->labels1);
      TextPrintf(&prompt, "Please Provide the invariant of %s of procedure %s:", loop->labels,
                 p->name);
      // A suggestion shown to be inductive is typed in for the user to
      // accept, edit or clear; it is verified like any typed answer.
      FormulaPtr suggestion = InvariantSuggest(p, loop);
      InvariantPrint(suggestion, &answer);
      FormulaFree(suggestion);
      if (answer.len >= static_cast<size_t>(INPUT_SIZE)) TextClear(&answer);   // too long to read
      currentProcedure = p;
    }
    wAskShow(&prompt, TextStr(&answer));
    TextFree(&prompt);
    TextFree(&answer);
    return;
  }
  TextFree(&prompt);
  TextFree(&answer);
  refused[0] = 0;
  state = 0;
  StartProg0();
}

void wAskInvOk(int i) {
  if (!i) {
    state = 0;
    state1 = 0;
    refused[0] = 0;
    popdown(wstart, wp1->pshell);
    RunClear();
    wRedisplay(nullptr, nullptr, nullptr);
    wRelabelStart("start");
    SetSensitiveFalse(0);
    return;
  }
  char *answer = static_cast<char *>(calloc(INPUT_SIZE, 1));
  if (!answer) return;
  if (!GetInput(answer, wp1->text, INPUT_SIZE)) {
    free(answer);
    return;
  }
  state = 0;
  popdown(wstart, wp1->pshell);
  FormulaPtr f = FormulaAlloc();
  if (answer[0] == '{')
    AssertionRead(answer, f);
  else
    FormulaRead(answer, f);
  int attached = state1 == 2 ? AddPreCond(ss, f) : AddPostCond(ss, f);
  if (attached) {
    refused[0] = 0;
  } else {
    ErrorMsgPrintf("the answer could not be attached to %s", ss);
    CopyBounded(refused, sizeof refused, ss);
    FormulaFree(f);
  }
  free(answer);
  wAskInv(nullptr, nullptr, nullptr);
}
