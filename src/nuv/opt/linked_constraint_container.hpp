// `nuv::opt::LinkedConstraintContainer`: a batch of linked constraint pairs, such as indicator
// constraints, or their results.
//
// Item i of the first constraint pairs with item i of the second. For the indicator link
// (constraint_link::indicator) the first constraint is the indicating side, an identity
// function over a static-bounded domain, and the second the constraint that is switched.
#ifndef NUV_OPT_LINKED_CONSTRAINT_CONTAINER_HPP_
#define NUV_OPT_LINKED_CONSTRAINT_CONTAINER_HPP_

#include "nuv/opt/constraint_container.hpp"
#include "nuv/opt/tagged_parts.hpp"

namespace nuv::opt {

struct LinkedConstraintContainer {
  ConstraintContainer first;
  ConstraintContainer second;
  TaggedParts links;
};

}  // namespace nuv::opt

#endif  // NUV_OPT_LINKED_CONSTRAINT_CONTAINER_HPP_
