#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formulatest.h"

static std::string SubstF(const char *f, const char *assigns) {
  FormulaPtr t = ReadF(f);
  AssignListPtr sl = ReadAssignsF(assigns);
  t = FormulaSubstSim(t, sl);
  std::string r = PrintF(t);
  FormulaFree(t);
  FreeAssignsF(sl);
  return r;
}

TEST(FormulaStruct, CopyFreeCombine) {
  EXPECT_EQ(FormulaCopy(nullptr), nullptr);
  FormulaFree(nullptr);
  FormulaPtr f = ReadF("$Ax:p(x)");
  FormulaPtr g = FormulaCopy(f);
  EXPECT_EQ(PrintF(g), "$Ax:p(x)");
  EXPECT_NE(f->left, g->left);
  EXPECT_NE(f->right, g->right);
  EXPECT_NE(static_cast<FormulaPtr>(f->right)->right, static_cast<FormulaPtr>(g->right)->right);
  FormulaFree(f);
  EXPECT_EQ(PrintF(g), "$Ax:p(x)");
  FormulaPtr c = CombineCond(g, '^', FormulaMakeFalse());
  EXPECT_EQ(c->left, g);
  EXPECT_EQ(PrintF(c), "($Ax:p(x)^~$T)");
  FormulaFree(c);
  f = FormulaMakeTrue();
  EXPECT_EQ(PrintF(f), "$T");
  FormulaPtr m = FormulaAlloc();
  FormulaMove(f, m);
  EXPECT_EQ(m->connective, 'T');
  free(m);
  FormulaFree(f);
}

TEST(FormulaStruct, Equality) {
  struct { const char *a, *b; int eq; } cases[] = {
      {"a=b", "b=a", 1},     {"a<b", "b>a", 0},       {"a<b", "b<a", 0},
      {"$T", "$T", 1},       {"~$T", "$T", 0},        {"$Ax:p(x)", "$Ay:p(y)", 0},
      {"$Ax:p(x)", "$Ax:p(x)", 1}, {"p(x)", "p(x)", 1}, {"p(x)", "p(y)", 0},
      {"a=b^c=d", "b=a^d=c", 1}, {"a=b^c=d", "c=d^a=b", 0}, {"a|b", "a^b", 0},
      {"f(x)=a", "a=f(x)", 1}, {"a=a", "a=b", 0},
  };
  for (auto &c : cases) {
    FormulaPtr f = ReadF(c.a), g = ReadF(c.b);
    EXPECT_EQ(FormulaEqual(f, g), c.eq) << c.a << " vs " << c.b;
    FormulaFree(f);
    FormulaFree(g);
  }
  FormulaPtr f = ReadF("x");
  EXPECT_EQ(FormulaEqual(nullptr, nullptr), 1);
  EXPECT_EQ(FormulaEqual(f, nullptr), 0);
  EXPECT_EQ(FormulaEqual(nullptr, f), 0);
  FormulaFree(f);
}

TEST(FormulaStruct, PrintEqualMatchesPrintedText) {
  const char *texts[] = {"a=b", "b=a", "a<b", "p(x)", "p(x,y)", "p(x)=q", "$T",
                         "~$T", "$Ax:p(x)", "$Ay:p(x)", "a^b", "a|b", "a->b",
                         "(a^b)^c", "a^(b^c)", "a[i]=1", "a[j]=1", "x", "f(x)", "f(y)", ""};
  for (const char *a : texts)
    for (const char *b : texts) {
      FormulaPtr f = ReadF(a), g = ReadF(b);
      EXPECT_EQ(FormulaPrintEqual(f, g), PrintF(f) == PrintF(g) ? 1 : 0) << a << " vs " << b;
      FormulaFree(f);
      FormulaFree(g);
    }
  FormulaPtr e = FormulaAlloc();
  EXPECT_EQ(FormulaPrintEqual(nullptr, e), 1);
  EXPECT_EQ(FormulaPrintEqual(e, nullptr), 1);
  FormulaPtr t = FormulaMakeTrue();
  EXPECT_EQ(FormulaPrintEqual(t, nullptr), 0);
  FormulaFree(t);
  free(e);

  // update lists take part in the comparison
  FormulaPtr a = ReadF("a[i]=1"), b = ReadF("a[i]=1");
  AssignListPtr sl = ReadAssignsF("$Oa[k]=5");
  a = FormulaSubstSim(a, sl);
  EXPECT_EQ(PrintF(a), "a[[(k)->5]][i]=1");
  EXPECT_EQ(FormulaPrintEqual(a, b), 0);
  FormulaPtr c = FormulaCopy(a);
  EXPECT_EQ(FormulaPrintEqual(a, c), 1);
  FormulaFree(a);
  FormulaFree(b);
  FormulaFree(c);
  FreeAssignsF(sl);
}

TEST(FormulaStruct, SizeStopsAtLimitOnSharedSubtrees) {
  FormulaPtr f = ReadF("a=f(b)^p(c)");
  // "^", "=", a, f, b, ".", p, c
  EXPECT_EQ(FormulaSize(f, 100), 8);
  EXPECT_EQ(FormulaSize(nullptr, 100), 0);
  FormulaFree(f);
  // a DAG whose tree form has 2^60 nodes: counting stops just past the limit
  FormulaPtr leaf = ReadF("p");
  FormulaPtr top = leaf;
  FormulaPtr nodes[60];
  for (int i = 0; i < 60; i++) top = nodes[i] = CombineCond(top, '^', top);
  long n = FormulaSize(top, 1000);
  EXPECT_GT(n, 1000);
  EXPECT_LT(n, 1100);
  for (int i = 0; i < 60; i++) free(nodes[i]);
  FormulaFree(leaf);
}

TEST(FormulaStruct, SubstitutionAndQuantifiers) {
  EXPECT_EQ(SubstF("+(x,y)=z", "$Ox=y^$Oy=x"), "+(y,x)=z");
  EXPECT_EQ(SubstF("p(x)^~q(y)|x<y", "$Ox=1"), "((p(1)^~q(y))|1<y)");
  EXPECT_EQ(SubstF("$Ax:p(x,z)", "$Ox=y"), "$Ax:p(x,z)");
  EXPECT_EQ(SubstF("$Ax:p(x,z)", "$Oz=y"), "$Ax:p(x,y)");
  EXPECT_EQ(SubstF("$Ax:a[x]=z", "$Oa[k]=5"), "$Ax:a[[(k)->5]][x]=z");
  // an element assignment to the bound array does not reach under it
  EXPECT_EQ(SubstF("$Aa:a[i]=z", "$Oa[k]=5^$Oz=1"), "$Aa:a[i]=1");
}

TEST(FormulaStruct, CaptureRenamesTheBoundVariable) {
  InitializeNewName();
  FormulaPtr f = ReadF("$Ax:x=z");
  AssignListPtr sl = ReadAssignsF("$Oz=x");
  f = FormulaSubstSim(f, sl);
  EXPECT_EQ(PrintF(f), "$A#@a:#@a=x");
  FormulaFree(f);
  FreeAssignsF(sl);

  // nested: the inner quantifier keeps its own binding
  InitializeNewName();
  f = ReadF("$Ax:(p(x,z)^$Ax:q(x))");
  sl = ReadAssignsF("$Oz=f(x)");
  f = FormulaSubstSim(f, sl);
  EXPECT_EQ(PrintF(f), "$A#@a:(p(#@a,f(x))^$Ax:q(x))");
  FormulaFree(f);
  FreeAssignsF(sl);

  // no capture: the bound variable keeps its name
  InitializeNewName();
  EXPECT_EQ(SubstF("$Ax:x=y", "$Oz=x"), "$Ax:x=y");
  EXPECT_EQ(SubstF("$Ax:x=z", "$Oz=y"), "$Ax:x=y");
}

TEST(FormulaStruct, AvoidBoundVarSelect) {
  AssignListPtr sl = ReadAssignsF("$Ox=1^$Oy=2");
  TermPtr x = TermAlloc(), z = TermAlloc();
  TermSetName(x, "x");
  x->type = 2;
  TermSetName(z, "z");
  z->type = 2;
  AssignListPtr r = AvoidBoundVarSelect(sl, x);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->assign, sl->assignList->assign);
  EXPECT_EQ(r->assignList, nullptr);
  CleanPtrList(r);
  r = AvoidBoundVarSelect(sl, z);
  ASSERT_NE(r, nullptr);
  EXPECT_NE(r, sl);
  EXPECT_EQ(r->assign, sl->assign);
  ASSERT_NE(r->assignList, nullptr);
  EXPECT_EQ(r->assignList->assign, sl->assignList->assign);
  CleanPtrList(r);
  FreeAssignsF(sl);
  sl = ReadAssignsF("$Ox=1");
  EXPECT_EQ(AvoidBoundVarSelect(sl, x), nullptr);
  FreeAssignsF(sl);
  sl = ReadAssignsF("$Ox[k]=1^$Oy=2");
  r = AvoidBoundVarSelect(sl, x);
  ASSERT_NE(r, nullptr);
  EXPECT_STREQ(r->assign->termLeft->name, "y");
  CleanPtrList(r);
  FreeAssignsF(sl);
  TermFree(x);
  TermFree(z);
}
