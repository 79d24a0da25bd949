// Name searches of the invariant suggester: what a statement changes, and
// whether a formula mentions one of a set of names.
#include <cstdlib>
#include <cstring>
#include "invint.h"
#include "../vcgen/assump.h"

int InvHasName(const std::vector<std::string> &names, const char *name) {
  for (const std::string &n : names)
    if (n == name) return 1;
  return 0;
}

static void NameAdd(std::vector<std::string> *out, const char *name) {
  if (name && name[0] && !InvHasName(*out, name)) out->push_back(name);
}

// The formals of the callee named by a call record; bindings to its "%IOP"
// formals change the caller's variables. An unknown callee: every binding.
static int isOutputBinding(ProcedurePtr callee, TermPtr formal) {
  return !callee || isIop(formal, callee);
}

static void ChangedAdd(TermPtr t, std::vector<std::string> *out, std::vector<std::string> *plain) {
  if (!t || (t->type != 1 && t->type != 2)) return;
  NameAdd(out, t->name);
  if (plain && isPlainVariable(t)) NameAdd(plain, t->name);
}

static void ChangedWalk(ProcedurePtr proc, SentencePtr s, std::vector<std::string> *out,
                        std::vector<std::string> *plain, int depth) {
  if (!s || depth > CAL_DEPTH_LIMIT) return;
  switch (s->type) {
    case 1:
      for (AssignListPtr a = s->assignList; a && a->assign; a = a->assignList)
        ChangedAdd(a->assign->termLeft, out, plain);
      break;
    case 5: {
      ProcedurePtr callee = Procedure2Ptr(s->labels1);
      for (AssignListPtr a = s->assignList; a && a->assign; a = a->assignList) {
        TermPtr actual = a->assign->termRight;
        if (isOutputBinding(callee, a->assign->termLeft)) ChangedAdd(actual, out, plain);
      }
      break;
    }
    case 2:
    case 4: {
      SentencePtr p1 = SentenceFind(proc, s->labels1), p2 = SentenceFind(proc, s->labels2);
      if (p1 != s) ChangedWalk(proc, p1, out, plain, depth + 1);
      if (p2 != s) ChangedWalk(proc, p2, out, plain, depth + 1);
      break;
    }
    case 3: {
      SentencePtr b = SentenceFind(proc, s->labels1);
      if (b != s) ChangedWalk(proc, b, out, plain, depth + 1);
      break;
    }
    default: break;
  }
}

void InvChangedNames(ProcedurePtr proc, SentencePtr s, std::vector<std::string> *out,
                     std::vector<std::string> *plain) {
  ChangedWalk(proc, s, out, plain, 0);
}

static int isInNames(TermPtr t, Ptr names) {
  return InvHasName(*static_cast<const std::vector<std::string> *>(names), t->name);
}

int InvMentionsAny(FormulaPtr f, const std::vector<std::string> &names) {
  return FormulaTermFind(f, isInNames, const_cast<std::vector<std::string> *>(&names)) != nullptr;
}

