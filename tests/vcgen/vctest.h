// Helpers of the generator tests: loading program text, generating, and the
// assumptions read back as printed text.
#pragma once
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "../../core/core.h"
#include "../../vcgen/assump.h"

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

// "p: hyp => concl; q: ..." for the assumptions (of procedure `only` when given).
inline std::string VcRender(const std::vector<VcAssumption> &a, const char *only = nullptr) {
  std::string r;
  for (const VcAssumption &x : a)
    if (!only || x.proc == only) r += (r.empty() ? "" : "; ") + x.proc + ": " + x.hyp + " => "
                                      + x.concl;
  return r;
}

inline void VcReset() {
  ProcedureListClear();
  AssumptionListClear();
  InitializeNewName();
  currentProcedureList = &procedureList;
  currentProcedure = nullptr;
}

// Reads the text (white space removed; the text stays alive), after a reset
// unless `add`; stdout is appended to *out. Returns procedure p.
inline ProcedurePtr VcLoad(const char *text, const char *p = "p", std::string *out = nullptr,
                           bool add = false) {
  if (!add) VcReset();
  testing::internal::CaptureStdout();
  char *s = strdup(text);
  CompressString(s);
  ProcedureReadList(s);
  if (out) *out += testing::internal::GetCapturedStdout();
  else testing::internal::GetCapturedStdout();
  return currentProcedure = Procedure2Ptr(p);
}

inline std::vector<VcAssumption> VcGenerateLoaded(std::string *out = nullptr) {
  testing::internal::CaptureStdout();
  GenerateVerificationCond();
  std::string o = testing::internal::GetCapturedStdout();
  if (out) *out += o;
  return VcAssumptions();
}

// Loads (expecting no read error) and generates; stdout goes to *out.
inline std::vector<VcAssumption> VcGenerate(const char *text, std::string *out = nullptr) {
  std::string o;
  VcLoad(text, "p", &o);
  for (ProcedureListPtr n = &procedureList; n && n->procedure; n = n->procedureList)
    EXPECT_EQ(n->procedure->readError, 0) << n->procedure->name << ": " << o;
  auto a = VcGenerateLoaded(&o);
  if (out) *out = o;
  return a;
}

// A worked example: the program, its assumptions rendered (only those of
// procedure `only` when given) and the exact printed output.
struct VcCase { const char *text, *expect, *out, *only = nullptr; };

inline void VcCheck(const VcCase &c) {
  SCOPED_TRACE(c.text);
  std::string out;
  EXPECT_EQ(VcRender(VcGenerate(c.text, &out), c.only), c.expect);
  EXPECT_EQ(out, c.out);
}
