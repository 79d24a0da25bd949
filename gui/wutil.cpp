// Display text builders: procedure list, statement list, procedure and
// statement texts with their conditions, assumptions and sequents. Each
// builds in a Text and hands it to SssSet, so a result lives in sss until
// the next builder runs.
#include "w.h"
#include "../vcgen/assump.h"
#include "../prover/proof.h"

#include <cstring>

void wNiceCondPrint(FormulaPtr f, Text *out) {
  if (!f) return;
  Text t;
  TextInit(&t);
  FormulaPrint(f, &t);
  if (t.len > 0) NiceFormula(TextStr(&t), out, NICE_WIDTH);
  TextFree(&t);
}

static char *SssFromText(Text *t) {
  char *r = SssSet(TextStr(t));
  TextFree(t);
  return r;
}

char *wGetProcList() {
  Text t;
  TextInit(&t);
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList)
    if (p->procedure) TextPrintf(&t, "%s\n", p->procedure->name);
  return SssFromText(&t);
}

// The procedure named `name`, made current; null (current kept) when none.
static ProcedurePtr wProcedureSelect(const char *name) {
  if (!name || !name[0]) return nullptr;
  ProcedurePtr p = Procedure2Ptr(name);
  if (p) currentProcedure = p;
  return p;
}

char *wGetSentenceList(const char *name) {
  Text t;
  TextInit(&t);
  ProcedurePtr p = wProcedureSelect(name);
  if (p)
    for (SentenceListPtr l = p->sentenceList; l && l->sentence; l = l->sentenceList)
      TextPrintf(&t, "%s\n", l->sentence->labels);
  return SssFromText(&t);
}

char *wGetProcContent(const char *name) {
  Text t;
  TextInit(&t);
  ProcedurePtr p = wProcedureSelect(name);
  if (p) ProcedurePrint(p, &t);
  return SssFromText(&t);
}

char *wGetProcContent2(const char *name) {
  Text t;
  TextInit(&t);
  ProcedurePtr p = wProcedureSelect(name);
  if (p) ProcedurePrint2(p, &t);
  return SssFromText(&t);
}

// "{ pre }", the statement text, "{ post }"; condensed selects SentencePrint2.
char *wSentenceDisplay(const char *pair, int condensed) {
  if (!pair || !pair[0]) return nullptr;
  SentencePtr s = Sentence2Ptr(pair);
  if (!s) return nullptr;
  Text t;
  TextInit(&t);
  TextAppend(&t, "{ ");
  wNiceCondPrint(s->preCond, &t);
  TextAppend(&t, " }\n\n");
  if (condensed)
    SentencePrint2(pair, &t, 0);
  else
    SentencePrint(pair, &t, 0);
  TextAppend(&t, "\n{ ");
  wNiceCondPrint(s->postCond, &t);
  TextAppend(&t, " }\n");
  return SssFromText(&t);
}

char *wGetSentenceContent(const char *pair) { return wSentenceDisplay(pair, 0); }

char *wGetAssumptionList(const char *name) {
  Text t;
  TextInit(&t);
  if (name && name[0])
    AssumptionPrint(name, &t);
  else
    AssumptionListPrint(&t);
  return SssFromText(&t);
}

char *wGetAssumptionList2(const char *name) {
  Text t;
  TextInit(&t);
  if (name && name[0])
    SequentPrint(name, &t);
  else
    SequentListPrint(&t);
  return SssFromText(&t);
}

static char *wPrePostText(FormulaPtr pre, FormulaPtr post) {
  Text t;
  TextInit(&t);
  TextAppend(&t, "Pre-Condition: \n\n");
  wNiceCondPrint(pre, &t);
  TextAppend(&t, "\nPost-Condition: \n\n");
  wNiceCondPrint(post, &t);
  return SssFromText(&t);
}

char *wGetProcPrePostCond(const char *name) {
  ProcedurePtr p = (name && name[0]) ? Procedure2Ptr(name) : nullptr;
  if (!p) return nullptr;
  return wPrePostText(p->preCond, p->postCond);
}

char *wGetSentPrePostCond(const char *pair) {
  SentencePtr s = (pair && pair[0]) ? Sentence2Ptr(pair) : nullptr;
  if (!s) return nullptr;
  return wPrePostText(s->preCond, s->postCond);
}
