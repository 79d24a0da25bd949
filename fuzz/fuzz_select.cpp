// The statement reader for selected text, on arbitrary selections.
#include "../gui/w.h"
#include "fuzzutil.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  FuzzReset();
  char *s = FuzzText(data, size);
  CompressString(s);
  char l[LABEL_SIZE];
  wSentenceRead(s, l);
  if (strlen(l) >= LABEL_SIZE) abort();
  free(s);
  return 0;
}
