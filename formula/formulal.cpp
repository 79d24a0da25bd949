// Lists of formulas: split and join at a connective, copy, free, print,
// substitution and rewriting with the list's own equations.
#include "formula.h"

#include <cstdlib>
#include "../core/pool.h"

static FormulaListPtr FormulaListNode(FormulaPtr f) {
  FormulaListPtr n = static_cast<FormulaListPtr>(PoolAlloc(sizeof(FormulaList)));
  n->formula = f;
  return n;
}

void FormulaListFree(FormulaListPtr p) {
  while (p) {
    FormulaListPtr next = p->formulaList;
    FormulaFree(p->formula);
    PoolFree(p, sizeof(FormulaList));
    p = next;
  }
}

FormulaListPtr FormulaListCopy(FormulaListPtr p) {
  FormulaListPtr head = nullptr, tail = nullptr;
  for (; p; p = p->formulaList) {
    FormulaListPtr n = FormulaListNode(FormulaCopy(p->formula));
    if (tail) tail->formulaList = n; else head = n;
    tail = n;
  }
  return head;
}

FormulaListPtr FormulaListAppend(FormulaListPtr c1, FormulaListPtr c2) {
  if (!c1) return c2;
  FormulaListPtr p = c1;
  while (p->formulaList) p = p->formulaList;
  p->formulaList = c2;
  return c1;
}

// Appends the operands of the ch-chain p behind *tail, left to right.
static void FormulaSplitInto(FormulaPtr p, char ch, FormulaListPtr *head, FormulaListPtr *tail) {
  while (p && p->connective == ch) {
    FormulaSplitInto(static_cast<FormulaPtr>(p->left), ch, head, tail);
    p = static_cast<FormulaPtr>(p->right);
  }
  if (!p) return;
  FormulaListPtr n = FormulaListNode(p);
  if (*tail) (*tail)->formulaList = n; else *head = n;
  *tail = n;
}

FormulaListPtr Formula2FormulaList(FormulaPtr p, char ch) {
  FormulaListPtr head = nullptr, tail = nullptr;
  FormulaSplitInto(p, ch, &head, &tail);
  return head;
}

FormulaPtr FormulaList2Formula(FormulaListPtr a, char ch) {
  if (!a) return nullptr;
  FormulaPtr result = a->formula;
  for (a = a->formulaList; a; a = a->formulaList) result = CombineCond(result, ch, a->formula);
  return result;
}

AssignListPtr FormulaList2AssignList(FormulaListPtr p) {
  AssignListPtr head = nullptr, tail = nullptr;
  for (; p; p = p->formulaList) {
    FormulaPtr f = p->formula;
    if (!f || f->connective != '=') {
      // Only equations have two terms to share; anything else is skipped.
      ErrorMsg("FormulaList2Assign");
      continue;
    }
    AssignPtr a = static_cast<AssignPtr>(PoolAlloc(sizeof(Assign)));
    a->termLeft = static_cast<TermPtr>(f->left);
    a->termRight = static_cast<TermPtr>(f->right);
    AssignListPtr n = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
    n->assign = a;
    if (tail) tail->assignList = n; else head = n;
    tail = n;
  }
  return head;
}

FormulaListPtr FormulaListSubstSim1(FormulaPtr f, FormulaListPtr a, AssignListPtr s) {
  for (FormulaListPtr p = a; p && p->formula; p = p->formulaList)
    if (p->formula != f) p->formula = FormulaSubstSim(p->formula, s);
  return a;
}

// The walk ends at a null formula, so none is skipped.
FormulaListPtr FormulaListSubstSim(FormulaListPtr a, AssignListPtr s) {
  return FormulaListSubstSim1(nullptr, a, s);
}

static int isDigit(char c) { return c >= '0' && c <= '9'; }

// A plain name that may be replaced: type 2, not a numeral, not a string.
static int isReplaceable(TermPtr t) {
  return t->type == 2 && !isDigit(t->name[0]) && t->name[0] != '"';
}

static void SidesExchange(FormulaPtr p) {
  Ptr x = p->left;
  p->left = p->right;
  p->right = x;
}

int isAssign1(FormulaPtr p) {
  if (!p || p->connective != '=' || !p->left || !p->right) return 0;
  TermPtr l = static_cast<TermPtr>(p->left);
  TermPtr r = static_cast<TermPtr>(p->right);
  if (l->type == 2 && r->type == 2) {
    if (!isDigit(l->name[0])) return 1;
    if (isDigit(r->name[0])) return 0;
    SidesExchange(p);
    return 1;
  }
  if (isReplaceable(l)) return 1;
  if (isReplaceable(r)) {
    SidesExchange(p);
    return 1;
  }
  return 0;
}

FormulaListPtr FormulaListRewrite(FormulaListPtr a) {
  for (FormulaListPtr p = a; p && p->formula; p = p->formulaList) {
    FormulaPtr f = p->formula;
    if (!isAssign1(f)) continue;
    Assign rule = {static_cast<TermPtr>(f->left), static_cast<TermPtr>(f->right)};
    AssignList sl = {&rule, nullptr};
    FormulaListSubstSim1(f, a, &sl);
  }
  return a;
}

void FormulaListPrint(FormulaListPtr p, Text *ss) {
  for (FormulaListPtr q = p; q; q = q->formulaList) {
    if (q != p) TextAppendChar(ss, ',');
    FormulaPrint(q->formula, ss);
  }
}

// Any list of the shape {element, next}.
struct PtrList { Ptr element; PtrList *next; };

void CleanPtrList(Ptr p) {
  PtrList *q = static_cast<PtrList *>(p);
  while (q) {
    PtrList *next = q->next;
    PoolFree(q, sizeof(PtrList));
    q = next;
  }
}
