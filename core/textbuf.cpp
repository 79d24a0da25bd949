// The growable text buffer that every printer appends to.
#include "../g.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void TextInit(Text *t) {
  t->data = nullptr;
  t->len = 0;
  t->cap = 0;
  t->cut = 0;
  t->sink = nullptr;
  t->sinkError = 0;
}

void TextFree(Text *t) {
  free(t->data);
  TextInit(t);
}

void TextClear(Text *t) {
  t->len = 0;
  t->cut = 0;
  if (t->data) t->data[0] = 0;
}

// Makes room for n more characters and the NUL; 0 when the text is full.
static int TextReserve(Text *t, size_t n) {
  if (t->len + n + 1 > TEXT_MAX) {
    t->cut = 1;
    return 0;
  }
  if (t->len + n + 1 <= t->cap) return 1;
  size_t cap = t->cap ? t->cap : 256;
  while (cap < t->len + n + 1) cap *= 2;
  if (cap > TEXT_MAX) cap = TEXT_MAX;
  char *d = static_cast<char *>(realloc(t->data, cap));
  if (!d) {
    t->cut = 1;
    return 0;
  }
  t->data = d;
  t->cap = cap;
  return 1;
}

void TextAppendN(Text *t, const char *s, size_t n) {
  if (!TextReserve(t, n)) {
    if (!TextReserve(t, 0)) return;
    size_t room = t->cap - t->len - 1;
    if (n > room) n = room;
  }
  memcpy(t->data + t->len, s, n);
  t->len += n;
  t->data[t->len] = 0;
}

void TextSpill(Text *t, int force) {
  if (!t->sink || !t->len || (!force && t->len < TEXT_SPILL)) return;
  if (fwrite(t->data, 1, t->len, t->sink) != t->len) t->sinkError = 1;
  TextClear(t);
}

void TextAppend(Text *t, const char *s) {
  if (s) TextAppendN(t, s, strlen(s));
}

void TextAppendChar(Text *t, char c) {
  if (t->len + 2 <= t->cap) {   // room for c and the NUL
    t->data[t->len++] = c;
    t->data[t->len] = 0;
    return;
  }
  TextAppendN(t, &c, 1);
}

// 1 when fmt converts with "%s" alone (besides "%%"): such formats, the
// printers' most common, are appended piece by piece without vsnprintf.
static int isPlainFormat(const char *fmt) {
  for (const char *p = fmt; *p; p++)
    if (*p == '%') {
      if (p[1] != 's' && p[1] != '%') return 0;
      p++;
    }
  return 1;
}

static void TextVPrintf(Text *t, const char *fmt, va_list ap) {
  if (isPlainFormat(fmt)) {
    TextReserve(t, 0);   // an empty result still leaves a terminated text
    if (t->data) t->data[t->len] = 0;
    for (const char *p = fmt; *p;) {
      const char *q = p;
      while (*q && *q != '%') q++;
      TextAppendN(t, p, static_cast<size_t>(q - p));
      if (!*q) break;
      if (q[1] == '%') {
        TextAppendChar(t, '%');
      } else {
        const char *arg = va_arg(ap, const char *);
        TextAppend(t, arg ? arg : "(null)");
      }
      p = q + 2;
    }
    return;
  }
  va_list ap2;
  va_copy(ap2, ap);
  int n = vsnprintf(nullptr, 0, fmt, ap);
  if (n > 0 && TextReserve(t, static_cast<size_t>(n))) {
    vsnprintf(t->data + t->len, static_cast<size_t>(n) + 1, fmt, ap2);
    t->len += static_cast<size_t>(n);
  } else if (n > 0) {
    char *tmp = static_cast<char *>(malloc(static_cast<size_t>(n) + 1));
    if (tmp) {
      vsnprintf(tmp, static_cast<size_t>(n) + 1, fmt, ap2);
      TextAppendN(t, tmp, static_cast<size_t>(n));
      free(tmp);
    }
  } else {
    TextReserve(t, 0);
    if (t->data) t->data[t->len] = 0;
  }
  va_end(ap2);
}

void TextPrintf(Text *t, const char *fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  TextVPrintf(t, fmt, ap);
  va_end(ap);
}

void TextTruncate(Text *t, size_t len) {
  if (len < t->len) {
    t->len = len;
    t->data[len] = 0;
  }
}

const char *TextStr(const Text *t) { return t->data ? t->data : ""; }

int CopyBounded(char *dst, size_t size, const char *src) {
  if (size == 0) return 0;
  size_t n = strlen(src);
  int fitted = 1;
  if (n >= size) {
    n = size - 1;
    fitted = 0;
  }
  memcpy(dst, src, n);
  dst[n] = 0;
  return fitted;
}

void ErrorMsgPrintf(const char *fmt, ...) {
  Text m;
  TextInit(&m);
  va_list ap;
  va_start(ap, fmt);
  TextVPrintf(&m, fmt, ap);
  va_end(ap);
  ErrorMsg(TextStr(&m));
  TextFree(&m);
}
