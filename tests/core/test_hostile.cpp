// Hostile program texts through quell1-batch, one representative input per
// kind: each run must end by itself in bounded time, say "Error: ..." where
// the text was unusable, give no sanitizer report, keep every procedure that
// was read in the result file, and never show a condition as proved that was
// not.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Slurp(const std::string &name, bool *found = nullptr) {
  std::ifstream f(name, std::ios::binary);
  if (found) *found = f.good();
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}
size_t Count(const std::string &s, const std::string &what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) n++;
  return n;
}
std::string Proc(const std::string &name, const std::string &block,
                 const std::string &params = "%IOP/x:int") {
  return "{x>0}\n%PROC " + name + "(" + params + ")==\n%STM [\n" + block + "]\n{x>0}\n";
}
// A procedure that proves; it follows the hostile text to show that what
// comes after is still read.
const std::string okProc = Proc("ok", "LB=1=>$Ox=x^$OLB=2;\n");
std::string Label(int i) {  // two-character labels aa, ab, ...
  const char *c = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  return std::string(1, c[(i / 52) % 52]) + c[i % 52];
}
// The remaining conditions listed under procedure `name` in a result file.
std::string Section(const std::string &result, const std::string &name) {
  size_t at = result.find("Remaining Verification Conditions:");
  std::string head = "\n..." + name + "...\n";
  size_t s = at == std::string::npos ? at : result.find(head, at);
  if (s == std::string::npos) return "<none>";
  s += head.size();
  size_t e = result.find("\n...", s);
  return result.substr(s, e == std::string::npos ? std::string::npos : e - s);
}
bool HasProcedure(const std::string &result, const std::string &name) {
  return result.find("%PROC " + name + "(") != std::string::npos;
}

struct Row {
  const char *kind;
  std::string text;          // written to prog.q; "" with file=false: no file
  int status = -1;           // -1: any status up to 2
  size_t errors = 1;         // at least this many "Error: " lines
  std::vector<std::string> unproved, present;
  std::string outHas, outLacks, resultLacks;
  bool mustWrite = false;
  double limit = 60;
  bool file = true;
};

}  // namespace

// Rows name only the fields they need; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

TEST(Hostile, EveryKindEndsCleanAndNothingIsWronglyProved) {
  std::mt19937 g(1);
  std::string bytes;  // random bytes, NUL included
  for (int i = 0; i < 6000; i++) bytes += static_cast<char>(g() & 255);
  std::string block, dbl, cases;
  for (int i = 1; i <= 400; i++)
    block += "LB=" + std::to_string(i) + "=>$Ox=+(x,1)^$OLB=" + std::to_string(i + 1) + ";\n";
  // x := +(x,x) thirty times: the term doubles with every statement.
  for (int i = 1; i <= 30; i++)
    dbl += "LB=" + std::to_string(i) + "=>$Ox=+(x,x)^$OLB=" + std::to_string(i + 1) + ";";
  // Thirty cases in a row: each copies the post-condition into both branches.
  for (int i = 0; i < 30; i++) {
    std::string a = Label(3 * i), b = Label(3 * i + 1), c = Label(3 * i + 2), e = Label(3 * i + 3);
    cases += "?[LB=" + a + "^x>" + std::to_string(i) + "=>$OLB=" + b + "|~=>$OLB=" + c + ";LB=" + b +
             "=>$OLB=" + e + ";LB=" + c + "=>$OLB=" + e + ";]";
  }
  const std::string skip = "LB=1=>$Ox=x^$OLB=2;";
  std::vector<Row> rows(15);
  rows[0] = {"empty", "", 0, 0, {}, {}, "", "", "%PROC", true};
  rows[1] = {"comments only", ";; only\n;;comments\n;;\n", 0, 0, {}, {}, "", "", "%PROC", true};
  rows[2] = {"random bytes", bytes};
  rows[3] = {"long name", Proc(std::string(5000, 'n'), skip) + okProc, -1, 1, {}, {"ok"}, "", "",
             std::string(30, 'n')};
  rows[4] = {"long label pair",
             Proc("lab", "LB=" + std::string(100, '1') + "=>$Ox=+(x,1)^$OLB=" + std::string(100, '2') +
                             ";\n") + okProc, -1, 1, {"lab"}, {"ok"}};
  rows[5] = {"long parameter fields",
             Proc("par", skip, "%IOP/" + std::string(300, 'x') + ":" + std::string(300, 't')) +
                 Proc("par2", skip, std::string(300, '%') + "/x:int") + okProc,
             -1, 2, {"par", "par2"}, {"ok"}};
  // The assertion cannot be used, so the verifier asks for the pre-condition.
  rows[6] = {"deep parentheses",
             "{" + std::string(1900, '(') + "x>0" + std::string(1900, ')') + "}\n" +
                 "%PROC deep(%IOP/x:int)==\n%STM [\n" + skip + "]\n{x>0}\n" + okProc,
             2, 1, {}, {}, "missing pre-condition of deep"};
  rows[7] = {"unclosed case bracket",
             "{x>0}%PROC u4(%IOP/x:int)==%STM[?[LB=1^x>0=>$OLB=2|~=>$OLB=3;LB=2=>$Ox=x^$OLB=4;]{x>0}\n"};
  rows[8] = {"lone %PROC", "%PROC", -1, 1, {}, {}, "", "", "", true};
  rows[9] = {"over-long block", okProc + Proc("big", block) + Proc("after", skip), 1, 1, {"big"},
             {"ok", "after"}};
  // A condition that was cut is not claimed to fail either.
  rows[10] = {"30 doublings", Proc("dbl", dbl) + okProc, -1, 1, {"dbl"}, {"ok"}, "", "dbl: condition"};
  rows[10].limit = 30;
  rows[11] = {"30 cases", "{x>0}%PROC cs(%IOP/x:int)==%STM[" + cases + "]{x>0}\n" + okProc, -1, 1,
              {"cs"}, {"ok"}, "", "cs: condition"};
  rows[11].limit = 30;
  // The missing callee makes the condition unknown, not false.
  rows[12] = {"missing callee", Proc("mc", "LB=1=>nothere(%IOP/x|x)^$OLB=2;") + okProc, -1, 1,
              {"mc"}, {"ok"}, "", "mc: condition"};
  rows[13] = {"bad io texts",
              Proc("bio", "LB=1=>ok(%IOQ/x|x;%INP)^$OLB=2;") +
                  Proc("bio2", skip, "%XYZ/x:int;%IOP/y;%INP") +
                  Proc("bio3", "LB=1=>ok(%IOP/x|x;%INP/)^$OLB=2;") + Proc("bio4", "LB=1=>ok(%IOP/)^$OLB=2;") +
                  Proc("bio5", "LB=1=>ok(%IOP" + std::string(300, 'x') + ")^$OLB=2;") + okProc,
              -1, 5, {"bio", "bio2", "bio3", "bio4", "bio5"}, {"ok"}};
  rows[14] = {"missing file", "", 2, 1, {}, {}, "no-such-program.q"};
  rows[14].file = false;

  for (const Row &k : rows) {
    SCOPED_TRACE(k.kind);
    char p[] = "/tmp/quell-hostile-XXXXXX";
    ASSERT_NE(mkdtemp(p), nullptr);
    std::string dir = p, prog = k.file ? "prog.q" : "no-such-program.q";
    if (k.file) std::ofstream(dir + "/prog.q", std::ios::binary) << k.text;
    std::string cmd = "cd " + dir + " && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 " +
                      "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 timeout 120 " + QUELL_BATCH +
                      " " + prog + " out.txt >stdout.txt 2>stderr.txt";
    auto t0 = std::chrono::steady_clock::now();
    int st = system(cmd.c_str());
    double sec = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    int status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    bool wrote = false;
    std::string out = Slurp(dir + "/stdout.txt"), err = Slurp(dir + "/stderr.txt");
    std::string result = Slurp(dir + "/out.txt", &wrote);
    EXPECT_EQ(system(("rm -rf " + dir).c_str()), 0);

    // Ended by itself, in time, with no sanitizer report.
    EXPECT_LE(status, 2) << err.substr(0, 4000);
    EXPECT_EQ(err.find("Sanitizer"), std::string::npos) << err.substr(0, 4000);
    EXPECT_EQ(err.find("runtime error"), std::string::npos) << err.substr(0, 4000);
    EXPECT_LT(sec, k.limit);
    if (k.status >= 0) {
      EXPECT_EQ(status, k.status) << out;
    }
    EXPECT_GE(Count(out, "Error: "), k.errors) << out.substr(0, 2000);
    if (k.mustWrite) {
      EXPECT_TRUE(wrote);
    }
    if (!k.outHas.empty()) {
      EXPECT_NE(out.find(k.outHas), std::string::npos) << out;
    }
    if (!k.outLacks.empty()) {
      EXPECT_EQ(out.find(k.outLacks), std::string::npos) << out;
    }
    if (!k.resultLacks.empty()) {
      EXPECT_EQ(result.find(k.resultLacks), std::string::npos);
    }
    for (const std::string &n : k.present) EXPECT_TRUE(HasProcedure(result, n)) << n;
    // Every procedure that was read keeps at least one open condition.
    std::vector<std::string> open = k.unproved;
    if (open.empty() && HasProcedure(result, "u4")) open.push_back("u4");
    for (const std::string &n : open) {
      EXPECT_TRUE(HasProcedure(result, n)) << n << "\n" << result.substr(0, 2000);
      EXPECT_NE(Section(result, n).find("=>"), std::string::npos) << n << " has no open condition";
    }
  }
}
