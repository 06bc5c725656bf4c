// The expression functions that can be handed to the optimizer, with their formula tokens.
//
// `supported_functions` maps the tag of a framework expression function ("nuv:function:basic:Add")
// to the token type and token value under which the optimizer's formula interface knows it: type
// 31 is an operator, type 12 a built-in function. Tags compare by their exact characters, case
// included; a tag that is absent names a function the optimizer cannot take.
//
// One value is a mark rather than a token: Square is stored as operator kSquareMark. Whoever
// writes tokens puts, in its place, a constant token with the value 2.0 followed by the power
// operator, so that the square becomes a power with exponent 2.
//
// The map is built when the library is loaded, right after the option tables, and is destroyed
// before them when it is unloaded; it never changes in between and may be read from any thread.
#ifndef QEL_SUPPORTED_FUNCTIONS_HPP_
#define QEL_SUPPORTED_FUNCTIONS_HPP_

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace qel {

// Formula token types used by the table.
inline constexpr std::int32_t kTokenOperator = 31;
inline constexpr std::int32_t kTokenFunction = 12;

// The operator value that marks Square (written as a power with exponent 2).
inline constexpr std::int32_t kSquareMark = -1;

// Token type and token value of a supported function.
using FormulaToken = std::pair<std::int32_t, std::int32_t>;

// Tag (text of static lifetime) to formula token; 25 entries.
extern const std::unordered_map<std::string_view, FormulaToken> supported_functions;

}  // namespace qel

#endif  // QEL_SUPPORTED_FUNCTIONS_HPP_
