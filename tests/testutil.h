// Helpers shared by the tests: text search, file contents, printing into a
// string, captured output, and assignment lists read from text.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "../core/pool.h"
#include "../term/term.h"

using testing::internal::CaptureStdout;

inline bool Has(const std::string &s, const std::string &part) { return s.find(part) != std::string::npos; }
// The whole file; "" when it cannot be read.
inline std::string Slurp(const std::string &name) {
  std::stringstream s;
  s << std::ifstream(name, std::ios::binary).rdbuf();
  return s.str();
}

// What the test has printed since CaptureStdout.
inline std::string Out() { return fflush(stdout), testing::internal::GetCapturedStdout(); }

// x as printed by print.
template <class T, class F> std::string Str(T x, F print) {
  Text s;
  TextInit(&s);
  print(x, &s);
  std::string r = TextStr(&s);
  TextFree(&s);
  return r;
}
inline AssignListPtr ReadAssigns(const char *s) {
  AssignListPtr p = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
  AssignReadList(s, p);
  return p;
}
// Frees the list, its assignments and their terms.
inline void FreeAssigns(AssignListPtr p) {
  for (AssignListPtr n; p; p = n) {
    n = p->assignList;
    if (p->assign) TermFree(p->assign->termLeft), TermFree(p->assign->termRight), PoolFree(p->assign, sizeof(Assign));
    PoolFree(p, sizeof(AssignList));
  }
}
