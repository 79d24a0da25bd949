// The post-condition of a procedure's own verification: egen equations are
// eliminated rather than dropped, so that the conjuncts tied to them still
// have to be shown.
#include "assump.h"

// The egen side of an equation @v=e (or e=@v) that can be eliminated: a plain
// name beginning with "@" whose other side does not mention it.
static TermPtr EgenEquationVar(FormulaPtr f, TermPtr *value) {
  TermPtr l = static_cast<TermPtr>(f->left), r = static_cast<TermPtr>(f->right);
  if (!l || !r) return nullptr;
  TermPtr v = nullptr, e = nullptr;
  if (r->type == 2 && r->name[0] == '@') { v = r; e = l; }
  else if (l->type == 2 && l->name[0] == '@') { v = l; e = r; }
  if (!v || TermMentionsName(e, v->name)) return nullptr;
  *value = e;
  return v;
}

// Marks a list node whose equation was eliminated (never a real formula).
static Formula eliminated;

static int isKept(FormulaPtr f, ProcedurePtr) { return f != &eliminated; }

FormulaPtr VerificationPostCond(ProcedurePtr proc) {
  if (FormulaSize(proc->postCond, FORMULA_NODE_LIMIT) > FORMULA_NODE_LIMIT) return GenTooLarge();
  FormulaPtr work = FormulaCopy(proc->postCond);
  FormulaListPtr list = Formula2FormulaList(work, '^');
  int tooLarge = 0;
  for (FormulaListPtr n = list; n && n->formula; n = n->formulaList) {
    FormulaPtr f = n->formula;
    if (isNotEgenVar(f, proc)) continue;
    TermPtr e = nullptr;
    TermPtr v = EgenEquationVar(f, &e);
    if (!v) continue;          // kept as it is: a demand over all values of @v
    Assign a = {v, e};
    AssignList sl = {&a, nullptr};
    int elsewhere = 0;
    for (FormulaListPtr m = list; m && m->formula; m = m->formulaList) {
      if (m == n || m->formula == &eliminated) continue;
      m->formula = GenSubst(m->formula, &sl, &tooLarge);
      if (tooLarge) break;
      if (FormulaMentionsName(m->formula, v->name)) elsewhere = 1;
    }
    if (tooLarge) break;
    if (!elsewhere) {
      n->formula = &eliminated;
      FormulaFree(f);
    }
  }
  if (tooLarge) {
    CleanPtrList(list);
    return GenTooLarge();
  }
  // Join what is left, without the eliminated equations.
  FormulaListPtr kept = FormulaListSelect(list, proc, isKept);
  FormulaPtr post = FormulaList2Formula(kept, '^');
  CleanPtrList(kept);
  CleanPtrList(list);
  return post ? post : FormulaMakeTrue();
}
