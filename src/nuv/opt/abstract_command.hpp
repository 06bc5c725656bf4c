// `nuv::opt::AbstractCommand`: an action a solver offers by tag, such as fixing the discrete
// entities for a following continuous solve.
#ifndef NUV_OPT_ABSTRACT_COMMAND_HPP_
#define NUV_OPT_ABSTRACT_COMMAND_HPP_

namespace nuv::opt {

class AbstractCommand {
 public:
  virtual ~AbstractCommand() = default;

  // Whether `call` would do something now.
  [[nodiscard]] virtual bool active() const = 0;
  virtual void call() = 0;
};

}  // namespace nuv::opt

#endif  // NUV_OPT_ABSTRACT_COMMAND_HPP_
