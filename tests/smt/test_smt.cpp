// The decision procedure: per family, sequents the five passes leave and the
// solver proves; sequents that must stay open; the pass on the list.
#include <chrono>

#include "../prover/provertest.h"
#include "../../smt/smtint.h"

// Runs the five passes, then the solver's, on one sequent in the global
// list: "open" (five passes leave it) + "/" + "proved" or "open" after the sixth.
static std::string Fate(const Texts &ante, const Texts &succ) {
  ProverReset();
  Append(ante, succ);
  SimplifySequentAll();
  std::string five = ListLength() ? "open" : "proved";
  SimplifySequentList(SimplifySequentUseSmt);
  return five + "/" + (ListLength() ? "open" : "proved");
}

TEST(Smt, FamiliesTheFivePassesLeaveAreProved) {
  SmtSetRlimit(0);
  struct { Texts ante, succ; } rows[] = {
      // linear arithmetic and numerals
      {{}, {"+(0,0)=0"}}, {{}, {"0=*(m,0)"}}, {{}, {"+(p,+(q,1))=+(1,+(q,p))"}},
      {{"s>0"}, {"#r>-(#r,s)"}}, {{"x=01"}, {"x=1"}}, {{}, {"+1(x)>x"}}, {{}, {"-1(-5)=-6"}},
      // order
      {{"b>a", "a>b"}, {}}, {{"x>0", "0>x"}, {}}, {{"b>c", "c>a", "a>b"}, {}}, {{}, {"1>0"}},
      // arrays, read over write, in two dimensions too
      {{"+(i,0)=j"}, {"a[i]=a[j]"}}, {{"m[i,j]>0"}, {"m[i,j]>-1"}},
      // quantifiers
      {{"$Ai:a[i]>0"}, {"a[k]>0"}}, {{"$Ax:x>0"}, {"$Ay:y>0"}}, {{"a[3]=7"}, {"$Ex:a[x]=7"}},
      // equality and unknown functions, predicates
      {{"x=f(x)", "+(x,0)=y"}, {"y=f(y)"}}, {{"p(x)", "y=+(x,0)"}, {"p(y)"}}, {{"$Ax:p(x)"}, {"p(+(y,1))"}},
      // nonlinear identities, the factorial on naturals
      {{}, {"+(m,*(m,i))=*(m,+(i,1))"}}, {{"n>-1"}, {"!(+(n,1))=*(+(n,1),!(n))"}},
      {{"n>-1"}, {"!(n)>0"}}, {{}, {"!(3)=6"}},
  };
  for (auto &r : rows) EXPECT_EQ(Fate(r.ante, r.succ), "open/proved") << &r - rows;
  // Read over write: a[[(i)->5]][i], written as the substitution makes it.
  ProverReset();
  Sequent *s = Append({}, {"a[i]=5", "x[i]=x[j]"});
  FormulaSubstSim(s->formulaList2->formula, ReadAssigns("$Oa[i]=5"));
  FormulaSubstSim(s->formulaList2->formulaList->formula, ReadAssigns("$Ox[i]=x[j],$Ox[j]=x[i]"));
  EXPECT_EQ(FText(s->formulaList2->formula), "a[[(i)->5]][i]=5");
  EXPECT_TRUE(SmtValid(s->formulaList2, nullptr) || SmtValid(nullptr, s->formulaList2));
}

// Applies the assignments (as one simultaneous substitution) to every formula.
static Sequent *Sub(Sequent *s, const char *assigns) {
  AssignListPtr a = ReadAssigns(assigns);
  FormulaListSubstSim(s->formulaList1, a), FormulaListSubstSim(s->formulaList2, a);
  return s;
}

static std::string Counterexample(Sequent *s) {
  Text t;
  TextInit(&t);
  int found = SmtCounterexample(s, &t);
  std::string r = found ? TextStr(&t) : "none";
  TextFree(&t);
  return r;
}

// A line of plain "name=value" entries put back into the sequent: the
// refuter then finds it false with nothing left to choose.
static bool FalseUnder(const Texts &ante, const Texts &succ, const std::string &line) {
  std::string assigns;
  for (size_t at = 0; at < line.size();) {
    size_t end = line.find(", ", at);
    std::string entry = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (entry.find_first_of("[(") != std::string::npos) return false;
    assigns += (assigns.empty() ? "$O" : "^$O") + entry;
    at = end == std::string::npos ? line.size() : end + 2;
  }
  Sequent *s = Seq(ante, succ);
  if (!assigns.empty()) Sub(s, assigns.c_str());
  char w[64];
  return RefuteSequent(s, w, sizeof w) && std::string(w) == "all values";
}

TEST(Smt, InvalidSequentsStayOpenWithCheckedCounterexamples) {
  SmtSetRlimit(0);
  // ante, succ, the counterexample's entries beyond plain names ("" for
  // none: the values are put back and checked)
  struct { Texts ante, succ; Texts extra; } rows[] = {
      {{"x>0"}, {"x>1"}, {}}, {{}, {"*(x,x)>x"}, {}}, {{}, {"$Ax:x>y"}, {}},
      {{"x=1"}, {"$Ax:x=1"}, {}},                      // the bound x is not the free one
      {{"x>y", "y>z"}, {"z>+(x,-2)"}, {}}, {{}, {"+(x,1)=+1(-1(x))"}, {}},
      {{"a=1"}, {"a[0]=1"}, {"a=1", "a[0]="}},        // a name in two roles: two symbols
      {{"f(x)=1"}, {"f(x,x)=1"}, {"f(", ",", " (chosen)"}},  // two arities
      {{"a[f(0)]=1"}, {"a[0]=1"}, {"a[0]=", "f(0)=", " (chosen)"}},
      {{"$Ai:a[i]>0"}, {"a[k]>1"}, {"a["}}, {{"p(x)"}, {"p(y)"}, {"p(", "=true (chosen)"}},
  };
  for (auto &r : rows) {
    SCOPED_TRACE(&r - rows);
    EXPECT_EQ(Fate(r.ante, r.succ), "open/open");
    EXPECT_EQ(SmtDecide(Seq(r.ante, r.succ)->formulaList1, Seq(r.ante, r.succ)->formulaList2),
              SMT_FALSIFIABLE);
    std::string line = Counterexample(Seq(r.ante, r.succ));
    if (r.extra.empty()) {
      EXPECT_TRUE(FalseUnder(r.ante, r.succ, line)) << line;
    }
    for (auto &e : r.extra) EXPECT_TRUE(Has(line, e)) << line;
  }
  // Stores: the first update list is the innermost (the earlier statement).
  Sequent *twice = Sub(Sub(Seq({}, {"a[k]=2", "a[k]=1"}), "$Oa[k]=2"), "$Oa[k]=1");
  EXPECT_EQ(SText(twice), "$T\n =>\n  a[[(k)->1][(k)->2]][k]=2,a[[(k)->1][(k)->2]][k]=1\n\n");
  EXPECT_TRUE(SmtValid(nullptr, twice->formulaList2));
  EXPECT_FALSE(SmtValid(nullptr, twice->formulaList2->formulaList));
  EXPECT_EQ(Counterexample(Sub(Sub(Seq({}, {"a[k]=1"}), "$Oa[k]=2"), "$Oa[k]=1")).substr(0, 2), "k=");
  // The factorial of a negative number is unknown: neither proved nor refuted.
  Texts ante = {"n>-2"}, succ = {"!(n)>0"};
  EXPECT_EQ(Fate(ante, succ), "open/open");
  EXPECT_NE(SmtDecide(Seq(ante, succ)->formulaList1, Seq(ante, succ)->formulaList2), SMT_VALID);
}

TEST(Smt, WhatCannotBeTranslatedIsLeftAlone) {
  SmtSetRlimit(0);
  FormulaPtr empty = FormulaAlloc();
  // One update list storing twice: where the places meet with different
  // values the array is unknown (no model is shown then); a swap never
  // meets so; the same term is the same array; under a quantifier the list is
  // not taken. Distinct numeral places cannot meet.
  Sequent *both = Sub(Seq({}, {"a[i]=1"}), "$Oa[i]=1^$Oa[j]=2");
  Sequent *swap = Sub(Sub(Seq({}, {"a[i]=c"}), "$Oa[i]=a[j]^$Oa[j]=a[i]"), "$Oc=a[j]");
  Sequent *same = Sub(Seq({"a[i]=c"}, {"a[i]=c"}), "$Oa[i]=1^$Oa[j]=2");
  Sequent *under = Sub(Seq({}, {"$Ak:a[k]=a[k]"}), "$Oa[i]=1^$Oa[j]=2");
  Sequent *places = Sub(Seq({}, {"a[0]=1"}), "$Oa[0]=1^$Oa[1]=2");
  Sequent *whole = Sub(Seq({}, {"a[0]=1"}), "$Oa=f(x)");   // an update of the whole array
  struct { Sequent *s; int answer; } rows[] = {
      {both, SMT_FALSIFIABLE}, {places, SMT_VALID}, {whole, SMT_UNKNOWN}, {swap, SMT_VALID},
      {same, SMT_VALID}, {under, SMT_UNKNOWN},
      // empty parts are neither true nor false
      {Seq({}, {"x=x"}), SMT_VALID}, {Seq({"x>0"}, {}), SMT_FALSIFIABLE},
      {Seq({}, {"x<=y"}), SMT_UNKNOWN},   // a read error left an empty name
      {Seq({}, {"$A1:1=1"}), SMT_UNKNOWN}, {Seq({}, {"f()=f()"}), SMT_UNKNOWN},
      // a bound name as an array, function or predicate is not the free one
      // (the substitution leaves all of them alone under the quantifier)
      {Seq({"a[1]=0"}, {"$Aa:a[1]=0"}), SMT_UNKNOWN}, {Seq({"p"}, {"$Ap:p"}), SMT_UNKNOWN},
      {Seq({"f(1)=0"}, {"$Af:f(1)=0"}), SMT_UNKNOWN}, {Seq({"p(1)"}, {"$Ep:p(1)"}), SMT_UNKNOWN},
  };
  Sequent *part = Seq({}, {"x=x"});
  part->formulaList2->formula = Node('|', F("x=x"), empty);
  Sequent *ante = Seq({"x>0"}, {});
  ante->formulaList1->formula = Node('^', F("x>0"), empty);
  for (auto &r : rows) EXPECT_EQ(SmtDecide(r.s->formulaList1, r.s->formulaList2), r.answer) << &r - rows;
  EXPECT_EQ(FText(both->formulaList2->formula), "a[[(i)->1,(j)->2]][i]=1");
  EXPECT_EQ(FText(swap->formulaList2->formula), "a[[(i)->a[j],(j)->a[i]]][i]=a[j]");
  EXPECT_EQ(SmtDecide(part->formulaList1, part->formulaList2), SMT_UNKNOWN);
  EXPECT_EQ(SmtDecide(ante->formulaList1, ante->formulaList2), SMT_UNKNOWN);
  EXPECT_EQ(Counterexample(both), "none");
  // An empty formula in a list, a null sequent, a proved one.
  EXPECT_EQ(SimplifySequentUseSmt(nullptr), 1);
  Sequent *hole = Seq({}, {"x=x"});
  hole->formulaList2->formula = empty;
  EXPECT_FALSE(SmtValid(nullptr, hole->formulaList2));
}

TEST(Smt, BudgetAnswersAreKeptAndTheContextCanBeClosed) {
  Texts ante = {"b>c", "c>a"}, succ = {"b>+(a,1)"};
  SmtSetRlimit(1);   // too small for anything
  EXPECT_EQ(SmtDecide(Seq(ante, succ)->formulaList1, Seq(ante, succ)->formulaList2), SMT_UNKNOWN);
  SmtSetRlimit(0);
  EXPECT_EQ(SmtRlimit(), SMT_RLIMIT_DEFAULT);
  SmtStatsReset();
  for (int i = 0; i < 3; i++) EXPECT_TRUE(SmtValid(Seq(ante, succ)->formulaList1, Seq(ante, succ)->formulaList2));
  EXPECT_EQ(SmtStatsGet().queries, 1);    // asked once; the same sequent is answered again
  EXPECT_EQ(SmtStatsGet().repeated, 2);
  // Kept answers belong to exactly one sequent: a role, an arity or a
  // name's length apart is another sequent.
  struct { Texts ante, succ; int valid; } rows[] = {
      {{"f(x)=1"}, {"f(x)=1"}, 1}, {{"f[x]=1"}, {"f(x)=1"}, 0}, {{"f(x,y)=1"}, {"f(xy)=1"}, 0},
      {{"f(xy)=1"}, {"f(xy)=1"}, 1}, {{"f(x)", "y"}, {"f(x)=y"}, 0}, {{"f(x)=y"}, {"f(x)=y"}, 1},
      // "|" is a connective too: where the antecedents end is part of the key
      {{}, {"x=1", "~(x=1)", "(y=1|y=2)"}, 1}, {{"(x=1|~(x=1))"}, {"y=1", "y=2"}, 0}};
  for (auto &r : rows)
    EXPECT_EQ(SmtValid(Seq(r.ante, r.succ)->formulaList1, Seq(r.ante, r.succ)->formulaList2), r.valid)
        << &r - rows;
  // A counterexample line is kept too, but only under the same budget.
  std::string line = Counterexample(Seq({"x>0"}, {"x>1"}));
  EXPECT_TRUE(FalseUnder({"x>0"}, {"x>1"}, line)) << line;
  EXPECT_EQ(Counterexample(Seq({"x>0"}, {"x>1"})), line);
  SmtSetRlimit(1);
  EXPECT_EQ(Counterexample(Seq({"x>0"}, {"x>1"})), "none");
  SmtSetRlimit(0);
  SmtClose();
  EXPECT_TRUE(SmtValid(Seq(ante, succ)->formulaList1, Seq(ante, succ)->formulaList2));
  // The pass marks the sequent proved and frees its formulas; counts it.
  SmtStatsReset();
  Sequent *s = Seq(ante, succ);
  SimplifySequentUseSmt(s);
  EXPECT_TRUE(s->proved && !s->formulaList1 && !s->formulaList2);
  EXPECT_EQ(SmtStatsGet().proved, 1);
  SmtClose();
}

TEST(Smt, AZ3ErrorIsRecordedNotFatal) {
  Z3_context c = SmtContext();
  ASSERT_NE(c, nullptr);
  SmtErrorClear();
  Z3_ast mixed[2] = {Z3_mk_int(c, 1, Z3_mk_int_sort(c)), Z3_mk_true(c)};
  Z3_mk_add(c, 2, mixed);   // a sort error: the default handler would end the process
  EXPECT_TRUE(SmtErrorSeen());
  SmtErrorClear();
  // the next query is answered as usual
  EXPECT_TRUE(SmtValid(nullptr, Seq({}, {"+(x,1)>x"})->formulaList2));
}

TEST(Smt, TheBackstopInterruptsALongCheck) {
  // Factoring a large number: far beyond a short backstop with an rlimit
  // that does not stop it first.
  Texts hard = {"*(x,y)=1000000016000000063", "x>1", "y>1"};
  SmtSetRlimit(4000000000u);
  SmtSetTimeout(200);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SmtDecide(Seq(hard, {})->formulaList1, nullptr), SMT_UNKNOWN);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  // The next query runs in a new context and is answered as usual.
  EXPECT_TRUE(SmtValid(nullptr, Seq({}, {"+(x,1)>x"})->formulaList2));
  EXPECT_TRUE(SmtValid(Seq({"$Ai:a[i]>0"}, {})->formulaList1, Seq({}, {"a[k]>0"})->formulaList2));
  SmtSetTimeout(0);
  SmtSetRlimit(0);
  EXPECT_EQ(SmtTimeout(), SMT_TIMEOUT_MS);
}
