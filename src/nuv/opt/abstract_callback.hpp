// `nuv::opt::AbstractCallback`: the host's callback, notified from inside a running solve.
#ifndef NUV_OPT_ABSTRACT_CALLBACK_HPP_
#define NUV_OPT_ABSTRACT_CALLBACK_HPP_

#include "nuv/tag.hpp"

namespace nuv::opt {

class AbstractCallback {
 public:
  virtual ~AbstractCallback() = default;

  // Called with one of the contexts of nuv/opt/context.hpp that was added to the solver.
  virtual void notify(const TagIndex& context) = 0;
};

}  // namespace nuv::opt

#endif  // NUV_OPT_ABSTRACT_CALLBACK_HPP_
