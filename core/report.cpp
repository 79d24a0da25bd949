// The JSON report, written with nlohmann::json. Conditions are read back
// from the assumptions (as first printed) and joined with the sequents that
// remain from each, numbered per procedure as in the result file.
#include "report.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <unistd.h>
#include <unordered_map>
#include <vector>
#include <nlohmann/json.hpp>

#include "core.h"
#include "../program/sentence.h"
#include "../vcgen/assump.h"
#include "../prover/proof.h"

using nlohmann::ordered_json;
using Clock = std::chrono::steady_clock;

static std::string reportProgram;
static Clock::time_point stageStart;
static std::vector<std::pair<std::string, double>> stages;
static int proverRan;

void ReportBegin(const char *program) {
  reportProgram = program;
  stages.clear();
  proverRan = 0;
  ErrorRecordsClear();
  stageStart = Clock::now();
}

void ReportStage(const char *name) {
  Clock::time_point now = Clock::now();
  stages.emplace_back(name, std::chrono::duration<double>(now - stageStart).count());
  stageStart = now;
  if (!strcmp(name, "prove")) proverRan = 1;
}

static ordered_json FormulaListJson(FormulaListPtr l) {
  ordered_json a = ordered_json::array();
  Text t;
  TextInit(&t);
  for (; l; l = l->formulaList) {
    TextClear(&t);
    FormulaPrint(l->formula, &t);
    a.push_back(TextStr(&t));
  }
  TextFree(&t);
  return a;
}

static const char *OriginKindName(int kind) {
  switch (kind) {
    case ORIGIN_BODY: return "body";
    case ORIGIN_LOOP_KEPT: return "loop invariant kept";
    case ORIGIN_LOOP_EXIT: return "loop exit";
    default: return "other";
  }
}

static ordered_json OriginJson(const Origin *o, const char *procName) {
  Text t;
  TextInit(&t);
  OriginPrint(o, procName, &t);
  ordered_json j = {{"kind", OriginKindName(o->kind)}};
  j["loop"] = o->loop && o->loop[0] ? ordered_json(o->loop) : ordered_json(nullptr);
  j["text"] = TextStr(&t);
  TextFree(&t);
  return j;
}

// The verdict of one remaining sequent: refuted with the values, or open.
static void SequentVerdictJson(SequentPtr s, ordered_json *j) {
  if (s->counterexample) {
    (*j)["verdict"] = "refuted";
    (*j)["values"] = s->counterexample;
  } else {
    (*j)["verdict"] = "open";
  }
}

// The condition as the sequent it first became (rewritten and split).
static void ConditionSidesJson(AssumptionPtr a, ordered_json *j) {
  FormulaListPtr l1 = Formula2FormulaList(SimplifySequentUseRewrite(FormulaCopy(a->formula1)), '^');
  FormulaListPtr l2 = Formula2FormulaList(SimplifySequentUseRewrite(FormulaCopy(a->formula2)), '|');
  (*j)["antecedents"] = FormulaListJson(l1);
  (*j)["succedents"] = FormulaListJson(l2);
  FormulaListFree(l1);
  FormulaListFree(l2);
}

static ordered_json ProcedureJson(ProcedurePtr p, const std::vector<AssumptionPtr> &assumptions,
                                  const std::vector<SequentPtr> &remaining) {
  ordered_json j = {{"name", p->name}};
  j["file"] = p->file ? ordered_json(p->file) : ordered_json(nullptr);
  j["line"] = p->file ? ordered_json(p->line) : ordered_json(nullptr);
  j["status"] = p->readError ? "read error" : !proverRan ? "not verified" : remaining.empty() ? "proved" : "open";
  // The remaining sequents of each condition, by their number in the procedure.
  std::unordered_map<const Origin *, std::vector<size_t>> fromOrigin;
  for (size_t i = 0; i < remaining.size(); i++) fromOrigin[remaining[i]->origin].push_back(i);
  ordered_json conditions = ordered_json::array();
  for (AssumptionPtr a : assumptions) {
    ordered_json c = {{"number", a->origin.number}, {"origin", OriginJson(&a->origin, p->name)}};
    ConditionSidesJson(a, &c);
    ordered_json parts = ordered_json::array();
    int refuted = 0;
    for (size_t i : fromOrigin[&a->origin]) {
      ordered_json r = {{"number", static_cast<long>(i) + 1},
                        {"antecedents", FormulaListJson(remaining[i]->formulaList1)},
                        {"succedents", FormulaListJson(remaining[i]->formulaList2)}};
      SequentVerdictJson(remaining[i], &r);
      if (remaining[i]->counterexample) refuted = 1;
      parts.push_back(r);
    }
    if (parts.empty()) {
      c["verdict"] = "proved";
      c["proved_by"] = a->origin.provedBy ? a->origin.provedBy : "rewriting";
    } else {
      c["verdict"] = refuted ? "refuted" : "open";
      c["remaining"] = parts;
    }
    conditions.push_back(c);
  }
  j["conditions"] = conditions;
  return j;
}

std::string ReportText(int status) {
  ordered_json j = {{"schema", REPORT_SCHEMA}, {"program", reportProgram}, {"exit_status", status}};
  j["status"] = status == 0 ? "proved" : status == 1 ? "open" : "error";
  // Conditions and remaining sequents per procedure name, in the order of
  // the result file; grouped once, so the report is linear in their number.
  std::map<std::string, std::vector<AssumptionPtr>> conditions;
  std::map<std::string, std::vector<SequentPtr>> remaining;
  for (AssumptionListPtr n = &assumptionList; proverRan && n && n->assumption; n = n->assumptionList)
    conditions[std::string(AssumptionProcName(n->assumption))].push_back(
        n->assumption);
  for (SequentListPtr n = &sequentList; proverRan && n && n->sequent; n = n->sequentList)
    if (!n->sequent->proved)
      remaining[std::string(n->sequent->remark, strnlen(n->sequent->remark, LABEL_SIZE))].push_back(n->sequent);
  ordered_json procedures = ordered_json::array();
  for (ProcedureListPtr n = &procedureList; n && n->procedureList; n = n->procedureList) {
    if (!n->procedure) continue;
    std::string name = n->procedure->name;
    procedures.push_back(ProcedureJson(n->procedure, conditions[name], remaining[name]));
  }
  j["procedures"] = procedures;
  ordered_json errors = ordered_json::array();
  for (long i = 0; i < ErrorRecordCount(); i++) {
    const ErrorRecord *e = ErrorRecordGet(i);
    ordered_json r;
    r["file"] = e->file ? ordered_json(e->file) : ordered_json(nullptr);
    r["line"] = e->file ? ordered_json(e->line) : ordered_json(nullptr);
    r["procedure"] = e->procedure[0] ? ordered_json(e->procedure) : ordered_json(nullptr);
    r["message"] = e->message;
    errors.push_back(r);
  }
  j["errors"] = errors;
  j["errors_total"] = ErrorRecordTotal();   // more than listed when there were very many
  ordered_json times = ordered_json::object();
  for (auto &s : stages) times[s.first] = s.second;
  j["seconds"] = times;
  // Program text need not be valid UTF-8: such bytes are replaced, not fatal.
  return j.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

// Standard output as it was before ReportTakeStdout; -1 when not taken.
static int reportFd = -1;

void ReportTakeStdout() {
  fflush(stdout);
  reportFd = dup(STDOUT_FILENO);
  if (reportFd >= 0) dup2(STDERR_FILENO, STDOUT_FILENO);
}

int ReportEnd(const char *file, int status) {
  if (!file) return status;
  std::string text = ReportText(status);
  fflush(stdout);
  if (!strcmp(file, "-")) {
    int fd = reportFd >= 0 ? reportFd : STDOUT_FILENO;
    for (size_t done = 0; done < text.size();) {
      ssize_t n = write(fd, text.data() + done, text.size() - done);
      if (n <= 0) return 2;
      done += static_cast<size_t>(n);
    }
    return status;
  }
  FILE *f = fopen(file, "w");
  int written = f && fwrite(text.data(), 1, text.size(), f) == text.size();
  // closed once, whatever failed: a failing fclose has closed the stream too
  if (f && fclose(f) != 0) written = 0;
  if (!written) {
    ErrorMsgPrintf("cannot write the JSON report %s", file);
    return 2;
  }
  return status;
}
