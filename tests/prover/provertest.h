// Helpers of the prover tests: formulas and sequents from text, printed
// forms, and a clean global state.
#pragma once
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "../../prover/proof.h"
#include "../../program/sentence.h"
#include "../../vcgen/assump.h"

inline FormulaPtr F(const char *text) {
  char *s = strdup(text);
  FormulaPtr f = FormulaAlloc();
  FormulaRead(s, f);   // the reader splits the text in place; it stays alive
  return f;
}

inline TermPtr T(const char *text) {
  char *s = strdup(text);
  TermPtr t = TermAlloc();
  TermRead(s, t);
  return t;
}

inline std::string FText(FormulaPtr f) {
  Text t;
  TextInit(&t);
  FormulaPrint(f, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

inline std::string TText(TermPtr x) {
  Text t;
  TextInit(&t);
  TermPrint(x, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

inline FormulaListPtr L(std::vector<const char *> texts) {
  FormulaListPtr head = 0, *tail = &head;
  for (const char *x : texts) {
    *tail = (FormulaListPtr)calloc(1, sizeof(FormulaList));
    (*tail)->formula = F(x);
    tail = &(*tail)->formulaList;
  }
  return head;
}

inline std::string LText(FormulaListPtr p) {
  Text t;
  TextInit(&t);
  FormulaListPrint(p, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

inline Sequent *Seq(std::vector<const char *> left, std::vector<const char *> right,
                    const char *remark = "p") {
  Sequent *s = (Sequent *)calloc(1, sizeof(Sequent));
  s->formulaList1 = L(left);
  s->formulaList2 = L(right);
  CopyBounded(s->remark, sizeof s->remark, remark);
  return s;
}

// Appends a sequent to the global list (as the pipeline does).
inline Sequent *Append(std::vector<const char *> left, std::vector<const char *> right,
                       const char *remark = "p") {
  Sequent *s = Seq(left, right, remark);
  sequentListPtr->sequent = s;
  sequentListPtr->sequentList = (SequentListPtr)calloc(1, sizeof(SequentList));
  sequentListPtr = sequentListPtr->sequentList;
  return s;
}

inline std::string SText(Sequent *s) {
  Text t;
  TextInit(&t);
  SequentPrintOne(s, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

inline std::string AllText() {
  Text t;
  TextInit(&t);
  SequentPrint(0, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
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
  userAxiom.formulaList1 = 0;
  userAxiom.formulaList2 = 0;
}
