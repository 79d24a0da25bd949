// The scratch buffer of display texts and the debug log "vLog".
#include "core.h"

#include <cstdio>
#include <cstring>

char sss[SSS_SIZE];

static int debug = 0;
static FILE *vLog = nullptr;

char *SssSet(const char *text) {
  size_t n = strlen(text);
  if (n < static_cast<size_t>(SSS_SIZE)) {
    memcpy(sss, text, n + 1);
    return sss;
  }
  // Keep what fits, ending at a line end when one is near, and add a last
  // line that says how much is missing.
  const size_t noteRoom = 80;
  size_t keep = SSS_SIZE - 1 - noteRoom;
  for (size_t k = keep; k > keep - 500; k--)
    if (text[k - 1] == '\n') {
      keep = k;
      break;
    }
  char note[noteRoom];
  snprintf(note, sizeof note, "%s... (text cut: %zu characters not shown)",
           text[keep - 1] == '\n' ? "" : "\n", n - keep);
  memcpy(sss, text, keep);
  CopyBounded(sss + keep, SSS_SIZE - keep, note);
  return sss;
}

void LogFileOpen() {
  if (vLog) fclose(vLog);
  vLog = fopen("vLog", "w");
  if (!vLog) {
    ErrorMsg("cannot create the debug log vLog");
    debug = 0;
    return;
  }
  debug = 1;
}

int LogIsOn() { return debug; }

void Log(const char *title, Printer printer) {
  if (!debug) return;
  if (!vLog) vLog = fopen("vLog", "a");
  if (!vLog) {
    ErrorMsg("cannot open the debug log vLog for appending");
    debug = 0;
    return;
  }
  Text out;
  TextInit(&out);
  printer(&out);
  fprintf(vLog, "----- %s -----\n\n", title);
  fwrite(TextStr(&out), 1, out.len, vLog);
  fputc('\n', vLog);
  SssSet(TextStr(&out));
  TextFree(&out);
  // Close after every entry so the log survives a crash; reopen to append.
  fclose(vLog);
  vLog = fopen("vLog", "a");
  if (!vLog) {
    ErrorMsg("cannot open the debug log vLog for appending");
    debug = 0;
  }
}
