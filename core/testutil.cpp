// Loading a program: file or literal text, parsed into procedureList.
#include "core.h"
#include "../formula/formula.h"
#include "../program/sentence.h"

#include <cstdlib>

static int isProgramText(const char *s0) { return s0[0] == '{' || s0[0] == '%'; }

void StartProg1(char *s0) {
  InitializeNewName();
  char *text;
  LineTable lines;
  LineTableInit(&lines);
  if (isProgramText(s0)) {
    CompressString(s0);
    text = s0;
    LocBegin("<text>", text, nullptr);
  } else {
    text = FileReadLines(s0, &lines);
    LocBegin(s0, text, &lines);
  }
  // The reader copies everything it keeps (names, labels, locals), so a
  // file's text is not needed once it has been read.
  ProcedureReadList(text == s0 ? text : ResultFileProcedures(text));
  LocEnd();
  LineTableFree(&lines);
  if (text != s0) free(text);
  Log("Prog", ProcedureListPrint);
}

int ProgramReadable(const char *s0) { return isProgramText(s0) || FileReadable(s0); }

int StartProg1Checked(char *s0) {
  if (!ProgramReadable(s0)) {
    ErrorMsgPrintf("cannot read the program file %s", s0);
    return 0;
  }
  StartProg1(s0);
  return 1;
}
