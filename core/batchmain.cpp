// quell1-batch: the verifier without a display. Loads a program, lists what
// annotation is missing, or runs the pipeline and writes the result file.
#include <cstdio>
#include <cstring>
#include <getopt.h>
#include "core.h"
#include "../program/sentence.h"
#include "../prover/proof.h"
#include "../prover/refute.h"
#include "report.h"
#include "../smt/smt.h"
#include "../invariant/invariant.h"

static const char *const usage = "Usage: quell1-batch [OPTION]... PROGRAM OUTPUT";

static void HelpPrint() {
  printf("%s\n"
         "Verifies the annotated procedures of PROGRAM (a file, or literal program text\n"
         "beginning with { or %%) and writes them with their remaining conditions to OUTPUT.\n"
         "\n"
         "  -d, --debug        write the debug log vLog in the working directory\n"
         "  -q, --quiet        print nothing but errors\n"
         "  -j, --json=FILE    write a JSON report to FILE; with - it goes to standard\n"
         "                     output and all other output to standard error\n"
         "      --no-smt       the five simplification passes alone, without the solver\n"
         "      --smt-rlimit=N the solver's resource limit per condition (default %u)\n"
         "      --infer        suggest the invariant of every loop that lacks one, and\n"
         "                     verify the program with the suggestions\n"
         "  -h, --help         print this help and exit\n"
         "  -V, --version      print the version and exit\n"
         "\n"
         "Errors in the program text are printed as Error lines on standard output and as\n"
         "FILE:LINE: error: MESSAGE lines on standard error.\n"
         "\n"
         "Exit status: 0 every condition proved; 1 conditions remain, or a procedure could\n"
         "not be read wholly; 2 wrong usage, an unreadable program, a missing annotation, or an output\n"
         "that cannot be written.\n",
         usage, SMT_RLIMIT_DEFAULT);
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

// Options of the command line; 0 to go on, otherwise exit status + 1.
struct BatchOptions {
  int debug, quiet, infer;
  const char *json;
};
enum { OPTION_NO_SMT = 256, OPTION_SMT_RLIMIT, OPTION_INFER };

static int OptionsRead(int argc, char **argv, BatchOptions *o, int *first) {
  static const struct option longOptions[] = {
      {"debug", no_argument, nullptr, 'd'},   {"quiet", no_argument, nullptr, 'q'},
      {"json", required_argument, nullptr, 'j'}, {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, 'V'}, {"no-smt", no_argument, nullptr, OPTION_NO_SMT},
      {"smt-rlimit", required_argument, nullptr, OPTION_SMT_RLIMIT},
      {"infer", no_argument, nullptr, OPTION_INFER}, {nullptr, 0, nullptr, 0}};
  *o = BatchOptions{0, 0, 0, nullptr};
  SmtSetOn(1);
  opterr = 0;   // the usage line below says what is wrong
  optind = 1;
  int c, before = optind;
  for (; (c = getopt_long(argc, argv, ":dqj:hV", longOptions, nullptr)) != -1; before = optind) {
    switch (c) {
      case 'd': o->debug = 1; break;
      case 'q': o->quiet = 1; break;
      case 'j': o->json = optarg; break;
      case 'h': HelpPrint(); return 1;
      case 'V': printf("quell1-batch %s\n", QUELL_VERSION); return 1;
      case OPTION_NO_SMT: SmtSetOn(0); break;
      case OPTION_INFER: o->infer = 1; break;
      case OPTION_SMT_RLIMIT: {
        unsigned limit = RlimitRead(optarg);
        if (!limit) {
          ErrorMsgPrintf("--smt-rlimit needs a positive number, not \"%s\"", optarg);
          return 3;
        }
        SmtSetRlimit(limit);
        break;
      }
      default: {
        // Within a group of short options (-xq) getopt has not moved on yet.
        const char *arg = optind > before ? argv[optind - 1] : argv[optind];
        int isLong = !strncmp(arg, "--", 2);
        const char *eq = isLong ? strchr(arg, '=') : nullptr;
        if (c == ':' && isLong) fprintf(stderr, "quell1-batch: option %s needs a value\n", arg);
        else if (c == ':') fprintf(stderr, "quell1-batch: option -%c needs a value\n", optopt);
        else if (eq) fprintf(stderr, "quell1-batch: option %.*s takes no value\n", static_cast<int>(eq - arg), arg);
        else if (isLong) fprintf(stderr, "quell1-batch: unknown option %s\n", arg);
        else fprintf(stderr, "quell1-batch: unknown option -%c\n", optopt);
        fprintf(stderr, "%s\nTry 'quell1-batch --help' for more information.\n", usage);
        return 3;
      }
    }
  }
  *first = optind;
  if (argc - optind != 2 || !argv[optind][0] || !argv[optind + 1][0]) {
    fprintf(stderr, "%s\nTry 'quell1-batch --help' for more information.\n", usage);
    return 3;
  }
  return 0;
}

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

// 1 when some procedure had an Error line while it was read.
static int isReadErrorAny() {
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList)
    if (p->procedure && p->procedure->readError) return 1;
  return 0;
}

int main(int argc, char **argv) {
  BatchOptions o;
  int i;
  if (int r = OptionsRead(argc, argv, &o, &i)) return r - 1;
  char *program = argv[i];
  const char *output = argv[i + 1];
  LocPrintTo(stderr);   // located error lines beside the Error lines
  if (o.json && !strcmp(o.json, "-")) ReportTakeStdout();
  if (o.debug) LogFileOpen();
  ReportBegin(program);
  long errorsBefore = ErrorMsgCount();
  if (!StartProg1Checked(program)) return ReportEnd(o.json, 2);
  ReportStage("load");
  // text with errors and no procedure read from it, or a procedure read
  // only in part: what was meant was not verified, even where the conditions
  // of what was read are proved (a false pre-condition proves them all)
  int unread = (!procedureList.procedure && ErrorMsgCount() > errorsBefore) || isReadErrorAny();
  if (o.infer) {
    // Suggestions become the loops' invariants, verified like typed ones.
    Text found;
    TextInit(&found);
    InvariantInferAll(&found);
    fputs(TextStr(&found), stdout);
    TextFree(&found);
    ReportStage("infer");
  }
  if (MissingAnnotationsPrint(o.infer) > 0) return ReportEnd(o.json, 2);
  StartProg0();
  ReportStage("prove");
  if (!o.quiet && !procedureList.procedure) printf("Warning: the program holds no procedure\n");
  if (!o.quiet) VacuousPreCondWarn();
  if (!ResultFileWrite(output)) {
    ErrorMsgPrintf("cannot write the result file %s", output);
    return ReportEnd(o.json, 2);
  }
  ReportStage("write");
  if (!o.quiet) RefuteReportAllWith(0, SmtIsOn() ? SmtCounterexample : nullptr, SmtIsOn() ? SmtStatsGet().proved : -1);
  else if (o.json) RefuteAll(SmtIsOn() ? SmtCounterexample : nullptr);   // the report's values, even when quiet
  ReportStage("refute");
  fflush(stdout);
  return ReportEnd(o.json, sequentList.sequent || unread ? 1 : 0);
}
