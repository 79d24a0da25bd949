// quell1-batch end to end: result files byte for byte, exit codes, the
// missing-annotation lines, usage and file errors, "-d" and "-q".
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Slurp(const std::string &name) {
  std::stringstream s;
  s << std::ifstream(name, std::ios::binary).rdbuf();
  return s.str();
}
std::string Example(const char *name) { return std::string(QUELL_SOURCE_DIR) + "/examples/" + name + ".q"; }
std::string Expected(const char *name) {
  return Slurp(std::string(QUELL_SOURCE_DIR) + "/tests/data/" + name + ".result");
}
bool Has(const std::string &s, const std::string &part) { return s.find(part) != std::string::npos; }

// Runs the batch program with `args` in a fresh directory of its own.
class Batch : public ::testing::Test {
 protected:
  std::string dir, out;  // the directory; what the last run printed on stdout
  void SetUp() override {
    char d[] = "/tmp/quell-batch-XXXXXX";
    ASSERT_NE(mkdtemp(d), nullptr);
    dir = d;
  }
  void TearDown() override { EXPECT_EQ(system(("rm -rf " + dir).c_str()), 0); }
  std::string In(const char *name) const { return dir + "/" + name; }
  int Run(const std::string &args) {
    int rc = system(("cd " + dir + " && ASAN_OPTIONS=detect_leaks=0 " + QUELL_BATCH + " " + args +
                     " >stdout 2>stderr").c_str());
    out = Slurp(In("stdout"));
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }
  bool Wrote(const char *name) const { return access(In(name).c_str(), F_OK) == 0; }
};

TEST_F(Batch, ResultFilesAndExitCodes) {
  // 0: every condition proved; 1: a condition remains (wrong programs, and
  // right ones beyond the prover's rules).
  struct { const char *name; int status; } rows[] = {
      {"swap", 0},     {"count", 0},      {"calls", 0},     {"vacuous", 0},
      {"maxwrong", 1}, {"countwrong", 1}, {"truefalse", 1}, {"callswrong", 1},
      {"max", 1},      {"arrays", 1},     {"nested", 1}};
  for (auto &r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(Run("-q " + Example(r.name) + " out.txt"), r.status);
    EXPECT_EQ(out, "");
    std::string expected = Expected(r.name);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Slurp(In("out.txt")), expected);
    size_t remaining = expected.find("Remaining Verification Conditions:");
    EXPECT_EQ(Has(expected.substr(remaining), " =>\n  "), r.status == 1);
  }
  // true implies false is not proved: it stays as $T => $F
  EXPECT_TRUE(Has(Expected("truefalse"), "...truefalse...\n\n$T\n =>\n  $F\n\n\n"));
  EXPECT_EQ(Run("-q '{$T}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}' out.txt"), 0);
  EXPECT_TRUE(Has(Slurp(In("out.txt")), "...p...\n\n\n"));  // literal program text
  EXPECT_EQ(Run("-q '{$T}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=2}' out.txt"), 1);
}

TEST_F(Batch, MissingAnnotationsUsageAndFileErrors) {
  EXPECT_EQ(Run(Example("missing") + " out.txt"), 2);
  EXPECT_EQ(out, "missing invariant of (2,4) of procedure second\n"
                 "missing post-condition of third\nmissing pre-condition of third\n");
  EXPECT_FALSE(Wrote("out.txt"));  // nothing is written
  std::string swap = Example("swap");
  struct { std::string args; const char *printed; } rows[] = {
      {"", nullptr}, {swap, nullptr}, {swap + " a b", nullptr}, {"-x " + swap + " out", nullptr},
      {"no-such-file.q out.txt", "no-such-file.q"},
      {swap + " /nonexistent-dir/out.txt", "/nonexistent-dir/out.txt"}};
  for (auto &r : rows) {
    SCOPED_TRACE(r.args);
    EXPECT_EQ(Run(r.args), 2);
    if (r.printed) { EXPECT_TRUE(Has(out, "Error: ") && Has(out, r.printed)) << out; }
  }
  Run("");
  EXPECT_TRUE(Has(Slurp(In("stderr")), "Usage: quell1-batch [-d] [-q] PROGRAM OUTPUT"));
}

TEST_F(Batch, DebugLogHoldsEveryStageInOrder) {
  EXPECT_EQ(Run(Example("count") + " out.txt"), 0);
  EXPECT_FALSE(Wrote("vLog"));  // without -d no log is written
  EXPECT_EQ(Run("-d -q " + Example("count") + " out.txt"), 0);
  std::string log = Slurp(In("vLog"));
  size_t at = 0;
  for (const char *t : {"Prog", "Pre-Post-Conditions", "Verification Conditions", "Init Sequents",
                        "Simplify", "FunAxioms", "Premisses", "FunAxioms", "RemoveEmpty",
                        "Last Sequents"}) {
    std::string line = std::string("----- ") + t + " -----\n\n";
    size_t next = log.find(line, at);
    ASSERT_NE(next, std::string::npos) << t;
    at = next + line.size();
  }
  EXPECT_TRUE(Has(log, "----- Init Sequents -----\n\n...count...\n\n"));
}

TEST_F(Batch, EmptyJunkAndVacuousPrograms) {
  std::ofstream(In("empty.q")) << ";; only a comment\n";
  EXPECT_EQ(Run("empty.q out.txt"), 0);
  EXPECT_EQ(out.substr(0, 39), "Warning: the program holds no procedure");
  EXPECT_EQ(Slurp(In("out.txt")), "Procedures:\n\n;;--------------------------------------\n\n"
                                  "Remaining Verification Conditions:\n\n");
  // Text that could not be read as any procedure: nothing was verified.
  std::ofstream(In("junk.q")) << "junk\n";
  EXPECT_EQ(Run("-q junk.q out.txt"), 1);
  EXPECT_TRUE(Has(out, "Error: "));
  EXPECT_EQ(Slurp(In("out.txt")).substr(0, 13), "Procedures:\n\n");
  EXPECT_EQ(Run(Example("vacuous") + " out.txt"), 0);
  EXPECT_TRUE(Has(out, "Warning: the pre-condition of vacuous is false"));
}

}  // namespace
