// Formula nodes: allocation, free, copy, combine, substitution, equality.
#include "formula.h"

#include <cstdlib>
#include <cstring>

FormulaPtr FormulaAlloc() {
  return static_cast<FormulaPtr>(calloc(1, sizeof(Formula)));
}

FormulaPtr FormulaMakeTrue() {
  FormulaPtr t = FormulaAlloc();
  t->connective = 'T';
  return t;
}

FormulaPtr FormulaMakeFalse() {
  FormulaPtr t = FormulaAlloc();
  t->connective = '~';
  t->right = FormulaMakeTrue();
  return t;
}

int isFormulaClass(char c) {
  return c == '|' || c == '^' || c == '~' || c == ':' || c == 'T';
}

int isTermClass(char c) {
  return c == '=' || c == '<' || c == '>' || c == '.';
}

// The right child is handled by the loop so that long right-grouped chains
// do not deepen the stack.
void FormulaFree(FormulaPtr t) {
  while (t) {
    FormulaPtr next = nullptr;
    if (t->connective == 'A') {
      TermFree(static_cast<TermPtr>(t->left));
      next = static_cast<FormulaPtr>(t->right);
    } else if (isFormulaClass(t->connective)) {
      FormulaFree(static_cast<FormulaPtr>(t->left));
      next = static_cast<FormulaPtr>(t->right);
    } else if (isTermClass(t->connective)) {
      TermFree(static_cast<TermPtr>(t->left));
      TermFree(static_cast<TermPtr>(t->right));
    }
    free(t);
    t = next;
  }
}

FormulaPtr FormulaCopy(FormulaPtr t) {
  FormulaPtr head = nullptr;
  Ptr *slot = reinterpret_cast<Ptr *>(&head);
  while (t) {
    FormulaPtr n = FormulaAlloc();
    n->connective = t->connective;
    *slot = n;
    FormulaPtr next = nullptr;
    if (t->connective == 'A') {
      n->left = TermCopy(static_cast<TermPtr>(t->left));
      next = static_cast<FormulaPtr>(t->right);
    } else if (isFormulaClass(t->connective)) {
      n->left = FormulaCopy(static_cast<FormulaPtr>(t->left));
      next = static_cast<FormulaPtr>(t->right);
    } else if (isTermClass(t->connective)) {
      n->left = TermCopy(static_cast<TermPtr>(t->left));
      n->right = TermCopy(static_cast<TermPtr>(t->right));
    }
    slot = &n->right;
    t = next;
  }
  return head;
}

void FormulaMove(FormulaPtr src, FormulaPtr dst) {
  if (!src || !dst) return;
  dst->connective = src->connective;
  dst->left = src->left;
  dst->right = src->right;
}

FormulaPtr CombineCond(FormulaPtr c1, char c, FormulaPtr c2) {
  FormulaPtr t = FormulaAlloc();
  t->connective = c;
  t->left = c1;
  t->right = c2;
  return t;
}

AssignListPtr AvoidBoundVarSelect(AssignListPtr p, TermPtr v) {
  AssignListPtr head = nullptr;
  AssignListPtr tail = nullptr;
  const char *bound = v ? v->name : "";
  for (; p; p = p->assignList) {
    AssignPtr a = p->assign;
    if (!a) continue;
    // Any left side named like the bound variable is bound here, a whole
    // variable as well as an element a[k] of an array a.
    if (a->termLeft && strcmp(a->termLeft->name, bound) == 0) continue;
    AssignListPtr n = static_cast<AssignListPtr>(calloc(1, sizeof(AssignList)));
    n->assign = a;
    if (tail) tail->assignList = n; else head = n;
    tail = n;
  }
  return head;
}

TermPtr FormulaTermFind(FormulaPtr t, TermTest test, Ptr ctx) {
  while (t) {
    char c = t->connective;
    TermPtr hit = nullptr;
    if (c == 'A') {
      hit = TermFind(static_cast<TermPtr>(t->left), test, ctx);
    } else if (isFormulaClass(c)) {
      hit = FormulaTermFind(static_cast<FormulaPtr>(t->left), test, ctx);
    } else if (isTermClass(c)) {
      hit = TermFind(static_cast<TermPtr>(t->left), test, ctx);
      return hit ? hit : TermFind(static_cast<TermPtr>(t->right), test, ctx);
    } else {
      return nullptr;
    }
    if (hit) return hit;
    t = static_cast<FormulaPtr>(t->right);
  }
  return nullptr;
}

static int isNamed(TermPtr t, Ptr name) { return strcmp(t->name, static_cast<char *>(name)) == 0; }

// 1 when substituting sl into the body of a quantifier over v would insert
// a term mentioning v where some assigned name occurs. The substitution
// inserts the value and, for an array element a[k], the subscripts k as the
// index of an update pair; any name in either, at any depth, can be captured.
static int isCapture(AssignListPtr sl, TermPtr v, FormulaPtr body) {
  if (!v || !v->name[0]) return 0;
  for (; sl; sl = sl->assignList) {
    AssignPtr a = sl->assign;
    if (!a || !a->termLeft || !a->termRight) continue;
    // The left side's own name differs from v (AvoidBoundVarSelect), so a
    // hit in it is one in its subscripts or update lists.
    int inserted =
        TermFind(a->termRight, isNamed, v->name) || TermFind(a->termLeft, isNamed, v->name);
    if (inserted && FormulaTermFind(body, isNamed, a->termLeft->name))
      return 1;
  }
  return 0;
}

// Gives the bound variable of q and its occurrences in the body a fresh name.
static void QuantifierRename(FormulaPtr q) {
  TermPtr v = static_cast<TermPtr>(q->left);
  char fresh[LABEL_SIZE + 32];
  NewName(fresh);
  TermPtr old = TermMakeName(v->name), to = TermMakeName(fresh);
  Assign a = {old, to};
  AssignList sl = {&a, nullptr};
  q->right = FormulaSubstSim(static_cast<FormulaPtr>(q->right), &sl);
  TermSetName(v, fresh);
  TermFree(old);
  TermFree(to);
}

FormulaPtr FormulaSubstSim(FormulaPtr t, AssignListPtr sl) {
  FormulaPtr first = t;
  while (t && sl) {
    if (t->connective == 'A') {
      TermPtr v = static_cast<TermPtr>(t->left);
      AssignListPtr reduced = AvoidBoundVarSelect(sl, v);
      if (isCapture(reduced, v, static_cast<FormulaPtr>(t->right)))
        QuantifierRename(t);
      t->right = FormulaSubstSim(static_cast<FormulaPtr>(t->right), reduced);
      CleanPtrList(reduced);
      break;
    }
    if (isFormulaClass(t->connective)) {
      t->left = FormulaSubstSim(static_cast<FormulaPtr>(t->left), sl);
      t = static_cast<FormulaPtr>(t->right);
      continue;
    }
    if (isTermClass(t->connective)) {
      if (t->left) t->left = TermSubstSim(static_cast<TermPtr>(t->left), sl);
      if (t->right) t->right = TermSubstSim(static_cast<TermPtr>(t->right), sl);
    }
    break;
  }
  return first;
}

int FormulaEqual(FormulaPtr p1, FormulaPtr p2) {
  while (p1 && p2) {
    if (p1->connective != p2->connective) return 0;
    char c = p1->connective;
    TermPtr l1 = static_cast<TermPtr>(p1->left), l2 = static_cast<TermPtr>(p2->left);
    TermPtr r1 = static_cast<TermPtr>(p1->right), r2 = static_cast<TermPtr>(p2->right);
    if (c == 'A') {
      if (!TermEqual(l1, l2)) return 0;
    } else if (isFormulaClass(c)) {
      if (!FormulaEqual(static_cast<FormulaPtr>(p1->left), static_cast<FormulaPtr>(p2->left)))
        return 0;
    } else if (c == '=') {
      // Sides alike or mirrored (equality of terms is transitive, so the
      // mirror needs no second look at the left sides).
      return (TermEqual(l1, l2) && TermEqual(r1, r2)) || (TermEqual(l1, r2) && TermEqual(r1, l2));
    } else if (c == '<' || c == '>' || c == '.') {
      return TermEqual(l1, l2) && TermEqual(r1, r2);
    } else {
      return 1;
    }
    p1 = static_cast<FormulaPtr>(p1->right);
    p2 = static_cast<FormulaPtr>(p2->right);
  }
  return p1 == p2;   // both ended
}

// Terms that print to the same text: same kind of printed form, same name,
// and lists of equal length whose elements print alike.
static int TermPrintEqual(TermPtr t1, TermPtr t2);

static int TermListPrintEqual(TermListPtr a, TermListPtr b) {
  while (a && b) {
    if (!TermPrintEqual(a->term, b->term)) return 0;
    a = a->termList;
    b = b->termList;
  }
  return !a && !b;
}

static int printKind(TermPtr t) {
  return t->type == 1 || t->type == 3 ? t->type : 2;
}

static int TermPrintEqual(TermPtr t1, TermPtr t2) {
  if (t1 == t2) return 1;
  if (!t1 || !t2) return 0;
  int k = printKind(t1);
  if (k != printKind(t2) || strcmp(t1->name, t2->name) != 0) return 0;
  if (k == 2) return 1;
  if (k == 1) {
    ArraySubListPtr u1 = t1->arraySubList, u2 = t2->arraySubList;
    while (u1 && u2) {
      ExpPairListPtr e1 = u1->expPairList, e2 = u2->expPairList;
      while (e1 && e2) {
        ExpPairPtr x1 = e1->expPair, x2 = e2->expPair;
        if (!x1 || !x2) {
          if (x1 != x2) return 0;
        } else if (!TermListPrintEqual(x1->subList, x2->subList) ||
                   !TermPrintEqual(x1->exp, x2->exp)) {
          return 0;
        }
        e1 = e1->expPairList;
        e2 = e2->expPairList;
      }
      if (e1 || e2) return 0;
      u1 = u1->arraySubList;
      u2 = u2->arraySubList;
    }
    if (u1 || u2) return 0;
  }
  return TermListPrintEqual(t1->termList, t2->termList);
}

// A formula that prints as the empty text.
static int isPrintEmpty(FormulaPtr p) {
  if (!p) return 1;
  char c = p->connective;
  return !(c == 'A' || isFormulaClass(c) || isTermClass(c));
}

int FormulaPrintEqual(FormulaPtr p1, FormulaPtr p2) {
  while (1) {
    if (p1 == p2) return 1;
    if (isPrintEmpty(p1) || isPrintEmpty(p2)) return isPrintEmpty(p1) && isPrintEmpty(p2);
    char c = p1->connective;
    if (c != p2->connective) return 0;
    if (c == 'A') {
      if (!TermPrintEqual(static_cast<TermPtr>(p1->left), static_cast<TermPtr>(p2->left)))
        return 0;
    } else if (c == 'T') {
      return 1;
    } else if (isFormulaClass(c)) {
      if (c != '~' &&
          !FormulaPrintEqual(static_cast<FormulaPtr>(p1->left), static_cast<FormulaPtr>(p2->left)))
        return 0;
    } else {
      if (c != '.' &&
          !TermPrintEqual(static_cast<TermPtr>(p1->left), static_cast<TermPtr>(p2->left)))
        return 0;
      return TermPrintEqual(static_cast<TermPtr>(p1->right), static_cast<TermPtr>(p2->right));
    }
    p1 = static_cast<FormulaPtr>(p1->right);
    p2 = static_cast<FormulaPtr>(p2->right);
  }
}

static void FormulaCount(FormulaPtr t, long limit, long *count) {
  while (t && *count <= limit) {
    (*count)++;
    char c = t->connective;
    if (c == 'A') {
      if (t->left) *count += TermSize(static_cast<TermPtr>(t->left), limit - *count);
    } else if (isFormulaClass(c)) {
      FormulaCount(static_cast<FormulaPtr>(t->left), limit, count);
    } else if (isTermClass(c)) {
      if (t->left) *count += TermSize(static_cast<TermPtr>(t->left), limit - *count);
      if (t->right && *count <= limit)
        *count += TermSize(static_cast<TermPtr>(t->right), limit - *count);
      return;
    } else {
      return;
    }
    t = static_cast<FormulaPtr>(t->right);
  }
}

long FormulaSize(FormulaPtr t, long limit) {
  long count = 0;
  FormulaCount(t, limit, &count);
  return count;
}
