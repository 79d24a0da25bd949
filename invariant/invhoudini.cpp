// The filter of the invariant suggester (the Houdini method). Every loop of
// a procedure that lacks an invariant gets its candidates; a candidate
// stays while it holds on entry to its loop and is preserved by one run of
// the body under the conjunction of those left and the loop condition. The
// loops of one procedure are filtered together, inner loops first in every
// round, until a round drops nothing: then every conjunction left is
// inductive. What a statement requires is computed by the generator's own
// calculus (CalPreCond); each check is one query of the decision procedure,
// and a check not shown valid within its budget drops the candidate.
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include "invint.h"
#include "../core/pool.h"
#include "../smt/smt.h"
#include "../vcgen/assump.h"

namespace {

struct Loop {
  SentencePtr loop;
  SentencePtr body;
  Loop *enclosing;          // the nearest loop around it, or null
  int infer;                // 1: its invariant is being inferred
  FormulaPtr given;         // the invariant the user gave (infer 0)
  FormulaListPtr cand;      // candidates left (infer 1)
  int version;              // how often its candidates changed
  std::vector<int> entrySeen, preservedSeen;   // the versions its last checks saw
};

struct Run {
  ProcedurePtr proc;
  std::vector<Loop> loops;   // in the order of the text; reserved, so pointers stay
  std::unordered_map<SentencePtr, SentencePtr> parent;   // the reachable records
  std::unordered_map<SentencePtr, Loop *> loopOf;
  FormulaPtr truth;          // "$T": every loop body's post-condition meanwhile
  FormulaListPtr dropped;    // dropped candidates, freed at the end
  int failed;                // the body is no tree of records: infer nothing
  long queries;              // asked so far, at most INV_QUERY_LIMIT
};

// Records the reachable statements below s: their parents, and the loops
// in the order of the text (outer before inner, earlier before later).
void Walk(Run *r, SentencePtr s, SentencePtr parent, Loop *enclosing, int depth) {
  if (!s) return;
  if (depth > CAL_DEPTH_LIMIT || r->parent.count(s)) {
    r->failed = 1;
    return;
  }
  r->parent[s] = parent;
  if (s->type == 2 || s->type == 4) {
    SentencePtr first = SentenceFind(r->proc, s->labels1);
    SentencePtr second = SentenceFind(r->proc, s->labels2);
    if (first == s || second == s) r->failed = 1;
    else if (s->type == 2 && (!first || !second)) r->failed = 1;
    else {
      Walk(r, first, s, enclosing, depth + 1);
      Walk(r, second, s, enclosing, depth + 1);   // an empty case branch names no record
    }
  } else if (s->type == 3) {
    if (r->loops.size() >= static_cast<size_t>(INV_LOOP_LIMIT)) {
      r->failed = 1;
      return;
    }
    SentencePtr body = SentenceFind(r->proc, s->labels1);
    if (body == s) body = nullptr;
    Loop l = {s, body, enclosing, 0, body ? body->postCond : nullptr, nullptr, 0, {}, {}};
    l.infer = body && !l.given;
    r->loops.push_back(l);
    Loop *self = &r->loops.back();
    r->loopOf[s] = self;
    Walk(r, body, s, self, depth + 1);
  }
}

// A new list of the nodes: first (when set), then the formulas of rest.
FormulaListPtr ListWith(FormulaPtr first, FormulaListPtr rest) {
  FormulaListPtr head = nullptr, *tail = &head;
  auto add = [&](FormulaPtr f) {
    FormulaListPtr k = static_cast<FormulaListPtr>(PoolAlloc(sizeof(FormulaList)));
    k->formula = f;
    *tail = k;
    tail = &k->formulaList;
  };
  if (first) add(first);
  for (FormulaListPtr n = rest; n; n = n->formulaList) add(n->formula);
  return head;
}

// What is known at the head of loop l, with first beside it.
FormulaListPtr LoopHypotheses(Loop *l, FormulaPtr first) {
  if (l->infer) return ListWith(first, l->cand);
  FormulaList given = {l->given, nullptr};
  return ListWith(first, l->given ? &given : nullptr);
}

// Past the limit every check fails: the filter then drops every candidate,
// which is sound, and ends quickly.
int Valid(Run *r, FormulaListPtr hypotheses, FormulaPtr goal) {
  FormulaList g = {goal, nullptr};
  int ok = ++r->queries <= INV_QUERY_LIMIT && SmtValid(hypotheses, &g);
  CleanPtrList(hypotheses);
  return ok;
}

// The loops reached from s through sequences and cases only.
void TopLoops(Run *r, SentencePtr s, std::vector<Loop *> *out) {
  if (!s) return;
  if (s->type == 3) {
    auto l = r->loopOf.find(s);
    if (l != r->loopOf.end()) out->push_back(l->second);
  } else if (s->type == 2 || s->type == 4) {
    // Walk made these a tree.
    TopLoops(r, SentenceFind(r->proc, s->labels1), out);
    TopLoops(r, SentenceFind(r->proc, s->labels2), out);
  }
}

// What must hold before s for goal to hold after it, by the generator's
// calculus; null when that cannot be shown. A loop inside s stops the goal:
// its invariant is what it requires (its own entry check), and the goal
// must follow from the invariant and the exit condition (checked here).
FormulaPtr Goal(Run *r, SentencePtr s, FormulaPtr goal) {
  if (Sentence2Ptr(s->labels) != s) return nullptr;   // a pair naming two records
  s->postCond = goal;
  FormulaPtr p = CalPreCond(s->labels);
  std::vector<Loop *> loops;
  TopLoops(r, s, &loops);
  for (Loop *k : loops) {
    FormulaPtr exit = CombineCond(nullptr, '~', k->loop->cond);
    int ok = Valid(r, LoopHypotheses(k, exit), k->loop->postCond);
    exit->right = nullptr;
    FormulaFree(exit);
    if (!ok) return nullptr;
  }
  return p;
}

// c holds whenever control reaches loop l from outside its body: the goal
// goes back to the procedure's start or to the head of the loop around it.
int Entry(Run *r, Loop *l, FormulaPtr c) {
  FormulaPtr g = c;
  SentencePtr x = l->loop;
  for (int depth = 0; depth <= CAL_DEPTH_LIMIT; depth++) {
    SentencePtr p = r->parent[x];
    if (!p) {
      FormulaList pre = {r->proc->preCond, nullptr};
      return Valid(r, ListWith(nullptr, r->proc->preCond ? &pre : nullptr), g);
    }
    if (p->type == 2) {
      SentencePtr first = SentenceFind(r->proc, p->labels1);
      if (first != x && !(g = Goal(r, first, g))) return 0;
    } else if (p->type == 4) {
      SentencePtr b1 = SentenceFind(r->proc, p->labels1), b2 = SentenceFind(r->proc, p->labels2);
      if (x == b1 && x != b2) g = CombineCaseCond(g, r->truth, p->cond);
      else if (x == b2 && x != b1) g = CombineCaseCond(r->truth, g, p->cond);
    } else if (p->type == 3) {
      return Valid(r, LoopHypotheses(r->loopOf[p], p->cond), g);
    }
    x = p;
  }
  return 0;
}

// c is preserved by one run of l's body under the candidates left and the
// loop condition.
int Preserved(Run *r, Loop *l, FormulaPtr c) {
  FormulaPtr g = Goal(r, l->body, c);
  l->body->postCond = r->truth;
  return g && Valid(r, LoopHypotheses(l, l->loop->cond), g);
}

// Keeps the candidates of l that pass; says in *changed when one is dropped.
// Every test of the pass sees the same list; it is changed only afterwards.
template <class Test> void Filter(Run *r, Loop *l, Test test, int *changed) {
  std::vector<int> pass;
  for (FormulaListPtr n = l->cand; n; n = n->formulaList) pass.push_back(test(n->formula));
  FormulaListPtr keep = nullptr, *tail = &keep;
  size_t k = 0;
  for (FormulaListPtr n = l->cand, next; n; n = next, k++) {
    next = n->formulaList;
    n->formulaList = nullptr;
    if (pass[k]) {
      *tail = n;
      tail = &n->formulaList;
    } else {
      n->formulaList = r->dropped;
      r->dropped = n;
      *changed = 1;
    }
  }
  l->cand = keep;
}

// Drops the candidates that the others imply (the conjunction stays the same
// formula up to equivalence, so it stays inductive), the later first.
void Prune(Run *r, Loop *l) {
  std::vector<FormulaListPtr> nodes;
  for (FormulaListPtr n = l->cand; n; n = n->formulaList) nodes.push_back(n);
  for (size_t i = nodes.size(); i-- > 0;) {
    FormulaListPtr others = nullptr, *tail = &others;
    for (FormulaListPtr n = l->cand; n; n = n->formulaList) {
      if (n == nodes[i]) continue;
      *tail = ListWith(n->formula, nullptr);
      tail = &(*tail)->formulaList;
    }
    if (!Valid(r, others, nodes[i]->formula)) continue;
    FormulaListPtr *link = &l->cand;
    while (*link != nodes[i]) link = &(*link)->formulaList;
    *link = nodes[i]->formulaList;
    nodes[i]->formulaList = r->dropped;
    r->dropped = nodes[i];
  }
}

FormulaPtr Conjunction(FormulaListPtr l) {
  FormulaPtr f = nullptr;
  for (; l; l = l->formulaList)
    f = f ? CombineCond(f, '^', FormulaCopy(l->formula)) : FormulaCopy(l->formula);
  return f;
}

std::vector<int> Versions(Run *r) {
  std::vector<int> v;
  for (Loop &l : r->loops) v.push_back(l.version);
  return v;
}

// 1 when a loop other than the one at index changed since the versions seen.
int OtherChanged(const std::vector<int> &now, const std::vector<int> &seen, size_t index) {
  if (seen.size() != now.size()) return 1;
  for (size_t k = 0; k < now.size(); k++)
    if (k != index && now[k] != seen[k]) return 1;
  return 0;
}

// The conjunction of the candidates as one goal: when it passes, every
// candidate would (what a statement requires of a conjunction is the
// conjunction of what it requires of each part). Kept to the end of the run,
// since the calculus may have shared it.
int AllPass(Run *r, Loop *l, int entry) {
  FormulaPtr all = Conjunction(l->cand);
  if (!all) return 1;
  r->dropped = ListWith(all, r->dropped);
  return (!entry || Entry(r, l, all)) && Preserved(r, l, all);
}

void Houdini(Run *r) {
  for (Loop &l : r->loops) {
    if (!l.infer) continue;
    std::vector<SentencePtr> around;
    for (Loop *e = l.enclosing; e; e = e->enclosing) around.push_back(e->loop);
    l.cand = InvariantCandidates(r->proc, l.loop, around.data(), static_cast<int>(around.size()));
  }
  // Entry first, outer loops before inner ones: an inner loop's entry is
  // checked under what is left of the outer loop's candidates.
  for (Loop &l : r->loops) {
    if (!l.infer) continue;
    int dropped = 0;
    l.entrySeen = Versions(r);
    Filter(r, &l, [&](FormulaPtr c) { return Entry(r, &l, c); }, &dropped);
    l.version += dropped;
  }
  // Then preservation, inner loops first, until a round drops nothing. A
  // loop is checked again only when candidates it depends on changed: its
  // own and any loop's for preservation, another loop's for the entry.
  for (int again = 1; again;) {
    again = 0;
    for (size_t i = r->loops.size(); i-- > 0;) {
      Loop *l = &r->loops[i];
      std::vector<int> now = Versions(r);
      if (!l->infer || now == l->preservedSeen) continue;
      int entry = OtherChanged(now, l->entrySeen, i), dropped = 0;
      if (!AllPass(r, l, entry))
        Filter(r, l, [&](FormulaPtr c) { return (!entry || Entry(r, l, c)) && Preserved(r, l, c); },
               &dropped);
      if (entry) l->entrySeen = now;
      l->preservedSeen = now;
      l->version += dropped;
      again |= dropped;
    }
  }
  for (Loop &l : r->loops)
    if (l.infer) Prune(r, &l);
}

}  // namespace

FormulaPtr InvariantInfer(ProcedurePtr proc, int install, SentencePtr want) {
  if (!proc || proc->readError || !proc->body[0]) return nullptr;
  ProcedurePtr savedProcedure = currentProcedure;
  currentProcedure = proc;
  Run r;
  r.proc = proc;
  r.loops.reserve(INV_LOOP_LIMIT);
  r.dropped = nullptr;
  r.failed = 0;
  r.queries = 0;
  Walk(&r, SentenceFind(proc, proc->body), nullptr, nullptr, 0);
  int inferred = 0;
  for (Loop &l : r.loops) inferred += l.infer;
  if (r.failed || !inferred) {
    currentProcedure = savedProcedure;
    return nullptr;
  }
  // The calculus writes the conditions of the records; they are put back.
  std::vector<std::pair<FormulaPtr, FormulaPtr>> saved;
  for (SentenceListPtr n = proc->sentenceList; n && n->sentence; n = n->sentenceList)
    saved.push_back({n->sentence->preCond, n->sentence->postCond});
  AssumptionListPtr mark = AssumptionListMark();
  r.truth = FormulaMakeTrue();
  for (Loop &l : r.loops)
    if (l.body) l.body->postCond = r.truth;
  // The solver is started outside the hold, so that a failure to start is seen.
  FormulaList truth = {r.truth, nullptr};
  SmtValid(nullptr, &truth);
  char fresh[LABEL_SIZE];
  NewNameSave(fresh);
  ErrorMsgHold(1);
  Houdini(&r);
  ErrorMsgHold(0);
  NewNameRestore(fresh);   // the calculus's fresh names on trial are all dropped
  size_t k = 0;
  for (SentenceListPtr n = proc->sentenceList; n && n->sentence; n = n->sentenceList, k++) {
    n->sentence->preCond = saved[k].first;
    n->sentence->postCond = saved[k].second;
  }
  AssumptionListCut(mark);
  proc->readError = 0;
  FormulaPtr result = nullptr;
  for (Loop &l : r.loops) {
    if (!l.infer) continue;
    FormulaPtr conj = Conjunction(l.cand);
    // The tree that typing its text gives; offered only when it means the same.
    FormulaPtr inv = InvariantAsTyped(conj);
    if (inv && !(Valid(&r, ListWith(inv, nullptr), conj) &&
                 Valid(&r, ListWith(conj, nullptr), inv))) {
      FormulaFree(inv);
      inv = nullptr;
    }
    FormulaFree(conj);
    if (l.loop == want && inv) result = install ? FormulaCopy(inv) : inv;
    if (install) l.body->postCond = inv;
    else if (l.loop != want) FormulaFree(inv);
    InvariantListFree(l.cand);
  }
  InvariantListFree(r.dropped);
  // Formulas the calculus built on the way are not freed: records shared them.
  currentProcedure = savedProcedure;
  return result;
}
