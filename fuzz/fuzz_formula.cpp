// The formula reader and printer: printing what was read and reading the
// printout again must give the same printout.
#include <cstdio>

#include "fuzzutil.h"

static void ReadPrint(char *s, Text *out) {
  FormulaPtr f = FormulaAlloc();
  FormulaRead(s, f);
  FormulaPrint(f, out);
  FormulaPtr c = FormulaCopy(f);
  if (!FormulaEqual(f, c)) abort();
  FormulaFree(c);
  FormulaFree(f);
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  if (size > 4096) return 0;
  char *s = FuzzText(data, size);
  Text p1, p2;
  TextInit(&p1);
  TextInit(&p2);
  ReadPrint(s, &p1);
  char *again = strdup(TextStr(&p1));
  ReadPrint(again, &p2);
  if (strcmp(TextStr(&p1), TextStr(&p2)) != 0) {
    fprintf(stderr, "printout changed:\n%s\n%s\n", TextStr(&p1), TextStr(&p2));
    abort();
  }
  free(again);
  TextFree(&p1);
  TextFree(&p2);
  free(s);
  return 0;
}
