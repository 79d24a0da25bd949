// Helpers of the generator tests: loading literal program text, resetting
// the global state and reading back the assumptions as printed text.
#pragma once
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "../../vcgen/assump.h"
#include "../../core/core.h"

inline void VcReset() {
  ProcedureListClear();
  AssumptionListClear();
  InitializeNewName();
  currentProcedureList = &procedureList;
  currentProcedure = nullptr;
}

// Reads program text (white space is removed first); the text stays alive.
inline void VcLoad(const char *text) {
  char *s = strdup(text);
  CompressString(s);
  ProcedureReadList(s);
}

inline std::string VcPrint(FormulaPtr f) {
  Text t;
  TextInit(&t);
  if (f) FormulaPrint(f, &t);
  std::string r = TextStr(&t);
  TextFree(&t);
  return r;
}

struct VcAssumption { std::string proc, hyp, concl; };

inline std::vector<VcAssumption> VcAssumptions() {
  std::vector<VcAssumption> r;
  for (AssumptionListPtr n = &assumptionList; n && n->assumption; n = n->assumptionList)
    r.push_back({n->assumption->procName, VcPrint(n->assumption->formula1),
                 VcPrint(n->assumption->formula2)});
  return r;
}

// Loads the text, generates, and returns the assumptions; stdout (the Error
// lines) goes to *out when given.
inline std::vector<VcAssumption> VcGenerate(const char *text, std::string *out = nullptr) {
  VcReset();
  testing::internal::CaptureStdout();
  VcLoad(text);
  std::string o = testing::internal::GetCapturedStdout();
  for (ProcedureListPtr n = &procedureList; n && n->procedure; n = n->procedureList)
    EXPECT_EQ(n->procedure->readError, 0) << n->procedure->name << ": " << o;
  testing::internal::CaptureStdout();
  GenerateVerificationCond();
  o += testing::internal::GetCapturedStdout();
  if (out) *out = o;
  return VcAssumptions();
}

// Loads the text and makes procedure p current, for tests that change its
// statements before generating.
inline ProcedurePtr VcLoadOnly(const char *text, const char *p) {
  VcReset();
  testing::internal::CaptureStdout();
  VcLoad(text);
  testing::internal::GetCapturedStdout();
  currentProcedure = Procedure2Ptr(p);
  return currentProcedure;
}

inline std::vector<VcAssumption> VcGenerateLoaded(std::string *out = nullptr) {
  testing::internal::CaptureStdout();
  GenerateVerificationCond();
  std::string o = testing::internal::GetCapturedStdout();
  if (out) *out = o;
  return VcAssumptions();
}

// The conclusion of the last assumption of procedure p.
inline std::string VcLastOf(const std::vector<VcAssumption> &a, const char *p) {
  std::string r = "<none>";
  for (const VcAssumption &x : a)
    if (x.proc == p) r = x.concl;
  return r;
}
