// The refuter: known answers for small sequents, the report over the
// sequent list and the counterexample lines of quell1-batch.
#include <sys/wait.h>
#include <fstream>
#include <iterator>
#include "provertest.h"

// "found:witness", e.g. "0:" for no verdict.
static std::string Verdict(Sequent *s) {
  char w[256];
  return std::to_string(RefuteSequent(s, w, sizeof w)) + ":" + w;
}

TEST(RefuteSequent, WitnessesAndNoVerdictOutsideTheFragment) {
  // antecedent, succedent, expected witness ("" for no verdict)
  struct { Texts ante, succ; std::string witness; } cases[] = {
      {{"x>0", "y>x"}, {"y>+(x,1)"}, "x=1, y=2"}, {{}, {"!(n)>n"}, "n=1"},
      {{"x=-5"}, {"x>-5"}, "x=-5"},     // numerals of the sequent are tried
      {{"#@a>0"}, {"#@a>1"}, "#@a=1"},  // fresh names are variables
      {{"p(x)|x>0"}, {"x>1"}, "x=1"},   // a true side decides a disjunction
      {{}, {}, "all values"},           // $T => $F
      // Quantifiers are false only by a witness; a bound variable is not a
      // free one, and shadows a free one.
      {{}, {"$Ax:x>0"}, "all values"}, {{"x>0"}, {"$Ax:x>0"}, "x=1"},
      {{"$Ex:x>y"}, {"y>5"}, "y=0"},  // existential in the antecedent: a witness
      // valid; or outside the fragment, or beyond its bounds
      {{"~x<0", "~x>2"}, {"x=0", "x=1", "x=2"}, ""}, {{"x>y", "y>z"}, {"x>z"}, ""},
      {{}, {"!(n)>0"}, ""}, {{}, {"!(25)<0"}, ""},  // negative argument; factorial too large
      {{}, {"*(9223372036854775807,2)>0"}, ""}, {{}, {"99999999999999999999>0"}, ""},  // beyond 64 bits
      {{"f(x)=y"}, {"y>0"}, ""}, {{}, {"+(x,y,z)>0"}, ""},  // unknown function; wrong arity
      {{}, {"x+1>x"}, ""}, {{}, {"x<=y"}, ""},  // one name, not a sum; a read error left an empty name
      {{}, {"x>0^"}, ""},                       // empty formula inside
      {{}, {"$Ax:~$Ay:~y>x"}, ""},      // no definite value: never refuted
      {{"$Ax:+(x,1)>x"}, {"y>0"}, ""},  // a premise quantifier cannot be shown true
      {{}, {"$Ex:x>y"}, ""},            // existential in the succedent: never decided
      // Unknown parts stay unknown even when the same term is on both sides.
      {{}, {"f(x)=f(x)"}, ""}, {{}, {"f(x)>f(x)"}, "all values"},
  };
  for (auto &c : cases)
    EXPECT_EQ(Verdict(Seq(c.ante, c.succ)), (c.witness.empty() ? "0:" : "1:") + c.witness) << &c - cases;
  // A null formula in a list, too many free variables, no sequent at all.
  Sequent *s = Seq({}, {"x>0"});
  s->formulaList2->formula = nullptr;
  EXPECT_EQ(Verdict(s), "0:");
  std::string sum = "x0";
  for (int i = 1; i < 40; i++) sum = "+(" + sum + ",x" + std::to_string(i) + ")";
  EXPECT_EQ(Verdict(Seq({}, {sum + ">0"})), "0:");
  EXPECT_EQ(RefuteSequent(nullptr, nullptr, 0), 0);
  // The witness is cut to its buffer.
  char w[16];
  memset(w, 'z', sizeof w);
  EXPECT_EQ(RefuteSequent(Seq({}, {std::string(300, 'v') + ">0"}), w, sizeof w), 1);
  EXPECT_EQ(std::string(w), std::string(15, 'v'));
}

// Premises that can never be shown true, and a witness deep in them.
static const char *const kNest = "$Aa:$Ab:$Ac:$Ad:~+(+(a,b),+(c,d))=+(+(x,y),+(z,w))";

static void AddProcedure(const char *name, int readError = 0) {
  ProcedureListPtr n = ProcedureListTail();
  n->procedure = (ProcedurePtr)calloc(1, sizeof(Procedure));
  CopyBounded(n->procedure->name, LABEL_SIZE, name);
  n->procedure->readError = readError;
  n->procedureList = (ProcedureListPtr)calloc(1, sizeof(ProcedureList));
}
static std::string Report(int quiet) { return CaptureStdout(), RefuteReportAll(quiet), Out(); }

TEST(RefuteReportAll, NumbersPerProcedureInListingOrderAndBoundsTheWork) {
  // The witness in the nest is found within one sequent's budget; as a
  // premise it can never be true: the budget ends the work.
  EXPECT_EQ(Verdict(Seq({}, {kNest})), "1:w=0, x=0, y=0, z=0");
  EXPECT_EQ(Verdict(Seq({kNest, "$Ae:$Af:~e=f"}, {"x=x"})), "0:");
  ProverReset();
  AddProcedure("p"), AddProcedure("q", 1), AddProcedure("r");
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
  // The whole work is bounded too: the last one would be refuted on its own.
  ProverReset();
  AddProcedure("p");
  for (int i = 0; i < 40; i++) Append({kNest}, {"x>0"}, "p");
  Append({}, {"x>0"}, "p");
  EXPECT_EQ(Report(0), "conditions remaining: 41, refuted: 0, without verdict: 41\n");
}

static std::string ReadAll(const char *name) {
  std::ifstream f(name);
  return {std::istreambuf_iterator<char>(f), {}};
}

// Writes the program to refute.q, runs quell1-batch on it and returns the exit
// status; out gets standard output only (sanitizer reports go to stderr).
static int RunBatch(const std::string &program, std::string *out, const char *flags = "") {
  std::ofstream("refute.q") << program;
  remove("refute.out");
  std::string cmd = std::string(QUELL_BATCH) + " --no-smt " + flags + "refute.q refute.out >refute.txt 2>/dev/null";
  int rc = system(cmd.c_str());
  *out = ReadAll("refute.txt");
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

TEST(RefuteBatch, OnlyWrongProgramsGetCounterexampleLines) {
  // x>0 is not kept by dec; sq is right, but the prover knows nothing about products.
  const std::string dec = "{x>0}%PROC dec(%IOP/x:int)==%STM[LB=1=>$Ox=-(x,1)^$OLB=2;]{x>0}\n",
                    sq = "{x>0}%PROC sq(%IOP/x:int)==%STM[LB=1=>$Ox=*(x,x)^$OLB=2;]{x>0}\n";
  std::string out;
  EXPECT_EQ(RunBatch(sq + dec, &out), 1);  // only the wrong one is named
  EXPECT_EQ(out, "refute.q:2: dec: condition 1 (body of dec against its post-condition) fails for x=1\n"
                 "conditions remaining: 2, refuted: 1, without verdict: 1\n");
  std::string result = ReadAll("refute.out");
  EXPECT_NE(result.find("Remaining Verification Conditions:"), std::string::npos);
  // Quiet: nothing printed, the same exit code and the same result file.
  EXPECT_EQ(RunBatch(sq + dec, &out, "-q "), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(ReadAll("refute.out"), result);
  // The half-read procedure keeps the condition $T => $F, which is false
  // for every value; it says nothing about the program as meant.
  EXPECT_EQ(RunBatch("{$T}\n%PROC bad(%IOP/x:int)==\n%STM[\nLB=1=>$Ox=1^$OLB=2;\nxyz\n]\n{x>0}\n", &out), 1);
  EXPECT_NE(out.find("Error: "), std::string::npos) << out;
  EXPECT_NE(out.find("conditions remaining: 1, refuted: 0, without verdict: 1\n"), out.npos) << out;
  for (const char *f : {"refute.q", "refute.out", "refute.txt"}) remove(f);
}

// A model by hand: arrays hold their index plus the offset, f doubles, p holds
// of positive numbers.
static int HandLookup(void *ctx, char kind, const char *name, int n, const long long *args, long long *v) {
  long long offset = *(long long *)ctx;
  if (kind == '[' && !strcmp(name, "a") && n == 1) return *v = args[0] + offset, 1;
  if (kind == '(' && !strcmp(name, "f") && n == 1) return *v = 2 * args[0], 1;
  if (kind == '.' && !strcmp(name, "p") && n == 1) return *v = args[0] > 0, 1;
  return 0;
}

TEST(RefuteSequentModel, TheEvaluatorChecksAModel) {
  const char *names[] = {"i", "k", "x+1"};
  long long values[] = {2, 5, 7}, offset = 0;
  RefuteModel m = {3, names, values, HandLookup, &offset};
  struct { Texts ante, succ; int verdict; } rows[] = {
      {{"a[i]=2"}, {"a[k]=2"}, REFUTE_TRUE}, {{}, {"a[i]=2"}, REFUTE_FALSE},
      {{}, {"f(k)=10"}, REFUTE_FALSE}, {{"p(i)"}, {"p(-(i,3))"}, REFUTE_TRUE},
      {{}, {"x+1=7"}, REFUTE_FALSE},    // a name the search does not take, given by the model
      {{}, {"g(i)=0"}, REFUTE_UNKNOWN}, {{}, {"b[i]>0"}, REFUTE_UNKNOWN},  // not in the model
      // the premise is false at a value of the quantifier's range
      {{"$Aj:a[j]>0"}, {"a[i]>5"}, REFUTE_FALSE}, {{"$Aj:a[j]=j"}, {"a[i]>5"}, REFUTE_UNKNOWN},
  };
  for (auto &r : rows) EXPECT_EQ(RefuteSequentModel(Seq(r.ante, r.succ), &m), r.verdict) << &r - rows;
  // Stores are read from the outermost one in: a[[(k)->1][(k)->2]][k] is 2.
  Sequent *s = Seq({}, {"a[k]=1"});
  FormulaListSubstSim(s->formulaList2, ReadAssigns("$Oa[k]=2"));
  FormulaListSubstSim(s->formulaList2, ReadAssigns("$Oa[k]=1"));
  EXPECT_EQ(RefuteSequentModel(s, &m), REFUTE_TRUE);
  // One list storing two values at the same place: unknown.
  Sequent *both = Seq({}, {"a[i]=1"});
  FormulaListSubstSim(both->formulaList2, ReadAssigns("$Oa[i]=1^$Oa[k]=3"));
  EXPECT_EQ(RefuteSequentModel(both, &m), REFUTE_FALSE);   // i and k differ: a[i] is 1
  values[1] = 2;
  EXPECT_EQ(RefuteSequentModel(both, &m), REFUTE_UNKNOWN);
  EXPECT_EQ(RefuteSequentModel(nullptr, &m), REFUTE_UNKNOWN);
}
