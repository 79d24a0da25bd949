// Reading program files: comment lines dropped, white space removed.
#include "core.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

char *CompressString(char *l) {
  char *w = l;
  for (char *r = l; *r; r++)
    if (*r != '\n' && *r != '\t' && *r != ' ') *w++ = *r;
  *w = 0;
  return w;
}

static void FileError(const char *what, const char *fname) {
  Text m;
  TextInit(&m);
  TextPrintf(&m, "%s %s", what, fname);
  ErrorMsg(TextStr(&m));
  TextFree(&m);
}

int FileReadable(const char *fname) {
  struct stat st;
  if (stat(fname, &st) != 0 || S_ISDIR(st.st_mode)) return 0;
  FILE *f = fopen(fname, "r");
  if (!f) return 0;
  fclose(f);
  return 1;
}

char *FileRead(const char *fname) {
  struct stat st;
  if (stat(fname, &st) != 0) {
    FileError("cannot find the file", fname);
    return static_cast<char *>(calloc(1, 1));
  }
  if (S_ISDIR(st.st_mode)) {
    FileError("cannot read the directory", fname);
    return static_cast<char *>(calloc(1, 1));
  }
  FILE *f = fopen(fname, "r");
  if (!f) {
    FileError("cannot read the file", fname);
    return static_cast<char *>(calloc(1, 1));
  }
  size_t size = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  char *raw = static_cast<char *>(calloc(size + 1, 1));
  size_t got = fread(raw, 1, size, f);
  fclose(f);
  // Lines are only dropped, never added, so the text fits in size+1 bytes.
  char *buf = static_cast<char *>(calloc(size + 1, 1));
  size_t w = 0;
  size_t i = 0;
  while (i < got) {
    size_t e = i;
    while (e < got && raw[e] != '\n') e++;
    if (e < got) e++;  // the line end belongs to the line
    int comment = e - i >= 2 && raw[i] == ';' && raw[i + 1] == ';';
    if (!comment) {
      memcpy(buf + w, raw + i, e - i);
      w += e - i;
    }
    i = e;
  }
  buf[w] = 0;
  free(raw);
  // A NUL byte would end the text early and hide what follows it.
  if (memchr(buf, 0, w)) {
    size_t k = 0;
    for (size_t j = 0; j < w; j++)
      if (buf[j]) buf[k++] = buf[j];
    buf[k] = 0;
    FileError("NUL characters dropped from the file", fname);
  }
  CompressString(buf);
  return buf;
}
