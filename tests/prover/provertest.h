// Helpers of the prover tests: formulas and sequents from text, printed
// forms, and a clean global state. Records are never freed (by design).
#pragma once
#include <cstring>
#include <vector>
#include "../testutil.h"
#include "../../program/sentence.h"
#include "../../prover/proof.h"
#include "../../prover/refute.h"
#include "../../vcgen/assump.h"

using Texts = std::vector<std::string>;

// Readers split the text in place; the copy stays alive.
inline FormulaPtr F(const std::string &text) {
  FormulaPtr f = FormulaAlloc();
  FormulaRead(strdup(text.c_str()), f);
  return f;
}
inline TermPtr T(const std::string &text) {
  TermPtr t = TermAlloc();
  TermRead(strdup(text.c_str()), t);
  return t;
}
// A node with the given children, null ones left empty.
inline FormulaPtr Node(char connective, void *left, void *right) {
  FormulaPtr f = FormulaAlloc();
  f->connective = connective, f->left = left, f->right = right;
  return f;
}
inline std::string FText(FormulaPtr f) { return Str(f, FormulaPrint); }
inline std::string SText(Sequent *s) { return Str(s, SequentPrintOne); }
inline std::string AllText(const char *note = nullptr) { return Str(note, SequentPrint); }
inline std::string Passed(SequentPass pass, Sequent *s) { return pass(s), SText(s); }

inline FormulaListPtr L(const Texts &texts, size_t i = 0) {
  if (i == texts.size()) return nullptr;
  FormulaListPtr l = (FormulaListPtr)calloc(1, sizeof(FormulaList));
  l->formula = F(texts[i]), l->formulaList = L(texts, i + 1);
  return l;
}
inline Sequent *Seq(const Texts &left, const Texts &right, const char *remark = "p") {
  Sequent *s = (Sequent *)calloc(1, sizeof(Sequent));
  s->formulaList1 = L(left), s->formulaList2 = L(right);
  CopyBounded(s->remark, sizeof s->remark, remark);
  return s;
}
// Appends a copy of the sequent to the global list (as the rules pass does).
inline Sequent *Append(const Texts &left, const Texts &right, const char *remark = "p") {
  return NewSequent(Seq(left, right, remark));
}
inline int ListLength() {
  int n = 0;
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList) n++;
  return n;
}
inline void ProverReset() {
  SequentListClear(), ProcedureListClear(), AssumptionListClear();
  userAxiom.formulaList1 = userAxiom.formulaList2 = 0;
}
