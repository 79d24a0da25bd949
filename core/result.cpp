#include "core.h"

void ResultTextBuild(Text *) {}
int ResultFileWrite(const char *) { return 0; }
