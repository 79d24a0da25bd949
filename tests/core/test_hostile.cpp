// Hostile inputs: program texts through quell1-batch (missing files and
// directories: test_batch) and formulas nested far deeper than a program block
// allows (typed axioms and answers have no length limit).
#include <sys/resource.h>
#include <chrono>
#include <random>

#include "../../formula/formula.h"
#include "../../prover/proof.h"
#include "coretest.h"

template <class F> static std::string Repeat(int n, F f) {
  std::string s;
  for (int i = 0; i < n; i++) s += f(i);
  return s;
}
static std::string Rep(int n, const std::string &s) { return Repeat(n, [&](int) { return s; }); }
static std::string Proc(const std::string &name, const std::string &block,
                        const std::string &params = "%IOP/x:int") {
  return "{x>0}\n%PROC " + name + "(" + params + ")==\n%STM [\n" + block + "]\n{x>0}\n";
}
static std::string Step(int i, const std::string &what) {  // LB=i+1=>what^$OLB=i+2;
  return "LB=" + std::to_string(i + 1) + "=>" + what + "^$OLB=" + std::to_string(i + 2) + ";";
}
// The procedures of a result file in order, "!" after those that keep an open condition.
static std::string Summary(const std::string &r) {
  std::string s;
  size_t rest = r.find("Remaining Verification Conditions:");
  for (size_t at = 0; (at = r.find("\n%PROC ", at)) < rest; at++) {
    std::string name = r.substr(at + 7, r.find('(', at) - at - 7);
    size_t b = r.find("\n..." + name + "...\n", rest), e = r.find("\n...", b + 1);
    s += name + (b != std::string::npos && Has(r.substr(b, e - b), "=>") ? "! " : " ");
  }
  return s;
}

using Hostile = InTmpDir;

// One text per kind: each run ends by itself in bounded time, says "Error: ..."
// where the text was unusable, gives no sanitizer report, keeps exactly the
// procedures that were read, and never shows a condition as proved that was not.
TEST_F(Hostile, EveryKindEndsCleanAndNothingIsWronglyProved) {
  std::mt19937 g(1);
  std::string bytes = Repeat(6000, [&](int) { return std::string(1, static_cast<char>(g() & 255)); });
  const std::string alphabet = "LB=$O^;[]?*()|~{}%PROCSTMINP/:,+<>#@x1 \n";
  std::string notation = Repeat(6000, [&](int) { return std::string(1, alphabet[g() % alphabet.size()]); });
  // Thirty cases in a row: each copies the post-condition into both branches.
  std::string cases = Repeat(30, [](int i) {
    auto l = [&](int k) { return std::to_string(3 * i + k); };  // the case's labels
    return "?[LB=" + l(1) + "^x>" + std::to_string(i) + "=>$OLB=" + l(2) + "|~=>$OLB=" + l(3) + ";LB=" +
           l(2) + "=>$OLB=" + l(4) + ";LB=" + l(3) + "=>$OLB=" + l(4) + ";]";
  });
  // ok proves; it follows the hostile text to show that what comes after is still read.
  const std::string skip = "LB=1=>$Ox=x^$OLB=2;", ok = Proc("ok", skip), x300(300, 'x');
  // errors: at least so many; procs: as Summary gives them; printed must appear, with a leading
  // "!" it must not (a condition cut for size or made unknown is not claimed to fail either).
  struct { const char *kind; std::string text; int status, errors; const char *procs, *printed; } rows[] = {
      {"empty", "", 0, 0, "", ""},
      {"comments only", ";; only\n;;comments\n;;\n", 0, 0, "", ""},
      {"random bytes", bytes, 1, 1, "", ""},
      {"random notation", notation, 1, 1, "", ""},
      {"long name", Proc(std::string(5000, 'n'), skip) + ok, 0, 1, "ok ", ""},
      {"long label pair", Proc("lab", "LB=" + Rep(100, "1") + "=>$Ox=+(x,1)^$OLB=" + Rep(100, "2") + ";") +
           ok, 1, 1, "lab! ok ", ""},
      {"long parameter fields", Proc("par", skip, "%IOP/" + x300 + ":" + Rep(300, "t")) +
           Proc("par2", skip, Rep(300, "%") + "/x:int") + ok, 1, 2, "par! par2! ok ", ""},
      // The assertion cannot be used, so the verifier asks for the pre-condition.
      {"deep parentheses", "{" + Rep(1900, "(") + "x>0" + Rep(1900, ")") + "}%PROC deep(%IOP/x:int)==%STM[" +
           skip + "]{x>0}\n" + ok, 2, 1, "", "missing pre-condition of deep"},
      // Nesting that fits the limits is read in full.
      {"fitting depth", "{" + Rep(1000, "(") + "x>0" + Rep(1000, ")") + "}%PROC fit(%IOP/x:int)==%STM[" +
           skip + "]{x>0|" + Rep(300, "+(") + "x" + Rep(300, ",0)") + "=0}", 0, 0, "fit ", ""},
      {"unclosed case bracket", Proc("u4", "?[LB=1^x>0=>$OLB=2|~=>$OLB=3;LB=2=>$Ox=x^$OLB=4;"), 1, 1, "", ""},
      {"unclosed loop bracket", Proc("u5", "*[LB=1^x>0=>($OLB=2|$OLB=3)LB=2=>$Ox=x^$OLB=1;"), 1, 1, "", ""},
      {"unclosed block", "{x>0}%PROC u6(%IOP/x:int)==%STM[" + skip + "{x>0}\n" + ok, 1, 1, "", ""},
      {"unclosed braces", "{x>0%PROC u7(%IOP/x:int)==%STM[" + skip + "]{x>0\n", 1, 1, "", ""},
      {"unclosed parameters", "{x>0}%PROC u8(%IOP/x:int==%STM[" + skip + "]{x>0}\n", 1, 1, "", ""},
      {"unclosed term", Proc("u9", "LB=1=>$Ox=+(x,1^$OLB=2;"), 1, 1, "u9! ", ""},
      {"lone %PROC", "%PROC", 1, 1, "", ""},
      {"over-long block", ok + Proc("big", Repeat(400, [](int i) { return Step(i, "$Ox=+(x,1)") + "\n"; })) +
           Proc("after", skip), 1, 1, "ok big! after ", ""},
      // x := +(x,x) thirty times: the term doubles with every statement.
      {"30 doublings", Proc("dbl", Repeat(30, [](int i) { return Step(i, "$Ox=+(x,x)"); })) + ok,
       1, 1, "dbl! ok ", "!dbl: condition"},
      {"30 cases", "{x>0}%PROC cs(%IOP/x:int)==%STM[" + cases + "]{x>0}\n" + ok,
       1, 1, "cs! ok ", "!cs: condition"},
      {"missing callee", Proc("mc", "LB=1=>nothere(%IOP/x|x)^$OLB=2;") + ok,
       1, 1, "mc! ok ", "!mc: condition"},
      {"bad io texts", Proc("bio", "LB=1=>ok(%IOQ/x|x;%INP)^$OLB=2;") +
           Proc("bio2", skip, "%XYZ/x:int;%IOP/y;%INP") + Proc("bio3", "LB=1=>ok(%IOP/x|x;%INP/)^$OLB=2;") +
           Proc("bio4", "LB=1=>ok(%IOP/)^$OLB=2;") + Proc("bio5", "LB=1=>ok(%IOP" + x300 + ")^$OLB=2;") + ok,
       1, 5, "bio! bio2! bio3! bio4! bio5! ok ", ""},
  };
  for (auto &k : rows) {
    SCOPED_TRACE(k.kind);
    Write("prog.q", k.text);
    unlink("out.txt");
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(Run("prog.q out.txt"), k.status) << out.substr(0, 2000);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(30));
    int errors = 0;
    for (size_t at = 0; (at = out.find("Error: ", at)) != std::string::npos; at++) errors++;
    EXPECT_GE(errors, k.errors) << out.substr(0, 2000);
    bool lacks = *k.printed == '!';
    EXPECT_EQ(Has(out, k.printed + lacks), !lacks) << out;
    EXPECT_EQ(access("out.txt", F_OK) == 0, k.status != 2);  // written unless refused
    EXPECT_EQ(Summary(Slurp("out.txt")), k.procs);
  }
}

// Reading, printing, copying, comparing, rewriting and freeing stay within the
// stack and say what they cut; long flat ^/| chains are not deep: kept whole.
TEST(HostileDepth, DeepNestingIsCutWithAnErrorFlatChainsAreKept) {
  const int deep = 6000;  // past MAX_NEST_DEPTH
  enum { CUT, KEPT, SURPLUS };  // SURPLUS: the text after the formula is ignored
  struct { const char *what; std::string text; int how; } cases[] = {
      {"parentheses", Rep(deep, "(") + "x>0" + Rep(deep, ")"), CUT},
      {"unclosed parentheses", Rep(deep, "(") + "x>0", CUT},
      {"surplus parentheses", "x>0" + Rep(deep, ")"), SURPLUS},
      {"negations", Rep(deep, "~") + "x>0", CUT},
      {"nested terms", Rep(deep, "+(") + "x" + Rep(deep, ",1)") + ">0", CUT},
      {"nested array elements", Rep(deep, "a[") + "0" + Rep(deep, "]") + "=1", CUT},
      {"quantifiers", Rep(deep, "$Ax:") + "x>0", CUT},
      {"existential quantifiers", Rep(deep, "$Ex:") + "x>0", CUT},
      {"conjunctions", "x>0" + Rep(100000, "^x>0"), KEPT},
      {"disjunctions", "a" + Rep(100000, "|a"), KEPT},
  };
  for (auto &k : cases) {
    SCOPED_TRACE(k.what);
    long before = ErrorMsgCount();
    auto t0 = std::chrono::steady_clock::now();
    CaptureStdout();
    FormulaPtr f = FormulaAlloc();
    FormulaRead(&k.text[0], f);
    std::string printed = Str(f, FormulaPrint);
    FormulaPtr c = FormulaCopy(f);
    EXPECT_TRUE(FormulaEqual(f, c) && FormulaPrintEqual(f, c));
    EXPECT_LE(FormulaSize(c, FORMULA_NODE_LIMIT), FORMULA_NODE_LIMIT + 1);
    FormulaListFree(Formula2FormulaList(FormulaCopy(f), '^'));
    FormulaFree(SimplifySequentUseRewrite(c)), FormulaFree(f);
    EXPECT_EQ(Has(Out(), "Error: ") && ErrorMsgCount() > before, k.how == CUT) << "no word of the cut";
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(20));
    EXPECT_TRUE(k.how != KEPT || printed.size() >= k.text.size());
    EXPECT_LT(printed.size(), 2 * k.text.size() + 16);  // "$E" prints as "~$A" ... ":~"
  }
}

// Processor seconds of the children that ended since the last call.
static double ChildSeconds() {
  static double before;
  struct rusage u;
  getrusage(RUSAGE_CHILDREN, &u);
  double now = u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
  double d = now - before;
  before = now;
  return d;
}

// Cost bounded by the input: a callee whose post-condition holds 400 equations
// over names that are not its formals, called 110 times in a row (4 KB), and
// 30 times (its conditions reach the prover whole). Each call adds the 400
// equations; the generator's and the prover's work budgets stop what would
// grow without end, say so, and leave the conditions open.
TEST_F(Hostile, WideSpecificationCalledOftenStaysWithinBudget) {
#if defined(__SANITIZE_ADDRESS__)
  const double limit = 10;
#else
  const double limit = 1;
#endif
  std::string wide = Slurp(QUELL_SOURCE_DIR "/tests/data/hostile/wide-postcondition-calls.q");
  ASSERT_LT(wide.size(), 4200u);
  std::string calls30 = wide.substr(0, wide.find("LB=31=>")) + "\n]\n{x>0}\n";
  struct { const char *kind; std::string text; const char *error; } rows[] = {
      {"110 calls", wide, "Error: p: verification condition grew too large"},
      {"30 calls", calls30, "Error: too many definitions: some premisses stay unused"},
  };
  for (auto &k : rows) {
    SCOPED_TRACE(k.kind);
    Write("prog.q", k.text);
    ChildSeconds();
    EXPECT_EQ(Run("prog.q out.txt"), 1);
    EXPECT_LT(ChildSeconds(), limit);
    EXPECT_TRUE(Has(out, k.error)) << out;
    EXPECT_EQ(Summary(Slurp("out.txt")), "q! p! ");
  }
}
