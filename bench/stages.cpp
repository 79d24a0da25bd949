// Times each stage of one headless run: load, generation, sequents,
// simplification, the solver's pass (unless --no-smt) and the result file.
// Prints one line per stage, then the solver's cost per sequent.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "../core/core.h"
#include "../prover/proof.h"
#include "../smt/smt.h"
#include "../vcgen/assump.h"

static double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int main(int argc, char **argv) {
  int smt = !(argc == 4 && !strcmp(argv[1], "--no-smt"));
  if (argc != 3 + !smt) {
    fprintf(stderr, "usage: quell1-stages [--no-smt] PROGRAM OUTPUT\n");
    return 2;
  }
  argv += !smt;
  double t0 = Now();
  if (!StartProg1Checked(argv[1])) return 2;
  double t1 = Now();
  GenerateVerificationCond();
  double t2 = Now();
  AssumptionList2SequentList();
  double t3 = Now();
  SimplifySequentAll();
  double t4 = Now();
  long handed = 0;
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList) handed++;
  double t4a = t4;
  if (smt) {
    SmtValid(nullptr, nullptr);  // Z3 starts: its own line, not counted per sequent
    t4a = Now();
    SmtStatsReset();
    SimplifySequentList(SimplifySequentUseSmt);
  }
  double t5 = Now();
  if (!ResultFileWrite(argv[2])) return 2;
  double t6 = Now();
  printf("load %.3f\ngeneration %.3f\nsequents %.3f\nsimplification %.3f\n", t1 - t0, t2 - t1,
         t3 - t2, t4 - t3);
  if (smt) printf("smt start %.3f\nsmt %.3f\n", t4a - t4, t5 - t4a);
  printf("result %.3f\n", t6 - t5);
  if (smt) {
    SmtStats st = SmtStatsGet();
    printf("smt: %ld sequents (%ld asked of Z3, %ld repeated), %ld proved, %.1f us per sequent, "
           "%.1f us per query\n", handed, st.queries, st.repeated, st.proved,
           handed ? 1e6 * (t5 - t4a) / handed : 0.0, st.queries ? 1e6 * (t5 - t4a) / st.queries : 0.0);
  }
  return 0;
}
