// Host options on their way into the solver: each is looked up by name in an option
// dictionary, its text read by the item's type, checked with `supportsValue` and written.
#ifndef ORLA_SRC_SOLVER_OPTIONS_HPP_
#define ORLA_SRC_SOLVER_OPTIONS_HPP_

#include <string>
#include <vector>

#include "orla/vop_rec.hpp"

namespace nuv::attr {
class AbstractItemDict;
}  // namespace nuv::attr

namespace orla::detail {

// Raises LinkError when the dictionary does not know the name, when the item cannot be set or
// has a type the link cannot write, when the text does not spell a value of the item's type,
// and when `supportsValue` refuses the value or would store another one (a value out of range
// is refused, not clamped).
void setOption(const nuv::attr::AbstractItemDict& dictionary, const vopRec::Option& option);

// The options of a file: one name=value per line; blank lines and lines starting with '#'
// are skipped, spaces around name and value are dropped. Raises LinkError for a file that
// cannot be read and for a line without '='.
[[nodiscard]] std::vector<vopRec::Option> readOptionFile(const std::string& path);

}  // namespace orla::detail

#endif  // ORLA_SRC_SOLVER_OPTIONS_HPP_
