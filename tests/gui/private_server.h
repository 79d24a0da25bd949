// A private Xvfb for end-to-end tests that move the pointer and click, named by
// DISPLAY for the life of the object (the shared one when it is not up within 5 s).
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

struct PrivateDisplay {
  std::string old = getenv("DISPLAY") ? getenv("DISPLAY") : "";
  pid_t pid = -1;
  PrivateDisplay() {
    int fds[2];
    if (pipe(fds) != 0) return;
    if ((pid = fork()) == 0) {   // Xvfb writes the display number to the pipe when ready
      int null = open("/dev/null", O_WRONLY);
      if (null >= 0) dup2(null, 1), dup2(null, 2);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset", (char *)nullptr);
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    struct pollfd pfd = {fds[0], POLLIN, 0};
    for (char c; pid > 0 && poll(&pfd, 1, 5000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n';)
      number += c;
    close(fds[0]);
    if (!number.empty()) setenv("DISPLAY", (":" + number).c_str(), 1);
    else if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0), pid = -1;
  }
  ~PrivateDisplay() {
    if (pid > 0) kill(pid, SIGTERM), waitpid(pid, nullptr, 0);
    setenv("DISPLAY", old.c_str(), 1);
  }
};
