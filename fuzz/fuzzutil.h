// Shared by the fuzz targets: a NUL-terminated writable copy of the input
// and the reset of the global state of a run.
#pragma once
#include <cstdlib>
#include <cstring>

#include "../core/core.h"
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
  RunClear();
  InitializeNewName();
}

// A fresh run that has read the input as program text; the text is the caller's to free.
inline char *FuzzLoad(const unsigned char *data, size_t size) {
  FuzzReset();
  char *s = FuzzText(data, size);
  CompressString(s);
  ProcedureReadList(ResultFileProcedures(s));   // as a loaded file: a result file too
  return s;
}

// Completes what the annotation questions would ask for with $T.
inline void FuzzCompleteAnnotations() {
  for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList) {
    ProcedurePtr p = n->procedure;
    if (!p->postCond) p->postCond = FormulaMakeTrue();
    if (!p->preCond) p->preCond = FormulaMakeTrue();
    currentProcedure = p;
    for (SentenceListPtr l = p->sentenceList; l && l->sentence; l = l->sentenceList) {
      SentencePtr s = l->sentence;
      if (isLoopWithoutInvariant(s)) AddPostCond(s->labels1, FormulaMakeTrue());
    }
  }
}
