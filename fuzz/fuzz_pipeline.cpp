// The whole pipeline on (mutated) programs: load, complete the missing
// annotations with $T, generate, build and simplify sequents, print the
// result file.
#include "fuzzutil.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  if (size > 8192) return 0;
  char *s = FuzzLoad(data, size);
  FuzzCompleteAnnotations();
  StartProg0();
  Text t;
  TextInit(&t);
  ResultTextBuild(&t);
  TextFree(&t);
  free(s);
  return 0;
}
