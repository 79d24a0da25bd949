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
  *len = 0;
  if (pair[0] != '(') return pair + 1;
  const char *a = pair + 1;
  size_t n = 0;
  while (a[n] && a[n] != ',' && a[n] != ')') n++;
  if (a[n] != ',' || n > static_cast<size_t>(LABEL_SIZE - 1)) return pair + 1;
  const char *b = a + n + 1;
  size_t m = 0;
  while (b[m] && b[m] != ')' && b[m] != ',') m++;
  if (b[m] == ')' && m <= static_cast<size_t>(LABEL_SIZE - 1)) *len = n;
  return pair + 1;
}

// The first this many statements of a list are searched in order; only a
// search that must go past them makes the tables. Short procedures (most)
// so have none: the tables cost more memory than the search costs time.
const long SCAN_MAX = 16;

// The first of the first SCAN_MAX statements of p whose label pair is key
// (start label of len characters when start is set, then of statements
// only, not sequences), with its place in *position; *more is set when the
// list goes on past them. The first match in list order is the index's.
SentencePtr LabelScan(ProcedurePtr p, const char *key, size_t len, int start, long *position, int *more) {
  long i = 0;
  SentenceListPtr n = p->sentenceList;
  for (; n && n->sentence && i < SCAN_MAX; n = n->sentenceList, i++) {
    SentencePtr s = n->sentence;
    int same;
    if (start) {
      size_t k;
      same = s->type != 2 && (StartLabel(s->labels, &k), k == len) && memcmp(s->labels + 1, key, len) == 0;
    } else {
      // pairs differ mostly in their first label's first character
      same = key[0] && s->labels[0] == key[0] && s->labels[1] == key[1] && strcmp(s->labels, key) == 0;
    }
    if (same) {
      *position = i;
      return s;
    }
  }
  *more = n && n->sentence;
  return nullptr;
}

// The index of p, made when first asked for.
LabelIndex *LabelIndexOf(ProcedurePtr p) {
  LabelIndex *x = static_cast<LabelIndex *>(p->labelIndex);
  if (!x) {
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

// The first statement of p whose label pair is key (start label of len
// characters when start is set, then of statements only), its place in
// *position (-1 when there is none, unknown for a start label): a short list
// is searched; a long one gets its index.
static SentencePtr LabelLookup(ProcedurePtr p, const char *key, size_t len, int start, long *position) {
  *position = -1;
  if (!p->labelIndex) {
    int more;
    SentencePtr s = LabelScan(p, key, len, start, position, &more);
    if (s || !more) return s;
  }
  LabelIndex *x = LabelIndexOf(p);
  Slot *it = TableFind(start ? &x->startLabels : &x->byLabels, key, len);
  if (!it) return nullptr;
  *position = it->position;
  return static_cast<SentencePtr>(it->value);
}

SentencePtr SentenceFind(ProcedurePtr p, const char *l) {
  long position;
  return p && l ? LabelLookup(p, l, strlen(l), 0, &position) : nullptr;
}

long SentencePosition(ProcedurePtr p, const char *l) {
  long position = -1;
  if (p && l) LabelLookup(p, l, strlen(l), 0, &position);
  return position;
}

SentencePtr Sentence2Ptr(const char *l) { return SentenceFind(currentProcedure, l); }

int SentenceAttach(SentencePtr sent) {
  if (!sent->labels[0]) return 0;   // its pair was refused; the reader said why
  ProcedurePtr p = currentProcedure;
  if (p && p->sentenceList && sent->type != 2) {
    size_t len;
    const char *a = StartLabel(sent->labels, &len);
    long position;
    if (LabelLookup(p, a, len, 1, &position)) {
      ErrorMsgPrintf("two statements start at label %.*s: the second, %s, is refused",
                     static_cast<int>(len), a, sent->labels);
      return 0;
    }
  }
  if (!sp) return 0;
  sp->sentence = sent;
  sp->sentenceList = static_cast<SentenceListPtr>(PoolAlloc(sizeof(SentenceList)));
  sp = sp->sentenceList;
  return 1;
}
