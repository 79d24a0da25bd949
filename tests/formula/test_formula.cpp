// Formulas: the reader (grouping, error tolerance, nesting bound), printing, equality, size,
// substitution with bound variables, lists, fresh names, egen variables and line breaking.
#include <cstring>
#include <set>
#include <string>

#include "../../formula/formula.h"
#include "../testutil.h"

static FormulaPtr ReadF(std::string text) {   // the reader writes into its text
  FormulaPtr t = FormulaAlloc();
  FormulaRead(&text[0], t);
  return t;
}
static std::string P(FormulaPtr t) { return Str(t, FormulaPrint); }
static std::string PL(FormulaListPtr p) { return Str(p, FormulaListPrint); }
static std::string Done(FormulaPtr t) {   // printed, then freed
  std::string r = P(t);
  return FormulaFree(t), r;
}
static std::string RP(const std::string &text) { return Done(ReadF(text)); }
static FormulaPtr L(FormulaPtr f) { return static_cast<FormulaPtr>(f->left); }
static FormulaPtr R(FormulaPtr f) { return static_cast<FormulaPtr>(f->right); }
static void DropJoints(FormulaPtr t) {   // frees the "^" nodes only
  if (t && t->connective == '^') DropJoints(L(t)), DropJoints(R(t)), free(t);
}
// The read formula split at "^" into a list that owns its elements.
static FormulaListPtr ReadList(const std::string &text) {
  FormulaPtr f = ReadF(text);
  FormulaListPtr p = Formula2FormulaList(f, '^');
  return DropJoints(f), p;
}

TEST(FormulaRead, GroupingPrimariesToleranceAndRoundTrips) {
  struct { const char *in, *out; } cases[] = {
      // "^" binds tighter than "|", "|" than "->"; chains group to the right.
      {"a^b|c", "((a^b)|c)"}, {"a|b^c", "(a|(b^c))"}, {"a->b->c", "((a)->((b)->c))"},
      {"a|b->c", "(((a|b))->c)"}, {"a^b^c", "(a^(b^c))"}, {"(a^b)^c", "((a^b)^c)"},
      {"~(a=b^c=d)", "~(a=b^c=d)"}, {"$Ex:p(x)", "~$Ax:~p(x)"}, {"$F", "~$T"},
      // The body of a quantifier is one primary; "$" and another letter begin a name.
      {"$Ax:a=b^c=d", "($Ax:a=b^c=d)"}, {"$Ax:(a=b^c=d)", "$Ax:(a=b^c=d)"}, {"$OLB=x", "$OLB=x"},
      {"$Tx=1", "$T"}, {"", ""},
      // Surplus or missing parentheses: read up to what makes sense.
      {"(a=b)c=d", "a=b"}, {"a|b)", "a"}, {"(a|b", "(a|b)"}, {"((a^b)", "(a^b)"},
  };
  for (auto &c : cases) EXPECT_EQ(RP(c.in), c.out) << c.in;
  FormulaPtr f = ReadF("~a=b"), g = ReadF("(a|b)^c");
  EXPECT_TRUE(f->connective == '~' && R(f)->connective == '=' && R(g)->connective == '.');
  FormulaFree(f), FormulaFree(g);
  CaptureStdout();
  f = ReadF("$Ax");
  std::string out = Out();
  CaptureStdout();
  std::string wrong = RP("a<=b");
  EXPECT_EQ(out + wrong + "|" + Out(), "Error: FOR ALL\na<|Error: *** Missing name ***\n");
  EXPECT_TRUE(P(f) == "$Ax:" && R(f)->connective == 0);
  FormulaFree(f);
  // FormulaRead1 returns the offset of the closing parenthesis.
  char buf[] = "(a|b)^c", buf2[] = "~~x=y,z";
  f = FormulaAlloc(), g = FormulaAlloc();
  EXPECT_TRUE(FormulaRead1(buf, f) == 4 && P(f) == "(a|b)" && FormulaRead1(buf2, g) == 5);
  FormulaFree(f), FormulaFree(g);
  for (const char *t : {"f(x)>g(y,z)", "$F", "(a->b)->c", "$Ax:$Ay:(x=y->y=x)", "$Ex:(x<y^~x=z)",
                        "a[i,j]=+(a[k],1)^b=c", "~(a|b)^$Ax:~p(x)|q->r^s"}) {
    f = ReadF(t), g = ReadF(P(f));
    EXPECT_TRUE(FormulaEqual(f, g) && P(g) == P(f)) << t;   // print and read again
    FormulaFree(f), FormulaFree(g);
  }
}

TEST(FormulaRead, DeepNestingIsBounded) {
  // 2000 nested parentheses, conjunctions and negations read, print, copy and compare.
  std::string conj, negs = std::string(2000, '~') + "p", quants;
  for (int i = 0; i < 2000; i++) conj += "(a^";
  conj += "b" + std::string(2000, ')');
  EXPECT_EQ(RP(std::string(2000, '(') + "a=b" + std::string(2000, ')')), "a=b");
  EXPECT_EQ(RP(negs), negs);
  FormulaPtr g = ReadF(conj), h = FormulaCopy(g);
  EXPECT_TRUE(P(g) == conj && FormulaEqual(g, h) && FormulaPrintEqual(g, h));
  FormulaFree(g), FormulaFree(h);
  // Beyond the bound: an Error line, no crash, nothing past the bound read.
  for (int i = 0; i < MAX_NEST_DEPTH + 10; i++) quants += "$Ax:";
  for (auto deep : {std::make_pair(std::string(MAX_NEST_DEPTH + 10, '~') + "p", 1u),
                    {quants + "p", 4u}, {std::string(MAX_NEST_DEPTH + 10, '(') + "a", 1u}}) {
    CaptureStdout();
    std::string printed = RP(deep.first);
    EXPECT_NE(Out().find("Error: *** Formula nested too deeply ***"), std::string::npos);
    EXPECT_LE(printed.size(), deep.second * MAX_NEST_DEPTH);
  }
  EXPECT_EQ(RP("a" + std::string(5000, ')') + "|b^c"), "a");
  // Long right-grouped chains do not count as nesting.
  std::string chain = "a";
  for (int i = 0; i < 3 * MAX_NEST_DEPTH; i++) chain += "^a";
  CaptureStdout();
  FormulaPtr f = ReadF(chain);
  EXPECT_TRUE(Out().empty() && FormulaSize(f, 1000000) == 9L * MAX_NEST_DEPTH + 2);
  FormulaFree(f);
}

TEST(FormulaStruct, CopyCombineSizeAndEquality) {
  FormulaPtr f = ReadF("$Ax:p(x)"), g = FormulaCopy(f);
  FormulaFree(f);
  FormulaPtr c = CombineCond(g, '^', FormulaMakeFalse());   // the copy shares nothing with the freed original
  EXPECT_TRUE(!FormulaCopy(nullptr) && c->left == g && P(c) == "($Ax:p(x)^~$T)");
  FormulaFree(c), FormulaFree(nullptr);
  f = ReadF("a=f(b)^p(c)");
  EXPECT_EQ(FormulaSize(f, 100) + FormulaSize(nullptr, 100), 8);   // "^", "=", a, f, b, ".", p, c
  FormulaFree(f);
  // A shared DAG whose tree form has 2^60 nodes: counting stops just past the limit.
  FormulaPtr leaf = ReadF("p"), top = leaf, nodes[60];
  for (int i = 0; i < 60; i++) top = nodes[i] = CombineCond(top, '^', top);
  long n = FormulaSize(top, 1000);
  EXPECT_TRUE(n > 1000 && n < 1100) << n;
  for (FormulaPtr x : nodes) free(x);
  FormulaFree(leaf);
  // Equality takes "=" both ways round, nothing else.
  struct { const char *a, *b; int eq; } cases[] = {
      {"a=b", "b=a", 1}, {"a<b", "b>a", 0}, {"~$T", "$T", 0}, {"$Ax:p(x)", "$Ay:p(y)", 0},
      {"p(x)", "p(y)", 0}, {"a=b^c=d", "b=a^d=c", 1}, {"a=b^c=d", "c=d^a=b", 0}, {"a|b", "a^b", 0},
      {"a=a", "a=b", 0}, {"a=b", "b=b", 0}, {"f(a)=f(a)", "f(a)=f(a)", 1},
  };
  for (auto &c : cases) {
    f = ReadF(c.a), g = ReadF(c.b);
    EXPECT_EQ(FormulaEqual(f, g), c.eq) << c.a << " vs " << c.b;
    FormulaFree(f), FormulaFree(g);
  }
  const char *texts[] = {"a=b", "b=a", "p(x)", "p(x,y)", "~$T", "$Ax:p(x)", "$Ay:p(x)",
                         "a^b", "a|b", "(a^b)^c", "a^(b^c)", "a[i]=1", "a[j]=1", ""};
  for (const char *a : texts)
    for (const char *b : texts) {
      f = ReadF(a), g = ReadF(b);
      EXPECT_EQ(FormulaPrintEqual(f, g), P(f) == P(g) ? 1 : 0) << a << " vs " << b;
      FormulaFree(f), FormulaFree(g);
    }
  FormulaPtr e = FormulaAlloc(), t = FormulaMakeTrue(), a = ReadF("a[i]=1"), b = ReadF("a[i]=1");
  EXPECT_TRUE(FormulaEqual(nullptr, nullptr) && !FormulaEqual(t, nullptr) && !FormulaEqual(nullptr, t));
  EXPECT_TRUE(FormulaPrintEqual(nullptr, e) && FormulaPrintEqual(e, nullptr) &&   // both print as ""
              !FormulaPrintEqual(t, nullptr));
  // Update lists take part in the comparison.
  AssignListPtr sl = ReadAssigns("$Oa[k]=5");
  a = FormulaSubstSim(a, sl);
  c = FormulaCopy(a);
  EXPECT_TRUE(P(a) == "a[[(k)->5]][i]=1" && !FormulaPrintEqual(a, b) && FormulaPrintEqual(a, c));
  for (FormulaPtr x : {t, a, b, c}) FormulaFree(x);
  free(e), FreeAssigns(sl);
}

static std::string SubstF(const char *f, const char *assigns) {
  InitializeNewName();
  AssignListPtr sl = ReadAssigns(assigns);
  std::string r = Done(FormulaSubstSim(ReadF(f), sl));
  return FreeAssigns(sl), r;
}

TEST(FormulaStruct, SubstitutionRespectsBoundVariables) {
  struct { const char *f, *s, *want; } cases[] = {
      {"+(x,y)=z", "$Ox=y^$Oy=x", "+(y,x)=z"}, {"p(x)^~q(y)|x<y", "$Ox=1", "((p(1)^~q(y))|1<y)"},
      {"$Ax:p(x,z)", "$Ox=y", "$Ax:p(x,z)"}, {"$Ax:a[x]=z", "$Oa[k]=5", "$Ax:a[[(k)->5]][x]=z"},
      {"$Aa:a[i]=z", "$Oa[k]=5^$Oz=1", "$Aa:a[i]=1"},   // the bound array is not updated
      // A value that would be captured renames the bound variable to a fresh name.
      {"$Ax:x=z", "$Oz=x", "$A#@a:#@a=x"},
      {"$Ax:(p(x,z)^$Ax:q(x))", "$Oz=f(x)", "$A#@a:(p(#@a,f(x))^$Ax:q(x))"},
      {"$Ax:x=y", "$Oz=x", "$Ax:x=y"},
      // Names in the index of the inserted update pair are captured just as well,
      // at any depth, and for a whole array named plainly as well.
      {"$Ai:a[i]=1", "$Oa[i]=1", "$A#@a:a[[(i)->1]][#@a]=1"},
      {"$Ai:a[i]=1", "$Oa[f(j,c[i])]=1", "$A#@a:a[[(f(j,c[i]))->1]][#@a]=1"},
      {"$Ai:a=b", "$Oa[g(i)]=1", "$A#@a:a[[(g(i))->1]]=b"},
      {"$Ai:a[i]=1", "$Oa[j]=1", "$Ai:a[[(j)->1]][i]=1"},
  };
  for (auto &c : cases) EXPECT_EQ(SubstF(c.f, c.s), c.want) << c.f << " / " << c.s;
  // The assignments that do not bind the variable (element assignments to it neither), in a new
  // list sharing them.
  AssignListPtr one = ReadAssigns("$Ox=1"), el = ReadAssigns("$Ox[k]=1^$Oy=2");
  AssignListPtr r = AvoidBoundVarSelect(el, one->assign->termLeft);
  ASSERT_TRUE(r && r != el && r->assign == el->assignList->assign && !r->assignList);
  EXPECT_EQ(AvoidBoundVarSelect(one, one->assign->termLeft), nullptr);
  CleanPtrList(r), FreeAssigns(one), FreeAssigns(el);
}

TEST(FormulaList, SplitJoinCopyAppend) {
  FormulaPtr f = ReadF("a^(b|c)");
  FormulaListPtr p = Formula2FormulaList(f, '|');
  ASSERT_TRUE(p && p->formula == f && !p->formulaList && !Formula2FormulaList(nullptr, '^'));
  CleanPtrList(p), FormulaFree(f);
  for (const char *t : {"a^(b^c)", "(a^b)^c"}) {
    f = ReadF(t), p = Formula2FormulaList(f, '^');
    FormulaPtr g = FormulaList2Formula(p, '^');
    EXPECT_TRUE(PL(p) == "a,b,c" && P(g) == "((a^b)^c)") << t;   // joined to the left
    free(L(g)), free(g), CleanPtrList(p), FormulaFree(f);
  }
  p = ReadList("x=1");
  EXPECT_TRUE(FormulaList2Formula(p, '^') == p->formula && !FormulaList2Formula(nullptr, '^'));
  FormulaListFree(p);
  FormulaListPtr a = ReadList("a=b^c<d"), b = FormulaListCopy(a);
  EXPECT_TRUE(b->formula != a->formula && FormulaListAppend(nullptr, b) == b && FormulaListAppend(a, b) == a);
  EXPECT_TRUE(PL(a) == "a=b,c<d,a=b,c<d" && PL(nullptr).empty() && !FormulaListCopy(nullptr));
  FormulaListFree(a);
}

TEST(FormulaList, AssignFormsRewriteAndAssignLists) {
  struct { const char *f; int r; const char *after; } cases[] = {
      {"1=x", 1, "x=1"}, {"1=2", 0, "1=2"}, {"1=f(x)", 0, "1=f(x)"}, {"f(x)=y", 1, "y=f(x)"},
      {"\"s\"=x", 1, "\"s\"=x"}, {"\"s\"=f(x)", 0, "\"s\"=f(x)"}, {"x<1", 0, "x<1"}, {"a[i]=x", 1, "x=a[i]"},
  };
  for (auto &c : cases) {
    FormulaPtr f = ReadF(c.f);
    EXPECT_TRUE(isAssign1(f) == c.r && P(f) == c.after) << c.f;   // a variable is put on the left
    FormulaFree(f);
  }
  EXPECT_EQ(isAssign1(nullptr), 0);
  // Equations rewrite the other formulas, earlier ones too; a null formula ends the walk.
  for (auto w : {std::pair<const char *, const char *>{"x=1^+(x,y)=z", "x=1,z=+(1,y)"},
                 {"p(y)^x=y^y=3", "p(3),x=3,y=3"}}) {
    FormulaListPtr a = ReadList(w.first);
    EXPECT_EQ(PL(FormulaListRewrite(a)), w.second);
    FormulaListFree(a);
  }
  FormulaListPtr a = ReadList("x=1^p(x)"), extra = ReadList("p(x)");
  FormulaPtr keep = a->formulaList->formula;
  a->formulaList->formula = nullptr, a->formulaList->formulaList = extra;
  FormulaListRewrite(a);
  EXPECT_EQ(P(extra->formula), "p(x)");
  FormulaFree(keep), FormulaListFree(a);
  a = ReadList("x=1^p(x)^q(x)");
  AssignListPtr sl = ReadAssigns("$Ox=2");
  FormulaListSubstSim1(a->formulaList->formula, a, sl);   // all but the one given
  EXPECT_EQ(PL(a), "2=1,p(x),q(2)");
  EXPECT_EQ(PL(FormulaListSubstSim(a, sl)), "2=1,p(2),q(2)");
  FreeAssigns(sl), FormulaListFree(a);
  // Equations become assignments sharing their terms; other formulas are reported.
  a = ReadList("x=1^p(x)^~(y=2)^y=f(x)");
  CaptureStdout();
  AssignListPtr s = FormulaList2AssignList(a);
  EXPECT_EQ(Out(), "Error: FormulaList2Assign\nError: FormulaList2Assign\n");
  EXPECT_EQ(Str(s, AssignListPrint), "$Ox=1^$Oy=f(x)");
  EXPECT_TRUE(s->assign->termLeft == a->formula->left && s->assign->termRight == a->formula->right);
  for (AssignListPtr q = s; q; q = q->assignList) free(q->assign);
  CleanPtrList(s), FormulaListFree(a);
  EXPECT_EQ(FormulaList2AssignList(nullptr), nullptr);
}

TEST(FreshNames, SequenceAndUniqueness) {
  InitializeNewName();
  std::string names[2000];
  char s[LABEL_SIZE];
  for (auto &n : names) NewName(s), n = s;
  EXPECT_EQ(names[0] + names[1] + names[25] + names[26] + names[52], "#@a#@b#@z#@za#@zza");
  EXPECT_EQ(names[700] + names[701], "#@" + std::string(26, 'z') + "y#@" + std::string(27, 'z'));
  std::set<std::string> seen;
  for (auto &n : names)
    EXPECT_TRUE(n.size() < LABEL_SIZE && n.substr(0, 2) == "#@" && seen.insert(n).second) << n;
  InitializeNewName(), NewName(s);
  EXPECT_STREQ(s, "#@a");
}

TEST(EgenVars, RecogniseFindAndRename) {
  for (auto c : {std::pair<const char *, int>{"@v=x", 0}, {"x=@v", 0}, {"x<@v", 1}, {"x=y", 1}}) {
    FormulaPtr f = ReadF(c.first);
    EXPECT_EQ(isNotEgenVar(f, nullptr), c.second) << c.first;
    FormulaFree(f);
  }
  struct { const char *in; int which; const char *want; } cases[] = {
      // One fresh name per name: the sides first, in search order, then everywhere else.
      {"x=@a^y=@a", 1, "(x=#@a^y=#@a)"}, {"f(@b)=@a^p(@c,@a)", 1, "(f(#@b)=#@a^p(#@c,#@a))"},
      // Arguments, subscripts, array and application names, atoms, quantifier bodies.
      {"@q[@i]=@f(@y)^p(@y)^$Ax:x<@z", 1, "(#@a[#@c]=#@b(#@d)^(p(#@d)^$Ax:x<#@e))"},
      {"$A@v:p(@v)", 1, "$A#@a:p(#@a)"}, {"x=y", 1, "x=y"},
      // The second form renames "#" names and leaves fresh "#@" names alone.
      {"#@c=#x^#x<@v", 2, "(#@c=#@a^#@a<@v)"}, {"#a[#i]=#f(#@q)", 2, "#@a[#@c]=#@b(#@q)"},
  };
  for (auto &c : cases) {
    InitializeNewName();
    EXPECT_EQ(Done(c.which == 1 ? EgenVarRename(ReadF(c.in)) : EgenVarRename2(ReadF(c.in))), c.want) << c.in;
  }
  FormulaPtr f = ReadF("x=#y^z=@w"), g = ReadF("#@a=b");
  TermPtr t = FormulaEgenVarFind2(f), u = FormulaEgenVarFind(f);
  ASSERT_TRUE(t && u && t != L(f)->right && !strcmp(t->name, "#y") && !strcmp(u->name, "@w"));   // copies
  EXPECT_TRUE(!FormulaEgenVarFind2(g) && !FormulaEgenVarFind(g));
  TermFree(t), TermFree(u), FormulaFree(f), FormulaFree(g);
}

static std::string Nice(const std::string &s) {   // also checks that it appends
  auto nice = [](const char *x, Text *t) { TextAppend(t, "pre:"), NiceFormula(x, t, NICE_WIDTH); };
  std::string r = Str(s.c_str(), nice);
  EXPECT_EQ(r.substr(0, 4), "pre:");
  return r.substr(4);
}

TEST(NiceFormula, WorkedExampleSegmentsWidthAndIndent) {
  EXPECT_EQ(Nice("((alpha>0^beta>0)|((gamma>0^delta>0)|(epsilon>0^zeta>0)))"),
            "((alpha>0^beta>0)|((gamma>0^delta>0)|\n   (epsilon>0^zeta>0)))");
  std::string longName(100, 'x'), big = "p(" + std::string(60, 'y') + ")^q";
  EXPECT_TRUE(Nice("").empty() && Nice(longName) == longName);
  // Six segments of ten characters, one opening bracket in the first.
  EXPECT_EQ(Nice("(aaaaaaaa^bbbbbbbbb^ccccccccc^ddddddddd^eeeeeeeee^fffffffff"),
            "(aaaaaaaa^bbbbbbbbb^ccccccccc^\n ddddddddd^eeeeeeeee^fffffffff");
  EXPECT_EQ(Nice(big), "p(" + std::string(60, 'y') + ")^\nq");   // a long segment stays whole
  // The wrapped text of a long formula is complete.
  std::string f, joined;
  for (int i = 0; i < 3000; i++) f += "(x" + std::to_string(i) + "=1^";
  f += "y" + std::string(3000, ')');
  std::string w = Nice(f);
  for (char c : w)
    if (c != '\n' && c != ' ') joined += c;
  EXPECT_TRUE(joined == f && w.size() > f.size());
}
