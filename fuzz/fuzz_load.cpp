// Arbitrary bytes through the white-space removal and the procedure reader.
#include "fuzzutil.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  char *s = FuzzLoad(data, size);
  Text t;
  TextInit(&t);
  ProcedureListPrint(&t);
  TextFree(&t);
  free(s);
  return 0;
}
