// `qel::FixNonContinuousCommand`: fixes the discrete entities of the solver's problem at their
// solution values, so that the next optimisation is a continuous one (which gives duals).
//
//   qel::FixNonContinuousCommand fix(solver.data());
//   if (fix.active()) fix.call();   // fixMipEntities(1): the problem is now fixed
//
// A problem is fixed once: from then until the solver's `clear` the command is inactive and
// `call` does nothing. The command holds the solver's record only weakly and may outlive it:
// then it is inactive and `call` does nothing, silently. Neither operation takes a lock.
#ifndef QEL_SOLVER_FIX_COMMAND_HPP_
#define QEL_SOLVER_FIX_COMMAND_HPP_

#include <memory>

#include "nuv/opt/abstract_command.hpp"

namespace qel {

class Data;

class FixNonContinuousCommand final : public nuv::opt::AbstractCommand {
 public:
  explicit FixNonContinuousCommand(std::weak_ptr<Data> data);

  // True while the record lives and its problem is neither fixed nor being solved. Makes no
  // optimizer call, so it answers true also before the solver is started.
  [[nodiscard]] bool active() const override;
  // Fixes the problem when active() holds; otherwise does nothing. Raises the start guard
  // before the solver is started, qel::XpressException when Xpress refuses (the problem then
  // stays unfixed).
  void call() override;

 private:
  std::weak_ptr<Data> data_;
};

}  // namespace qel

#endif  // QEL_SOLVER_FIX_COMMAND_HPP_
