// `nuv::opt::VariableContainer`: a batch of variables on its way into an adder, or the results
// of a family of variables on their way out of a solver.
//
// Item i of every container of every part belongs to the i-th variable. A container built empty
// holds an empty dictionary handle (size 0, no keys, empty containers) and no tagged parts.
#ifndef NUV_OPT_VARIABLE_CONTAINER_HPP_
#define NUV_OPT_VARIABLE_CONTAINER_HPP_

#include "nuv/attr/container_dict.hpp"
#include "nuv/opt/tagged_parts.hpp"

namespace nuv::opt {

struct VariableContainer {
  // Keyed by the domain's keys (nuv/opt/keys.hpp), e.g. interval_domain::lower_bound.
  attr::ContainerDict domain;
  // The per-variable part stands under variable::tag.
  TaggedParts tagged;
};

}  // namespace nuv::opt

#endif  // NUV_OPT_VARIABLE_CONTAINER_HPP_
