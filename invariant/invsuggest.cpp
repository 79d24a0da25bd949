// The suggester's front: a suggestion for one loop, the suggestions of a
// whole program written in as if typed, and their text.
#include <vector>
#include "invint.h"

FormulaPtr InvariantSuggest(ProcedurePtr proc, SentencePtr loop) {
  return loop ? InvariantInfer(proc, 0, loop) : nullptr;
}

// The text of f without the brackets that enclose all of it.
static void PrintBare(FormulaPtr f, Text *out) {
  Text t;
  TextInit(&t);
  FormulaPrint(f, &t);
  const char *s = TextStr(&t);
  size_t n = t.len;
  int depth = 0, whole = n >= 2 && s[0] == '(' && s[n - 1] == ')';
  for (size_t i = 0; whole && i + 1 < n; i++) {
    depth += s[i] == '(' ? 1 : s[i] == ')' ? -1 : 0;
    if (depth == 0) whole = 0;
  }
  if (whole) TextAppendN(out, s + 1, n - 2);
  else TextAppend(out, s);
  TextFree(&t);
}

void InvariantPrint(FormulaPtr f, Text *out) {
  if (!f) return;
  FormulaListPtr l = Formula2FormulaList(f, '^');
  if (l && !l->formulaList) {
    PrintBare(f, out);
  } else {
    for (FormulaListPtr n = l; n; n = n->formulaList) {
      if (n != l) TextAppendChar(out, '^');
      FormulaPrint(n->formula, out);
    }
  }
  CleanPtrList(l);
}

FormulaPtr InvariantAsTyped(FormulaPtr f) {
  if (!f) return nullptr;
  Text t;
  TextInit(&t);
  InvariantPrint(f, &t);
  std::vector<char> text(TextStr(&t), TextStr(&t) + t.len + 1);
  TextFree(&t);
  FormulaPtr r = FormulaAlloc();
  FormulaRead(text.data(), r);
  return r;
}

int InvariantInferAll(Text *out) {
  int found = 0;
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList) {
    ProcedurePtr proc = p->procedure;
    if (!proc || !proc->preCond || !proc->postCond) continue;
    currentProcedure = proc;
    std::vector<SentencePtr> missing;
    for (SentenceListPtr n = proc->sentenceList; n && n->sentence; n = n->sentenceList)
      if (isLoopWithoutInvariant(n->sentence)) missing.push_back(n->sentence);
    if (missing.empty()) continue;
    InvariantInfer(proc, 1, nullptr);   // leaves currentProcedure as it found it
    for (SentencePtr s : missing) {
      FormulaPtr inv = GetPostCond(s->labels1);
      if (!inv) continue;
      TextPrintf(out, "%s: invariant of %s: ", proc->name, s->labels);
      InvariantPrint(inv, out);
      TextAppend(out, "\n");
      found++;
    }
  }
  return found;
}
