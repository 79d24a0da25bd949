// Sequents: the global list, appending copies, printing, the driver of the
// simplification passes and the compaction of proved sequents.
#include <cstdlib>
#include <cstring>
#include "proof.h"
#include "../core/core.h"
#include "../core/pool.h"

SequentList sequentList;
SequentListPtr sequentListPtr = &sequentList;
Sequent userAxiom;
SequentPtr userAxiomPtr = &userAxiom;

void SequentListClear() {
  sequentList.sequent = 0;
  sequentList.sequentList = 0;
  sequentListPtr = &sequentList;
}

SequentPtr NewSequent(SequentPtr s) {
  SequentPtr n = static_cast<SequentPtr>(PoolAlloc(sizeof(Sequent)));
  n->formulaList1 = FormulaListCopy(s->formulaList1);
  n->formulaList2 = FormulaListCopy(s->formulaList2);
  CopyBounded(n->remark, sizeof n->remark, s->remark);
  n->origin = s->origin;
  sequentListPtr->sequent = n;
  sequentListPtr->sequentList = static_cast<SequentListPtr>(PoolAlloc(sizeof(SequentList)));
  sequentListPtr = sequentListPtr->sequentList;
  return n;
}

void SequentPrintOne(SequentPtr s, Text *ss) {
  size_t before = ss->len;
  FormulaListPrint(s->formulaList1, ss);
  if (ss->len == before) TextAppend(ss, "$T");
  TextAppend(ss, "\n =>\n  ");
  before = ss->len;
  FormulaListPrint(s->formulaList2, ss);
  if (ss->len == before) TextAppend(ss, "$F");
  TextAppend(ss, "\n\n");
}

void SequentPrint(const char *note, Text *ss) {
  int all = !note || !note[0];
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList) {
    SequentPtr s = p->sequent;
    if (s->proved) continue;
    if (!all && strncmp(s->remark, note, sizeof s->remark) != 0) continue;
    SequentPrintOne(s, ss);
  }
}

void SimplifySequentAll() {
  SimplifySequentList(SimplifySequentUseRules);
  Log("Simplify", SequentListPrint);
  SimplifySequentList(SimplifySequentUseFunAxioms);
  Log("FunAxioms", SequentListPrint);
  SimplifySequentList(SimplifySequentUsePremisses);
  Log("Premisses", SequentListPrint);
  SimplifySequentList(SimplifySequentUseFunAxioms);
  Log("FunAxioms", SequentListPrint);
  SimplifySequentList(SimplifySequentUseAxioms);
  Log("RemoveEmpty", SequentListPrint);
}

const int PASS_NAME_MAX = 16;
static struct { SequentPass pass; const char *name; } passNames[PASS_NAME_MAX] = {
    {SimplifySequentUseRules, "rules"},           {SimplifySequentUseFunAxioms, "function axioms"},
    {SimplifySequentUsePremisses, "premisses"},   {SimplifySequentUseAxioms, "axiom test"},
    {SimplifySequentUseUserAxiom, "user axiom"}};

const char *SequentPassName(SequentPass f) {
  for (auto &n : passNames)
    if (n.pass == f) return n.name;
  return "unnamed pass";
}

void SequentPassNameSet(SequentPass f, const char *name) {
  for (auto &n : passNames)
    if (n.pass == f || !n.pass) {
      n.pass = f;
      n.name = name;
      return;
    }
}

// The walk reaches sequents that f appends, since they go behind the
// current node. Before compaction every sequent proved now (proved ones of
// earlier passes are gone) notes the pass, and so does its condition.
void SimplifySequentList(SequentPass f) {
  SequentListPtr p = &sequentList;
  for (;;) {
    f(p->sequent);
    if (!p->sequentList) break;
    p = p->sequentList;
  }
  const char *name = SequentPassName(f);
  for (p = &sequentList; p && p->sequent; p = p->sequentList)
    if (p->sequent->proved && !p->sequent->provedBy) {
      p->sequent->provedBy = name;
      if (p->sequent->origin) p->sequent->origin->provedBy = name;
    }
  PactSequentList(&sequentList);
}

// Removes proved sequents from p onwards, keeping p in place and the order
// of the rest. Iterative: split lists can be long. When the walk ends at the
// list's tail cursor, the cursor stays on the node that now ends the list.
SequentListPtr PactSequentList(SequentListPtr p) {
  if (!p || !p->sequent) return p;
  SequentListPtr last = 0;   // last node of the compacted chain
  SequentListPtr q = p;
  while (q->sequent && q->sequentList) {
    SequentListPtr next = q->sequentList;
    if (!q->sequent->proved) {
      if (!last) {
        p->sequent = q->sequent;
        last = p;
      } else {
        last->sequentList = q;
        last = q;
      }
    }
    q = next;
  }
  // q is the empty tail node
  if (!last) {
    p->sequent = 0;
    p->sequentList = 0;
    if (sequentListPtr == q) sequentListPtr = p;
  } else {
    last->sequentList = q;
  }
  return p;
}
