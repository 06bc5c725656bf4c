// `nuv::attr::transform::Negate`: the value transform that flips the sign of doubles both ways.
//
// A transform is a stateless type that the transform views apply to every value:
//   Outer, Inner        the value type seen through the view and the wrapped one's;
//   in(outer)           the value handed to the wrapped object (set, itemAdd, bulk sets);
//   out(inner)          the value read from it (get, getDefault, bulk gets);
//   accept(outer)       the view's supportsValue: the value as it would be stored, or nothing.
// Negation flips the sign bit: 0 becomes -0, an infinity changes sign, NaN stays NaN. Every value
// is accepted unchanged.
#ifndef NUV_ATTR_TRANSFORM_NEGATE_HPP_
#define NUV_ATTR_TRANSFORM_NEGATE_HPP_

#include <optional>

namespace nuv::attr::transform {

struct Negate {
  using Outer = double;
  using Inner = double;

  static Inner in(Outer value) { return -value; }
  static Outer out(Inner value) { return -value; }
  static std::optional<Outer> accept(Outer value) { return value; }
};

}  // namespace nuv::attr::transform

#endif  // NUV_ATTR_TRANSFORM_NEGATE_HPP_
