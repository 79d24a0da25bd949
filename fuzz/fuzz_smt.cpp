// The solver against the five passes and the evaluator, on random sequents:
// the first line of the input is the antecedent (split at "^"), the rest
// the succedent (split at "|").
// - A sequent the five passes (with the rewriter before them) remove must
//   not be falsifiable for Z3, unless a name in it has two roles (the
//   passes then treat the roles as one thing, the solver as two).
// - A sequent Z3 proves must not be refuted by the small-integer search.
// - A counterexample from a model is never given for a sequent Z3 proves.
#include <cstdio>
#include <set>
#include <string>

#include "../prover/refute.h"
#include "../smt/smt.h"
#include "fuzzutil.h"

// Collects "role arity name" of every term; the roles of one name.
static int NoteRole(TermPtr t, Ptr ctx) {
  auto *roles = static_cast<std::set<std::string> *>(ctx);
  int n = 0;
  for (TermListPtr p = t->termList; p; p = p->termList) n++;
  roles->insert(std::string(t->name) + "\n" + std::to_string(t->type == 2 ? 0 : t->type * 100 + n));
  return 0;
}

static void NoteFormulaRoles(FormulaPtr f, std::set<std::string> *roles, int depth) {
  if (!f || depth > 64) return;
  if (f->connective == '.' && f->right) {   // a predicate: a role of its own
    TermPtr t = (TermPtr)f->right;
    roles->insert(std::string(t->name) + "\npredicate");
    for (TermListPtr p = t->termList; p; p = p->termList) TermFind(p->term, NoteRole, roles);
    return;
  }
  if (f->connective == 'A') TermFind((TermPtr)f->left, NoteRole, roles);
  if (isFormulaClass(f->connective) || f->connective == 'A') {
    if (f->connective != 'A') NoteFormulaRoles((FormulaPtr)f->left, roles, depth + 1);
    NoteFormulaRoles((FormulaPtr)f->right, roles, depth + 1);
  } else if (isTermClass(f->connective)) {
    TermFind((TermPtr)f->left, NoteRole, roles);
    TermFind((TermPtr)f->right, NoteRole, roles);
  }
}

static int hasTwoRoles(SequentPtr s) {
  std::set<std::string> roles;
  for (FormulaListPtr p = s->formulaList1; p; p = p->formulaList) NoteFormulaRoles(p->formula, &roles, 0);
  for (FormulaListPtr p = s->formulaList2; p; p = p->formulaList) NoteFormulaRoles(p->formula, &roles, 0);
  std::string last;
  for (const std::string &r : roles) {
    std::string name = r.substr(0, r.find('\n'));
    if (name == last) return 1;
    last = name;
  }
  return 0;
}

const int SMT_FUZZ_CONDITIONS = 16;   // conditions of a program checked per input

// Every check on the sequent f1 => f2 (either may be null); the formulas
// are copied.
static void CheckSequent(FormulaPtr f1, FormulaPtr f2) {
  Sequent orig = {};
  orig.formulaList1 = Formula2FormulaList(FormulaCopy(f1), '^');
  orig.formulaList2 = Formula2FormulaList(FormulaCopy(f2), '|');
  CopyBounded(orig.remark, sizeof orig.remark, "p");
  // The five passes on the rewritten sequent, as the pipeline runs them.
  Sequent work = {};
  work.formulaList1 = Formula2FormulaList(SimplifySequentUseRewrite(FormulaCopy(f1)), '^');
  work.formulaList2 = Formula2FormulaList(SimplifySequentUseRewrite(FormulaCopy(f2)), '|');
  CopyBounded(work.remark, sizeof work.remark, "p");
  SequentListClear();
  NewSequent(&work);
  SimplifySequentAll();
  int removed = !sequentList.sequent;
  int answer = SmtDecide(orig.formulaList1, orig.formulaList2);
  char witness[256];
  if (removed && answer == SMT_FALSIFIABLE && !hasTwoRoles(&orig)) {
    fprintf(stderr, "the five passes removed a sequent that Z3 finds falsifiable\n");
    abort();
  }
  if (answer == SMT_VALID && RefuteSequent(&orig, witness, sizeof witness)) {
    fprintf(stderr, "Z3 proved a sequent that fails for %s\n", witness);
    abort();
  }
  Text line;
  TextInit(&line);
  if (SmtCounterexample(&orig, &line) && answer == SMT_VALID) {
    fprintf(stderr, "a counterexample %s for a sequent Z3 proves\n", TextStr(&line));
    abort();
  }
  TextFree(&line);
}

// Program text (beginning with "{" or "%") is verified and each of its
// conditions checked; other text is one sequent.
extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
  if (size > 2048) return 0;
  if (size && (data[0] == '{' || data[0] == '%')) {
    char *s = FuzzLoad(data, size);
    FuzzCompleteAnnotations();
    GenerateVerificationCond();
    int n = 0;
    for (AssumptionListPtr a = &assumptionList; a && a->assumption && n < SMT_FUZZ_CONDITIONS;
         a = a->assumptionList, n++)
      CheckSequent(a->assumption->formula1, a->assumption->formula2);
    free(s);
    return 0;
  }
  FuzzReset();
  char *text = FuzzText(data, size);
  char *rest = strchr(text, '\n');
  if (rest) *rest++ = 0;
  CompressString(text);
  if (rest) CompressString(rest);
  FormulaPtr f1 = FormulaAlloc(), f2 = FormulaAlloc();
  FormulaRead(text, f1);
  if (rest) FormulaRead(rest, f2);
  CheckSequent(f1, rest ? f2 : nullptr);
  free(text);
  return 0;
}
