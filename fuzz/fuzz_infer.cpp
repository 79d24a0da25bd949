// The invariant suggester on (mutated) programs: missing conditions become
// $T, the loops without invariant get suggestions, then the whole pipeline
// runs with them.
#include "fuzzutil.h"
#include "../invariant/invariant.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  if (size > 4096) return 0;
  char *s = FuzzLoad(data, size);
  for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList) {
    if (!n->procedure->postCond) n->procedure->postCond = FormulaMakeTrue();
    if (!n->procedure->preCond) n->procedure->preCond = FormulaMakeTrue();
  }
  Text t;
  TextInit(&t);
  InvariantInferAll(&t);
  FuzzCompleteAnnotations();
  StartProg0();
  ResultTextBuild(&t);
  TextFree(&t);
  free(s);
  return 0;
}
