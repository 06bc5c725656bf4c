// Ctrl-C during a solve, turned into the solver's interrupt, so that the run ends with a status
// and the best solution found so far instead of the process dying.
//
// While a watch lives, SIGINT runs a handler of this file; the destructor puts the process's
// previous disposition back. The handler does only async-signal-safe work: it counts the signal
// and posts a semaphore. A watcher thread waits on the semaphore and, while `solve` runs, calls
// the solver's `terminate` (which may be called while a solve runs on another thread, and only
// then). After the first signal it repeats the call every 100 ms until the watch ends: a signal
// that arrives while the model is loading, or between the optimizer's runs within one solve,
// would otherwise be lost. A second SIGINT ends the process at once, by the default action.
//
// One watch at a time handles SIGINT: a watch made while another lives leaves the disposition
// alone and its solves are not interrupted.
#ifndef ORLA_SRC_INTERRUPT_WATCH_HPP_
#define ORLA_SRC_INTERRUPT_WATCH_HPP_

#include <signal.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "nuv/opt/solve_status.hpp"

namespace nuv::opt {
class AbstractSolver;
}  // namespace nuv::opt

namespace orla::detail {

class InterruptWatch {
 public:
  // Installs the handler and starts the watcher; raises std::system_error when neither can be.
  explicit InterruptWatch(nuv::opt::AbstractSolver& solver);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // The solver's `solve`, open to interrupts while it runs.
  nuv::opt::SolveStatus solve();

 private:
  void watch();

  nuv::opt::AbstractSolver& solver_;
  bool owner_ = false;  // this watch handles SIGINT
  struct sigaction previous_ {};
  std::mutex mutex_;
  bool solving_ = false;  // guarded by mutex_
  std::atomic<bool> stop_{false};
  std::thread watcher_;
};

}  // namespace orla::detail

#endif  // ORLA_SRC_INTERRUPT_WATCH_HPP_
