// Shared by the files of the invariant suggester.
#pragma once
#include <string>
#include <vector>
#include "invariant.h"

// Names a statement (and everything inside it) may change: the left sides
// of its assignments and the variables a call binds to output parameters.
// plain (may be null) receives those changed as whole variables, not arrays.
void InvChangedNames(ProcedurePtr proc, SentencePtr s, std::vector<std::string> *out,
                     std::vector<std::string> *plain = nullptr);
int InvHasName(const std::vector<std::string> &names, const char *name);
// 1 when f mentions one of the names.
int InvMentionsAny(FormulaPtr f, const std::vector<std::string> &names);
