// The wall-clock backstop beside the rlimit. Z3's own timeout starts a
// thread for every check, which here costs more than a small query itself;
// instead one watchdog thread looks at the running check every
// SMT_WATCH_MS and interrupts it once it has run past the backstop. A
// context whose check was interrupted is dropped after that query (an
// interrupt that lands after the check would fail the next one) and a new
// one is made for the next.
#include <chrono>
#include <mutex>
#include <thread>

#include "smtint.h"

const int SMT_WATCH_MS = 50;   // how often the watchdog looks

struct SmtWatch {
  std::mutex lock;
  Z3_context running;   // the context whose check runs, or null
  std::chrono::steady_clock::time_point start;
  unsigned ms;
  int fired;
};

// Never freed: the detached thread may still look at it while the process ends.
static SmtWatch *smtWatch = nullptr;
static int smtWatchFailed = 0;
static unsigned smtTimeoutMs = SMT_TIMEOUT_MS;

static void SmtWatchRun(SmtWatch *w) {
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(SMT_WATCH_MS));
    std::lock_guard<std::mutex> hold(w->lock);
    if (w->running && !w->fired &&
        std::chrono::steady_clock::now() - w->start > std::chrono::milliseconds(w->ms)) {
      w->fired = 1;
      Z3_interrupt(w->running);
    }
  }
}

int SmtWatchStart() {
  if (smtWatch) return 1;
  if (smtWatchFailed) return 0;
  SmtWatch *w = new SmtWatch();
  try {
    std::thread(SmtWatchRun, w).detach();
  } catch (...) {
    delete w;
    smtWatchFailed = 1;   // Z3's own timeout serves instead
    return 0;
  }
  smtWatch = w;
  return 1;
}

void SmtSetTimeout(unsigned ms) { smtTimeoutMs = ms ? ms : SMT_TIMEOUT_MS; }
unsigned SmtTimeout() { return smtTimeoutMs; }

Z3_lbool SmtCheck(Z3_context c, Z3_solver s) {
  SmtWatch *w = smtWatch;
  if (!w) return Z3_solver_check(c, s);
  {
    std::lock_guard<std::mutex> hold(w->lock);
    w->running = c;
    w->start = std::chrono::steady_clock::now();
    w->ms = smtTimeoutMs;
    w->fired = 0;
  }
  Z3_lbool r = Z3_solver_check(c, s);
  int fired;
  {
    std::lock_guard<std::mutex> hold(w->lock);
    w->running = nullptr;
    fired = w->fired;
  }
  if (!fired) return r;
  SmtContextStale();
  return Z3_L_UNDEF;
}
