// The invariant suggester: textbook loops and the examples without their
// invariants are fully proved with the suggestions alone; a loop whose
// invariant lies outside the candidate language gets no wrong suggestion.
#include "../testutil.h"

#include <ctime>
#include <regex>

#include "../../core/core.h"
#include "../../invariant/invariant.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../smt/smt.h"
#include "../../vcgen/assump.h"

namespace {

void Load(std::string text) {
  ProcedureListClear();
  AssumptionListClear();
  SequentListClear();
  StartProg1(&text[0]);
}

// The program of an example without its comments and loop invariants (the
// assertions indented inside a body).
std::string Stripped(const std::string &name) {
  std::string text = Slurp(QUELL_SOURCE_DIR "/examples/" + name);
  text = std::regex_replace(text, std::regex(";;[^\n]*\n"), "");
  return std::regex_replace(text, std::regex("\n +\\{[^\n]*\\}"), "");
}

int LoopsWithout() {
  int n = 0;
  for (ProcedureListPtr p = &procedureList; p && p->procedure; p = p->procedureList) {
    currentProcedure = p->procedure;
    for (SentenceListPtr l = p->procedure->sentenceList; l && l->sentence; l = l->sentenceList)
      n += isLoopWithoutInvariant(l->sentence);
  }
  return n;
}

int Open() {
  int n = 0;
  for (SequentListPtr q = &sequentList; q && q->sequent; q = q->sequentList)
    n += !q->sequent->proved;
  return n;
}

// Infers, then verifies: the processor seconds the suggestions took, the loops still
// without invariant and the conditions left open. With trueAfter, every
// post-condition is "$T" for the verification: only what the invariants
// themselves demand (entry and preservation) is left to prove.
struct Outcome { double seconds; int without, open; std::string printed; };
Outcome InferAndVerify(const std::string &text, bool trueAfter = false) {
  Load(text);
  Text printed;
  TextInit(&printed);
  clock_t start = clock();   // processor time: other work on the machine does not count
  InvariantInferAll(&printed);
  double seconds = static_cast<double>(clock() - start) / CLOCKS_PER_SEC;
  Outcome o = {seconds, LoopsWithout(), 0, TextStr(&printed)};
  TextFree(&printed);
  if (trueAfter)
    for (ProcedureListPtr p = &procedureList; p && p->procedure; p = p->procedureList)
      p->procedure->postCond = FormulaMakeTrue();
  SmtSetOn(1);
  if (!o.without) StartProg0(), o.open = Open();
  SmtSetOn(0);
  return o;
}

const char *const kCallee =
    "{y>0}%PROC c0(%IOP/y:int)==%STM[?[LB=1^y>5=>$OLB=2|~=>$OLB=3;LB=2=>$Oy=y^$OLB=4;"
    "LB=3=>$Oy=y^$OLB=4;]]{y>0}";

TEST(Invariant, TextbookLoopsAreProvedWithTheSuggestionAlone) {
  SmtSetRlimit(0);
  struct { const char *name; std::string text; } rows[] = {
      {"count up to a bound", "{n>0|n=0}%PROC up(%INP/n:int;%IOP/x:int)==%STM[LB=1=>$Ox=0^$OLB=2;"
                              "*[LB=2^x<n=>($OLB=3|$OLB=4)LB=3=>$Ox=+(x,1)^$OLB=2;]]{x=n}"},
      {"count down to zero",
       "{n>0|n=0}%PROC down(%INP/n:int;%IOP/x:int)==%LOC[int:i]%STM[LB=1=>$Oi=n^$Ox=0^$OLB=2;"
       "*[LB=2^i>0=>($OLB=3|$OLB=4)LB=3=>$Oi=-(i,1)^$Ox=+(x,1)^$OLB=2;]]{x=n}"},
      {"summing", "{n>0|n=0}%PROC sum(%INP/n:int;%INP/m:int;%IOP/s:int)==%LOC[int:i]"
                  "%STM[LB=1=>$Oi=0^$Os=0^$OLB=2;*[LB=2^~(i=n)=>($OLB=3|$OLB=4)"
                  "LB=3=>$Os=+(s,m)^$Oi=+(i,1)^$OLB=2;]]{s=*(n,m)}"},
      {"linear search", "{~(k<0)^k<n^a[k]=x}%PROC find(%INP/a:array;%INP/n:int;%INP/k:int;"
                        "%INP/x:int;%IOP/i:int)==%STM[LB=1=>$Oi=0^$OLB=2;"
                        "*[LB=2^~(a[i]=x)=>($OLB=3|$OLB=4)LB=3=>$Oi=+(i,1)^$OLB=2;]]"
                        "{a[i]=x^(i<k|i=k)}"},
      {"two counters", "{n>0|n=0}%PROC two(%INP/n:int;%IOP/y:int)==%LOC[int:x]"
                       "%STM[LB=1=>$Ox=0^$Oy=10^$OLB=2;*[LB=2^x<n=>($OLB=3|$OLB=4)"
                       "LB=3=>$Ox=+(x,1)^$Oy=+(y,1)^$OLB=2;]]{y=+(n,10)}"},
      {"keeping the sign", "{x>0}%PROC sign(%INP/n:int;%IOP/x:int)==%LOC[int:i]"
                           "%STM[LB=1=>$Oi=0^$OLB=2;*[LB=2^i<n=>($OLB=3|$OLB=4)"
                           "LB=3=>$Ox=*(x,3)^$Oi=+(i,1)^$OLB=2;]]{x>0}"},
      // Entry through a case branch, past an earlier loop, through a call; a
      // case inside the body.
      {"loop in a branch", "{n>0|n=0}%PROC br(%INP/n:int;%INP/b:int;%IOP/x:int)==%STM["
                           "?[LB=1^b>0=>$OLB=2|~=>$OLB=5;LB=2=>$Ox=0^$OLB=3;"
                           "*[LB=3^x<n=>($OLB=4|$OLB=6)LB=4=>$Ox=+(x,1)^$OLB=3;]"
                           "LB=5=>$Ox=n^$OLB=6;]]{x=n}"},
      {"two loops in a row", "{n>0|n=0}%PROC row(%INP/n:int;%IOP/x:int)==%LOC[int:i]"
                             "%STM[LB=1=>$Oi=0^$Ox=0^$OLB=2;*[LB=2^~(i=n)=>($OLB=3|$OLB=4)"
                             "LB=3=>$Oi=+(i,1)^$Ox=+(x,1)^$OLB=2;]LB=4=>$Oi=0^$OLB=5;"
                             "*[LB=5^~(i=n)=>($OLB=6|$OLB=7)LB=6=>$Oi=+(i,1)^$Ox=+(x,1)^$OLB=5;]]"
                             "{x=+(n,n)}"},
      {"a call in the body", "{y=#y}%PROC inc(%IOP/y:int)==%STM[LB=1=>$Oy=+(y,1)^$OLB=2;]"
                             "{y=+(#y,1)}"
                             "{n>0|n=0}%PROC cl(%INP/n:int;%IOP/x:int)==%LOC[int:i]"
                             "%STM[LB=1=>$Oi=0^$Ox=1^$OLB=2;*[LB=2^i<n=>($OLB=3|$OLB=4)"
                             "LB=3=>inc(%IOP/x|y)^$OLB=5;LB=5=>$Oi=+(i,1)^$OLB=2;]]{x=+(n,1)}"},
      {"maximum of an array", "{n>0}%PROC mx(%INP/a:array;%INP/n:int;%IOP/m:int)==%LOC[int:i]"
                              "%STM[LB=1=>$Oi=1^$Om=a[0]^$OLB=2;*[LB=2^i<n=>($OLB=3|$OLB=6)"
                              "?[LB=3^a[i]>m=>$OLB=4|~=>$OLB=5;LB=4=>$Om=a[i]^$OLB=5;]"
                              "LB=5=>$Oi=+(i,1)^$OLB=2;]]{m>a[0]|m=a[0]}"},
      // The post-condition itself, a quantified one, a variable set before the loop.
      {"division", "{(a>0|a=0)^b>0}%PROC dv(%INP/a:int;%INP/b:int;%IOP/q:int;%IOP/r:int)=="
                   "%STM[LB=1=>$Or=a^$Oq=0^$OLB=2;*[LB=2^(r>b|r=b)=>($OLB=3|$OLB=4)"
                   "LB=3=>$Or=-(r,b)^$Oq=+(q,1)^$OLB=2;]]{a=+(*(q,b),r)^r<b^(r>0|r=0)}"},
      {"filling an array", "{n>0|n=0}%PROC fill(%INP/n:int;%IOP/a:array)==%LOC[int:i]"
                           "%STM[LB=1=>$Oi=0^$OLB=2;*[LB=2^~(i=n)=>($OLB=3|$OLB=4)"
                           "LB=3=>$Oa[i]=0^$Oi=+(i,1)^$OLB=2;]]{$Aj:(((j>0|j=0)^j<n)->a[j]=0)}"},
      {"set before the loop", "{$T}%PROC ad(%INP/x:int;%INP/y:int;%IOP/d:int)==%LOC[int:u]"
                              "%STM[LB=1=>$Ou=x^$OLB=2;*[LB=2^u<y=>($OLB=3|$OLB=4)"
                              "LB=3=>$Ou=+(u,1)^$OLB=2;]LB=4=>$Od=-(u,x)^$OLB=5;]{d>0|d=0}"},
      {"count", Stripped("count.q")},
      {"nested", Stripped("nested.q")},
      {"benchmark loop", std::string(kCallee) +
                             "{x>0^n>0}%PROC p0(%IOP/x:int;%INP/n:int)==%LOC[int:i]%STM["
                             "LB=1=>$Oi=0^$OLB=2;*[LB=2^i<n=>($OLB=3|$OLB=6)"
                             "?[LB=3^x>n=>$OLB=4|~=>$OLB=5;LB=4=>$Ox=x^$OLB=5;]"
                             "LB=5=>c0(%IOP/x|y)^$OLB=7;LB=7=>$Oi=+(i,1)^$OLB=2;]"
                             "LB=6=>$Ox=x^$Oi=0^$OLB=8;]{x>0}"},
  };
  for (auto &r : rows) {
    ASSERT_FALSE(std::regex_search(r.text, std::regex("\n +\\{"))) << r.name;   // no invariant left
    Outcome o = InferAndVerify(r.text);
    EXPECT_TRUE(o.without == 0 && o.open == 0) << r.name << ": " << o.printed;
    EXPECT_LT(o.seconds, 10.0) << r.name;   // well under a second in a plain build
    printf("%-20s %.3f s  %s", r.name, o.seconds, o.printed.c_str());   // figures for the docs
  }
}

// x steps by 2 up to an even n: the invariant needs "x is even", which no
// candidate says. What is suggested must still be inductive: with the
// post-condition "$T" everything is proved; the real one stays open.
TEST(Invariant, OutsideTheLanguageNothingWrongIsSuggested) {
  std::string even = "{n=+(m,m)^(m>0|m=0)}%PROC even(%INP/n:int;%INP/m:int;%IOP/x:int)=="
                       "%STM[LB=1=>$Ox=0^$OLB=2;*[LB=2^x<n=>($OLB=3|$OLB=4)"
                       "LB=3=>$Ox=+(x,2)^$OLB=2;]]{x=n}";
  Outcome real = InferAndVerify(even);
  EXPECT_TRUE(real.without == 0 && real.open > 0) << real.printed;
  Outcome inductive = InferAndVerify(even, true);
  EXPECT_TRUE(inductive.without == 0 && inductive.open == 0) << inductive.printed;
  // A budget too small for any answer: unknown drops, so whatever is left
  // (what the solver settles before spending any of it) is still inductive.
  SmtSetRlimit(1);
  Outcome starved = InferAndVerify(Stripped("count.q"), true);
  SmtSetRlimit(0);
  EXPECT_EQ(starved.open, 0) << starved.printed;
}

// The trial runs of the calculus leave nothing behind: no Error lines (the
// call of a missing procedure is the real verification's to report), no
// assumptions, no fresh names used, the records' conditions as they were.
TEST(Invariant, TrialRunsLeaveNoTrace) {
  Load("{n>0|n=0}%PROC t(%INP/n:int;%IOP/x:int)==%STM[LB=1=>$Ox=0^$OLB=2;"
       "*[LB=2^x<n=>($OLB=3|$OLB=4)LB=3=>nosuch(%IOP/x|y)^$OLB=5;LB=5=>$Ox=+(x,1)^$OLB=2;]]{x=n}");
  ProcedurePtr p = procedureList.procedure;
  currentProcedure = p;
  MakeAssumption(p->preCond, p->postCond);
  std::vector<Ptr> conditions;
  for (SentenceListPtr l = p->sentenceList; l && l->sentence; l = l->sentenceList)
    conditions.push_back(l->sentence->preCond), conditions.push_back(l->sentence->postCond);
  char fresh[LABEL_SIZE], after[LABEL_SIZE];
  NewNameSave(fresh);
  long errors = ErrorMsgCount();
  CaptureStdout();
  FormulaFree(InvariantSuggest(p, Sentence2Ptr("(2,4)")));
  EXPECT_EQ(Out(), "");
  NewNameSave(after);
  EXPECT_TRUE(ErrorMsgCount() == errors && !strcmp(fresh, after));
  std::vector<Ptr> now;
  for (SentenceListPtr l = p->sentenceList; l && l->sentence; l = l->sentenceList)
    now.push_back(l->sentence->preCond), now.push_back(l->sentence->postCond);
  EXPECT_TRUE(now == conditions);
  MakeAssumption(p->postCond, p->preCond);   // appended after the first, nothing between
  ASSERT_TRUE(assumptionList.assumption && assumptionList.assumptionList->assumption);
  EXPECT_EQ(assumptionList.assumptionList->assumptionList->assumption, nullptr);
  EXPECT_TRUE(FormulaPrintEqual(assumptionList.assumptionList->assumption->formula1, p->postCond));
}

// The candidates: the post-condition with the exit condition put in comes
// first; their number stays within the bound however many variables there are.
TEST(Invariant, CandidatesAreBounded) {
  Load(Stripped("count.q"));
  ProcedurePtr p = procedureList.procedure;
  currentProcedure = p;
  SentencePtr loop = Sentence2Ptr("(2,4)");
  FormulaListPtr c = InvariantCandidates(p, loop, nullptr, 0);
  ASSERT_TRUE(c && c->formulaList);
  EXPECT_EQ(Str(c->formula, FormulaPrint) + " " + Str(c->formulaList->formula, FormulaPrint),
            "x=n x=i");
  InvariantListFree(c);
  std::string many = "{$T}%PROC w(%IOP/a:int;%IOP/b:int;%IOP/c:int;%IOP/d:int;%IOP/e:int;"
                     "%IOP/f:int;%IOP/g:int;%IOP/h:int;%IOP/k:int)=="
                     "%STM[*[LB=2^a<b=>($OLB=3|$OLB=4)"
                     "LB=3=>$Oa=+(a,7)^$Oc=-(d,3)^$Oe=+(f,5)^$Og=h^$Ok=+(k,2)^$OLB=2;]]"
                     "{+(a,b)=*(c,d)^e<+(f,g)^h=-(k,*(a,d))}";
  Load(many);
  currentProcedure = procedureList.procedure;
  c = InvariantCandidates(currentProcedure, Sentence2Ptr("(2,4)"), nullptr, 0);
  int n = 0;
  for (FormulaListPtr q = c; q; q = q->formulaList) n++;
  EXPECT_EQ(n, INV_CANDIDATE_LIMIT);
  InvariantListFree(c);
}

}  // namespace
