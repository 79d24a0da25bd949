// The benchmark's clock: runs a command REPS times and prints the minimum and
// the median wall seconds, the median processor seconds (user+system) and the
// peak resident memory in KiB over the runs. A small process of its own, so
// that the peak of a child is not raised by the memory of a large parent.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

static double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

static double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[(v.size() - 1) / 2];
}

int main(int argc, char **argv) {
  int reps = argc > 2 ? atoi(argv[1]) : 0;
  if (reps < 1) {
    fprintf(stderr, "usage: quell1-clock REPS COMMAND [ARGUMENT...]\n");
    return 2;
  }
  std::vector<double> walls, cpus;
  long peak = 0;
  for (int r = 0; r < reps; r++) {
    double start = Now();
    pid_t pid = fork();
    if (pid == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execv(argv[2], argv + 2);
      _exit(127);
    }
    int status = 0;
    struct rusage use;
    if (pid < 0 || wait4(pid, &status, 0, &use) < 0) return 2;
    walls.push_back(Now() - start);
    cpus.push_back(use.ru_utime.tv_sec + use.ru_utime.tv_usec / 1e6 + use.ru_stime.tv_sec +
                   use.ru_stime.tv_usec / 1e6);
    peak = std::max(peak, use.ru_maxrss);
    // 0 and 1 are the verifier's results; anything else is a failed run
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
      fprintf(stderr, "quell1-clock: %s failed (status %d)\n", argv[2], status);
      return 2;
    }
  }
  printf("%.6f %.6f %.6f %ld\n", *std::min_element(walls.begin(), walls.end()), Median(walls),
         Median(cpus), peak);
  return 0;
}
