// Loading a program: file or literal text, parsed into procedureList.
#include "core.h"
#include "../formula/formula.h"
#include "../program/sentence.h"

#include <cstdlib>

// Texts handed to the procedure reader stay alive for the rest of the run:
// the reader splits them in place and nothing may be left pointing into
// freed storage.
struct LoadedText { char *text; LoadedText *next; };
static LoadedText *loadedTexts = nullptr;

static void LoadedTextKeep(char *text) {
  LoadedText *n = static_cast<LoadedText *>(calloc(1, sizeof(LoadedText)));
  n->text = text;
  n->next = loadedTexts;
  loadedTexts = n;
}

static int isProgramText(const char *s0) { return s0[0] == '{' || s0[0] == '%'; }

void StartProg1(char *s0) {
  InitializeNewName();
  char *text;
  if (isProgramText(s0)) {
    CompressString(s0);
    text = s0;
  } else {
    text = FileRead(s0);
    LoadedTextKeep(text);
  }
  ProcedureReadList(text);
  Log("Prog", ProcedureListPrint);
}

int StartProg1Checked(char *s0) {
  if (!isProgramText(s0) && !FileReadable(s0)) {
    Text m;
    TextInit(&m);
    TextPrintf(&m, "cannot read the program file %s", s0);
    ErrorMsg(TextStr(&m));
    TextFree(&m);
    return 0;
  }
  StartProg1(s0);
  return 1;
}
