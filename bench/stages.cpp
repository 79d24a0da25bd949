// Times each stage of one headless run: load, generation, sequents,
// simplification and the result file. Prints one line per stage.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "../core/core.h"
#include "../prover/proof.h"
#include "../vcgen/assump.h"

static double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: quell1-stages PROGRAM OUTPUT\n");
    return 2;
  }
  double t0 = Now();
  if (!StartProg1Checked(argv[1])) return 2;
  double t1 = Now();
  GenerateVerificationCond();
  double t2 = Now();
  AssumptionList2SequentList();
  double t3 = Now();
  SimplifySequentAll();
  double t4 = Now();
  if (!ResultFileWrite(argv[2])) return 2;
  double t5 = Now();
  printf("load %.3f\ngeneration %.3f\nsequents %.3f\nsimplification %.3f\nresult %.3f\n",
         t1 - t0, t2 - t1, t3 - t2, t4 - t3, t5 - t4);
  return 0;
}
