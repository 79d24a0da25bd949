// Assignments "$O" term "=" term and their lists joined by "^".
#include "term.h"

#include <cstdlib>
#include "../core/pool.h"

int AssignRead(const char *s, AssignPtr t) {
  LocAt(s);
  int i = 0;
  if (s[0] == '$' && s[1] == 'O') i = 2;
  else ErrorMsg("*** Missing $O ***");
  t->termLeft = TermAlloc();
  i += TermRead(s + i, t->termLeft);
  // Only a variable or an array element can be assigned.
  if (t->termLeft->type != 1 && t->termLeft->type != 2)
    ErrorMsg("*** Left side of an assignment must be a name or an array element ***");
  if (s[i] == '=') i++;
  else ErrorMsg("*** Missing = ***");
  t->termRight = TermAlloc();
  i += TermRead(s + i, t->termRight);
  return i;
}

int AssignReadList(const char *s, AssignListPtr p) {
  int i = 0;
  p->assign = static_cast<AssignPtr>(PoolAlloc(sizeof(Assign)));
  i += AssignRead(s + i, p->assign);
  while (s[i] == '^') {
    i++;
    AssignListPtr q = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
    p->assignList = q;
    p = q;
    p->assign = static_cast<AssignPtr>(PoolAlloc(sizeof(Assign)));
    i += AssignRead(s + i, p->assign);
  }
  return i;
}

void AssignPrint(AssignPtr t, Text *s) {
  if (!t) return;
  TextAppend(s, "$O");
  TermPrint(t->termLeft, s);
  TextAppendChar(s, '=');
  TermPrint(t->termRight, s);
}

void AssignListPrint(AssignListPtr t, Text *s) {
  for (; t; t = t->assignList) {
    AssignPrint(t->assign, s);
    if (t->assignList) TextAppendChar(s, '^');
  }
}
