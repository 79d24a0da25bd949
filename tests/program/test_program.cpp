// Program text: labels, recognisers, bounded segments, the block reader and
// its records, procedures with their refusals and limits, lookups, printers,
// round trips, robustness against cut and mutated text, and loading speed.
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "../../core/core.h"
#include "../../program/sentence.h"
#include "../testutil.h"

// Records dropped from the global lists are never freed (the lists are
// emptied by zeroing their heads), so leak reports would only list them.
extern "C" const char *__asan_default_options() { return "detect_leaks=0"; }

static std::string FT(FormulaPtr f) { return Str(f, FormulaPrint); }
static std::string AT(AssignListPtr a) { return Str(a, AssignListPrint); }
static std::string PrintAll() { return Str(0, [](int, Text *t) { ProcedureListPrint(t); }); }
static bool Has(const std::string &s, const std::string &what) { return s.find(what) != s.npos; }
static int CountOf(const std::string &s, const std::string &what) {
  int n = 0;
  for (size_t i = s.find(what); i != s.npos; i = s.find(what, i + 1)) n++;
  return n;
}
static void ProgReset() {
  ProcedureListClear(), InitializeNewName();
  currentProcedure = nullptr, sp = nullptr;
}
// Loads program text after removing its white space; returns the printed Error lines.
static std::string ProgLoad(const std::string &text) {
  char *s = strdup(text.c_str());
  CompressString(s);
  CaptureStdout();
  ProcedureReadList(s);
  free(s);
  return Out();
}
static std::vector<ProcedurePtr> Procedures() {
  std::vector<ProcedurePtr> r;
  for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList)
    r.push_back(n->procedure);
  return r;
}
static int ProcedureCount() { return static_cast<int>(Procedures().size()); }
// The statement records, one line each: type labels labels1 labels2 cond
// assignments, and the assertion after the record in braces.
static std::string Rows(ProcedurePtr p) {
  std::string r;
  for (SentenceListPtr n = p->sentenceList; n && n->sentence; n = n->sentenceList) {
    SentencePtr s = n->sentence;
    r += (r.empty() ? "" : "\n") + std::to_string(s->type) + " " + s->labels + " " + s->labels1 +
         " " + s->labels2 + " " + FT(s->cond) + " " +
         (s->type == 2 || s->type == 3 || s->type == 4 ? "" : AT(s->assignList)) +
         (s->postCond ? " {" + FT(s->postCond) + "}" : "");
  }
  return r;
}
static ProcedurePtr ProgFrame() {   // a procedure frame for reading a block directly
  ProcedurePtr p = static_cast<ProcedurePtr>(calloc(1, sizeof(Procedure)));
  p->sentenceList = static_cast<SentenceListPtr>(calloc(1, sizeof(SentenceList)));
  currentProcedure = p;
  sp = p->sentenceList;
  return p;
}
struct Block { ProcedurePtr p; std::string l, out; };
static Block ReadBlock(const std::string &text) {   // reads a block into a fresh frame
  Block b{ProgFrame(), "", ""};
  char *s = strdup(text.c_str()), lab[LABEL_SIZE];
  CaptureStdout();
  SentenceRead(s, lab);
  b.out = Out();
  b.l = lab;
  free(s);
  return b;
}

static const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC[int:t]%STM[LB=1=>$Ot=a^$OLB=2;"
    "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";
static const char *kLoopAndCall =
    "%PROC w(%IOP/i:int;%INP/n:int)==[LB=1=>$Oi=0^$OLB=2;"
    "*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=5;LB=5=>$Oa[i]=i^$OLB=2;{i<s(n)}]]{i=n}"
    "%PROC c(%IOP/k:int)==[LB=1=>w(%IOP/k|i;%INP/+(k,1)|n)^$OLB=2;]";

TEST(Segments, LabelsHeadsAndAssertionsStayInsideTheirBuffers) {
  typedef int (*Reader)(const char *, char *);
  Reader label = [](const char *s, char *l) { return LabelRead(s, l); };
  Reader paren = [](const char *s, char *l) { return ProcHeadRead(s, l, '(', ')'); };
  Reader bracket = [](const char *s, char *l) { return ProcHeadRead(s, l, '[', ']'); };
  Reader locals = [](const char *s, char *l) { return ProcHeadReadWhat(s, l, '[', ']', "locals"); };
  Reader slash = [](const char *s, char *l) { return ReadTo(s, l, '/', '/'); };
  Reader slashBar = [](const char *s, char *l) { return ReadTo(s, l, '/', '|'); };
  std::string q29(29, 'q'), ok = "[" + std::string(2045, 'a') + "]";
  std::string big = "[" + std::string(2046, 'a') + "]";
  struct { Reader read; std::string text; int used; std::string got; } reads[] = {
      {label, "LB=12=>x", 5, "12"}, {label, "xLB=1", 0, ""}, {label, "LB=" + q29 + ";", 32, q29},
      {label, "LB=" + q29 + "q;", 33, ""},   // consumed, not cut
      {paren, "p(a(b))x", 7, "p(a(b))"}, {bracket, "[x[y]", 5, "[x[y]"},   // to the end of the text
      {bracket, ok, 2047, ok}, {locals, big, 2048, ""}, {slash, "abc", 3, "abc"},
      {slash, std::string(2048, 'r') + "/", 2048, ""}, {slashBar, "ab/cd", 2, "ab"},
  };
  char buf[SEGMENT_SIZE], a[LABEL_SIZE], b[LABEL_SIZE];
  std::string x13(13, 'x'), y13(13, 'y'), y14(14, 'y');
  CaptureStdout();
  for (auto &r : reads)
    EXPECT_TRUE(r.read(r.text.c_str(), buf) == r.used && buf == r.got) << r.text << " " << buf;
  EXPECT_TRUE(LabelPairMake(buf, x13.c_str(), y13.c_str()) == 1 && strlen(buf) == 29);   // fit
  EXPECT_TRUE(LabelPairMake(buf, x13.c_str(), y14.c_str()) == 0 && !*buf);   // 30 are refused
  int okFlag;
  struct { std::string text; int used, ok; } assertions[] = {
      {"x", 0, 0}, {"{f({x})}y", 8, 1}, {"{" + std::string(2045, 'z') + "}", 2047, 1},
      {"{" + std::string(2046, 'z') + "}", 2048, 0}, {"{a>0", 4, 0}};
  for (auto &c : assertions)
    EXPECT_TRUE(AssertionReadOk(c.text.c_str(), FormulaAlloc(), &okFlag) == c.used &&
                okFlag == c.ok) << c.text;
  std::string out = Out();
  for (const char *m : {"Error: LabelRead\n", "label longer than 29",
                        "Error: locals longer than 2047 characters\n",
                        "Error: ReadTo\n", "Error: ReadTo: text longer than 2047",
                        "Error: label pair longer than 29", "assertion longer than 2047",
                        "assertion without its closing }"})
    EXPECT_TRUE(Has(out, m)) << m;
  EXPECT_EQ(CountOf(out, "Error: "), 8) << out;   // one line each, none from the good texts
  FormulaPtr f = FormulaAlloc();
  EXPECT_TRUE(AssertionRead("{a>0}rest", f) == 5 && FT(f) == "a>0");
  DivideLabels("(1,25)", a, b);
  EXPECT_EQ(std::string(a) + "|" + b, "1|25");
  for (const char *bad : {"", "(", "(1", "(1,", "(1,2", "12", "x(1,2)"}) {
    strcpy(a, "junk"), strcpy(b, "junk");
    DivideLabels(bad, a, b);
    EXPECT_EQ(std::string(a) + b, "") << bad;
  }
  Blanks(0, a), Blanks(3, b);
  EXPECT_EQ(std::string(a) + "|" + b, "|   ");
}

TEST(Recognisers, LookForTheArrowOnlyInTheCurrentStatement) {
  // A later statement's arrow, after the statement's own ";", does not count.
  struct { int (*is)(const char *); const char *text; int want; } cases[] = {
      {isElem, "LB=1=>$Ox=1^$OLB=2;", 1}, {isCall, "LB=1=>$Ox=1^$OLB=2;", 0},
      {isCall, "LB=1=>q(%IOP/b|y;%INP/t|z)^$OLB=6;", 1},
      {isElem, "LB=1$Ox=1;LB=2=>$Ox=2^$OLB=3;", 0}, {isCall, "LB=1$Ox=1;LB=2=>q()^$OLB=3;", 0},
      {isElem, "x=>$O", 0}, {isCall, "", 0}};
  for (auto &c : cases) EXPECT_EQ(!!c.is(c.text), c.want) << c.text;
}

// Blocks and their records in list order. `out` is matched exactly when it
// begins with "=", and otherwise looked for; rows are compared unless null.
TEST(Block, StatementFormsAndTheirRecords) {
  std::string a13(13, 'a'), b13(13, 'b'), b14(14, 'b'), c14(14, 'c'), n29(29, 'n'), n30(30, 'n');
  auto call = [](size_t n) { return "LB=1=>q(%INP/" + std::string(n, 'a') + "|y)^$OLB=2;"; };
  struct { std::string text, l, out, rows; } cases[] = {
      {"LB=1=>$OLB=2;", "(1,2)", "=", "1 (1,2)    $Ox=x"}, {"[]", "", "=", ""},
      {"[LB=3=>$Ox=1^$OLB=5;LB=4=>$Ox=2^$OLB=5;]", "(4,5)", "=",
       "1 (3,5)    $Ox=1\n1 (4,5)    $Ox=2"},
      {"[LB=1=>$OLB=2;x]", "(1,2)", "=Error: sentenceRead\nError: x]\n", "1 (1,2)    $Ox=x"},
      {"LB=1$Ox=1;LB=2=>$OLB=3;", "?", "=Error: sentenceRead\nError: LB=1$Ox=1;LB=2=>$OLB=3;\n",
       ""},
      {"[LB=1=>$Ox=1^$OLB=2;LB=1=>$Ox=2^$OLB=3;]", "?", "Error: two statements start at label 1",
       "1 (1,2)    $Ox=1"},
      {"LB=1=>$Ox=1$OLB=2;", "?", "Error: *** Missing $OLB ***\n", "?"},
      {"LB=1=>$Ox=1$OLB=2;", "?", "Error: sent.elem, LB\n", "?"},
      {"LB=1=>$Ox=1^$OLB=2)^$Oy=5;", "?", "Error: sent.elem: text after the next label: )^$Oy=5",
       "?"},
      // Label pairs of 29 characters fit; 30 are refused, not cut, and no sequence is made of them.
      {"[LB=" + a13 + "=>$OLB=" + b13 + ";]", "(" + a13 + "," + b13 + ")", "=", "?"},
      {"[LB=" + a13 + "=>$OLB=" + b14 + ";]", "", "Error: label pair longer than 29", ""},
      {"[LB=" + a13 + "=>$OLB=1;LB=1=>$OLB=" + c14 + ";]", "?", "Error: label pair longer than 29",
       ("1 (" + a13 + ",1)    $Ox=x\n1 (1," + c14 + ")    $Ox=x")},
      // Loops: the body record and the invariant after it; chains nest to the left.
      {"*[LB=2^c=>($OLB=3|$OLB=9)LB=3=>$OLB=5;LB=5=>$OLB=2;{inv}]", "(2,9)", "=",
       "1 (3,5)    $Ox=x\n1 (5,2)    $Ox=x\n2 (3,2) (3,5) (5,2)   {inv}\n3 (2,9) (3,2)  c "},
      {"[LB=1=>$Oi=0^$OLB=2;*[LB=2^i<n=>($OLB=3|$OLB=9)LB=3=>$Oj=0^$OLB=4;"
       "*[LB=4^j<i=>($OLB=5|$OLB=6)"
       "?[LB=5^j=0=>$OLB=7|~=>$OLB=8;LB=7=>$Ox=1^$OLB=10;LB=8=>$Ox=2^$OLB=10;]"
       "LB=10=>$Oj=s(j)^$OLB=4;{j<s(i)}]LB=6=>$Oi=s(i)^$OLB=2;{i<s(n)}]]", "(1,9)", "=",
       "1 (1,2)    $Oi=0\n1 (3,4)    $Oj=0\n1 (7,10)    $Ox=1\n1 (8,10)    $Ox=2\n"
       "4 (5,10) (7,10) (8,10) j=0 \n1 (10,4)    $Oj=s(j)\n2 (5,4) (5,10) (10,4)   {j<s(i)}\n"
       "3 (4,6) (5,4)  j<i \n2 (3,6) (3,4) (4,6)  \n1 (6,2)    $Oi=s(i)\n"
       "2 (3,2) (3,6) (6,2)   {i<s(n)}\n3 (2,9) (3,2)  i<n \n2 (1,9) (1,2) (2,9)  "},
      // Assertions belong to the record covering the chain before them; before the
      // first statement there is nothing to attach to, and "{}" is quiet.
      {"[LB=1=>$Ox=y^$OLB=2;{x=y}LB=2=>$Oy=x^$OLB=3;{y=x}]", "(1,3)", "=",
       "1 (1,2)    $Ox=y {x=y}\n1 (2,3)    $Oy=x\n2 (1,3) (1,2) (2,3)   {y=x}"},
      {"[{x>0}LB=1=>$OLB=2;]", "(1,2)", "Error: assertion with no statement before it",
       "1 (1,2)    $Ox=x"},
      {"[{}LB=1=>$OLB=2;]", "(1,2)", "=", "1 (1,2)    $Ox=x"},
      // Missing pieces are reported inside the loop; the statement after it stays intact.
      {"[*[LB=2^c($OLB=3|$OLB=4)]LB=4=>$Ox=1^$OLB=5;]", "?", "Error: loop\n", "?"},
      {"*[LB=2^c=>($OLB=3|$OLB=4)LB=3=>$OLB=2;", "?", "loop without its closing ]", "?"},
      // Cases; an empty second branch joins at its own label, two empty ones at none.
      {"?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]", "(2,5)", "=",
       "1 (3,5)    $Ob=t\n1 (4,5)    $Ox=x\n4 (2,5) (3,5) (4,5) t>b "},
      {"?[LB=2^c=>$OLB=3|~=>$OLB=5;LB=3=>$Ox=1^$OLB=5;]", "(2,5)", "=",
       "1 (3,5)    $Ox=1\n4 (2,5) (3,5) (5,5) c "},
      {"?[LB=2^c=>$OLB=3|~=>$OLB=4;]", "?", "join at no label", ""},
      // Calls: bindings in order, arguments with parentheses, names up to 29 characters.
      {"LB=1=>q(%INP/f(u,g(v))|z;%IOP/a[i]|y)^$OLB=2;", "(1,2)", "=",
       "5 (1,2) q   $Oz=f(u,g(v))^$Oy=a[i]"},
      {"LB=1=>q(%XYZ/b|y;%INP/t|z)^$OLB=2;", "?", "neither %IOP nor %INP", "5 (1,2) q   $Oz=t"},
      {"LB=1=>q(%INP/b|y)^LB=2;", "?", "Error: sent.call\n", "?"},
      {"LB=1=>q(%INPb|y)^$OLB=2;", "?", "Error: ReadTo\n", "?"},
      {"LB=1=>" + n29 + "()^$OLB=2;", "?", "=", ("5 (1,2) " + n29 + "   ")},
      {"LB=1=>" + n30 + "()^$OLB=2;", "?", "called procedure name longer than 29", "5 (1,2)    "},
      // Binding text "^$Oy=" and the actual: 2047 characters fit, 2048 are refused.
      {call(2047 - 5), "?", "=", ("5 (1,2) q   $Oy=" + std::string(2042, 'a'))},
      {call(2048 - 5), "?", "call bindings longer than 2047", "5 (1,2) q   "},
  };
  ProgReset();
  for (auto &c : cases) {
    SCOPED_TRACE(c.text.substr(0, 80));
    Block b = ReadBlock(c.text);
    EXPECT_TRUE(c.l == "?" || b.l == c.l) << b.l;
    EXPECT_TRUE(c.out[0] == '=' ? b.out == c.out.substr(1) : Has(b.out, c.out)) << b.out;
    EXPECT_TRUE(c.rows == "?" || Rows(b.p) == c.rows) << Rows(b.p);
    if (c.out == "=") { EXPECT_EQ(ProcedureCheckParts(b.p), 1); }   // every part names a record
  }
  // A piece of the case taken away or spoilt: each gives its own message.
  const std::string base = "?[LB=2^c=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]";
  std::pair<const char *, const char *> spoilt[] = {
      {"LB=2^", "2^"}, {"2^c", "2c"}, {"=>$OLB=3", "=>LB=3"}, {"=>$OLB=3", "=>$O3"}, {"3|~", "3~"},
      {"|~=>", "|=>"}, {"~=>", "~"}, {"~=>$OLB=4", "~=>LB=4"}, {"~=>$OLB=4", "~=>$O4"},
      {";LB=3=>$OLB=5;LB=4=>$OLB=5;", ""}};
  for (int i = 0; i < 10; i++) {
    std::string text = base;
    text.replace(text.find(spoilt[i].first), strlen(spoilt[i].first), spoilt[i].second);
    std::string out = ReadBlock(text).out;
    EXPECT_TRUE(Has(out, "Error: case" + std::to_string(i + 1) + "\n")) << text << "\n" << out;
  }
}

TEST(Block, DirectReadersAssertionsAndNesting) {
  ProgReset();
  ProcedurePtr p = ProgFrame();
  char e[] = "LB=1=>$Ox=y^$Oy=x^$OLB=2;", c[] = "LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;";
  char lab[LABEL_SIZE];
  EXPECT_EQ(SentElemRead(e, lab), 25);
  EXPECT_EQ(SentCallRead(c, lab), 34);
  SentencePtr sent = static_cast<SentencePtr>(calloc(1, sizeof(Sentence)));
  char s1[] = "LB=1$OLB=2";
  CaptureStdout();
  SentElemRead1(s1, lab, sent);
  EXPECT_EQ(Out().substr(0, 17), "Error: sent.elem\n");
  // Sequences join label pairs compared as texts; malformed pairs never join.
  char s2[LABEL_SIZE] = "(2,3)", s3[LABEL_SIZE] = "(3,4)", s4[LABEL_SIZE] = "(2,3)";
  char s5[LABEL_SIZE] = "(,3)";
  EXPECT_TRUE(SentSeqComposition("(1,2)", s2) == 1 && !strcmp(s2, "(1,3)"));
  EXPECT_EQ(SentSeqComposition("(1,2)", s3) + SentSeqComposition("(1,02)", s4) +
                SentSeqComposition("", s5), 0);
  EXPECT_STREQ(s3, "(3,4)");
  EXPECT_EQ(Rows(p), "1 (1,2)    $Ox=y^$Oy=x\n5 (5,6) q   $Oy=b^$Oz=t\n2 (1,3) (1,2) (2,3)  ");
  // A call without bindings: one node with neither assignment nor successor.
  for (const char *t : {"LB=1=>r()^$OLB=2;", "LB=1=>r()$OLB=2;"}) {
    Block b = ReadBlock(t);
    EXPECT_EQ(b.out, "") << t;
    SentencePtr s = Sentence2Ptr("(1,2)");
    ASSERT_TRUE(s && s->type == 5 && s->assignList && !strcmp(s->labels1, "r")) << t;
    EXPECT_TRUE(!s->assignList->assign && !s->assignList->assignList) << t;
  }

  Block b = ReadBlock("[*[LB=2^c($OLB=3|$OLB=4)]LB=4=>$Ox=1^$OLB=5;]");   // no "=>" in the loop
  EXPECT_TRUE(Has(Rows(b.p), "\n1 (4,5)    $Ox=1")) << Rows(b.p);   // the next statement is intact
  // Loops nested far deeper than any block can hold still end.
  std::string deep;
  for (int i = 0; i < MAX_NEST_DEPTH + 10; i++) deep += "*[LB=1^c=>()";
  EXPECT_TRUE(Has(ReadBlock(deep).out, "statements nested too deeply"));
}

// A procedure's record: name (parameters) locals body {pre} {post} readError; "-" for none.
static std::string Summary(const char *name) {
  ProcedurePtr p = Procedure2Ptr(name);
  std::string r = std::string(p->name) + " (";
  for (ParamTrippleListPtr q = p->params; q; q = q->paramTrippleList)
    r += std::string(q->io) + "/" + q->name + ":" + q->type + ";";
  auto f = [](FormulaPtr c) { return c ? "{" + FT(c) + "}" : std::string("-"); };
  return r + ") " + p->loc + " " + p->body + " " + f(p->preCond) + " " + f(p->postCond) + " " +
         std::to_string(p->readError);
}

TEST(Procedure, WorkedExampleAndOptionalParts) {
  ProgReset();
  EXPECT_EQ(ProgLoad("{a>0}\n%PROC p(%INP/a:int;%IOP/b:int)==\n%LOC [int:t]\n%STM [\n"
                     "LB=1=>$Ot=a^$OLB=2;\n?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\nLB=3=>$Ob=t^$OLB=5;\n"
                     "LB=4=>$OLB=5;\n]\n]\n{b>0}\n"),
            "");
  ASSERT_EQ(ProcedureCount(), 1);
  ProcedurePtr p = procedureList.procedure;
  EXPECT_EQ(Summary("p"), "p (%INP/a:int;%IOP/b:int;) [int:t] (1,5) {a>0} {b>0} 0");
  EXPECT_EQ(Rows(p), "1 (1,2)    $Ot=a\n1 (3,5)    $Ob=t\n1 (4,5)    $Ox=x\n"
                     "4 (2,5) (3,5) (4,5) t>b \n2 (1,5) (1,2) (2,5)  ");
  EXPECT_TRUE(currentProcedure == p && !sp->sentence && !sp->sentenceList);

  // "==", "%LOC", "%STM", parameters and assertions are optional; an empty block is no error.
  EXPECT_EQ(ProgLoad("%PROC q()==%STM[LB=1=>$OLB=2;]%PROC r(%IOP/x:int)[LB=1=>$OLB=2;]{x>0}"
                     "%PROC s()%LOC[v]%STM[]%PROC t1()[]%PROC t2()[]"),
            "");
  EXPECT_EQ(Summary("r") + "|" + Summary("s"), "r (%IOP/x:int;)  (1,2) - {x>0} 0|s () [v]  - - 0");
  std::string names;   // appended in text order, behind what was there
  for (ProcedurePtr q : Procedures()) names += std::string(q->name) + " ";
  EXPECT_EQ(names, "p q r s t1 t2 ");
}

TEST(Procedure, RefusedTextAndReadErrors) {
  struct { const char *text, *msg; int count; } refused[] = {
      {"%PROC p()[LB=1=>$OLB=2;]garbage%PROC q()[]",
       "text without %PROC is not a procedure and is not added; reading ends at: "
       "garbage%PROCq()[]", 1},
      {"{a>0}[LB=1=>$OLB=2;]", "without %PROC", 0},
      {"%PROC p()LB=1=>$OLB=2;", "procedure without its [ statement block ]", 0},
      {"%PROC p()[LB=1=>$OLB=2;", "statement block without its closing ]", 0},
      {"%PROC p[LB=1=>$OLB=2;]", "procedure head without its ( parameter list )", 0},
      {"%PROC p(%INP/a:int[]", "procedure head without its closing )", 0},
      {"%PROC a13()%LOCx[LB=1=>$OLB=2;]", "Error: %LOC without its [ locals ]", 0},
      {"%PROC ()[]", "procedure without a usable name is not added", 0},
      {"", "", 0},
  };
  for (auto &c : refused) {
    ProgReset();
    std::string out = ProgLoad(c.text);
    EXPECT_TRUE(c.msg[0] ? Has(out, c.msg) : out.empty()) << c.text << "\n" << out;
    EXPECT_EQ(ProcedureCount(), c.count) << c.text;
  }
  ProgReset();
  std::string out =
      ProgLoad("%PROC p()[LB=1=>$Ox=1^$OLB=2;]%PROC p()[LB=1=>$Ox=2^$OLB=2;]%PROC q()[]");
  EXPECT_TRUE(Has(out, "Error: a second procedure of that name is not added: p")) << out;
  EXPECT_TRUE(Has(ProgLoad("%PROC p()[]"), "second procedure") && ProcedureCount() == 2);
  currentProcedure = Procedure2Ptr("p");
  EXPECT_EQ(AT(Sentence2Ptr("(1,2)")->assignList), "$Ox=1");   // the first one stays

  // A read error marks the procedure, so that its conditions stay unprovable.
  const char *bad[] = {
      "%PROC a1()[LB=1=>$Ox=1$OLB=2;]", "%PROC a2()[LB=1=>$OLB=2;x]",
      "%PROC a3()[LB=1=>$OLB=2;LB=1=>$OLB=3;]", "%PROC a4(%INP/x)[LB=1=>$OLB=2;]",
      "%PROC a5(%XX/x:int)[LB=1=>$OLB=2;]", "%PROC a6()[LB=1=>$O#@a=1^$OLB=2;]",
      "%PROC a7()[LB=1=>q(%INP/#@b|y)^$OLB=2;]", "{#@c>0}%PROC a8()[LB=1=>$OLB=2;]",
      "%PROC a9()[*[LB=2^c=>($OLB=3|$OLB=4)LB=3=>$OLB=5;]]",   // body does not return to 2
      "%PROC a10()[{x}LB=1=>$OLB=2;]", "%PROC a11()[LB=1=>$OLB=2;]{x>0",
      "%PROC a12()[*[LB=2^c=>($OLB=2|$OLB=4)]]",   // empty body: no record for the invariant
      "%PROC a13()[*[LB=2^c=>($OLB=2|$OLB=2)]]",   // a loop whose body names the loop itself
      // Its part (7,9) names no statement.
      "%PROC a14()==[LB=1=>$OLB=5;?[LB=5^d=>$OLB=6|~=>$OLB=7;LB=6=>$OLB=9;]]",
  };
  ProgReset();
  for (const char *t : bad) {
    out = ProgLoad(t);
    ASSERT_GT(ProcedureCount(), 0) << t;
    EXPECT_TRUE(Has(out, "Error: ") && Procedures().back()->readError == 1) << t << "\n" << out;
  }
  EXPECT_EQ(ProcedureCount(), 14);
  EXPECT_TRUE(Has(out, "Error: statement (5,9): its part (7,9) names no statement\n")) << out;
  // Ordinary names that merely contain "#@" inside, and "#" names, are fine.
  EXPECT_EQ(ProgLoad("%PROC ok1()[LB=1=>$Ox=a#@b^$Oy=#y^$OLB=2;]"), "");
  EXPECT_EQ(Procedure2Ptr("ok1")->readError, 0);
}

TEST(Procedure, LimitsAtTheirBoundaries) {
  auto head = [](const char *name, size_t len) {   // head "h(...)" of len characters
    std::string h = std::string(name) + "(%INP/x:";
    return "%PROC " + h + std::string(len - h.size() - 1, 't') + ")[]";
  };
  auto block = [](const char *name, size_t len) {   // block "[LB=1=>$Ox=...^$OLB=2;]"
    return "%PROC " + std::string(name) + "()[LB=1=>$Ox=" + std::string(len - 20, 'e') +
           "^$OLB=2;]";
  };
  std::string n29(29, 'n'), f29(29, 'f'), f30(30, 'g');
  struct { std::string text; const char *name, *msg; int readError; } cases[] = {
      {"%PROC " + n29 + "()[]", n29.c_str(), "", 0},
      {"%PROC " + std::string(30, 'm') + "()[]", nullptr, "procedure name longer than 29", 0},
      {"%PROC pa(%INP/" + f29 + ":" + f29 + ")[]", "pa", "", 0},
      {"%PROC pb(%INP/" + f30 + ":int)[]", "pb", "parameter name longer than 29", 1},
      {"%PROC pc(%INP/x:" + f30 + ")[]", "pc", "parameter type longer than 29", 1},
      {head("h1", 2047), "h1", "!head longer", 1},   // its type is too long, the head is not
      {head("h2", 2048), "h2", "Error: procedure head longer than 2047 characters", 1},
      {"%PROC l1()%LOC[" + std::string(2045, 'v') + "][]", "l1", "", 0},
      {"%PROC l2()%LOC[" + std::string(2046, 'v') + "][]", "l2",
       "Error: locals longer than 2047 characters", 1},
      {block("b1", 2047), "b1", "", 0},
      {block("b2", 2048), "b2",
       "Error: statement block of procedure b2 longer than 2047 characters", 1},
      {"{x=" + std::string(2043, 'w') + "}%PROC c1()[]", "c1", "", 0},
      {"%PROC c2()[]{x=" + std::string(2044, 'w') + "}", "c2", "assertion longer than 2047", 1},
  };
  ProgReset();
  for (auto &c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    int before = ProcedureCount();
    std::string out = ProgLoad(c.text);
    EXPECT_TRUE(c.msg[0] == '!' ? !Has(out, c.msg + 1) : c.msg[0] ? Has(out, c.msg) : out.empty())
        << out;
    EXPECT_EQ(ProcedureCount(), before + (c.name ? 1 : 0));
    if (!c.name) continue;
    ASSERT_NE(Procedure2Ptr(c.name), nullptr);
    EXPECT_EQ(Procedure2Ptr(c.name)->readError, c.readError);
  }
  EXPECT_TRUE(Procedure2Ptr("pa")->params->name == f29 && !*Procedure2Ptr("pb")->params->name);
  EXPECT_TRUE(strlen(Procedure2Ptr("l1")->loc) == 2047 && !*Procedure2Ptr("b2")->body);
  EXPECT_STREQ(Procedure2Ptr("b1")->body, "(1,2)");
  EXPECT_TRUE(Procedure2Ptr("c1")->preCond && !Procedure2Ptr("c2")->postCond);
}

TEST(Procedure, LargeProgramLoadsAndPrintsQuickly) {
  ProgReset();
  std::string prog;
  const int count = 8000;
  for (int i = 0; i < count; i++) {
    prog += "{x>0^y=+(x,1)^z=*(x,y)}%PROCp" + std::to_string(i) +
            "(%IOP/x:int;%IOP/y:int;%INP/z:int)==%LOC[int:u;int:v]%STM["
            "LB=1=>$Ox=+(x,1)^$Oy=-(y,z)^$OLB=2;"
            "?[LB=2^x>y=>$OLB=3|~=>$OLB=4;LB=3=>$Ou=*(x,+(y,z))^$OLB=5;LB=4=>$Ov=+(u,1)^$OLB=5;]";
    prog += i > 0 ? "LB=5=>p" + std::to_string(i - 1) + "(%IOP/x|x;%IOP/y|y;%INP/z|z)^$OLB=6;"
                  : std::string("LB=5=>$OLB=6;");
    prog += "]{x>1^y>0}";
  }
  // Processor time, so that a busy machine does not fail the test; well under
  // a second in an optimised build, the sanitizer build is slower.
  std::clock_t t0 = std::clock();
  EXPECT_EQ(ProgLoad(prog), "");
  EXPECT_LT(static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC, 5.0);
  EXPECT_EQ(ProcedureCount(), count);
  EXPECT_STREQ(Procedure2Ptr(("p" + std::to_string(count - 1)).c_str())->body, "(1,6)");
  t0 = std::clock();
  EXPECT_EQ(CountOf(PrintAll(), "%PROC"), count);
  EXPECT_LT(static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC, 5.0);
}

TEST(Lookups, FirstMatchFallbackAndIndexes) {
  ProgReset();
  ProgLoad("%PROC p()==[LB=1=>$OLB=2;]{p1}%PROC q()==[LB=1=>$OLB=2;{inner}]{q1}");
  ProcedurePtr p = Procedure2Ptr("p"), q = Procedure2Ptr("q");
  ASSERT_TRUE(p && q && !Procedure2Ptr("r"));
  currentProcedure = p;
  EXPECT_EQ(GetPostCond("(1,2)"), nullptr);   // the statement has none
  EXPECT_EQ(FT(GetPostCond("q")), "q1");      // no statement "q": the procedure
  currentProcedure = q;
  EXPECT_EQ(FT(GetPostCond("(1,2)")), "inner");
  FormulaPtr f = FormulaMakeTrue();
  EXPECT_TRUE(AddPostCond("p", f) == 1 && p->postCond == f);
  EXPECT_TRUE(AddPreCond("q", f) == 1 && q->preCond == f);
  // No such statement or procedure; preconditions go to procedures only.
  EXPECT_EQ(AddPostCond("(9,9)", f) + AddPreCond("(1,2)", f) + AddPreCond("zz", f), 0);
  EXPECT_EQ((currentProcedure = nullptr, Sentence2Ptr("(1,2)")), nullptr);

  // The indexes follow appends and clears, also a clear by zeroing the head.
  ProcedureListClear();
  EXPECT_TRUE(currentProcedureList == &procedureList && !Procedure2Ptr("p"));
  ProgLoad("%PROC p()==[LB=3=>$OLB=4;]");
  EXPECT_TRUE(Procedure2Ptr("p") && Procedure2Ptr("p") != p);
  procedureList.procedure = nullptr, procedureList.procedureList = nullptr;
  EXPECT_EQ(Procedure2Ptr("p"), nullptr);
  EXPECT_EQ(ProgLoad("%PROC p()==[LB=5=>$OLB=6;]"), "");
  ProcedurePtr p3 = currentProcedure = Procedure2Ptr("p");
  EXPECT_TRUE(ProcedureCount() == 1 && Sentence2Ptr("(5,6)"));
  SentencePtr extra = static_cast<SentencePtr>(calloc(1, sizeof(Sentence)));   // appended by hand
  extra->type = 1, strcpy(extra->labels, "(6,7)");
  SentenceListPtr tail = p3->sentenceList;
  while (tail->sentence) tail = tail->sentenceList;
  tail->sentence = extra;
  tail->sentenceList = static_cast<SentenceListPtr>(calloc(1, sizeof(SentenceList)));
  EXPECT_EQ(Sentence2Ptr("(6,7)"), extra);
}

static const char *kExamplePrinted =
    "{ a>0 }\n%PROC p(%INP/a:int;%IOP/b:int)==\n%LOC [int:t]\n%STM [ \n"
    "    LB=1=>$Ot=a^$OLB=2;\n"
    "    ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n"
    "      LB=3=>$Ob=t^$OLB=5;\n"
    "      LB=4=>$Ox=x^$OLB=5;\n"
    "     ]\n]\n{ b>0 }\n";

TEST(Printers, WorkedExamplesAndDebugForm) {
  ProgReset();
  ASSERT_EQ(ProgLoad(kExample), "");
  ProcedurePtr p = procedureList.procedure;
  EXPECT_TRUE(Str(p, ProcedurePrint) == kExamplePrinted &&
              PrintAll() == std::string(kExamplePrinted) + "\n") << PrintAll();
  currentProcedure = p;
  Sentence2Ptr("(1,2)")->preCond = FormulaMakeTrue();
  EXPECT_EQ(Str(p, ProcedurePrintDebug),
            "{ a>0 }\n%PROC p(%INP/a:int;%IOP/b:int)==\n%LOC [int:t]\n%STM [ \n"
            "    {$T}\n    LB=1=>$Ot=a^$OLB=2;\n"
            "    {}\n    ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n"
            "      {}\n      LB=3=>$Ob=t^$OLB=5;\n"
            "      {}\n      LB=4=>$Ox=x^$OLB=5;\n"
            "     ]\n]\n{ b>0 }\n");
  int used = 0;
  auto pre = [&](SentencePtr x, Text *t) { used = PrintPreCond(x, t, 2); };
  EXPECT_TRUE(Str(Sentence2Ptr("(1,2)"), pre) == "  {$T}\n" && used == 7);
  EXPECT_EQ(CountOf(Str(0, [](int, Text *t) { ProcedureListPrintDebug(t); }), "{}\n"), 3);

  ProgReset();
  ASSERT_EQ(ProgLoad("%PROC w(%IOP/i:int;%INP/n:int)==[LB=1=>$Oi=0^$OLB=2;"
                     "*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=2;{i<s(n)}]]"),
            "");
  currentProcedure = procedureList.procedure;
  EXPECT_EQ(Str(0, [](int, Text *s) { SentencePrint("(2,4)", s, 4); }),
            "    *[LB=2^i<n=>($OLB=3|$OLB=4)\n      LB=3=>$Oi=s(i)^$OLB=2;\n"
            "      {i<s(n)}\n     ]\n");
}

TEST(Printers, EdgeCasesAndCallBindings) {
  ProgReset();
  // The second branch of the case goes to 7, where no statement is: it prints as nothing.
  EXPECT_EQ(ProgLoad("%PROC q()==[LB=1=>r(%INP/a|x)^$OLB=2;LB=2=>q()^$OLB=3;"
                     "*[LB=3^c=>($OLB=4|$OLB=5)LB=4=>$OLB=3;]"
                     "?[LB=5^d=>$OLB=6|~=>$OLB=7;LB=6=>$OLB=9;]]"),
            "Error: statement (5,9): its part (7,9) names no statement\n");
  EXPECT_EQ(PrintAll(),
            "{  }\n%PROC q()==\n%STM [ \n"
            "    LB=1=>r()^$OLB=2;\n"   // r is not in the list
            "    LB=2=>q()^$OLB=3;\n"
            "    *[LB=3^c=>($OLB=4|$OLB=5)\n      LB=4=>$Ox=x^$OLB=3;\n      {}\n     ]\n"
            "    ?[LB=5^d=>$OLB=6|~=>$OLB=7;\n      LB=6=>$Ox=x^$OLB=9;\n     ]\n"
            "]\n{  }\n\n");
  auto none = [](const char *k, Text *t) { TextAppend(t, k), SentencePrint("", t, 4),
                                            SentencePrintPtr(nullptr, t, 4); };
  EXPECT_EQ(Str("kept", none), "kept");   // nothing added, nothing erased

  // Bindings pair with the callee's formals: its io is shown; fewer bindings leave no ";".
  ProgReset();
  ASSERT_EQ(ProgLoad("%PROC q(%IOP/y:int;%INP/z:int)==[]"
                     "%PROC m()==[LB=5=>q(%INP/b|y;%IOP/f(u,v)|z)^$OLB=6;"
                     "LB=6=>q(%IOP/c|y)^$OLB=7;]"),
            "");
  std::string s = Str(Procedure2Ptr("m"), ProcedurePrint);
  EXPECT_TRUE(Has(s, "    LB=5=>q(%IOP/b|y;%INP/f(u,v)|z)^$OLB=6;\n")) << s;
  EXPECT_TRUE(Has(s, "    LB=6=>q(%IOP/c|y)^$OLB=7;\n")) << s;

  // A record that contains itself prints once.
  ProgReset();
  EXPECT_TRUE(Has(ProgLoad("%PROC z()[*[LB=2^c=>($OLB=2|$OLB=2)]]"),
                  "is not a statement read before it"));
  EXPECT_EQ(CountOf(PrintAll(), "*[LB=2"), 1);
  // Many procedures, far past the display buffer, are all printed.
  ProgReset();
  std::string prog;
  for (int i = 0; i < 300; i++)
    prog += "{x>0}%PROC p" + std::to_string(i) + "(%IOP/x:int)==[LB=1=>$Ox=+(x,1)^$OLB=2;]{x>1}";
  ASSERT_EQ(ProgLoad(prog), "");
  std::string printed = PrintAll();
  EXPECT_TRUE(printed.size() > SSS_SIZE && CountOf(printed, "%PROC p") == 300 &&
              Has(printed, "%PROC p299(%IOP/x:int)==\n"));
}

TEST(Printers, PrintLoadPrintRoundTrips) {
  std::vector<std::string> programs = {
      kExample, kLoopAndCall,
      "%PROC e()[]{$F}%PROC f()[LB=1=>e()^$OLB=2;]"
      "%PROC g(%IOP/k:int)==%LOC[int:j]%STM[LB=1=>e()^$OLB=2;"
      "?[LB=2^k>0=>$OLB=3|~=>$OLB=4;*[LB=3^$T=>($OLB=5|$OLB=6)LB=5=>$OLB=3;]LB=4=>$Ok=0^$OLB=6;]]"};
  for (const char *f : {"arrays.q", "calls.q", "count.q", "max.q", "missing.q", "swap.q"}) {
    std::string path = std::string(QUELL_SOURCE_DIR) + "/examples/" + f;
    ASSERT_TRUE(FileReadable(path.c_str())) << path;
    char *text = FileRead(path.c_str());
    programs.push_back(text), free(text);
  }
  for (auto &prog : programs) {
    SCOPED_TRACE(prog.substr(0, 60));
    ProgReset();
    ASSERT_TRUE(ProgLoad(prog).empty() && ProcedureCount() > 0);
    std::string first = PrintAll();
    ProgReset();
    ASSERT_EQ(ProgLoad(first), "") << first;
    EXPECT_EQ(PrintAll(), first);
    for (ProcedurePtr q : Procedures()) EXPECT_EQ(q->readError, 0) << q->name;
  }
}

// Every prefix and many mutations of the programs: reading and printing stay
// inside the text and always finish (the sanitizer build checks every access).
TEST(Robust, EveryPrefixAndManyMutations) {
  auto readAndPrint = [](const std::string &text) {
    ProgReset();
    char *s = strdup(text.c_str());
    ProcedureReadList(s);
    free(s);
    Str(0, [](int, Text *t) { ProcedureListPrint(t), ProcedureListPrintDebug(t); });
  };
  const char alphabet[] = "[](){};|^~=<>$O%LB*?,:/#@x1";
  CaptureStdout();
  for (std::string p : {kExample, kLoopAndCall}) {
    for (size_t n = 0; n <= p.size(); n++) readAndPrint(p.substr(0, n));
    unsigned seed = 12345;
    for (int i = 0; i < 600; i++) {
      std::string m = p;
      for (int k = 0; k < 1 + i % 3; k++) {
        seed = seed * 1103515245u + 12345u;
        size_t at = (seed >> 8) % m.size();
        char c = alphabet[(seed >> 20) % (sizeof alphabet - 1)];
        if ((seed >> 4) % 3 == 0) m.erase(at, 1);
        else if ((seed >> 4) % 3 == 1) m.insert(at, 1, c);
        else m[at] = c;
      }
      readAndPrint(m);
    }
  }
  EXPECT_GT(CountOf(Out(), "Error: "), 1000);
}
