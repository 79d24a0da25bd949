// Shared by the fuzz targets: a NUL-terminated writable copy of the input
// and the reset of the global state of a run.
#pragma once
#include <cstdlib>
#include <cstring>

#include "../formula/formula.h"
#include "../program/sentence.h"
#include "../prover/proof.h"
#include "../vcgen/assump.h"

inline char *FuzzText(const unsigned char *data, size_t size) {
  char *s = static_cast<char *>(malloc(size + 1));
  memcpy(s, data, size);
  s[size] = 0;
  return s;
}

inline void FuzzReset() {
  ProcedureListClear();
  AssumptionListClear();
  sequentList.sequent = nullptr;
  sequentList.sequentList = nullptr;
  sequentListPtr = &sequentList;
  InitializeNewName();
}
