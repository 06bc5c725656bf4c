// `nuv::opt::ConstraintContainer`: a batch of constraints or objectives on its way into an
// adder, or the results of such a family on their way out of a solver.
//
// Item i of every container of every part belongs to the i-th constraint. A container built
// empty holds empty dictionary handles (size 0, no keys, empty containers) and no tagged parts.
#ifndef NUV_OPT_CONSTRAINT_CONTAINER_HPP_
#define NUV_OPT_CONSTRAINT_CONTAINER_HPP_

#include "nuv/attr/container_dict.hpp"
#include "nuv/opt/tagged_parts.hpp"

namespace nuv::opt {

struct ConstraintContainer {
  // Keyed by the function's keys (nuv/opt/keys.hpp), e.g. linear_function::coefficients.
  attr::ContainerDict function;
  // Keyed by the domain's keys, e.g. static_bounded_domain::type.
  attr::ContainerDict domain;
  // The per-constraint part stands under constraint::tag.
  TaggedParts tagged;
};

}  // namespace nuv::opt

#endif  // NUV_OPT_CONSTRAINT_CONTAINER_HPP_
