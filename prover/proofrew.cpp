// The rewriter: propositional identities, double negation, vacuous
// quantifiers and comparisons of equal terms; and the occurrence tests.
#include <cstring>
#include "proof.h"

static void MakeTrue(FormulaPtr c) {
  c->connective = 'T';
  c->left = 0;
  c->right = 0;
}

static void MakeFalse(FormulaPtr c) {
  c->connective = '~';
  c->left = 0;
  c->right = FormulaMakeTrue();
}

FormulaPtr SimplifyEqual(FormulaPtr c) {
  if (c && c->left && c->right && TermEqual((TermPtr)c->left, (TermPtr)c->right)) MakeTrue(c);
  return c;
}

FormulaPtr SimplifyGreater(FormulaPtr c) {
  if (c && c->left && c->right && TermEqual((TermPtr)c->left, (TermPtr)c->right)) MakeFalse(c);
  return c;
}

FormulaPtr SimplifyLess(FormulaPtr c) {
  if (!c) return c;
  Ptr x = c->left;
  c->left = c->right;
  c->right = x;
  c->connective = '>';
  return SimplifyGreater(c);
}

// 1 when a is a negation whose operand prints exactly like b: the text of a
// is "~" followed by the text of b.
static int isNegationOf(FormulaPtr a, FormulaPtr b) {
  return a && a->connective == '~' && !a->left && a->right &&
         FormulaPrintEqual((FormulaPtr)a->right, b);
}

static FormulaPtr RewriteAnd(FormulaPtr c) {
  FormulaPtr l = (FormulaPtr)c->left, r = (FormulaPtr)c->right;
  if (isTrue(l)) return r;
  if (isFalse(l)) return l;
  if (isTrue(r)) return l;
  if (isFalse(r)) return r;
  if (FormulaPrintEqual(l, r)) return l;
  if (isNegationOf(l, r) || isNegationOf(r, l)) {
    // c becomes ~T, its right child node turned into the T
    MakeTrue(r);
    c->connective = '~';
    c->left = 0;
    return c;
  }
  return c;
}

static FormulaPtr RewriteOr(FormulaPtr c) {
  FormulaPtr l = (FormulaPtr)c->left, r = (FormulaPtr)c->right;
  if (isTrue(l)) return l;
  if (isFalse(l)) return r;
  if (isTrue(r)) return r;
  if (isFalse(r)) return l;
  if (FormulaPrintEqual(l, r)) return l;
  if (isNegationOf(l, r) || isNegationOf(r, l)) {
    MakeTrue(c);
    return c;
  }
  return c;
}

// No test of the conclusion's text beginning with "T": x=1->Tz=2 is not valid.
static FormulaPtr RewriteImplies(FormulaPtr c) {
  FormulaPtr a = (FormulaPtr)c->left, b = (FormulaPtr)c->right;
  if (isTrue(a)) return b;
  if (isFalse(a)) return (FormulaPtr)a->right;
  if (isTrue(b)) return b;
  if (isFalse(b)) {
    c->connective = '~';
    c->left = 0;
    c->right = a;
    return c;
  }
  if (FormulaPrintEqual(a, b)) {
    MakeTrue(c);
    return c;
  }
  if (isNegationOf(a, b)) return b;   // ~B->B is B
  if (isNegationOf(b, a)) return b;   // A->~A is ~A
  return c;
}

static FormulaPtr Rewrite(FormulaPtr c, int depth) {
  if (!c) return c;
  if (depth > MAX_NEST_DEPTH) return c;   // deeper parts stay as they are
  switch (c->connective) {
    case '~': {
      if (!c->right) return c;
      FormulaPtr a = Rewrite((FormulaPtr)c->right, depth + 1);
      c->right = a;
      if (a->connective == '~' && !a->left && a->right) return (FormulaPtr)a->right;
      return c;
    }
    case 'A':
      if (!c->right) return c;
      c->right = Rewrite((FormulaPtr)c->right, depth + 1);
      if (c->left && isFreeVarFormula((TermPtr)c->left, (FormulaPtr)c->right))
        return (FormulaPtr)c->right;
      return c;
    case '^': case '|': case ':':
      if (c->left) c->left = Rewrite((FormulaPtr)c->left, depth + 1);
      if (c->right) c->right = Rewrite((FormulaPtr)c->right, depth + 1);
      if (!c->left || !c->right) return c;   // a missing child: an opaque atom
      if (c->connective == '^') return RewriteAnd(c);
      if (c->connective == '|') return RewriteOr(c);
      return RewriteImplies(c);
    case '=':
      return SimplifyEqual(c);
    case '<':
      if (!c->left || !c->right) return c;
      return SimplifyLess(c);
    case '>':
      return SimplifyGreater(c);
    default:
      return c;
  }
}

FormulaPtr SimplifySequentUseRewrite(FormulaPtr c) { return Rewrite(c, 0); }

// Occurrence tests: 1 when x does not occur. Array names, and function names
// too, count as occurrences; so does anything past the nesting bound.
static int FreeInTerm(TermPtr x, TermPtr t, int depth);

static int FreeInTermList(TermPtr x, TermListPtr p, int depth) {
  for (; p; p = p->termList)
    if (!FreeInTerm(x, p->term, depth)) return 0;
  return 1;
}

static int FreeInExpPair(TermPtr x, ExpPairPtr p, int depth) {
  if (!p) return 1;
  return FreeInTermList(x, p->subList, depth) && FreeInTerm(x, p->exp, depth);
}

static int FreeInExpPairList(TermPtr x, ExpPairListPtr p, int depth) {
  for (; p; p = p->expPairList)
    if (!FreeInExpPair(x, p->expPair, depth)) return 0;
  return 1;
}

static int FreeInArraySubList(TermPtr x, ArraySubListPtr p, int depth) {
  for (; p; p = p->arraySubList)
    if (!FreeInExpPairList(x, p->expPairList, depth)) return 0;
  return 1;
}

static int FreeInTerm(TermPtr x, TermPtr t, int depth) {
  if (!t) return 1;
  if (!x || depth > MAX_NEST_DEPTH) return 0;
  if (t->type == 2) return !TermEqual(t, x);
  if (strcmp(t->name, x->name) == 0) return 0;
  return FreeInArraySubList(x, t->arraySubList, depth + 1) &&
         FreeInTermList(x, t->termList, depth + 1);
}

int isFreeVarTerm(TermPtr x, TermPtr t) { return FreeInTerm(x, t, 0); }
int isFreeVarTermTermList(TermPtr x, TermListPtr p) { return FreeInTermList(x, p, 0); }
int isFreeVarTermArraySubList(TermPtr x, ArraySubListPtr p) { return FreeInArraySubList(x, p, 0); }
int isFreeVarTermExpPairList(TermPtr x, ExpPairListPtr p) { return FreeInExpPairList(x, p, 0); }
int isFreeVarTermExpPair(TermPtr x, ExpPairPtr p) { return FreeInExpPair(x, p, 0); }

static int FreeInFormula(TermPtr x, FormulaPtr t, int depth) {
  if (!t) return 1;
  if (depth > MAX_NEST_DEPTH) return 0;
  switch (t->connective) {
    case 'A':
      if (!t->left || TermEqual((TermPtr)t->left, x)) return 0;
      return FreeInFormula(x, (FormulaPtr)t->right, depth + 1);
    case '|': case '^': case '~': case ':': case 'T':
      return FreeInFormula(x, (FormulaPtr)t->left, depth + 1) &&
             FreeInFormula(x, (FormulaPtr)t->right, depth + 1);
    case '=': case '<': case '>': case '.':
      return FreeInTerm(x, (TermPtr)t->left, depth + 1) &&
             FreeInTerm(x, (TermPtr)t->right, depth + 1);
    default:
      return 0;
  }
}

int isFreeVarFormula(TermPtr x, FormulaPtr t) { return FreeInFormula(x, t, 0); }
