#include <gtest/gtest.h>

#include <string>

#include "termtest.h"

// 1 when no term below t (t included) is still marked.
static int isUnmarked(TermPtr t) {
  if (!t) return 1;
  if (t->type > 10) return 0;
  for (ArraySubListPtr a = t->arraySubList; a; a = a->arraySubList)
    for (ExpPairListPtr e = a->expPairList; e; e = e->expPairList) {
      for (TermListPtr p = e->expPair->subList; p; p = p->termList)
        if (!isUnmarked(p->term)) return 0;
      if (!isUnmarked(e->expPair->exp)) return 0;
    }
  for (TermListPtr p = t->termList; p; p = p->termList)
    if (!isUnmarked(p->term)) return 0;
  return 1;
}

TEST(TermSubst, SimultaneousAndFresh) {
  EXPECT_EQ(Subst("+(x,y)", "$Ox=y^$Oy=x"), "+(y,x)");
  EXPECT_EQ(Subst("g(x,x)", "$Ox=f(x)"), "g(f(x),f(x))");
  EXPECT_EQ(Subst("x", "$Ox=y^$Ox=z"), "y");
  EXPECT_EQ(Subst("f(x)", "$Of=g"), "f(x)");

  TermPtr t = ReadTerm("f(a[i],g(x,h(y)))");
  std::string before = PrintTerm(t);
  t = TermSubstSim(t, nullptr);
  EXPECT_EQ(PrintTerm(t), before);
  TermFree(t);

  // The inserted copies are separate records and end up unmarked.
  t = ReadTerm("g(x,x)");
  AssignListPtr sl = ReadAssigns("$Ox=f(x)");
  t = TermSubstSim(t, sl);
  TermPtr first = t->termList->term, second = t->termList->termList->term;
  EXPECT_NE(first, second);
  EXPECT_NE(first, sl->assign->termRight);
  EXPECT_EQ(first->type, 3);
  EXPECT_TRUE(isUnmarked(t));
  EXPECT_EQ(sl->assign->termRight->type, 3);
  TermFree(t);
  FreeAssigns(sl);

  // A substituted name is replaced at top level too; the old term is freed.
  t = ReadTerm("x");
  sl = ReadAssigns("$Ox=+(x,1)");
  t = TermSubstSim(t, sl);
  EXPECT_EQ(PrintTerm(t), "+(x,1)");
  EXPECT_EQ(t->type, 3);
  TermFree(t);
  FreeAssigns(sl);
}

TEST(TermSubst, ArrayUpdates) {
  EXPECT_EQ(Subst("a[i]", "$Oa=b"), "b[i]");
  // The whole array and the subscript change together.
  EXPECT_EQ(Subst("a[i]", "$Oa=b^$Oi=j"), "b[j]");
  EXPECT_EQ(Subst("a[i]", "$Oi=j^$Oa=b"), "b[j]");
  EXPECT_EQ(Subst("a[i]", "$Oa[k]=5^$Oa[m]=6"), "a[[(k)->5,(m)->6]][i]");
  EXPECT_EQ(Subst("a[i]", "$Oa[k]=5^$Ob[m]=6"), "a[[(k)->5]][i]");
  EXPECT_EQ(Subst("a[i]", "$Ob[k]=5"), "a[i]");
  // Inserted indices and values are not substituted again.
  EXPECT_EQ(Subst("a[i]", "$Oa[i]=i^$Oi=j"), "a[[(i)->i]][j]");
  EXPECT_EQ(Subst("f(a[a[i]])", "$Oa[k]=5"), "f(a[[(k)->5]][a[[(k)->5]][i]])");

  // A second substitution puts its list first and reaches the older lists.
  TermPtr t = ReadTerm("a[i]");
  AssignListPtr s1 = ReadAssigns("$Oa[k]=5");
  AssignListPtr s2 = ReadAssigns("$Oa[m]=x^$Ok=z^$Ox=w");
  AssignListPtr s3 = ReadAssigns("$Oa=b");
  t = TermSubstSim(t, s1);
  t = TermSubstSim(t, s2);
  EXPECT_EQ(PrintTerm(t), "a[[(m)->x][(z)->5]][i]");
  EXPECT_TRUE(isUnmarked(t));
  t = TermSubstSim(t, s3);
  EXPECT_EQ(PrintTerm(t), "b[[(m)->x][(z)->5]][i]");
  TermFree(t);
  FreeAssigns(s1);
  FreeAssigns(s2);
  FreeAssigns(s3);
}

TEST(TermSubst, PlainArrayName) {
  EXPECT_EQ(Subst("a", "$Oa=b"), "b");
  // Under an element assignment the whole array is no longer the old one.
  EXPECT_EQ(Subst("sum(a,n)", "$Oa[k]=5"), "sum(a[[(k)->5]],n)");
  EXPECT_EQ(Subst("a", "$Oa[k]=5^$Ok=j"), "a[[(k)->5]]");

  TermPtr t = ReadTerm("a");
  AssignListPtr s1 = ReadAssigns("$Oa[k]=5");
  AssignListPtr s2 = ReadAssigns("$Oa[m]=x^$Ok=z");
  t = TermSubstSim(t, s1);
  TermPtr once = TermCopy(t);
  TermPtr plain = ReadTerm("a");
  EXPECT_FALSE(TermEqual(t, plain));
  t = TermSubstSim(t, s2);
  EXPECT_EQ(PrintTerm(t), "a[[(m)->x][(z)->5]]");
  EXPECT_TRUE(isUnmarked(t));
  EXPECT_FALSE(TermEqual(t, once));
  TermFree(t);
  TermFree(once);
  TermFree(plain);
  FreeAssigns(s1);
  FreeAssigns(s2);
}

TEST(TermEqual, Structural) {
  TermPtr fa = ReadTerm("f(a)"), fab = ReadTerm("f(a,b)"), ga = ReadTerm("g(a)");
  TermPtr ai = ReadTerm("a[i]"), ai2 = ReadTerm("a[i]"), aij = ReadTerm("a[i,j]");
  TermPtr a = ReadTerm("a"), one = ReadTerm("1"), zeroOne = ReadTerm("01");
  TermPtr c = TermCopy(fab);
  EXPECT_TRUE(TermEqual(nullptr, nullptr));
  EXPECT_FALSE(TermEqual(fa, nullptr));
  EXPECT_FALSE(TermEqual(nullptr, fa));
  EXPECT_TRUE(TermEqual(fab, c));
  EXPECT_FALSE(TermEqual(fa, ga));
  EXPECT_FALSE(TermEqual(fa, fab));
  EXPECT_FALSE(TermEqual(fab, fa));
  EXPECT_TRUE(TermEqual(ai, ai2));
  EXPECT_FALSE(TermEqual(ai, aij));
  EXPECT_FALSE(TermEqual(ai, a));
  EXPECT_FALSE(TermEqual(one, zeroOne));
  EXPECT_TRUE(VarEqual(a, a));
  EXPECT_FALSE(VarEqual(ai, ai2));

  AssignListPtr sk = ReadAssigns("$Oa[k]=5"), sk2 = ReadAssigns("$Oa[k]=5^$Oa[m]=6");
  AssignListPtr sm = ReadAssigns("$Oa[k]=6");
  TermPtr u1 = TermSubstSim(TermCopy(ai), sk);
  TermPtr u2 = TermSubstSim(TermCopy(ai), sk);
  TermPtr u3 = TermSubstSim(TermCopy(ai), sk2);
  TermPtr u4 = TermSubstSim(TermCopy(ai), sm);
  TermPtr u5 = TermSubstSim(TermCopy(u1), sk);
  EXPECT_FALSE(TermEqual(ai, u1));
  EXPECT_TRUE(TermEqual(u1, u2));
  EXPECT_FALSE(TermEqual(u1, u3));
  EXPECT_FALSE(TermEqual(u3, u1));
  EXPECT_FALSE(TermEqual(u1, u4));
  EXPECT_FALSE(TermEqual(u1, u5));

  // Elements whose printed form is far longer than 2047 characters differ
  // only at their ends.
  std::string big = "a[" + std::string(3000, 'i') + ",x]", big2 = "a[" + std::string(3000, 'i') + ",y]";
  testing::internal::CaptureStdout();
  TermPtr b1 = ReadTerm(big.c_str()), b2 = ReadTerm(big2.c_str());
  testing::internal::GetCapturedStdout();
  EXPECT_FALSE(TermEqual(b1, b2));
  TermPtr b3 = TermCopy(b1);
  EXPECT_TRUE(TermEqual(b1, b3));

  for (TermPtr t : {fa, fab, ga, ai, ai2, aij, a, one, zeroOne, c, u1, u2, u3, u4, u5, b1, b2, b3})
    TermFree(t);
  FreeAssigns(sk);
  FreeAssigns(sk2);
  FreeAssigns(sm);
}

TEST(TermSize, CountsNodesUpToLimit) {
  TermPtr t = ReadTerm("f(a,g(b,c),d[i])");
  EXPECT_EQ(TermSize(t, 1000), 7);
  EXPECT_LE(TermSize(t, 3), 4);
  EXPECT_GT(TermSize(t, 3), 3);
  EXPECT_EQ(TermSize(nullptr, 10), 0);
  AssignListPtr sl = ReadAssigns("$Od[k]=h(z)");
  t = TermSubstSim(t, sl);
  EXPECT_EQ(TermSize(t, 1000), 10);
  TermFree(t);
  FreeAssigns(sl);
}
