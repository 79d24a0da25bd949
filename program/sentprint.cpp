// Program printers: statements, procedures and the procedure list in the
// program notation (the plain printers' text reads back), and the debug
// twins that put each statement's computed pre-condition above it.
#include <cstring>
#include <initializer_list>

#include "sentence.h"

namespace {

// The records being printed, innermost first: a record whose parts lead
// back to itself is not printed again inside itself.
struct PrintPath {
  SentencePtr sentence;
  const PrintPath *up;
  int depth;
};

int isOnPath(const PrintPath *path, SentencePtr p) {
  for (; path; path = path->up)
    if (path->sentence == p) return 1;
  return 0;
}

// Appends the texts in order: the printers' fixed pieces and labels, without
// a format to interpret.
void Put(Text *s, const char *a, const char *b, const char *c = nullptr, const char *d = nullptr,
         const char *e = nullptr) {
  for (const char *t : {a, b, c, d, e})
    if (t) TextAppend(s, t);
}

void Spaces(Text *s, int k) {
  for (int i = 0; i < k; i++) TextAppendChar(s, ' ');
}

void PrintPtr(SentencePtr p, Text *s, int k, int debug, const PrintPath *path);

void PrintLabels(const char *l, Text *s, int k, int debug, const PrintPath *path) {
  if (l && l[0]) PrintPtr(Sentence2Ptr(l), s, k, debug, path);
}

// The chains of a block that do not join its statement, in the order read.
void PrintCuts(LabelListPtr cuts, Text *s, int k, int debug, const PrintPath *path) {
  for (; cuts; cuts = cuts->labelList) PrintLabels(cuts->labels, s, k, debug, path);
}

void PrintPtr(SentencePtr p, Text *s, int k, int debug, const PrintPath *path) {
  if (!p || isOnPath(path, p)) return;
  if (path && path->depth >= MAX_NEST_DEPTH) return;
  PrintPath here = {p, path, path ? path->depth + 1 : 1};
  char a[LABEL_SIZE], b[LABEL_SIZE], c[LABEL_SIZE], d[LABEL_SIZE];
  if (p->type != 2) {
    if (debug) PrintPreCond(p, s, k);
    Spaces(s, k);
  }
  switch (p->type) {
    case 1:
      DivideLabels(p->labels, a, b);
      Put(s, "LB=", a, "=>");
      AssignListPrint(p->assignList, s);
      Put(s, "^$OLB=", b, ";\n");
      break;
    case 2:
      PrintLabels(p->labels1, s, k, debug, &here);
      PrintLabels(p->labels2, s, k, debug, &here);
      break;
    case 3:
      DivideLabels(p->labels1, b, a);   // body (b,a)
      DivideLabels(p->labels, d, c);    // loop (a,c)
      Put(s, "*[LB=", a, "^");
      FormulaPrint(p->cond, s);
      Put(s, "=>($OLB=", b, "|$OLB=", c, ")\n");
      PrintCuts(p->cutChains, s, k + 2, debug, &here);
      PrintLabels(p->labels1, s, k + 2, debug, &here);
      Spaces(s, k + 2);
      TextAppend(s, "{");
      FormulaPrint(GetPostCond(p->labels1), s);
      TextAppend(s, "}\n");
      Spaces(s, k);
      TextAppend(s, " ]\n");
      break;
    case 4:
      DivideLabels(p->labels, a, d);
      DivideLabels(p->labels1, b, d);
      DivideLabels(p->labels2, c, d);
      Put(s, "?[LB=", a, "^");
      FormulaPrint(p->cond, s);
      Put(s, "=>$OLB=", b, "|~=>$OLB=", c, ";\n");
      PrintCuts(p->cutChains, s, k + 2, debug, &here);
      PrintLabels(p->labels1, s, k + 2, debug, &here);
      PrintLabels(p->labels2, s, k + 2, debug, &here);
      Spaces(s, k);
      TextAppend(s, " ]\n");
      break;
    case 5:
      DivideLabels(p->labels, a, b);
      Put(s, "LB=", a, "=>", p->labels1, "(");
      SentCallParamPrint(p->labels1, p->assignList, s);
      Put(s, ")^$OLB=", b, ";\n");
      break;
    default:
      break;
  }
}

void PrintProcedure(ProcedurePtr p, Text *ss, int debug) {
  if (!p) return;
  currentProcedure = p;
  TextAppend(ss, "{ ");
  FormulaPrint(p->preCond, ss);
  TextAppend(ss, " }\n");
  ProcedureHeadPrint(p, ss);
  TextAppend(ss, "%STM [ \n");
  PrintCuts(p->cutChains, ss, 4, debug, nullptr);
  PrintLabels(p->body, ss, 4, debug, nullptr);
  TextAppend(ss, "]\n{ ");
  FormulaPrint(p->postCond, ss);
  TextAppend(ss, " }\n");
}

void PrintList(Text *ss, int debug) {
  for (ProcedureListPtr n = &procedureList; n && n->procedure && n->procedureList;
       n = n->procedureList) {
    PrintProcedure(n->procedure, ss, debug);
    TextAppend(ss, "\n");
    TextSpill(ss, 0);
  }
}

}  // namespace

// The head from "%PROC" to the locals' line, shared by every procedure printer.
void ProcedureHeadPrint(ProcedurePtr p, Text *ss) {
  Put(ss, "%PROC ", p->name, "(");
  for (ParamTrippleListPtr q = p->params; q; q = q->paramTrippleList) {
    Put(ss, q->io, "/", q->name, ":", q->type);
    if (q->paramTrippleList) TextAppend(ss, ";");
  }
  TextAppend(ss, ")==\n");
  if (p->loc && p->loc[0]) Put(ss, "%LOC ", p->loc, "\n");
}

void SentencePrint(const char *l, Text *s, int k) { PrintLabels(l, s, k, 0, nullptr); }
void SentencePrintPtr(SentencePtr p, Text *s, int k) { PrintPtr(p, s, k, 0, nullptr); }
void SentencePrintDebug(const char *l, Text *s, int k) { PrintLabels(l, s, k, 1, nullptr); }
void SentencePrintPtrDebug(SentencePtr p, Text *s, int k) { PrintPtr(p, s, k, 1, nullptr); }

// Bindings paired with the callee's formal parameters by position; a node
// without an assignment ends the bindings.
void SentCallParamPrint(const char *name, AssignListPtr bindings, Text *s) {
  ProcedurePtr callee = Procedure2Ptr(name);
  if (!callee) return;
  ParamTrippleListPtr f = callee->params;
  AssignListPtr b = bindings;
  for (int first = 1; f && b && b->assign; f = f->paramTrippleList, b = b->assignList, first = 0) {
    if (!first) TextAppend(s, ";");
    Put(s, f->io, "/");
    TermPrint(b->assign->termRight, s);
    TextAppend(s, "|");
    TermPrint(b->assign->termLeft, s);
  }
}

int PrintPreCond(SentencePtr p, Text *ss, int k) {
  size_t start = ss->len;
  Spaces(ss, k);
  TextAppend(ss, "{");
  if (p) FormulaPrint(p->preCond, ss);
  TextAppend(ss, "}\n");
  return static_cast<int>(ss->len - start);
}

void ProcedurePrint(ProcedurePtr p, Text *ss) { PrintProcedure(p, ss, 0); }
void ProcedurePrintDebug(ProcedurePtr p, Text *ss) { PrintProcedure(p, ss, 1); }
void ProcedureListPrint(Text *ss) { PrintList(ss, 0); }
void ProcedureListPrintDebug(Text *ss) { PrintList(ss, 1); }

void OriginPrint(const Origin *o, const char *procName, Text *out) {
  if (!o) return;
  const char *loop = o->loop ? o->loop : "";
  switch (o->kind) {
    case ORIGIN_BODY: TextPrintf(out, "body of %s against its post-condition", procName); break;
    case ORIGIN_LOOP_KEPT: TextPrintf(out, "invariant of loop %s kept by its body", loop); break;
    case ORIGIN_LOOP_EXIT: TextPrintf(out, "exit of loop %s", loop); break;
    default: break;
  }
}
