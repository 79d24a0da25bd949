// End to end: the real client binary under the test display, driven with
// xdotool, and its batch exit compared with the headless verifier.
#include <gtest/gtest.h>

#include "private_server.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

bool HaveDisplay() {
  const char *d = getenv("DISPLAY");
  return d && *d;
}

std::string TempDir() {
  char dir[] = "/tmp/quell-e2e-XXXXXX";
  if (!mkdtemp(dir)) return "/tmp";
  return dir;
}

std::string Example(const char *name) {
  return std::string(QUELL_SOURCE_DIR) + "/examples/" + name;
}

bool Exists(const std::string &path) { return access(path.c_str(), F_OK) == 0; }

std::string Slurp(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// A started child process with its output in a file.
struct Child {
  pid_t pid = -1;
  std::string out;   // stdout and stderr
};

Child Spawn(const std::string &bin, const std::vector<std::string> &args, const std::string &dir,
            bool withDisplay = true) {
  Child c;
  c.out = dir + "/output.txt";
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    int fd = open(c.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
      dup2(fd, 1);
      dup2(fd, 2);
      close(fd);
    }
    if (!withDisplay) unsetenv("DISPLAY");
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(bin.c_str()));
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    execv(bin.c_str(), argv.data());
    _exit(127);
  }
  c.pid = pid;
  return c;
}

// Waits at most ms milliseconds; true with the wait status when it ended.
bool WaitFor(Child &c, int ms, int *status) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    pid_t r = waitpid(c.pid, status, WNOHANG);
    if (r == c.pid) {
      c.pid = -1;
      return true;
    }
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void Kill(Child &c) {
  if (c.pid <= 0) return;
  kill(c.pid, SIGTERM);
  int st;
  if (!WaitFor(c, 2000, &st)) {
    kill(c.pid, SIGKILL);
    waitpid(c.pid, &st, 0);
  }
  c.pid = -1;
}

// Runs to the end (bounded); returns the exit status, or -1 when it did not
// end normally in time.
int RunToEnd(const std::string &bin, const std::vector<std::string> &args, const std::string &dir,
             bool withDisplay = true, int ms = 20000) {
  Child c = Spawn(bin, args, dir, withDisplay);
  int st = 0;
  if (!WaitFor(c, ms, &st)) {
    Kill(c);
    return -1;
  }
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

std::string Shell(const std::string &cmd) {
  std::string out;
  FILE *p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

// The visible window of class Quell1 that belongs to pid, or "" (bounded wait).
std::string FindWindow(pid_t pid) {
  std::string out = Shell("timeout 8 xdotool search --sync --onlyvisible --pid " +
                          std::to_string(pid) + " --class Quell1 2>/dev/null");
  std::istringstream in(out);
  std::string first;
  in >> first;
  return first;
}

// Root coordinates of the middle of the n-th window of size WxH in the
// window tree of win (creation order), or false.
bool ChildCenter(const std::string &win, const std::string &size, int n, int *x, int *y) {
  std::istringstream in(Shell("xwininfo -tree -id " + win + " 2>/dev/null"));
  std::string line;
  int seen = 0;
  while (std::getline(in, line)) {
    size_t at = line.find(" " + size + "+");
    if (at == std::string::npos) continue;
    if (++seen != n) continue;
    size_t plus = line.rfind("  +");
    int w = 0, h = 0, ax = 0, ay = 0;
    if (plus == std::string::npos || sscanf(size.c_str(), "%dx%d", &w, &h) != 2 ||
        sscanf(line.c_str() + plus, " +%d+%d", &ax, &ay) != 2)
      return false;
    *x = ax + w / 2;
    *y = ay + h / 2;
    return true;
  }
  return false;
}

// Whether the pointer is over win or one of its subwindows.
bool PointerIsOver(const std::string &win) {
  std::string where = Shell("timeout 5 xdotool getmouselocation --shell 2>/dev/null");
  size_t at = where.find("WINDOW=");
  if (at == std::string::npos) return false;
  unsigned long under = strtoul(where.c_str() + at + 7, nullptr, 10);
  if (under == strtoul(win.c_str(), nullptr, 10)) return true;
  std::istringstream in(Shell("xwininfo -tree -id " + win + " 2>/dev/null"));
  for (std::string line; std::getline(in, line);) {
    size_t hex = line.find("0x");
    if (hex != std::string::npos && strtoul(line.c_str() + hex, nullptr, 16) == under) return true;
  }
  return false;
}

TEST(EndToEnd, NoArgumentsShowsWindowAndQuitEndsIt) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  std::string display;
  pid_t server = StartPrivateServer(&display);
  if (server > 0) setenv("DISPLAY", display.c_str(), 1);
  struct ServerStop {
    pid_t pid;
    ~ServerStop() { StopPrivateServer(pid); }
  } stop{server};
  std::string dir = TempDir();
  Child c = Spawn(QUELL_GUI_BIN, {}, dir);
  std::string win = FindWindow(c.pid);
  ASSERT_NE(win, "") << Slurp(c.out);
  EXPECT_NE(Shell("xprop -id " + win + " WM_CLASS 2>/dev/null").find("\"Quell1\""),
            std::string::npos);
  int x = 0, y = 0;
  ASSERT_TRUE(ChildCenter(win, "40x70", 3, &x, &y)) << Shell("xwininfo -tree -id " + win);
  int st = 0;
  bool ended = false;
  // Other tests may map windows on the same display: raise ours and click
  // only while the pointer is over it.
  for (int attempt = 0; attempt < 5 && !ended; attempt++) {
    Shell("timeout 5 xdotool windowraise " + win + " mousemove " + std::to_string(x) + " " +
          std::to_string(y) + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!PointerIsOver(win)) continue;
    Shell("xdotool click 1 2>/dev/null");
    ended = WaitFor(c, 3000, &st);
  }
  if (!ended) Kill(c);
  ASSERT_TRUE(ended) << "quit did not end the client";
  EXPECT_TRUE(WIFEXITED(st));
  EXPECT_EQ(WEXITSTATUS(st), 0);
}

TEST(EndToEnd, BatchExitWritesWhatTheHeadlessVerifierWrites) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  const char *programs[] = {"swap.q", "count.q", "maxwrong.q"};
  for (const char *p : programs) {
    std::string dir = TempDir();
    std::string prog = Example(p);
    ASSERT_TRUE(Exists(prog)) << prog;
    int rb = RunToEnd(QUELL_BATCH, {prog, dir + "/batch.txt"}, dir);
    EXPECT_GE(rb, 0) << p;
    ASSERT_TRUE(Exists(dir + "/batch.txt")) << p << ": " << Slurp(dir + "/output.txt");
    EXPECT_EQ(RunToEnd(QUELL_GUI_BIN, {prog, dir + "/gui.txt"}, dir), 0)
        << p << ": " << Slurp(dir + "/output.txt");
    ASSERT_TRUE(Exists(dir + "/gui.txt")) << p;
    std::string gui = Slurp(dir + "/gui.txt");
    EXPECT_EQ(gui, Slurp(dir + "/batch.txt")) << p;
    EXPECT_EQ(gui.rfind("Procedures:\n\n", 0), 0u);
  }
}

TEST(EndToEnd, ToolkitOptionWithValueStillTakesTheBatchPath) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  std::string dir = TempDir();
  std::string prog = Example("swap.q");
  RunToEnd(QUELL_BATCH, {prog, dir + "/batch.txt"}, dir);
  ASSERT_TRUE(Exists(dir + "/batch.txt"));
  std::string batch = Slurp(dir + "/batch.txt");
  EXPECT_EQ(RunToEnd(QUELL_GUI_BIN, {"-xrm", "*foo: bar", prog, dir + "/a.txt"}, dir), 0);
  EXPECT_EQ(Slurp(dir + "/a.txt"), batch);
  EXPECT_EQ(RunToEnd(QUELL_GUI_BIN, {"-geometry", "800x600", prog, dir + "/b.txt"}, dir), 0);
  EXPECT_EQ(Slurp(dir + "/b.txt"), batch);
}

TEST(EndToEnd, MissingInvariantAsksAndNeverWrites) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  std::string dir = TempDir();
  std::string out = dir + "/out.txt";
  Child c = Spawn(QUELL_GUI_BIN, {Example("noinv.q"), out}, dir);
  std::string win = FindWindow(c.pid);
  EXPECT_NE(win, "");
  // The question is a second visible window of the client.
  std::string all = Shell("timeout 5 xdotool search --onlyvisible --pid " +
                          std::to_string(c.pid) + " --class Quell1 2>/dev/null");
  int windows = 0;
  std::istringstream in(all);
  for (std::string id; in >> id;) windows++;
  EXPECT_GE(windows, 2);
  int st = 0;
  EXPECT_FALSE(WaitFor(c, 700, &st)) << "the client ended: " << Slurp(c.out);
  EXPECT_FALSE(Exists(out));
  Kill(c);
  EXPECT_FALSE(Exists(out));
}

TEST(EndToEnd, FailuresOfTheBatchExitAreReported) {
  if (!HaveDisplay()) GTEST_SKIP() << "no X display";
  std::string dir = TempDir();
  std::string out = dir + "/out.txt";
  EXPECT_GT(RunToEnd(QUELL_GUI_BIN, {dir + "/missing.q", out}, dir), 0);
  std::string printed = Slurp(dir + "/output.txt");
  EXPECT_NE(printed.find("Error: "), std::string::npos);
  EXPECT_NE(printed.find("missing.q"), std::string::npos);
  EXPECT_FALSE(Exists(out));

  std::string bad = dir + "/no-such-dir/out.txt";
  EXPECT_GT(RunToEnd(QUELL_GUI_BIN, {Example("swap.q"), bad}, dir), 0);
  printed = Slurp(dir + "/output.txt");
  EXPECT_NE(printed.find("Error: "), std::string::npos);
  EXPECT_NE(printed.find(bad), std::string::npos);
}

TEST(EndToEnd, NoDisplayIsTheToolkitsMessageAndFailure) {
  std::string dir = TempDir();
  std::string out = dir + "/out.txt";
  int r = RunToEnd(QUELL_GUI_BIN, {Example("swap.q"), out}, dir, false);
  EXPECT_GT(r, 0);
  EXPECT_NE(Slurp(dir + "/output.txt").find("Can't open display"), std::string::npos);
  EXPECT_FALSE(Exists(out));
}

}  // namespace
