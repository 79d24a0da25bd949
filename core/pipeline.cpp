// The second half of a run: verification conditions, sequents, simplification.
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
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
    CopyBounded(s->remark, sizeof s->remark, as->procName);
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

// The sequents are grouped by procedure name once, so the listing is linear
// in the number of sequents and procedures.
void SequentListPrint(Text *ss) {
  std::unordered_map<std::string, std::vector<SequentPtr>> groups;
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList)
    if (!p->sequent->proved)
      groups[std::string(p->sequent->remark, strnlen(p->sequent->remark, sizeof p->sequent->remark))]
          .push_back(p->sequent);
  for (ProcedureListPtr p = &procedureList; p && p->procedureList; p = p->procedureList) {
    if (!p->procedure) continue;
    const char *name = p->procedure->name;
    TextPrintf(ss, "...%s...\n\n", name);
    auto g = groups.find(std::string(name, strnlen(name, sizeof p->procedure->name)));
    if (g != groups.end())
      for (SequentPtr s : g->second) SequentPrintOne(s, ss);
    TextAppend(ss, "\n");
    TextSpill(ss, 0);
  }
}
