// Deep copy, marked copy and deep free of terms.
#include "term.h"
#include "../core/pool.h"

#include <cstdlib>
#include <cstring>

TermListPtr TermCopyTermList(TermListPtr p) {
  TermListPtr head = nullptr, *tail = &head;
  for (; p; p = p->termList) {
    TermListPtr q = static_cast<TermListPtr>(PoolAlloc(sizeof(TermList)));
    q->term = TermCopy(p->term);
    *tail = q;
    tail = &q->termList;
  }
  return head;
}

ExpPairPtr TermCopyExpPair(ExpPairPtr p) {
  if (!p) return nullptr;
  ExpPairPtr q = static_cast<ExpPairPtr>(PoolAlloc(sizeof(ExpPair)));
  q->subList = TermCopyTermList(p->subList);
  q->exp = TermCopy(p->exp);
  return q;
}

ExpPairListPtr TermCopyExpPairList(ExpPairListPtr p) {
  ExpPairListPtr head = nullptr, *tail = &head;
  for (; p; p = p->expPairList) {
    ExpPairListPtr q = static_cast<ExpPairListPtr>(PoolAlloc(sizeof(ExpPairList)));
    q->expPair = TermCopyExpPair(p->expPair);
    *tail = q;
    tail = &q->expPairList;
  }
  return head;
}

ArraySubListPtr TermCopyArraySubList(ArraySubListPtr p) {
  ArraySubListPtr head = nullptr, *tail = &head;
  for (; p; p = p->arraySubList) {
    ArraySubListPtr q = static_cast<ArraySubListPtr>(PoolAlloc(sizeof(ArraySubList)));
    q->expPairList = TermCopyExpPairList(p->expPairList);
    *tail = q;
    tail = &q->arraySubList;
  }
  return head;
}

TermPtr TermCopy(TermPtr t) {
  if (!t) return nullptr;
  TermPtr c = TermAlloc();
  if (t->name == t->shortName) memcpy(c->shortName, t->shortName, sizeof c->shortName);
  else TermSetName(c, t->name);
  c->type = t->type;
  int base = t->type > 10 ? t->type - 10 : t->type;
  if (base == 1) {
    c->arraySubList = TermCopyArraySubList(t->arraySubList);
    c->termList = TermCopyTermList(t->termList);
  } else if (base == 3) {
    c->termList = TermCopyTermList(t->termList);
  }
  return c;
}

TermPtr TermCopy1(TermPtr t) {
  TermPtr c = TermCopy(t);
  if (c) c->type += 10;
  return c;
}

TermListPtr TermCopyTermList1(TermListPtr p) {
  TermListPtr head = nullptr, *tail = &head;
  for (; p; p = p->termList) {
    TermListPtr q = static_cast<TermListPtr>(PoolAlloc(sizeof(TermList)));
    q->term = TermCopy1(p->term);
    *tail = q;
    tail = &q->termList;
  }
  return head;
}

void TermFreeTermList(TermListPtr p) {
  while (p) {
    TermListPtr next = p->termList;
    TermFree(p->term);
    PoolFree(p, sizeof(TermList));
    p = next;
  }
}

void TermFreeExpPair(ExpPairPtr p) {
  if (!p) return;
  TermFreeTermList(p->subList);
  TermFree(p->exp);
  PoolFree(p, sizeof(ExpPair));
}

void TermFreeExpPairList(ExpPairListPtr p) {
  while (p) {
    ExpPairListPtr next = p->expPairList;
    TermFreeExpPair(p->expPair);
    PoolFree(p, sizeof(ExpPairList));
    p = next;
  }
}

void TermFreeArraySubList(ArraySubListPtr p) {
  while (p) {
    ArraySubListPtr next = p->arraySubList;
    TermFreeExpPairList(p->expPairList);
    PoolFree(p, sizeof(ArraySubList));
    p = next;
  }
}

void TermFree(TermPtr t) {
  if (!t) return;
  // Lists are owned by types 1 and 3 (marked or not); free whatever is there.
  TermFreeArraySubList(t->arraySubList);
  TermFreeTermList(t->termList);
  if (t->name && t->name != t->shortName) PoolFree(t->name, strlen(t->name) + 1);
  PoolFree(t, sizeof(Term));
}
