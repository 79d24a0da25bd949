// Formula lists used as sets: membership by FormulaEqual, order kept.
#include <cstdlib>
#include "proof.h"
#include "../core/pool.h"

int SetInclude(FormulaPtr e, FormulaListPtr s) {
  for (; s; s = s->formulaList)
    if (FormulaEqual(e, s->formula)) return 1;
  return 0;
}

FormulaListPtr SetRemove(FormulaPtr e, FormulaListPtr s) {
  FormulaListPtr prev = 0;
  for (FormulaListPtr q = s; q; prev = q, q = q->formulaList) {
    if (!FormulaEqual(e, q->formula)) continue;
    if (!prev) return q->formulaList;
    prev->formulaList = q->formulaList;
    return s;
  }
  return s;
}

FormulaListPtr SetRemoveIdentical(FormulaPtr e, FormulaListPtr s) {
  FormulaListPtr prev = 0;
  for (FormulaListPtr q = s; q; prev = q, q = q->formulaList) {
    if (q->formula != e) continue;
    if (!prev) return q->formulaList;
    prev->formulaList = q->formulaList;
    return s;
  }
  return s;
}

FormulaListPtr SetAdd(FormulaPtr e, FormulaListPtr s) {
  FormulaListPtr n = static_cast<FormulaListPtr>(PoolAlloc(sizeof(FormulaList)));
  n->formula = e;
  n->formulaList = s;
  return n;
}

int SetSetInclude(FormulaListPtr p, FormulaListPtr s) {
  for (; p; p = p->formulaList)
    if (!SetInclude(p->formula, s)) return 0;
  return 1;
}
