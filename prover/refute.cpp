#include "refute.h"

int RefuteSequent(SequentPtr, char *witness, size_t size) {
  if (size) witness[0] = 0;
  return 0;
}

void RefuteReportAll(int) {}
