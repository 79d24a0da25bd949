// Loading program text and files, the display buffer sss and the debug log.
#include <cstring>

#include "../../core/core.h"
#include "../../program/sentence.h"
#include "coretest.h"

namespace {

using Loading = InTmpDir;

// What FileRead gives for `name`; what it printed goes to *printed.
std::string Load(const char *name, std::string *printed) {
  CaptureStdout();
  char *s = FileRead(name);
  *printed = Out();
  std::string r = s;
  free(s);
  return r;
}
bool IsErrorNaming(const std::string &out, const char *name) {
  return out.rfind("Error: ", 0) == 0 && Has(out, name);
}
// Makes "vLog" a directory: opening the log fails. What the open printed.
std::string OpenLogOnADirectory() {
  unlink("vLog"), mkdir("vLog", 0700);
  CaptureStdout();
  LogFileOpen();
  EXPECT_FALSE(LogIsOn());
  return Out();
}
int printerCalls = 0;
void PrinterA(Text *s) { printerCalls++, TextAppend(s, "first text"); }
void PrinterB(Text *s) { TextAppend(s, "second\ntext"); }
void PrinterBig(Text *s) {
  for (int i = 0; i < 2000; i++) TextPrintf(s, "line %04d\n", i);
}

TEST_F(Loading, CompressStringAndFileRead) {
  char s[] = " a\tb\nc \r\nd;; e ", e[] = "";
  char *end = CompressString(s);
  EXPECT_STREQ(s, "abc\rd;;e");
  EXPECT_TRUE(end == s + strlen(s) && CompressString(e) == e);
  struct { std::string text, read; } rows[] = {
      {";; comment\n{x > 0}\n  ;; not a comment\n;;\nend", "{x>0};;notacommentend"},
      {"a;;b\r\nc\r\n", "a;;b\rc\r"}, {";; one\n;; two\n;;three", ""},
      // A comment line longer than the line buffer is dropped whole; ";;" that
      // happens to start a later piece of a long line is ordinary text.
      {";;" + std::string(5000, 'c') + "\nkept\n", "kept"},
      {std::string(2047, 'x') + ";;y\n", std::string(2047, 'x') + ";;y"},
      {std::string("ab\0cd", 5), "abcd"}};  // NUL bytes would hide the rest: dropped
  std::string out;
  for (auto &r : rows) {
    Write("f", r.text);
    EXPECT_EQ(Load("f", &out), r.read) << r.text.substr(0, 40);
    EXPECT_EQ(Has(out, "Error: "), Has(r.text, std::string(1, '\0'))) << out;
  }
  EXPECT_TRUE(FileReadable("f"));
  // Missing files and directories read as "" with an Error line naming them.
  mkdir("dir", 0700);
  for (const char *name : {"no-such-file", "dir"}) {
    EXPECT_EQ(Load(name, &out), "");
    EXPECT_TRUE(IsErrorNaming(out, name) && !FileReadable(name)) << out;
  }
}

TEST(Sss, ShortTextsWholeLongOnesCutWithANote) {
  std::string big;
  for (int i = 0; i < 2000; i++) big += "line " + std::to_string(i) + "\n";
  SssSet(big.c_str());
  std::string kept = sss;
  size_t shown = kept.rfind('\n') + 1;
  EXPECT_TRUE(kept.size() < (size_t)SSS_SIZE && shown > 0 && big.compare(0, shown, kept, 0, shown) == 0);
  std::string note = kept.substr(shown);
  EXPECT_TRUE(Has(note, "text cut") && Has(note, std::to_string(big.size() - shown))) << note;
  SssSet(std::string(SSS_SIZE * 2, 'z').c_str());  // a text without line ends is cut too
  EXPECT_TRUE(strlen(sss) < (size_t)SSS_SIZE && Has(sss, "text cut"));
}

TEST_F(Loading, LogOffAndOn) {
  EXPECT_TRUE(IsErrorNaming(OpenLogOnADirectory(), "vLog"));  // cannot be created
  rmdir("vLog");
  LogFileOpen();
  EXPECT_TRUE(LogIsOn());
  Log("Prog", PrinterA);
  Log("Verification Conditions", PrinterB);
  EXPECT_STREQ(sss, "second\ntext");
  EXPECT_EQ(Slurp("vLog"), "----- Prog -----\n\nfirst text\n"
                          "----- Verification Conditions -----\n\nsecond\ntext\n");
  // The log holds the whole text; sss holds what fits.
  LogFileOpen();
  Log("Big", PrinterBig);
  std::string log = Slurp("vLog");
  EXPECT_EQ(log.size(), strlen("----- Big -----\n\n") + 2000 * 10 + 1);
  EXPECT_TRUE(Has(log, "line 1999\n") && Has(sss, "text cut"));
  // A log that cannot be reopened: an Error line naming it, logging off.
  unlink("vLog"), mkdir("vLog", 0700);
  CaptureStdout();
  Log("Prog", PrinterA);
  EXPECT_TRUE(IsErrorNaming(Out(), "vLog"));
  EXPECT_FALSE(LogIsOn());
  printerCalls = 0;
  Log("Prog", PrinterA);  // off: the printer is not even called
  EXPECT_EQ(printerCalls, 0);
}

TEST_F(Loading, StartProgFromFilesAndText) {
  OpenLogOnADirectory();
  ProcedureListClear();
  // A missing file is an error naming it, and nothing is loaded.
  char missing[] = "missing.prog";
  CaptureStdout();
  EXPECT_EQ(StartProg1Checked(missing), 0);
  EXPECT_TRUE(IsErrorNaming(Out(), "missing.prog"));
  EXPECT_EQ(procedureList.procedure, nullptr);
  // Literal text is compressed like a file's text; a name starting with "%"
  // or "{" is always text, never a file.
  Write("%PROC", "garbage");
  char literal[] = "%PROC q() ==\n %STM [LB=1 => $OLB=2;]";
  EXPECT_EQ(StartProg1Checked(literal), 1);
  ASSERT_NE(procedureList.procedure, nullptr);
  EXPECT_STREQ(procedureList.procedure->name, "q");
  EXPECT_STREQ(procedureList.procedure->body, "(1,2)");
  ProcedureListClear();
}

}  // namespace
