// Fresh names "#@a", "#@b", ... and the renaming of egen variables ("@")
// and "#"-names of a callee's specification.
#include "formula.h"

#include <cstdlib>
#include <cstring>

// The next fresh name. After "#@" and 27 "z" (the 702nd name) no longer
// name fits, and the names go on as "#@1", "#@2", ..., which never equal
// one of the letter names.
static char newName[LABEL_SIZE];

void InitializeNewName() { CopyBounded(newName, sizeof newName, "#@a"); }

void NewNameSave(char *s) { CopyBounded(s, LABEL_SIZE, newName); }
void NewNameRestore(const char *s) { CopyBounded(newName, sizeof newName, s); }

static void NewNameAdvance() {
  size_t n = strlen(newName);
  char last = n ? newName[n - 1] : 0;
  if (n < 3) {
    CopyBounded(newName, sizeof newName, "#@a");
  } else if (last >= '0' && last <= '9') {
    // decimal increment of the digits after "#@"
    size_t i = n;
    while (i > 2 && newName[i - 1] == '9') newName[--i] = '0';
    if (i > 2) {
      newName[i - 1]++;
    } else if (n + 1 < sizeof newName) {
      memmove(newName + 3, newName + 2, n - 1);
      newName[2] = '1';
    }
  } else if (last == 'z') {
    if (n + 1 < sizeof newName) {
      newName[n] = 'a';
      newName[n + 1] = 0;
    } else {
      CopyBounded(newName, sizeof newName, "#@1");
    }
  } else {
    newName[n - 1]++;
  }
}

void NewName(char *s) {
  if (!newName[0]) InitializeNewName();
  CopyBounded(s, LABEL_SIZE, newName);
  NewNameAdvance();
}

static int isEgenName(const char *name) { return name[0] == '@'; }

static int isHashName(const char *name) { return name[0] == '#' && name[1] != '@'; }

typedef int (*NameTest)(const char *name);

int isNotEgenVar(FormulaPtr p, Procedure *proc) {
  (void)proc;
  if (!p || p->connective != '=') return 1;
  TermPtr l = static_cast<TermPtr>(p->left);
  TermPtr r = static_cast<TermPtr>(p->right);
  if (r && isEgenName(r->name)) return 0;
  if (l && isEgenName(l->name)) return 0;
  return 1;
}

// Search of the relations' sides outside quantifiers, first hit wins.
static TermPtr FormulaSideFind(FormulaPtr t, NameTest test) {
  while (t && t->connective != 'A') {
    char c = t->connective;
    if (isFormulaClass(c)) {
      TermPtr hit = FormulaSideFind(static_cast<FormulaPtr>(t->left), test);
      if (hit) return hit;
      t = static_cast<FormulaPtr>(t->right);
      continue;
    }
    if (c == '=' || c == '<' || c == '>') {
      TermPtr l = static_cast<TermPtr>(t->left);
      TermPtr r = static_cast<TermPtr>(t->right);
      if (l && test(l->name)) return l;
      if (r && test(r->name)) return r;
    }
    return nullptr;
  }
  return nullptr;
}

// The names to rename, each once, in the order they get fresh names.
struct RenamePair { char *from; char fresh[LABEL_SIZE]; RenamePair *next; };

static RenamePair *RenameFind(RenamePair *p, const char *name) {
  for (; p; p = p->next)
    if (strcmp(p->from, name) == 0) return p;
  return nullptr;
}

static RenamePair *RenameAdd(RenamePair **head, RenamePair **tail, const char *name) {
  RenamePair *p = RenameFind(*head, name);
  if (p) return p;
  p = static_cast<RenamePair *>(calloc(1, sizeof(RenamePair)));
  p->from = strdup(name);
  NewName(p->fresh);
  if (*tail) (*tail)->next = p; else *head = p;
  *tail = p;
  return p;
}

static void RenameFree(RenamePair *p) {
  while (p) {
    RenamePair *next = p->next;
    free(p->from);
    free(p);
    p = next;
  }
}

// Visits every term in every position: collects (while `collect`) or
// renames the names that pass the test.
struct RenameWalk { NameTest test; RenamePair *head; RenamePair *tail; int collect; };

static int TermRenameVisit(TermPtr t, Ptr ctx) {
  RenameWalk *w = static_cast<RenameWalk *>(ctx);
  if (w->test(t->name)) {
    if (w->collect) {
      RenameAdd(&w->head, &w->tail, t->name);
    } else {
      RenamePair *p = RenameFind(w->head, t->name);
      if (p) TermSetName(t, p->fresh);
    }
  }
  return 0;   // no term ends the walk
}

static void FormulaRenameWalk(FormulaPtr t, RenameWalk *w) { FormulaTermFind(t, TermRenameVisit, w); }

static int isNamePassing(TermPtr t, Ptr test) { return (*static_cast<NameTest *>(test))(t->name); }

// The first name that passes the test: on a relation's side outside
// quantifiers first, then anywhere in the formula.
static TermPtr FormulaFindCopy(FormulaPtr t, NameTest test) {
  TermPtr hit = FormulaSideFind(t, test);
  if (!hit) hit = FormulaTermFind(t, isNamePassing, &test);
  return hit ? TermCopy(hit) : nullptr;
}

TermPtr FormulaEgenVarFind(FormulaPtr t) { return FormulaFindCopy(t, isEgenName); }

TermPtr FormulaEgenVarFind2(FormulaPtr t) { return FormulaFindCopy(t, isHashName); }

// Every name that passes the test gets one fresh name, the same at all its
// occurrences (bound variables, applications and arrays included). Names
// found on the relations' sides outside quantifiers are numbered first, in
// search order; the rest in the order of the whole walk. Renaming in one
// walk always ends, whatever kind of term carries the name.
static FormulaPtr FormulaRename(FormulaPtr p, NameTest test) {
  RenameWalk w = {test, nullptr, nullptr, 1};
  while (1) {
    TermPtr hit = FormulaSideFind(p, test);
    if (!hit || RenameFind(w.head, hit->name)) break;
    RenameAdd(&w.head, &w.tail, hit->name);
    // The side search restarts from the top; hide what it found by
    // renaming right away, as the one-name-at-a-time loop would. The pair
    // just added is the last, so a walk from it renames that name only.
    RenameWalk one = {test, w.tail, nullptr, 0};
    FormulaRenameWalk(p, &one);
  }
  FormulaRenameWalk(p, &w);
  w.collect = 0;
  FormulaRenameWalk(p, &w);
  RenameFree(w.head);
  return p;
}

FormulaPtr EgenVarRename(FormulaPtr p) { return FormulaRename(p, isEgenName); }

FormulaPtr EgenVarRename2(FormulaPtr p) { return FormulaRename(p, isHashName); }
