// Small helpers shared by the term tests.
#pragma once
#include "../../term/term.h"

#include <string>

inline TermPtr ReadTerm(const char *s) {
  TermPtr t = TermAlloc();
  TermRead(s, t);
  return t;
}

inline std::string PrintTerm(TermPtr t) {
  Text s;
  TextInit(&s);
  TermPrint(t, &s);
  std::string r = TextStr(&s);
  TextFree(&s);
  return r;
}

inline AssignListPtr ReadAssigns(const char *s) {
  AssignListPtr p = static_cast<AssignListPtr>(calloc(1, sizeof(AssignList)));
  AssignReadList(s, p);
  return p;
}

inline void FreeAssigns(AssignListPtr p) {
  while (p) {
    AssignListPtr n = p->assignList;
    if (p->assign) {
      TermFree(p->assign->termLeft);
      TermFree(p->assign->termRight);
      free(p->assign);
    }
    free(p);
    p = n;
  }
}

// Substitutes the assignments given as text into the term given as text and
// returns the printed result.
inline std::string Subst(const char *term, const char *assigns) {
  TermPtr t = ReadTerm(term);
  AssignListPtr sl = ReadAssigns(assigns);
  t = TermSubstSim(t, sl);
  std::string r = PrintTerm(t);
  TermFree(t);
  FreeAssigns(sl);
  return r;
}
