// The call rule: bindings, defining equations, "#" and "@" names, and the
// calls that cannot be used.
#include "vctest.h"

static const char *kCallee =
    "{#y=y^z>0}%PROC q(%IOP/y:int;%INP/z:int)==%STM[LB=1=>$Oy=+(y,z)^$OLB=2;]{y=+(#y,z)^@w>y}";

TEST(CallRule, BindingsInitialValuesAndEgenNames) {
  std::string text = kCallee;
  text += "{t>0}%PROC main(%IOP/b:int;%INP/t:int)==%STM[LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;]{b>t}";
  std::string out;
  auto a = VcGenerate(text.c_str(), &out);
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(a[1].proc, "main");
  EXPECT_EQ(a[1].hyp, "t>0");
  // #y is bound to b by the initial-value equation; @w got a fresh name.
  EXPECT_EQ(a[1].concl, "(t>0^(~#@b>+(b,t)|+(b,t)>t))");
  EXPECT_EQ(out.find("Error"), std::string::npos) << out;
}

TEST(CallRule, CalleeWithoutPreConditionAndOnlyDefiningEquations) {
  auto a = VcGenerate(
      "%PROC inc(%IOP/y:int)==%STM[LB=1=>$Oy=+(y,1)^$OLB=2;]{y=+(#y,1)}"
      "%PROC main(%IOP/b:int)==%STM[LB=1=>inc(%IOP/b|y)^$OLB=2;]{b>0}");
  // No pre-condition and nothing but the definition: the post alone, with the
  // unbound #y left as a fresh name.
  EXPECT_EQ(VcLastOf(a, "main"), "+(#@a,1)>0");
}

TEST(CallRule, TurnsEquationsWithTheOutputOnTheRight) {
  auto a = VcGenerate(
      "{$T}%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Oy=+(x,1)^$OLB=2;]{+(x,1)=y^x=x}"
      "%PROC main(%INP/a:int;%IOP/b:int)==%STM[LB=1=>q(%INP/a|x;%IOP/b|y)^$OLB=2;]{b>a}");
  // x=x is between inputs: not defining, it stays a hypothesis.
  EXPECT_EQ(VcLastOf(a, "main"), "($T^(~a=a|+(a,1)>a))");
}

TEST(CallRule, MissingCalleeGivesErrorAndFalsePreCondition) {
  std::string out;
  auto a = VcGenerate("%PROC main(%IOP/b:int)==%STM[LB=1=>nosuch(%IOP/b|y)^$OLB=2;]{b=1}", &out);
  EXPECT_NE(out.find("Error: Procedure Call\n"), std::string::npos) << out;
  EXPECT_EQ(VcLastOf(a, "main"), "~$T");
}

TEST(CallRule, CallWithoutBindings) {
  auto a = VcGenerate(
      "%PROC r()==%STM[LB=1=>$OLB=2;]{$T}"
      "%PROC main(%IOP/x:int)==%STM[LB=1=>r()^$OLB=2;]{x>0}");
  EXPECT_EQ(VcLastOf(a, "main"), "(~$T|x>0)");
}

TEST(CallRule, UndefinedOutputsGetAnUnknownValue) {
  // The callee's post says nothing about y, so b is unknown afterwards.
  auto a = VcGenerate(
      "%PROC inc(%IOP/y:int)==%STM[LB=1=>$Oy=1^$OLB=2;]{$T}"
      "{b=5}%PROC main(%IOP/b:int)==%STM[LB=1=>inc(%IOP/b|y)^$OLB=2;]{b=5}");
  EXPECT_EQ(VcLastOf(a, "main"), "(~$T|#@a=5)");
}

TEST(CallRule, OnlyOutputFormalsAreDefined) {
  VcReset();
  VcLoad("%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Oy=x^$OLB=2;]{y=x}");
  ProcedurePtr q = Procedure2Ptr("q");
  ASSERT_NE(q, nullptr);
  struct Case { const char *text; int result; const char *after; };
  const Case cases[] = {
      {"t=1", 0, "t=1"},            // a callee local
      {"1=y", 1, "y=1"},            // numeral on the left: turned
      {"\"s\"=x", 0, "\"s\"=x"},    // a string and an input
      {"x=y", 1, "y=x"},            // input on the left: turned
      {"b=y", 1, "y=b"},            // a name of the caller is not an output
      {"y=z", 1, "y=z"},
      {"#y=y", 1, "y=#y"},
      {"x<y", 0, "x<y"},
  };
  for (const Case &c : cases) {
    FormulaPtr f = FormulaAlloc();
    char *s = strdup(c.text);
    FormulaRead(s, f);
    EXPECT_EQ(isAssign(f, q), c.result) << c.text;
    EXPECT_EQ(VcPrint(f), c.after) << c.text;
    EXPECT_EQ(isNotAssign(f, q), !c.result) << c.text;
    free(s);
  }
  TermPtr y = TermAlloc();
  TermSetName(y, "y");
  y->type = 2;
  EXPECT_EQ(isIop(y, q), 1);
  EXPECT_EQ(isInp(y, q), 0);
  TermSetName(y, "x");
  EXPECT_EQ(isInp(y, q), 1);
  EXPECT_EQ(isIop(y, q), 0);
  TermSetName(y, "w");
  EXPECT_EQ(isInp(y, q), 0);
}

TEST(CallRule, EquationsBetweenOutputsAreNotDefinitions) {
  // y=z and z=y tie the outputs together but fix neither.
  auto a = VcGenerate(
      "%PROC q(%IOP/y:int;%IOP/z:int)==%STM[LB=1=>$Oy=0^$Oz=0^$OLB=2;]{y=z^z=y}"
      "{c=5}%PROC main(%IOP/b:int;%IOP/c:int)==%STM[LB=1=>q(%IOP/b|y;%IOP/c|z)^$OLB=2;]{b=5}");
  EXPECT_EQ(VcLastOf(a, "main"), "(~(#@a=#@b^#@b=#@b)|#@a=5)");

  // A definition by another defined output is still a definition.
  a = VcGenerate(
      "%PROC q(%IOP/y:int;%IOP/z:int)==%STM[LB=1=>$Oz=5^$Oy=6^$OLB=2;]{y=+(z,1)^z=5}"
      "%PROC main(%IOP/b:int;%IOP/c:int)==%STM[LB=1=>q(%IOP/b|y;%IOP/c|z)^$OLB=2;]{b=c}");
  EXPECT_EQ(VcLastOf(a, "main"), "+(5,1)=5");
}

TEST(CallRule, CalleeThatAssignsAnInputCannotBeUsed) {
  std::string out;
  auto a = VcGenerate(
      "%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Ox=0^$OLB=2;LB=2=>$Oy=x^$OLB=3;]{y=x}"
      "%PROC main(%INP/a:int;%IOP/b:int)==%STM[LB=1=>q(%INP/a|x;%IOP/b|y)^$OLB=2;]{b=a}",
      &out);
  EXPECT_EQ(VcLastOf(a, "main"), "~$T");
  EXPECT_NE(out.find("Error: Procedure Call\n"), std::string::npos) << out;
  EXPECT_NE(out.find("input parameter x"), std::string::npos) << out;

  // Passing the input on as an output of another call assigns it as well.
  a = VcGenerate(
      "%PROC set(%IOP/v:int)==%STM[LB=1=>$Ov=0^$OLB=2;]{v=0}"
      "%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>set(%IOP/x|v)^$OLB=2;LB=2=>$Oy=x^$OLB=3;]{y=x}"
      "%PROC main(%INP/a:int;%IOP/b:int)==%STM[LB=1=>q(%INP/a|x;%IOP/b|y)^$OLB=2;]{b=a}",
      &out);
  EXPECT_EQ(VcLastOf(a, "main"), "~$T");
}

TEST(CallRule, BindingsMustMatchTheFormals) {
  const char *callee = "%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Oy=x^$OLB=2;]{y=x}";
  const char *calls[] = {
      "LB=1=>q(%IOP/b|y)^$OLB=2;",                        // x unbound
      "LB=1=>q(%INP/a|x;%IOP/b|y;%INP/a|x)^$OLB=2;",      // x bound twice
      "LB=1=>q(%INP/a|x;%IOP/1|y)^$OLB=2;",               // output to a numeral
      "LB=1=>q(%INP/a|x;%IOP/+(b,1)|y)^$OLB=2;",          // output to a term
      "LB=1=>q(%INP/a|x;%IOP/b|y;%INP/a|w)^$OLB=2;",      // w is no formal
  };
  for (const char *call : calls) {
    std::string text = callee;
    text += "%PROC main(%INP/a:int;%IOP/b:int)==%STM[";
    text += call;
    text += "]{b=a}";
    std::string out;
    auto a = VcGenerate(text.c_str(), &out);
    EXPECT_EQ(VcLastOf(a, "main"), "~$T") << call;
    EXPECT_NE(out.find("Error: Procedure Call\n"), std::string::npos) << call << out;
  }
  // Two outputs passed the same variable.
  std::string out;
  auto a = VcGenerate(
      "%PROC q(%IOP/y:int;%IOP/z:int)==%STM[LB=1=>$Oy=0^$Oz=1^$OLB=2;]{y=0^z=1}"
      "%PROC main(%IOP/b:int)==%STM[LB=1=>q(%IOP/b|y;%IOP/b|z)^$OLB=2;]{b=0}",
      &out);
  EXPECT_EQ(VcLastOf(a, "main"), "~$T");
  EXPECT_NE(out.find("Error: Procedure Call\n"), std::string::npos) << out;
  // The same variable as an input and an output is fine.
  a = VcGenerate(
      "%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Oy=+(x,1)^$OLB=2;]{y=+(x,1)}"
      "%PROC main(%IOP/b:int)==%STM[LB=1=>q(%INP/b|x;%IOP/b|y)^$OLB=2;]{b>0}",
      &out);
  EXPECT_EQ(VcLastOf(a, "main"), "+(b,1)>0");
}

TEST(CallRule, OnlyTheFirstInitialValueEquationBinds) {
  auto a = VcGenerate(
      "{#n=n^#n=0}%PROC q(%IOP/n:int)==%STM[LB=1=>$On=+(n,1)^$OLB=2;]{n=+(#n,1)}"
      "%PROC main(%IOP/b:int)==%STM[LB=1=>q(%IOP/b|n)^$OLB=2;]{b=1}");
  // The second equation stays a demand on the argument.
  EXPECT_EQ(VcLastOf(a, "main"), "(b=0^+(b,1)=1)");

  // An argument that is not a plain name gives no initial value.
  a = VcGenerate(
      "{#n=n}%PROC q(%INP/n:int;%IOP/y:int)==%STM[LB=1=>$Oy=n^$OLB=2;]{y=#n}"
      "%PROC main(%INP/a:int;%IOP/b:int)==%STM[LB=1=>q(%INP/+(a,1)|n;%IOP/b|y)^$OLB=2;]{b>a}");
  EXPECT_EQ(VcLastOf(a, "main"), "(#@a=+(a,1)^#@a>a)");
}

TEST(CallRule, InitialValueEquationsNeedPlainNames) {
  struct Case { const char *text; int result; const char *after; };
  const Case cases[] = {
      {"#x=x", 1, "#x=x"}, {"x=#x", 1, "#x=x"}, {"#x=f(y)", 0, "#x=f(y)"},
      {"f(y)=#x", 0, "f(y)=#x"}, {"x=y", 0, "x=y"}, {"#x<x", 0, "#x<x"},
  };
  for (const Case &c : cases) {
    FormulaPtr f = FormulaAlloc();
    char *s = strdup(c.text);
    FormulaRead(s, f);
    EXPECT_EQ(isInit(f, nullptr), c.result) << c.text;
    EXPECT_EQ(VcPrint(f), c.after) << c.text;
    EXPECT_EQ(isNotInit(f, nullptr), !c.result) << c.text;
    free(s);
  }
}

TEST(CallRule, EgenEquationsOfTheCalleeMustHoldInItsOwnVerification) {
  // y=@v^z=@v claims y=z: the callee's own condition keeps that demand.
  auto a = VcGenerate(
      "%PROC q(%IOP/y:int;%IOP/z:int)==%STM[LB=1=>$Oy=0^$OLB=2;LB=2=>$Oz=1^$OLB=3;]{y=@v^z=@v}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "1=0");
}

TEST(CallRule, CalleeNamesThatAreNotFormalsStayApartFromTheCallers) {
  // The callee's t is its own local; the caller's t is another variable.
  auto a = VcGenerate(
      "%PROC q(%IOP/y:int)==%LOC[int:t]%STM[LB=1=>$Ot=3^$OLB=2;LB=2=>$Oy=t^$OLB=3;]{y=t}"
      "{t=7}%PROC main(%IOP/b:int;%IOP/t:int)==%STM[LB=1=>q(%IOP/b|y)^$OLB=2;]{b=t}");
  EXPECT_EQ(VcLastOf(a, "main"), "#@a=t");
}

TEST(CallRule, SelectorsKeepOrderAndAskOncePerElement) {
  VcReset();
  VcLoad("%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Oy=x^$OLB=2;]{y=x}");
  ProcedurePtr q = Procedure2Ptr("q");
  char text[] = "y=1^x<2^2=y^x=x";
  FormulaPtr f = FormulaAlloc();
  FormulaRead(text, f);
  FormulaListPtr all = Formula2FormulaList(f, '^');
  static int calls;
  calls = 0;
  FormulaListPtr e = FormulaListSelect(all, q, [](FormulaPtr p, ProcedurePtr pr) {
    calls++;
    return isAssign(p, pr);
  });
  EXPECT_EQ(calls, 4);
  Text t;
  TextInit(&t);
  FormulaListPrint(e, &t);
  EXPECT_STREQ(TextStr(&t), "y=1,y=2");
  TextClear(&t);
  FormulaListPrint(FormulaListSelect(all, q, isNotAssign), &t);
  EXPECT_STREQ(TextStr(&t), "x<2,x=x");
  EXPECT_EQ(FormulaListSelect(all, q, [](FormulaPtr, ProcedurePtr) { return 0; }), nullptr);
  EXPECT_EQ(FormulaListSelect(nullptr, q, isAssign), nullptr);

  AssignList a2 = {nullptr, nullptr}, a1 = {nullptr, &a2};
  Assign x1 = {TermAlloc(), TermAlloc()}, x2 = {TermAlloc(), TermAlloc()};
  TermSetName(x1.termLeft, "x");
  TermSetName(x2.termLeft, "y");
  x1.termLeft->type = x2.termLeft->type = 2;
  a1.assign = &x1;
  a2.assign = &x2;
  AssignListPtr s = AssignListSelect(&a1, q, isIop);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->assign, &x2);
  EXPECT_EQ(s->assignList, nullptr);
  // A node without an assignment ends the list.
  AssignList empty = {nullptr, &a1};
  EXPECT_EQ(AssignListSelect(&empty, q, isInp), nullptr);
  TextFree(&t);
}
