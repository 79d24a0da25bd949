// quell1-batch end to end: result files byte for byte, exit codes, the
// missing-annotation lines, usage and file errors, "-d" and "-q".
#include "coretest.h"

static std::string Example(const std::string &name) { return QUELL_SOURCE_DIR "/examples/" + name + ".q"; }
using Batch = InTmpDir;

TEST_F(Batch, ResultFilesAndExitCodes) {
  // 0: every condition proved; 1: a condition remains (wrong programs, and
  // right ones beyond the prover's rules).
  struct { const char *name; int status; } rows[] = {
      {"swap", 0},     {"count", 0},      {"calls", 0},     {"vacuous", 0},
      {"maxwrong", 1}, {"countwrong", 1}, {"truefalse", 1}, {"callswrong", 1},
      {"max", 1},      {"arrays", 1},     {"nested", 1}};
  for (auto &r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(Run("-q --no-smt " + Example(r.name) + " out.txt"), r.status);
    EXPECT_EQ(out, "");
    std::string expected = Slurp(QUELL_SOURCE_DIR "/tests/data/" + std::string(r.name) + ".result");
    EXPECT_EQ(Slurp("out.txt"), expected);
    EXPECT_EQ(Has(expected.substr(expected.find("Remaining Verification Conditions:")), " =>\n  "),
              r.status == 1);
  }
  // true implies false is not proved: it stays as $T => $F
  EXPECT_TRUE(Has(Slurp(QUELL_SOURCE_DIR "/tests/data/truefalse.result"),
                  "...truefalse...\n\n$T\n =>\n  $F\n\n\n"));
  EXPECT_EQ(Run("-q '{$T}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=1}' out.txt"), 0);
  EXPECT_TRUE(Has(Slurp("out.txt"), "...p...\n\n\n"));  // literal program text
}

// --infer writes the suggestion into the program as if typed: the result file
// is the one of the same program with the invariant written in.
TEST_F(Batch, InferredInvariantIsVerifiedAndWritten) {
  EXPECT_EQ(Run("--infer " + Example("noinv") + " out.txt"), 0);
  std::string line = "noinv: invariant of (2,4): ";
  size_t at = out.find(line);
  ASSERT_NE(at, std::string::npos) << out;
  EXPECT_TRUE(Has(out, "conditions remaining: 0,")) << out;
  std::string inv = out.substr(at + line.size(), out.find('\n', at) - at - line.size());
  std::string inferred = Slurp("out.txt"), text = Slurp(Example("noinv"));
  text.insert(text.find("  ]"), "{" + inv + "}\n");
  Write("typed.q", text);
  EXPECT_EQ(Run("typed.q out.txt"), 0);
  EXPECT_EQ(inferred, Slurp("out.txt"));
}

TEST_F(Batch, MissingAnnotationsUsageAndFileErrors) {
  EXPECT_EQ(Run(Example("missing") + " out.txt"), 2);
  EXPECT_EQ(out, "missing invariant of (2,4) of procedure second (--infer can suggest one)\n"
                 "missing post-condition of third\nmissing pre-condition of third\n");
  EXPECT_NE(access("out.txt", F_OK), 0);  // nothing is written
  // --infer: the loop gets a suggestion, printed; the other procedure still lacks both.
  EXPECT_EQ(Run("--infer " + Example("missing") + " out.txt"), 2);
  EXPECT_TRUE(Has(out, "second: invariant of (2,4): ") && !Has(out, "missing invariant") &&
              Has(out, "missing post-condition of third\n")) << out;
  mkdir("dir", 0700);
  std::string swap = Example("swap");
  struct { std::string args; const char *printed; } rows[] = {  // printed: the Error line names it
      {"", nullptr}, {swap, nullptr}, {swap + " a b", nullptr}, {"-x " + swap + " out", nullptr},
      {"no-such-file.q out.txt", "no-such-file.q"}, {"dir out.txt", "dir"},
      {swap + " /nonexistent-dir/out.txt", "/nonexistent-dir/out.txt"}};
  for (auto &r : rows) {
    SCOPED_TRACE(r.args);
    EXPECT_EQ(Run(r.args), 2);
    EXPECT_TRUE(r.printed ? Has(out, "Error: ") && Has(out, r.printed)
                          : Has(err, "Usage: quell1-batch [-d] [-q] [--no-smt] [--smt-rlimit=N] "
                                     "[--infer] PROGRAM OUTPUT"))
        << out << err;
  }
}

TEST_F(Batch, DebugLogHoldsEveryStageInOrder) {
  EXPECT_EQ(Run(Example("count") + " out.txt"), 0);
  EXPECT_NE(access("vLog", F_OK), 0);  // without -d no log is written
  EXPECT_EQ(Run("-d -q --no-smt " + Example("count") + " out.txt"), 0);
  // Every entry once, in the order of the stages, and no other.
  std::string log = Slurp("vLog"), titles, l;
  for (std::istringstream lines(log); std::getline(lines, l);)
    if (l.size() > 12 && !l.compare(0, 6, "----- ") && !l.compare(l.size() - 6, 6, " -----"))
      titles += l.substr(6, l.size() - 12) + ",";
  EXPECT_EQ(titles, "Prog,Pre-Post-Conditions,Verification Conditions,Init Sequents,Simplify,"
                    "FunAxioms,Premisses,FunAxioms,RemoveEmpty,Last Sequents,");
  EXPECT_TRUE(Has(log, "----- Init Sequents -----\n\n...count...\n\n"));
}

TEST_F(Batch, EmptyJunkAndVacuousPrograms) {
  Write("empty.q", ";; only a comment\n");
  EXPECT_EQ(Run("empty.q out.txt"), 0);
  EXPECT_EQ(out.substr(0, 39), "Warning: the program holds no procedure");
  EXPECT_EQ(Slurp("out.txt"), "Procedures:\n\n;;--------------------------------------\n\n"
                              "Remaining Verification Conditions:\n\n");
  // Text that could not be read as any procedure: nothing was verified.
  Write("junk.q", "junk\n");
  EXPECT_EQ(Run("-q junk.q out.txt"), 1);
  EXPECT_TRUE(Has(out, "Error: ") && Slurp("out.txt").substr(0, 13) == "Procedures:\n\n");
  EXPECT_EQ(Run(Example("vacuous") + " out.txt"), 0);
  EXPECT_TRUE(Has(out, "Warning: the pre-condition of vacuous is false"));
}
