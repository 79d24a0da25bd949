// Small helpers shared by the formula tests.
#pragma once
#include "../../formula/formula.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// Reads a formula from a copy of the text (the reader writes into it).
inline FormulaPtr ReadF(const std::string &text) {
  std::string buf = text;
  FormulaPtr t = FormulaAlloc();
  FormulaRead(&buf[0], t);
  return t;
}

inline std::string PrintF(FormulaPtr t) {
  Text s;
  TextInit(&s);
  FormulaPrint(t, &s);
  std::string r = TextStr(&s);
  TextFree(&s);
  return r;
}

// Read and print again.
inline std::string RP(const std::string &text) {
  FormulaPtr t = ReadF(text);
  std::string r = PrintF(t);
  FormulaFree(t);
  return r;
}

inline AssignListPtr ReadAssignsF(const char *s) {
  AssignListPtr p = static_cast<AssignListPtr>(calloc(1, sizeof(AssignList)));
  AssignReadList(s, p);
  return p;
}

inline void FreeAssignsF(AssignListPtr p) {
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

inline std::string PrintList(FormulaListPtr p) {
  Text s;
  TextInit(&s);
  FormulaListPrint(p, &s);
  std::string r = TextStr(&s);
  TextFree(&s);
  return r;
}

// Splits the read formula at "^" into a list that owns its elements.
inline FormulaListPtr ReadList(const std::string &text) {
  FormulaPtr f = ReadF(text);
  FormulaListPtr p = Formula2FormulaList(f, '^');
  // free the dropped "^" nodes only
  struct Local {
    static void DropJoints(FormulaPtr t) {
      if (t && t->connective == '^') {
        DropJoints(static_cast<FormulaPtr>(t->left));
        DropJoints(static_cast<FormulaPtr>(t->right));
        free(t);
      }
    }
  };
  Local::DropJoints(f);
  return p;
}

