// The dialog dispatcher and the reading of selections and typed input.
#include <cstring>

#include "w.h"

int state = 0;
XawTextBlock textString;

void DialogDone(Widget w, XtPointer client_data, XtPointer call_data) {
  DialogDone1(1, w, client_data, call_data);
}

void Cancel(Widget w, XtPointer client_data, XtPointer call_data) {
  DialogDone1(0, w, client_data, call_data);
}

void DialogDone1(int i, Widget w, XtPointer client_data, XtPointer call_data) {
  switch (state) {
    case 105: wStartOk(i, w, client_data, call_data); break;
    case 106: wSelectOk(i, w, client_data, call_data); break;
    case 107: wSaveOk(i, w, client_data, call_data); break;
    case 108: wAssumptionOk(i, w, client_data, call_data); break;
    case 109: wAskInvOk(i); break;
    case 111: wExpandOk(i, w, client_data, call_data); break;
    case 112: wPostOk(i, w, client_data, call_data); break;
    default: break;   // no dialog of a command is open
  }
}

void wCompressString(char *s) { CompressString(s); }

static int isBlankChar(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Copies the characters of w's source from `from` up to `to` (or the end of
// the text when to < 0) into s without blanks, tabs and newlines. Returns the
// number of characters kept, or -1 when s (size bytes) could not hold them;
// s then holds what fitted.
static long SourceCopy(Widget w, XawTextPosition from, XawTextPosition to, char *s, size_t size) {
  Widget src = XawTextGetSource(w);
  size_t n = 0;
  s[0] = 0;
  if (!src) return 0;
  XawTextPosition pos = from;
  while (to < 0 || pos < to) {
    int want = to < 0 ? SELECT_SIZE : (int)((to - pos) < SELECT_SIZE ? (to - pos) : SELECT_SIZE);
    memset(&textString, 0, sizeof textString);
    XawTextPosition next = XawTextSourceRead(src, pos, &textString, want);
    if (textString.length <= 0 || !textString.ptr || next <= pos) break;
    for (int k = 0; k < textString.length; k++) {
      char c = textString.ptr[k];
      if (isBlankChar(c) || c == 0) continue;
      if (n + 1 >= size) {
        s[n] = 0;
        return -1;
      }
      s[n++] = c;
    }
    pos = next;
  }
  s[n] = 0;
  return (long)n;
}

char GetSelectedItem(char *s, Widget w, size_t size) {
  if (!s || size == 0) return 0;
  s[0] = 0;
  if (!w) return 0;
  XawTextPosition begin = 0, end = 0;
  XawTextGetSelectionPos(w, &begin, &end);
  if (end <= begin) return 0;
  SourceCopy(w, begin, end, s, size);   // a selection longer than s is cut
  return s[0];
}

char GetInput(char *s, Widget w, size_t size) {
  if (!s || size == 0) return 0;
  s[0] = 0;
  if (!w) return 0;
  if (SourceCopy(w, 0, -1, s, size) < 0) {
    ErrorMsgPrintf("input longer than %zu characters", size - 1);
    s[0] = 0;
    return 0;
  }
  return s[0];
}

void wTextRead(Widget w, Text *out) {
  Widget src = w ? XawTextGetSource(w) : nullptr;
  if (!src) return;
  for (XawTextPosition pos = 0;;) {
    XawTextBlock b;
    memset(&b, 0, sizeof b);
    XawTextPosition next = XawTextSourceRead(src, pos, &b, SELECT_SIZE);
    if (b.length <= 0 || !b.ptr || next <= pos) return;
    TextAppendN(out, b.ptr, b.length);
    pos = next;
  }
}
