// `qel::transform::DoubleValues`: the value transform through which doubles read from Xpress
// reach the host (see nuv/attr/transform/negate.hpp for the roles of a transform).
//
// Xpress writes infinity as 1e20: out turns a value of 1e20 or more into +infinity and one of
// -1e20 or less into -infinity, and passes every other value (NaN included) unchanged. in passes
// a value to Xpress unchanged. accept clamps a value into [-1e20, 1e20] and always accepts it, so
// an infinite value is offered as Xpress's infinity.
//
//   auto shown = nuv::attr::view::transform(nuv::attr::Item<double>(attrib), DoubleValues{});
//   shown->get(0);            // +infinity where the attribute reads 1e20
//   shown->supportsValue(1e30);   // 1e20
#ifndef QEL_TRANSFORM_DOUBLE_VALUES_HPP_
#define QEL_TRANSFORM_DOUBLE_VALUES_HPP_

#include <algorithm>
#include <limits>
#include <optional>

namespace qel::transform {

struct DoubleValues {
  using Outer = double;
  using Inner = double;

  // The magnitude from which Xpress means infinity.
  static constexpr double kInfinity = 1e20;

  static Inner in(Outer value) { return value; }
  static Outer out(Inner value) {
    if (value >= kInfinity) return std::numeric_limits<double>::infinity();
    if (value <= -kInfinity) return -std::numeric_limits<double>::infinity();
    return value;
  }
  static std::optional<Outer> accept(Outer value) {
    return std::clamp(value, -kInfinity, kInfinity);
  }
};

}  // namespace qel::transform

#endif  // QEL_TRANSFORM_DOUBLE_VALUES_HPP_
