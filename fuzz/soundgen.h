// Generated programs for the soundness checks, with an interpreter of their
// own. A program is a straight line of statements over i, j, m, f and an
// array a: element updates, factorials of successors (also unfolded as
// (x+1)*x!), sometimes written out of order; its post-condition quantifies
// over array elements, often with a bound name that the statements use too.
// Two checks, over every input with i, j, m, f in -2..2 and two initial
// arrays:
// - the condition generated for the program, evaluated at the input, says
//   what the interpreter says of the post-condition after running it (both
//   with quantifiers over -3..3): a wrong substitution, a captured name or a
//   dropped statement shows as a difference;
// - when the program is wrong at some input, a condition of it stays open.
#pragma once
#include "fuzzutil.h"
#include "soundeval.h"

namespace soundgen {

const int INPUT_MIN = -2, INPUT_VALUES = 5;   // i, j, m, f range over -2..2
const int INPUTS = 2 * INPUT_VALUES * INPUT_VALUES * INPUT_VALUES * INPUT_VALUES;   // two arrays

// A term of the generator: a name, an operator over its arguments, or "a[]"
// with its index.
struct Term {
  std::string op;
  std::vector<Term> args;
  std::string Text() const {
    if (op == "a[]") return "a[" + args[0].Text() + "]";
    if (args.empty()) return op;
    std::string t = op + "(" + args[0].Text();
    for (size_t k = 1; k < args.size(); k++) t += "," + args[k].Text();
    return t + ")";
  }
  Val Eval(const State &s) const {
    if (args.empty()) return s.Name(op);
    Val a = args[0].Eval(s);
    if (op == "a[]") return a.known ? Num(s.Element(a.v)) : kUnknown;
    return Apply(op, a, args.size() > 1 ? args[1].Eval(s) : kUnknown);
  }
  // *(+1(x),!(x)) folded to !(+1(x)): the same value at x >= 0 only.
  Term Folded() const {
    if (op == "*" && args[0].op == "+1" && args[1].op == "!" &&
        args[0].args[0].Text() == args[1].args[0].Text())
      return {"!", {args[0]}};
    Term t = *this;
    for (Term &a : t.args) a = a.Folded();
    return t;
  }
};

// A formula of the generator: c is a relation, '^', '|', ':' (implication),
// '~', 'A' (over var) or 'T'.
struct Form {
  char c;
  Term l, r;
  std::vector<Form> sub;
  std::string var;
  std::string Text() const {
    switch (c) {
      case 'T': return "$T";
      case '~': return "~(" + sub[0].Text() + ")";
      case 'A': return "$A" + var + ":(" + sub[0].Text() + ")";
      case '^': case '|': return "(" + sub[0].Text() + std::string(1, c) + sub[1].Text() + ")";
      case ':': return "(" + sub[0].Text() + "->" + sub[1].Text() + ")";
      default: return l.Text() + std::string(1, c) + r.Text();
    }
  }
  int Eval(State &s, bool bounded) const {
    switch (c) {
      case 'T': return 1;
      case '~': return Not(sub[0].Eval(s, bounded));
      case '^': return And(sub[0].Eval(s, bounded), sub[1].Eval(s, bounded));
      case '|': return Or(sub[0].Eval(s, bounded), sub[1].Eval(s, bounded));
      case ':': return Or(Not(sub[0].Eval(s, bounded)), sub[1].Eval(s, bounded));
      case 'A': {
        int r = 1;
        s.names.push_back({var, 0});
        for (int v = QUANT_MIN; v <= QUANT_MAX && r; v++) {
          s.names.back().second = v;
          r = And(r, sub[0].Eval(s, bounded));
        }
        s.names.pop_back();
        return r == 1 && !bounded ? -1 : r;
      }
      default: return Compare(c, l.Eval(s), r.Eval(s));
    }
  }
};

// One assignment: to a scalar, or to a[index].
struct Assignment { std::string var; bool element; Term index, value; };

struct Program {
  std::vector<std::vector<Assignment>> statements;   // in the order they run
  std::vector<size_t> textOrder;
  Form pre, post;
  std::string Text() const {
    std::string t = "{" + pre.Text() + "}%PROC g(%IOP/i:int;%IOP/j:int;%IOP/m:int;%IOP/f:int;" +
                    "%IOP/a:array)==%STM[";
    for (size_t k : textOrder) {
      t += "LB=" + std::to_string(k + 1) + "=>";
      for (const Assignment &a : statements[k])
        t += "$O" + (a.element ? "a[" + a.index.Text() + "]" : a.var) + "=" + a.value.Text() + "^";
      t += "$OLB=" + std::to_string(k + 2) + ";";
    }
    return t + "]{" + post.Text() + "}";
  }
  // Runs the statements; each assigns at once, from the state before it.
  // 0 when a value is not known.
  bool Run(State &s) const {
    for (const auto &st : statements) {
      State next = s;
      for (const Assignment &a : st) {
        Val v = a.value.Eval(s);
        Val k = a.element ? a.index.Eval(s) : Num(0);
        if (!v.known || !k.known) return false;
        if (a.element) next.updates[k.v] = v.v;
        else next.Set(a.var, v.v);
      }
      s = next;
    }
    return true;
  }
};

// Draws choices from a byte string (0 once it is used up).
struct Generator {
  const unsigned char *data;
  size_t size, at = 0;
  int Pick(int n) { return at < size ? data[at++] % n : 0; }

  Term Leaf(const std::vector<std::string> &names) {
    static const char *numerals[] = {"0", "1", "2", "-1"};
    if (Pick(3)) return {names[Pick(static_cast<int>(names.size()))], {}};
    return {numerals[Pick(4)], {}};
  }
  Term Make(int depth, const std::vector<std::string> &names) {
    int k = depth > 0 ? Pick(10) : 0;
    if (k <= 3) return Leaf(names);
    Term x = Leaf(names);
    switch (k) {
      case 4: return {"+", {Make(depth - 1, names), Make(depth - 1, names)}};
      case 5: return {"-", {Make(depth - 1, names), x}};
      case 6: return {"+1", {Make(depth - 1, names)}};
      case 7: return {"!", {{"+1", {x}}}};
      case 8: return {"*", {{"+1", {x}}, {"!", {x}}}};   // written folded in the post
      default: return {"a[]", {Make(depth - 1, names)}};
    }
  }
  Form Relation(Term l, Term r) { return {"=<>"[Pick(3)], l, r, {}, ""}; }
  Form Join(char c, Form a, Form b) { return {c, {}, {}, {a, b}, ""}; }

  Program Make() {
    static const std::vector<std::string> vars = {"i", "j", "m", "f"};
    Program p;
    int n = 1 + Pick(3);
    for (int s = 0; s < n; s++) {
      std::vector<Assignment> st;
      for (int v = Pick(4), c = 1 + Pick(2); c-- > 0; v = (v + 1 + Pick(3)) % 4)   // distinct names
        st.push_back({vars[v], false, {}, Make(2, vars)});
      if (Pick(2)) st.push_back({"a", true, Make(1, vars), Make(1, vars)});
      p.statements.push_back(st);
    }
    for (int s = 0; s < n; s++) p.textOrder.push_back(s);
    if (n > 1 && Pick(6) == 0) std::swap(p.textOrder[0], p.textOrder[1 + Pick(n - 1)]);
    // The post-condition says what the last statement did, often rightly.
    Form post = {'T', {}, {}, {}, ""};
    bool first = true;
    for (const Assignment &a : p.statements.back()) {
      Form f;
      std::string v = (a.element ? std::vector<std::string>{"i", "j", "k"} : vars)[Pick(a.element ? 3 : 4)];
      Term value = Pick(4) ? a.value.Folded() : Make(1, vars);
      if (!a.element) {
        f = {'=', {a.var, {}}, value, {}, ""};
      } else {
        Term element = {"a[]", {{v, {}}}};
        switch (Pick(3)) {
          case 0: f = {'=', {"a[]", {a.index}}, value, {}, ""}; break;
          case 1:
            f = {'A', {}, {}, {Join(':', {'=', {v, {}}, a.index, {}, ""}, {'=', element, value, {}, ""})}, v};
            break;
          default: f = {'A', {}, {}, {{'=', element, value, {}, ""}}, v};
        }
      }
      post = first ? f : Join('^', post, f);
      first = false;
    }
    if (Pick(4) == 0) post = Join(Pick(2) ? '|' : '^', post, Relation(Make(1, vars), Make(1, vars)));
    p.post = post;
    switch (Pick(4)) {
      case 0: p.pre = {'T', {}, {}, {}, ""}; break;
      case 1: p.pre = {'=', {"m", {}}, Leaf({"i"}), {}, ""}; break;
      case 2: p.pre = {'~', {}, {}, {{'>', {"0", {}}, {"m", {}}, {}, ""}}, ""}; break;
      default: p.pre = Relation(Leaf(vars), Leaf(vars));
    }
    return p;
  }
};

// What a check found; problem empty when the program passed.
struct Outcome { std::string program, problem; bool wrong = false, open = false; };

// Generates the program the bytes choose, verifies it and checks it at every
// stride-th input (all of them by default).
inline Outcome Check(const unsigned char *data, size_t size, int stride = 1) {
  Generator g{data, size};
  Program p = g.Make();
  Outcome o;
  o.program = p.Text();
  std::string text = o.program;
  char *s = FuzzLoad(reinterpret_cast<const unsigned char *>(text.c_str()), text.size());
  ProcedurePtr proc = Procedure2Ptr("g");
  GenerateVerificationCond();
  FormulaPtr condition = assumptionList.assumption ? assumptionList.assumption->formula2 : nullptr;
  bool faithful = proc && !proc->readError && condition &&
                  !(assumptionList.assumptionList && assumptionList.assumptionList->assumption);
  std::string witness;
  for (int k = 0; k < INPUTS; k += stride) {
    State in;
    in.arrayKind = k % 2;
    for (int v = 0, x = k / 2; v < 4; v++, x /= INPUT_VALUES)
      in.names.push_back({std::string(1, "ijmf"[v]), INPUT_MIN + x % INPUT_VALUES});
    State out = in;
    if (p.pre.Eval(in, false) != 1 || !p.Run(out)) continue;
    int says = p.post.Eval(out, true), vc = faithful ? EvalFormula(condition, in) : -1;
    auto at = [&in]() {
      std::string t;
      for (auto &x : in.names) t += x.first + "=" + std::to_string(x.second) + " ";
      return t + (in.arrayKind ? "a[k]=k" : "a[k]=0");
    };
    if (says >= 0 && vc >= 0 && says != vc && o.problem.empty())
      o.problem = "its condition says " + std::to_string(vc) + " where the program gives " +
                  std::to_string(says) + " at " + at();
    if (!o.wrong && says == 0 && p.post.Eval(out, false) == 0) o.wrong = true, witness = at();
  }
  AssumptionList2SequentList();
  SimplifySequentAll();
  for (SequentListPtr q = &sequentList; q && q->sequent; q = q->sequentList)
    if (!q->sequent->proved && strcmp(q->sequent->remark, "g") == 0) o.open = true;
  if (o.wrong && !o.open && o.problem.empty()) o.problem = "proved, but wrong at " + witness;
  free(s);
  return o;
}

}  // namespace soundgen
