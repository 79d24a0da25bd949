// The result files of the benchmark programs and of the fuzz seeds are pinned
// by their checksums: changes to allocation, lookups and printing must leave
// every byte as it was (the examples are compared in full by test_batch).
#include "coretest.h"

static std::string Sha256(const std::string &file) {
  FILE *p = popen(("sha256sum " + file + " 2>/dev/null").c_str(), "r");
  char sum[65] = "";
  if (p) {
    if (fscanf(p, "%64s", sum) != 1) sum[0] = 0;
    pclose(p);
  }
  return sum;
}

using Outputs = InTmpDir;

TEST_F(Outputs, BenchmarkAndSeedResultsAreByteForByteThoseOfBefore) {
  // five passes (--no-smt), then with the solver pass
  struct { std::string program; const char *mode; int status; const char *sum; } rows[] = {
      {"bench 125", "--no-smt", 1, "76db2b8865746c9fa6cc7ff4c1f51891a57526d64b0e5e3dfee7b7a485324255"},
      {"bench 1000", "--no-smt", 1, "9c27ca655e3e3556c83740324cdc2966ac98cf73c3da68cd9c6c200342cd473d"},
      {"array.q", "--no-smt", 1, "721b20529aecd82d470778f6cde55c04ce888aefcd6bac582e94359efa2fecdb"},
      {"call.q", "--no-smt", 1, "a3abf66c6dc3dd8a02a20c5c5c5f4bcf63baab83adbf499d8b5f923e4fd2b649"},
      {"cases.q", "--no-smt", 1, "dbdc71a5897aec22c5ac9b38265afe41b2df8149455608995ac566c2ae8bc20c"},
      {"nopost.q", "--no-smt", 2, ""},
      {"quant.q", "--no-smt", 1, "c66178df553035125294c905c88fd25ea70e795fac596d264c049baec3281992"},
      {"swap.q", "--no-smt", 0, "7304783435144fa58f0e52540f92272462e20d611194585ae2dac7a6bb70285a"},
      {"bench 125", "", 1, "12d8620788319f6bb23524e0d6f7161d21f7d2f780891d8271ea40c11c287fe3"},
      {"bench 1000", "", 1, "591bcd3c535e481bf290ed9df12b03e743226882db796a793b65e36773431873"},
      {"array.q", "", 0, "028cba3a3037278286e493e2c04d72d6c88177af341135dab0772c2154611eae"},
      {"call.q", "", 0, "984e00b541215aad65ffd17051d8eb2da12d0728cd02a9cf025de62f7f8f8c84"},
      {"cases.q", "", 0, "7eb93ae5dbb2b129b12af33e89e4d88bef033b2555226bbee187e77f729cee38"},
      {"quant.q", "", 0, "5fdff9503fd65e8c21d741b89c8554e8045d5a9bbfa14e73aecd48edcd1f9838"},
      {"swap.q", "", 0, "7304783435144fa58f0e52540f92272462e20d611194585ae2dac7a6bb70285a"},
  };
  for (auto &r : rows) {
    SCOPED_TRACE(r.program + " " + r.mode);
    std::string prog = QUELL_SOURCE_DIR "/fuzz/seeds/program/" + r.program;
    if (r.program.rfind("bench ", 0) == 0) {
      prog = "prog.q";
      ASSERT_EQ(system(("python3 " QUELL_SOURCE_DIR "/bench/gen.py " + r.program.substr(6) + " >prog.q").c_str()), 0);
    }
    unlink("out.txt");
    EXPECT_EQ(Run(std::string("-q ") + r.mode + " " + prog + " out.txt"), r.status);
    EXPECT_EQ(Sha256("out.txt"), r.sum);
  }
}

// No example leaves a block that nothing points to any more (valgrind's
// definite leaks): the run's records go with the pool at exit.
TEST_F(Outputs, NoDefiniteLeaksOnTheExamples) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "valgrind does not run sanitizer builds";
#else
  if (system("valgrind --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no valgrind";
  for (const char *name : {"arrays", "calls", "callswrong", "count", "nested", "swap", "truefalse"}) {
    SCOPED_TRACE(name);
    std::string cmd = "valgrind -q --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite --error-exitcode=9 " QUELL_BATCH
                      " -q " QUELL_SOURCE_DIR "/examples/" + std::string(name) + ".q out.txt >/dev/null 2>vg.txt";
    int st = system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) != 9) << Slurp("vg.txt");
    EXPECT_EQ(Slurp("vg.txt"), "");
  }
#endif
}
