// Helpers of the generator tests: loading program text, generating, and the
// assumptions read back as printed text.
#pragma once
#include <cstring>
#include <vector>
#include "../testutil.h"
#include "../../core/core.h"
#include "../../vcgen/assump.h"

inline std::string VcPrint(FormulaPtr f) { return Str(f, FormulaPrint); }
struct VcAssumption { std::string proc, hyp, concl; };
inline std::vector<VcAssumption> VcAssumptions() {
  std::vector<VcAssumption> r;
  for (AssumptionListPtr n = &assumptionList; n && n->assumption; n = n->assumptionList)
    r.push_back({AssumptionProcName(n->assumption), VcPrint(n->assumption->formula1),
                 VcPrint(n->assumption->formula2)});
  return r;
}

// "p: hyp => concl; q: ..." for the assumptions (of procedure `only` when given).
inline std::string VcRender(const std::vector<VcAssumption> &a, const char *only = nullptr) {
  std::string r;
  for (const VcAssumption &x : a)
    if (!only || x.proc == only) r += (r.empty() ? "" : "; ") + x.proc + ": " + x.hyp + " => " + x.concl;
  return r;
}

// What loading and generating printed since the last reset.
inline std::string vcOut;
inline void VcReset() {
  ProcedureListClear(), AssumptionListClear(), InitializeNewName();
  currentProcedure = nullptr, vcOut.clear();
}

// Reads the text (white space removed; the text stays alive), after a reset
// unless `add`. Returns procedure p.
inline ProcedurePtr VcLoad(const char *text, const char *p = "p", bool add = false) {
  if (!add) VcReset();
  char *s = strdup(text);
  CompressString(s);
  CaptureStdout(), ProcedureReadList(s), vcOut += Out();
  return currentProcedure = Procedure2Ptr(p);
}

// Loads the text unless null (expecting no read error) and generates.
inline std::vector<VcAssumption> VcGenerate(const char *text = nullptr) {
  if (text) VcLoad(text);
  for (ProcedureListPtr n = &procedureList; text && n && n->procedure; n = n->procedureList)
    EXPECT_EQ(n->procedure->readError, 0) << n->procedure->name << ": " << vcOut;
  CaptureStdout(), GenerateVerificationCond(), vcOut += Out();
  return VcAssumptions();
}

// A worked example: the program, its assumptions rendered (only those of
// procedure `only` when given) and the exact printed output.
struct VcCase { const char *text, *expect, *out, *only = nullptr; };
inline void VcCheck(const VcCase &c) {
  SCOPED_TRACE(c.text);
  EXPECT_EQ(VcRender(VcGenerate(c.text), c.only), c.expect);
  EXPECT_EQ(vcOut, c.out);
}
