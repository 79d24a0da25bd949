// quell1-batch: the verifier without a display. Loads a program, lists what
// annotation is missing, or runs the pipeline and writes the result file.
#include <cstdio>
#include <cstring>
#include "core.h"
#include "../program/sentence.h"
#include "../prover/proof.h"
#include "../prover/refute.h"
#include "../smt/smt.h"
#include "../invariant/invariant.h"

static const char *const usage =
    "Usage: quell1-batch [-d] [-q] [--no-smt] [--smt-rlimit=N] [--infer] PROGRAM OUTPUT";

// One line per missing annotation, in the order the client asks for them.
// A missing invariant says whether --infer was tried.
static int MissingAnnotationsPrint(int infer) {
  int missing = 0;
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList) {
    ProcedurePtr proc = p->procedure;
    if (!proc) continue;
    if (!proc->postCond) {
      printf("missing post-condition of %s\n", proc->name);
      missing++;
    }
    if (!proc->preCond) {
      printf("missing pre-condition of %s\n", proc->name);
      missing++;
    }
    if (!proc->postCond || !proc->preCond) continue;
    currentProcedure = proc;
    for (SentenceListPtr q = proc->sentenceList; q && q->sentenceList; q = q->sentenceList) {
      SentencePtr s = q->sentence;
      if (isLoopWithoutInvariant(s)) {
        printf("missing invariant of %s of procedure %s (%s)\n", s->labels, proc->name,
               infer ? "--infer found none" : "--infer can suggest one");
        missing++;
      }
    }
  }
  return missing;
}

// A procedure whose pre-condition rewrites to false (or, with the solver,
// cannot hold for any values) proves its conditions vacuously; say so.
static void VacuousPreCondWarn() {
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList) {
    ProcedurePtr proc = p->procedure;
    if (!proc || !proc->preCond) continue;
    FormulaPtr f = SimplifySequentUseRewrite(FormulaCopy(proc->preCond));
    FormulaList pre = {f, nullptr};
    if (isFalse(f) || (SmtIsOn() && SmtValid(&pre, nullptr)))
      printf("Warning: the pre-condition of %s is false; the procedure is verified vacuously\n",
             proc->name);
  }
}

// The rlimit of --smt-rlimit=N or --smt-rlimit N: a positive decimal number
// that fits; 0 when the text is none.
static unsigned RlimitRead(const char *s) {
  unsigned long long v = 0;
  if (!s || !*s) return 0;
  for (; *s; s++) {
    if (*s < '0' || *s > '9') return 0;
    v = v * 10 + (unsigned)(*s - '0');
    if (v > 0xffffffffULL) return 0;
  }
  return (unsigned)v;
}

int main(int argc, char **argv) {
  int debug = 0, quiet = 0, infer = 0, i = 1;
  SmtSetOn(1);
  for (; i < argc && argv[i][0] == '-' && argv[i][1]; i++) {
    if (strcmp(argv[i], "-d") == 0) debug = 1;
    else if (strcmp(argv[i], "-q") == 0) quiet = 1;
    else if (strcmp(argv[i], "--no-smt") == 0) SmtSetOn(0);
    else if (strcmp(argv[i], "--infer") == 0) infer = 1;
    else if (strncmp(argv[i], "--smt-rlimit", 12) == 0 && (argv[i][12] == '=' || !argv[i][12])) {
      const char *n = argv[i][12] ? argv[i] + 13 : (i + 1 < argc ? argv[++i] : nullptr);
      unsigned limit = RlimitRead(n);
      if (!limit) {
        ErrorMsgPrintf("--smt-rlimit needs a positive number, not \"%s\"", n ? n : "");
        return 2;
      }
      SmtSetRlimit(limit);
    } else break;
  }
  if (argc - i != 2 || !argv[i][0] || !argv[i + 1][0]) {
    fprintf(stderr, "%s\n", usage);
    return 2;
  }
  char *program = argv[i];
  const char *output = argv[i + 1];
  if (debug) LogFileOpen();
  long errorsBefore = ErrorMsgCount();
  if (!StartProg1Checked(program)) return 2;
  // text with errors and no procedure read from it: nothing was verified
  int unread = !procedureList.procedure && ErrorMsgCount() > errorsBefore;
  if (infer) {
    // Suggestions become the loops' invariants, verified like typed ones.
    Text found;
    TextInit(&found);
    InvariantInferAll(&found);
    fputs(TextStr(&found), stdout);
    TextFree(&found);
  }
  if (MissingAnnotationsPrint(infer) > 0) return 2;
  StartProg0();
  if (!quiet && !procedureList.procedure) printf("Warning: the program holds no procedure\n");
  if (!quiet) VacuousPreCondWarn();
  if (!ResultFileWrite(output)) {
    ErrorMsgPrintf("cannot write the result file %s", output);
    return 2;
  }
  if (SmtIsOn())
    RefuteReportAllWith(quiet, SmtCounterexample, SmtStatsGet().proved);
  else
    RefuteReportAll(quiet);
  fflush(stdout);
  return sequentList.sequent || unread ? 1 : 0;
}
