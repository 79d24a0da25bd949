// The rewriter, occurrence tests, function axioms, premisses pass and user axioms.
#include "provertest.h"

static std::string Rw(const std::string &text) { return FText(SimplifySequentUseRewrite(F(text))); }

TEST(Rewrite, ConnectivesQuantifiersOccurrencesAndFunctionAxioms) {
  struct { const char *in, *out; } rules[] = {
      {"~~~(x>0)", "~x>0"},    {"x<y", "y>x"},           {"x<x", "~$T"},
      {"x>0^$F", "~$T"},       {"$F|x>0", "x>0"},        {"~x>0^x>0", "~$T"},
      {"x>0^0<x", "x>0"},      {"x>0^y>0", "(x>0^y>0)"}, {"x>0->$F", "~x>0"},
      {"$F->x>0", "$T"},       {"~x>0->x>0", "x>0"},
      // no test of a conclusion beginning with T
      {"x=1->Tz=2", "((x=1)->Tz=2)"}, {"x=1->T(z)>0", "((x=1)->T(z)>0)"},
      // a quantifier stays while its variable occurs, also as array or function name
      {"$Ai:y>0", "y>0"},      {"$Ai:a[i]>0", "$Ai:a[i]>0"}, {"$Aa:a[i]>0", "$Aa:a[i]>0"},
      {"$Af:f(x)>0", "$Af:f(x)>0"}, {"$Ax:$Ax:x>0", "$Ax:$Ax:x>0"},
  };
  for (auto &c : rules) EXPECT_EQ(Rw(c.in), c.out) << c.in;
  // Long children need no buffers.
  std::string big = "x>0";
  for (int i = 0; i < 2000; i++) big = "f(" + big.substr(0, big.size() - 2) + ")>0";
  EXPECT_EQ(Rw(big + "^~" + big), "~$T");
  EXPECT_EQ(Rw(big + "|" + big), big);
  TermPtr x = T("x");
  struct { const char *f; bool free; } occurs[] = {
      {"y>0^z=f(x)", 0}, {"a[x]>0", 0}, {"x[i]>0", 0}, {"xy>0", 1}, {"$Ax:y>0", 0}, {"", 1}};
  for (auto &c : occurs) EXPECT_EQ(!!isFreeVarFormula(x, *c.f ? F(c.f) : 0), c.free) << c.f;
  // Function axioms. term: rewritten by FunRewrite; formula: by ApplyFunctionAxiomsFormula.
  struct { bool formula; const char *in, *out; } cases[] = {
      {0, "+(-(a,b),b)", "a"},        {0, "+(b,-(a,b))", "+(b,-(a,b))"}, {0, "-(+(x,y),y)", "x"},
      {0, "*(a,b)", "*(b,a)"},        {0, "-1(+1(n))", "n"},             {0, "!(n)", "!(n)"},
      {0, "a[-(i,i)]", "a[0]"},
      // the factorial unfolds at numerals only: at n = -1, !(+1(n)) = *(0,!(-1)) = 0 is false
      {0, "!(+1(n))", "!(+1(n))"},    {0, "!(+1(3))", "*(+1(3),!(3))"},  {0, "!(+1(0))", "*(1,+1(0))"},
      {0, "!(+1(+1(2)))", "!(+1(+1(2)))"}, {0, "!(+1(-1(0)))", "1"},   {0, "!(+1(2a))", "!(+1(2a))"},
      {0, "!(1)", "1"},
      {1, "0>-(x,y)", "y>x"},         {1, "-(x,y)<0", "x<y"},            {1, "~(-(x,x)>y)", "~0>y"},
      // not inside implications or quantifiers
      {1, "(-(x,x)>y)->z>0", "((-(x,x)>y)->z>0)"}, {1, "$Ax:-(x,x)>y", "$Ax:-(x,x)>y"},
      // only at the exact arity; "0" applied is not the name 0
      {0, "-(x,x,y)", "-(x,x,y)"},    {1, "-(x,x,y)=0", "-(x,x,y)=0"},
      {0, "+(-(a,b,c),b)", "+(b,-(a,b,c))"},  // ordered, not cancelled
      {0, "!(+1(n),m)", "!(+1(n),m)"}, {0, "!(0(z))", "!(0(z))"}, {1, "0(a)<-(x,y)", "0(a)<-(x,y)"},
  };
  for (auto &c : cases) {
    auto out = c.formula ? FText(ApplyFunctionAxiomsFormula(F(c.in))) : Str(FunRewrite(T(c.in)), TermPrint);
    EXPECT_EQ(out, c.out) << c.in;
  }
  // Deep sums stay linear.
  std::string t = "x";
  for (int i = 0; i < 200; i++) t = "+(" + t + ",y)";
  EXPECT_EQ(Str(FunRewrite(T(t)), TermPrint).size(), t.size());
  // The pass rewrites both sides.
  EXPECT_EQ(Passed(SimplifySequentUseFunAxioms, Seq({"-(a,a)=b"}, {"0<-(c,d)"})), "0=b\n =>\n  c>d\n\n");
}

TEST(Premisses, OppositeComparisonsDefinitionsAndBounds) {
  struct { Texts left, right; const char *out; } cases[] = {
      // a>b, b>a leave; a=b comes in front and then defines a
      {{"c>0"}, {"a>b", "b>a"}, "c>0\n =>\n  $F\n\n"},
      {{"c>a"}, {"b>a", "d>0", "a>b"}, "c>a\n =>\n  d>0\n\n"},  // b=a defines b
      {{}, {"f(a)>f(b)", "f(b)>f(a)"}, "f(a)=f(b)\n =>\n  $F\n\n"},
      {{"5=x"}, {"x>0"}, "$T\n =>\n  5>0\n\n"},
      {{"x=+(x,1)", "x>y"}, {"x>0"}, "x=+(x,1),+(x,1)>y\n =>\n  +(x,1)>0\n\n"},
      {{"x=y", "y=3", "z>x"}, {"x>z"}, "z>3\n =>\n  3>z\n\n"},
      {{"1=2"}, {"z>0"}, "1=2\n =>\n  z>0\n\n"},
      // no capture: $Ay:(g(y)>x|x=0) must not become the invalid $Ay:(g(y)>y|y=0)
      {{"x=y", "$Ay:(g(y)>x|x=0)"}, {"$Ay:(g(y)>y|y=0)"},
       "x=y,$Ay:(g(y)>x|x=0)\n =>\n  $Ay:(g(y)>y|y=0)\n\n"},
      {{"x=3", "$Ax:x>z"}, {"x>z"}, "$Ax:x>z\n =>\n  3>z\n\n"},
  };
  for (auto &c : cases) EXPECT_EQ(Passed(SimplifySequentUsePremisses, Seq(c.left, c.right)), c.out);
  // x1=+(x0,x0), x2=+(x1,x1), ...: each substitution would double the size
  Texts left;
  for (int i = 1; i <= 40; i++) {
    std::string p = "x" + std::to_string(i - 1);
    left.push_back("x" + std::to_string(i) + "=+(" + p + "," + p + ")");
  }
  EXPECT_LE(Passed(SimplifySequentUsePremisses, Seq(left, {"x40>0"})).size(), 10u * PREMISS_NODE_LIMIT);
  // The occurrence test is by whole words; long names need no buffers.
  struct { std::string x, in; bool notIn; } words[] = {
      {"a", "a[i]", 0}, {"a", "#a", 1}, {"a", "f(ba,ab)", 1}, {"f(a)", "g(f(a))", 0},
      {std::string(2000, 'n'), "f(" + std::string(2000, 'm') + "," + std::string(2000, 'n') + ")", 0}};
  for (auto &c : words) EXPECT_EQ(!!TermNotInFunc(T(c.x), T(c.in)), c.notIn) << c.in;
}

static int Axiom(const char *text) { return wMakeUseAxiom(strdup(text)); }

TEST(UserAxiom, CoversPremissesConclusionsAndMirroredEquationsAndRefusesTrivialOnes) {
  ProverReset();
  Append({"x>0", "z=1"}, {"y>0", "w>2"});
  Append({"z=1"}, {"y>0"});
  Append({"x>0"}, {"q>0"});
  Append({"b=a"}, {"c>d"});
  Append({"b=a"}, {"d<c"});
  Append({"u>0"}, {"v>0"});
  EXPECT_TRUE(Axiom("x>0->y>0") && Axiom("{y>0}") && Axiom("x>0->$F") && Axiom("a=b->c>d"));
  EXPECT_EQ(AllText(), "b=a\n =>\n  d<c\n\nu>0\n =>\n  v>0\n\n");
  EXPECT_TRUE(Axiom("d<c"));  // typed with "<": matches only that text
  EXPECT_EQ(AllText(), "u>0\n =>\n  v>0\n\n");
  // A new axiom appends nothing and replaces the old one.
  EXPECT_TRUE(Axiom("e>0"));
  NewSequent(sequentList.sequent);
  EXPECT_EQ(ListLength(), 2);
  // Empty or trivial axioms are refused.
  ProverReset();
  Append({"x>0"}, {"y>0"});
  Append({}, {});  // lost all its formulas, not proved
  CaptureStdout();
  for (const char *a : {"$T", "$T->$F", "x=x->y>y", "", "x>0->"}) EXPECT_FALSE(Axiom(a)) << a;
  EXPECT_NE(Out().find("Error: "), std::string::npos);
  EXPECT_EQ(ListLength(), 2);
  // the refused axiom does not replace the last one, nor prove anything later
  EXPECT_TRUE(SimplifySequentUseUserAxiom(sequentList.sequent) == 0 && !sequentList.sequent->proved);
  // Text not read wholly, or only with an Error line, is refused; read leniently, most of
  // these would prove x>0 => y>0.
  for (const char *a : {"x>0->y>0)", "(x>0->y>0))", "(x>0->y>0", "{x>0->y>0}z", "{x>0->y>0",
                        "(x>0)z->y>0", "~(y>0)(", "x>0->y>0(", "n>>((", "$$$", "x>0->$$", "$Ax(x>0)"}) {
    CaptureStdout();
    EXPECT_FALSE(Axiom(a)) << a;
    EXPECT_TRUE(Has(Out(), "Error: axiom refused: it could not be read as one formula\n")) << a;
  }
  EXPECT_EQ(ListLength(), 2);
  EXPECT_TRUE(Axiom("$T->y>0"));  // a true premiss says nothing
  EXPECT_EQ(ListLength(), 1);
  EXPECT_TRUE(Axiom("{(y>0)->((x>0))}") && Axiom("x=a$0"));  // balanced, whole: accepted
}
