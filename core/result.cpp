// The result file of "save" and of the batch exit.
#include <cstdio>
#include "core.h"
#include "../program/sentence.h"

void ResultTextBuild(Text *out) {
  TextAppend(out, "Procedures:\n\n");
  ProcedureListPrint(out);
  TextAppend(out, ";;--------------------------------------\n\n");
  TextAppend(out, "Remaining Verification Conditions:\n\n");
  SequentListPrint(out);
}

int ResultFileWrite(const char *name) {
  if (!name || !name[0]) return 0;
  FILE *f = fopen(name, "w");
  if (!f) return 0;
  Text t;
  TextInit(&t);
  ResultTextBuild(&t);
  size_t n = t.len;
  int ok = fwrite(TextStr(&t), 1, n, f) == n;
  if (fclose(f) != 0) ok = 0;
  TextFree(&t);
  return ok;
}
