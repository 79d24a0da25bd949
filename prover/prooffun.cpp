// Function axioms: a few arithmetic identities over the integers, applied to
// the terms of comparisons. Each identity applies only to applications of the
// operator at its exact arity; "0" and "1" are plain names.
#include <cstdlib>
#include <cstring>
#include "proof.h"

static int isOp(TermPtr t, const char *name, int arity) {
  if (!t || t->type != 3 || strcmp(t->name, name) != 0) return 0;
  int n = 0;
  for (TermListPtr p = t->termList; p; p = p->termList) {
    if (!p->term) return 0;
    n++;
  }
  return n == arity;
}

static int isName(TermPtr t, const char *name) {
  return t && t->type == 2 && strcmp(t->name, name) == 0;
}

// A numeral: a plain name of decimal digits only, so a number of at least 0.
static int isNumeral(TermPtr t) {
  if (!t || t->type != 2 || !t->name[0]) return 0;
  for (const char *c = t->name; *c; c++)
    if (*c < '0' || *c > '9') return 0;
  return 1;
}

static TermPtr Arg(TermPtr t, int i) {
  TermListPtr p = t->termList;
  while (i-- > 0) p = p->termList;
  return p->term;
}

static void MakeName(TermPtr t, const char *name) {
  t->type = 2;
  t->termList = 0;   // the arguments are dropped
  t->arraySubList = 0;
  TermSetName(t, name);
}

// The identities at the top of t, whose arguments are already rewritten.
// Each argument is rewritten once, so the work is linear in the term.
static TermPtr CommutativeTop(TermPtr t) {
  if (isOp(t, "+", 2) || isOp(t, "*", 2)) {
    TermListPtr a = t->termList, b = a->termList;
    if (strcmp(a->term->name, b->term->name) < 0) {
      TermPtr x = a->term;
      a->term = b->term;
      b->term = x;
    }
  }
  return t;
}

static TermPtr MinTop(TermPtr t) {
  if (isOp(t, "+", 2)) {
    TermPtr a = Arg(t, 0), b = Arg(t, 1);
    if (isOp(a, "-", 2) && TermEqual(b, Arg(a, 1))) return Arg(a, 0);   // (a-b)+b = a
  } else if (isOp(t, "-", 2)) {
    TermPtr a = Arg(t, 0), b = Arg(t, 1);
    if (TermEqual(a, b)) {
      MakeName(t, "0");   // a-a = 0
    } else if (isOp(a, "+", 2)) {
      if (TermEqual(b, Arg(a, 1))) return Arg(a, 0);   // (x+y)-y = x
      if (TermEqual(b, Arg(a, 0))) return Arg(a, 1);   // (x+y)-x = y
    }
  }
  return t;
}

static TermPtr Minus1Top(TermPtr t) {
  if (isOp(t, "-1", 1) && isOp(Arg(t, 0), "+1", 1)) return Arg(Arg(t, 0), 0);
  if (isOp(t, "+1", 1) && isOp(Arg(t, 0), "-1", 1)) return Arg(Arg(t, 0), 0);
  return t;
}

static TermPtr FacultyTop(TermPtr t, int depth) {
  if (!isOp(t, "!", 1)) return t;
  TermPtr a = Arg(t, 0);
  if (isOp(a, "+1", 1) && isNumeral(Arg(a, 0))) {
    // (m+1)! = (m+1)*m!, the factorial being the function on the natural
    // numbers: at m = -1 the identity would say 0! = 0, contradicting 0! = 1,
    // so it is used only where m is a numeral.
    TermPtr f = TermCopy(a);
    TermSetName(f, "!");
    TermListPtr second = (TermListPtr)calloc(1, sizeof(TermList));
    second->term = depth < MAX_NEST_DEPTH ? FacultyTop(f, depth + 1) : f;
    t->termList->termList = second;
    TermSetName(t, "*");
    return CommutativeTop(t);
  }
  if (isName(a, "0") || isName(a, "1")) MakeName(t, "1");
  return t;
}

static TermPtr RewriteTop(TermPtr t) {
  if (isOp(t, "!", 1)) return FacultyTop(t, 0);
  if (isOp(t, "*", 2)) return CommutativeTop(t);
  if (isOp(t, "+", 2)) return CommutativeTop(MinTop(t));
  if (isOp(t, "-", 2)) return MinTop(t);
  if (isOp(t, "+1", 1) || isOp(t, "-1", 1)) return Minus1Top(t);
  return t;
}

static void RewriteArgs(TermPtr t, int depth);

static TermPtr Rewrite(TermPtr t, int depth) {
  if (!t) return t;
  if (depth > MAX_NEST_DEPTH) return t;   // left as it is: rewriting is optional
  RewriteArgs(t, depth);
  return RewriteTop(t);
}

static void RewriteArgs(TermPtr t, int depth) {
  for (TermListPtr p = t->termList; p; p = p->termList) p->term = Rewrite(p->term, depth + 1);
}

TermPtr FunRewrite(TermPtr t) { return Rewrite(t, 0); }

TermPtr FunMin(TermPtr t) {
  if (!t) return t;
  RewriteArgs(t, 0);
  return MinTop(t);
}

TermPtr FunMinus1(TermPtr t) {
  if (!t) return t;
  RewriteArgs(t, 0);
  return Minus1Top(t);
}

TermPtr FunCommutative(TermPtr t) {
  if (!t) return t;
  if (isOp(t, "+", 2) || isOp(t, "*", 2)) RewriteArgs(t, 0);
  return CommutativeTop(t);
}

TermPtr FunFaculty(TermPtr t) {
  if (!t) return t;
  if (isOp(t, "!", 1)) RewriteArgs(t, 0);
  return FacultyTop(t, 0);
}

// 0 compared with a-b becomes a comparison of a and b (likewise a-b with 0).
FormulaPtr FunMinus(FormulaPtr c) {
  if (!c) return c;
  TermPtr l = (TermPtr)c->left, r = (TermPtr)c->right;
  if (isName(l, "0") && isOp(r, "-", 2)) {
    c->left = Arg(r, 0);
    c->right = Arg(r, 1);
    if (c->connective == '<') {
      c->connective = '>';
    } else if (c->connective == '>') {
      Ptr x = c->left;
      c->left = c->right;
      c->right = x;
    }
  } else if (isName(r, "0") && isOp(l, "-", 2)) {
    c->left = Arg(l, 0);
    c->right = Arg(l, 1);
  }
  return c;
}

static FormulaPtr ApplyFormula(FormulaPtr c, int depth) {
  if (!c || depth > MAX_NEST_DEPTH) return c;
  switch (c->connective) {
    case '^': case '|': case '~':
      c->left = ApplyFormula((FormulaPtr)c->left, depth + 1);
      c->right = ApplyFormula((FormulaPtr)c->right, depth + 1);
      return c;
    case '<': case '=': case '>':
      if (c->left) c->left = FunRewrite((TermPtr)c->left);
      if (c->right) c->right = FunRewrite((TermPtr)c->right);
      return FunMinus(c);
    default:
      return c;
  }
}

FormulaPtr ApplyFunctionAxiomsFormula(FormulaPtr c) { return ApplyFormula(c, 0); }

int SimplifySequentUseFunAxioms(SequentPtr s) {
  if (!s) return 1;
  for (FormulaListPtr q = s->formulaList1; q; q = q->formulaList) q->formula = ApplyFunctionAxiomsFormula(q->formula);
  for (FormulaListPtr q = s->formulaList2; q; q = q->formulaList) q->formula = ApplyFunctionAxiomsFormula(q->formula);
  return 0;
}
