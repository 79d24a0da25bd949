#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "../../core/core.h"
#include "../../program/sentence.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Runs a test inside a fresh temporary directory, so files such as vLog
// never collide with other tests running at the same time.
struct TempDir {
  char path[64];
  char old[4096];
  TempDir() {
    strcpy(path, "/tmp/quell-load-XXXXXX");
    EXPECT_NE(mkdtemp(path), nullptr);
    EXPECT_NE(getcwd(old, sizeof old), nullptr);
    EXPECT_EQ(chdir(path), 0);
  }
  ~TempDir() {
    EXPECT_EQ(chdir(old), 0);
    std::string cmd = std::string("rm -rf ") + path;
    EXPECT_EQ(system(cmd.c_str()), 0);
  }
};

void WriteFile(const char *name, const std::string &text) {
  FILE *f = fopen(name, "wb");
  ASSERT_NE(f, nullptr);
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

std::string ReadFile(const char *name) {
  std::string r;
  FILE *f = fopen(name, "rb");
  if (!f) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) r.append(buf, n);
  fclose(f);
  return r;
}

std::string Load(const char *name, const std::string &text) {
  WriteFile(name, text);
  char *s = FileRead(name);
  std::string r = s;
  free(s);
  return r;
}

// Switches the log off: opening it where "vLog" is a directory fails.
void LogOff() {
  unlink("vLog");
  mkdir("vLog", 0700);
  CaptureStdout();
  LogFileOpen();
  GetCapturedStdout();
  rmdir("vLog");
  ASSERT_FALSE(LogIsOn());
}

int printerCalls = 0;
void PrinterA(Text *s) {
  printerCalls++;
  TextAppend(s, "first text");
}
void PrinterB(Text *s) {
  printerCalls++;
  TextAppend(s, "second\ntext");
}
void PrinterBig(Text *s) {
  for (int i = 0; i < 2000; i++) TextPrintf(s, "line %04d\n", i);
}

int ProcedureCount() {
  int n = 0;
  for (ProcedureListPtr p = &procedureList; p && p->procedure; p = p->procedureList) n++;
  return n;
}

}  // namespace

TEST(Loading, CompressString) {
  char s[] = " a\tb\nc \r\nd;; e ";
  char *end = CompressString(s);
  EXPECT_STREQ(s, "abc\rd;;e");
  EXPECT_EQ(end, s + strlen(s));
  EXPECT_EQ(*end, 0);
  char e[] = "";
  EXPECT_EQ(CompressString(e), e);
}

TEST(Loading, FileReadLines) {
  TempDir d;
  EXPECT_EQ(Load("a", ";; comment\n{x > 0}\n  ;; not a comment\n;;\nend"), "{x>0};;notacommentend");
  EXPECT_EQ(Load("b", "a;;b\r\nc\r\n"), "a;;b\rc\r");
  EXPECT_EQ(Load("c", ";; one\n;; two\n;;three"), "");
  EXPECT_EQ(Load("d", "last line"), "lastline");
  EXPECT_EQ(Load("e", ""), "");
  EXPECT_EQ(Load("f", ";"), ";");

  // A comment line longer than the line buffer is dropped whole; ";;" that
  // happens to start a later piece of a long line is ordinary text.
  std::string longComment = ";;" + std::string(5000, 'c') + "\nkept\n";
  EXPECT_EQ(Load("g", longComment), "kept");
  std::string longLine = std::string(2047, 'x') + ";;y\n";
  EXPECT_EQ(Load("h", longLine), std::string(2047, 'x') + ";;y");

  // NUL bytes would hide the rest of the text: dropped with an Error line.
  CaptureStdout();
  EXPECT_EQ(Load("i", std::string("ab\0cd", 5)), "abcd");
  EXPECT_NE(GetCapturedStdout().find("Error: "), std::string::npos);
}

TEST(Loading, FileReadErrors) {
  TempDir d;
  CaptureStdout();
  char *s = FileRead("no-such-file");
  std::string out = GetCapturedStdout();
  EXPECT_STREQ(s, "");
  free(s);
  EXPECT_EQ(out.rfind("Error: ", 0), 0u);
  EXPECT_NE(out.find("no-such-file"), std::string::npos);
  EXPECT_FALSE(FileReadable("no-such-file"));

  mkdir("dir", 0700);
  CaptureStdout();
  s = FileRead("dir");
  out = GetCapturedStdout();
  EXPECT_STREQ(s, "");
  free(s);
  EXPECT_NE(out.find("dir"), std::string::npos);
  EXPECT_FALSE(FileReadable("dir"));

  WriteFile("ok", "x");
  EXPECT_TRUE(FileReadable("ok"));
}

TEST(Loading, SssSet) {
  EXPECT_EQ(SssSet("short"), sss);
  EXPECT_STREQ(sss, "short");

  std::string big;
  for (int i = 0; i < 2000; i++) big += "line " + std::to_string(i) + "\n";
  SssSet(big.c_str());
  size_t n = strlen(sss);
  EXPECT_LT(n, static_cast<size_t>(SSS_SIZE));
  std::string kept = sss;
  size_t last = kept.rfind('\n');
  ASSERT_NE(last, std::string::npos);
  std::string note = kept.substr(last + 1);
  EXPECT_NE(note.find("text cut"), std::string::npos);
  size_t shown = last + 1;
  EXPECT_EQ(big.compare(0, shown, kept, 0, shown), 0);
  EXPECT_NE(note.find(std::to_string(big.size() - shown)), std::string::npos);

  // A text without line ends is cut too.
  std::string flat(SSS_SIZE * 2, 'z');
  SssSet(flat.c_str());
  EXPECT_LT(strlen(sss), static_cast<size_t>(SSS_SIZE));
  EXPECT_NE(std::string(sss).find("text cut"), std::string::npos);
}

TEST(Loading, LogOffAndOn) {
  TempDir d;
  LogOff();
  strcpy(sss, "untouched");
  printerCalls = 0;
  Log("Prog", PrinterA);
  EXPECT_STREQ(sss, "untouched");
  EXPECT_EQ(printerCalls, 0);
  EXPECT_EQ(access("vLog", F_OK), -1);

  LogFileOpen();
  EXPECT_TRUE(LogIsOn());
  Log("Prog", PrinterA);
  Log("Verification Conditions", PrinterB);
  EXPECT_EQ(printerCalls, 2);
  EXPECT_STREQ(sss, "second\ntext");
  EXPECT_EQ(ReadFile("vLog"),
            "----- Prog -----\n\nfirst text\n"
            "----- Verification Conditions -----\n\nsecond\ntext\n");

  // The log holds the whole text; sss holds what fits.
  LogFileOpen();
  Log("Big", PrinterBig);
  std::string log = ReadFile("vLog");
  EXPECT_EQ(log.size(), strlen("----- Big -----\n\n") + 2000 * 10 + 1);
  EXPECT_NE(log.find("line 1999\n"), std::string::npos);
  EXPECT_NE(std::string(sss).find("text cut"), std::string::npos);

  // A log that cannot be reopened: an Error line naming it, logging off.
  unlink("vLog");
  mkdir("vLog", 0700);
  CaptureStdout();
  Log("Prog", PrinterA);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out.rfind("Error: ", 0), 0u);
  EXPECT_NE(out.find("vLog"), std::string::npos);
  EXPECT_FALSE(LogIsOn());
  printerCalls = 0;
  Log("Prog", PrinterA);
  EXPECT_EQ(printerCalls, 0);
  rmdir("vLog");

  // Nor can it be created.
  mkdir("vLog", 0700);
  CaptureStdout();
  LogFileOpen();
  out = GetCapturedStdout();
  EXPECT_EQ(out.rfind("Error: ", 0), 0u);
  EXPECT_NE(out.find("vLog"), std::string::npos);
  EXPECT_FALSE(LogIsOn());
  rmdir("vLog");
  LogOff();
}

TEST(Loading, StartProg) {
  TempDir d;
  LogOff();
  ProcedureListClear();

  // A missing file is an error naming it, and nothing is loaded.
  char missing[] = "missing.prog";
  CaptureStdout();
  EXPECT_EQ(StartProg1Checked(missing), 0);
  std::string out = GetCapturedStdout();
  EXPECT_NE(out.find("Error: "), std::string::npos);
  EXPECT_NE(out.find("missing.prog"), std::string::npos);
  EXPECT_EQ(ProcedureCount(), 0);

  // Only comments: nothing is added.
  WriteFile("comments.prog", ";; nothing\n;; here\n");
  char comments[] = "comments.prog";
  EXPECT_EQ(StartProg1Checked(comments), 1);
  EXPECT_EQ(ProcedureCount(), 0);

  // Literal text is compressed like a file's text; a name starting with "%"
  // or "{" is always text, never a file.
  WriteFile("%PROC", "garbage");
  char literal[] = "%PROC q() ==\n %STM [LB=1 => $OLB=2;]";
  EXPECT_EQ(StartProg1Checked(literal), 1);
  ASSERT_EQ(ProcedureCount(), 1);
  EXPECT_STREQ(procedureList.procedure->name, "q");
  EXPECT_STREQ(procedureList.procedure->body, "(1,2)");

  WriteFile("two.prog", ";; two procedures\n{x>0}\n%PROC r(%IOP/x:int)==\n%STM[LB=1=>$Ox=+(x,1)^$OLB=2;]\n"
                        "{x>1}\n%PROC s()==\n%STM[LB=1=>$OLB=2;]");
  char two[] = "two.prog";
  EXPECT_EQ(StartProg1Checked(two), 1);
  ASSERT_EQ(ProcedureCount(), 3);
  EXPECT_STREQ(procedureList.procedureList->procedure->name, "r");
  EXPECT_STREQ(procedureList.procedureList->procedureList->procedure->name, "s");

  // With the log on, loading writes the "Prog" entry.
  LogFileOpen();
  ProcedureListClear();
  char again[] = "two.prog";
  StartProg1(again);
  std::string log = ReadFile("vLog");
  EXPECT_EQ(log.rfind("----- Prog -----\n\n", 0), 0u);
  EXPECT_NE(log.find("r"), std::string::npos);
  LogOff();
  ProcedureListClear();
}
