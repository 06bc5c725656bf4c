#include "interrupt_watch.hpp"

#include <semaphore.h>
#include <signal.h>
#include <time.h>

#include <cerrno>
#include <system_error>

#include "nuv/opt/abstract_solver.hpp"

namespace orla::detail {
namespace {

static_assert(std::atomic<int>::is_always_lock_free,
              "the signal handler needs a lock-free counter");

// Process-wide, for the handler: it can reach nothing else. The semaphore is made once and never
// destroyed, so that a handler still running while a watch ends posts to a live one.
std::atomic<int> signals{0};
std::atomic<bool> watching{false};

sem_t& wakeup() {
  static sem_t* const semaphore = [] {
    static sem_t s;
    if (sem_init(&s, /*pshared=*/0, /*value=*/0) != 0) {
      throw std::system_error(errno, std::generic_category(), "creating the interrupt semaphore");
    }
    return &s;
  }();
  return *semaphore;
}

extern "C" void onSigint(int) {
  const int savedErrno = errno;
  if (signals.fetch_add(1) == 0) {
    sem_post(&wakeup());
  } else {
    // SIGINT stays blocked until the handler returns; then the default action ends the process.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(SIGINT, &byDefault, nullptr);
    raise(SIGINT);
  }
  errno = savedErrno;
}

}  // namespace

InterruptWatch::InterruptWatch(nuv::opt::AbstractSolver& solver) : solver_(solver) {
  if (watching.exchange(true)) return;
  try {
    sem_t& semaphore = wakeup();
    while (sem_trywait(&semaphore) == 0) {
    }
    signals.store(0);
    watcher_ = std::thread([this] { watch(); });
  } catch (...) {
    watching.store(false);
    throw;
  }
  struct sigaction handler {};
  handler.sa_handler = onSigint;
  sigemptyset(&handler.sa_mask);
  handler.sa_flags = SA_RESTART;
  if (sigaction(SIGINT, &handler, &previous_) != 0) {
    const int error = errno;
    stop_.store(true);
    sem_post(&wakeup());
    watcher_.join();
    watching.store(false);
    throw std::system_error(error, std::generic_category(), "installing the interrupt handler");
  }
  owner_ = true;
}

InterruptWatch::~InterruptWatch() {
  if (!owner_) return;
  sigaction(SIGINT, &previous_, nullptr);
  stop_.store(true);
  sem_post(&wakeup());
  watcher_.join();
  watching.store(false);
}

nuv::opt::SolveStatus InterruptWatch::solve() {
  struct Solving {
    InterruptWatch& watch;
    explicit Solving(InterruptWatch& w) : watch(w) {
      const std::lock_guard lock(watch.mutex_);
      watch.solving_ = true;
    }
    ~Solving() {
      const std::lock_guard lock(watch.mutex_);
      watch.solving_ = false;
    }
    Solving(const Solving&) = delete;
    Solving& operator=(const Solving&) = delete;
  } solving(*this);
  return solver_.solve();
}

void InterruptWatch::watch() {
  sem_t& semaphore = wakeup();
  bool interrupted = false;
  while (!stop_.load()) {
    if (interrupted) {
      timespec until{};
      clock_gettime(CLOCK_REALTIME, &until);
      until.tv_nsec += 100'000'000;
      if (until.tv_nsec >= 1'000'000'000) {
        until.tv_nsec -= 1'000'000'000;
        ++until.tv_sec;
      }
      sem_timedwait(&semaphore, &until);
    } else {
      sem_wait(&semaphore);
    }
    if (stop_.load()) return;
    interrupted = interrupted || signals.load() > 0;
    if (!interrupted) continue;
    const std::lock_guard lock(mutex_);
    if (!solving_) continue;
    // A refusal is dropped: the solve then runs to its end, and a second Ctrl-C still ends
    // the process.
    try {
      solver_.terminate();
    } catch (...) {  // NOLINT(bugprone-empty-catch): see above
    }
  }
}

}  // namespace orla::detail
