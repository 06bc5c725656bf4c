// `nuv::opt::AbstractVariableAdder`: loads batches of variables into a solver's model.
//
// A solver hands adders out by function and domain tags; each `add` loads one batch and
// answers the model indices of the entities it created, one per item of the batch, in item
// order. Input the adder cannot take raises nuv::opt::SupportException ("Support Error"), as
// does a call once the adder is no longer active.
#ifndef NUV_OPT_ABSTRACT_VARIABLE_ADDER_HPP_
#define NUV_OPT_ABSTRACT_VARIABLE_ADDER_HPP_

#include <cstdint>

#include "nuv/idx/list.hpp"
#include "nuv/opt/variable_container.hpp"

namespace nuv::opt {

class AbstractVariableAdder {
 public:
  virtual ~AbstractVariableAdder() = default;

  // Whether `add` may be called now; false once the adder is detached from its solver.
  [[nodiscard]] virtual bool active() const = 0;
  // The family id, unique in the process (drawn from nuv::id()); 0 once detached. The solver's
  // result operations take it back to answer for the entities this adder created.
  [[nodiscard]] virtual std::uint64_t id() const = 0;
  virtual idx::List add(const VariableContainer& batch) = 0;

 protected:
  AbstractVariableAdder() = default;
  AbstractVariableAdder(const AbstractVariableAdder&) = default;
  AbstractVariableAdder& operator=(const AbstractVariableAdder&) = default;
};

}  // namespace nuv::opt

#endif  // NUV_OPT_ABSTRACT_VARIABLE_ADDER_HPP_
