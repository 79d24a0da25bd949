// The second half of a run: verification conditions, sequents, simplification.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>
#include "core.h"
#include "../program/sentence.h"
#include "../vcgen/assump.h"
#include "../prover/proof.h"
#include "../core/pool.h"
#include "../smt/smt.h"

void RunClear() {
  AssumptionListClear();
  ProcedureListClear();
  SequentListClear();
  MakeUserAxiom(nullptr);
  currentProcedure = nullptr;
  sp = nullptr;
  PoolRelease();
}

void StartProg0() {
  GenerateVerificationCond();
  Log("Pre-Post-Conditions", ProcedureListPrintDebug);
  Log("Verification Conditions", AssumptionListPrint);
  AssumptionList2SequentList();
  Log("Init Sequents", SequentListPrint);
  SimplifySequentAll();
  if (SmtIsOn()) {
    SequentPassNameSet(SimplifySequentUseSmt, "smt");
    SimplifySequentList(SimplifySequentUseSmt);
    Log("SMT", SequentListPrint);
  }
  Log("Last Sequents", SequentListPrint);
}

// The list is rebuilt from its head record; earlier sequents are dropped.
SequentList *AssumptionList2SequentList() {
  SequentListPtr node = &sequentList;
  node->sequent = 0;
  node->sequentList = 0;
  for (AssumptionListPtr a = &assumptionList; a; a = a->assumptionList) {
    AssumptionPtr as = a->assumption;
    if (!as) continue;
    FormulaPtr f1 = SimplifySequentUseRewrite(FormulaCopy(as->formula1));
    FormulaPtr f2 = SimplifySequentUseRewrite(FormulaCopy(as->formula2));
    SequentPtr s = static_cast<SequentPtr>(PoolAlloc(sizeof(Sequent)));
    s->formulaList1 = Formula2FormulaList(f1, '^');
    s->formulaList2 = Formula2FormulaList(f2, '|');
    CopyBounded(s->remark, sizeof s->remark, AssumptionProcName(as));
    s->origin = &as->origin;
    as->origin.provedBy = nullptr;
    // nothing to show: hypothesis and conclusion both none
    if (!as->formula1 && !as->formula2) s->proved = 1;
    node->sequent = s;
    node->sequentList = static_cast<SequentListPtr>(PoolAlloc(sizeof(SequentList)));
    node = node->sequentList;
  }
  sequentListPtr = node;
  return node;
}

// The sequents are grouped once by the procedure their remark names (the
// first of that name), in list order within a group, so the listing is
// linear in the number of sequents and procedures; a pair per sequent is
// all it takes.
void SequentListPrint(Text *ss) {
  typedef std::pair<ProcedurePtr, SequentPtr> Entry;
  std::vector<Entry> groups;
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList)
    if (!p->sequent->proved)
      if (ProcedurePtr named = Procedure2Ptr(p->sequent->remark)) groups.push_back({named, p->sequent});
  auto before = [](const Entry &a, const Entry &b) { return std::less<ProcedurePtr>()(a.first, b.first); };
  std::stable_sort(groups.begin(), groups.end(), before);
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList) {
    if (!p->procedure) continue;
    const char *name = p->procedure->name;
    TextAppend(ss, "...");
    TextAppend(ss, name);
    TextAppend(ss, "...\n\n");
    Entry key = {Procedure2Ptr(name), nullptr};
    auto g = std::equal_range(groups.begin(), groups.end(), key, before);
    if (key.first)
      for (auto e = g.first; e != g.second; ++e) SequentPrintOne(e->second, ss);
    TextAppend(ss, "\n");
    TextSpill(ss, 0);
  }
}
