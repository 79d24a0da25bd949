// The statement rules (assignment, sequence, case, loop), the procedure's own
// post-condition, and statements with missing parts.
#include "vctest.h"

// Nested loops.
static const char *const kNested = "%PROC p(%IOP/i:int;%IOP/j:int)==%STM[*[LB=1^i<9=>($OLB=2|$OLB=9)"
    "*[LB=2^j<9=>($OLB=3|$OLB=4)LB=3=>$Oj=s(j)^$OLB=2;{j>1}]LB=4=>$Oi=s(i)^$OLB=1;{i>0}]]{i=9}";

TEST(StatementRules, WorkedConditionsAndMissingParts) {
  const VcCase worked[] = {
      // Simultaneous substitution; no pre-condition gives an empty hypothesis.
      {"%PROC p(%IOP/x:int;%IOP/y:int)==%STM[LB=1=>$Ox=y^$Oy=x^$OLB=2;]{x=y}", "p:  => y=x", ""},
      {"%PROC p(%IOP/a:arr)==%STM[LB=1=>$Oa[i]=5^$OLB=2;]{a[j]=5}", "p:  => a[[(i)->5]][j]=5", ""},
      // Two elements of one array at once are fine; one variable twice is not.
      {"%PROC p(%IOP/a:arr)==%STM[LB=1=>$Oa[i]=1^$Oa[j]=2^$OLB=2;]{a[k]=1}",
       "p:  => a[[(i)->1,(j)->2]][k]=1", ""},
      {"%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$Ox=2^$OLB=2;]{x=1}", "p:  => ~$T",
       "Error: p: statement (1,2) assigns x twice\n"},
      // Backwards from the last statement; an assertion inside does not cut.
      {"{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;LB=2=>$Ox=*(x,2)^$OLB=3;"
       "{x<0}LB=3=>$Ox=-(x,3)^$OLB=4;]{x>5}", "p: x>0 => -(*(+(x,1),2),3)>5", ""},
      {"%PROC p(%IOP/x:int)==%STM[?[LB=1^x>0=>$OLB=2|~=>$OLB=4;LB=2=>$Ox=1^$OLB=4;]]{x>0}",
       "p:  => ((~x>0|1>0)^(x>0|x>0))", ""},  // a missing second branch takes the post-condition
      // Inner loops first; the pre of the outer body is the inner invariant.
      {kNested, "p: (j<9^j>1) => s(j)>1; p: (~j<9^j>1) => s(i)>0; p: (i<9^i>0) => j>1; "
       "p: (~i<9^i>0) => i=9; p:  => i>0", ""},
      // Loops in both branches of a case: the first branch's loop first.
      {"%PROC p(%IOP/i:int)==%STM[?[LB=1^i>0=>$OLB=2|~=>$OLB=5;"
       "*[LB=2^i>1=>($OLB=3|$OLB=8)LB=3=>$Oi=-(i,1)^$OLB=2;{i>0}]"
       "*[LB=5^i<0=>($OLB=6|$OLB=8)LB=6=>$Oi=+(i,1)^$OLB=5;{i<1}]]]{i=i}",
       "p: (i>1^i>0) => -(i,1)>0; p: (~i>1^i>0) => i=i; p: (i<0^i<1) => +(i,1)<1; "
       "p: (~i<0^i<1) => i=i; p:  => ((~i>0|i>0)^(i>0|i<1))", ""},
      // Egen equations leave, their value reaching the other conjuncts; one not solved for @v stays.
      {"%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{@v=+(x,1)^@v>x^x>0}", "p:  => (+(1,1)>1^1>0)", ""},
      {"%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{@v=+(x,1)}", "p:  => $T", ""},  // nothing left: $T
      {"%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$OLB=2;]{@v=f(@v)^x>0}", "p:  => (@v=f(@v)^1>0)", ""},
  };
  for (const VcCase &c : worked) VcCheck(c);
  // The procedure's own post-condition is not changed.
  EXPECT_EQ(VcPrint(Procedure2Ptr("p")->postCond), "(@v=f(@v)^x>0)");
  // A loop without invariant cannot be used.
  auto w = VcGenerate(
      "{x>0}%PROC p(%IOP/x:int)==%STM[*[LB=1^x>0=>($OLB=2|$OLB=3)LB=2=>$Ox=-(x,1)^$OLB=1;]]{x=0}");
  ASSERT_EQ(w.size(), 3u);
  EXPECT_EQ(w[2].concl, "~$T");
  // Missing parts give a false pre-condition.
  const char *loop =
      "%PROC p(%IOP/x:int)==%STM[*[LB=1^x>0=>($OLB=3|$OLB=4)LB=3=>$Ox=-(x,1)^$OLB=1;{x>0}]]{x=0}";
  const char *cases = "%PROC p(%IOP/x:int)==%STM[?[LB=1^x>0=>$OLB=2|~=>$OLB=3;"
                      "LB=2=>$Ox=1^$OLB=4;LB=3=>$Ox=2^$OLB=4;]]{x>0}";
  // field: '1'/'2' the statement's first/second labels, 't' its kind.
  struct { const char *text, *label; char field; const char *value, *concls; } rows[] = {
      {loop, "(1,4)", '1', "(7,1)", "~$T; x=0; ~$T"},  // a loop body that names nothing
      {loop, "(1,4)", '1', "(1,4)", "~$T; x=0; ~$T"},  // a loop that is its own body
      {cases, "(1,4)", '2', "(9,4)", "((~x>0|1>0)^(x>0|~$T))"},
      {cases, "(2,4)", 't', "9", "((~x>0|~$T)^(x>0|2>0))"},  // a statement of no known kind
  };
  for (auto &r : rows) {
    SCOPED_TRACE(r.value);
    VcLoad(r.text);
    SentencePtr s = Sentence2Ptr(r.label);
    ASSERT_TRUE(s);
    if (r.field == 't') s->type = 9;
    else (r.field == '1' ? s->labels1 : s->labels2) = LabelKeep(r.value);
    std::string concls;
    for (auto &a : VcGenerate()) concls += (concls.empty() ? "" : "; ") + a.concl;
    EXPECT_EQ(concls, r.concls);
    EXPECT_EQ(vcOut, "");
  }
  // An inner loop whose body is made the outer loop: the calculus would go
  // round for ever; it is cut and reported.
  ASSERT_TRUE(VcLoad(kNested));
  Sentence2Ptr("(2,4)")->labels1 = "(1,9)";
  auto a = VcGenerate();
  EXPECT_EQ(vcOut, "Error: CalPreCond: statements nested too deeply\n");
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(a.back().proc, "p");
  EXPECT_NE((VcRender(a) + ";").find(" => ~$T;"), std::string::npos);  // the cut part is false
}

TEST(StatementRules, GuardedSubstitutionOfACopy) {
  auto read = [](const std::string &text) {
    FormulaPtr f = FormulaAlloc();
    FormulaRead(strdup(text.c_str()), f);
    return f;
  };
  FormulaPtr f = read("x>y");
  AssignListPtr sl = ReadAssigns("$Ox=+(x,x)");
  int big = 0;
  FormulaPtr c = GenSubstCopy(f, sl, &big);
  EXPECT_EQ(VcPrint(c) + " " + VcPrint(f) + " " + std::to_string(big), "+(x,x)>y x>y 0");
  // f(x,...,x) with 70000 arguments: each x would become three nodes.
  std::string wide = "f(x";
  for (int i = 1; i < 70000; i++) wide += ",x";
  f = read(wide + ")>0");
  EXPECT_EQ(GenSubstCopy(f, sl, &big), nullptr);
  EXPECT_EQ(big, 1);
  // Without assignments the copy is still checked against the bound.
  big = 0;
  EXPECT_EQ(VcPrint(GenSubstCopy(f, nullptr, &big)), wide + ")>0");
  EXPECT_EQ(big, 0);
  for (int i = 70000; i <= FORMULA_NODE_LIMIT; i++) wide += ",x";
  EXPECT_EQ(GenSubstCopy(read(wide + ")>0"), nullptr, &big), nullptr);
  EXPECT_EQ(big, 1);
  FreeAssigns(sl);
}

TEST(StatementRules, NameSearchesReachUpdateListsAndQuantifiers) {
  FormulaPtr f = FormulaAlloc();
  FormulaRead(strdup("$Ak:(a[j]>f(g(w))|k=0)"), f);
  AssignListPtr sl = ReadAssigns("$Oa[i]=+(u,1)");
  int big = 0;
  f = GenSubst(f, sl, &big);
  ASSERT_EQ(VcPrint(f), "$Ak:(a[[(i)->+(u,1)]][j]>f(g(w))|k=0)");
  for (const char *n : {"k", "a", "i", "u", "1", "j", "f", "g", "w", "0"})
    EXPECT_TRUE(FormulaMentionsName(f, n)) << n;
  for (const char *n : {"b", "", "+1"}) EXPECT_FALSE(FormulaMentionsName(f, n)) << n;
  EXPECT_FALSE(FormulaMentionsName(nullptr, "x") || TermMentionsName(nullptr, "x"));
  FreeAssigns(sl);
}
