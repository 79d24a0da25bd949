// Helpers of the program-text tests: a fresh procedure list, loading and
// printing literal program text, the statement records as rows of text.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../../core/core.h"
#include "../../program/sentence.h"

inline void ProgReset() {
  ProcedureListClear();
  InitializeNewName();
  currentProcedure = nullptr;
  sp = nullptr;
}

// Loads program text after removing its white space; returns what the
// readers printed (the Error lines).
inline std::string ProgLoad(const char *text) {
  char *s = strdup(text);
  CompressString(s);
  testing::internal::CaptureStdout();
  ProcedureReadList(s);
  std::string out = testing::internal::GetCapturedStdout();
  free(s);
  return out;
}

inline std::string FormulaText(FormulaPtr f) {
  Text t;
  TextInit(&t);
  FormulaPrint(f, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

inline std::string AssignsText(AssignListPtr a) {
  Text t;
  TextInit(&t);
  AssignListPrint(a, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

// One row per record: type labels labels1 labels2 cond assignments.
inline std::vector<std::string> Rows(ProcedurePtr p) {
  std::vector<std::string> r;
  for (SentenceListPtr n = p->sentenceList; n && n->sentence; n = n->sentenceList) {
    SentencePtr s = n->sentence;
    std::string row = std::to_string(static_cast<int>(s->type)) + " " + s->labels + " " +
                      s->labels1 + " " + s->labels2 + " " + FormulaText(s->cond) + " " +
                      (s->type == 2 || s->type == 3 || s->type == 4 ? "" : AssignsText(s->assignList));
    r.push_back(row);
  }
  return r;
}

// A procedure frame for reading a block directly.
inline ProcedurePtr ProgFrame() {
  ProcedurePtr p = static_cast<ProcedurePtr>(calloc(1, sizeof(Procedure)));
  p->sentenceList = static_cast<SentenceListPtr>(calloc(1, sizeof(SentenceList)));
  currentProcedure = p;
  sp = p->sentenceList;
  return p;
}

// Reads a block into a fresh frame; *out gets the printed lines, *l the pair.
inline ProcedurePtr ProgBlock(const char *block, std::string *l, std::string *out = nullptr) {
  ProcedurePtr p = ProgFrame();
  char *s = strdup(block);
  char lab[LABEL_SIZE];
  testing::internal::CaptureStdout();
  SentenceRead(s, lab);
  std::string o = testing::internal::GetCapturedStdout();
  if (out) *out = o;
  if (l) *l = lab;
  free(s);
  return p;
}

inline std::string ProgPrintAll() {
  Text t;
  TextInit(&t);
  ProcedureListPrint(&t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

inline int ProcedureCount() {
  int n = 0;
  for (ProcedureListPtr q = &procedureList; q->procedureList; q = q->procedureList) n++;
  return n;
}

inline int CountOf(const std::string &s, const std::string &what) {
  int n = 0;
  for (size_t i = s.find(what); i != std::string::npos; i = s.find(what, i + 1)) n++;
  return n;
}
