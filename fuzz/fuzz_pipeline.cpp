// The whole pipeline on (mutated) programs: load, complete the missing
// annotations with $T, generate, build and simplify sequents, print the
// result file.
#include "../core/core.h"
#include "fuzzutil.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  if (size > 8192) return 0;
  FuzzReset();
  char *s = FuzzText(data, size);
  CompressString(s);
  ProcedureReadList(s);
  FuzzCompleteAnnotations();
  StartProg0();
  Text t;
  TextInit(&t);
  ResultTextBuild(&t);
  TextFree(&t);
  free(s);
  return 0;
}
