// Arbitrary bytes through the white-space removal and the procedure reader.
#include "../core/core.h"
#include "fuzzutil.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  FuzzReset();
  char *s = FuzzText(data, size);
  CompressString(s);
  ProcedureReadList(s);
  Text t;
  TextInit(&t);
  ProcedureListPrint(&t);
  TextFree(&t);
  free(s);
  return 0;
}
