// The statement rules: assignment, sequence, case and loop.
#include "vctest.h"

TEST(StatementRules, AssignmentSubstitutesSimultaneouslyAndIntoArrays) {
  auto a = VcGenerate("{$T}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;]{x>0}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].proc, "p");
  EXPECT_EQ(a[0].hyp, "$T");
  EXPECT_EQ(a[0].concl, "+(x,1)>0");

  a = VcGenerate("%PROC p(%IOP/x:int;%IOP/y:int)==%STM[LB=1=>$Ox=y^$Oy=x^$OLB=2;]{x=y}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].hyp, "");   // no pre-condition
  EXPECT_EQ(a[0].concl, "y=x");

  a = VcGenerate("%PROC p(%IOP/a:arr)==%STM[LB=1=>$Oa[i]=5^$OLB=2;]{a[j]=5}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "a[[(i)->5]][j]=5");
}

TEST(StatementRules, SequenceWorksBackwardsFromTheLastStatement) {
  auto a = VcGenerate(
      "{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;LB=2=>$Ox=*(x,2)^$OLB=3;"
      "{x<0}LB=3=>$Ox=-(x,3)^$OLB=4;]{x>5}");
  ASSERT_EQ(a.size(), 1u);
  // The assertion inside the sequence does not cut the calculus.
  EXPECT_EQ(a[0].concl, "-(*(+(x,1),2),3)>5");
  EXPECT_EQ(a[0].hyp, "x>0");
}

TEST(StatementRules, CaseCombinesBothBranchesUnderTheCondition) {
  auto a = VcGenerate(
      "%PROC p(%INP/x:int;%IOP/y:int)==%STM[?[LB=1^x>0=>$OLB=2|~=>$OLB=3;"
      "LB=2=>$Oy=x^$OLB=4;LB=3=>$Oy=0^$OLB=4;]]{y>0}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "((~x>0|x>0)^(x>0|0>0))");

  // A missing second branch (d,d) does nothing: it takes the post-condition.
  a = VcGenerate(
      "%PROC p(%IOP/x:int)==%STM[?[LB=1^x>0=>$OLB=2|~=>$OLB=4;LB=2=>$Ox=1^$OLB=4;]]{x>0}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "((~x>0|1>0)^(x>0|x>0))");
}

TEST(StatementRules, LoopGivesTwoAssumptionsBeforeTheProcedures) {
  auto a = VcGenerate(
      "{i<s(n)}%PROC p(%IOP/i:int;%INP/n:int)==%STM[*[LB=2^i<n=>($OLB=3|$OLB=4)"
      "LB=3=>$Oi=s(i)^$OLB=2;{i<s(n)}]]{i=n}");
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[0].hyp, "(i<n^i<s(n))");
  EXPECT_EQ(a[0].concl, "s(i)<s(n)");
  EXPECT_EQ(a[1].hyp, "(~i<n^i<s(n))");
  EXPECT_EQ(a[1].concl, "i=n");
  EXPECT_EQ(a[2].hyp, "i<s(n)");
  EXPECT_EQ(a[2].concl, "i<s(n)");   // the invariant
  for (auto &x : a) EXPECT_EQ(x.proc, "p");
}

TEST(StatementRules, InnerLoopsAndFirstBranchesComeFirst) {
  // An outer loop whose body is an inner loop followed by a statement.
  auto a = VcGenerate(
      "%PROC p(%IOP/i:int;%IOP/j:int)==%STM[*[LB=1^i<9=>($OLB=2|$OLB=9)"
      "*[LB=2^j<9=>($OLB=3|$OLB=4)LB=3=>$Oj=s(j)^$OLB=2;{j>1}]"
      "LB=4=>$Oi=s(i)^$OLB=1;{i>0}]]{i=9}");
  ASSERT_EQ(a.size(), 5u);
  EXPECT_EQ(a[0].hyp, "(j<9^j>1)");    // inner loop first
  EXPECT_EQ(a[1].hyp, "(~j<9^j>1)");
  EXPECT_EQ(a[1].concl, "s(i)>0");
  EXPECT_EQ(a[2].hyp, "(i<9^i>0)");
  EXPECT_EQ(a[2].concl, "j>1");        // pre of the outer body: the inner invariant
  EXPECT_EQ(a[3].hyp, "(~i<9^i>0)");
  EXPECT_EQ(a[4].concl, "i>0");

  // Loops in both branches of a case: the first branch's loop first.
  a = VcGenerate(
      "%PROC p(%IOP/i:int)==%STM[?[LB=1^i>0=>$OLB=2|~=>$OLB=5;"
      "*[LB=2^i>1=>($OLB=3|$OLB=8)LB=3=>$Oi=-(i,1)^$OLB=2;{i>0}]"
      "*[LB=5^i<0=>($OLB=6|$OLB=8)LB=6=>$Oi=+(i,1)^$OLB=5;{i<1}]]]{i=i}");
  ASSERT_EQ(a.size(), 5u);
  EXPECT_EQ(a[0].hyp, "(i>1^i>0)");
  EXPECT_EQ(a[2].hyp, "(i<0^i<1)");
  EXPECT_EQ(a[4].concl, "((~i>0|i>0)^(i>0|i<1))");
}

TEST(StatementRules, MissingPartsGiveAFalsePreCondition) {
  const char *loop =
      "%PROC p(%IOP/x:int)==%STM[*[LB=1^x>0=>($OLB=3|$OLB=4)LB=3=>$Ox=-(x,1)^$OLB=1;{x>0}]]{x=0}";
  const char *cases =
      "%PROC p(%IOP/x:int)==%STM[?[LB=1^x>0=>$OLB=2|~=>$OLB=3;"
      "LB=2=>$Ox=1^$OLB=4;LB=3=>$Ox=2^$OLB=4;]]{x>0}";
  // A loop body that names no statement.
  ASSERT_NE(VcLoadOnly(loop, "p"), nullptr);
  SentencePtr s = Sentence2Ptr("(1,4)");
  ASSERT_TRUE(s && s->type == 3);
  strcpy(s->labels1, "(7,1)");
  auto a = VcGenerateLoaded();
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[0].concl, "~$T");
  EXPECT_EQ(a[2].concl, "~$T");
  // A loop that names itself as its body.
  VcLoadOnly(loop, "p");
  s = Sentence2Ptr("(1,4)");
  strcpy(s->labels1, "(1,4)");
  a = VcGenerateLoaded();
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[2].concl, "~$T");

  // A case branch that names no statement, and one that names the case.
  VcLoadOnly(cases, "p");
  s = Sentence2Ptr("(1,4)");
  ASSERT_TRUE(s && s->type == 4);
  strcpy(s->labels2, "(9,4)");
  a = VcGenerateLoaded();
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "((~x>0|1>0)^(x>0|~$T))");
  VcLoadOnly(cases, "p");
  s = Sentence2Ptr("(1,4)");
  strcpy(s->labels1, "(1,4)");
  a = VcGenerateLoaded();
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "((~x>0|~$T)^(x>0|2>0))");

  // A body label pair that names no statement.
  ProcedurePtr p = VcLoadOnly(cases, "p");
  strcpy(p->body, "(0,4)");
  a = VcGenerateLoaded();
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "~$T");

  // A statement of no known kind.
  VcLoadOnly(cases, "p");
  Sentence2Ptr("(2,4)")->type = 9;
  a = VcGenerateLoaded();
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "((~x>0|~$T)^(x>0|2>0))");
}

TEST(StatementRules, LoopWithoutInvariantCannotBeUsed) {
  auto a = VcGenerate(
      "{x>0}%PROC p(%IOP/x:int)==%STM[*[LB=1^x>0=>($OLB=2|$OLB=3)LB=2=>$Ox=-(x,1)^$OLB=1;]]{x=0}");
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[2].concl, "~$T");
}

TEST(StatementRules, StatementWithoutAssignmentsKeepsThePostCondition) {
  auto a = VcGenerate("{x>0}%PROC p(%IOP/x:int)==%STM[LB=1=>$OLB=2;]{x>0}");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "x>0");
}

TEST(StatementRules, StatementsThatNameEachOtherInACircleEnd) {
  // The inner loop's body is made the outer loop: the calculus would go
  // round for ever.
  ASSERT_NE(VcLoadOnly("%PROC p(%IOP/i:int;%IOP/j:int)==%STM[*[LB=1^i<9=>($OLB=2|$OLB=9)"
                       "*[LB=2^j<9=>($OLB=3|$OLB=4)LB=3=>$Oj=s(j)^$OLB=2;{j>1}]"
                       "LB=4=>$Oi=s(i)^$OLB=1;{i>0}]]{i=9}",
                       "p"),
            nullptr);
  SentencePtr inner = Sentence2Ptr("(2,4)");
  ASSERT_TRUE(inner && inner->type == 3);
  strcpy(inner->labels1, "(1,9)");
  std::string out;
  auto a = VcGenerateLoaded(&out);
  EXPECT_NE(out.find("nested too deeply"), std::string::npos);
  bool cut = false;
  for (auto &x : a) cut = cut || x.concl == "~$T";
  EXPECT_TRUE(cut);
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(a.back().proc, "p");
}

TEST(StatementRules, AVariableAssignedTwiceAtOnceCannotBeUsed) {
  std::string out;
  auto a = VcGenerate("%PROC p(%IOP/x:int)==%STM[LB=1=>$Ox=1^$Ox=2^$OLB=2;]{x=1}", &out);
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "~$T");
  EXPECT_NE(out.find("Error: p: statement (1,2) assigns x twice"), std::string::npos) << out;
  // Two elements of one array are fine.
  a = VcGenerate("%PROC p(%IOP/a:arr)==%STM[LB=1=>$Oa[i]=1^$Oa[j]=2^$OLB=2;]{a[k]=1}", &out);
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].concl, "a[[(i)->1,(j)->2]][k]=1");
}
