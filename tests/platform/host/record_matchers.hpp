// Matchers for the parts of a model record that the readers build, and the error a reader raises
// for a text, as the reader tests check them.
#ifndef QELHOST_TEST_RECORD_MATCHERS_HPP_
#define QELHOST_TEST_RECORD_MATCHERS_HPP_

#include <gmock/gmock.h>

#include <stdexcept>
#include <string>

#include "orla/vop_rec.hpp"

namespace qelhost_test {

using Type = vopRec::ColumnType;
inline constexpr double kInf = vopRec::kInfinity;

MATCHER_P2(IsTerm, column, coef, "") { return arg.column == column && arg.coef == coef; }
MATCHER_P3(IsProduct, first, second, coef, "") {
  return arg.first == first && arg.second == second && arg.coef == coef;
}
MATCHER_P4(IsColumn, name, type, lower, upper, "") {
  return arg.name == name && arg.type == type && arg.lower == lower && arg.upper == upper;
}
MATCHER_P3(IsRow, name, lower, upper, "") {
  return arg.name == name && arg.lower == lower && arg.upper == upper;
}

// What read(text, file) throws, without the prefix naming the file, or "" when it reads.
template <class Read>
std::string readerError(Read read, const std::string& text, const std::string& file) {
  try {
    static_cast<void>(read(text, file));
  } catch (const std::runtime_error& e) {
    const std::string prefix = "cannot read '" + file + "': ";
    const std::string what = e.what();
    return what.rfind(prefix, 0) == 0 ? what.substr(prefix.size()) : "bad prefix: " + what;
  }
  return "";
}

}  // namespace qelhost_test

#endif  // QELHOST_TEST_RECORD_MATCHERS_HPP_
