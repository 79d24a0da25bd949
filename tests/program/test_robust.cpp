// Cut and mutated program texts: reading and printing stay inside the text
// and always finish (the sanitizer build checks every access).
#include "progtest.h"

static const char *kPrograms[] = {
    "{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC[int:t]%STM[LB=1=>$Ot=a^$OLB=2;"
    "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}",
    "%PROC w(%IOP/i:int;%INP/n:int)==[LB=1=>$Oi=0^$OLB=2;"
    "*[LB=2^i<n=>($OLB=3|$OLB=4)LB=3=>$Oi=s(i)^$OLB=5;LB=5=>$Oa[i]=i^$OLB=2;{i<s(n)}]]{i=n}"
    "%PROC c(%IOP/k:int)==[LB=1=>w(%IOP/k|i;%INP/+(k,1)|n)^$OLB=2;]",
};

static void ReadAndPrint(const std::string &text) {
  ProgReset();
  char *s = strdup(text.c_str());
  ProcedureReadList(s);
  free(s);
  Text t;
  TextInit(&t);
  ProcedureListPrint(&t);
  ProcedureListPrintDebug(&t);
  TextFree(&t);
}

TEST(Robust, EveryPrefixAndManyMutations) {
  testing::internal::CaptureStdout();
  for (const char *prog : kPrograms) {
    std::string p = prog;
    for (size_t n = 0; n <= p.size(); n++) ReadAndPrint(p.substr(0, n));
    unsigned seed = 12345;
    const char alphabet[] = "[](){};|^~=<>$O%LB*?,:/#@x1";
    for (int i = 0; i < 1500; i++) {
      std::string m = p;
      for (int k = 0; k < 1 + i % 3; k++) {
        seed = seed * 1103515245u + 12345u;
        size_t at = (seed >> 8) % m.size();
        seed = seed * 1103515245u + 12345u;
        char c = alphabet[(seed >> 8) % (sizeof alphabet - 1)];
        if ((seed >> 4) % 3 == 0) m.erase(at, 1);
        else if ((seed >> 4) % 3 == 1) m.insert(at, 1, c);
        else m[at] = c;
      }
      ReadAndPrint(m);
    }
  }
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_GT(CountOf(out, "Error: "), 1000);
}

TEST(Robust, DeepNestingIsBounded) {
  // Loops nested far deeper than any block can hold still end.
  std::string deep;
  for (int i = 0; i < MAX_NEST_DEPTH + 10; i++) deep += "*[LB=1^c=>()";
  ProgReset();
  ProgFrame();
  char *s = strdup(deep.c_str());
  char l[LABEL_SIZE];
  testing::internal::CaptureStdout();
  SentenceRead(s, l);
  std::string out = testing::internal::GetCapturedStdout();
  free(s);
  EXPECT_NE(out.find("statements nested too deeply"), std::string::npos);
}
