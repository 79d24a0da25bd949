// The result file of "save" and of the batch exit.
#include <cstdio>
#include "core.h"
#include "../program/sentence.h"

static const char *const procedures = "Procedures:";
static const char *const remaining = "Remaining Verification Conditions:";

static int isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The end of `heading` at the start of s, white space ignored on both sides
// (the loader may have removed it); null when s does not begin with it.
static char *HeadingEnd(char *s, const char *heading) {
  for (const char *h = heading; *h; h++) {
    if (isSpace(*h)) continue;
    while (isSpace(*s)) s++;
    if (*s != *h) return nullptr;
    s++;
  }
  return s;
}

char *ResultFileProcedures(char *text) {
  char *p = HeadingEnd(text, procedures);
  if (!p) return text;
  // A procedure ends with its post-condition: the heading follows a "}".
  for (char *q = p; *q; q++)
    if (*q == '}' && HeadingEnd(q + 1, remaining)) {
      q[1] = 0;
      break;
    }
  return p;
}

void ResultTextBuild(Text *out) {
  TextPrintf(out, "%s\n\n", procedures);
  ProcedureListPrint(out);
  TextAppend(out, ";;--------------------------------------\n\n");
  TextPrintf(out, "%s\n\n", remaining);
  SequentListPrint(out);
}

int ResultFileWrite(const char *name) {
  if (!name || !name[0]) return 0;
  FILE *f = fopen(name, "w");
  if (!f) return 0;
  // Written in pieces as it is made: the text of a large program is never
  // held whole.
  Text t;
  TextInit(&t);
  t.sink = f;
  ResultTextBuild(&t);
  TextSpill(&t, 1);
  int ok = !t.sinkError;
  if (fclose(f) != 0) ok = 0;
  TextFree(&t);
  return ok;
}
