// With 1000 procedures loaded, every command's text must appear within 100 ms
// (500 ms in the slower sanitizer build), events delivered.
#include "gui_fixture.h"

#include <chrono>

namespace {

#if defined(__SANITIZE_ADDRESS__)
const double kLimitMs = 500.0;
#else
const double kLimitMs = 100.0;
#endif

class CommandTimes : public GuiTest {};

TEST_F(CommandTimes, EveryCommandWithAThousandProcedures) {
  std::string prog;
  for (int i = 0; i < 1000; i++)
    prog += "{n>0}%PROC proc" + std::to_string(i) +
            "(%INP/n:int;%IOP/x:int)==%LOC [int:i]%STM [LB=1=>$Oi=0^$Ox=0^$OLB=2;*[LB=2^~(i=n)=>("
            "$OLB=3|$OLB=4)LB=3=>$Oi=+(i,1)^$Ox=+(x,1)^$OLB=2;{x=i}]?[LB=4^x>0=>$OLB=5|~=>$OLB=6;"
            "LB=5=>$Ox=x^$OLB=7;LB=6=>$Ox=+(x,1)^$OLB=7;]]{x>-1}";
  StartProg1(strdup(prog.c_str()));
  wAskInv(topLevel, nullptr, nullptr);
  ASSERT_EQ(state, 0);
  SetSensitiveFalse(1);
  auto timed = [](const char *what, Widget b, Widget in = nullptr, const char *word = "proc999") {
    if (in) { ASSERT_TRUE(SelectWord(in, word)) << what; }
    auto t0 = std::chrono::steady_clock::now();
    Press(b);
    std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - t0;
    EXPECT_LT(ms.count(), kLimitMs) << what;
  };
  timed("refresh", wredisplay);
  timed("select", wselect, wtext);
  timed("select: part", wp2->ok, wp2->text, "(4,7)");
  Press(wp1->ok), Press(wp2->cancel);
  timed("post-cond", wpost, wtext);
  timed("post-cond: part", wp1->ok, wp1->text, "(1,7)");
  timed("post-cond: descend", wp3->ok, wp3->text, "(1,4)");
  Press(wp3->cancel), Press(wp1->cancel);
  timed("expand", wexpand, wtext);
  timed("expand: part", wp1->ok, wp1->text, "LB=1=>$Oi=0^$Ox=0^$OLB=2;");
  Press(wp3->ok), Press(wp1->cancel);
  timed("veri-conds (one)", wassumption, wtext);
  timed("veri-conds: sequents", wp1->ok);
  timed("veri-conds: axiom prompt", wp1->ok);
  SetTextOf(wp1->text, "x>-1");
  timed("veri-conds: axiom", wp1->ok);
  Press(wp1->cancel), Select(wtext, 0, 0);
  timed("veri-conds (all)", wassumption);
  timed("veri-conds (all): sequents", wp1->ok);
  Press(wp1->cancel);
  timed("save dialog", wsave);
  Press(wp1->cancel);
}

}  // namespace
