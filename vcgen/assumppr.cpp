// Printers of the assumption list.
#include "assump.h"
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

static void AssumptionFormulaPrint(FormulaPtr f, Text *ss) {
  Text buf;
  TextInit(&buf);
  if (f) FormulaPrint(f, &buf);
  NiceFormula(TextStr(&buf), ss, NICE_WIDTH);
  TextFree(&buf);
}

static void AssumptionPrint1(AssumptionPtr a, Text *ss) {
  AssumptionFormulaPrint(a->formula1, ss);
  TextAppend(ss, "\n =>\n  ");
  AssumptionFormulaPrint(a->formula2, ss);
  TextAppend(ss, "\n\n");
}

void AssumptionPrint(const char *pname, Text *ss) {
  for (AssumptionListPtr n = &assumptionList; n && n->assumption; n = n->assumptionList)
    if (strcmp(AssumptionProcName(n->assumption), pname) == 0) AssumptionPrint1(n->assumption, ss);
}

void AssumptionListPrint(Text *ss) {
  // The assumptions grouped by procedure name, in list order, so that each
  // procedure's entry does not walk the whole list again.
  std::unordered_map<std::string, std::vector<AssumptionPtr>> byName;
  for (AssumptionListPtr n = &assumptionList; n && n->assumption; n = n->assumptionList)
    byName[AssumptionProcName(n->assumption)].push_back(n->assumption);
  for (ProcedureListPtr p = &procedureList; p && p->procedure; p = p->procedureList) {
    TextPrintf(ss, "...for %s...\n\n", p->procedure->name);
    auto it = byName.find(p->procedure->name);
    if (it != byName.end())
      for (AssumptionPtr a : it->second) AssumptionPrint1(a, ss);
    TextAppend(ss, "\n");
  }
}
