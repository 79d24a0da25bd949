// End to end: the real client driven with xdotool on a private X server, and its
// batch exit compared with the headless verifier. Every wait is bounded.
#include <gtest/gtest.h>

#include "private_server.h"

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
std::string Example(const std::string &f) { return QUELL_SOURCE_DIR "/examples/" + f; }
bool Has(const std::string &s, const std::string &part) { return s.find(part) != s.npos; }
bool Exists(const std::string &path) { return access(path.c_str(), F_OK) == 0; }
void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
std::string Shell(const std::string &cmd) {
  std::string out;
  char buf[4096];
  FILE *p = popen(cmd.c_str(), "r");
  for (size_t k; p && (k = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, k);
  return p && pclose(p), out;
}

class EndToEnd : public ::testing::Test {
 protected:
  std::string dir, log;
  pid_t pid = -1;
  void SetUp() override {
    const char *d = getenv("DISPLAY");
    if (!d || !*d) GTEST_SKIP() << "no X display";
    char p[] = "/tmp/quell-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(p), nullptr);
    dir = p, log = dir + "/output.txt";
  }
  void TearDown() override {
    Kill();
    if (!dir.empty() && system(("rm -rf '" + dir + "'").c_str()) != 0) ADD_FAILURE() << dir;
  }
  void Spawn(const std::string &bin, const std::vector<std::string> &args) {
    if ((pid = fork()) == 0) {
      int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (chdir(dir.c_str()) != 0 || fd < 0) _exit(127);
      dup2(fd, 1), dup2(fd, 2), close(fd);
      std::vector<char *> argv{const_cast<char *>(bin.c_str())};
      for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
      argv.push_back(nullptr);
      execv(bin.c_str(), argv.data());
      _exit(127);
    }
  }
  bool WaitFor(int ms, int *status) {
    for (int waited = 0; pid > 0 && waited <= ms; waited += 20, Sleep(20))
      if (waitpid(pid, status, WNOHANG) == pid) return pid = -1, true;
    return false;
  }
  void Kill() {
    int st;
    if (pid > 0 && (kill(pid, SIGTERM), !WaitFor(2000, &st)))
      kill(pid, SIGKILL), waitpid(pid, &st, 0);
    pid = -1;
  }
  int RunToEnd(const std::string &bin, const std::vector<std::string> &args) {
    int st = -1;
    Spawn(bin, args);
    return WaitFor(20000, &st) && WIFEXITED(st) ? WEXITSTATUS(st) : (Kill(), -1);
  }
  // Waits (5 s at most) until the client shows `count` windows of class Quell1.
  bool WaitWindows(size_t count, std::vector<std::string> *ids) {
    for (int i = 0; i < 50; i++, Sleep(100)) {
      std::istringstream in(Shell("timeout 5 xdotool search --onlyvisible --pid " +
                                  std::to_string(pid) + " --class Quell1 2>/dev/null"));
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

TEST_F(EndToEnd, NoArgumentsShowsWindowAndQuitEndsIt) {
  PrivateDisplay priv;
  Spawn(QUELL_GUI_BIN, {});
  std::vector<std::string> ids;
  ASSERT_TRUE(WaitWindows(1, &ids)) << Slurp(log);
  int st = 0;
  bool ended = false;
  for (int attempt = 0; attempt < 5 && !ended; attempt++)
    ended = ClickOn(ids[0], "40x70", 3) && WaitFor(3000, &st);   // quit
  EXPECT_TRUE(ended && WIFEXITED(st) && WEXITSTATUS(st) == 0) << "quit did not end the client";
}

TEST_F(EndToEnd, BatchExitWritesWhatTheHeadlessVerifierWritesAlsoAfterToolkitOptions) {
  std::string prog = Example("maxwrong.q"), batch = dir + "/batch.txt", gui = dir + "/gui.txt";
  EXPECT_GE(RunToEnd(QUELL_BATCH, {prog, batch}), 0);
  ASSERT_TRUE(Exists(batch)) << Slurp(log);
  // A toolkit option with a value is taken away before the two arguments are read.
  EXPECT_EQ(RunToEnd(QUELL_GUI_BIN, {"-xrm", "*foo: bar", prog, gui}), 0) << Slurp(log);
  EXPECT_EQ(Slurp(gui), Slurp(batch));
}

TEST_F(EndToEnd, MissingInvariantAsksAndNeverWrites) {
  std::string out = dir + "/out.txt";
  Spawn(QUELL_GUI_BIN, {Example("noinv.q"), out});
  std::vector<std::string> ids;
  int st = 0;
  EXPECT_TRUE(WaitWindows(2, &ids)) << ids.size();   // the question is a second window
  EXPECT_FALSE(WaitFor(700, &st)) << "the client ended: " << Slurp(log);
  Kill();
  EXPECT_FALSE(Exists(out));
}

// Without a display the toolkit says so and the client fails; no file is written.
TEST(EndToEndNoDisplay, ToolkitMessageAndFailure) {
  std::string out = "/tmp/quell-nodisplay-" + std::to_string(getpid()) + ".txt";
  std::string said = Shell("env -u DISPLAY " QUELL_GUI_BIN " " + Example("swap.q") + " " + out +
                           " 2>&1; echo status=$?");
  EXPECT_TRUE(Has(said, "Can't open display") && !Has(said, "status=0")) << said;
  EXPECT_FALSE(Exists(out));
}

// One session: load a program through the start dialog, veri-conds with an
// axiom, save, quit.
TEST_F(EndToEnd, SessionLoadVeriCondsAxiomSave) {
  PrivateDisplay priv;
  std::string result = dir + "/result.txt";
  Spawn(QUELL_GUI_BIN, {});
  std::vector<std::string> ids;
  bool ok = WaitWindows(1, &ids);
  std::string main = ok ? ids[0] : "", box;
  // start: the read box opens; type the file name and press Ok.
  ok = ok && ClickOn(main, "80x70", 1) && WaitWindows(2, &ids);
  for (const std::string &id : ids) if (id != main) box = id;
  ok = ok && TypeInto(box, Example("maxwrong.q")) && ClickOn(box, "246x30", 1) &&
       WaitWindows(1, &ids);
  EXPECT_TRUE(ok) << "load failed: " << Slurp(log);
  // veri-conds: conditions, sequents, axiom prompt, axiom applied, Cancel.
  ok = ok && ClickOn(main, "80x70", 6) && WaitWindows(2, &ids) && ClickOn(box, "246x30", 1) &&
       ClickOn(box, "246x30", 1) && TypeInto(box, "a>b") && ClickOn(box, "246x30", 1) &&
       ClickOn(box, "246x30", 2) && WaitWindows(1, &ids);
  EXPECT_TRUE(ok) << "veri-conds failed: " << Slurp(log);
  ok = ok && ClickOn(main, "40x70", 2) && WaitWindows(2, &ids) && TypeInto(box, result) &&
       ClickOn(box, "246x30", 1) && WaitWindows(1, &ids);
  EXPECT_TRUE(ok) << "save failed: " << Slurp(log);
  if (ok) ClickOn(main, "40x70", 3);   // quit
  int st = 0;
  EXPECT_TRUE(WaitFor(3000, &st) && WIFEXITED(st) && WEXITSTATUS(st) == 0) << "quit failed";
  // The saved file; the axiom a>b discharged one of the two remaining sequents.
  std::string text = Slurp(result);
  EXPECT_EQ(text.rfind("Procedures:\n\n{ $T }\n%PROC maxwrong(", 0), 0u) << text;
  EXPECT_TRUE(!Has(text, "b>a\n =>\n  a>b") && Has(text, "a>b\n =>\n  $F")) << text;
}

}  // namespace
