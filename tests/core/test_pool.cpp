// The pool of a run's records: zero-filled blocks, reuse of freed blocks,
// release of everything at once, and (sanitizer build) no use of a freed or
// released block going unnoticed.
#include "../../core/core.h"
#include "../../core/pool.h"
#include "../../prover/proof.h"
#include "../../vcgen/assump.h"
#include "coretest.h"

TEST(Pool, BlocksAreZeroFilledReusedAndReleasedTogether) {
  PoolRelease();
  EXPECT_EQ(PoolBytes(), 0u);
  // Every size, small and chunk-sized, comes zero-filled, also after reuse.
  for (size_t size : {1, 8, 24, 100, 1024, 5000, 200000}) {
    SCOPED_TRACE(size);
    for (int round = 0; round < 2; round++) {
      unsigned char *p = static_cast<unsigned char *>(PoolAlloc(size));
      for (size_t i = 0; i < size; i++) ASSERT_EQ(p[i], 0);
      memset(p, 0xab, size);
      PoolFree(p, size);
    }
  }
  EXPECT_GT(PoolBytes(), 200000u);
#if !defined(__SANITIZE_ADDRESS__)
  // A freed small block is the next one of its size handed out.
  void *a = PoolAlloc(32);
  PoolFree(a, 32);
  EXPECT_EQ(PoolAlloc(32), a);
#endif
  PoolRelease();
  EXPECT_EQ(PoolBytes(), 0u);
}

// A run's records go with RunClear; a program loaded again afterwards gives
// the same result, and the pool does not grow from one run to the next.
TEST(Pool, RunClearReleasesEveryRecordOfTheRun) {
  std::string first;
  size_t held = 0;
  for (int run = 0; run < 3; run++) {
    RunClear();
    std::string name = QUELL_SOURCE_DIR "/examples/calls.q";
    CaptureStdout();
    StartProg1(&name[0]);
    Out();
    StartProg0();
    Text t;
    TextInit(&t);
    ResultTextBuild(&t);
    if (run == 0) first = TextStr(&t), held = PoolBytes();
    EXPECT_TRUE(Has(first, "Remaining Verification Conditions") && Has(first, "%PROC"));
    EXPECT_EQ(TextStr(&t), first);
    EXPECT_EQ(PoolBytes(), held);
    TextFree(&t);
  }
  RunClear();
  EXPECT_EQ(PoolBytes(), 0u);
  EXPECT_EQ(procedureList.procedure, nullptr);
  EXPECT_EQ(sequentList.sequent, nullptr);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(PoolDeathTest, UseAfterFreeOrReleaseIsCaught) {
  EXPECT_DEATH(
      {
        TermPtr t = TermMakeName("x");
        TermFree(t);
        printf("%c", *static_cast<volatile char *>(static_cast<void *>(t)));
      },
      "use-after-poison");
  EXPECT_DEATH(
      {
        TermPtr t = TermMakeName("x");
        PoolRelease();
        printf("%c", static_cast<volatile char *>(t->name)[0]);
      },
      "use-after-free");
}
#endif
