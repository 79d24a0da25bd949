// The call rule: bindings, defining equations, "#" and "@" names, and the
// calls that cannot be used.
#include "vctest.h"

TEST(CallRule, WorkedConditions) {
  const VcCase cases[] = {
      // #y is bound to b by the initial-value equation; @w gets a fresh name.
      {"{#y=y^z>0}%PROC q(%IOP/y:int;%INP/z:int)==%STM[LB=1=>$Oy=+(y,z)^$OLB=2;]{y=+(#y,z)^@w>y}"
       "{t>0}%PROC main(%IOP/b:int;%INP/t:int)==%STM[LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;]{b>t}",
       "q: (#y=y^z>0) => (+(y,z)=+(#y,z)^@w>+(y,z)); "
       "main: t>0 => (t>0^(~#@b>+(b,t)|+(b,t)>t))", ""},
      {"%PROC main(%IOP/b:int)==%STM[LB=1=>nosuch(%IOP/b|y)^$OLB=2;]{b=1}", "main:  => ~$T",
       "Error: Procedure Call\nError: nosuch: no such procedure\n"},
      {"%PROC inc(%IOP/y:int)==%STM[LB=1=>$Oy=1^$OLB=2;]{$T}"
       "{b=5}%PROC main(%IOP/b:int)==%STM[LB=1=>inc(%IOP/b|y)^$OLB=2;]{b=5}",
       "inc:  => $T; main: b=5 => (~$T|#@a=5)", ""},  // inc's post says nothing: b is unknown after
      {"%PROC q(%IOP/y:int;%IOP/z:int)==%STM[LB=1=>$Oy=0^$Oz=0^$OLB=2;]{y=z^z=y}"
       "{c=5}%PROC main(%IOP/b:int;%IOP/c:int)==%STM[LB=1=>q(%IOP/b|y;%IOP/c|z)^$OLB=2;]{b=5}",
       "main: c=5 => (~(#@a=#@b^#@b=#@b)|#@a=5)", "", "main"},  // y=z, z=y tie the outputs, fix neither
      // A callee that assigns an input by passing it on as an output.
      {"%PROC set(%IOP/v:int)==%STM[LB=1=>$Ov=0^$OLB=2;]{v=0}"
       "%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>set(%IOP/x|v)^$OLB=2;LB=2=>$Oy=x^$OLB=3;]{y=x}"
       "%PROC main(%INP/a:int;%IOP/b:int)==%STM[LB=1=>q(%INP/a|x;%IOP/b|y)^$OLB=2;]{b=a}",
       "main:  => ~$T", "Error: Procedure Call\nError: q assigns its input parameter x\n", "main"},
      // ... or by assigning it itself.
      {"%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Ox=0^$Oy=x^$OLB=2;]{y=x}"
       "%PROC main(%INP/a:int;%IOP/b:int)==%STM[LB=1=>q(%INP/a|x;%IOP/b|y)^$OLB=2;]{b=a}",
       "main:  => ~$T", "Error: Procedure Call\nError: q assigns its input parameter x\n", "main"},
      {"%PROC q(%IOP/y:int;%IOP/z:int)==%STM[LB=1=>$Oy=0^$Oz=1^$OLB=2;]{y=0^z=1}"
       "%PROC main(%IOP/b:int)==%STM[LB=1=>q(%IOP/b|y;%IOP/b|z)^$OLB=2;]{b=0}",
       "main:  => ~$T", "Error: Procedure Call\nError: q: b is passed to two outputs\n", "main"},
      {"{#n=n^#n=0}%PROC q(%IOP/n:int)==%STM[LB=1=>$On=+(n,1)^$OLB=2;]{n=+(#n,1)}"
       "%PROC main(%IOP/b:int)==%STM[LB=1=>q(%IOP/b|n)^$OLB=2;]{b=1}",
       "main:  => (b=0^+(b,1)=1)", "", "main"},  // only the first "#n=" binds; the second is a demand
      {"{#n=n}%PROC q(%INP/n:int;%IOP/y:int)==%STM[LB=1=>$Oy=n^$OLB=2;]{y=#n}"
       "%PROC main(%INP/a:int;%IOP/b:int)==%STM[LB=1=>q(%INP/+(a,1)|n;%IOP/b|y)^$OLB=2;]{b>a}",
       "main:  => (#@a=+(a,1)^#@a>a)", "", "main"},  // not a plain name: no initial value
      {"%PROC q(%IOP/y:int;%IOP/z:int)==%STM[LB=1=>$Oy=0^$OLB=2;LB=2=>$Oz=1^$OLB=3;]{y=@v^z=@v}",
       "q:  => 1=0", ""},  // y=@v^z=@v claims y=z: the callee's own condition keeps that demand
      {"%PROC q(%IOP/y:int)==%LOC[int:t]%STM[LB=1=>$Ot=3^$OLB=2;LB=2=>$Oy=t^$OLB=3;]{y=t}"
       "{t=7}%PROC main(%IOP/b:int;%IOP/t:int)==%STM[LB=1=>q(%IOP/b|y)^$OLB=2;]{b=t}",
       "q:  => 3=3; main: t=7 => #@a=t", ""},  // the callee's local t is not the caller's t
  };
  for (const VcCase &c : cases) VcCheck(c);

  struct { const char *call, *err; } bad[] = {
      {"q(%IOP/b|y)", "q: parameter x is not bound exactly once"},
      {"q(%INP/a|x;%INP/a|x;%IOP/b|y)", "q: parameter x is not bound exactly once"},
      {"q(%INP/a|x;%IOP/1|y)", "q: the argument of y must be a variable"},
      {"q(%INP/a|x;%IOP/b|y;%INP/a|w)", "q: w is not a parameter"},
  };
  for (auto &b : bad) {
    std::string text = std::string("%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Oy=x^$OLB=2;]{y=x}") +
                       "%PROC main(%INP/a:int;%IOP/b:int)==%STM[LB=1=>" + b.call + "^$OLB=2;]{b=a}";
    std::string out = std::string("Error: Procedure Call\nError: ") + b.err + "\n";
    VcCheck({text.c_str(), "q:  => x=x; main:  => ~$T", out.c_str()});
  }
}

TEST(CallRule, DefiningEquationsAndInitialValues) {
  ProcedurePtr q = VcLoad("%PROC q(%INP/x:int;%IOP/y:int)==%STM[LB=1=>$Oy=x^$OLB=2;]{y=x}", "q");
  ASSERT_NE(q, nullptr);
  // Defining: an output on one side (turned to the left). Initial value: "#x=x" with plain names.
  struct { bool init; const char *text; int result; const char *after; } cases[] = {
      {0, "t=1", 0, "t=1"}, {0, "1=y", 1, "y=1"}, {0, "x=y", 1, "y=x"}, {0, "x<y", 0, "x<y"},  // t: a local
      {0, "b=y", 1, "y=b"},  // a name of the caller is not an output
      {1, "x=#x", 1, "#x=x"}, {1, "#x=f(y)", 0, "#x=f(y)"}, {1, "x=y", 0, "x=y"},
  };
  for (auto &c : cases) {
    FormulaPtr f = FormulaAlloc();
    FormulaRead(strdup(c.text), f);
    ProcedurePtr pr = c.init ? nullptr : q;
    EXPECT_EQ((c.init ? isInit : isAssign)(f, pr), c.result) << c.text;
    EXPECT_EQ(VcPrint(f), c.after);
    EXPECT_EQ((c.init ? isNotInit : isNotAssign)(f, pr), !c.result) << c.text;
  }
  AssignListPtr y = ReadAssigns("$Oy=1");
  AssignList empty = {nullptr, y};  // no assignment: the list ends
  EXPECT_TRUE(AssignListSelect(y, q, isIop) && !AssignListSelect(&empty, q, isIop));
}
