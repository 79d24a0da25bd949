// Loading program text and files, the display buffer sss and the debug log.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "../../core/core.h"
#include "../../program/sentence.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Each test runs inside a fresh temporary directory, so files such as vLog
// never collide with other tests running at the same time.
class Loading : public ::testing::Test {
 protected:
  char path[64] = "/tmp/quell-load-XXXXXX", old[4096] = "";
  void SetUp() override { ASSERT_TRUE(mkdtemp(path) && getcwd(old, sizeof old) && !chdir(path)); }
  void TearDown() override {
    EXPECT_EQ(chdir(old), 0);
    EXPECT_EQ(system((std::string("rm -rf ") + path).c_str()), 0);
  }
};

void WriteFile(const char *name, const std::string &text) { std::ofstream(name, std::ios::binary) << text; }
std::string ReadFile(const char *name) {
  std::stringstream s;
  s << std::ifstream(name, std::ios::binary).rdbuf();
  return s.str();
}
bool Has(const std::string &s, const std::string &part) { return s.find(part) != std::string::npos; }
template <class F>
std::string Out(F f) {  // what f printed on standard output
  CaptureStdout();
  f();
  return GetCapturedStdout();
}
// What FileRead gives for a file `name` holding `text` (none: not written).
std::string Load(const char *name, const std::string *text, std::string *printed = nullptr) {
  if (text) WriteFile(name, *text);
  char *s = nullptr;
  std::string out = Out([&] { s = FileRead(name); });
  if (printed) *printed = out;
  std::string r = s;
  free(s);
  return r;
}
bool IsErrorNaming(const std::string &out, const char *name) {
  return out.rfind("Error: ", 0) == 0 && Has(out, name);
}
// Opens the log where "vLog" is a directory, which fails; what was printed.
std::string OpenLogOnADirectory() {
  unlink("vLog");
  mkdir("vLog", 0700);
  std::string out = Out(LogFileOpen);
  rmdir("vLog");
  EXPECT_FALSE(LogIsOn());
  return out;
}

int printerCalls = 0;
void PrinterA(Text *s) { printerCalls++, TextAppend(s, "first text"); }
void PrinterB(Text *s) { printerCalls++, TextAppend(s, "second\ntext"); }
void PrinterBig(Text *s) {
  for (int i = 0; i < 2000; i++) TextPrintf(s, "line %04d\n", i);
}
std::string Names() {  // the loaded procedures' names
  std::string n;
  for (ProcedureListPtr p = &procedureList; p && p->procedure; p = p->procedureList)
    n += std::string(p->procedure->name) + " ";
  return n;
}

}  // namespace

TEST_F(Loading, CompressStringAndFileRead) {
  char s[] = " a\tb\nc \r\nd;; e ", e[] = "";
  char *end = CompressString(s);
  EXPECT_STREQ(s, "abc\rd;;e");
  EXPECT_TRUE(end == s + strlen(s) && *end == 0);
  EXPECT_EQ(CompressString(e), e);
  struct { std::string text, read; } rows[] = {
      {";; comment\n{x > 0}\n  ;; not a comment\n;;\nend", "{x>0};;notacommentend"},
      {"a;;b\r\nc\r\n", "a;;b\rc\r"}, {";; one\n;; two\n;;three", ""},
      // A comment line longer than the line buffer is dropped whole; ";;" that
      // happens to start a later piece of a long line is ordinary text.
      {";;" + std::string(5000, 'c') + "\nkept\n", "kept"},
      {std::string(2047, 'x') + ";;y\n", std::string(2047, 'x') + ";;y"}};
  for (auto &r : rows) EXPECT_EQ(Load("f", &r.text), r.read) << r.text.substr(0, 40);
  // NUL bytes would hide the rest of the text: dropped with an Error line.
  std::string nul("ab\0cd", 5), out;
  EXPECT_EQ(Load("i", &nul, &out), "abcd");
  EXPECT_TRUE(Has(out, "Error: "));
  // Missing files and directories read as "" with an Error line naming them.
  mkdir("dir", 0700);
  for (const char *name : {"no-such-file", "dir"}) {
    EXPECT_EQ(Load(name, nullptr, &out), "");
    EXPECT_TRUE(IsErrorNaming(out, name)) << out;
    EXPECT_FALSE(FileReadable(name));
  }
  EXPECT_TRUE(FileReadable("f"));
}

TEST(Sss, ShortTextsWholeLongOnesCutWithANote) {
  std::string big;
  for (int i = 0; i < 2000; i++) big += "line " + std::to_string(i) + "\n";
  SssSet(big.c_str());
  std::string kept = sss;
  EXPECT_LT(kept.size(), (size_t)SSS_SIZE);
  size_t shown = kept.rfind('\n') + 1;
  ASSERT_GT(shown, 0u);
  std::string note = kept.substr(shown);
  EXPECT_EQ(big.compare(0, shown, kept, 0, shown), 0);
  EXPECT_TRUE(Has(note, "text cut") && Has(note, std::to_string(big.size() - shown))) << note;
  SssSet(std::string(SSS_SIZE * 2, 'z').c_str());  // a text without line ends is cut too
  EXPECT_LT(strlen(sss), (size_t)SSS_SIZE);
  EXPECT_TRUE(Has(sss, "text cut"));
}

TEST_F(Loading, LogOffAndOn) {
  EXPECT_TRUE(IsErrorNaming(OpenLogOnADirectory(), "vLog"));  // cannot be created
  LogFileOpen();
  EXPECT_TRUE(LogIsOn());
  Log("Prog", PrinterA);
  Log("Verification Conditions", PrinterB);
  EXPECT_STREQ(sss, "second\ntext");
  EXPECT_EQ(ReadFile("vLog"), "----- Prog -----\n\nfirst text\n"
                              "----- Verification Conditions -----\n\nsecond\ntext\n");
  // The log holds the whole text; sss holds what fits.
  LogFileOpen();
  Log("Big", PrinterBig);
  std::string log = ReadFile("vLog");
  EXPECT_EQ(log.size(), strlen("----- Big -----\n\n") + 2000 * 10 + 1);
  EXPECT_TRUE(Has(log, "line 1999\n") && Has(sss, "text cut"));
  // A log that cannot be reopened: an Error line naming it, logging off.
  unlink("vLog");
  mkdir("vLog", 0700);
  EXPECT_TRUE(IsErrorNaming(Out([] { Log("Prog", PrinterA); }), "vLog"));
  EXPECT_FALSE(LogIsOn());
  printerCalls = 0;
  Log("Prog", PrinterA);  // off: the printer is not even called
  EXPECT_EQ(printerCalls, 0);
  rmdir("vLog");
}

TEST_F(Loading, StartProgFromFilesAndText) {
  OpenLogOnADirectory();
  ProcedureListClear();
  // A missing file is an error naming it, and nothing is loaded.
  char missing[] = "missing.prog";
  int r = 1;
  std::string out = Out([&] { r = StartProg1Checked(missing); });
  EXPECT_EQ(r, 0);
  EXPECT_TRUE(Has(out, "Error: ") && Has(out, "missing.prog")) << out;
  // Literal text is compressed like a file's text; a name starting with "%"
  // or "{" is always text, never a file.
  WriteFile("%PROC", "garbage");
  char literal[] = "%PROC q() ==\n %STM [LB=1 => $OLB=2;]";
  EXPECT_EQ(StartProg1Checked(literal), 1);
  EXPECT_EQ(Names(), "q ");
  EXPECT_STREQ(procedureList.procedure->body, "(1,2)");
  ProcedureListClear();
}
