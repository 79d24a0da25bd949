// quell1-batch end to end: result files byte for byte, exit codes, the
// missing-annotation lines, usage and file errors, "-d" and "-q".
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string source = QUELL_SOURCE_DIR;

std::string Slurp(const std::string &name) {
  std::ifstream f(name, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

struct Scratch {
  char dir[64];
  Scratch() {
    strcpy(dir, "/tmp/quell-batch-XXXXXX");
    EXPECT_NE(mkdtemp(dir), nullptr);
  }
  ~Scratch() {
    std::string cmd = std::string("rm -rf ") + dir;
    EXPECT_EQ(system(cmd.c_str()), 0);
  }
  std::string Path(const char *name) const { return std::string(dir) + "/" + name; }
};

// Runs the batch program in dir; returns its exit status, stdout in *out.
int Batch(const Scratch &s, const std::string &args, std::string *out) {
  std::string cmd = "cd " + std::string(s.dir) + " && ASAN_OPTIONS=detect_leaks=0 " + QUELL_BATCH +
                    " " + args + " >" + s.Path("stdout") + " 2>" + s.Path("stderr");
  int rc = system(cmd.c_str());
  if (out) *out = Slurp(s.Path("stdout"));
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string Example(const char *name) { return source + "/examples/" + name + ".q"; }

void ExpectResult(const char *name, int status) {
  Scratch s;
  std::string out;
  EXPECT_EQ(Batch(s, "-q " + Example(name) + " out.txt", &out), status) << name;
  EXPECT_EQ(out, "") << name;
  EXPECT_EQ(Slurp(s.Path("out.txt")), Slurp(source + "/tests/data/" + name + ".result")) << name;
}

TEST(Batch, RightProgramsAreProved) {
  ExpectResult("swap", 0);
  ExpectResult("count", 0);
  ExpectResult("calls", 0);
  ExpectResult("vacuous", 0);
}

TEST(Batch, WrongProgramsKeepAConditionOrMore) {
  const char *wrong[] = {"maxwrong", "countwrong", "truefalse", "callswrong"};
  for (const char *w : wrong) {
    ExpectResult(w, 1);
    std::string r = Slurp(source + "/tests/data/" + w + ".result");
    EXPECT_NE(r.find(" =>\n  ", r.find("Remaining Verification Conditions:")), std::string::npos) << w;
  }
  // true implies false is not proved: it stays as $T => $F
  EXPECT_NE(Slurp(source + "/tests/data/truefalse.result").find("...truefalse...\n\n$T\n =>\n  $F\n\n\n"),
            std::string::npos);
}

TEST(Batch, ValidButBeyondTheRules) {
  ExpectResult("max", 1);
  ExpectResult("arrays", 1);
  ExpectResult("nested", 1);
}

TEST(Batch, MissingAnnotationsAreListedAndNothingIsWritten) {
  Scratch s;
  std::string out;
  EXPECT_EQ(Batch(s, Example("missing") + " out.txt", &out), 2);
  EXPECT_EQ(out,
            "missing invariant of (2,4) of procedure second\n"
            "missing post-condition of third\n"
            "missing pre-condition of third\n");
  struct stat st;
  EXPECT_NE(stat(s.Path("out.txt").c_str(), &st), 0);
  EXPECT_EQ(Batch(s, "-q " + Example("noinv") + " out.txt", &out), 2);
  EXPECT_EQ(out, "missing invariant of (2,4) of procedure noinv\n");
  EXPECT_NE(stat(s.Path("out.txt").c_str(), &st), 0);
}

TEST(Batch, UsageAndFileErrors) {
  Scratch s;
  std::string out;
  EXPECT_EQ(Batch(s, "", &out), 2);
  EXPECT_NE(Slurp(s.Path("stderr")).find("Usage: quell1-batch [-d] [-q] PROGRAM OUTPUT"), std::string::npos);
  EXPECT_EQ(Batch(s, Example("swap"), &out), 2);
  EXPECT_EQ(Batch(s, Example("swap") + " a b", &out), 2);
  EXPECT_EQ(Batch(s, "-x " + Example("swap") + " out.txt", &out), 2);
  EXPECT_EQ(Batch(s, "no-such-file.q out.txt", &out), 2);
  EXPECT_NE(out.find("Error: "), std::string::npos);
  EXPECT_NE(out.find("no-such-file.q"), std::string::npos);
  EXPECT_EQ(Batch(s, Example("swap") + " /nonexistent-dir/out.txt", &out), 2);
  EXPECT_NE(out.find("Error: "), std::string::npos);
  EXPECT_NE(out.find("/nonexistent-dir/out.txt"), std::string::npos);
}

TEST(Batch, LiteralProgramText) {
  Scratch s;
  std::string out;
  EXPECT_EQ(Batch(s, "-q '{$T}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}' out.txt", &out), 0);
  EXPECT_NE(Slurp(s.Path("out.txt")).find("...p...\n\n\n"), std::string::npos);
  EXPECT_EQ(Batch(s, "-q '{$T}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=2}' out.txt", &out), 1);
}

TEST(Batch, DebugLogHoldsEveryStageInOrder) {
  Scratch s;
  std::string out;
  EXPECT_EQ(Batch(s, "-d -q " + Example("count") + " out.txt", &out), 0);
  std::string log = Slurp(s.Path("vLog"));
  const char *titles[] = {"Prog", "Pre-Post-Conditions", "Verification Conditions", "Init Sequents",
                          "Simplify", "FunAxioms", "Premisses", "FunAxioms", "RemoveEmpty",
                          "Last Sequents"};
  size_t at = 0;
  for (const char *t : titles) {
    std::string line = std::string("----- ") + t + " -----\n\n";
    size_t next = log.find(line, at);
    EXPECT_NE(next, std::string::npos) << t;
    if (next != std::string::npos) at = next + line.size();
  }
  EXPECT_NE(log.find("----- Init Sequents -----\n\n...count...\n\n"), std::string::npos);
  // without -d no log is written
  Scratch t;
  EXPECT_EQ(Batch(t, Example("count") + " out.txt", &out), 0);
  struct stat st;
  EXPECT_NE(stat(t.Path("vLog").c_str(), &st), 0);
}

TEST(Batch, EmptyProgram) {
  Scratch s;
  std::string out;
  std::ofstream(s.Path("empty.q")) << ";; only a comment\n";
  EXPECT_EQ(Batch(s, "empty.q out.txt", &out), 0);
  EXPECT_EQ(out.substr(0, 39), "Warning: the program holds no procedure");
  EXPECT_EQ(Slurp(s.Path("out.txt")),
            "Procedures:\n\n;;--------------------------------------\n\n"
            "Remaining Verification Conditions:\n\n");
  // text that could not be read as any procedure: nothing was verified
  std::ofstream(s.Path("junk.q")) << "junk\n";
  EXPECT_EQ(Batch(s, "-q junk.q out.txt", &out), 1);
  EXPECT_NE(out.find("Error: "), std::string::npos);
  EXPECT_EQ(Slurp(s.Path("out.txt")).substr(0, 13), "Procedures:\n\n");
}

TEST(Batch, VacuousPreconditionWarning) {
  Scratch s;
  std::string out;
  EXPECT_EQ(Batch(s, Example("vacuous") + " out.txt", &out), 0);
  EXPECT_NE(out.find("Warning: the pre-condition of vacuous is false"), std::string::npos);
  EXPECT_EQ(Batch(s, "-q " + Example("vacuous") + " out.txt", &out), 0);
  EXPECT_EQ(out, "");
}

}  // namespace
