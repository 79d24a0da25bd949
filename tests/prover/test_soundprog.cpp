// Soundness on generated programs (the generator and interpreter of the
// fuzz target fuzz_sound): conditions mean what the programs do, and a wrong
// program keeps an open condition.
#include <random>
#include "provertest.h"
#include "../../fuzz/soundgen.h"

#if defined(__SANITIZE_ADDRESS__)
const int kPrograms = 150;   // the sanitizer build runs the same programs, fewer of them
#else
const int kPrograms = 600;
#endif

TEST(SoundnessPrograms, ConditionsMeanWhatTheProgramDoesAndWrongOnesStayOpen) {
  std::mt19937 rng(20261207);
  int wrong = 0, proved = 0, quantified = 0, factorials = 0;
  for (int n = 0; n < kPrograms; n++) {
    unsigned char bytes[64];
    for (unsigned char &b : bytes) b = static_cast<unsigned char>(rng());
    CaptureStdout();
    soundgen::Outcome o = soundgen::Check(bytes, sizeof bytes);
    Out();
    EXPECT_EQ(o.problem, "") << o.program;
    wrong += o.wrong, proved += !o.open;
    quantified += Has(o.program, "$A"), factorials += Has(o.program, "!(+1(");
  }
  printf("wrong %d, proved %d, with quantifiers %d, with factorials of successors %d\n", wrong, proved,
         quantified, factorials);
  EXPECT_TRUE(wrong > kPrograms / 6 && proved > kPrograms / 30 && quantified > kPrograms / 12 &&
              factorials > kPrograms / 12);
}
