// One session of the real client driven with xdotool: load a program through
// the start dialog, open veri-conds, give an axiom, save, quit. Every wait is
// bounded.
#include <gtest/gtest.h>

#include "private_server.h"

#include <poll.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// The display the session runs on: a private server of its own, so that
// tests running in parallel on the shared display cannot move its pointer.
std::string sessionDisplay;

std::string Run(const std::string &cmd) {
  std::string out;
  FILE *p = popen(("DISPLAY=" + sessionDisplay + " " + cmd).c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t k;
  while ((k = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, k);
  pclose(p);
  return out;
}

std::string Slurp(const std::string &path) {
  std::ifstream f(path);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The visible windows of class Quell1 of the process.
std::vector<std::string> Windows(pid_t pid) {
  std::istringstream in(Run("timeout 5 xdotool search --onlyvisible --pid " +
                            std::to_string(pid) + " --class Quell1 2>/dev/null"));
  std::vector<std::string> ids;
  for (std::string id; in >> id;) ids.push_back(id);
  return ids;
}

// Waits (bounded) until the process has `count` visible windows.
bool WaitWindows(pid_t pid, size_t count, std::vector<std::string> *ids) {
  for (int i = 0; i < 50; i++) {
    *ids = Windows(pid);
    if (ids->size() == count) return true;
    Sleep(100);
  }
  return false;
}

// Root coordinates of the middle of the k-th child window of size WxH.
bool Center(const std::string &win, const std::string &size, int k, int *x, int *y) {
  std::istringstream in(Run("xwininfo -tree -id " + win + " 2>/dev/null"));
  int seen = 0, w = 0, h = 0;
  sscanf(size.c_str(), "%dx%d", &w, &h);
  for (std::string line; std::getline(in, line);) {
    if (line.find(" " + size + "+") == std::string::npos || ++seen != k) continue;
    size_t plus = line.rfind("  +");
    int ax = 0, ay = 0;
    if (plus == std::string::npos || sscanf(line.c_str() + plus, " +%d+%d", &ax, &ay) != 2)
      return false;
    *x = ax + w / 2;
    *y = ay + h / 2;
    return true;
  }
  return false;
}

bool ClickOn(const std::string &win, const std::string &size, int k) {
  int x = 0, y = 0;
  if (!Center(win, size, k, &x, &y)) return false;
  // No --sync: it waits for a motion that never comes when the pointer is
  // already there.
  // Raised first: other tests may map windows on the same display.
  Run("xdotool windowraise " + win + " mousemove " + std::to_string(x) + " " + std::to_string(y) +
      " sleep 0.05 click 1 2>/dev/null");
  Sleep(250);
  return true;
}

// Moves the pointer over the text area of a read box (focus follows it) and types.
bool TypeInto(const std::string &box, const std::string &text) {
  int x = 0, y = 0;
  if (!Center(box, "500x400", 1, &x, &y)) return false;
  Run("xdotool windowraise " + box + " mousemove " + std::to_string(x) + " " + std::to_string(y) +
      " sleep 0.05 type --delay 5 '" + text + "' 2>/dev/null");
  Sleep(200);
  return true;
}

TEST(EndToEndSession, LoadVeriCondsAxiomSave) {
  const char *d = getenv("DISPLAY");
  if (!d || !*d) GTEST_SKIP() << "no X display";
  char dirBuf[] = "/tmp/quell-session-XXXXXX";
  ASSERT_NE(mkdtemp(dirBuf), nullptr);
  std::string dir = dirBuf;
  std::string log = dir + "/output.txt";
  std::string result = dir + "/result.txt";
  pid_t server = StartPrivateServer(&sessionDisplay);
  if (server < 0) sessionDisplay = d;   // no Xvfb: the shared display
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    if (!freopen(log.c_str(), "w", stdout)) _exit(127);
    setenv("DISPLAY", sessionDisplay.c_str(), 1);
    execl(QUELL_GUI_BIN, QUELL_GUI_BIN, (char *)nullptr);
    _exit(127);
  }
  if (pid <= 0) {
    StopPrivateServer(server);
    FAIL() << "fork failed";
  }
  auto end = [&]() {
    int st = 0;
    for (int i = 0; i < 30; i++) {
      if (waitpid(pid, &st, WNOHANG) == pid) return st;
      Sleep(100);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &st, 0);
    return -1;
  };

  std::vector<std::string> ids;
  bool ok = WaitWindows(pid, 1, &ids);
  std::string main = ok ? ids[0] : "";
  std::string box;
  if (ok) {
    // start: the read box opens; type the file name and press Ok.
    ok = ClickOn(main, "80x70", 1) && WaitWindows(pid, 2, &ids);
    for (const std::string &id : ids)
      if (id != main) box = id;
    ok = ok && TypeInto(box, std::string(QUELL_SOURCE_DIR) + "/examples/maxwrong.q") &&
         ClickOn(box, "246x30", 1) && WaitWindows(pid, 1, &ids);
  }
  EXPECT_TRUE(ok) << "load failed: " << Slurp(log);
  if (ok) {
    // veri-conds: conditions, sequents, axiom prompt, axiom applied, Cancel.
    ok = ClickOn(main, "80x70", 6) && WaitWindows(pid, 2, &ids) && ClickOn(box, "246x30", 1) &&
         ClickOn(box, "246x30", 1) && TypeInto(box, "a>b") && ClickOn(box, "246x30", 1) &&
         ClickOn(box, "246x30", 2) && WaitWindows(pid, 1, &ids);
    EXPECT_TRUE(ok) << "veri-conds failed: " << Slurp(log);
  }
  if (ok) {
    // save to a file in the test's directory.
    ok = ClickOn(main, "40x70", 2) && WaitWindows(pid, 2, &ids) && TypeInto(box, result) &&
         ClickOn(box, "246x30", 1) && WaitWindows(pid, 1, &ids);
    EXPECT_TRUE(ok) << "save failed: " << Slurp(log);
  }
  if (ok) ClickOn(main, "40x70", 3);   // quit
  int st = end();
  EXPECT_TRUE(st >= 0 && WIFEXITED(st) && WEXITSTATUS(st) == 0) << "quit did not end the client";

  std::string text = Slurp(result);
  EXPECT_EQ(text.rfind("Procedures:\n\n{ $T }\n%PROC maxwrong(", 0), 0u) << text;
  EXPECT_NE(text.find(";;--------------------------------------\n\nRemaining Verification"),
            std::string::npos)
      << text;
  // The axiom a>b discharged one of the two remaining sequents.
  EXPECT_EQ(text.find("b>a\n =>\n  a>b"), std::string::npos) << text;
  EXPECT_NE(text.find("a>b\n =>\n  $F"), std::string::npos) << text;
  StopPrivateServer(server);
  unlink(result.c_str());
  unlink(log.c_str());
  rmdir(dir.c_str());
}

}  // namespace
