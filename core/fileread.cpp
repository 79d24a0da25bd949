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

int FileReadable(const char *fname) {
  struct stat st;
  if (stat(fname, &st) != 0 || S_ISDIR(st.st_mode)) return 0;
  FILE *f = fopen(fname, "r");
  if (!f) return 0;
  fclose(f);
  return 1;
}

// Comment lines are dropped and white space removed in place: characters
// are only removed, never added. The ";;" test applies where a line begins,
// however long the line is. The line table notes where the kept characters
// of each line begin.
size_t ProgramTextCompress(char *buf, size_t got, LineTable *lines, int *nul) {
  size_t w = 0, i = 0;
  long line = 0;
  *nul = 0;
  while (i < got) {
    line++;
    const char *end = static_cast<const char *>(memchr(buf + i, '\n', got - i));
    size_t e = end ? static_cast<size_t>(end - buf) + 1 : got;   // the line end belongs to the line
    int comment = e - i >= 2 && buf[i] == ';' && buf[i + 1] == ';';
    int noted = 0;
    if (!comment)
      for (size_t j = i; j < e; j++) {
        unsigned char c = static_cast<unsigned char>(buf[j]);
        // Most characters are above the blank: one test keeps them.
        if (c <= ' ' && (!c || c == '\n' || c == '\t' || c == ' ')) {
          if (!c) *nul = 1;   // a NUL byte would end the text early and hide what follows it
          continue;
        }
        if (lines && !noted) LineTableAdd(lines, static_cast<long>(w), line);
        noted = 1;
        buf[w++] = static_cast<char>(c);
      }
    i = e;
  }
  buf[w] = 0;
  return w;
}

char *FileRead(const char *fname) { return FileReadLines(fname, nullptr); }

char *FileReadLines(const char *fname, LineTable *lines) {
  struct stat st;
  if (stat(fname, &st) != 0) {
    ErrorMsgPrintf("cannot find the file %s", fname);
    return static_cast<char *>(calloc(1, 1));
  }
  if (S_ISDIR(st.st_mode)) {
    ErrorMsgPrintf("cannot read the directory %s", fname);
    return static_cast<char *>(calloc(1, 1));
  }
  FILE *f = fopen(fname, "r");
  if (!f) {
    ErrorMsgPrintf("cannot read the file %s", fname);
    return static_cast<char *>(calloc(1, 1));
  }
  size_t size = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  char *buf = static_cast<char *>(calloc(size + 1, 1));
  if (!buf) {
    fclose(f);
    ErrorMsgPrintf("not enough memory to read the file %s", fname);
    return static_cast<char *>(calloc(1, 1));
  }
  // At most the size found: a file that grows meanwhile is not read further.
  size_t got = fread(buf, 1, size, f);
  fclose(f);
  int nul = 0;
  ProgramTextCompress(buf, got, lines, &nul);
  if (nul) ErrorMsgPrintf("NUL characters dropped from the file %s", fname);
  return buf;
}
