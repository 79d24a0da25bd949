// The whole pipeline on (mutated) programs: load, complete the missing
// annotations with $T, generate, build and simplify sequents, print the
// result file.
#include "../core/core.h"
#include "fuzzutil.h"

static void CompleteAnnotations() {
  for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList) {
    ProcedurePtr p = n->procedure;
    if (!p->postCond) p->postCond = FormulaMakeTrue();
    if (!p->preCond) p->preCond = FormulaMakeTrue();
    currentProcedure = p;
    for (SentenceListPtr l = p->sentenceList; l && l->sentence; l = l->sentenceList) {
      SentencePtr s = l->sentence;
      if (s->type == 3 && !GetPostCond(s->labels1)) AddPostCond(s->labels1, FormulaMakeTrue());
    }
  }
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  if (size > 8192) return 0;
  FuzzReset();
  char *s = FuzzText(data, size);
  CompressString(s);
  ProcedureReadList(s);
  CompleteAnnotations();
  StartProg0();
  Text t;
  TextInit(&t);
  ResultTextBuild(&t);
  TextFree(&t);
  free(s);
  return 0;
}
