// Helpers of the prover tests: formulas and sequents from text, printed
// forms, and a clean global state. Records are never freed (by design).
#pragma once
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
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
inline TermPtr T(const char *text) {
  TermPtr t = TermAlloc();
  TermRead(strdup(text), t);
  return t;
}

// The printed form of anything with a Print(x, Text *) function.
template <class X> std::string Str(void (*print)(X, Text *), X x) {
  Text t;
  TextInit(&t);
  print(x, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}
inline std::string FText(FormulaPtr f) { return Str(FormulaPrint, f); }
inline std::string SText(Sequent *s) { return Str(SequentPrintOne, s); }
inline std::string AllText() { return Str(SequentPrint, (const char *)nullptr); }

inline FormulaListPtr L(const Texts &texts) {
  FormulaListPtr head = 0, *tail = &head;
  for (const std::string &x : texts) {
    *tail = (FormulaListPtr)calloc(1, sizeof(FormulaList));
    (*tail)->formula = F(x);
    tail = &(*tail)->formulaList;
  }
  return head;
}

inline Sequent *Seq(const Texts &left, const Texts &right, const char *remark = "p") {
  Sequent *s = (Sequent *)calloc(1, sizeof(Sequent));
  s->formulaList1 = L(left);
  s->formulaList2 = L(right);
  CopyBounded(s->remark, sizeof s->remark, remark);
  return s;
}
// Appends a sequent to the global list (as the pipeline does).
inline Sequent *Append(Sequent *s) {
  sequentListPtr->sequent = s;
  sequentListPtr->sequentList = (SequentListPtr)calloc(1, sizeof(SequentList));
  sequentListPtr = sequentListPtr->sequentList;
  return s;
}
inline Sequent *Append(const Texts &left, const Texts &right, const char *remark = "p") {
  return Append(Seq(left, right, remark));
}
inline int ListLength() {
  int n = 0;
  for (SequentListPtr p = &sequentList; p && p->sequent; p = p->sequentList) n++;
  return n;
}
inline void ProverReset() {
  SequentListClear();
  ProcedureListClear();
  AssumptionListClear();
  userAxiom.formulaList1 = userAxiom.formulaList2 = 0;
}
