// Candidate invariants of one loop, made from the program text: the
// post-condition with the exit conditions put in, the loop condition, the
// pre-condition's facts about what the loop leaves alone, and comparisons
// between the loop's variables, numerals and sums or differences of two.
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include "invint.h"
#include "../core/pool.h"
#include "../vcgen/assump.h"

namespace {

// The candidates so far, without two that print alike, at most
// INV_CANDIDATE_LIMIT of them.
struct CandSet {
  FormulaListPtr head = nullptr;
  FormulaListPtr *tail = &head;
  int count = 0;
  std::unordered_set<std::string> seen;
};

void CandAdd(CandSet *c, FormulaPtr f) {
  if (!f) return;
  Text t;
  TextInit(&t);
  FormulaPrint(f, &t);
  std::string key = TextStr(&t);
  TextFree(&t);
  if (c->count >= INV_CANDIDATE_LIMIT || key.empty() || key == "$T" ||
      !c->seen.insert(key).second) {
    FormulaFree(f);
    return;
  }
  FormulaListPtr n = static_cast<FormulaListPtr>(PoolAlloc(sizeof(FormulaList)));
  n->formula = f;
  *c->tail = n;
  c->tail = &n->formulaList;
  c->count++;
}

int isNumeral(const char *s) {
  if (s[0] == '-') s++;
  return s[0] >= '0' && s[0] <= '9';
}

typedef std::vector<std::string> Names;

void TermNames(TermPtr t, Names *vars, Names *nums, int depth) {
  if (!t || depth > MAX_NEST_DEPTH) return;
  if (t->type == 2) {
    std::vector<std::string> *to = isNumeral(t->name) ? nums : isPlainVariable(t) ? vars : nullptr;
    if (to && !InvHasName(*to, t->name)) to->push_back(t->name);
  }
  for (ArraySubListPtr a = t->arraySubList; a; a = a->arraySubList)
    for (ExpPairListPtr e = a->expPairList; e; e = e->expPairList)
      if (e->expPair) {
        for (TermListPtr l = e->expPair->subList; l; l = l->termList)
          TermNames(l->term, vars, nums, depth + 1);
        TermNames(e->expPair->exp, vars, nums, depth + 1);
      }
  for (TermListPtr l = t->termList; l; l = l->termList) TermNames(l->term, vars, nums, depth + 1);
}

// Names outside quantifiers (a bound variable is no variable of the loop).
void FormulaNames(FormulaPtr f, Names *vars, Names *nums, int depth) {
  for (; f && depth <= MAX_NEST_DEPTH; f = static_cast<FormulaPtr>(f->right), depth++) {
    char c = f->connective;
    if (c == 'A') return;
    if (isTermClass(c)) {
      TermNames(static_cast<TermPtr>(f->left), vars, nums, 0);
      TermNames(static_cast<TermPtr>(f->right), vars, nums, 0);
      return;
    }
    if (!isFormulaClass(c)) return;
    FormulaNames(static_cast<FormulaPtr>(f->left), vars, nums, depth + 1);
  }
}

void StatementNames(SentencePtr s, Names *vars, Names *nums) {
  FormulaNames(s->cond, vars, nums, 0);
  for (AssignListPtr a = s->assignList; a && a->assign; a = a->assignList) {
    TermNames(a->assign->termLeft, vars, nums, 0);
    TermNames(a->assign->termRight, vars, nums, 0);
  }
}

FormulaPtr Relation(char c, TermPtr a, TermPtr b) {
  FormulaPtr f = FormulaAlloc();
  f->connective = c;
  f->left = TermCopy(a);
  f->right = TermCopy(b);
  return f;
}

// x = t, ~(x = t), x < t, x > t, x <= t and x >= t (the last two written as
// the user would, x<t|x=t).
void Comparisons(CandSet *c, TermPtr x, TermPtr t) {
  CandAdd(c, Relation('=', x, t));
  CandAdd(c, Relation('<', x, t));
  CandAdd(c, Relation('>', x, t));
  CandAdd(c, CombineCond(Relation('<', x, t), '|', Relation('=', x, t)));
  CandAdd(c, CombineCond(Relation('>', x, t), '|', Relation('=', x, t)));
  CandAdd(c, CombineCond(nullptr, '~', Relation('=', x, t)));
}

TermPtr Apply2(const char *op, TermPtr a, TermPtr b) {
  TermPtr t = TermMakeName(op);
  t->type = 3;
  TermListPtr l1 = static_cast<TermListPtr>(PoolAlloc(sizeof(TermList)));
  TermListPtr l2 = static_cast<TermListPtr>(PoolAlloc(sizeof(TermList)));
  l1->term = TermCopy(a);
  l2->term = TermCopy(b);
  l1->termList = l2;
  t->termList = l1;
  return t;
}

// The plain-name substitutions that a loop's exit gives: for a relation of
// its condition between a variable the loop changes and a name it does not,
// that name by the variable (n by i when the loop runs while ~(i=n)).
void ExitSubsts(ProcedurePtr proc, SentencePtr loop, std::vector<AssignPtr> *out) {
  std::vector<std::string> changed;
  InvChangedNames(proc, loop, &changed);
  std::vector<FormulaPtr> todo = {loop->cond};
  while (!todo.empty() && out->size() < 3) {
    FormulaPtr f = todo.back();
    todo.pop_back();
    if (!f) continue;
    char c = f->connective;
    if (c == '~' || c == '^' || c == '|') {
      if (c != '~') todo.push_back(static_cast<FormulaPtr>(f->left));
      todo.push_back(static_cast<FormulaPtr>(f->right));
      continue;
    }
    if (c != '=' && c != '<' && c != '>') continue;
    TermPtr a = static_cast<TermPtr>(f->left), b = static_cast<TermPtr>(f->right);
    if (!isPlainVariable(a) || !isPlainVariable(b)) continue;
    int ca = InvHasName(changed, a->name), cb = InvHasName(changed, b->name);
    if (ca == cb) continue;
    AssignPtr s = static_cast<AssignPtr>(calloc(1, sizeof(Assign)));
    s->termLeft = TermCopy(ca ? b : a);
    s->termRight = TermCopy(ca ? a : b);
    out->push_back(s);
  }
}

FormulaPtr SubstOne(FormulaPtr f, AssignPtr s) {
  AssignList l = {s, nullptr};
  return FormulaSubstSim(f, &l);
}

int isSpecName(TermPtr t, Ptr) { return t->name[0] == '@' || t->name[0] == '#'; }

// The conjuncts of f as new formulas.
std::vector<FormulaPtr> Conjuncts(FormulaPtr f) {
  std::vector<FormulaPtr> r;
  if (!f) return r;
  FormulaPtr work = FormulaCopy(f);
  FormulaListPtr l = Formula2FormulaList(work, '^');
  for (FormulaListPtr n = l; n; n = n->formulaList)
    if (n->formula) r.push_back(FormulaCopy(n->formula));
  CleanPtrList(l);
  FormulaFree(work);
  return r;
}

}  // namespace

void InvariantListFree(FormulaListPtr l) {
  for (FormulaListPtr n = l; n; n = n->formulaList) FormulaFree(n->formula);
  CleanPtrList(l);
}

FormulaListPtr InvariantCandidates(ProcedurePtr proc, SentencePtr loop, SentencePtr *enclosing,
                                   int nEnclosing) {
  CandSet c;
  if (!proc || !loop || loop->type != 3) return nullptr;
  std::vector<std::string> changed, vars, nums = {"0", "1"}, unusedNums;
  InvChangedNames(proc, loop, &changed, &vars);
  std::vector<std::string> changedPlain = vars;
  FormulaNames(loop->cond, &vars, &unusedNums, 0);
  FormulaNames(proc->postCond, &vars, &unusedNums, 0);
  FormulaNames(proc->preCond, &vars, &unusedNums, 0);
  for (int i = 0; i < nEnclosing; i++) {
    FormulaNames(enclosing[i]->cond, &vars, &unusedNums, 0);
    FormulaNames(GetPostCond(enclosing[i]->labels1), &vars, &unusedNums, 0);
  }
  // Numerals of the whole procedure.
  std::vector<std::string> allVars;
  FormulaNames(proc->preCond, &allVars, &nums, 0);
  FormulaNames(proc->postCond, &allVars, &nums, 0);
  for (SentenceListPtr l = proc->sentenceList; l && l->sentence; l = l->sentenceList)
    StatementNames(l->sentence, &allVars, &nums);
  if (vars.size() > static_cast<size_t>(INV_VARIABLE_LIMIT)) vars.resize(INV_VARIABLE_LIMIT);
  if (nums.size() > static_cast<size_t>(INV_NUMERAL_LIMIT)) nums.resize(INV_NUMERAL_LIMIT);

  // The post-condition, as it is and with the exit conditions of this loop
  // and of the loops around it put in; the sides of its relations become
  // terms for the sums below.
  std::vector<AssignPtr> substs;
  ExitSubsts(proc, loop, &substs);
  for (int i = 0; i < nEnclosing && substs.size() < 3; i++) ExitSubsts(proc, enclosing[i], &substs);
  // No exit relation to go by (a loop running down to 0): each unchanged
  // variable of the post-condition in turn by each changed one.
  std::vector<std::string> postVars;
  FormulaNames(proc->postCond, &postVars, &unusedNums, 0);
  if (substs.empty())
    for (const std::string &u : postVars)
      for (const std::string &v : changedPlain) {
        if (substs.size() >= 3 || InvHasName(changed, u.c_str())) continue;
        AssignPtr a = static_cast<AssignPtr>(calloc(1, sizeof(Assign)));
        a->termLeft = TermMakeName(u.c_str());
        a->termRight = TermMakeName(v.c_str());
        substs.push_back(a);
      }
  std::vector<TermPtr> terms;
  std::unordered_set<std::string> termSeen;
  for (FormulaPtr conj : Conjuncts(proc->postCond)) {
    if (FormulaTermFind(conj, isSpecName, nullptr)) {
      FormulaFree(conj);
      continue;
    }
    for (unsigned mask = 0; mask < (1u << substs.size()); mask++) {
      FormulaPtr f = FormulaCopy(conj);
      for (size_t k = 0; k < substs.size(); k++)
        if (mask & (1u << k)) f = SubstOne(f, substs[k]);
      FormulaPtr rel = f->connective == '~' ? static_cast<FormulaPtr>(f->right) : f;
      if (rel && (rel->connective == '=' || rel->connective == '<' || rel->connective == '>'))
        for (Ptr side : {rel->left, rel->right}) {
          TermPtr t = static_cast<TermPtr>(side);
          if (!t || t->type == 2 || terms.size() >= static_cast<size_t>(INV_TERM_LIMIT)) continue;
          Text s;
          TextInit(&s);
          TermPrint(t, &s);
          if (termSeen.insert(TextStr(&s)).second) terms.push_back(TermCopy(t));
          TextFree(&s);
        }
      CandAdd(&c, f);
    }
    FormulaFree(conj);
  }
  for (AssignPtr s : substs) {
    TermFree(s->termLeft);
    TermFree(s->termRight);
    free(s);
  }

  // The loop condition and its conjuncts.
  CandAdd(&c, FormulaCopy(loop->cond));
  for (FormulaPtr conj : Conjuncts(loop->cond)) CandAdd(&c, conj);
  // What the pre-condition says of names the loop does not change.
  for (FormulaPtr conj : Conjuncts(proc->preCond)) {
    if (InvMentionsAny(conj, changed)) FormulaFree(conj);
    else CandAdd(&c, conj);
  }

  // Comparisons: variable with variable, then variable with numeral.
  std::vector<TermPtr> varTerms, numTerms;
  for (const std::string &v : vars) varTerms.push_back(TermMakeName(v.c_str()));
  for (const std::string &n : nums) numTerms.push_back(TermMakeName(n.c_str()));
  for (size_t i = 0; i < varTerms.size(); i++)
    for (size_t j = i + 1; j < varTerms.size(); j++) Comparisons(&c, varTerms[i], varTerms[j]);
  for (TermPtr x : varTerms)
    for (TermPtr n : numTerms) Comparisons(&c, x, n);

  // A changed variable equal to the sum or difference of two others: those
  // with a term of the post-condition first (they say most), then the rest.
  std::vector<TermPtr> atoms;
  for (TermPtr t : varTerms) atoms.push_back(t);
  for (TermPtr t : numTerms)
    if (strcmp(t->name, "0") != 0) atoms.push_back(t);
  size_t firstTerm = atoms.size();
  for (TermPtr t : terms) atoms.push_back(t);
  // The variables the post-condition speaks of come first: an equation
  // that defines one of them is the form the prover's later passes use best.
  std::vector<TermPtr> defined;
  for (int inPost = 1; inPost >= 0; inPost--)
    for (TermPtr x : varTerms)
      if (InvHasName(changed, x->name) && InvHasName(postVars, x->name) == inPost)
        defined.push_back(x);
  for (int withTerm = 1; withTerm >= 0; withTerm--)
    for (TermPtr x : defined) {
      for (size_t i = 0; i < atoms.size(); i++)
        for (size_t j = 0; j < atoms.size(); j++) {
          if ((i >= firstTerm || j >= firstTerm) != (withTerm == 1)) continue;
          if (TermMentionsName(atoms[i], x->name) || TermMentionsName(atoms[j], x->name)) continue;
          if (j >= i) {
            TermPtr sum = Apply2("+", atoms[i], atoms[j]);
            CandAdd(&c, Relation('=', x, sum));
            TermFree(sum);
          }
          if (j != i) {
            TermPtr diff = Apply2("-", atoms[i], atoms[j]);
            CandAdd(&c, Relation('=', x, diff));
            TermFree(diff);
          }
        }
    }
  // Last, a changed variable against the procedure's other variables (one
  // that set it before the loop: u := x makes u>x|u=x worth a try).
  size_t room = INV_VARIABLE_LIMIT - vars.size();   // vars holds at most the limit
  for (const std::string &o : allVars) {
    if (InvHasName(vars, o.c_str()) || room == 0) continue;
    room--;
    TermPtr other = TermMakeName(o.c_str());
    for (TermPtr x : varTerms)
      if (InvHasName(changed, x->name)) Comparisons(&c, x, other);
    TermFree(other);
  }
  for (TermPtr t : varTerms) TermFree(t);
  for (TermPtr t : numTerms) TermFree(t);
  for (TermPtr t : terms) TermFree(t);
  return c.head;
}
