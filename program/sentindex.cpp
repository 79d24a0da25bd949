// Lookup indexes: statements of a procedure by label pair, procedures by
// name, and the remembered tail of the procedure list. Every index gives the
// first match in list order and catches up with nodes appended since it was
// last used, so it stays right whoever appended.
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "sentence.h"
#include "../core/pool.h"

namespace {

// Open-addressing tables keyed by texts that live in the records themselves
// (a statement's label pair, a procedure's name), so a lookup hashes the
// text it is given and builds nothing. The tables come from the pool and go
// with the records when it is released. A slot holds the record; its key is
// the text at keyOffset in it, or (indirect) the text the pointer at
// keyOffset points at, from its skip-th character on.
struct Slot {
  Ptr value;         // null: empty slot
  int len;           // keys are label pairs and names: short
  int position;
};
struct Table {
  Slot *slots;
  size_t cap;    // a power of two, or 0
  size_t used;
  size_t keyOffset;
  int indirect;
  size_t skip;
};

const char *KeyOf(const Table *t, Ptr value) {
  const char *at = static_cast<const char *>(value) + t->keyOffset;
  if (t->indirect) at = *reinterpret_cast<const char *const *>(at);
  return at + t->skip;
}

const char *SlotKey(const Table *t, const Slot *s) {
  return KeyOf(t, s->value);
}

size_t Hash(const char *s, size_t n) {
  size_t h = 14695981039346656037u;
  for (size_t i = 0; i < n; i++) h = (h ^ static_cast<unsigned char>(s[i])) * 1099511628211u;
  return h;
}

Slot *TableSlot(Table *t, const char *key, size_t len) {
  if (!t->cap) return nullptr;
  for (size_t i = Hash(key, len) & (t->cap - 1);; i = (i + 1) & (t->cap - 1)) {
    Slot *s = &t->slots[i];
    if (!s->value || (static_cast<size_t>(s->len) == len && memcmp(SlotKey(t, s), key, len) == 0))
      return s;
  }
}

Slot *TableFind(Table *t, const char *key, size_t len) {
  Slot *s = TableSlot(t, key, len);
  return s && s->value ? s : nullptr;
}

// Adds the record unless its key is there already: the first entry of a key
// stays. The key is the text of len characters at the table's offset in it.
void TableAdd(Table *t, Ptr value, size_t len, long position) {
  const char *key = KeyOf(t, value);
  if (4 * (t->used + 1) > 3 * t->cap) {   // at most three quarters full
    Table bigger = {nullptr, t->cap ? 2 * t->cap : 8, 0, t->keyOffset, t->indirect, t->skip};
    bigger.slots = static_cast<Slot *>(PoolAlloc(bigger.cap * sizeof(Slot)));
    for (size_t i = 0; i < t->cap; i++)
      if (t->slots[i].value)
        *TableSlot(&bigger, SlotKey(t, &t->slots[i]), t->slots[i].len) = t->slots[i];
    bigger.used = t->used;
    PoolFree(t->slots, t->cap * sizeof(Slot));
    *t = bigger;
  }
  Slot *s = TableSlot(t, key, len);
  if (s->value) return;
  *s = Slot{value, static_cast<int>(len), static_cast<int>(position)};
  t->used++;
}

struct LabelIndex {
  SentenceListPtr head;   // the list the index was built for
  SentenceListPtr last;   // last node indexed, null before the first
  long count;
  Table byLabels;
  Table startLabels;      // of statements, not sequences
};

// Start label of a pair "(a,b)": the text between "(" and ","; empty when
// the pair is not of that form (as DivideLabels gives it).
const char *StartLabel(const char *pair, size_t *len) {
  char a[LABEL_SIZE], b[LABEL_SIZE];
  DivideLabels(pair, a, b);
  *len = strlen(a);
  return pair + 1;
}

// Procedures of at most this many statements have no tables: their list is
// searched in order, which costs less than the tables' memory is worth.
const long SCAN_MAX = 16;

// The statement of p whose label pair (start label when start is set, then
// of statements only, not sequences) is the key of len characters; the first
// in list order, with its place in *position.
SentencePtr LabelScan(ProcedurePtr p, const char *key, size_t len, int start, long *position) {
  long i = 0;
  for (SentenceListPtr n = p->sentenceList; n && n->sentence; n = n->sentenceList, i++) {
    SentencePtr s = n->sentence;
    size_t k = 0;
    const char *at = s->labels;
    if (start) {
      if (s->type == 2) continue;
      at = StartLabel(s->labels, &k);
    } else {
      k = strlen(s->labels);
    }
    if (k == len && memcmp(at, key, len) == 0) {
      *position = i;
      return s;
    }
  }
  return nullptr;
}

// The index of p; null while p has at most SCAN_MAX statements.
LabelIndex *LabelIndexOf(ProcedurePtr p) {
  LabelIndex *x = static_cast<LabelIndex *>(p->labelIndex);
  if (!x) {
    long count = 0;
    for (SentenceListPtr n = p->sentenceList; n && n->sentence && count <= SCAN_MAX; n = n->sentenceList) count++;
    if (count <= SCAN_MAX) return nullptr;
    x = static_cast<LabelIndex *>(PoolAlloc(sizeof(LabelIndex)));
    p->labelIndex = x;
  }
  if (x->head != p->sentenceList) {
    x->head = p->sentenceList;
    x->last = nullptr;
    x->count = 0;
    x->byLabels = Table{nullptr, 0, 0, offsetof(Sentence, labels), 1, 0};
    x->startLabels = Table{nullptr, 0, 0, offsetof(Sentence, labels), 1, 1};   // after "("
  }
  SentenceListPtr n = x->last ? x->last->sentenceList : x->head;
  while (n && n->sentence) {
    SentencePtr s = n->sentence;
    TableAdd(&x->byLabels, s, strlen(s->labels), x->count);
    if (s->type != 2) {
      size_t len;
      StartLabel(s->labels, &len);
      TableAdd(&x->startLabels, s, len, 0);
    }
    x->count++;
    x->last = n;
    n = n->sentenceList;
  }
  return x;
}

// The procedure list's name index and tail.
struct ProcIndex {
  ProcedurePtr first;       // procedureList.procedure when last synchronised
  ProcedureListPtr last;    // last node indexed, null before the first
  Table byName;
};
ProcIndex procIndex = {nullptr, nullptr, {nullptr, 0, 0, offsetof(Procedure, name), 0, 0}};

void ProcIndexSync() {
  if (procedureList.procedure != procIndex.first) {
    ProcedureIndexReset();
    procIndex.first = procedureList.procedure;
  }
  ProcedureListPtr n = procIndex.last ? procIndex.last->procedureList : &procedureList;
  while (n && n->procedure && n->procedureList) {
    TableAdd(&procIndex.byName, n->procedure, strlen(n->procedure->name), 0);
    procIndex.last = n;
    n = n->procedureList;
  }
}

}  // namespace

void ProcedureIndexReset() {
  procIndex.first = nullptr;
  procIndex.last = nullptr;
  procIndex.byName = Table{nullptr, 0, 0, offsetof(Procedure, name), 0, 0};   // its slots go with the pool
}

ProcedureListPtr ProcedureListTail() {
  ProcIndexSync();
  ProcedureListPtr n = procIndex.last ? procIndex.last->procedureList : &procedureList;
  return n ? n : &procedureList;
}

ProcedurePtr Procedure2Ptr(const char *l) {
  if (!l) return nullptr;
  ProcIndexSync();
  Slot *it = TableFind(&procIndex.byName, l, strlen(l));
  return it ? static_cast<ProcedurePtr>(it->value) : nullptr;
}

SentencePtr SentenceFind(ProcedurePtr p, const char *l) {
  if (!p || !l) return nullptr;
  LabelIndex *x = LabelIndexOf(p);
  long position;
  if (!x) return LabelScan(p, l, strlen(l), 0, &position);
  Slot *it = TableFind(&x->byLabels, l, strlen(l));
  return it ? static_cast<SentencePtr>(it->value) : nullptr;
}

long SentencePosition(ProcedurePtr p, const char *l) {
  if (!p || !l) return -1;
  LabelIndex *x = LabelIndexOf(p);
  long position = -1;
  if (!x) return LabelScan(p, l, strlen(l), 0, &position) ? position : -1;
  Slot *it = TableFind(&x->byLabels, l, strlen(l));
  return it ? it->position : -1;
}

SentencePtr Sentence2Ptr(const char *l) { return SentenceFind(currentProcedure, l); }

int SentenceAttach(SentencePtr sent) {
  if (!sent->labels[0]) return 0;   // its pair was refused; the reader said why
  if (currentProcedure && currentProcedure->sentenceList) {
    LabelIndex *x = LabelIndexOf(currentProcedure);
    if (sent->type != 2) {
      size_t len;
      const char *a = StartLabel(sent->labels, &len);
      long position;
      if (x ? TableFind(&x->startLabels, a, len) != nullptr
            : LabelScan(currentProcedure, a, len, 1, &position) != nullptr) {
        ErrorMsgPrintf("two statements start at label %.*s: the second, %s, is refused",
                       static_cast<int>(len), a, sent->labels);
        return 0;
      }
    }
  }
  if (!sp) return 0;
  sp->sentence = sent;
  sp->sentenceList = static_cast<SentenceListPtr>(PoolAlloc(sizeof(SentenceList)));
  sp = sp->sentenceList;
  return 1;
}
