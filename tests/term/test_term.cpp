// Terms: reading (messages, long names, nesting bound), printing, copying,
// simultaneous substitution with array update lists, equality, size and
// assignments.
#include <cstring>
#include <string>

#include "../../term/term.h"
#include "../testutil.h"

static std::string P(TermPtr t) { return Str(t, TermPrint); }
// The term read from `term`, substituted by each "|"-separated assignment list in turn.
static TermPtr Made(const std::string &term, std::string substs = "") {
  TermPtr t = TermAlloc();
  TermRead(term.c_str(), t);
  for (size_t bar = 0; !substs.empty(); substs.erase(0, bar == std::string::npos ? bar : bar + 1)) {
    bar = substs.find('|');
    AssignListPtr sl = ReadAssigns(substs.substr(0, bar).c_str());
    t = TermSubstSim(t, sl);
    FreeAssigns(sl);
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

TEST(TermRead, ConsumedPrintedTypeAndMessages) {
  const char *kNoName = "Error: *** Missing name ***\n";
  struct { const char *in; int used; const char *printed; int type; const char *msg; } cases[] = {
      {"x+1", 3, "x+1", 2, ""},          {"+(x,1)=y", 6, "+(x,1)", 3, ""},
      {"a->b", 1, "a", 2, ""},           {"a[i][j]", 4, "a[i]", 1, ""},
      {"a[b[i],c[d[j],+(k,1)]]", 22, "a[b[i],c[d[j],+(k,1)]]", 1, ""},
      {"(x)", 3, "(x)", 3, kNoName},     {"", 0, "", 2, kNoName},
      {"f()", 3, "f()", 3, kNoName}, {"f(a,b", 5, "f(a,b)", 3, "Error: *** Missing ) ***\n"},
      {"a[i)", 3, "a[i]", 1, "Error: *** Missing ] ***\n"},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(c.in);
    TermPtr t = TermAlloc();
    CaptureStdout();
    EXPECT_EQ(TermRead(c.in, t), c.used);
    EXPECT_EQ(Out(), c.msg);
    EXPECT_TRUE(P(t) == c.printed && t->type == c.type) << P(t);
    TermFree(t);
  }
  char w[NAME_SIZE];
  EXPECT_EQ(GetWord("$Ox.y;{}%?\"s\"|z", w), 13);
  EXPECT_STREQ(w, "$Ox.y;{}%?\"s\"");
}

TEST(TermRead, LongNamesAreCutAndConsumed) {
  std::string longName(3000, 'x'), text = longName + "(y)", fits(NAME_SIZE - 1, 'n');
  const size_t cut = NAME_SIZE - 1;
  const std::string kTooLong = "Error: *** Name too long, cut at 2047 characters ***\n";
  CaptureStdout();
  TermPtr t = TermAlloc();
  EXPECT_EQ(TermRead(text.c_str(), t), 3003);
  EXPECT_EQ(Out(), kTooLong);
  EXPECT_EQ(P(t), std::string(cut, 'x') + "(y)");
  TermFree(t);
  CaptureStdout();
  t = Made(fits.c_str());   // exactly 2047 characters fit without a message
  EXPECT_TRUE(Out().empty() && P(t) == fits);
  char w[NAME_SIZE];
  CaptureStdout();
  EXPECT_EQ(GetWord(text.c_str(), w), 3000);
  TermSetName(t, longName.c_str());
  EXPECT_EQ(Out(), kTooLong + kTooLong);
  EXPECT_TRUE(strlen(w) == cut && strlen(t->name) == cut);
  TermFree(t);
}

TEST(TermRead, NestingIsBounded) {
  // Within the bound: read, print, copy, compare and free all work.
  std::string deep = Nested(3000), tooDeep = Nested(MAX_NEST_DEPTH + 50) + ",z";
  CaptureStdout();
  TermPtr t = Made(deep.c_str()), c = TermCopy(t);
  EXPECT_EQ(Out(), "");
  EXPECT_TRUE(TermEqual(t, c) && P(t) == deep && TermSize(c, 100000) == 3001);
  TermFree(c), TermFree(t);
  // Past the bound: an Error line, the whole term skipped, no overflow.
  CaptureStdout();
  t = TermAlloc();
  EXPECT_EQ(TermRead(tooDeep.c_str(), t), static_cast<int>(tooDeep.size()) - 2);
  EXPECT_EQ(Out(), "Error: *** Term nested too deeply ***\n");
  TermFree(t);
  // Substitution builds deep trees without the reader's bound.
  t = Made("x");
  AssignListPtr sl = ReadAssigns("$Ox=f(x)");
  for (int i = 0; i < 3000; i++) t = TermSubstSim(t, sl);
  c = TermCopy(t);
  EXPECT_EQ(P(c), deep);
  EXPECT_EQ(TermSize(c, 10), 11);   // counting stops just past the limit
  TermFree(c), TermFree(t), FreeAssigns(sl);
}

TEST(TermSubst, SimultaneousAndArrayUpdates) {
  struct { const char *term, *substs, *want; } cases[] = {
      // Simultaneous; the first assignment to a name wins; names of applications are no variables.
      {"+(x,y)", "$Ox=y^$Oy=x", "+(y,x)"}, {"x", "$Ox=y^$Ox=z", "y"}, {"f(x)", "$Of=g", "f(x)"},
      // A whole array renamed together with its subscript, in either order.
      {"a[i]", "$Oi=j^$Oa=b", "b[j]"}, {"a[i]", "$Oa=f(c)", "a[[()->f(c)]][i]"},
      {"a[i]", "$Oa[k]=5^$Oa[m]=6", "a[[(k)->5,(m)->6]][i]"},
      {"a[i]", "$Oa[k]=5^$Ob[m]=6", "a[[(k)->5]][i]"},
      {"a[i]", "$Oa[i]=i^$Oi=j", "a[[(i)->i]][j]"},  // inserted pairs are not substituted again
      {"f(a[a[i]])", "$Oa[k]=5", "f(a[[(k)->5]][a[[(k)->5]][i]])"},
      // A later substitution puts its list first and reaches the older lists.
      {"a[i]", "$Oa[k]=5|$Oa[m]=x^$Ok=z^$Ox=w", "a[[(m)->x][(z)->5]][i]"},
      {"a[i]", "$Oa[k]=5|$Oa[m]=x^$Ok=z|$Oa=b", "b[[(m)->x][(z)->5]][i]"},
      // A plain array name under an element assignment is no longer the old array.
      {"a", "$Oa[k]=5|$Oa[m]=x^$Ok=z", "a[[(m)->x][(z)->5]]"},
  };
  for (auto &c : cases) {
    SCOPED_TRACE(std::string(c.term) + " / " + c.substs);
    TermPtr t = Made(c.term, c.substs);
    EXPECT_EQ(P(t), c.want);
    EXPECT_TRUE(isUnmarked(t));
    TermFree(t);
  }
  // The inserted copies are separate records; the assignment keeps its own.
  TermPtr t = Made("g(x,x)");
  AssignListPtr sl = ReadAssigns("$Ox=f(x)");
  t = TermSubstSim(t, sl);
  EXPECT_TRUE(t->termList->term != t->termList->termList->term &&
              t->termList->term != sl->assign->termRight && sl->assign->termRight->type == 3);
  TermFree(t), FreeAssigns(sl);
  t = Made("a[i]", "$Oa[k,l]=5^$Oa[m,n]=6");
  CaptureStdout(), ShowExpPairList(t->arraySubList->expPairList);
  EXPECT_EQ(Out(), "ExpPairList: (k,l)->5,(m,n)->6\n");
  TermFree(t);
}

TEST(TermCopy, DeepIndependentAndSized) {
  TermPtr t = Made("f(a[i],g(b))", "$Oa[k]=h(z)");
  const std::string before = "f(a[[(k)->h(z)]][i],g(b))";
  TermPtr c = TermCopy(t);
  EXPECT_EQ(P(c), before);
  TermSetName(c->termList->term->arraySubList->expPairList->expPair->exp, "q");
  TermFree(c);
  EXPECT_EQ(P(t), before);
  EXPECT_EQ(TermSize(t, 1000), 8);   // update pairs count too
  EXPECT_TRUE(!TermCopy(nullptr) && !TermSize(nullptr, 10));
  TermFree(t);
}

TEST(TermEqual, StructuralWithUpdateLists) {
  std::string big = "a[" + std::string(3000, 'i');   // printed forms far past 2047 characters
  struct { const char *a, *sa, *b, *sb; int eq; } cases[] = {
      {"f(a,b)", "", "f(a,b)", "", 1}, {"f(a)", "", "g(a)", "", 0}, {"f(a)", "", "f(a,b)", "", 0},
      {"f(a,b)", "", "f(a)", "", 0}, {"a[i]", "", "a", "", 0}, {"1", "", "01", "", 0},
      {"a[i]", "", "a[i]", "$Oa[k]=5", 0}, {"a[i]", "$Oa[k]=5", "a[i]", "$Oa[k]=5", 1},
      {"a[i]", "$Oa[k]=5", "a[i]", "$Oa[k]=6", 0},
      {"a[i]", "$Oa[k]=5^$Oa[m]=6", "a[i]", "$Oa[k]=5", 0},
      {"a[i]", "$Oa[k]=5", "a[i]", "$Oa[k]=5|$Oa[k]=5", 0}, {"a", "$Oa[k]=5", "a", "", 0},
      {"a", "$Oa[k]=5", "a", "$Oa[k]=5|$Oa[m]=x^$Ok=z", 0},
  };
  CaptureStdout();
  for (auto &c : cases) {
    SCOPED_TRACE(std::string(c.a) + " " + c.sa + " vs " + c.b + " " + c.sb);
    TermPtr a = Made(c.a, c.sa), b = Made(c.b, c.sb);
    EXPECT_EQ(TermEqual(a, b), c.eq);
    TermFree(a), TermFree(b);
  }
  TermPtr b1 = Made((big + ",x]").c_str()), b2 = Made((big + ",y]").c_str()), b3 = TermCopy(b1);
  Out();
  EXPECT_TRUE(!TermEqual(b1, b2) && TermEqual(b1, b3));   // names cut alike, differing at the end
  EXPECT_TRUE(TermEqual(nullptr, nullptr) && !TermEqual(b1, nullptr) && !TermEqual(nullptr, b1));
  TermPtr a = Made("a"), ai = Made("a[i]");
  EXPECT_TRUE(VarEqual(a, a) && !VarEqual(ai, ai));   // only plain names are variables
  for (TermPtr t : {b1, b2, b3, a, ai}) TermFree(t);
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
    AssignListPtr p = static_cast<AssignListPtr>(calloc(1, sizeof(AssignList)));
    CaptureStdout();
    EXPECT_EQ(AssignReadList(c.in, p), c.used);
    EXPECT_EQ(Out(), c.msg);
    EXPECT_EQ(Str(p, AssignListPrint), c.printed);
    FreeAssigns(p);
  }
  AssignListPtr p = ReadAssigns("$Oa[i]=y^$Ox=1");
  auto appended = [](AssignPtr a, Text *s) { TextAppend(s, "<"), AssignPrint(a, s); };
  EXPECT_EQ(Str(p->assignList->assign, appended), "<$Ox=1");
  FreeAssigns(p);
  EXPECT_EQ(Str(AssignListPtr(nullptr), AssignListPrint), "");
}
