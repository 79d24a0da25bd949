// The refuter: known answers for small sequents, the report over the
// sequent list, the counterexample lines of quell1-batch, and agreement
// with the prover.
#include <sys/wait.h>
#include <cstdio>
#include <fstream>
#include "provertest.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

TermPtr NameTerm(const std::string &name) {
  TermPtr t = TermAlloc();
  TermSetName(t, name.c_str());
  t->type = 2;
  return t;
}

// "found:witness", e.g. "0:" for no verdict.
std::string Verdict(Sequent *s) {
  int found;
  std::string w = Refute(s, &found);
  return std::to_string(found) + ":" + w;
}

// Puts the values of a witness "x=1, y=-2" into the sequent in place of its
// variables; the sequent must then fail without any free variable left.
void ExpectWitnessRefutes(Sequent *s, const std::string &witness) {
  AssignListPtr head = nullptr, *tail = &head;
  for (size_t pos = 0; pos < witness.size(); pos += 2) {
    size_t end = std::min(witness.find(", ", pos), witness.size());
    std::string item = witness.substr(pos, end - pos);
    size_t eq = item.rfind('=');
    ASSERT_NE(eq, std::string::npos) << witness;
    *tail = (AssignListPtr)calloc(1, sizeof(AssignList));
    (*tail)->assign = (AssignPtr)calloc(1, sizeof(Assign));
    (*tail)->assign->termLeft = NameTerm(item.substr(0, eq));
    (*tail)->assign->termRight = NameTerm(item.substr(eq + 1));
    tail = &(*tail)->assignList;
    pos = end;
  }
  Sequent g = *s;
  g.formulaList1 = FormulaListCopy(s->formulaList1);
  g.formulaList2 = FormulaListCopy(s->formulaList2);
  for (FormulaListPtr p : {g.formulaList1, g.formulaList2})
    for (; p; p = p->formulaList) p->formula = FormulaSubstSim(p->formula, head);
  EXPECT_EQ(Verdict(&g), "1:all values") << witness;
}

// Each case: antecedent, succedent, expected witness ("" for no verdict).
struct Case {
  Texts ante, succ;
  const char *witness;
};
void RunCases(const std::vector<Case> &cases) {
  for (const Case &c : cases) {
    Sequent *s = Seq(c.ante, c.succ);
    SCOPED_TRACE(SText(s));
    std::string v = Verdict(s);
    EXPECT_EQ(v, (c.witness[0] ? "1:" : "0:") + std::string(c.witness));
    EXPECT_EQ(Verdict(s), v);  // deterministic
    if (v[0] == '1' && v != "1:all values") ExpectWitnessRefutes(s, v.substr(2));
  }
}

}  // namespace

TEST(RefuteSequent, RefutableSequentsGetACheckedWitness) {
  RunCases({
      {{}, {"x>0"}, "x=0"}, {{"x>0", "y>x"}, {"y>+(x,1)"}, "x=1, y=2"}, {{}, {"!(n)>n"}, "n=1"},
      {{"x>10"}, {"x>11"}, "x=11"},     // numerals of the sequent are tried
      {{"x=-5"}, {"x>-5"}, "x=-5"},     // negative numerals
      {{"#@a>0"}, {"#@a>1"}, "#@a=1"},  // fresh names are variables
      {{}, {"x>0->x>1"}, "x=1"},        // implication in the succedent
      {{"p(x)|x>0"}, {"x>1"}, "x=1"},   // a true side decides a disjunction
      {{}, {"-(x,y)=-(y,x)"}, "x=1, y=0"}, {{"$T"}, {"~$T"}, "all values"},
      {{}, {}, "all values"},  // $T => $F
      {{"~x<0", "~x>3"}, {"x=0", "x=1", "x=2"}, "x=3"},
      // Quantifiers are false only by a witness; a bound variable is not a
      // free one, and shadows a free one.
      {{}, {"$Ax:x>y"}, "y=0"}, {{}, {"$Ax:x>0"}, "all values"}, {{"x>0"}, {"$Ax:x>0"}, "x=1"},
      {{"$Ex:x>y"}, {"y>5"}, "y=0"},  // existential in the antecedent: a witness
      {{"$Ax:y>0"}, {"y>1"}, "y=1"},  // body without the bound variable
      {{"~~$Ex:x=y"}, {"y>0"}, "y=0"},
  });
}

TEST(RefuteSequent, ValidSequentsAndOutsideTheFragmentGiveNoVerdict) {
  RunCases({
      {{"@y=+1(x)"}, {"@y>-1(x)"}, ""}, {{"~x<0", "~x>2"}, {"x=0", "x=1", "x=2"}, ""},
      {{"x>0"}, {"+(x,1)>1"}, ""}, {{}, {"*(x,x)>-1"}, ""}, {{}, {"x>y", "x=y", "x<y"}, ""},
      {{"x>0", "~x>0"}, {}, ""}, {{"x>y", "y>z"}, {"x>z"}, ""}, {{}, {"+(-(a,b),b)=a"}, ""},
      {{}, {"!(n)>0"}, ""},             // negative arguments have no value
      {{}, {"$Ax:~$Ay:~y>x"}, ""},      // no definite value: never refuted
      {{"$Ax:+(x,1)>x"}, {"y>0"}, ""},  // a premise quantifier cannot be shown true
      {{}, {"$Ex:x>y"}, ""},            // existential in the succedent: never decided
      {{}, {"a[i]>0"}, ""}, {{}, {"f(x)>0"}, ""}, {{"f(x)=y"}, {"y>0"}, ""},
      {{}, {"+(x,y,z)>0"}, ""},                  // wrong arity
      {{}, {"\"abc\"=x"}, ""},                   // strings
      {{}, {"p(x)"}, ""},                        // predicate atoms
      {{}, {"x+1>x"}, ""},                       // one name, not a sum
      {{}, {"*(9223372036854775807,2)>0"}, ""},  // overflow
      {{}, {"99999999999999999999>0"}, ""},      // numeral beyond 64 bits
      {{}, {"!(25)<0"}, ""},                     // factorial too large
      {{}, {"x>0^"}, ""},                        // empty formula inside
      {{}, {"x<=y"}, ""},                        // a read error left an empty name
      // Unknown parts stay unknown even when the same term is on both sides.
      {{}, {"f(x)=f(x)"}, ""}, {{}, {"f(x)>f(x)"}, "all values"},
  });
  // A null formula in a list, too many free variables, no sequent at all.
  Sequent *s = Seq({}, {"x>0"});
  s->formulaList2->formula = nullptr;
  EXPECT_EQ(Verdict(s), "0:");
  std::string sum = "x0";
  for (int i = 1; i < 40; i++) sum = "+(" + sum + ",x" + std::to_string(i) + ")";
  EXPECT_EQ(Verdict(Seq({}, {sum + ">0"})), "0:");
  EXPECT_EQ(RefuteSequent(nullptr, nullptr, 0), 0);
}

TEST(RefuteSequent, WitnessBufferIsBoundedAndSearchStaysSmall) {
  char w[16];
  memset(w, 'z', sizeof w);
  EXPECT_EQ(RefuteSequent(Seq({}, {std::string(300, 'v') + ">0"}), w, sizeof w), 1);
  EXPECT_EQ(std::string(w), std::string(15, 'v'));
  // A witness deep in a quantifier nest is found within the work budget; the
  // same nest as a premise can never be true: the budget ends the work.
  const char *nest = "$Aa:$Ab:$Ac:$Ad:~+(+(a,b),+(c,d))=+(+(x,y),+(z,w))";
  EXPECT_EQ(Verdict(Seq({}, {nest})), "1:w=0, x=0, y=0, z=0");
  EXPECT_EQ(Verdict(Seq({nest, "$Ae:$Af:~e=f"}, {"x=x"})), "0:");
}

static void AddProcedure(const char *name, int readError = 0) {
  ProcedureListPtr n = &procedureList;
  while (n->procedure) n = n->procedureList;
  n->procedure = (ProcedurePtr)calloc(1, sizeof(Procedure));
  CopyBounded(n->procedure->name, LABEL_SIZE, name);
  n->procedure->readError = readError;
  n->procedureList = (ProcedureListPtr)calloc(1, sizeof(ProcedureList));
}
static std::string Report(int quiet) {
  CaptureStdout();
  RefuteReportAll(quiet);
  return GetCapturedStdout();
}

TEST(RefuteReportAll, NumbersPerProcedureInListingOrderAndBoundsTheWork) {
  ProverReset();
  AddProcedure("p");
  AddProcedure("q", 1);
  AddProcedure("r");
  // Interleaved in the sequent list; numbered per procedure in list order.
  Append({}, {"f(x)>0"}, "r");           // r 1: no verdict
  Append({"x>0"}, {"x>1"}, "p");         // p 1: refuted
  Append({}, {"x>0"}, "q");              // q 1: read error
  Append({}, {"x>0"}, "p")->proved = 1;  // not remaining
  Append({"x>0"}, {"x>-1"}, "p");        // p 2: valid
  Append({}, {"y=x"}, "p");              // p 3: refuted
  Append({}, {"x>0"}, "nobody");         // listed under no procedure
  Append({}, {"~$T"}, "r");              // r 2: refuted
  EXPECT_EQ(Report(0), "p: condition 1 fails for x=1\np: condition 3 fails for x=1, y=0\n"
                       "r: condition 2 fails for all values\n"
                       "conditions remaining: 6, refuted: 3, without verdict: 3\n");
  EXPECT_EQ(Report(1), "");
  ProverReset();
  EXPECT_EQ(Report(0), "conditions remaining: 0, refuted: 0, without verdict: 0\n");
  // Premises that can never be shown true use up each sequent's budget: the
  // last one would be refuted on its own, but the work is used up.
  AddProcedure("p");
  const char *heavy = "$Aa:$Ab:$Ac:$Ad:~+(+(a,b),+(c,d))=+(+(x,y),+(z,w))";
  for (int i = 0; i < 40; i++) Append({heavy}, {"x>0"}, "p");
  Append({}, {"x>0"}, "p");
  EXPECT_EQ(Report(0), "conditions remaining: 41, refuted: 0, without verdict: 41\n");
  ProverReset();
}

namespace {

std::string ReadAll(FILE *f) {
  std::string r;
  char buf[4096];
  for (size_t n; f && (n = fread(buf, 1, sizeof buf, f)) > 0;) r.append(buf, n);
  if (f) fclose(f);
  return r;
}

// Writes the program to refute.q, runs quell1-batch on it and returns the exit
// status; out gets standard output only (sanitizer reports go to stderr).
int RunBatch(const std::string &program, std::string *out, const char *flags = "") {
  std::ofstream("refute.q") << program;
  remove("refute.out");
  FILE *p = popen((std::string(QUELL_BATCH) + " " + flags + "refute.q refute.out 2>/dev/null").c_str(), "r");
  if (!p) return -1;
  out->clear();
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out->append(buf, n);
  int rc = pclose(p);
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Two loops with the invariant x<=n: upto is right (its remaining conditions
// hold over the integers), past claims x>n at the exit, where x=n.
std::string LoopProcedure(const char *name, int start, const char *post) {
  return std::string("{n>0}\n%PROC ") + name + "(%INP/n:int;%IOP/x:int)==\n%STM [\n  LB=1=>$Ox=" +
         std::to_string(start) + "^$OLB=2;\n  *[LB=2^~(x=n)=>($OLB=3|$OLB=4)\n" +
         "    LB=3=>$Ox=+(x,1)^$OLB=2;\n    {~(x>n)}\n  ]\n]\n{" + post + "}\n";
}

}  // namespace

TEST(RefuteBatch, OnlyWrongProgramsGetCounterexampleLines) {
  // x>0 is not kept by dec; sq is right, but the prover knows nothing about products.
  const std::string dec = "{x>0}\n%PROC dec(%IOP/x:int)==\n%STM[\nLB=1=>$Ox=-(x,1)^$OLB=2;\n]\n{x>0}\n",
                    sq = "{x>0}\n%PROC sq(%IOP/x:int)==\n%STM[\nLB=1=>$Ox=*(x,x)^$OLB=2;\n]\n{x>0}\n";
  std::string out;
  EXPECT_EQ(RunBatch(dec, &out), 1);
  EXPECT_EQ(out, "dec: condition 1 fails for x=1\n"
                 "conditions remaining: 1, refuted: 1, without verdict: 0\n");
  std::string result = ReadAll(fopen("refute.out", "r"));
  EXPECT_NE(result.find("Remaining Verification Conditions:"), std::string::npos);
  // Quiet: nothing printed, the same exit code and the same result file.
  EXPECT_EQ(RunBatch(dec, &out, "-q "), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(ReadAll(fopen("refute.out", "r")), result);
  EXPECT_EQ(RunBatch(sq, &out), 1);
  EXPECT_EQ(out, "conditions remaining: 1, refuted: 0, without verdict: 1\n");
  EXPECT_EQ(RunBatch(sq + dec, &out), 1);  // both in one file: only the wrong one is named
  EXPECT_EQ(out, "dec: condition 1 fails for x=1\n"
                 "conditions remaining: 2, refuted: 1, without verdict: 1\n");
  EXPECT_EQ(RunBatch(LoopProcedure("upto", 1, "x=n") + LoopProcedure("past", 0, "x>n"), &out), 1);
  EXPECT_EQ(out.find("upto:"), std::string::npos) << out;
  EXPECT_EQ(out.find("past: condition "), 0u) << out;
  EXPECT_NE(out.find(" fails for "), std::string::npos) << out;
  EXPECT_NE(out.find("refuted: 1, without verdict: "), std::string::npos) << out;
  // The half-read procedure keeps the condition $T => $F, which is false
  // for every value; it says nothing about the program as meant.
  EXPECT_EQ(RunBatch("{$T}\n%PROC bad(%IOP/x:int)==\n%STM[\nLB=1=>$Ox=1^$OLB=2;\nxyz\n]\n{x>0}\n", &out), 1);
  EXPECT_NE(out.find("Error: "), std::string::npos) << out;
  EXPECT_EQ(out.find(" fails for "), std::string::npos) << out;
  EXPECT_NE(out.find("conditions remaining: 1, refuted: 0, without verdict: 1\n"), out.npos) << out;
  remove("refute.q");
  remove("refute.out");
}

namespace {

unsigned randomState = 12345;
unsigned Random(unsigned n) {
  randomState = randomState * 1103515245u + 12345u;
  return (randomState >> 16) % n;
}
std::string RandomTerm(int depth) {
  static const char *const leaves[] = {"x", "y", "0", "1", "2", "-1"};
  if (depth <= 0 || Random(3) == 0) return leaves[Random(6)];
  std::string a = RandomTerm(depth - 1);
  unsigned k = Random(5);
  if (k >= 3) return (k == 3 ? "+1(" : "-1(") + a + ")";
  return "+-*"[k] + ("(" + a + "," + RandomTerm(depth - 1) + ")");
}
std::string RandomFormula(int depth) {
  if (depth <= 0 || Random(3) == 0) {
    std::string l = RandomTerm(2);
    return l + "=<>"[Random(3)] + RandomTerm(2);
  }
  std::string a = RandomFormula(depth - 1);
  unsigned k = Random(5);
  if (k == 2) return "~" + a;
  if (k == 4) return "$Ax:" + a;
  return "(" + a + (k == 0 ? "^" : k == 1 ? "|" : "->") + RandomFormula(depth - 1) + ")";
}

}  // namespace

// A sequent the prover removes is valid, so the refuter must not refute it;
// either one doing so has a fault.
TEST(RefuteSequent, NeverRefutesWhatTheProverProves) {
  int refutedCount = 0, provedCount = 0;
  for (int i = 0; i < 400; i++) {
    Texts ante, succ;
    for (int k = Random(3); k > 0; k--) ante.push_back(RandomFormula(2));
    for (int k = Random(3); k > 0; k--) succ.push_back(RandomFormula(2));
    ProverReset();
    Sequent *s = Append(ante, succ);
    std::string text = SText(s);
    int found;
    std::string w = Refute(s, &found);
    SimplifySequentAll();
    bool proved = sequentList.sequent == nullptr;
    EXPECT_FALSE(found && proved) << "proved and refuted: " << text << " [" << w << "]";
    refutedCount += found;
    provedCount += proved;
  }
  EXPECT_GT(refutedCount, 40);  // the random sequents reach both answers
  EXPECT_GT(provedCount, 4);
}
