// End to end: the real client driven with xdotool on a private X server, and its
// batch exit compared with the headless verifier. Every wait is bounded.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::string Slurp(const std::string &path) {
  std::stringstream ss;
  ss << std::ifstream(path, std::ios::binary).rdbuf();
  return ss.str();
}
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
  std::string old = getenv("DISPLAY"), pid, file;
  explicit PrivateDisplay(const std::string &dir) : file(dir + "/display") {
    pid = Shell("Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>" + file +
                " >/dev/null 2>&1 & echo $!");
    for (int i = 0; i < 50 && Slurp(file).find('\n') == std::string::npos; i++) Sleep(100);
    std::string number = Slurp(file);
    if (number.find('\n') != std::string::npos)
      setenv("DISPLAY", (":" + number.substr(0, number.find('\n'))).c_str(), 1);
  }
  ~PrivateDisplay() { kill(atoi(pid.c_str()), SIGTERM), setenv("DISPLAY", old.c_str(), 1); }
};

class EndToEnd : public ::testing::Test {
 protected:
  std::string dir;
  void SetUp() override {
    const char *d = getenv("DISPLAY");
    if (!d || !*d) GTEST_SKIP() << "no X display";
    char p[] = "/tmp/quell-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(p), nullptr);
    dir = p;
  }
  void TearDown() override {
    if (!dir.empty() && system(("rm -rf '" + dir + "'").c_str()) != 0) ADD_FAILURE() << dir;
  }
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
  static bool ClickOn(const std::string &w, const std::string &wh, int k) {
    return At(w, wh, k, "click 1");
  }
  static bool TypeInto(const std::string &box, const std::string &t) {
    return At(box, "500x400", 1, "type --delay 5 '" + t + "'");
  }
};

TEST_F(EndToEnd, BatchExitWritesWhatTheHeadlessVerifierWritesAlsoAfterToolkitOptions) {
  std::string prog = QUELL_SOURCE_DIR "/examples/maxwrong.q";
  Run(QUELL_BATCH " " + prog + " batch.txt");
  ASSERT_NE(Slurp(dir + "/batch.txt"), "") << Slurp(dir + "/log");
  // A toolkit option with a value is taken away before the two arguments are read.
  EXPECT_EQ(Run(QUELL_GUI_BIN " -xrm '*foo: bar' " + prog + " gui.txt"), "0\n") << Slurp(dir + "/log");
  EXPECT_EQ(Slurp(dir + "/gui.txt"), Slurp(dir + "/batch.txt"));
}

// Without a display the toolkit says so and the client fails; no file is written.
TEST_F(EndToEnd, NoDisplayToolkitMessageAndFailure) {
  EXPECT_EQ(Run("env -u DISPLAY " QUELL_GUI_BIN " " QUELL_SOURCE_DIR "/examples/swap.q out.txt"), "1\n");
  EXPECT_TRUE(Slurp(dir + "/log").find("Can't open display") != std::string::npos) << Slurp(dir + "/log");
  EXPECT_EQ(Slurp(dir + "/out.txt"), "");
}

// One session of typing and clicking: load a program through the start dialog,
// save, quit.
TEST_F(EndToEnd, SessionLoadSaveQuit) {
  PrivateDisplay priv(dir);
  std::string result = dir + "/result.txt", status = dir + "/status";
  Shell("cd " + dir + " && (timeout 120 " QUELL_GUI_BIN "; echo $? >status) >log 2>&1 &");
  std::vector<std::string> ids;
  bool ok = WaitWindows(1, &ids);
  std::string main = ok ? ids[0] : "", box;
  // start: the read box opens; type the file name and press Ok.
  ok = ok && ClickOn(main, "80x70", 1) && WaitWindows(2, &ids);
  for (const std::string &id : ids) if (id != main) box = id;
  ok = ok && TypeInto(box, QUELL_SOURCE_DIR "/examples/maxwrong.q") && ClickOn(box, "246x30", 1) &&
       WaitWindows(1, &ids);
  EXPECT_TRUE(ok) << "load failed: " << Slurp(dir + "/log");
  ok = ok && ClickOn(main, "40x70", 2) && WaitWindows(2, &ids) && TypeInto(box, result) &&
       ClickOn(box, "246x30", 1) && WaitWindows(1, &ids);
  EXPECT_TRUE(ok) << "save failed: " << Slurp(dir + "/log");
  if (ok) ClickOn(main, "40x70", 3);   // quit
  for (int i = 0; i < 30 && Slurp(status).empty(); i++) Sleep(100);
  EXPECT_EQ(Slurp(status), "0\n") << "quit failed";
  std::string text = Slurp(result);
  EXPECT_TRUE(text.rfind("Procedures:\n\n{ $T }\n%PROC maxwrong(", 0) == 0 &&
              text.find("b>a\n =>\n  a>b") != std::string::npos) << text;
}

}  // namespace
