// The decision procedure: per family, sequents the five passes leave and the
// solver proves; sequents that must stay open; the pass on the list.
#include "../prover/provertest.h"
#include "../../smt/smt.h"

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
