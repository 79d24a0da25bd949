// The axiom test and the decomposition rules of the sequent calculus.
#include <algorithm>

#include "proof.h"

static void SequentMarkProved(SequentPtr s) {
  FormulaListFree(s->formulaList1);
  FormulaListFree(s->formulaList2);
  s->formulaList1 = 0;
  s->formulaList2 = 0;
  s->proved = 1;
}

// Only a true succedent formula, one that is also in the antecedent, or a
// false antecedent formula proves a sequent; one that just loses all its
// formulas stays.
int SimplifySequentUseAxioms(SequentPtr s) {
  if (!s) return 1;
  if (s->proved) return 1;
  for (FormulaListPtr q = s->formulaList2; q;) {
    FormulaListPtr next = q->formulaList;
    FormulaPtr p = q->formula;
    if (p) {
      if (isTrue(p) || SetInclude(p, s->formulaList1)) {
        SequentMarkProved(s);
        return 1;
      }
      if (isFalse(p)) s->formulaList2 = SetRemoveIdentical(p, s->formulaList2);
    }
    q = next;
  }
  for (FormulaListPtr q = s->formulaList1; q;) {
    FormulaListPtr next = q->formulaList;
    FormulaPtr p = q->formula;
    if (p) {
      if (isFalse(p)) {
        SequentMarkProved(s);
        return 1;
      }
      if (isTrue(p)) s->formulaList1 = SetRemoveIdentical(p, s->formulaList1);
    }
    q = next;
  }
  return 0;
}

// A connective the rules take apart; a node with a missing child is an
// opaque atom.
static int isCompound(FormulaPtr p) {
  if (!p) return 0;
  switch (p->connective) {
    case '^': case '|': case ':': return p->left && p->right;
    case '~': return p->right != 0;
    default: return 0;
  }
}

static int isSplitting(FormulaPtr p, int antecedent) {
  if (p->connective == '|' || p->connective == ':') return antecedent;
  if (p->connective == '^') return !antecedent;
  return 0;
}

// Budget of one rules pass over the list; it starts again with the pass at
// the head of the list.
static long splitNodes;     // formula and term nodes copied by splits
static long splitsMade;     // sequents appended by splits
static int splitRefused;    // the budget ran out (reported once per pass)
static long splitsLimit = SEQUENT_LIMIT;
static long splitNodesLimit = SPLIT_NODE_LIMIT;

// The budget of a pass over the list as it stands when the pass begins.
static void SplitBudgetStart() {
  long n = 0;
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList) n++;
  splitNodes = 0;
  splitsMade = 0;
  splitRefused = 0;
  splitsLimit = std::max(SEQUENT_LIMIT, SPLITS_PER_SEQUENT * n);
  splitNodesLimit = std::max(SPLIT_NODE_LIMIT, SPLIT_NODES_PER_SEQUENT * n);
}

static long SequentSize(SequentPtr s) {
  long size = 0;
  for (FormulaListPtr q = s->formulaList1; q && size <= splitNodesLimit; q = q->formulaList)
    size += FormulaSize(q->formula, splitNodesLimit);
  for (FormulaListPtr q = s->formulaList2; q && size <= splitNodesLimit; q = q->formulaList)
    size += FormulaSize(q->formula, splitNodesLimit);
  return size;
}

// 1 when s may be copied for a split; otherwise the formula stays whole.
static int maySplit(SequentPtr s) {
  if (splitRefused) return 0;   // no more sizes to measure once the budget is gone
  if (splitsMade < splitsLimit) {
    long size = SequentSize(s);
    if (splitNodes + size <= splitNodesLimit) {
      splitNodes += size;
      splitsMade++;
      return 1;
    }
  }
  ErrorMsg("too many sequents: some conditions stay undecomposed");
  splitRefused = 1;
  return 0;
}

static void RuleAntecedent(SequentPtr s, FormulaPtr p) {
  FormulaPtr a = (FormulaPtr)p->left, b = (FormulaPtr)p->right;
  SequentPtr n;
  switch (p->connective) {
    case '^':
      s->formulaList1 = FormulaListAppend(Formula2FormulaList(p, '^'), s->formulaList1);
      break;
    case '|':
      n = NewSequent(s);
      n->formulaList1 = SetAdd(a, n->formulaList1);
      s->formulaList1 = SetAdd(b, s->formulaList1);
      break;
    case '~':
      s->formulaList2 = SetAdd(b, s->formulaList2);
      break;
    case ':':
      n = NewSequent(s);
      n->formulaList2 = SetAdd(a, n->formulaList2);
      s->formulaList1 = SetAdd(b, s->formulaList1);
      break;
  }
}

static void RuleSuccedent(SequentPtr s, FormulaPtr p) {
  FormulaPtr a = (FormulaPtr)p->left, b = (FormulaPtr)p->right;
  SequentPtr n;
  switch (p->connective) {
    case '^':
      n = NewSequent(s);
      n->formulaList2 = SetAdd(a, n->formulaList2);
      s->formulaList2 = SetAdd(b, s->formulaList2);
      break;
    case '|':
      s->formulaList2 = FormulaListAppend(Formula2FormulaList(p, '|'), s->formulaList2);
      break;
    case '~':
      s->formulaList1 = SetAdd(b, s->formulaList1);
      break;
    case ':':
      s->formulaList1 = SetAdd(a, s->formulaList1);
      s->formulaList2 = SetAdd(b, s->formulaList2);
      break;
  }
}

int SimplifySequentUseRules(SequentPtr s) {
  if (!s) return 1;
  if (s == sequentList.sequent) SplitBudgetStart();
  for (;;) {
    SimplifySequentUseAxioms(s);
    if (s->proved) return 1;
    int changed = 0;
    // formulas put in front during this sweep wait for the next one
    FormulaListPtr noted1 = s->formulaList1, noted2 = s->formulaList2;
    for (FormulaListPtr q = noted1; q;) {
      FormulaListPtr next = q->formulaList;
      FormulaPtr p = q->formula;
      if (isCompound(p) && (!isSplitting(p, 1) || maySplit(s))) {
        changed = 1;
        s->formulaList1 = SetRemoveIdentical(p, s->formulaList1);
        RuleAntecedent(s, p);
      }
      q = next;
    }
    for (FormulaListPtr q = noted2; q;) {
      FormulaListPtr next = q->formulaList;
      FormulaPtr p = q->formula;
      if (isCompound(p) && (!isSplitting(p, 0) || maySplit(s))) {
        changed = 1;
        s->formulaList2 = SetRemoveIdentical(p, s->formulaList2);
        RuleSuccedent(s, p);
      }
      q = next;
    }
    if (!changed) return 0;
  }
}
