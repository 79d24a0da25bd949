// Line breaking of printed formulas: lines of limited width, broken after
// "|", "^", "~" or ":", indented by one blank per open bracket.
#include "formula.h"

#include <cstring>

int GetLine(Text *out, int *depth, const char *s) {
  int n = 0;
  while (s[n]) {
    char c = s[n++];
    if (c == '(' || c == '[') (*depth)++;
    else if (c == ')' || c == ']') (*depth)--;
    if (c == '|' || c == '^' || c == '~' || c == ':') break;
  }
  TextAppendN(out, s, static_cast<size_t>(n));
  return n;
}

void NiceFormula(const char *s, Text *out, int width) {
  if (!s) s = "";
  int depth = 0;
  Text line, seg;
  TextInit(&line);
  TextInit(&seg);
  s += GetLine(&line, &depth, s);
  while (1) {
    TextClear(&seg);
    s += GetLine(&seg, &depth, s);
    while (seg.len > 0 && line.len + seg.len < static_cast<size_t>(width > 0 ? width : 0)) {
      TextAppend(&line, TextStr(&seg));
      TextClear(&seg);
      s += GetLine(&seg, &depth, s);
    }
    TextAppend(out, TextStr(&line));
    if (seg.len == 0) break;
    TextAppendChar(out, '\n');
    for (int i = 0; i < depth; i++) TextAppendChar(out, ' ');
    TextClear(&line);
    TextAppend(&line, TextStr(&seg));
  }
  if (out->cut) ErrorMsg("*** Wrapped formula cut at the end of its buffer ***");
  TextFree(&line);
  TextFree(&seg);
}
