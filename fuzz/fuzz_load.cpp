// Arbitrary bytes read as a program file: comment lines and white space
// removed with the line table kept, the procedure reader with every error
// located on a line of the input.
#include "fuzzutil.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  FuzzReset();
  ErrorRecordsClear();
  char *s = FuzzText(data, size);
  long lines = 1;
  for (size_t i = 0; i < size; i++) lines += data[i] == '\n';
  LineTable table;
  LineTableInit(&table);
  int nul;
  ProgramTextCompress(s, size, &table, &nul);
  LocBegin("fuzz", s, &table);
  ProcedureReadList(s);
  LocEnd();
  for (long i = 0; i < ErrorRecordCount(); i++) {
    const ErrorRecord *e = ErrorRecordGet(i);
    if (!e->file || e->line < 1 || e->line > lines) abort();
  }
  for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList)
    if (n->procedure->line < 1 || n->procedure->line > lines) abort();
  Text t;
  TextInit(&t);
  ProcedureListPrint(&t);
  TextFree(&t);
  LineTableFree(&table);
  free(s);
  return 0;
}
