// Helpers of the core tests: files, and a fresh working directory per test in
// which quell1-batch runs.
#pragma once
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>


#include <map>

#include "../testutil.h"

inline void Write(const std::string &name, const std::string &text) { std::ofstream(name) << text; }

// Each test runs in a temporary directory of its own, so files such as vLog
// and out.txt never collide with tests running at the same time.
class InTmpDir : public ::testing::Test {
 protected:
  char dir[64] = "/tmp/quell-core-XXXXXX", old[4096] = "";
  std::string out, err;  // what the last Run printed on stdout and stderr
  void SetUp() override { ASSERT_TRUE(mkdtemp(dir) && getcwd(old, sizeof old) && !chdir(dir)); }
  void TearDown() override { EXPECT_TRUE(!chdir(old) && !system((std::string("rm -rf ") + dir).c_str())); }
  // quell1-batch with `args`: its exit status (128 + signal if killed); a sanitizer report fails.
  int Run(const std::string &args) {
    int st = system(("ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1 "
                     "timeout 120 " QUELL_BATCH " " + args + " >stdout 2>stderr").c_str());
    out = Slurp("stdout"), err = Slurp("stderr");
    EXPECT_FALSE(Has(err, "Sanitizer") || Has(err, "runtime error")) << err.substr(0, 4000);
    return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
  }
};
