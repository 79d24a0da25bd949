// Error lines: printed on standard output, located in the program text being
// read (file and line) and recorded for the report.
#include "../g.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

void LineTableInit(LineTable *t) { *t = LineTable{nullptr, nullptr, 0, 0}; }

void LineTableFree(LineTable *t) {
  free(t->start);
  free(t->line);
  LineTableInit(t);
}

void LineTableAdd(LineTable *t, long start, long line) {
  assert(!t->n || start >= t->start[t->n - 1]);
  if (t->n && t->start[t->n - 1] == start) {   // an earlier line kept nothing
    t->line[t->n - 1] = line;
    return;
  }
  if (t->n == t->cap) {
    size_t cap = t->cap ? 2 * t->cap : 64;
    long *s = static_cast<long *>(realloc(t->start, cap * sizeof(long)));
    if (!s) return;
    t->start = s;
    long *l = static_cast<long *>(realloc(t->line, cap * sizeof(long)));
    if (!l) return;
    t->line = l;
    t->cap = cap;
  }
  t->start[t->n] = start;
  t->line[t->n] = line;
  t->n++;
}

long LineTableLine(const LineTable *t, long offset) {
  if (!t || !t->n) return 1;
  size_t lo = 0, hi = t->n;   // the last entry that starts at or before offset
  while (hi - lo > 1) {
    size_t mid = lo + (hi - lo) / 2;
    if (t->start[mid] <= offset) lo = mid;
    else hi = mid;
  }
  return t->line[lo];
}

// File names outlive the reading: procedures and records point at them.
struct FileName { char *name; FileName *next; };
static FileName *fileNames;

static const char *FileNameKeep(const char *name) {
  for (FileName *f = fileNames; f; f = f->next)
    if (!strcmp(f->name, name)) return f->name;
  FileName *f = static_cast<FileName *>(calloc(1, sizeof(FileName)));
  char *copy = strdup(name);
  if (!f || !copy) {
    free(f);
    free(copy);
    return "?";
  }
  f->name = copy;
  f->next = fileNames;
  fileNames = f;
  return f->name;
}

// Copies of parts of the text (blocks, heads, assertions) are registered so
// that a place in a copy is a place in the text. They nest only a few deep.
const int LOC_COPY_MAX = 16;
struct LocCopyEntry { const char *copy; size_t n; long origin; };

static struct {
  int active;              // 1 while a text is read, 2 at a fixed line
  const char *file;
  const char *text;
  size_t len;
  const LineTable *lines;
  long offset;             // where the reader stands; -1 at the start
  long line;               // the fixed line (active 2)
  char procedure[LABEL_SIZE];
  LocCopyEntry copies[LOC_COPY_MAX];
  int copyCount;
  FILE *out;
} loc;

void LocBegin(const char *file, const char *text, const LineTable *lines) {
  LocEnd();
  loc.active = 1;
  loc.file = FileNameKeep(file);
  loc.text = text;
  loc.len = strlen(text);
  loc.lines = lines;
  loc.offset = -1;
}

void LocEnd() {
  FILE *out = loc.out;
  loc = {};
  loc.out = out;
}

// Offset in the text of p, -1 when p is neither in it nor in a copy of it.
static long LocOffset(const char *p) {
  if (loc.active != 1 || !p) return -1;
  if (p >= loc.text && p <= loc.text + loc.len) return static_cast<long>(p - loc.text);
  for (int i = loc.copyCount - 1; i >= 0; i--) {
    const LocCopyEntry &c = loc.copies[i];
    if (p >= c.copy && p <= c.copy + c.n) return c.origin < 0 ? -1 : c.origin + static_cast<long>(p - c.copy);
  }
  return -1;
}

void LocAt(const char *p) {
  long o = LocOffset(p);
  if (o >= 0) loc.offset = o;
}

void LocCopy(const char *copy, size_t n, const char *from) {
  if (loc.active != 1) return;
  assert(loc.copyCount < LOC_COPY_MAX);
  if (loc.copyCount >= LOC_COPY_MAX) return;
  loc.copies[loc.copyCount++] = LocCopyEntry{copy, n, LocOffset(from)};
}

void LocCopyEnd(const char *copy) {
  if (loc.active != 1 || !loc.copyCount) return;
  assert(loc.copies[loc.copyCount - 1].copy == copy);
  if (loc.copies[loc.copyCount - 1].copy == copy) loc.copyCount--;
}

void LocProcedure(const char *name, size_t n) {
  if (!loc.active) return;
  if (n > static_cast<size_t>(LABEL_SIZE - 1)) n = LABEL_SIZE - 1;
  memcpy(loc.procedure, name, n);
  loc.procedure[n] = 0;
}

void LocAtLine(const char *file, long line, const char *procedure) {
  LocEnd();
  if (!file) return;
  loc.active = 2;
  loc.file = FileNameKeep(file);
  loc.line = line;
  CopyBounded(loc.procedure, sizeof loc.procedure, procedure ? procedure : "");
}

const char *LocFile() { return loc.active ? loc.file : nullptr; }

long LocLine() {
  if (loc.active == 2) return loc.line;
  return loc.active ? LineTableLine(loc.lines, loc.offset < 0 ? 0 : loc.offset) : 0;
}

void LocPrintTo(FILE *f) { loc.out = f; }

static long errorMsgCount = 0;
static ErrorRecord *records;
static long recordCount, recordCap, recordTotal;

static void ErrorRecordAdd(const char *msg) {
  recordTotal++;
  if (recordCount >= ERROR_RECORD_MAX) return;
  if (recordCount == recordCap) {
    long cap = recordCap ? 2 * recordCap : 16;
    ErrorRecord *r = static_cast<ErrorRecord *>(realloc(records, cap * sizeof(ErrorRecord)));
    if (!r) return;
    records = r;
    recordCap = cap;
  }
  ErrorRecord *r = &records[recordCount];
  size_t n = strnlen(msg, ERROR_MESSAGE_MAX + 1);
  r->message = static_cast<char *>(malloc(n + 4));
  if (!r->message) return;
  if (n > ERROR_MESSAGE_MAX) {
    memcpy(r->message, msg, ERROR_MESSAGE_MAX);
    strcpy(r->message + ERROR_MESSAGE_MAX, "...");
  } else {
    memcpy(r->message, msg, n + 1);
  }
  r->file = LocFile();
  r->line = r->file ? LocLine() : 0;
  CopyBounded(r->procedure, sizeof r->procedure, r->file ? loc.procedure : "");
  recordCount++;
}

long ErrorRecordCount() { return recordCount; }
long ErrorRecordTotal() { return recordTotal; }
const ErrorRecord *ErrorRecordGet(long i) { return i >= 0 && i < recordCount ? &records[i] : nullptr; }

void ErrorRecordsClear() {
  for (long i = 0; i < recordCount; i++) free(records[i].message);
  recordCount = 0;
  recordTotal = 0;
}

static int errorMsgHeld;

void ErrorMsgHold(int hold) { errorMsgHeld = hold; }
int ErrorMsgIsHeld() { return errorMsgHeld; }

void ErrorMsg(const char *msg) {
  if (errorMsgHeld) return;
  errorMsgCount++;
  printf("Error: %s\n", msg);
  ErrorRecordAdd(msg);
  if (loc.out && loc.active) {
    // Standard output first: the two streams then interleave in order.
    fflush(stdout);
    fprintf(loc.out, "%s:%ld: error: %s", loc.file, LocLine(), msg);
    if (loc.procedure[0]) fprintf(loc.out, " [in procedure %s]", loc.procedure);
    fputc('\n', loc.out);
  }
}

long ErrorMsgCount() { return errorMsgCount; }
