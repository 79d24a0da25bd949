// quell1-batch end to end: result files byte for byte, exit codes, the
// missing-annotation lines, usage and file errors, "-d" and "-q".
#include <filesystem>
#include "coretest.h"

static std::string Example(const std::string &name) { return QUELL_SOURCE_DIR "/examples/" + name + ".q"; }
using Batch = InTmpDir;

TEST_F(Batch, ResultFilesAndExitCodesInBothModes) {
  // 0: every condition proved; 1: a condition remains (wrong programs, and
  // right ones beyond the prover's rules). With the solver (the default) the
  // right ones are proved; the file NAME.smt.result holds what it writes when
  // that differs from NAME.result, which --no-smt writes.
  struct { const char *name; int status, smtStatus; } rows[] = {
      {"swap", 0, 0},     {"count", 0, 0},       {"calls", 0, 0},      {"vacuous", 0, 0},
      {"maxwrong", 1, 1}, {"countwrong", 1, 1},  {"truefalse", 1, 1},  {"callswrong", 1, 1},
      {"max", 1, 0},      {"arrays", 1, 0},      {"nested", 1, 0},     {"quant", 1, 0},
      {"overwrite", 1, 0}, {"arrswap", 1, 0},   {"arrayswrong", 1, 1}, {"quantwrong", 1, 1}};
  for (auto &r : rows) {
    SCOPED_TRACE(r.name);
    std::string data = QUELL_SOURCE_DIR "/tests/data/" + std::string(r.name);
    EXPECT_EQ(Run("-q --no-smt " + Example(r.name) + " out.txt"), r.status);
    EXPECT_EQ(out, "");
    std::string expected = Slurp(data + ".result");
    EXPECT_EQ(Slurp("out.txt"), expected);
    EXPECT_EQ(Has(expected.substr(expected.find("Remaining Verification Conditions:")), " =>\n  "),
              r.status == 1);
    // A result file loads again as its procedures and gives the same file.
    EXPECT_EQ(Run("-q --no-smt out.txt again.txt"), r.status);
    EXPECT_EQ(out, "");
    EXPECT_EQ(Slurp("again.txt"), expected);
    EXPECT_EQ(Run("-q " + Example(r.name) + " out.txt"), r.smtStatus);
    std::string smt = Slurp(data + ".smt.result");
    EXPECT_EQ(Slurp("out.txt"), smt.empty() ? expected : smt);
    EXPECT_EQ(smt.empty(), r.status == r.smtStatus);
  }
  // Every result file of tests/data is compared above (NAME.smt.result too).
  int files = 0, compared = 0;
  for (auto &f : std::filesystem::directory_iterator(QUELL_SOURCE_DIR "/tests/data"))
    files += f.path().extension() == ".result";
  for (auto &r : rows) compared += 1 + (r.status != r.smtStatus);
  EXPECT_EQ(files, compared);
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
                          : Has(err, "Usage: quell1-batch [OPTION]... PROGRAM OUTPUT")) << out << err;
  }
}

TEST_F(Batch, DebugLogHoldsEveryStageInOrder) {
  EXPECT_EQ(Run(Example("count") + " out.txt"), 0);
  EXPECT_NE(access("vLog", F_OK), 0);  // without -d no log is written
  // Every entry once, in the order of the stages, and no other; the
  // solver's entry only when it runs.
  for (const char *mode : {"--no-smt ", ""}) {
    EXPECT_EQ(Run("-d -q " + std::string(mode) + Example("count") + " out.txt"), 0);
    std::string log = Slurp("vLog"), titles, l;
    for (std::istringstream lines(log); std::getline(lines, l);)
      if (l.size() > 12 && !l.compare(0, 6, "----- ") && !l.compare(l.size() - 6, 6, " -----"))
        titles += l.substr(6, l.size() - 12) + ",";
    EXPECT_EQ(titles, "Prog,Pre-Post-Conditions,Verification Conditions,Init Sequents,Simplify,"
                      "FunAxioms,Premisses,FunAxioms,RemoveEmpty," + std::string(*mode ? "" : "SMT,") +
                      "Last Sequents,");
  }
  std::string log = Slurp("vLog");
  EXPECT_TRUE(Has(log, "----- Init Sequents -----\n\n...count...\n\n"));
}

TEST_F(Batch, CounterexamplesFromTheSolverAndItsOptions) {
  // Wrong programs with arrays, a quantified pre-condition and an unknown
  // function get lines only with the solver; right ones need it to be proved.
  Write("fw.q", "{$T}%PROC fw(%IOP/x:int)==%STM[LB=1=>$Ox=f(x)^$OLB=2;]{x>0}");
  struct { std::string prog; const char *line; } rows[] = {
      {Example("arrayswrong"), "arrayswrong.q:4: zerowrong: condition 1 (body of zerowrong against its post-condition) fails for i="},
      {Example("quantwrong"), "quantwrong.q:3: decwrong: condition 1 (body of decwrong against its post-condition) fails for i="},
      {"fw.q", "fw.q:1: fw: condition 1 (body of fw against its post-condition) fails for x="}};
  for (auto &r : rows) {
    SCOPED_TRACE(r.prog);
    EXPECT_EQ(Run("--no-smt " + r.prog + " out.txt"), 1);
    EXPECT_EQ(out, "conditions remaining: 1, refuted: 0, without verdict: 1\n");
    EXPECT_EQ(Run(r.prog + " out.txt"), 1);
    EXPECT_TRUE(Has(out, r.line)) << out;
    EXPECT_TRUE(Has(out, "\nconditions remaining: 1, refuted: 1, without verdict: 0, proved by the solver: 0\n"))
        << out;
  }
  EXPECT_TRUE(Has(out, ", f(") && Has(out, " (chosen)\n")) << out;
  EXPECT_EQ(Run(Example("arrayswrong") + " out.txt"), 1);
  EXPECT_TRUE(Has(out, ", a[")) << out;   // the entry of a that the condition reads
  EXPECT_EQ(Run(Example("nested") + " out.txt"), 0);
  EXPECT_TRUE(Has(out, "conditions remaining: 0, refuted: 0, without verdict: 0, proved by the solver: ")) << out;
  // The budget: too small to prove anything, the same file as without the solver.
  for (const char *opt : {"--smt-rlimit=1 ", "--smt-rlimit 1 "}) {
    EXPECT_EQ(Run(opt + Example("max") + " out.txt"), 1);
    EXPECT_EQ(Slurp("out.txt"), Slurp(QUELL_SOURCE_DIR "/tests/data/max.result"));
  }
  EXPECT_EQ(Run("--smt-rlimit=200000 " + Example("max") + " out.txt"), 0);
  for (const char *bad : {"--smt-rlimit=x ", "--smt-rlimit=0 ", "--smt-rlimit=99999999999 ", "--smt-rlimit"}) {
    EXPECT_EQ(Run(bad + Example("max") + " out.txt"), 2) << bad;
    EXPECT_TRUE(Has(out + err, "--smt-rlimit")) << bad << out << err;
  }
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
  // A pre-condition that no values satisfy: the solver says so, and proves
  // the procedure; the five passes alone do neither.
  const char *never = " '{x>0^0>x}%PROC v(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{x=2}' out.txt";
  EXPECT_EQ(Run(never), 0);
  EXPECT_TRUE(Has(out, "Warning: the pre-condition of v is false; the procedure is verified vacuously\n"));
  EXPECT_EQ(Run(std::string("--no-smt") + never), 1);
  EXPECT_FALSE(Has(out, "Warning"));
}

TEST_F(Batch, WrongProgramsKeepAnOpenCondition) {
  // Each program is wrong for some input; its condition must stay, as printed, and the
  // result file keeps every statement.
  struct { const char *name, *program, *condition, *said = ""; } rows[] = {
      // The update index i is the outer i: the quantifier's own i is renamed.
      {"captured update index",
       "{$T}%PROC captarr(%INP/i:int;%IOP/a:array)==%STM[LB=1=>$Oa[i]=1^$OLB=2;]{$Ai:a[i]=1}",
       "$T\n =>\n  $A#@a:a[[(i)->1]][#@a]=1\n"},
      // The quantifier binds a in every role: its a[1] is not the array set to 5.
      {"bound name as an array",
       "{a[1]=0}%PROC bound1(%IOP/a:array)==%STM[LB=1=>$Oa[1]=5^$OLB=2;]{$Aa:a[1]=0}",
       "a[1]=0\n =>\n  $Aa:a[1]=0\n"},
      // (m+1)! = (m+1)*m! is false at m = -1: no unfolding of !(+1(m)) at a non-numeral.
      {"factorial of a successor",
       "{m=-1}%PROC factbug(%INP/m:int;%IOP/f:int)==%STM[LB=1=>$Of=*(+1(m),!(m))^$OLB=2;]"
       "{f=!(+1(m))}",
       "$T\n =>\n  *(+1(-1),!(-1))=!(+1(-1))\n"},
      // f=!(i) is not inductive without ~(0>i).
      {"factorial loop",
       "{n>0}%PROC fact(%INP/n:int;%IOP/f:int;%IOP/i:int)==%STM[LB=1=>$Oi=0^$Of=1^$OLB=2;"
       "*[LB=2^~(i=n)=>($OLB=3|$OLB=5)LB=3=>$Oi=+1(i)^$Of=*(+1(i),f)^$OLB=2;{f=!(i)}]]{f=!(n)}",
       "$T\n =>\n  i=n,*(+1(i),!(i))=!(+1(i))\n"},
      // Statements that do not chain: a read error, not a shorter program.
      {"later chain first",
       "{x=5}%PROC order(%IOP/x:int;%IOP/y:int)==%STM[LB=3=>$Ox=0^$OLB=4;LB=1=>$Oy=1^$OLB=3;]{x=5^y=1}",
       "$T\n =>\n  $F\n", "Error: procedure order: statements (3,4) are cut off"},
      {"two chains",
       "{x=5}%PROC order(%IOP/x:int;%IOP/y:int)==%STM[LB=1=>$Ox=0^$OLB=2;LB=3=>$Oy=1^$OLB=4;]{y=1}",
       "$T\n =>\n  $F\n", "Error: procedure order: statements (1,2) are cut off"},
  };
  // A read error is never a success, even where a false pre-condition proves
  // the open condition of what was read.
  Write("p.q", "{$F}%PROC rd(%IOP/x:int)==%STM[LB=3=>$Ox=0^$OLB=4;LB=1=>$Ox=1^$OLB=3;]{x=0}");
  EXPECT_EQ(Run("-q p.q out.txt"), 1);
  EXPECT_EQ(Run("-q --no-smt p.q out.txt"), 1);
  for (auto &r : rows) {
    SCOPED_TRACE(r.name);
    Write("p.q", r.program);
    EXPECT_EQ(Run("-q p.q out.txt"), 1);
    std::string result = Slurp("out.txt");
    EXPECT_TRUE(Has(result, r.condition)) << result;
    EXPECT_TRUE(*r.said ? Has(out, r.said) : out.empty()) << out;
    int statements = 0;
    for (size_t i = 0; (i = std::string(r.program).find("$OLB=", i + 1)) != std::string::npos;) statements++;
    for (size_t i = 0; (i = result.find("$OLB=", i + 1)) != std::string::npos;) statements--;
    EXPECT_EQ(statements, 0) << result;
  }
}
