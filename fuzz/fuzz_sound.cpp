// Soundness of the prover on (mutated) programs: a verification condition
// for which the refuter finds values that make it false must keep at least
// one sequent after simplification. Missing annotations are completed with
// $T as in fuzz_pipeline. The same bytes also choose a generated program
// (soundgen.h: array updates under quantifiers, factorials of successors,
// statements out of order), checked against an interpreter of its own.
#include <cstdio>

#include "../prover/refute.h"
#include "fuzzutil.h"
#include "soundgen.h"

const int SOUND_MAX = 64;     // conditions checked per input
const int SOUND_STRIDE = 7;   // a generated program is run on every 7th input only

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  if (size > 4096) return 0;
  char *s = FuzzLoad(data, size);
  FuzzCompleteAnnotations();
  GenerateVerificationCond();
  // The conditions as generated, before any rewriting, and their witnesses.
  char names[SOUND_MAX][LABEL_SIZE];
  char witness[SOUND_MAX][256];
  int refuted = 0;
  for (AssumptionListPtr a = &assumptionList; a && a->assumption && refuted < SOUND_MAX;
       a = a->assumptionList) {
    Sequent q = {};
    q.formulaList1 = Formula2FormulaList(FormulaCopy(a->assumption->formula1), '^');
    q.formulaList2 = Formula2FormulaList(FormulaCopy(a->assumption->formula2), '|');
    if (RefuteSequent(&q, witness[refuted], sizeof witness[refuted])) {
      CopyBounded(names[refuted], LABEL_SIZE, AssumptionProcName(a->assumption));
      refuted++;
    }
  }
  AssumptionList2SequentList();
  SimplifySequentAll();
  for (int i = 0; i < refuted; i++) {
    int open = 0;
    for (SequentListPtr p = &sequentList; p && p->sequent && !open; p = p->sequentList)
      if (!p->sequent->proved && strcmp(p->sequent->remark, names[i]) == 0) open = 1;
    if (!open) {
      fprintf(stderr, "procedure %s proved, but its condition fails for %s\n", names[i], witness[i]);
      abort();
    }
  }
  free(s);
  soundgen::Outcome o = soundgen::Check(data, size, SOUND_STRIDE);
  if (!o.problem.empty()) {
    fprintf(stderr, "generated program %s: %s\n", o.program.c_str(), o.problem.c_str());
    abort();
  }
  return 0;
}
