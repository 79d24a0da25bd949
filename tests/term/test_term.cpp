// Terms: reading (messages, long names, nesting bound), printing, copying, freeing, simultaneous
// substitution with array update lists, equality, size and assignments.
#include <malloc.h>

#include <cstring>
#include <sstream>

#include "../testutil.h"

static std::string P(TermPtr t) { return Str(t, TermPrint); }
// The term of "term|s1|s2...", substituted by the assignment lists s1, s2, ... in turn.
static TermPtr Made(const std::string &spec) {
  std::stringstream in(spec);
  std::string part;
  std::getline(in, part, '|');
  TermPtr t = TermAlloc();
  TermRead(part.c_str(), t);
  while (std::getline(in, part, '|')) {
    AssignListPtr sl = ReadAssigns(part.c_str());
    t = TermSubstSim(t, sl), FreeAssigns(sl);
  }
  return t;
}
static int marked;
static TermPtr CountMarked(TermPtr t, AssignListPtr) { return marked += t->type > 10, nullptr; }
static bool isUnmarked(TermPtr t) {   // no term below t, t included, is still marked
  return marked = 0, TermFunction(t, nullptr, CountMarked), !marked;
}
static std::string Nested(int depth) {
  std::string s;
  for (int i = 0; i < depth; i++) s += "f(";
  return s + "x" + std::string(depth, ')');
}

TEST(TermRead, MessagesLongNamesAndNestingBound) {
  const char *kNoName = "Error: *** Missing name ***\n";
  const std::string kTooLong = "Error: *** Name too long, cut at 2047 characters ***\n", text(3000, 'x');
  const size_t cut = NAME_SIZE - 1;
  std::string tooDeep = Nested(MAX_NEST_DEPTH + 50) + ",z", fits(cut, 'n');
  struct { std::string in; int used; std::string printed; int type; std::string msg; } cases[] = {
      {"x+1", 3, "x+1", 2, ""},          {"+(x,1)=y", 6, "+(x,1)", 3, ""},
      {"a->b", 1, "a", 2, ""},           {"a[i][j]", 4, "a[i]", 1, ""},
      {"a[b[i],c[d[j],+(k,1)]]", 22, "a[b[i],c[d[j],+(k,1)]]", 1, ""},
      {"(x)", 3, "(x)", 3, kNoName},     {"", 0, "", 2, kNoName},
      {"f()", 3, "f()", 3, kNoName}, {"f(a,b", 5, "f(a,b)", 3, "Error: *** Missing ) ***\n"},
      {"a[i)", 3, "a[i]", 1, "Error: *** Missing ] ***\n"},
      // Long names are cut and consumed whole; exactly 2047 characters fit.
      {text + "(y)", 3003, std::string(cut, 'x') + "(y)", 3, kTooLong}, {fits, 2047, fits, 2, ""},
      // Past the nesting bound: an Error line, the whole term consumed, no overflow.
      {tooDeep, static_cast<int>(tooDeep.size()) - 2, "", -1, "Error: *** Term nested too deeply ***\n"},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.in.substr(0, 40));
    TermPtr t = TermAlloc();
    CaptureStdout();
    EXPECT_EQ(TermRead(c.in.c_str(), t), c.used);
    EXPECT_EQ(Out(), c.msg);
    EXPECT_TRUE(c.type < 0 || (P(t) == c.printed && t->type == c.type)) << P(t).substr(0, 40);
    TermFree(t);
  }
  char w[NAME_SIZE];
  EXPECT_EQ(GetWord("$Ox.y;{}%?\"s\"|z", w), 13);
  EXPECT_STREQ(w, "$Ox.y;{}%?\"s\"");
  TermPtr t = TermAlloc();
  CaptureStdout();
  EXPECT_EQ(GetWord(text.c_str(), w), 3000);
  TermSetName(t, text.c_str());
  EXPECT_EQ(Out(), kTooLong + kTooLong);
  EXPECT_TRUE(strlen(w) == cut && strlen(t->name) == cut);
  TermFree(t);
  // Within the bound: read, print, copy, compare and free all work; substitution
  // builds deep trees without the reader's bound.
  std::string deep = Nested(3000);
  CaptureStdout();
  TermPtr read = Made(deep), made = Made("x");
  AssignListPtr sl = ReadAssigns("$Ox=f(x)");
  for (int i = 0; i < 3000; i++) made = TermSubstSim(made, sl);
  TermPtr c = TermCopy(made);
  EXPECT_EQ(Out(), "");
  EXPECT_TRUE(TermEqual(read, c) && P(read) == deep && P(c) == deep && TermSize(c, 100000) == 3001);
  EXPECT_EQ(TermSize(c, 10), 11);  // counting stops just past the limit
  TermFree(c), TermFree(made), TermFree(read), FreeAssigns(sl);
}

TEST(TermSubst, SimultaneousArrayUpdatesAndCopies) {
  struct { const char *spec, *want; } cases[] = {
      // Simultaneous; the first assignment to a name wins; names of applications are no variables.
      {"+(x,y)|$Ox=y^$Oy=x", "+(y,x)"}, {"x|$Ox=y^$Ox=z", "y"}, {"f(x)|$Of=g", "f(x)"},
      // A whole array renamed together with its subscript, in either order.
      {"a[i]|$Oi=j^$Oa=b", "b[j]"}, {"a[i]|$Oa=f(c)", "a[[()->f(c)]][i]"},
      {"a[i]|$Oa[k]=5^$Oa[m]=6", "a[[(k)->5,(m)->6]][i]"}, {"a[i]|$Oa[k]=5^$Ob[m]=6", "a[[(k)->5]][i]"},
      {"a[i]|$Oa[k,l]=5^$Oa[m,n]=6", "a[[(k,l)->5,(m,n)->6]][i]"},
      {"a[i]|$Oa[i]=i^$Oi=j", "a[[(i)->i]][j]"},  // inserted pairs are not substituted again
      {"f(a[a[i]])|$Oa[k]=5", "f(a[[(k)->5]][a[[(k)->5]][i]])"},
      // A later substitution puts its list first and reaches the older lists.
      {"a[i]|$Oa[k]=5|$Oa[m]=x^$Ok=z^$Ox=w", "a[[(m)->x][(z)->5]][i]"},
      {"a[i]|$Oa[k]=5|$Oa[m]=x^$Ok=z|$Oa=b", "b[[(m)->x][(z)->5]][i]"},
      // A plain array name under an element assignment is no longer the old array.
      {"a|$Oa[k]=5|$Oa[m]=x^$Ok=z", "a[[(m)->x][(z)->5]]"},
  };
  for (auto &c : cases) {
    TermPtr t = Made(c.spec);
    EXPECT_EQ(P(t), c.want) << c.spec;
    EXPECT_TRUE(isUnmarked(t)) << c.spec;
    TermFree(t);
  }
  // The inserted copies are separate records; the assignment keeps its own.
  TermPtr t = Made("g(x,x)");
  AssignListPtr sl = ReadAssigns("$Ox=f(x)");
  t = TermSubstSim(t, sl);
  EXPECT_TRUE(t->termList->term != t->termList->termList->term &&
              t->termList->term != sl->assign->termRight && sl->assign->termRight->type == 3);
  TermFree(t), FreeAssigns(sl);
  // A copy is deep: changing it leaves the original; update pairs count in the size.
  t = Made("f(a[i],g(b))|$Oa[k]=h(z)");
  TermPtr c = TermCopy(t);
  TermSetName(c->termList->term->arraySubList->expPairList->expPair->exp, "q");
  TermFree(c);
  EXPECT_TRUE(P(t) == "f(a[[(k)->h(z)]][i],g(b))" && TermSize(t, 1000) == 8);
  EXPECT_TRUE(!TermCopy(nullptr) && !TermSize(nullptr, 10));
  // The search visits the terms in printed order and stops at the first hit.
  std::string seen;
  TermTest toH = [](TermPtr x, Ptr s) -> int { return *static_cast<std::string *>(s) += x->name, *x->name == 'h'; };
  TermTest all = [](TermPtr x, Ptr s) -> int { return *static_cast<std::string *>(s) += x->name, 0; };
  TermPtr hit = TermFind(t, toH, &seen);
  EXPECT_TRUE(seen == "fakh" && hit && P(hit) == "h(z)" && !TermFind(nullptr, toH, &seen)) << seen;
  seen.clear(), TermFind(t, all, &seen);
  EXPECT_EQ(seen, "fakhzigb");
  TermFree(t);
  // Freeing gives back all that reading, substituting and copying took (the first
  // round only settles one-time allocations).
  for (int round = 0; round < 2; round++) {
    size_t before = mallinfo2().uordblks;
    t = Made("f(a[i,g(b)],+(x,1))|$Oa[k,l]=h(z)^$Ox=y|$Oa=c^$Oz=w[z]"), c = TermCopy(t);
    TermFree(t), TermFree(c);
    EXPECT_TRUE(round == 0 || mallinfo2().uordblks == before);
  }
}

TEST(TermEqual, StructuralWithUpdateLists) {
  std::string big = "a[" + std::string(3000, 'i');   // printed forms far past 2047 characters
  struct { const char *a, *b; int eq; } cases[] = {
      {"f(a,b)", "f(a,b)", 1}, {"f(a)", "g(a)", 0}, {"f(a)", "f(a,b)", 0}, {"f(a,b)", "f(a)", 0},
      {"a[i]", "a", 0}, {"1", "01", 0}, {"a[i]", "a[i]|$Oa[k]=5", 0}, {"a[i]|$Oa[k]=5", "a[i]|$Oa[k]=5", 1},
      {"a[i]|$Oa[k]=5", "a[i]|$Oa[k]=6", 0}, {"a[i]|$Oa[k]=5^$Oa[m]=6", "a[i]|$Oa[k]=5", 0},
      {"a[i]|$Oa[k]=5", "a[i]|$Oa[k]=5|$Oa[k]=5", 0}, {"a|$Oa[k]=5", "a", 0},
      {"a|$Oa[k]=5", "a|$Oa[k]=5|$Oa[m]=x^$Ok=z", 0},
  };
  CaptureStdout();
  for (auto &c : cases) {
    TermPtr a = Made(c.a), b = Made(c.b);
    EXPECT_EQ(TermEqual(a, b), c.eq) << c.a << " vs " << c.b;
    TermFree(a), TermFree(b);
  }
  TermPtr b1 = Made(big + ",x]"), b2 = Made(big + ",y]"), b3 = TermCopy(b1);
  Out();
  EXPECT_TRUE(!TermEqual(b1, b2) && TermEqual(b1, b3));   // names cut alike, differing at the end
  EXPECT_TRUE(TermEqual(nullptr, nullptr) && !TermEqual(b1, nullptr) && !TermEqual(nullptr, b1));
  TermPtr a = Made("a"), ai = Made("a[i]"), made = TermMakeName("a");
  EXPECT_TRUE(VarEqual(a, a) && !VarEqual(ai, ai) && VarEqual(made, a));   // only plain names are variables
  for (TermPtr t : {b1, b2, b3, a, ai, made}) TermFree(t);
}

TEST(Assign, ReadPrintAndMessages) {
  struct { const char *in; int used; const char *printed, *msg; } cases[] = {
      {"$Ox=1^$Oa[i]=y:rest", 14, "$Ox=1^$Oa[i]=y", ""},
      {"x=1", 3, "$Ox=1", "Error: *** Missing $O ***\n"},
      {"$Ox", 3, "$Ox=", "Error: *** Missing = ***\nError: *** Missing name ***\n"},
      {"$Of(x)=1", 8, "$Of(x)=1",
       "Error: *** Left side of an assignment must be a name or an array element ***\n"},
      {"$Ox=1^", 6, "$Ox=1^$O=",
       "Error: *** Missing $O ***\nError: *** Missing name ***\n"
       "Error: *** Missing = ***\nError: *** Missing name ***\n"},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.in);
    AssignListPtr p = static_cast<AssignListPtr>(PoolAlloc(sizeof(AssignList)));
    CaptureStdout();
    EXPECT_EQ(AssignReadList(c.in, p), c.used);
    EXPECT_EQ(Out(), c.msg);
    EXPECT_EQ(Str(p, AssignListPrint), c.printed);
    FreeAssigns(p);
  }
  AssignListPtr p = ReadAssigns("$Ox=1");  // the printer appends
  EXPECT_EQ(Str(p->assign, [](AssignPtr a, Text *s) { TextAppend(s, "<"), AssignPrint(a, s); }), "<$Ox=1");
  FreeAssigns(p);
  EXPECT_EQ(Str(AssignListPtr(nullptr), AssignListPrint), "");
}

// Names of up to six characters live in the term record, longer ones in a
// block of their own: renaming across the boundary, renaming a term to its
// own name or a part of it, copying and freeing keep every name intact.
TEST(TermName, ShortAndLongNamesAcrossRenamesAndCopies) {
  const std::string longer(40, 'n');
  const char *names[] = {"", "x", "abcdef", "abcdefg", longer.c_str(), "y", longer.c_str(), "z"};
  TermPtr t = TermMakeName("start");
  for (const char *n : names) {
    SCOPED_TRACE(n);
    TermSetName(t, n);
    EXPECT_STREQ(t->name, n);
    EXPECT_EQ(t->name == t->shortName, strlen(n) < sizeof t->shortName);
    TermPtr c = TermCopy(t);
    EXPECT_TRUE(TermEqual(t, c) && c->name != t->name);
    TermSetName(t, t->name);        // its own name
    EXPECT_STREQ(t->name, n);
    TermSetName(c, c->name + (strlen(n) > 1 ? 1 : 0));   // a tail of its own name
    EXPECT_STREQ(c->name, n + (strlen(n) > 1 ? 1 : 0));
    TermFree(c);
  }
  TermFree(t);
  Term onStack = {};               // a record not made by TermAlloc: no name yet
  TermSetName(&onStack, longer.c_str());
  EXPECT_EQ(onStack.name, longer);
  TermSetName(&onStack, "x");
  EXPECT_STREQ(onStack.name, "x");
}
