// Size bounds, name searches and guarded substitution for the generator.
#include "assump.h"
#include <cstdlib>
#include <cstring>
#include "../core/pool.h"

static long TermListBound(TermListPtr p, AssignListPtr sl, long limit);

// Upper bound of the size of t after substitution: every plain name that an
// assignment replaces counts as its value, and every array element gains one
// update pair per assignment to its name.
static long TermBound(TermPtr t, AssignListPtr sl, long limit) {
  if (!t) return 0;
  if (t->type == 2) {
    long n = 0;
    for (AssignListPtr p = sl; p && p->assign; p = p->assignList) {
      TermPtr l = p->assign->termLeft;
      if (!l || strcmp(l->name, t->name) != 0) continue;
      if (l->type == 2) return TermSize(p->assign->termRight, limit);
      n += 2 + TermSize(p->assign->termRight, limit) + TermListBound(l->termList, nullptr, limit);
      if (n > limit) return n;
    }
    return n + 1;
  }
  long n = 1;
  if (t->type == 1) {
    for (AssignListPtr p = sl; p && p->assign && n <= limit; p = p->assignList) {
      TermPtr l = p->assign->termLeft;
      if (!l || strcmp(l->name, t->name) != 0) continue;
      n += 2 + TermSize(p->assign->termRight, limit) + TermListBound(l->termList, nullptr, limit);
    }
    for (ArraySubListPtr a = t->arraySubList; a && n <= limit; a = a->arraySubList)
      for (ExpPairListPtr e = a->expPairList; e && n <= limit; e = e->expPairList)
        if (e->expPair) {
          n += 1 + TermListBound(e->expPair->subList, sl, limit - n);
          if (n <= limit) n += TermBound(e->expPair->exp, sl, limit - n);
        }
  }
  if (n <= limit) n += TermListBound(t->termList, sl, limit - n);
  return n;
}

static long TermListBound(TermListPtr p, AssignListPtr sl, long limit) {
  long n = 0;
  for (; p && n <= limit; p = p->termList) n += TermBound(p->term, sl, limit - n);
  return n;
}

static void FormulaBound(FormulaPtr t, AssignListPtr sl, long limit, long *count) {
  while (t && *count <= limit) {
    (*count)++;
    char c = t->connective;
    if (c == 'A') {
      *count += TermSize(static_cast<TermPtr>(t->left), limit);
    } else if (isFormulaClass(c)) {
      FormulaBound(static_cast<FormulaPtr>(t->left), sl, limit, count);
    } else if (isTermClass(c)) {
      *count += TermBound(static_cast<TermPtr>(t->left), sl, limit - *count);
      if (*count <= limit) *count += TermBound(static_cast<TermPtr>(t->right), sl, limit - *count);
      return;
    } else {
      return;
    }
    t = static_cast<FormulaPtr>(t->right);
  }
}

long FormulaSubstSizeBound(FormulaPtr f, AssignListPtr sl, long limit) {
  long count = 0;
  FormulaBound(f, sl, limit, &count);
  return count;
}

static int isNamed(TermPtr t, Ptr name) { return strcmp(t->name, static_cast<char *>(name)) == 0; }

int TermMentionsName(TermPtr t, const char *name) {
  return TermFind(t, isNamed, const_cast<char *>(name)) != nullptr;
}

int FormulaMentionsName(FormulaPtr f, const char *name) {
  return FormulaTermFind(f, isNamed, const_cast<char *>(name)) != nullptr;
}

// FormulaSubstSim of f by the assignments of sl, the size already checked.
static FormulaPtr GenSubstChecked(FormulaPtr f, AssignListPtr sl) {
  if (!f || !sl || !sl->assign) return f;
  int made = 0;
  AssignListPtr use = AssignListTrim(sl, &made);
  f = FormulaSubstSim(f, use);
  if (made) CleanPtrList(use);
  return f;
}

// Nodes made by the substitutions of the procedure being verified: each
// statement stores its own pre-condition, so a condition that grows at every
// statement costs the sum of its sizes in time and memory.
static long genWork;
static ProcedurePtr reported;   // the procedure told that its condition was cut

void GenWorkReset() {
  genWork = 0;
  reported = nullptr;
}

// 1 when substituting sl into f stays within the bound of one condition and
// the procedure's work budget; the work is counted.
static int isSubstAffordable(FormulaPtr f, AssignListPtr sl) {
  long size = FormulaSubstSizeBound(f, sl, FORMULA_NODE_LIMIT);
  genWork += size;
  return size <= FORMULA_NODE_LIMIT && genWork <= GEN_WORK_LIMIT;
}

FormulaPtr GenSubst(FormulaPtr f, AssignListPtr sl, int *tooLarge) {
  if (!f || !sl || !sl->assign) return f;
  if (!isSubstAffordable(f, sl)) {
    *tooLarge = 1;
    return f;
  }
  return GenSubstChecked(f, sl);
}

FormulaPtr GenSubstCopy(FormulaPtr f, AssignListPtr sl, int *tooLarge) {
  if (!isSubstAffordable(f, sl)) {
    *tooLarge = 1;
    return nullptr;
  }
  return GenSubstChecked(FormulaCopy(f), sl);
}

// 1 when every assignment of l (up to the first node without one) gives a
// plain name its own value, as "$Ox=x" does: substituting l changes nothing.
static int isIdentityList(AssignListPtr l) {
  for (; l && l->assign; l = l->assignList)
    if (!VarEqual(l->assign->termLeft, l->assign->termRight)) return 0;
  return 1;
}

FormulaPtr GenSubstShared(FormulaPtr f, AssignListPtr sl, int *tooLarge) {
  if (!isIdentityList(sl)) return GenSubstCopy(f, sl, tooLarge);
  if (!isSubstAffordable(f, sl)) {   // counted and bounded like any other
    *tooLarge = 1;
    return nullptr;
  }
  return f;
}

FormulaPtr GenTooLarge() {
  // Said once per procedure: its later statements are cut for the same reason.
  if (!currentProcedure || currentProcedure != reported) {
    ErrorMsgPrintf("%s: verification condition grew too large",
                   currentProcedure ? currentProcedure->name : "");
    if (!ErrorMsgIsHeld()) reported = currentProcedure;   // a held line was not seen
  }
  // A cut condition is unknown, not false: no counterexample is claimed.
  if (currentProcedure) currentProcedure->readError = 1;
  return FormulaMakeFalse();
}

AssignListPtr AssignListTrim(AssignListPtr l, int *made) {
  *made = 0;
  AssignListPtr p = l;
  while (p && p->assign) p = p->assignList;
  if (!p) return l;               // every node has an assignment
  if (!l || !l->assign) return nullptr;
  AssignListPtr head = nullptr, *tail = &head;
  for (p = l; p && p->assign; p = p->assignList) {
    AssignListPtr n = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
    n->assign = p->assign;
    *tail = n;
    tail = &n->assignList;
  }
  *made = 1;
  return head;
}

int isPlainVariable(TermPtr t) {
  if (!t || t->type != 2) return 0;
  char c = t->name[0];
  if (c == 0 || c == '"' || c == '#' || c == '@' || (c >= '0' && c <= '9')) return 0;
  if ((c == '-' || c == '+') && t->name[1] >= '0' && t->name[1] <= '9') return 0;
  return 1;
}
