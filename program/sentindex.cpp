// Lookup indexes: statements of a procedure by label pair, procedures by
// name, and the remembered tail of the procedure list. Every index gives the
// first match in list order and catches up with nodes appended since it was
// last used, so it stays right whoever appended.
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "sentence.h"

namespace {

struct SentenceEntry {
  SentencePtr sentence;
  long position;
};

struct LabelIndex {
  SentenceListPtr head;   // the list the index was built for
  SentenceListPtr last;   // last node indexed, null before the first
  long count;
  std::unordered_map<std::string, SentenceEntry> byLabels;
  std::unordered_set<std::string> startLabels;   // of statements, not sequences
};

// Start label of a pair "(a,b)": the text between "(" and ",".
std::string StartLabel(const char *pair) {
  char a[LABEL_SIZE], b[LABEL_SIZE];
  DivideLabels(pair, a, b);
  return std::string(a);
}

LabelIndex *LabelIndexOf(ProcedurePtr p) {
  LabelIndex *x = static_cast<LabelIndex *>(p->labelIndex);
  if (!x) {
    x = new LabelIndex();
    p->labelIndex = x;
  }
  if (x->head != p->sentenceList) {
    x->head = p->sentenceList;
    x->last = nullptr;
    x->count = 0;
    x->byLabels.clear();
    x->startLabels.clear();
  }
  SentenceListPtr n = x->last ? x->last->sentenceList : x->head;
  while (n && n->sentence) {
    SentencePtr s = n->sentence;
    x->byLabels.emplace(std::string(s->labels), SentenceEntry{s, x->count});
    if (s->type != 2) x->startLabels.insert(StartLabel(s->labels));
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
  std::unordered_map<std::string, ProcedurePtr> byName;
};
ProcIndex procIndex;

void ProcIndexSync() {
  if (procedureList.procedure != procIndex.first) {
    ProcedureIndexReset();
    procIndex.first = procedureList.procedure;
  }
  ProcedureListPtr n = procIndex.last ? procIndex.last->procedureList : &procedureList;
  while (n && n->procedure && n->procedureList) {
    procIndex.byName.emplace(std::string(n->procedure->name), n->procedure);
    procIndex.last = n;
    n = n->procedureList;
  }
}

}  // namespace

void ProcedureIndexReset() {
  procIndex.first = nullptr;
  procIndex.last = nullptr;
  procIndex.byName.clear();
}

ProcedureListPtr ProcedureListTail() {
  ProcIndexSync();
  ProcedureListPtr n = procIndex.last ? procIndex.last->procedureList : &procedureList;
  return n ? n : &procedureList;
}

ProcedurePtr Procedure2Ptr(const char *l) {
  if (!l) return nullptr;
  ProcIndexSync();
  auto it = procIndex.byName.find(std::string(l));
  return it == procIndex.byName.end() ? nullptr : it->second;
}

SentencePtr SentenceFind(ProcedurePtr p, const char *l) {
  if (!p || !l) return nullptr;
  LabelIndex *x = LabelIndexOf(p);
  auto it = x->byLabels.find(std::string(l));
  return it == x->byLabels.end() ? nullptr : it->second.sentence;
}

long SentencePosition(ProcedurePtr p, const char *l) {
  if (!p || !l) return -1;
  LabelIndex *x = LabelIndexOf(p);
  auto it = x->byLabels.find(std::string(l));
  return it == x->byLabels.end() ? -1 : it->second.position;
}

SentencePtr Sentence2Ptr(const char *l) { return SentenceFind(currentProcedure, l); }

int SentenceAttach(SentencePtr sent) {
  if (!sent->labels[0]) return 0;   // its pair was refused; the reader said why
  if (currentProcedure && currentProcedure->sentenceList) {
    LabelIndex *x = LabelIndexOf(currentProcedure);
    if (sent->type != 2) {
      std::string a = StartLabel(sent->labels);
      if (x->startLabels.count(a)) {
        ErrorMsgPrintf("two statements start at label %s: the second, %s, is refused", a.c_str(),
                       sent->labels);
        return 0;
      }
    }
  }
  if (!sp) return 0;
  sp->sentence = sent;
  sp->sentenceList = static_cast<SentenceListPtr>(calloc(1, sizeof(SentenceList)));
  sp = sp->sentenceList;
  return 1;
}
