// Common header: the untyped pointer, fixed sizes and the growable text
// buffer that every printer appends to.
#pragma once
#include <cstddef>
#include <cstdio>

typedef void *Ptr;

// Fixed sizes of the notation.
const int NAME_SIZE = 2048;      // a term name holds at most NAME_SIZE-1 characters
const int LABEL_SIZE = 30;       // label pairs, procedure and parameter names, remarks
const int SEGMENT_SIZE = 2048;   // heads, locals, blocks, assertions, bindings
const int SSS_SIZE = 10240;      // the scratch buffer of display texts
const int LOC_SIZE = 2048;       // the locals text of a procedure (read through 2048)
const int NICE_WIDTH = 40;       // line width of wrapped formulas

// Bounds that keep hostile input from exhausting the stack or memory.
const int MAX_NEST_DEPTH = 4096;        // nesting of terms, formulas and blocks
const long FORMULA_NODE_LIMIT = 200000; // a generated condition larger than this is cut

// A growable NUL-terminated text. Printers append at its end and never write
// past the storage they own; a text that would pass TEXT_MAX stops growing and
// is marked `cut`.
struct Text {
  char *data;   // NUL-terminated once anything was appended; may be null before
  size_t len;
  size_t cap;
  int cut;
  // When set, TextSpill writes what the text holds there and empties it, so
  // that a long text (the result file) is never held whole; sinkError is
  // set when a write fails.
  FILE *sink;
  int sinkError;
};
typedef Text *TextPtr;
const size_t TEXT_MAX = 256u * 1024u * 1024u;

void TextInit(Text *t);
void TextFree(Text *t);
void TextClear(Text *t);                    // empty text, storage kept
void TextAppend(Text *t, const char *s);
void TextAppendN(Text *t, const char *s, size_t n);
void TextAppendChar(Text *t, char c);
void TextPrintf(Text *t, const char *fmt, ...) __attribute__((format(printf, 2, 3)));
void TextTruncate(Text *t, size_t len);     // shorten to len characters
// Writes the text to its sink and empties it once it holds TEXT_SPILL
// characters or more (all of it when force is set); nothing without a sink.
// For the places between whole lines where no printer looks back.
const size_t TEXT_SPILL = 64u * 1024u;
void TextSpill(Text *t, int force);
const char *TextStr(const Text *t);         // never null: "" for an empty text

// Copies `src` into the fixed buffer dst of `size` bytes, cutting if needed;
// returns 1 when it fitted, 0 when it was cut. dst is always terminated.
int CopyBounded(char *dst, size_t size, const char *src);

// Prints "Error: %s\n" with the message on standard output.
void ErrorMsg(const char *msg);
// ErrorMsg with the message formatted as by TextPrintf (no length limit).
void ErrorMsgPrintf(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
// While held (1), Error lines are neither printed nor counted: for work on
// trial whose failures are answers, not faults of the input.
void ErrorMsgHold(int hold);
int ErrorMsgIsHeld();
// Number of Error lines printed so far (readers compare it before and after).
long ErrorMsgCount();

// Where program text came from, for located error lines (core/errors.cpp).
// A line table maps offsets of the compressed text to lines of the file:
// line[i] begins at offset start[i]; offsets are ascending.
struct LineTable {
  long *start;
  long *line;
  size_t n;
  size_t cap;
};
void LineTableInit(LineTable *t);
void LineTableFree(LineTable *t);
void LineTableAdd(LineTable *t, long start, long line);
long LineTableLine(const LineTable *t, long offset);   // 1 for an empty table

// While `text` (from `file`; lines null: every place is line 1) is read,
// Error lines are also located. LocEnd stops it.
void LocBegin(const char *file, const char *text, const LineTable *lines);
void LocEnd();
// The reader stands at p, in the text or in a registered copy of part of it;
// other places are ignored.
void LocAt(const char *p);
// copy[0..n) holds the text found at `from`, until LocCopyEnd(copy).
void LocCopy(const char *copy, size_t n, const char *from);
void LocCopyEnd(const char *copy);
// The procedure being read (its name is the first n characters of name).
void LocProcedure(const char *name, size_t n);
// Errors found after reading: located at a fixed line until LocEnd.
void LocAtLine(const char *file, long line, const char *procedure);
// The current place: file (kept for the process; null when none) and line.
const char *LocFile();
long LocLine();
// Where located lines "FILE:LINE: error: MESSAGE [in procedure NAME]" are
// printed (null, the default: nowhere).
void LocPrintTo(FILE *f);

// The Error lines since the last ErrorRecordsClear: the first ERROR_RECORD_MAX,
// messages cut after ERROR_MESSAGE_MAX characters (ending in "..."), and
// the count of all of them.
struct ErrorRecord {
  const char *file;   // null: not located
  long line;
  char procedure[LABEL_SIZE];
  char *message;
};
const long ERROR_RECORD_MAX = 1000;
const size_t ERROR_MESSAGE_MAX = 2048;
long ErrorRecordCount();
long ErrorRecordTotal();
const ErrorRecord *ErrorRecordGet(long i);
void ErrorRecordsClear();
