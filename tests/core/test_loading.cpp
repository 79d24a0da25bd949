// Loading program text and files, the display buffer sss, the debug log, and
// the pipeline: assumptions to sequents, the listing, a whole run twice.
#include <cstring>

#include "../../core/core.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"
#include "coretest.h"

using Loading = InTmpDir;

// What FileRead gives for `name`; what it printed goes to *printed.
static std::string Load(const char *name, std::string *printed) {
  CaptureStdout();
  char *s = FileRead(name);
  *printed = Out();
  std::string r = s;
  free(s);
  return r;
}
static bool IsErrorNaming(const std::string &out, const char *name) {
  return out.rfind("Error: ", 0) == 0 && Has(out, name);
}
static int printerCalls = 0;
static void PrinterA(Text *s) { printerCalls++, TextAppend(s, "first text"); }

// A result file is read as its procedures, with or without its white space;
// other text is left alone.
TEST(ResultFileText, ProceduresFromTheHeadingToTheRemainingConditions) {
  struct { const char *text, *read; } rows[] = {
      {"Procedures:\n\n{ $T }\n%PROC p()==\n{ x=1 }\n\nRemaining Verification Conditions:\n\n...p...",
       "\n\n{ $T }\n%PROC p()==\n{ x=1 }"},
      {"Procedures:{$T}%PROCp()==[]{x=1}RemainingVerificationConditions:...p...$T=>$F",
       "{$T}%PROCp()==[]{x=1}"},
      {"Procedures:{$T}%PROCp()==[]", "{$T}%PROCp()==[]"},   // no conditions part
      {"{$T}%PROC p()==[]{x=1}Remaining Verification Conditions:", nullptr},
      {"Procedure:{$T}", nullptr}};
  for (const auto &r : rows) {
    std::string text = r.text;
    EXPECT_EQ(std::string(ResultFileProcedures(&text[0])), r.read ? r.read : r.text) << r.text;
  }
}

TEST_F(Loading, CompressStringFileReadAndLiteralText) {
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
      {std::string("ab\0cd", 5), "abcd"}};  // NUL bytes would hide the rest: dropped, Error line
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
  // Literal text is compressed like a file's text; a name starting with "%"
  // or "{" is always text, never a file.
  char literal[] = "%PROC q() ==\n %STM [LB=1 => $OLB=2;]";
  Write("%PROC", "garbage");
  ProcedureListClear();
  EXPECT_EQ(StartProg1Checked(literal), 1);
  ASSERT_NE(procedureList.procedure, nullptr);
  EXPECT_EQ(std::string(procedureList.procedure->name) + " " + procedureList.procedure->body, "q (1,2)");
}

TEST_F(Loading, LogOffAndOn) {
  mkdir("vLog", 0700);  // cannot be created: an Error line naming it, logging off
  CaptureStdout();
  LogFileOpen();
  EXPECT_TRUE(IsErrorNaming(Out(), "vLog") && !LogIsOn());
  rmdir("vLog"), LogFileOpen();
  Log("Prog", PrinterA);
  Log("Verification Conditions", [](Text *s) { TextAppend(s, "second\ntext"); });
  EXPECT_STREQ(sss, "second\ntext");
  EXPECT_EQ(Slurp("vLog"), "----- Prog -----\n\nfirst text\n"
                           "----- Verification Conditions -----\n\nsecond\ntext\n");
  // The log holds the whole text; sss what fits, cut at a line end with a note.
  LogFileOpen();
  Log("Big", [](Text *s) { for (int i = 0; i < 2000; i++) TextPrintf(s, "line %04d\n", i); });
  std::string log = Slurp("vLog"), kept = sss, note = kept.substr(kept.rfind('\n') + 1);
  size_t shown = kept.size() - note.size();
  EXPECT_TRUE(log.size() == 17 + 20001 && Has(log, "line 1999\n"));
  EXPECT_TRUE(kept.size() < (size_t)SSS_SIZE && shown > 0 && log.compare(17, shown, kept, 0, shown) == 0);
  EXPECT_TRUE(Has(note, "text cut") && Has(note, std::to_string(20000 - shown))) << note;
  SssSet(std::string(SSS_SIZE * 2, 'z').c_str());  // a text without line ends is cut too
  EXPECT_TRUE(strlen(sss) < (size_t)SSS_SIZE && Has(sss, "text cut"));
  unlink("vLog"), mkdir("vLog", 0700);  // cannot be reopened: an Error line, logging off
  CaptureStdout();
  Log("Prog", PrinterA);
  EXPECT_TRUE(IsErrorNaming(Out(), "vLog") && !LogIsOn());
  printerCalls = 0;
  SssSet("shown");
  Log("Prog", PrinterA);  // off: the printer is not even called, sss keeps its text
  EXPECT_TRUE(printerCalls == 0 && !strcmp(sss, "shown")) << sss;
}

template <class T> static T *New() { return (T *)calloc(1, sizeof(T)); }
static FormulaPtr Read(const char *text) {
  FormulaPtr f = text ? FormulaAlloc() : nullptr;
  if (f) FormulaRead(strdup(text), f);
  return f;
}
// Appends to the emptied lists through a remembered tail.
struct Lists {
  AssumptionListPtr a = &assumptionList;
  Lists() { ProcedureListClear(), AssumptionListClear(), SequentListClear(); }
  void Assume(const char *f1, const char *f2, const char *name) {
    a->assumption = New<Assumption>();
    a->assumption->formula1 = Read(f1), a->assumption->formula2 = Read(f2);
    a->assumption->procName = LabelKeep(name);
    a = a->assumptionList = New<AssumptionList>();
  }
};
static std::string Listing() { return Str(0, [](int, Text *t) { SequentListPrint(t); }); }
static std::string Sides(SequentPtr s) {
  return Str(s->formulaList1, FormulaListPrint) + " " + Str(s->formulaList2, FormulaListPrint);
}

TEST(Pipeline, AssumptionsToSequentsListedPerProcedureInListOrder) {
  Lists l;
  char text[] = "%PROC p()==%STM[LB=1=>$OLB=2;]%PROC empty()==%STM[LB=1=>$OLB=2;]"
                "%PROC q()==%STM[LB=1=>$OLB=2;]";
  StartProg1(text);
  l.Assume("(a>0^b>0)^c<d", "a>0|(b>0|c>0)", "q");  // rewritten and split
  l.Assume("c>0", "d>0", "p");
  l.Assume(nullptr, nullptr, "p");  // without formulas: nothing to show, proved
  l.Assume("e>0", nullptr, "q");
  l.Assume("f>0", "g>0", "other");  // no such procedure: not listed
  AssumptionList2SequentList();
  SequentListPtr n = sequentList.sequentList;
  ASSERT_TRUE(sequentList.sequent && n->sequentList->sequent);
  EXPECT_EQ(Sides(sequentList.sequent), "a>0,b>0,d>c a>0,b>0,c>0");
  EXPECT_TRUE(n->sequentList->sequent->proved);
  PactSequentList(&sequentList);  // gone at the first compaction
  EXPECT_TRUE(n->sequentList->sequent && !n->sequentList->sequent->proved);
  const std::string listing = "...p...\n\nc>0\n =>\n  d>0\n\n\n...empty...\n\n\n"
                              "...q...\n\na>0,b>0,d>c\n =>\n  a>0,b>0,c>0\n\ne>0\n =>\n  $F\n\n\n";
  EXPECT_EQ(Listing(), listing);
  EXPECT_TRUE(Has(Str(0, [](int, Text *t) { ResultTextBuild(t); }),
                  "--------------------\n\nRemaining Verification Conditions:\n\n" + listing));
  EXPECT_FALSE(ResultFileWrite("/nonexistent-dir/result") || ResultFileWrite(""));
  AssumptionList2SequentList();  // rebuilding starts again at the head record
  EXPECT_EQ(Sides(sequentList.sequent), "a>0,b>0,d>c a>0,b>0,c>0");
}

// The result file, written in pieces as it is made, is the text the save
// command builds, also for a program whose listing is many pieces long.
TEST(Pipeline, ResultFileWrittenInPiecesIsTheBuiltText) {
  Lists l;
  std::string text;
  for (int i = 0; i < 1500; i++)
    text += "{x>0}%PROC p" + std::to_string(i) + "(%IOP/x:int)==%STM[LB=1=>$Ox=+(x," + std::to_string(i % 3 - 1) +
            ")^$OLB=2;]{x>0}";
  StartProg1(&text[0]);
  StartProg0();
  std::string built = Str(0, [](int, Text *t) { ResultTextBuild(t); });
  ASSERT_GT(built.size(), 2 * TEXT_SPILL);
  char name[] = "/tmp/quell-result-XXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_TRUE(ResultFileWrite(name));
  EXPECT_EQ(Slurp(name), built);
  unlink(name);
  EXPECT_FALSE(ResultFileWrite("/dev/full"));   // a failed write is a failure
}

TEST(Pipeline, StartProg0TwiceGivesTheSameSequents) {
  Lists l;
  char text[] = "{x=a^y=b}%PROC s(%IOP/x:int;%IOP/y:int)==%STM[LB=1=>$Ox=y^$Oy=x^$OLB=2;]{x=a^y=b}";
  StartProg1(text);
  StartProg0();
  std::string first = Listing();
  StartProg0();
  EXPECT_EQ(Listing(), first);
  EXPECT_TRUE(Has(first, "=>"));  // a wrong swap keeps a condition
}
