// A private Xvfb for end-to-end tests that move the pointer and click: other
// tests' windows on a shared display would take their clicks.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

// Starts Xvfb on a free display (it writes the number to the pipe when ready);
// the pid, or -1 when it did not come up within 5 s.
inline pid_t StartPrivateServer(std::string *display) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, 1), dup2(null, 2);
    std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", "-noreset", (char *)nullptr);
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  struct pollfd pfd = {fds[0], POLLIN, 0};
  for (char c; pid > 0 && poll(&pfd, 1, 5000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n';)
    number += c;
  close(fds[0]);
  if (!number.empty()) return *display = ":" + number, pid;
  if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  return -1;
}

inline void StopPrivateServer(pid_t pid) {
  if (pid > 0) kill(pid, SIGTERM), waitpid(pid, nullptr, 0);
}

// DISPLAY names a private server for the life of the object (the shared one
// when Xvfb does not come up) and is restored afterwards.
struct PrivateDisplay {
  std::string old = getenv("DISPLAY") ? getenv("DISPLAY") : "", display;
  pid_t pid = StartPrivateServer(&display);
  PrivateDisplay() { if (pid > 0) setenv("DISPLAY", display.c_str(), 1); }
  ~PrivateDisplay() {
    StopPrivateServer(pid);
    setenv("DISPLAY", old.c_str(), 1);
  }
};
