// A private Xvfb for end-to-end tests that move the pointer and click:
// other tests' windows on a shared display would take their clicks.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

// Starts Xvfb on a free display (it writes the number to the pipe when
// ready); the pid, or -1 when it did not come up within 5 s.
inline pid_t StartPrivateServer(std::string *display) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, 1);
      dup2(null, 2);
    }
    std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", "-noreset", (char *)nullptr);
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  struct pollfd pfd = {fds[0], POLLIN, 0};
  while (pid > 0 && poll(&pfd, 1, 5000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    return -1;
  }
  *display = ":" + number;
  return pid;
}

inline void StopPrivateServer(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

