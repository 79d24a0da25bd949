// End to end: the real client driven with xdotool on a private X server, and its
// batch exit compared with the headless verifier. Every wait is bounded.
#include <signal.h>

#include <cstdio>
#include <thread>

#include "client_fixture.h"

namespace {

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
std::string Shell(const std::string &cmd) {
  std::string out;
  char buf[4096];
  FILE *p = popen(cmd.c_str(), "r");
  for (size_t k; p && (k = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, k);
  return p && pclose(p), out;
}

// A private Xvfb, named by DISPLAY while the object lives (the old one stays
// when it is not up within 5 s).
struct PrivateDisplay {
  std::string old = getenv("DISPLAY"), file;
  int pid = 0;
  explicit PrivateDisplay(const std::string &dir) : file(dir + "/display") {
    pid = atoi(Shell("Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>" + file +
                " >/dev/null 2>&1 & echo $!").c_str());
    for (int i = 0; i < 50 && Slurp(file).find('\n') == std::string::npos; i++) Sleep(100);
    std::string number = Slurp(file);
    if (number.find('\n') != std::string::npos)
      setenv("DISPLAY", (":" + number.substr(0, number.find('\n'))).c_str(), 1);
  }
  ~PrivateDisplay() { setenv("DISPLAY", old.c_str(), 1); if (pid > 0) kill(pid, SIGTERM); }
};

class EndToEnd : public ::testing::Test {
 protected:
  std::string dir;
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    char p[] = "/tmp/quell-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(p), nullptr);
    dir = p;
  }
  void TearDown() override {
    if (!dir.empty() && system(("rm -rf '" + dir + "'").c_str()) != 0) ADD_FAILURE() << dir;
  }
  std::string Log() { return Slurp(dir + "/log"); }
  std::string Run(const std::string &cmd) {   // its exit status; output in dir/log
    return Shell("cd " + dir + " && timeout 20 " + cmd + " >log 2>&1; echo $?");
  }
  // Waits (5 s at most) until the display shows `count` windows of class Quell1.
  static bool WaitWindows(size_t count, std::vector<std::string> *ids) {
    for (int i = 0; i < 50; i++, Sleep(100)) {
      std::istringstream in(Shell("timeout 5 xdotool search --onlyvisible --class Quell1 2>/dev/null"));
      ids->clear();
      for (std::string id; in >> id;) ids->push_back(id);
      if (ids->size() == count) return true;
    }
    return false;
  }
  // Raises win, moves the pointer to the middle of its k-th subwindow of that size, runs `then`.
  static bool At(const std::string &win, const std::string &size, int k, const std::string &then) {
    std::istringstream in(Shell("xwininfo -tree -id " + win + " 2>/dev/null"));
    int seen = 0, w = 0, h = 0, x = 0, y = 0;
    sscanf(size.c_str(), "%dx%d", &w, &h);
    for (std::string line; std::getline(in, line);) {
      if (line.find(" " + size + "+") == std::string::npos || ++seen != k) continue;
      size_t plus = line.rfind("  +");
      if (plus == std::string::npos || sscanf(line.c_str() + plus, " +%d+%d", &x, &y) != 2)
        return false;
      // No --sync: it waits forever when the pointer is there already.
      Shell("xdotool windowraise " + win + " mousemove " + std::to_string(x + w / 2) + " " +
            std::to_string(y + h / 2) + " sleep 0.05 " + then + " 2>/dev/null");
      return Sleep(250), true;
    }
    return false;
  }
};

TEST_F(EndToEnd, BatchExitWritesWhatTheHeadlessVerifierWritesAlsoAfterToolkitOptionsAndWithTheSolver) {
  std::string prog = Example("maxwrong.q");
  Run(QUELL_BATCH " --no-smt " + prog + " batch.txt");
  ASSERT_NE(Slurp(dir + "/batch.txt"), "") << Log();
  // A toolkit option with a value is taken away before the two arguments are read.
  EXPECT_EQ(Run(QUELL_GUI_BIN " -xrm '*foo: bar' " + prog + " gui.txt"), "0\n") << Log();
  EXPECT_EQ(Slurp(dir + "/gui.txt"), Slurp(dir + "/batch.txt"));
  // The solver's pass runs only when the resource smt is true; the batch exit
  // then writes what quell1-batch writes by default.
  std::string max = Example("max.q");
  Run(QUELL_BATCH " " + max + " smt.txt");
  Run(QUELL_BATCH " --no-smt " + max + " five.txt");
  ASSERT_NE(Slurp(dir + "/smt.txt"), Slurp(dir + "/five.txt")) << Log();
  EXPECT_EQ(Run(QUELL_GUI_BIN " " + max + " gui.txt"), "0\n") << Log();
  EXPECT_EQ(Slurp(dir + "/gui.txt"), Slurp(dir + "/five.txt"));
  EXPECT_EQ(Run(QUELL_GUI_BIN " -xrm '*smt: true' " + max + " gui.txt"), "0\n") << Log();
  EXPECT_EQ(Slurp(dir + "/gui.txt"), Slurp(dir + "/smt.txt"));
}

// The client locates errors of the program as the headless verifier does.
TEST_F(EndToEnd, ErrorLinesAreLocatedOnStandardError) {
  std::ofstream(dir + "/bad.q") << "{$T}\n%PROC p(%IOP/x:int)==\n%STM[LB=1=>$Ox=1^$OLB=2;\nxyz\n]\n{x=1}\n";
  EXPECT_EQ(Run(QUELL_GUI_BIN " bad.q gui.txt"), "0\n") << Log();
  EXPECT_TRUE(Has(Log(), "Error: sentenceRead\n") && Has(Log(), "bad.q:4: error: sentenceRead [in procedure p]\n"))
      << Log();
}

// Without a display the toolkit says so and the client fails; no file is written.
TEST_F(EndToEnd, NoDisplayToolkitMessageAndFailure) {
  EXPECT_EQ(Run("env -u DISPLAY " QUELL_GUI_BIN " " + Example("swap.q") + " out.txt"), "1\n");
  EXPECT_TRUE(Log().find("Can't open display") != std::string::npos && Slurp(dir + "/out.txt").empty())
      << Log();
}

// Started with a program lacking an invariant and an output file, the client asks
// for the invariant (a second window) and never writes the file.
TEST_F(EndToEnd, MissingInvariantAsksAndNeverWrites) {
  PrivateDisplay priv(dir);
  std::string out = dir + "/out.txt", status = dir + "/status";
  // The pid is timeout's, which passes a TERM on to the client.
  Shell("cd " + dir + " && (timeout 120 " QUELL_GUI_BIN " " + Example("noinv.q") +
        " out.txt & echo $! >pid; wait $!; echo $? >status) >log 2>&1 &");
  std::vector<std::string> ids;
  EXPECT_TRUE(WaitWindows(2, &ids)) << ids.size() << Log();
  Sleep(700);
  EXPECT_EQ(Slurp(status), "") << "the client ended: " << Log();
  int pid = atoi(Slurp(dir + "/pid").c_str());
  if (pid > 0) kill(pid, SIGTERM);
  for (int i = 0; i < 30 && Slurp(status).empty(); i++) Sleep(100);
  EXPECT_TRUE(Slurp(out).empty() && access(out.c_str(), F_OK) != 0);
}

// One session of typing and clicking: load a program through the start dialog,
// veri-conds with an axiom, save, quit.
TEST_F(EndToEnd, SessionLoadVeriCondsAxiomSaveQuit) {
  PrivateDisplay priv(dir);
  std::string result = dir + "/result.txt", status = dir + "/status";
  // The font is named: the window sizes it is found by depend on it.
  Shell("cd " + dir + " && (timeout 120 " QUELL_GUI_BIN " -xrm '*font: 6x13'; echo $? >status) >log 2>&1 &");
  std::vector<std::string> ids;
  bool ok = WaitWindows(1, &ids);
  std::string main = ok ? ids[0] : "", box;
  // start: the read box opens; type the file name and press Ok.
  const char *ok1 = "click 1", *typed = "type --delay 5 '";
  ok = ok && At(main, "80x70", 1, ok1) && WaitWindows(2, &ids);
  for (const std::string &id : ids) if (id != main) box = id;
  ok = ok && At(box, "500x400", 1, typed + Example("maxwrong.q") + "'") &&
       At(box, "246x30", 1, ok1) && WaitWindows(1, &ids);
  EXPECT_TRUE(ok) << "load failed: " << Log();
  // veri-conds: conditions, sequents, the axiom prompt, the axiom a>b applied, Cancel.
  ok = ok && At(main, "80x70", 6, ok1) && WaitWindows(2, &ids) && At(box, "246x30", 1, ok1) &&
       At(box, "246x30", 1, ok1) && At(box, "500x400", 1, std::string(typed) + "a>b'") &&
       At(box, "246x30", 1, ok1) && At(box, "246x30", 2, ok1) && WaitWindows(1, &ids);
  EXPECT_TRUE(ok) << "veri-conds failed: " << Log();
  ok = ok && At(main, "40x70", 2, ok1) && WaitWindows(2, &ids) &&
       At(box, "500x400", 1, typed + result + "'") && At(box, "246x30", 1, ok1) && WaitWindows(1, &ids);
  EXPECT_TRUE(ok) << "save failed: " << Log();
  if (ok) At(main, "40x70", 3, ok1);   // quit
  for (int i = 0; i < 30 && Slurp(status).empty(); i++) Sleep(100);
  EXPECT_EQ(Slurp(status), "0\n") << "quit failed";
  // The program part is what quell1-batch writes; the axiom discharged one of the two sequents.
  Run(QUELL_BATCH " --no-smt " + Example("maxwrong.q") + " batch.txt");
  std::string text = Slurp(result), batch = Slurp(dir + "/batch.txt");
  size_t sep = batch.find("\n;;---");
  EXPECT_TRUE(sep != std::string::npos && text.compare(0, sep, batch, 0, sep) == 0) << text;
  EXPECT_TRUE(Has(batch, "b>a\n =>\n  a>b") && !Has(text, "b>a\n =>\n  a>b")) << text;
  EXPECT_TRUE(Has(text, "a>b\n =>\n  $F")) << text;
}

// "-d" first reaches the client, not the toolkit: the log is opened, nothing is
// loaded, and later toolkit options still work. Error lines of a load reach the
// redirected standard output while the client runs.
TEST_F(EndToEnd, DebugFirstAndErrorLinesWhileRunning) {
  PrivateDisplay priv(dir);
  std::string status = dir + "/status";
  Shell("cd " + dir + " && (timeout 120 " QUELL_GUI_BIN " -d " + Example("swap.q") +
        " -xrm '*font: 6x13' & echo $! >pid; wait $!; echo $? >status) >log 2>&1 &");
  std::vector<std::string> ids;
  bool ok = WaitWindows(1, &ids);
  EXPECT_TRUE(ok && Slurp(status).empty() && Exists((dir + "/vLog").c_str())) << Log();
  std::string main = ok ? ids[0] : "", box;
  ok = ok && At(main, "80x70", 1, "click 1") && WaitWindows(2, &ids);
  for (const std::string &id : ids) if (id != main) box = id;
  ok = ok && At(box, "500x400", 1, "type --delay 5 '%PROC q()==%STM[junk]'") &&
       At(box, "246x30", 1, "click 1");
  for (int i = 0; i < 30 && !Has(Log(), "Error: "); i++) Sleep(100);
  EXPECT_TRUE(ok && Has(Log(), "Error: sentenceRead") && Slurp(status).empty()) << Log();
  EXPECT_TRUE(Has(Slurp(dir + "/vLog"), "----- Prog -----")) << "nothing logged";
  int pid = atoi(Slurp(dir + "/pid").c_str());
  if (pid > 0) kill(pid, SIGTERM);
  for (int i = 0; i < 30 && Slurp(status).empty(); i++) Sleep(100);
}

}  // namespace
