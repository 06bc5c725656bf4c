// Callback contexts and the tags of the solver-facing interfaces.
//
// A context argument is a `nuv::TagIndex const*`: null for a call made outside any callback,
// otherwise the context of the host callback the call is made from.
#ifndef NUV_OPT_CONTEXT_HPP_
#define NUV_OPT_CONTEXT_HPP_

#include "nuv/tag.hpp"

namespace nuv::opt {

namespace variable {
inline constexpr Tag tag = "nuv:variable";
}  // namespace variable

namespace constraint {
inline constexpr Tag tag = "nuv:constraint";
}  // namespace constraint

// The command that fixes the discrete entities for a following continuous solve.
namespace command {
inline constexpr TagIndex fix{"nuv:command", 0};
}  // namespace command

// The link of an indicator constraint: the first constraint switches the second one.
namespace constraint_link {
inline constexpr TagIndex indicator{"nuv:constr_link", 0};
}  // namespace constraint_link

// Stable objects: solvers and the host compare contexts by value, but may keep their addresses.
namespace context {
inline constexpr TagIndex progress{"nuv:context", 0};       // periodic progress (time) check
inline constexpr TagIndex node{"nuv:context", 1};           // a search node was processed
inline constexpr TagIndex new_incumbent{"nuv:context", 2};  // a new incumbent was found
}  // namespace context

}  // namespace nuv::opt

#endif  // NUV_OPT_CONTEXT_HPP_
