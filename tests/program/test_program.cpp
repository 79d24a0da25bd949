// Program text: segments, the block reader, procedures and their limits, lookups, printers, robustness.
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "../../core/core.h"
#include "../../program/sentence.h"
#include "../testutil.h"

// Records dropped from the global lists are never freed, so leak reports would only list them.
extern "C" const char *__asan_default_options() { return "detect_leaks=0"; }

static std::string FT(FormulaPtr f) { return Str(f, FormulaPrint); }
static std::string PrintAll() { return Str(0, [](int, Text *t) { ProcedureListPrint(t); }); }
static int CountOf(const std::string &s, const std::string &what) {
  int n = 0;
  for (size_t i = s.find(what); i != s.npos; i = s.find(what, i + 1)) n++;
  return n;
}
static void ProgReset() {
  ProcedureListClear(), InitializeNewName(), currentProcedure = nullptr, sp = nullptr;
}
static std::string ProgLoad(std::string text) {   // white space removed; returns the Error lines
  CompressString(&text[0]), CaptureStdout(), ProcedureReadList(&text[0]);
  return Out();
}
static std::vector<ProcedurePtr> Procedures() {
  std::vector<ProcedurePtr> r;
  for (ProcedureListPtr n = &procedureList; n->procedureList; n = n->procedureList) r.push_back(n->procedure);
  return r;
}
static int ProcedureCount() { return static_cast<int>(Procedures().size()); }
// The statement records, one a line: type labels labels1 labels2 cond assignments {assertion}.
static std::string Rows(ProcedurePtr p) {
  std::string r;
  for (SentenceListPtr n = p->sentenceList; n && n->sentence; n = n->sentenceList) {
    SentencePtr s = n->sentence;
    r += (r.empty() ? "" : "\n") + std::to_string(s->type) + " " + s->labels + " " + s->labels1 +
         " " + s->labels2 + " " + FT(s->cond) + " " +
         (s->type > 1 && s->type < 5 ? "" : Str(s->assignList, AssignListPrint)) +
         (s->postCond ? " {" + FT(s->postCond) + "}" : "");
  }
  return r;
}
struct Block { ProcedurePtr p; std::string l, out; };
static Block ReadBlock(std::string text) {   // reads a block into a fresh procedure frame
  Block b{static_cast<ProcedurePtr>(calloc(1, sizeof(Procedure))), "", ""};
  b.p->sentenceList = static_cast<SentenceListPtr>(calloc(1, sizeof(SentenceList)));
  currentProcedure = b.p, sp = b.p->sentenceList;
  char lab[LABEL_SIZE];
  CaptureStdout(), SentenceRead(&text[0], lab);
  b.out = Out(), b.l = lab;
  return b;
}

static const char *kExample =
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC[int:t]%STM[LB=1=>$Ot=a^$OLB=2;"
    "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}";
static const char *kLoopAndCall =
    "%PROC w(%IOP/i:int;%INP/n:int)==[LB=1=>$Oi=0^$OLB=2;"
    "*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=5;LB=5=>$Oa[i]=i^$OLB=2;{i<s(n)}]]{i=n}"
    "%PROC c(%IOP/k:int)==[LB=1=>w(%IOP/k|i;%INP/+(k,1)|n)^$OLB=2;]";

TEST(Segments, LabelsHeadsAssertionsAndRecognisersStayInsideTheirText) {
  typedef int (*Reader)(const char *, char *);
  Reader paren = [](const char *s, char *l) { return ProcHeadRead(s, l, '(', ')'); };
  Reader bracket = [](const char *s, char *l) { return ProcHeadRead(s, l, '[', ']'); };
  Reader locals = [](const char *s, char *l) { return ProcHeadReadWhat(s, l, '[', ']', "locals"); };
  Reader slash = [](const char *s, char *l) { return ReadTo(s, l, '/', '/'); };
  Reader slashBar = [](const char *s, char *l) { return ReadTo(s, l, '/', '|'); };
  Reader pair = [](const char *s, char *l) {   // the pair of the first 13 characters and the rest
    return LabelPairMake(l, std::string(s, 13).c_str(), s + 13);
  };
  Reader assertion = [](const char *s, char *l) {   // the formula read, "-" when refused
    FormulaPtr f = FormulaAlloc();
    int ok, n = AssertionReadOk(s, f, &ok);
    return strcpy(l, ok ? FT(f).c_str() : "-"), n;
  };
  std::string q29(29, 'q'), x13(13, 'x'), y13(13, 'y'), z(2045, 'z');
  std::string ok = "[" + std::string(2045, 'a') + "]", big = "[" + std::string(2046, 'a') + "]";
  struct { Reader read; std::string text; int used; std::string got; } reads[] = {
      {LabelRead, "LB=12=>x", 5, "12"}, {LabelRead, "xLB=1", 0, ""}, {LabelRead, "LB=" + q29 + ";", 32, q29},
      {LabelRead, "LB=" + q29 + "q;", 33, ""}, {LabelRead, "LB=;", 3, ""},   // consumed, not cut
      {paren, "p(a(b))x", 7, "p(a(b))"}, {bracket, "[x[y]", 5, "[x[y]"},   // to the end of the text
      {bracket, ok, 2047, ok}, {locals, big, 2048, ""}, {paren, "(" + big.substr(1, 2046) + ")", 2048, ""},
      {slash, "abc", 3, "abc"}, {slash, z + "rr/", 2047, z + "rr"}, {slash, z + "rrr/", 2048, ""},
      {slashBar, "ab/cd", 2, "ab"},
      {pair, x13 + y13, 1, "(" + x13 + "," + y13 + ")"}, {pair, x13 + y13 + "y", 0, ""},   // 29 fit, 30 not
      {assertion, "x", 0, "-"}, {assertion, "{a>0}rest", 5, "a>0"}, {assertion, "{f({x})}y", 8, "f({x})"},
      {assertion, "{" + z + "}", 2047, z}, {assertion, "{" + z + "z}", 2048, "-"}, {assertion, "{a", 2, "-"},
  };
  char buf[SEGMENT_SIZE], a[LABEL_SIZE], b[LABEL_SIZE];
  std::string out;
  for (auto &r : reads) {
    CaptureStdout();
    int used = r.read(r.text.c_str(), buf);
    out += Out();
    EXPECT_TRUE(used == r.used && buf == r.got) << r.text.substr(0, 40) << " " << used << " " << buf;
  }
  for (const char *m : {"Error: LabelRead\n", "label longer than 29", "Error: ReadTo\n",
                        "empty label after LB=\n", "Error: bracketed text longer than 2047 characters\n",
                        "Error: locals longer than 2047 characters\n", "Error: ReadTo: text longer than 2047",
                        "Error: label pair longer than 29", "assertion longer than 2047",
                        "assertion without its closing }"})
    EXPECT_TRUE(Has(out, m)) << m;
  EXPECT_EQ(CountOf(out, "Error: "), 10) << out;   // one line each, none from the good texts
  for (auto d : {std::make_pair("(1,25)", "1|25"), {"", "|"}, {"(", "|"}, {"(1", "|"}, {"(1,", "|"},
                 {"(1,2", "|"}, {"12", "|"}, {"x(1,2)", "|"}}) {   // malformed pairs leave both empty
    strcpy(a, "junk"), strcpy(b, "junk"), DivideLabels(d.first, a, b);
    EXPECT_EQ(std::string(a) + "|" + b, d.second) << d.first;
  }
  // A later statement's arrow, after the statement's own ";", does not count.
  struct { int (*is)(const char *); const char *text; int want; } recognise[] = {
      {isElem, "LB=1=>$Ox=1^$OLB=2;", 1}, {isCall, "LB=1=>$Ox=1^$OLB=2;", 0},
      {isCall, "LB=1=>q(%IOP/b|y;%INP/t|z)^$OLB=6;", 1}, {isElem, "LB=1$Ox=1;LB=2=>$Ox=2^$OLB=3;", 0},
      {isCall, "LB=1$Ox=1;LB=2=>q()^$OLB=3;", 0}, {isElem, "x=>$O", 0}, {isCall, "", 0}};
  for (auto &c : recognise) EXPECT_EQ(!!c.is(c.text), c.want) << c.text;
}

// Blocks and their records in list order. `out` is matched exactly when it
// begins with "=", and otherwise looked for; rows likewise, looked for after "~", "?" not checked.
TEST(Block, StatementFormsRecordsAndSequences) {
  std::string a13(13, 'a'), b13(13, 'b'), b14(14, 'b'), c14(14, 'c'), n29(29, 'n'), n30(30, 'n'), deep;
  for (int i = 0; i < MAX_NEST_DEPTH + 10; i++) deep += "*[LB=1^c=>()";
  auto call = [](size_t n) { return "LB=1=>q(%INP/" + std::string(n, 'a') + "|y)^$OLB=2;"; };
  struct { std::string text, l, out, rows; } cases[] = {
      {"LB=1=>$OLB=2;", "(1,2)", "=", "1 (1,2)    $Ox=x"}, {"[]", "", "=", ""},
      {"[LB=3=>$Ox=1^$OLB=5;LB=4=>$Ox=2^$OLB=5;]", "(4,5)", "=", "1 (3,5)    $Ox=1\n1 (4,5)    $Ox=2"},
      {"[LB=1=>$OLB=2;x]", "(1,2)", "=Error: sentenceRead\nError: x]\n", "1 (1,2)    $Ox=x"},
      {"LB=1$Ox=1;LB=2=>$OLB=3;", "?", "=Error: sentenceRead\nError: LB=1$Ox=1;LB=2=>$OLB=3;\n", ""},
      {"[LB=1=>$Ox=1^$OLB=2;LB=1=>$Ox=2^$OLB=3;]", "?", "Error: two statements start at label 1",
       "1 (1,2)    $Ox=1"},
      {"LB=1=>$Ox=1$OLB=2;", "?", "Error: *** Missing $OLB ***\nError: sent.elem, LB\n", "?"},
      {"LB=1=>$Ox=1^$OLB=2)^$Oy=5;", "?", "Error: sent.elem: text after the next label: )^$Oy=5", "?"},
      {"LB=1(=>$OLB=2;", "?", "Error: sent.elem\n", "?"},   // the arrow in parentheses, none after the label
      // Label pairs of 29 characters fit; 30 are refused, not cut, and no sequence is made of them.
      {"[LB=" + a13 + "=>$OLB=" + b13 + ";]", "(" + a13 + "," + b13 + ")", "=", "?"},
      {"[LB=" + a13 + "=>$OLB=" + b14 + ";]", "", "Error: label pair longer than 29", ""},
      {"[LB=" + a13 + "=>$OLB=1;LB=1=>$OLB=" + c14 + ";]", "?", "Error: label pair longer than 29",
       ("1 (" + a13 + ",1)    $Ox=x\n1 (1," + c14 + ")    $Ox=x")},
      // Loops: the body record and the invariant after it; chains nest to the left.
      {"[LB=1=>$Oi=0^$OLB=2;*[LB=2^i<n=>($OLB=3|$OLB=9)LB=3=>$Oj=0^$OLB=4;"
       "*[LB=4^j<i=>($OLB=5|$OLB=6)"
       "?[LB=5^j=0=>$OLB=7|~=>$OLB=8;LB=7=>$Ox=1^$OLB=10;LB=8=>$Ox=2^$OLB=10;]"
       "LB=10=>$Oj=s(j)^$OLB=4;{j<s(i)}]LB=6=>$Oi=s(i)^$OLB=2;{i<s(n)}]]", "(1,9)", "=",
       "1 (1,2)    $Oi=0\n1 (3,4)    $Oj=0\n1 (7,10)    $Ox=1\n1 (8,10)    $Ox=2\n"
       "4 (5,10) (7,10) (8,10) j=0 \n1 (10,4)    $Oj=s(j)\n2 (5,4) (5,10) (10,4)   {j<s(i)}\n"
       "3 (4,6) (5,4)  j<i \n2 (3,6) (3,4) (4,6)  \n1 (6,2)    $Oi=s(i)\n"
       "2 (3,2) (3,6) (6,2)   {i<s(n)}\n3 (2,9) (3,2)  i<n \n2 (1,9) (1,2) (2,9)  "},
      // Assertions belong to the record of the chain before them (none before the first); "{}" is quiet.
      {"[LB=1=>$Ox=y^$OLB=2;{x=y}LB=2=>$Oy=x^$OLB=3;{y=x}]", "(1,3)", "=",
       "1 (1,2)    $Ox=y {x=y}\n1 (2,3)    $Oy=x\n2 (1,3) (1,2) (2,3)   {y=x}"},
      {"[{x>0}LB=1=>$OLB=2;]", "(1,2)", "Error: assertion with no statement before it", "1 (1,2)    $Ox=x"},
      {"[{}LB=1=>$OLB=2;]", "(1,2)", "=", "1 (1,2)    $Ox=x"},
      // Missing pieces are reported inside the loop; the statement after it stays intact.
      {"[*[LB=2^c($OLB=3|$OLB=4)]LB=4=>$Ox=1^$OLB=5;]", "?", "Error: loop\n", "~\n1 (4,5)    $Ox=1"},
      {"*[LB=2^c=>($OLB=3|$OLB=4)LB=3=>$OLB=2;", "?", "loop without its closing ]", "?"},
      {"*[LB=2^c=>($OLB=3|$OLB=4;z)LB=3=>$OLB=2;]", "(2,4)", "Error: loop: text after the head: ;z)\n",
       "1 (3,2)    $Ox=x\n3 (2,4) (3,2)  c "},
      {deep, "?", "statements nested too deeply", "?"},   // deeper than any block can hold
      // Cases; an empty second branch joins at its own label, two empty ones at none.
      {"?[LB=2^c=>$OLB=3|~=>$OLB=5;LB=3=>$Ox=1^$OLB=5;]", "(2,5)", "=",
       "1 (3,5)    $Ox=1\n4 (2,5) (3,5) (5,5) c "},
      {"?[LB=2^c=>$OLB=3|~=>$OLB=4;]", "?", "join at no label", ""},
      {"?[LB=2^c=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=4;", "?", "case without its closing ]", "?"},
      {"?[LB=2^c=>$OLB=3|~=>$OLB=4)x;LB=3=>$OLB=4;]", "(2,4)", "case: text after the head: )x;\n", "?"},
      // Calls: bindings in order, arguments with parentheses, no bindings, names up to 29 characters.
      {"LB=1=>q(%INP/f(u,g(v))|z;%IOP/a[i]|y)^$OLB=2;", "(1,2)", "=", "5 (1,2) q   $Oz=f(u,g(v))^$Oy=a[i]"},
      {"LB=1=>r()^$OLB=2;", "(1,2)", "=", "5 (1,2) r   "}, {"LB=1=>r()$OLB=2;", "(1,2)", "=", "5 (1,2) r   "},
      {"LB=1=>q(%XYZ/b|y;%INP/t|z)^$OLB=2;", "?", "neither %IOP nor %INP", "5 (1,2) q   $Oz=t"},
      {"LB=1=>q(%INP/b|y)^LB=2;", "?", "Error: sent.call\n", "?"},
      {"LB=1=>q(%INPb|y)^$OLB=2;", "?", "Error: ReadTo\n", "?"},
      {"LB=1=>q(%INP/b|y^$OLB=2;", "?", "Error: sent.call: bindings without their closing )\n", "?"},
      {"LB=1=>q(%INP/a|y=z)^$OLB=2;", "(1,2)", "=Error: sent.call: bindings not read to their end: =a\n",
       "5 (1,2) q   $Oy=z"},
      {"LB=1=>(%INP/a|y)^$OLB=2;", "(1,2)", "=Error: sent.call: call without a procedure name\n",
       "5 (1,2)    $Oy=a"},
      {"LB=1=>q^$OLB=2;", "?", "Error: sent.call: no ( after the procedure name\n", "?"},
      {"LB=1=>q()^$OLB=2)x;", "(1,2)", "=Error: sent.call: text after the next label: )x\n", "5 (1,2) q   "},
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
    EXPECT_TRUE(c.rows == "?" || (c.rows[0] == '~' ? Has(Rows(b.p), c.rows.substr(1)) : Rows(b.p) == c.rows))
        << Rows(b.p);
    if (c.out == "=") { EXPECT_EQ(ProcedureCheckParts(b.p), 1); }   // every part names a record
    // Binding lists end every walk: a node without an assignment (no bindings) has no successor.
    for (SentenceListPtr n = b.p->sentenceList; n && n->sentence; n = n->sentenceList)
      if (AssignListPtr a = n->sentence->type == 5 ? n->sentence->assignList : nullptr) {
        EXPECT_TRUE(a->assign || !a->assignList);
      }
  }
  // A piece of the case taken away or spoilt: each gives its own message, case1 to case10.
  std::pair<const char *, const char *> spoilt[] = {
      {"LB=2^", "2^"}, {"2^c", "2c"}, {"=>$OLB=3", "=>LB=3"}, {"=>$OLB=3", "=>$O3"}, {"3|~", "3~"},
      {"|~=>", "|=>"}, {"~=>", "~"}, {"~=>$OLB=4", "~=>LB=4"}, {"~=>$OLB=4", "~=>$O4"},
      {";LB=3=>$OLB=5;LB=4=>$OLB=5;", ""}};
  for (auto &w : spoilt) {
    std::string text = "?[LB=2^c=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=5;LB=4=>$OLB=5;]";
    text.replace(text.find(w.first), strlen(w.first), w.second);
    EXPECT_TRUE(Has(ReadBlock(text).out, "Error: case" + std::to_string(&w - spoilt + 1) + "\n")) << text;
  }
  // The direct readers append to the frame; sequences join label pairs compared as texts,
  // malformed pairs never.
  Block b = ReadBlock("LB=1=>$Ox=y^$Oy=x^$OLB=2;");
  char c[] = "LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;", lab[LABEL_SIZE];
  EXPECT_EQ(SentCallRead(c, lab), 34);
  char x[LABEL_SIZE] = "(2,3)", y[LABEL_SIZE] = "(3,4)", z[LABEL_SIZE] = "(2,3)", w[LABEL_SIZE] = "(,3)";
  EXPECT_TRUE(SentSeqComposition("(1,2)", x) == 1 && !strcmp(x, "(1,3)"));
  EXPECT_EQ(SentSeqComposition("(1,2)", y) + SentSeqComposition("(1,02)", z) + SentSeqComposition("", w), 0);
  EXPECT_STREQ(y, "(3,4)");
  EXPECT_EQ(Rows(b.p), "1 (1,2)    $Ox=y^$Oy=x\n5 (5,6) q   $Oy=b^$Oz=t\n2 (1,3) (1,2) (2,3)  ");
  // Outside any procedure the statement before an assertion cannot be looked up: the assertion is reported.
  char lone[] = "[LB=1=>$OLB=2;{x>0}]";
  currentProcedure = nullptr, sp = static_cast<SentenceListPtr>(calloc(1, sizeof(SentenceList)));
  CaptureStdout(), SentenceRead(lone, lab);
  EXPECT_EQ(Out(), "Error: assertion after (1,2) has no statement to belong to\n");
}

// Refused texts and fields at their limits: the Error line looked for ("" none at all, "!" not
// this one), the procedures added, and the readError of the one named (names differ across rows).
TEST(Procedure, RefusalsLimitsAndReadErrors) {
  auto head = [](const char *name, size_t len) {   // head "name(%INP/x:tt...)" of len characters
    std::string h = std::string(name) + "(%INP/x:";
    return "%PROC " + h + std::string(len - h.size() - 1, 't') + ")[]";
  };
  auto block = [](const char *name, size_t len) {   // block "[LB=1=>$Ox=ee...^$OLB=2;]" of len
    return "%PROC " + std::string(name) + "()[LB=1=>$Ox=" + std::string(len - 20, 'e') + "^$OLB=2;]";
  };
  std::string n29(29, 'n'), f29(29, 'f'), f30(30, 'g'), w2043(2043, 'w');
  struct { std::string text; const char *name, *msg; int added, readError; } cases[] = {
      {"%PROC g()[LB=1=>$OLB=2;]garbage%PROC q()[]", "g", "text without %PROC is not a procedure "
       "and is not added; reading ends at: garbage%PROCq()[]", 1, 0},
      {"{a>0}[LB=1=>$OLB=2;]", nullptr, "without %PROC", 0, 0}, {"", nullptr, "", 0, 0},
      {"%PROC p()LB=1=>$OLB=2;", nullptr, "procedure without its [ statement block ]", 0, 0},
      {"%PROC p()[LB=1=>$OLB=2;", nullptr, "statement block without its closing ]", 0, 0},
      {"%PROC p[LB=1=>$OLB=2;]", nullptr, "procedure head without its ( parameter list )", 0, 0},
      {"%PROC p(%INP/a:int[]", nullptr, "procedure head without its closing )", 0, 0},
      {"%PROC p()%LOCx[LB=1=>$OLB=2;]", nullptr, "Error: %LOC without its [ locals ]", 0, 0},
      {"%PROC p()%LOC[v[]", nullptr, "locals without their closing ]; reading ends at: [v[", 0, 0},
      {"%PROC pd(%INP/:int)[]", "pd", "Error: parameter without its name\n", 1, 1},
      {"%PROC pe(%INP/x:)[]", "pe", "Error: parameter without its type\n", 1, 1},
      {"%PROC pf(%XX/x:int)[]", "pf", "Error: parameter io text %XX is neither %IOP nor %INP\n", 1, 1},
      {"%PROC pg()[LB=1=>$O#@a=1^$OLB=2;]", "pg", "procedure pg uses a name beginning with #@", 1, 1},
      {"%PROC ()[]", nullptr, "procedure without a usable name is not added", 0, 0},
      // The first of two procedures of one name stays, also across loads; reading goes on.
      {"%PROC d()[LB=1=>$Ox=1^$OLB=2;]%PROC d()[LB=1=>$Ox=2^$OLB=2;]%PROC d2()[]", "d",
       "Error: a second procedure of that name is not added: d", 2, 0},
      {"%PROC d()[]", "d", "second procedure", 0, 0},
      // Names, parameter fields: 29 characters fit. Heads, locals, blocks, assertions: 2047.
      {"%PROC " + n29 + "()[]", n29.c_str(), "", 1, 0},
      {"%PROC " + std::string(30, 'm') + "()[]", nullptr, "procedure name longer than 29", 0, 0},
      {"%PROC pa(%INP/" + f29 + ":" + f29 + ")[]", "pa", "", 1, 0},
      {"%PROC pb(%INP/" + f30 + ":int)[]", "pb", "parameter name longer than 29", 1, 1},
      {"%PROC pc(%INP/x:" + f30 + ")[]", "pc", "parameter type longer than 29", 1, 1},
      {head("h1", 2047), "h1", "!head longer", 1, 1},   // its type is too long, the head is not
      {head("h2", 2048), "h2", "Error: procedure head longer than 2047 characters", 1, 1},
      {"%PROC l1()%LOC[" + std::string(2045, 'v') + "][]", "l1", "", 1, 0},
      {"%PROC l2()%LOC[" + std::string(2046, 'v') + "][]", "l2", "Error: locals longer than 2047 characters",
       1, 1},
      {block("b1", 2047), "b1", "", 1, 0},
      {block("b2", 2048), "b2", "Error: statement block of procedure b2 longer than 2047 characters",
       1, 1},
      {"{x=" + w2043 + "}%PROC c1()[]", "c1", "", 1, 0},
      {"%PROC c2()[]{x=" + w2043 + "w}", "c2", "assertion longer than 2047", 1, 1},
      {"%PROC ok()[LB=1=>$Ox=a#@b^$Oy=#y^$OLB=2;]", "ok", "", 1, 0},   // "#@" inside a name, "#" names
  };
  ProgReset();
  for (auto &c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    int before = ProcedureCount();
    std::string out = ProgLoad(c.text);
    EXPECT_TRUE(c.msg[0] == '!' ? !Has(out, c.msg + 1) : c.msg[0] ? Has(out, c.msg) : out.empty()) << out;
    EXPECT_EQ(ProcedureCount(), before + c.added);
    if (c.name) { EXPECT_TRUE(Procedure2Ptr(c.name) && Procedure2Ptr(c.name)->readError == c.readError); }
  }
  EXPECT_TRUE(Procedure2Ptr("pa")->params->name == f29 && !*Procedure2Ptr("pb")->params->name);
  EXPECT_TRUE(strlen(Procedure2Ptr("l1")->loc) == 2047 && !*Procedure2Ptr("b2")->body);
  EXPECT_STREQ(Procedure2Ptr("b1")->body, "(1,2)");
  EXPECT_TRUE(Procedure2Ptr("c1")->preCond && !Procedure2Ptr("c2")->postCond && Procedure2Ptr("d2"));
  currentProcedure = Procedure2Ptr("d");
  EXPECT_EQ(Str(Sentence2Ptr("(1,2)")->assignList, AssignListPrint), "$Ox=1");   // the first one stays
  // A read error marks the procedure, so that its conditions stay unprovable.
  const char *bad[] = {
      "%PROC a1()[LB=1=>$Ox=1$OLB=2;]", "%PROC a2()[LB=1=>$OLB=2;x]",
      "%PROC a3()[LB=1=>$OLB=2;LB=1=>$OLB=3;]", "%PROC a4(%INP/x)[LB=1=>$OLB=2;]",
      "%PROC a7()[LB=1=>q(%INP/#@b|y)^$OLB=2;]", "{#@c>0}%PROC a8()[LB=1=>$OLB=2;]",
      "%PROC a9()[*[LB=2^c=>($OLB=3|$OLB=4)LB=3=>$OLB=5;]]",   // body does not return to 2
      "%PROC a10()[{x}LB=1=>$OLB=2;]", "%PROC a11()[LB=1=>$OLB=2;]{x>0",
      "%PROC a12()[*[LB=2^c=>($OLB=2|$OLB=4)]]",   // empty body: no record for the invariant
      "%PROC a13()[*[LB=2^c=>($OLB=2|$OLB=2)]]",   // a loop whose body names the loop itself
      "%PROC a14()==[LB=1=>$OLB=5;?[LB=5^d=>$OLB=6|~=>$OLB=7;LB=6=>$OLB=9;]]",   // (7,9) names nothing
  };
  for (const char *t : bad) {
    int before = ProcedureCount();
    std::string out = ProgLoad(t);
    EXPECT_TRUE(Has(out, "Error: ") && ProcedureCount() == before + 1 && Procedures().back()->readError)
        << t << "\n" << out;
  }
}

// Statements of a block that do not form one chain (the body's, a loop body's, each case
// branch's) would be left out of the verification: a read error naming the procedure and
// the cut-off pair. Printed, the program keeps every statement, and reads back alike.
TEST(Procedure, StatementsThatDoNotChainAreAReadErrorAndAllArePrinted) {
  struct { const char *text, *cut; } cases[] = {
      {"%PROC o1(%IOP/x:int;%IOP/y:int)==[LB=3=>$Ox=0^$OLB=4;LB=1=>$Oy=1^$OLB=3;]", "o1: statements (3,4)"},
      {"%PROC o2(%IOP/x:int;%IOP/y:int)==[LB=1=>$Ox=0^$OLB=2;LB=3=>$Oy=1^$OLB=4;]", "o2: statements (1,2)"},
      {"%PROC o3()[LB=3=>$OLB=4;LB=4=>$OLB=5;LB=1=>$OLB=3;]", "o3: statements (3,5)"},
      {"%PROC l1()[LB=1=>$OLB=2;*[LB=2^c=>($OLB=3|$OLB=5)LB=4=>$OLB=2;LB=3=>$OLB=2;{c}]]",
       "l1: statements (4,2)"},
      {"%PROC l2()[*[LB=2^c=>($OLB=3|$OLB=5)LB=3=>$OLB=4;{c}]]", "l2: statements (3,4)"},  // no (3,2)
      {"%PROC c1()[?[LB=2^c=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=5;LB=7=>$OLB=8;LB=4=>$OLB=5;]]",
       "c1: statements (7,8)"},
      {"%PROC c2()[?[LB=2^c=>$OLB=3|~=>$OLB=5;LB=7=>$OLB=8;LB=3=>$OLB=5;]]", "c2: statements (7,8)"},
      {"%PROC c3()[?[LB=2^c=>$OLB=5|~=>$OLB=5;LB=4=>$OLB=5;]]", "c3: statements (4,5)"},
      // Chained blocks: branches in either order, an empty branch, nested structures.
      {"%PROC k1()[?[LB=2^c=>$OLB=3|~=>$OLB=4;LB=4=>$OLB=5;LB=3=>$OLB=5;]]", nullptr},
      {"%PROC k2()[?[LB=2^c=>$OLB=5|~=>$OLB=4;LB=4=>$OLB=5;]LB=5=>$OLB=6;]", nullptr},
      {"%PROC k3()[*[LB=1^c=>($OLB=2|$OLB=9)?[LB=2^d=>$OLB=3|~=>$OLB=4;LB=3=>$OLB=1;"
       "*[LB=4^e=>($OLB=5|$OLB=1)LB=5=>$OLB=6;LB=6=>$OLB=4;{e}]]{c}]]", nullptr},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.text);
    ProgReset();
    std::string out = ProgLoad(c.text);
    ASSERT_EQ(ProcedureCount(), 1);
    EXPECT_TRUE(c.cut ? Has(out, "Error: procedure " + std::string(c.cut) +
                                     " are cut off from the chain of their block\n")
                      : out.empty()) << out;
    EXPECT_LE(CountOf(out, "Error: "), 2);
    EXPECT_EQ(Procedures()[0]->readError, c.cut != nullptr);
    std::string printed = PrintAll();
    EXPECT_EQ(CountOf(printed, "LB="), CountOf(c.text, "LB=")) << printed;
    ProgReset();
    EXPECT_EQ(ProgLoad(printed), out);
    EXPECT_EQ(PrintAll(), printed);
  }
}

// Far past the display buffer; processor time, so that a busy machine does not fail the test.
TEST(Procedure, LargeProgramLoadsAndPrintsQuickly) {
  ProgReset();
  std::string prog = "%PROCp0(%IOP/x:int)==[LB=1=>$Ox=+(x,1)^$OLB=2;]";
  for (int i = 1; i < 8000; i++)
    prog += "{x>0}%PROCp" + std::to_string(i) + "(%IOP/x:int;%INP/z:int)==%LOC[int:u]%STM["
            "LB=1=>$Ou=+(x,z)^$OLB=2;?[LB=2^u>z=>$OLB=3|~=>$OLB=4;LB=3=>p" + std::to_string(i - 1) +
            "(%IOP/x|x)^$OLB=4;]]{x>1}";
  std::clock_t t0 = std::clock();
  EXPECT_EQ(ProgLoad(prog), "");
  std::string printed = PrintAll();
  EXPECT_LT(static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC, 5.0);
  EXPECT_TRUE(ProcedureCount() == 8000 && !strcmp(Procedure2Ptr("p7999")->body, "(1,4)") &&
              printed.size() > SSS_SIZE && CountOf(printed, "%PROC") == 8000 &&
              Has(printed, "%PROC p7999(%IOP/x:int;%INP/z:int)==\n%LOC [int:u]\n"));
}

TEST(Lookups, FirstMatchFallbackAndIndexes) {
  ProgReset();
  ProgLoad("%PROC p()==[LB=1=>$OLB=2;]{p1}%PROC q()==[LB=1=>$OLB=2;{inner}]{q1}");
  ProcedurePtr p = Procedure2Ptr("p"), q = Procedure2Ptr("q");
  ASSERT_TRUE(p && q && !Procedure2Ptr("r"));
  currentProcedure = p;
  EXPECT_TRUE(!GetPostCond("(1,2)") && FT(GetPostCond("q")) == "q1");   // no statement "q": the procedure
  EXPECT_EQ((currentProcedure = q, FT(GetPostCond("(1,2)"))), "inner");
  FormulaPtr f = FormulaMakeTrue();
  EXPECT_TRUE(AddPostCond("p", f) == 1 && p->postCond == f && AddPreCond("q", f) == 1 && q->preCond == f);
  // No such statement or procedure; preconditions go to procedures only.
  EXPECT_EQ(AddPostCond("(9,9)", f) + AddPreCond("(1,2)", f) + AddPreCond("zz", f), 0);
  EXPECT_EQ((currentProcedure = nullptr, Sentence2Ptr("(1,2)")), nullptr);
  // The indexes follow clears, also a clear by zeroing the head.
  ProcedureListClear();
  EXPECT_TRUE(currentProcedureList == &procedureList && !Procedure2Ptr("p"));
  ProgLoad("%PROC p()==[LB=3=>$OLB=4;]");
  procedureList.procedure = nullptr, procedureList.procedureList = nullptr;
  EXPECT_EQ(Procedure2Ptr("p"), nullptr);
  EXPECT_EQ(ProgLoad("%PROC p()==[LB=5=>$OLB=6;]"), "");
  EXPECT_TRUE(ProcedureCount() == 1 && (currentProcedure = Procedure2Ptr("p")) && Sentence2Ptr("(5,6)"));
}

// Statements are found by scanning a short list and through an index once it
// is long: the same first match, place and refusal of a second start label.
TEST(Lookups, ShortListsScannedLongOnesIndexedAlike) {
  for (int n : {3, 16, 17, 40}) {
    SCOPED_TRACE(n);
    ProgReset();
    std::string body;
    for (int i = 1; i <= n; i++) body += "LB=" + std::to_string(i) + "=>$Ox=x^$OLB=" + std::to_string(i + 1) + ";";
    // a second statement starting at 1 is refused, with its Error line
    std::string out = ProgLoad("%PROC p(%IOP/x:int)==[" + body + "LB=1=>$Ox=1^$OLB=200;]{x>0}");
    EXPECT_NE(out.find("two statements start at label 1: the second, (1,200), is refused"), std::string::npos);
    ProcedurePtr p = currentProcedure = Procedure2Ptr("p");
    ASSERT_TRUE(p);
    for (int i = 1; i <= n; i++) {
      std::string l = "(" + std::to_string(i) + "," + std::to_string(i + 1) + ")";
      SentencePtr s = SentenceFind(p, l.c_str());
      ASSERT_TRUE(s && l == s->labels && Sentence2Ptr(l.c_str()) == s);
      // each statement is followed by the sequence that joins it to those before
      EXPECT_EQ(SentencePosition(p, l.c_str()), i == 1 ? 0 : 2 * i - 3);
    }
    EXPECT_TRUE(!SentenceFind(p, "(1,200)") && !SentenceFind(p, "") && SentencePosition(p, "(9,9)") == -1);
    EXPECT_EQ(SentenceFind(p, ("(1," + std::to_string(n + 1) + ")").c_str())->type, n > 1 ? 2 : 1);
  }
}

static const char *kExamplePrinted =
    "{ a>0 }\n%PROC p(%INP/a:int;%IOP/b:int)==\n%LOC [int:t]\n%STM [ \n    LB=1=>$Ot=a^$OLB=2;\n"
    "    ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n      LB=3=>$Ob=t^$OLB=5;\n      LB=4=>$Ox=x^$OLB=5;\n"
    "     ]\n]\n{ b>0 }\n";

// The worked example: records, printed and debug forms; optional parts, appended in text order.
TEST(Printers, WorkedExampleOptionalPartsAndDebugForm) {
  ProgReset();
  ASSERT_EQ(ProgLoad(kExample), "");
  ProcedurePtr p = procedureList.procedure;
  EXPECT_EQ(Rows(p), "1 (1,2)    $Ot=a\n1 (3,5)    $Ob=t\n1 (4,5)    $Ox=x\n"
                     "4 (2,5) (3,5) (4,5) t>b \n2 (1,5) (1,2) (2,5)  ");
  EXPECT_TRUE(currentProcedure == p && !sp->sentence && !sp->sentenceList && !strcmp(p->body, "(1,5)"));
  EXPECT_TRUE(Str(p, ProcedurePrint) == kExamplePrinted && PrintAll() == std::string(kExamplePrinted) + "\n")
      << PrintAll();
  Sentence2Ptr("(1,2)")->preCond = FormulaMakeTrue();
  EXPECT_EQ(Str(p, ProcedurePrintDebug),
            "{ a>0 }\n%PROC p(%INP/a:int;%IOP/b:int)==\n%LOC [int:t]\n%STM [ \n"
            "    {$T}\n    LB=1=>$Ot=a^$OLB=2;\n    {}\n    ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n"
            "      {}\n      LB=3=>$Ob=t^$OLB=5;\n      {}\n      LB=4=>$Ox=x^$OLB=5;\n"
            "     ]\n]\n{ b>0 }\n");
  EXPECT_EQ(CountOf(Str(0, [](int, Text *t) { ProcedureListPrintDebug(t); }), "{}\n"), 3);
  EXPECT_EQ(ProgLoad("%PROC q()==%STM[LB=1=>$OLB=2;]%PROC r(%IOP/x:int)[LB=1=>$OLB=2;]{x>0}"
                     "%PROC s()%LOC[v]%STM[]%PROC t()[]"), "");
  EXPECT_EQ(PrintAll().substr(strlen(kExamplePrinted) + 1),
            "{  }\n%PROC q()==\n%STM [ \n    LB=1=>$Ox=x^$OLB=2;\n]\n{  }\n\n{  }\n%PROC r(%IOP/x:int)==\n"
            "%STM [ \n    LB=1=>$Ox=x^$OLB=2;\n]\n{ x>0 }\n\n{  }\n%PROC s()==\n%LOC [v]\n%STM [ \n]\n"
            "{  }\n\n{  }\n%PROC t()==\n%STM [ \n]\n{  }\n\n");
}

TEST(Printers, EdgeCasesAndCallBindings) {
  ProgReset();
  // The second branch of the case goes to 7, where no statement is: it prints as nothing.
  EXPECT_EQ(ProgLoad("%PROC q()==[LB=1=>r(%INP/a|x)^$OLB=2;LB=2=>q()^$OLB=3;*[LB=3^c=>($OLB=4|$OLB=5)"
                     "LB=4=>$OLB=3;{c}]?[LB=5^d=>$OLB=6|~=>$OLB=7;LB=6=>$OLB=9;]]"),
            "Error: statement (5,9): its part (7,9) names no statement\n");
  EXPECT_EQ(PrintAll(), "{  }\n%PROC q()==\n%STM [ \n"
                        "    LB=1=>r()^$OLB=2;\n    LB=2=>q()^$OLB=3;\n"   // r is not in the list
                        "    *[LB=3^c=>($OLB=4|$OLB=5)\n      LB=4=>$Ox=x^$OLB=3;\n      {c}\n     ]\n"
                        "    ?[LB=5^d=>$OLB=6|~=>$OLB=7;\n      LB=6=>$Ox=x^$OLB=9;\n     ]\n]\n{  }\n\n");
  auto none = [](const char *k, Text *t) {
    TextAppend(t, k), SentencePrint("", t, 4), SentencePrintPtr(nullptr, t, 4);
  };
  EXPECT_EQ(Str("kept", none), "kept");   // nothing added, nothing erased
  // Bindings pair with the callee's formals: its io is shown; fewer bindings leave no ";".
  ProgReset();
  ASSERT_EQ(ProgLoad("%PROC q(%IOP/y:int;%INP/z:int)==[]%PROC m()==[LB=5=>q(%INP/b|y;%IOP/f(u,v)|z)^$OLB=6;"
                     "LB=6=>q(%IOP/c|y)^$OLB=7;]"), "");
  std::string s = Str(Procedure2Ptr("m"), ProcedurePrint);
  EXPECT_TRUE(Has(s, "    LB=5=>q(%IOP/b|y;%INP/f(u,v)|z)^$OLB=6;\n    LB=6=>q(%IOP/c|y)^$OLB=7;\n")) << s;
  // A record that contains itself prints once.
  ProgReset();
  EXPECT_TRUE(Has(ProgLoad("%PROC z()[*[LB=2^c=>($OLB=2|$OLB=2)]]"), "is not a statement read before it"));
  EXPECT_EQ(CountOf(PrintAll(), "*[LB=2"), 1);
}

TEST(Printers, PrintLoadPrintRoundTrips) {
  std::vector<std::string> programs = {
      kExample, kLoopAndCall,
      "%PROC e()[]{$F}%PROC f()[LB=1=>e()^$OLB=2;]%PROC g(%IOP/k:int)==%LOC[int:j]%STM[LB=1=>e()^$OLB=2;"
      "?[LB=2^k>0=>$OLB=3|~=>$OLB=4;*[LB=3^$T=>($OLB=5|$OLB=6)LB=5=>$OLB=3;]LB=4=>$Ok=0^$OLB=6;]]"};
  for (const char *f : {"arrays.q", "calls.q", "count.q", "max.q", "missing.q", "swap.q"}) {
    char *text = FileRead((std::string(QUELL_SOURCE_DIR) + "/examples/" + f).c_str());
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

// Every prefix of the programs, and every deletion and insertion of a bracket or separator:
// reading and printing stay inside the text and finish (the sanitizer build checks every access).
TEST(Robust, EveryPrefixDeletionAndInsertion) {
  auto readAndPrint = [](std::string text) {
    ProgReset(), ProcedureReadList(&text[0]);
    Str(0, [](int, Text *t) { ProcedureListPrint(t), ProcedureListPrintDebug(t); });
  };
  CaptureStdout();
  for (std::string p : {kExample, kLoopAndCall})
    for (size_t n = 0; n < p.size(); n++) {
      readAndPrint(p.substr(0, n)), readAndPrint(p.substr(0, n) + p.substr(n + 1));
      for (char c : std::string("[](){};|^=$%*?,/#")) readAndPrint(p.substr(0, n) + c + p.substr(n));
    }
  EXPECT_GT(CountOf(Out(), "Error: "), 1000);
}
