// The refuter: known answers for small sequents, the report over the
// sequent list, and the counterexample lines of quell1-batch.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../../program/sentence.h"
#include "../../prover/refute.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

FormulaPtr Read(const std::string &text) {
  std::string buf = text;
  FormulaPtr f = FormulaAlloc();
  FormulaRead(&buf[0], f);
  return f;
}

FormulaListPtr ReadList(const std::vector<std::string> &texts) {
  FormulaListPtr head = nullptr, *tail = &head;
  for (const std::string &t : texts) {
    FormulaListPtr n = static_cast<FormulaListPtr>(calloc(1, sizeof(FormulaList)));
    n->formula = Read(t);
    *tail = n;
    tail = &n->formulaList;
  }
  return head;
}

SequentPtr MakeSequent(const std::vector<std::string> &ante, const std::vector<std::string> &succ,
                       const char *remark = "p") {
  SequentPtr s = static_cast<SequentPtr>(calloc(1, sizeof(Sequent)));
  s->formulaList1 = ReadList(ante);
  s->formulaList2 = ReadList(succ);
  CopyBounded(s->remark, LABEL_SIZE, remark);
  return s;
}

void FreeSequent(SequentPtr s) {
  FormulaListFree(s->formulaList1);
  FormulaListFree(s->formulaList2);
  free(s);
}

std::string Refute(SequentPtr s, int *found) {
  char w[256];
  *found = RefuteSequent(s, w, sizeof w);
  return w;
}

TermPtr NameTerm(const std::string &name) {
  TermPtr t = TermAlloc();
  TermSetName(t, name.c_str());
  t->type = 2;
  return t;
}

// Puts the values of a witness "x=1, y=-2" into the sequent in place of its
// variables; the sequent must then fail without any free variable left.
void ExpectWitnessRefutes(SequentPtr s, const std::string &witness) {
  AssignListPtr head = nullptr, *tail = &head;
  size_t pos = 0;
  while (pos < witness.size()) {
    size_t end = witness.find(", ", pos);
    if (end == std::string::npos) end = witness.size();
    std::string item = witness.substr(pos, end - pos);
    size_t eq = item.rfind('=');
    ASSERT_NE(eq, std::string::npos) << witness;
    AssignPtr a = static_cast<AssignPtr>(calloc(1, sizeof(Assign)));
    a->termLeft = NameTerm(item.substr(0, eq));
    a->termRight = NameTerm(item.substr(eq + 1));
    AssignListPtr n = static_cast<AssignListPtr>(calloc(1, sizeof(AssignList)));
    n->assign = a;
    *tail = n;
    tail = &n->assignList;
    pos = end + 2;
  }
  Sequent g = *s;
  g.formulaList1 = FormulaListCopy(s->formulaList1);
  g.formulaList2 = FormulaListCopy(s->formulaList2);
  for (FormulaListPtr p = g.formulaList1; p; p = p->formulaList)
    p->formula = FormulaSubstSim(p->formula, head);
  for (FormulaListPtr p = g.formulaList2; p; p = p->formulaList)
    p->formula = FormulaSubstSim(p->formula, head);
  int found;
  EXPECT_EQ(Refute(&g, &found), "all values") << witness;
  EXPECT_EQ(found, 1) << witness;
  FormulaListFree(g.formulaList1);
  FormulaListFree(g.formulaList2);
  while (head) {
    AssignListPtr n = head->assignList;
    TermFree(head->assign->termLeft);
    TermFree(head->assign->termRight);
    free(head->assign);
    free(head);
    head = n;
  }
}

struct Case {
  std::vector<std::string> ante;
  std::vector<std::string> succ;
  const char *witness;  // expected witness, "" when the refuter must give none
};

void RunCases(const std::vector<Case> &cases) {
  for (const Case &c : cases) {
    SequentPtr s = MakeSequent(c.ante, c.succ);
    int found;
    std::string w = Refute(s, &found);
    std::string what = (c.ante.empty() ? std::string("") : c.ante[0]) + " => " +
                       (c.succ.empty() ? std::string("") : c.succ[0]);
    EXPECT_EQ(w, c.witness) << what;
    EXPECT_EQ(found, c.witness[0] ? 1 : 0) << what;
    if (found && w != "all values") ExpectWitnessRefutes(s, w);
    // Deterministic: the same sequent gives the same answer again.
    int again;
    EXPECT_EQ(Refute(s, &again), w) << what;
    FreeSequent(s);
  }
}

}  // namespace

TEST(RefuteSequent, RefutableSequentsGetACheckedWitness) {
  RunCases({
      {{}, {"x>0"}, "x=0"},
      {{"x>0"}, {"x>1"}, "x=1"},
      {{"x>0", "y>x"}, {"y>+(x,1)"}, "x=1, y=2"},
      {{}, {"!(n)>n"}, "n=1"},
      {{"x>10"}, {"x>11"}, "x=11"},          // numerals of the sequent are tried
      {{"x=-5"}, {"x>-5"}, "x=-5"},          // negative numerals
      {{"#@a>0"}, {"#@a>1"}, "#@a=1"},       // fresh names are variables
      {{"@y=+1(x)"}, {"@y>-1(x)"}, ""},      // valid: x+1 > x-1
      {{}, {"x>0->x>1"}, "x=1"},             // implication in the succedent
      {{"p(x)|x>0"}, {"x>1"}, "x=1"},        // a true side decides a disjunction
      {{}, {"*(x,x)>x"}, "x=0"},
      {{}, {"-(x,y)=-(y,x)"}, "x=1, y=0"},
      {{"$T"}, {"~$T"}, "all values"},
      {{}, {}, "all values"},                // $T => $F
      {{"~x<0", "~x>2"}, {"x=0", "x=1", "x=2"}, ""},
      {{"~x<0", "~x>3"}, {"x=0", "x=1", "x=2"}, "x=3"},
  });
}

TEST(RefuteSequent, QuantifiersAreFalseOnlyByAWitness) {
  RunCases({
      // Succedent quantifier: false by a witness of the bound variable.
      {{}, {"$Ax:x>y"}, "y=0"},
      // A bound variable is not a free one, and shadows a free one.
      {{}, {"$Ax:x>0"}, "all values"},
      {{"x>0"}, {"$Ax:x>0"}, "x=1"},
      // Existential in the antecedent is true by a witness.
      {{"$Ex:x>y"}, {"y>5"}, "y=0"},
      // Body independent of the bound variable: its value is the quantifier's.
      {{"$Ax:y>0"}, {"y>1"}, "y=1"},
      // A quantifier that must be true cannot be shown true by trying values.
      {{"$Ax:+(x,1)>x"}, {"y>0"}, ""},
      // Existential in the succedent must be false: never decided.
      {{}, {"$Ex:x>y"}, ""},
      // Under two negations the witness search still applies.
      {{"~~$Ex:x=y"}, {"y>0"}, "y=0"},
  });
}

TEST(RefuteSequent, ValidSequentsGetNoCounterexample) {
  RunCases({
      {{"x>0"}, {"+(x,1)>1"}, ""},
      {{}, {"*(x,x)>-1"}, ""},
      {{"x=y"}, {"y=x"}, ""},
      {{}, {"x>y|x=y|x<y"}, ""},
      {{}, {"x>y", "x=y", "x<y"}, ""},
      {{"x>0", "~x>0"}, {}, ""},
      {{}, {"!(n)>0"}, ""},  // negative arguments have no value
      {{"x>y", "y>z"}, {"x>z"}, ""},
      {{}, {"+(-(a,b),b)=a"}, ""},
      {{}, {"$Ax:~$Ay:~y>x"}, ""},  // no definite value: never refuted
  });
}

TEST(RefuteSequent, OutsideTheFragmentGivesNoVerdict) {
  RunCases({
      {{}, {"a[i]>0"}, ""},
      {{}, {"f(x)>0"}, ""},
      {{}, {"+(x,y,z)>0"}, ""},           // wrong arity
      {{}, {"\"abc\"=x"}, ""},            // strings
      {{}, {"p(x)"}, ""},                 // predicate atoms
      {{}, {"x+1>x"}, ""},                // one name, not a sum
      {{}, {"*(9223372036854775807,2)>0"}, ""},  // overflow
      {{}, {"99999999999999999999>0"}, ""},      // numeral beyond 64 bits
      {{}, {"!(25)<0"}, ""},              // factorial too large
      {{}, {"x>0^"}, ""},                 // empty formula inside
      {{}, {"x<=y"}, ""},                 // a read error left an empty name
      {{"f(x)=y"}, {"y>0"}, ""},
  });
  // Unknown parts stay unknown even when the same term is on both sides.
  RunCases({{{}, {"f(x)=f(x)"}, ""}, {{}, {"f(x)>f(x)"}, "all values"}});

  // A null formula in a list and a missing list element are incomplete.
  SequentPtr s = MakeSequent({}, {"x>0"});
  FormulaFree(s->formulaList2->formula);
  s->formulaList2->formula = nullptr;
  int found;
  EXPECT_EQ(Refute(s, &found), "");
  EXPECT_EQ(found, 0);
  FreeSequent(s);

  // Too many free variables.
  std::string sum = "x0";
  for (int i = 1; i < 40; i++) sum = "+(" + sum + ",x" + std::to_string(i) + ")";
  s = MakeSequent({}, {sum + ">0"});
  EXPECT_EQ(Refute(s, &found), "");
  EXPECT_EQ(found, 0);
  FreeSequent(s);

  EXPECT_EQ(RefuteSequent(nullptr, nullptr, 0), 0);
}

TEST(RefuteSequent, WitnessBufferIsBoundedAndSearchStaysSmall) {
  std::string name(300, 'v');
  SequentPtr s = MakeSequent({}, {name + ">0"});
  char w[16];
  memset(w, 'z', sizeof w);
  EXPECT_EQ(RefuteSequent(s, w, sizeof w), 1);
  EXPECT_EQ(strlen(w), sizeof w - 1);
  EXPECT_EQ(std::string(w), std::string(15, 'v'));
  FreeSequent(s);

  // A witness deep in a quantifier nest is found within the work budget.
  const char *nest = "$Aa:$Ab:$Ac:$Ad:~+(+(a,b),+(c,d))=+(+(x,y),+(z,w))";
  s = MakeSequent({}, {nest});
  int found;
  EXPECT_EQ(Refute(s, &found), "w=0, x=0, y=0, z=0");
  FreeSequent(s);
  // The same nest as a premise can never be true; the budget ends the work.
  s = MakeSequent({nest, "$Ae:$Af:~e=f"}, {"x=x"});
  EXPECT_EQ(Refute(s, &found), "");
  EXPECT_EQ(found, 0);
  FreeSequent(s);
}

namespace {

ProcedurePtr AddProcedure(const char *name, ProcedureListPtr *tail) {
  ProcedurePtr p = static_cast<ProcedurePtr>(calloc(1, sizeof(Procedure)));
  CopyBounded(p->name, LABEL_SIZE, name);
  (*tail)->procedure = p;
  (*tail)->procedureList = static_cast<ProcedureListPtr>(calloc(1, sizeof(ProcedureList)));
  *tail = (*tail)->procedureList;
  return p;
}

void AddSequent(SequentPtr s) {
  sequentListPtr->sequent = s;
  sequentListPtr->sequentList = static_cast<SequentListPtr>(calloc(1, sizeof(SequentList)));
  sequentListPtr = sequentListPtr->sequentList;
}

// Frees what the test put into the two global lists, then empties them.
void ResetLists() {
  for (ProcedureListPtr p = procedureList.procedureList; p;) {
    ProcedureListPtr n = p->procedureList;
    free(p->procedure);
    free(p);
    p = n;
  }
  free(procedureList.procedure);
  for (SequentListPtr p = sequentList.sequentList; p;) {
    SequentListPtr n = p->sequentList;
    if (p->sequent) FreeSequent(p->sequent);
    free(p);
    p = n;
  }
  if (sequentList.sequent) FreeSequent(sequentList.sequent);
  ProcedureListClear();
  sequentList.sequent = nullptr;
  sequentList.sequentList = nullptr;
  sequentListPtr = &sequentList;
}

}  // namespace

TEST(RefuteReportAll, NumbersPerProcedureInListingOrder) {
  ProcedureListClear();
  sequentList.sequent = nullptr;
  sequentList.sequentList = nullptr;
  sequentListPtr = &sequentList;
  ProcedureListPtr tail = &procedureList;
  AddProcedure("p", &tail);
  ProcedurePtr broken = AddProcedure("q", &tail);
  AddProcedure("r", &tail);
  broken->readError = 1;
  // Interleaved in the sequent list; numbered per procedure in list order.
  AddSequent(MakeSequent({}, {"f(x)>0"}, "r"));      // r 1: no verdict
  AddSequent(MakeSequent({"x>0"}, {"x>1"}, "p"));    // p 1: refuted
  AddSequent(MakeSequent({}, {"x>0"}, "q"));         // q 1: read error
  SequentPtr proved = MakeSequent({}, {"x>0"}, "p");
  proved->proved = 1;
  AddSequent(proved);                                // not remaining
  AddSequent(MakeSequent({"x>0"}, {"x>-1"}, "p"));   // p 2: valid
  AddSequent(MakeSequent({}, {"y=x"}, "p"));         // p 3: refuted
  AddSequent(MakeSequent({}, {"x>0"}, "nobody"));    // listed under no procedure
  AddSequent(MakeSequent({}, {"~$T"}, "r"));         // r 2: refuted

  CaptureStdout();
  RefuteReportAll(0);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out,
            "p: condition 1 fails for x=1\n"
            "p: condition 3 fails for x=1, y=0\n"
            "r: condition 2 fails for all values\n"
            "conditions remaining: 6, refuted: 3, without verdict: 3\n");

  CaptureStdout();
  RefuteReportAll(1);
  EXPECT_EQ(GetCapturedStdout(), "");

  ResetLists();
  CaptureStdout();
  RefuteReportAll(0);
  EXPECT_EQ(GetCapturedStdout(), "conditions remaining: 0, refuted: 0, without verdict: 0\n");
}

TEST(RefuteReportAll, TotalWorkIsBounded) {
  ProcedureListClear();
  sequentList.sequent = nullptr;
  sequentList.sequentList = nullptr;
  sequentListPtr = &sequentList;
  ProcedureListPtr tail = &procedureList;
  AddProcedure("p", &tail);
  // Premises that can never be shown true use up each sequent's budget.
  const char *heavy = "$Aa:$Ab:$Ac:$Ad:~+(+(a,b),+(c,d))=+(+(x,y),+(z,w))";
  for (int i = 0; i < 40; i++) AddSequent(MakeSequent({heavy}, {"x>0"}, "p"));
  AddSequent(MakeSequent({}, {"x>0"}, "p"));
  CaptureStdout();
  RefuteReportAll(0);
  std::string out = GetCapturedStdout();
  // The last one would be refuted on its own, but the work is used up.
  EXPECT_EQ(out, "conditions remaining: 41, refuted: 0, without verdict: 41\n");
  ResetLists();
}

// --- through quell1-batch ---------------------------------------------------

namespace {

// Runs quell1-batch and returns its exit status; out gets standard output
// only (the sanitizer's reports go to standard error).
int RunBatch(const std::string &args, std::string *out) {
  std::string cmd = std::string(QUELL_BATCH) + " " + args + " 2>/dev/null";
  FILE *f = popen(cmd.c_str(), "r");
  if (!f) return -1;
  char buf[4096];
  size_t n;
  out->clear();
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->append(buf, n);
  int rc = pclose(f);
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

void WriteFile(const std::string &name, const std::string &text) {
  FILE *f = fopen(name.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fputs(text.c_str(), f);
  fclose(f);
}

std::string ReadFile(const std::string &name) {
  std::string r;
  FILE *f = fopen(name.c_str(), "r");
  if (!f) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) r.append(buf, n);
  fclose(f);
  return r;
}

// x>0 is not kept: the statement decrements x.
const char *const wrongProgram =
    "{x>0}\n"
    "%PROC dec(%IOP/x:int)==\n"
    "%STM[\n"
    "LB=1=>$Ox=-(x,1)^$OLB=2;\n"
    "]\n"
    "{x>0}\n";

// Right, but the prover knows nothing about products.
const char *const unprovedProgram =
    "{x>0}\n"
    "%PROC sq(%IOP/x:int)==\n"
    "%STM[\n"
    "LB=1=>$Ox=*(x,x)^$OLB=2;\n"
    "]\n"
    "{x>0}\n";

// Two loops with the invariant x<=n: upto is right (its remaining conditions
// hold over the integers), past claims x>n at the exit, where x=n.
const char *const loopProgram =
    "{n>0}\n"
    "%PROC upto(%INP/n:int;%IOP/x:int)==\n"
    "%STM [\n"
    "  LB=1=>$Ox=1^$OLB=2;\n"
    "  *[LB=2^~(x=n)=>($OLB=3|$OLB=4)\n"
    "    LB=3=>$Ox=+(x,1)^$OLB=2;\n"
    "    {~(x>n)}\n"
    "  ]\n"
    "]\n"
    "{x=n}\n"
    "{n>0}\n"
    "%PROC past(%INP/n:int;%IOP/x:int)==\n"
    "%STM [\n"
    "  LB=1=>$Ox=0^$OLB=2;\n"
    "  *[LB=2^~(x=n)=>($OLB=3|$OLB=4)\n"
    "    LB=3=>$Ox=+(x,1)^$OLB=2;\n"
    "    {~(x>n)}\n"
    "  ]\n"
    "]\n"
    "{x>n}\n";

}  // namespace

TEST(RefuteBatch, WrongProgramGetsItsCounterexampleLine) {
  WriteFile("refute_dec.q", wrongProgram);
  std::string out;
  EXPECT_EQ(RunBatch("refute_dec.q refute_dec.out", &out), 1);
  EXPECT_EQ(out,
            "dec: condition 1 fails for x=1\n"
            "conditions remaining: 1, refuted: 1, without verdict: 0\n");
  std::string result = ReadFile("refute_dec.out");
  EXPECT_NE(result.find("Remaining Verification Conditions:"), std::string::npos);

  // Quiet: nothing printed, the same exit code and the same result file.
  remove("refute_dec.out");
  EXPECT_EQ(RunBatch("-q refute_dec.q refute_dec.out", &out), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(ReadFile("refute_dec.out"), result);
  remove("refute_dec.q");
  remove("refute_dec.out");
}

TEST(RefuteBatch, CorrectButUnprovedProgramGetsNone) {
  WriteFile("refute_sq.q", unprovedProgram);
  std::string out;
  EXPECT_EQ(RunBatch("refute_sq.q refute_sq.out", &out), 1);
  EXPECT_EQ(out, "conditions remaining: 1, refuted: 0, without verdict: 1\n");
  remove("refute_sq.q");
  remove("refute_sq.out");

  // Both in one file: only the wrong procedure is named.
  WriteFile("refute_two.q", std::string(unprovedProgram) + wrongProgram);
  EXPECT_EQ(RunBatch("refute_two.q refute_two.out", &out), 1);
  EXPECT_EQ(out,
            "dec: condition 1 fails for x=1\n"
            "conditions remaining: 2, refuted: 1, without verdict: 1\n");
  remove("refute_two.q");
  remove("refute_two.out");
}

TEST(RefuteBatch, LoopsOnlyTheWrongOneIsNamed) {
  WriteFile("refute_loop.q", loopProgram);
  std::string out;
  EXPECT_EQ(RunBatch("refute_loop.q refute_loop.out", &out), 1);
  EXPECT_EQ(out.find("upto:"), std::string::npos) << out;
  EXPECT_EQ(out.find("past: condition "), 0u) << out;
  EXPECT_NE(out.find(" fails for "), std::string::npos) << out;
  EXPECT_NE(out.find("refuted: 1, without verdict: "), std::string::npos) << out;
  remove("refute_loop.q");
  remove("refute_loop.out");
}

TEST(RefuteBatch, ReadErrorGivesNoVerdict) {
  // The half-read procedure keeps the condition $T => $F, which is false
  // for every value; it says nothing about the program as meant.
  WriteFile("refute_bad.q",
            "{$T}\n%PROC bad(%IOP/x:int)==\n%STM[\nLB=1=>$Ox=1^$OLB=2;\nxyz\n]\n{x>0}\n");
  std::string out;
  EXPECT_EQ(RunBatch("refute_bad.q refute_bad.out", &out), 1);
  EXPECT_NE(out.find("Error: "), std::string::npos) << out;
  EXPECT_EQ(out.find(" fails for "), std::string::npos) << out;
  EXPECT_NE(out.find("conditions remaining: 1, refuted: 0, without verdict: 1\n"),
            std::string::npos)
      << out;
  remove("refute_bad.q");
  remove("refute_bad.out");
}

// --- agreement with the prover ------------------------------------------------

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
  switch (Random(5)) {
    case 0: return "+(" + a + "," + RandomTerm(depth - 1) + ")";
    case 1: return "-(" + a + "," + RandomTerm(depth - 1) + ")";
    case 2: return "*(" + a + "," + RandomTerm(depth - 1) + ")";
    case 3: return "+1(" + a + ")";
    default: return "-1(" + a + ")";
  }
}

std::string RandomFormula(int depth) {
  static const char *const relations[] = {"=", "<", ">"};
  if (depth <= 0 || Random(3) == 0) {
    std::string l = RandomTerm(2);
    return l + relations[Random(3)] + RandomTerm(2);
  }
  std::string a = RandomFormula(depth - 1);
  switch (Random(5)) {
    case 0: return "(" + a + "^" + RandomFormula(depth - 1) + ")";
    case 1: return "(" + a + "|" + RandomFormula(depth - 1) + ")";
    case 2: return "~" + a;
    case 3: return "(" + a + "->" + RandomFormula(depth - 1) + ")";
    default: return "$Ax:" + a;
  }
}

}  // namespace

// A sequent the prover removes is valid, so the refuter must not refute it;
// either one doing so has a fault.
TEST(RefuteSequent, NeverRefutesWhatTheProverProves) {
  const int batch = 50;
  int refutedCount = 0, provedCount = 0;
  for (int round = 0; round < 20; round++) {
    ResetLists();
    std::vector<std::string> texts;
    std::vector<int> refuted;
    for (int i = 0; i < batch; i++) {
      std::vector<std::string> ante, succ;
      for (int k = Random(3); k > 0; k--) ante.push_back(RandomFormula(2));
      for (int k = Random(3); k > 0; k--) succ.push_back(RandomFormula(2));
      SequentPtr s = MakeSequent(ante, succ, ("r" + std::to_string(i)).c_str());
      int found;
      std::string w = Refute(s, &found);
      std::string text;
      for (const std::string &f : ante) text += f + ", ";
      text += "=> ";
      for (const std::string &f : succ) text += f + ", ";
      texts.push_back(text + " [" + w + "]");
      refuted.push_back(found);
      AddSequent(s);
    }
    SimplifySequentAll();
    std::vector<int> remaining(batch, 0);
    for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList)
      if (!p->sequent->proved) remaining[atoi(p->sequent->remark + 1)] = 1;
    for (int i = 0; i < batch; i++) {
      refutedCount += refuted[i];
      provedCount += !remaining[i];
      EXPECT_FALSE(refuted[i] && !remaining[i]) << "proved and refuted: " << texts[i];
    }
  }
  // The random sequents reach both answers.
  EXPECT_GT(refutedCount, 100);  // of 1000
  EXPECT_GT(provedCount, 10);
}
