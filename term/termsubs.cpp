// Generic term traversal, simultaneous substitution with array update
// lists, and term equality.
#include "term.h"

#include <cstdlib>
#include <cstring>
#include "../core/pool.h"

TermPtr TermFunction(TermPtr t, AssignListPtr s, TermVisitor f) {
  if (!t) return nullptr;
  TermPtr r = f(t, s);
  if (r) return r;
  if (t->type == 1) {
    TermFunctionArraySubList(t->arraySubList, s, f);
    TermFunctionTermList(t->termList, s, f);
  } else if (t->type == 3) {
    TermFunctionTermList(t->termList, s, f);
  }
  return t;
}

void TermFunctionTermList(TermListPtr p, AssignListPtr s, TermVisitor f) {
  for (; p; p = p->termList) p->term = TermFunction(p->term, s, f);
}

void TermFunctionExpPair(ExpPairPtr p, AssignListPtr s, TermVisitor f) {
  if (!p) return;
  TermFunctionTermList(p->subList, s, f);
  p->exp = TermFunction(p->exp, s, f);
}

void TermFunctionExpPairList(ExpPairListPtr p, AssignListPtr s, TermVisitor f) {
  for (; p; p = p->expPairList) TermFunctionExpPair(p->expPair, s, f);
}

void TermFunctionArraySubList(ArraySubListPtr p, AssignListPtr s, TermVisitor f) {
  for (; p; p = p->arraySubList) TermFunctionExpPairList(p->expPairList, s, f);
}

// Appends one update pair for the assignment a to the pair list at *tail.
static ExpPairListPtr *PairAppend(ExpPairListPtr *tail, AssignPtr a) {
  ExpPairPtr e = static_cast<ExpPairPtr>(PoolAlloc(sizeof(ExpPair)));
  e->subList = a->termLeft->type == 1 ? TermCopyTermList1(a->termLeft->termList) : nullptr;
  e->exp = TermCopy1(a->termRight);
  ExpPairListPtr n = static_cast<ExpPairListPtr>(PoolAlloc(sizeof(ExpPairList)));
  n->expPair = e;
  *tail = n;
  return &n->expPairList;
}

static void UpdateListPush(TermPtr t, ExpPairListPtr pairs) {
  ArraySubListPtr n = static_cast<ArraySubListPtr>(PoolAlloc(sizeof(ArraySubList)));
  n->expPairList = pairs;
  n->arraySubList = t->arraySubList;
  t->arraySubList = n;
}

// The name of a term; a record filled by hand may still lack one.
static const char *NameOf(TermPtr t) { return t->name ? t->name : ""; }

static int isAssignable(TermPtr l) { return l && (l->type == 1 || l->type == 2); }

TermPtr TermSubstListf(TermPtr t, AssignListPtr sl) {
  if (t->type == 2) {
    // A plain name: replaced by the value of the first assignment to it.
    for (AssignListPtr p = sl; p; p = p->assignList)
      if (p->assign && VarEqual(p->assign->termLeft, t)) {
        TermPtr r = TermCopy1(p->assign->termRight);
        TermFree(t);
        return r;
      }
    // A plain array name whose elements are assigned stands for the whole
    // array: it becomes the array with the new update list (no subscripts),
    // so it never looks untouched.
    ExpPairListPtr pairs = nullptr, *tail = &pairs;
    for (AssignListPtr p = sl; p; p = p->assignList)
      if (p->assign && p->assign->termLeft && p->assign->termLeft->type == 1 &&
          strcmp(NameOf(p->assign->termLeft), NameOf(t)) == 0)
        tail = PairAppend(tail, p->assign);
    if (!pairs) return nullptr;
    t->type = 1;
    UpdateListPush(t, pairs);
    return t;
  }
  if (t->type != 1) return nullptr;
  ExpPairListPtr pairs = nullptr, *tail = &pairs;
  for (AssignListPtr p = sl; p; p = p->assignList) {
    AssignPtr a = p->assign;
    if (!a || !isAssignable(a->termLeft) || strcmp(NameOf(a->termLeft), NameOf(t)) != 0) continue;
    if (a->termLeft->type == 2 && a->termRight && a->termRight->type == 2) {
      // The whole array is assigned another array: rename it, and let the
      // traversal go on into the update lists and subscripts.
      TermFreeExpPairList(pairs);
      TermSetName(t, a->termRight->name);
      return nullptr;
    }
    tail = PairAppend(tail, a);
  }
  if (pairs) UpdateListPush(t, pairs);
  return nullptr;
}

TermPtr TermUnmarkf(TermPtr t, AssignListPtr) {
  if (t->type > 10) {
    t->type -= 10;
    return t;
  }
  return nullptr;
}

TermPtr TermSubstSim(TermPtr t, AssignListPtr sl) {
  t = TermFunction(t, sl, TermSubstListf);
  return TermFunction(t, sl, TermUnmarkf);
}

void TermMarkSubstTermList(AssignListPtr sl, int flag) {
  for (; sl; sl = sl->assignList)
    if (sl->assign && sl->assign->termRight) sl->assign->termRight->type += flag ? 10 : -10;
}

int VarEqual(TermPtr t1, TermPtr t2) {
  return t1 && t2 && t1->type == 2 && t2->type == 2 && strcmp(NameOf(t1), NameOf(t2)) == 0;
}

static int TermListEqual(TermListPtr p, TermListPtr q) {
  for (; p && q; p = p->termList, q = q->termList)
    if (!TermEqual(p->term, q->term)) return 0;
  return p == q;
}

static int ExpPairEqual(ExpPairPtr p, ExpPairPtr q) {
  if (p == q) return 1;
  if (!p || !q) return 0;
  return TermListEqual(p->subList, q->subList) && TermEqual(p->exp, q->exp);
}

static int ExpPairListEqual(ExpPairListPtr p, ExpPairListPtr q) {
  for (; p && q; p = p->expPairList, q = q->expPairList)
    if (!ExpPairEqual(p->expPair, q->expPair)) return 0;
  return p == q;
}

static int ArraySubListEqual(ArraySubListPtr p, ArraySubListPtr q) {
  for (; p && q; p = p->arraySubList, q = q->arraySubList)
    if (!ExpPairListEqual(p->expPairList, q->expPairList)) return 0;
  return p == q;
}

int TermEqual(TermPtr t1, TermPtr t2) {
  if (t1 == t2) return 1;
  if (!t1 || !t2) return 0;
  if (t1->type != t2->type) return 0;
  if (strcmp(NameOf(t1), NameOf(t2)) != 0) return 0;
  switch (t1->type) {
    case 2: return 1;
    case 3: return TermListEqual(t1->termList, t2->termList);
    case 1:
      return ArraySubListEqual(t1->arraySubList, t2->arraySubList) &&
             TermListEqual(t1->termList, t2->termList);
    default: return 0;
  }
}

long TermSize(TermPtr t, long limit) {
  if (!t) return 0;
  long n = 1;
  for (ArraySubListPtr a = t->arraySubList; a && n <= limit; a = a->arraySubList)
    for (ExpPairListPtr e = a->expPairList; e && n <= limit; e = e->expPairList)
      if (e->expPair) {
        for (TermListPtr p = e->expPair->subList; p && n <= limit; p = p->termList)
          n += TermSize(p->term, limit - n);
        if (n <= limit) n += TermSize(e->expPair->exp, limit - n);
      }
  for (TermListPtr p = t->termList; p && n <= limit; p = p->termList)
    n += TermSize(p->term, limit - n);
  return n;
}

static TermPtr TermListFind(TermListPtr p, TermTest test, Ptr ctx) {
  for (; p; p = p->termList) {
    TermPtr hit = TermFind(p->term, test, ctx);
    if (hit) return hit;
  }
  return nullptr;
}

TermPtr TermFind(TermPtr t, TermTest test, Ptr ctx) {
  if (!t) return nullptr;
  if (test(t, ctx)) return t;
  // Every list is searched whatever the type (marked or not), as TermSize
  // counts them: a search that misses a name could call an equation defining.
  for (ArraySubListPtr u = t->arraySubList; u; u = u->arraySubList)
    for (ExpPairListPtr e = u->expPairList; e; e = e->expPairList) {
      if (!e->expPair) continue;
      TermPtr hit = TermListFind(e->expPair->subList, test, ctx);
      if (!hit) hit = TermFind(e->expPair->exp, test, ctx);
      if (hit) return hit;
    }
  return TermListFind(t->termList, test, ctx);
}
