// Hostile program texts through quell1-batch: each run must end by itself in
// bounded time, say "Error: ..." where the text was unusable, give no
// sanitizer report, keep every procedure that was read in the result file,
// and never show a condition as proved that was not.
#include "hostile.h"

#include <random>

using namespace hostile;

namespace {

// A procedure that proves; it follows the hostile text to show that what
// comes after is still read.
const std::string okProc = "{x>0}\n%PROC ok(%IOP/x:int)==\n%STM [\n LB=1=>$Ox=x^$OLB=2;\n]\n{x>0}\n";

std::string Proc(const std::string &name, const std::string &block,
                 const std::string &params = "%IOP/x:int") {
  return "{x>0}\n%PROC " + name + "(" + params + ")==\n%STM [\n" + block + "]\n{x>0}\n";
}

size_t Count(const std::string &s, const std::string &what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) n++;
  return n;
}

// Two-character labels aa, ab, ... for long chains of statements.
std::string Label(int i) {
  const char *c = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  return std::string(1, c[(i / 52) % 52]) + c[i % 52];
}

// Writes `text` to the file `name` of d and runs the verifier on it.
BatchRun RunFile(const Dir &d, const std::string &name, const std::string &text) {
  FileWrite(d.In(name), text);
  return Batch(d, name);
}

// A clean run that said "Error: ...".
void ExpectError(const BatchRun &r, double limit = 60) {
  ExpectClean(r, limit);
  EXPECT_NE(r.out.find("Error: "), std::string::npos) << r.out;
}

}  // namespace

TEST(Hostile, EmptyCommentsAndRandomBytes) {
  Dir d;
  BatchRun r;
  for (const char *text : {"", ";; only\n;;comments\n;;\n"}) {
    r = RunFile(d, "empty.q", text);
    ExpectClean(r);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(r.wroteResult);
    EXPECT_EQ(r.result.find("%PROC"), std::string::npos);
  }

  // Random bytes, NUL included, several seeds; then random bytes drawn from
  // the notation's own characters, which reach deeper into the readers.
  const std::string notation = "{}[]()%PROC LB=$O^|~:=<>+-*,;/?#@TAF0123xyz\n";
  for (int seed = 1; seed <= 6; seed++) {
    std::mt19937 g(seed);
    std::string bytes;
    for (int i = 0; i < 6000; i++)
      bytes += seed <= 3 ? static_cast<char>(g() & 255) : notation[g() % notation.size()];
    r = RunFile(d, "random.q", bytes);
    SCOPED_TRACE(seed);
    ExpectError(r);
  }
}

TEST(Hostile, OverlongNamesLabelsAndParameters) {
  Dir d;
  // A procedure name of 5000 characters: the head cannot be used.
  BatchRun r = RunFile(d, "name.q", Proc(std::string(5000, 'n'), "LB=1=>$Ox=x^$OLB=2;\n") + okProc);
  ExpectError(r);
  EXPECT_TRUE(HasProcedure(r, "ok"));
  EXPECT_EQ(r.result.find("nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"), std::string::npos);

  // Label pairs of 200 characters.
  r = RunFile(d, "label.q",
              Proc("lab", "LB=" + std::string(100, '1') +
                              "=>$Ox=+(x,1)^$OLB=" + std::string(100, '2') + ";\n") +
                  okProc);
  ExpectError(r);
  ExpectUnproved(r, "lab");
  EXPECT_TRUE(HasProcedure(r, "ok"));

  // Parameter fields of 300 characters: io, name and type.
  r = RunFile(d, "param.q",
              Proc("par", "LB=1=>$Ox=x^$OLB=2;\n",
                   "%IOP/" + std::string(300, 'x') + ":" + std::string(300, 't')) +
                  Proc("par2", "LB=1=>$Ox=x^$OLB=2;\n", std::string(300, '%') + "/x:int") + okProc);
  ExpectClean(r);
  EXPECT_GE(Count(r.out, "Error: "), 2u) << r.out;
  ExpectUnproved(r, "par");
  ExpectUnproved(r, "par2");
  EXPECT_TRUE(HasProcedure(r, "ok"));
}

TEST(Hostile, DeepNestingAndUnclosedBrackets) {
  Dir d;
  // 1900 nested parentheses in the pre-condition: the assertion cannot be
  // used, so the verifier asks for the pre-condition instead.
  std::string deep = "{" + std::string(1900, '(') + "x>0" + std::string(1900, ')') + "}\n";
  BatchRun r =
      RunFile(d, "deep.q",
              deep + "%PROC deep(%IOP/x:int)==\n%STM [\n LB=1=>$Ox=x^$OLB=2;\n]\n{x>0}\n" + okProc);
  ExpectError(r);
  EXPECT_NE(r.out.find("missing pre-condition of deep"), std::string::npos) << r.out;
  EXPECT_EQ(r.status, 2);

  // Deep nesting that fits the limits: 1000 nested parentheses around a
  // relation and a term nested 300 deep are read in full.
  std::string term = "x";
  for (int i = 0; i < 300; i++) term = "+(" + term + ",1)";
  r = RunFile(d, "deep2.q",
              "{" + std::string(1000, '(') + "x>0" + std::string(1000, ')') +
                  "}%PROC deep2(%IOP/x:int)==%STM[LB=1=>$Ox=x^$OLB=2;]{" + term + ">0}\n" +
                  Proc("t300", "LB=1=>$Ox=" + term + "^$OLB=2;") + okProc);
  ExpectClean(r);
  EXPECT_EQ(r.out.find("Error: "), std::string::npos) << r.out.substr(0, 2000);
  EXPECT_TRUE(HasProcedure(r, "deep2"));
  EXPECT_TRUE(HasProcedure(r, "t300"));
  EXPECT_TRUE(HasProcedure(r, "ok"));

  // Unclosed braces, brackets and parentheses, each followed by a good
  // procedure.
  const char *broken[] = {
      "{x>0\n%PROC u1(%IOP/x:int)==%STM[LB=1=>$Ox=x^$OLB=2;]{x>0}\n",
      "{x>0}%PROC u2(%IOP/x:int==%STM[LB=1=>$Ox=x^$OLB=2;]{x>0}\n",
      "{x>0}%PROC u3(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1^$OLB=2;]{x>0}\n",
      "{x>0}%PROC u4(%IOP/x:int)==%STM[?[LB=1^x>0=>$OLB=2|~=>$OLB=3;LB=2=>$Ox=x^$OLB=4;]{x>0}\n",
      "{x>0}%PROC u5(%IOP/x:int)==%STM[*[LB=1^x>0=>($OLB=2|$OLB=3)LB=2=>$Ox=x^$OLB=1;]{x>0}\n",
      "{x>0}%PROC u6(%IOP/x:int)==%LOC[int:y%STM[LB=1=>$Ox=x^$OLB=2;]{x>0}\n",
      "{x>0}%PROC u7(%IOP/x:int)==%STM[LB=1=>$Ox=x^$OLB=2;]{x>0\n",
      "{x>0}%PROC u8(%IOP/x:int)==%STM[LB=1=>$Ox=x^$OLB=2;{x>(0}]{x>0}\n",
  };
  for (const char *b : broken) {
    SCOPED_TRACE(b);
    r = RunFile(d, "unclosed.q", b);
    ExpectError(r);
    // Whatever was read as a procedure keeps an open condition.
    for (int i = 1; i <= 8; i++) {
      std::string n = "u" + std::to_string(i);
      if (HasProcedure(r, n)) ExpectUnproved(r, n);
    }
  }
}

TEST(Hostile, LoneProcAndOverlongBlock) {
  Dir d;
  BatchRun r = RunFile(d, "lone.q", "%PROC");
  ExpectError(r);
  EXPECT_TRUE(r.wroteResult);

  // The same as literal text on the command line.
  r = Batch(d, "%PROC", true);
  ExpectError(r);

  // A block of 400 statements is longer than a block may be: the procedure
  // is kept, its conditions stay open.
  std::string block;
  for (int i = 1; i <= 400; i++)
    block += "LB=" + std::to_string(i) + "=>$Ox=+(x,1)^$OLB=" + std::to_string(i + 1) + ";\n";
  r = RunFile(d, "block.q", okProc + Proc("big", block) + Proc("after", "LB=1=>$Ox=x^$OLB=2;"));
  ExpectError(r);
  ExpectUnproved(r, "big");
  EXPECT_TRUE(HasProcedure(r, "ok"));
  EXPECT_TRUE(HasProcedure(r, "after"));
  EXPECT_EQ(r.status, 1);
}

TEST(Hostile, GrowingConditionsStopWithAnError) {
  Dir d;
  // x := +(x,x) thirty times: the term doubles with every statement.
  std::string dbl;
  for (int i = 1; i <= 30; i++)
    dbl += "LB=" + std::to_string(i) + "=>$Ox=+(x,x)^$OLB=" + std::to_string(i + 1) + ";";
  BatchRun r = RunFile(d, "double.q", Proc("dbl", dbl) + okProc);
  ExpectError(r, 30);
  ExpectUnproved(r, "dbl");
  EXPECT_TRUE(HasProcedure(r, "ok"));
  // A condition that was cut is not claimed to fail either.
  EXPECT_EQ(r.out.find("dbl: condition"), std::string::npos) << r.out;

  // Thirty case statements in a row: every one copies the post-condition
  // into both branches.
  std::string cases;
  for (int i = 0; i < 30; i++) {
    std::string a = Label(3 * i), b = Label(3 * i + 1), c = Label(3 * i + 2), e = Label(3 * i + 3);
    cases += "?[LB=" + a + "^x>" + std::to_string(i) + "=>$OLB=" + b + "|~=>$OLB=" + c + ";LB=" + b +
             "=>$OLB=" + e + ";LB=" + c + "=>$OLB=" + e + ";]";
  }
  r = RunFile(d, "cases.q", "{x>0}%PROC cs(%IOP/x:int)==%STM[" + cases + "]{x>0}\n" + okProc);
  ExpectError(r, 30);
  ExpectUnproved(r, "cs");
  EXPECT_TRUE(HasProcedure(r, "ok"));
  EXPECT_EQ(r.out.find("cs: condition"), std::string::npos) << r.out;
}

TEST(Hostile, MissingCalleesAndBadIoTexts) {
  Dir d;
  BatchRun r =
      RunFile(d, "calls.q",
              Proc("mc", "LB=1=>nothere(%IOP/x|x)^$OLB=2;") +
                  Proc("bio", "LB=1=>ok(%IOQ/x|x;%INP)^$OLB=2;") +
                  Proc("bio2", "LB=1=>$Ox=x^$OLB=2;", "%XYZ/x:int;%IOP/y;%INP") +
                  Proc("bio3", "LB=1=>ok(%IOP/x|x;%INP/)^$OLB=2;") +
                  Proc("bio4", "LB=1=>ok(%IOP/)^$OLB=2;") +
                  Proc("bio5", "LB=1=>ok(%IOP" + std::string(300, 'x') + ")^$OLB=2;") + okProc);
  ExpectClean(r);
  EXPECT_GE(Count(r.out, "Error: "), 5u) << r.out;
  for (const char *n : {"mc", "bio", "bio2", "bio3", "bio4", "bio5"}) ExpectUnproved(r, n);
  EXPECT_TRUE(HasProcedure(r, "ok"));
  // The missing callee makes the condition unknown, not false.
  EXPECT_EQ(r.out.find("mc: condition"), std::string::npos) << r.out;
}

TEST(Hostile, UnreadableProgramFile) {
  Dir d;
  BatchRun r = Batch(d, "no-such-program.q");
  ExpectClean(r);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("Error: "), std::string::npos);
  EXPECT_NE(r.out.find("no-such-program.q"), std::string::npos) << r.out;
  // A directory is not a program file either.
  std::string cmd = "mkdir '" + d.In("dir.q") + "'";
  ASSERT_EQ(system(cmd.c_str()), 0);
  r = Batch(d, "dir.q");
  ExpectClean(r);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("dir.q"), std::string::npos) << r.out;
}
