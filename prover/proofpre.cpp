// The premisses pass: opposite comparisons in the succedent become an
// equation, and equations of the antecedent are used as definitions.
#include <cstring>
#include "proof.h"

static int isDelimiter(char c) {
  return c == 0 || strchr(",:\n\t ()[]|^~=<>", c) != 0;
}

// Whole-word search of the printed x in the printed y (heap texts, any length).
int TermNotInFunc(TermPtr x, TermPtr y) {
  Text tx, ty;
  TextInit(&tx);
  TextInit(&ty);
  TermPrint(x, &tx);
  TermPrint(y, &ty);
  const char *a = TextStr(&tx), *b = TextStr(&ty);
  size_t n = strlen(a);
  int answer = 1;
  if (n > 0) {
    for (const char *m = strstr(b, a); m; m = strstr(m + 1, a)) {
      if ((m == b || isDelimiter(m[-1])) && isDelimiter(m[n])) {
        answer = 0;
        break;
      }
    }
  }
  TextFree(&tx);
  TextFree(&ty);
  return answer;
}

// Counts the plain names equal to `name` in t (what a substitution replaces).
static long TermCountName(TermPtr t, const char *name, long limit, int depth) {
  if (!t) return 0;
  if (depth > MAX_NEST_DEPTH) return limit + 1;
  long n = (t->type == 2 && strcmp(t->name, name) == 0) ? 1 : 0;
  for (TermListPtr p = t->termList; p && n <= limit; p = p->termList)
    n += TermCountName(p->term, name, limit - n, depth + 1);
  for (ArraySubListPtr a = t->arraySubList; a && n <= limit; a = a->arraySubList)
    for (ExpPairListPtr e = a->expPairList; e && n <= limit; e = e->expPairList) {
      if (!e->expPair) continue;
      for (TermListPtr p = e->expPair->subList; p && n <= limit; p = p->termList)
        n += TermCountName(p->term, name, limit - n, depth + 1);
      n += TermCountName(e->expPair->exp, name, limit - n, depth + 1);
    }
  return n;
}

// Occurrences of name in f; also 1 in *capture when a quantifier of f binds
// a variable that occurs in value (a substitution would capture it).
static long FormulaCountName(FormulaPtr f, const char *name, TermPtr value, long limit,
                             int *capture, int depth) {
  long n = 0;
  while (f && n <= limit) {
    if (depth > MAX_NEST_DEPTH) {
      *capture = 1;
      return n;
    }
    char c = f->connective;
    if (c == 'A') {
      if (!f->left || !isFreeVarTerm((TermPtr)f->left, value)) *capture = 1;
      f = (FormulaPtr)f->right;
    } else if (isFormulaClass(c)) {
      n += FormulaCountName((FormulaPtr)f->left, name, value, limit - n, capture, depth + 1);
      f = (FormulaPtr)f->right;
    } else if (isTermClass(c)) {
      n += TermCountName((TermPtr)f->left, name, limit - n, depth);
      n += TermCountName((TermPtr)f->right, name, limit - n, depth);
      return n;
    } else {
      return n;
    }
    depth++;
  }
  return n;
}

// Budget of one premisses pass over the list, in formula and term nodes
// measured and substituted: each definition rescans its whole sequent, so a
// sequent of many definitions costs their number times its size. It starts
// again with the pass at the head of the list.
static long premissWork;
static int premissRefused;   // the budget ran out (reported once per pass)

// 1 when substituting p (name := value) into the rest of s is safe and
// keeps s within its size bound.
static int isDefinitionUsable(SequentPtr s, FormulaPtr p) {
  if (premissWork > PREMISS_WORK_LIMIT) {
    ErrorMsg("too many definitions: some premisses stay unused");
    premissRefused = 1;
    return 0;
  }
  TermPtr x = (TermPtr)p->left, value = (TermPtr)p->right;
  long valueSize = TermSize(value, PREMISS_NODE_LIMIT);
  long size = 0, count = 0;
  int capture = 0;
  for (int side = 0; side < 2 && !capture; side++) {
    for (FormulaListPtr q = side ? s->formulaList2 : s->formulaList1; q; q = q->formulaList) {
      if (!q->formula) break;
      if (q->formula == p) continue;
      size += FormulaSize(q->formula, PREMISS_NODE_LIMIT);
      count += FormulaCountName(q->formula, x->name, value, PREMISS_NODE_LIMIT, &capture, 0);
      if (capture || size > PREMISS_NODE_LIMIT || count > PREMISS_NODE_LIMIT) {
        capture = 1;
        break;
      }
    }
  }
  premissWork += 2 * size;   // this measure and the substitution that may follow
  if (capture) return 0;
  if (count == 0) return 1;
  return size + count * (valueSize - 1) <= PREMISS_NODE_LIMIT;
}

// Phase A: a>b and b>a in the succedent become a=b in the antecedent
// (over a total order, ~(a>b) and ~(b>a) say a=b).
static void PremissesOpposite(SequentPtr s) {
  FormulaListPtr *link = &s->formulaList2;
  while (*link) {
    FormulaListPtr node = *link;
    FormulaPtr p = node->formula;
    if (p && p->connective == '>' && p->left && p->right) {
      Formula m;
      m.connective = '>';
      m.left = p->right;
      m.right = p->left;
      FormulaListPtr q = node;
      while (q && !FormulaEqual(&m, q->formula)) q = q->formulaList;
      if (q) {
        *link = node->formulaList;   // p itself leaves the succedent
        s->formulaList2 = SetRemove(&m, s->formulaList2);
        p->connective = '=';
        s->formulaList1 = SetAdd(p, s->formulaList1);
        continue;   // *link now holds the node after p
      }
    }
    link = &node->formulaList;
  }
}

// Phase B: each equation name=value of the antecedent, in order, is
// substituted into every other formula; it is dropped when the name does not
// occur in its value.
static void PremissesDefinitions(SequentPtr s) {
  for (FormulaListPtr q = s->formulaList1; q;) {
    FormulaListPtr next = q->formulaList;
    FormulaPtr p = q->formula;
    if (premissRefused) return;
    if (p && p->left && p->right && isAssign1(p) && isDefinitionUsable(s, p)) {
      Assign a;
      a.termLeft = (TermPtr)p->left;
      a.termRight = (TermPtr)p->right;
      AssignList sl;
      sl.assign = &a;
      sl.assignList = 0;
      s->formulaList1 = FormulaListSubstSim1(p, s->formulaList1, &sl);
      s->formulaList2 = FormulaListSubstSim(s->formulaList2, &sl);
      if (TermNotInFunc((TermPtr)p->left, (TermPtr)p->right))
        s->formulaList1 = SetRemoveIdentical(p, s->formulaList1);
    }
    q = next;
  }
}

int SimplifySequentUsePremisses(SequentPtr s) {
  if (!s) return 1;
  if (s == sequentList.sequent) {
    premissWork = 0;
    premissRefused = 0;
  }
  if (s->proved) return 1;
  PremissesOpposite(s);
  PremissesDefinitions(s);
  return 0;
}
