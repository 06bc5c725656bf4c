// `nuv::attr::transform::NumCast<Inner, Outer>`: shows an integer attribute of type Inner as one
// of type Outer through checked casts (note the order: inner type first, unlike nuv::numCast).
//
// in and out are `nuv::numCast`, so a value that does not fit raises the "Cast Error"; for
// NumCast<int, unsigned long> writing a value above 2147483647 fails ("Cast Error: Cannot cast
// 2147483648 from 'long unsigned int' to 'int'.") and so does reading a negative value.
// accept takes every value unchanged: a value it accepts can still be refused by `in`. See
// negate.hpp for the roles of a transform.
#ifndef NUV_ATTR_TRANSFORM_NUM_CAST_HPP_
#define NUV_ATTR_TRANSFORM_NUM_CAST_HPP_

#include <optional>

#include "nuv/num_cast.hpp"

namespace nuv::attr::transform {

template <class InnerType, class OuterType>
struct NumCast {
  using Outer = OuterType;
  using Inner = InnerType;

  static Inner in(Outer value) { return ::nuv::numCast<Inner, Outer>(value); }
  static Outer out(Inner value) { return ::nuv::numCast<Outer, Inner>(value); }
  static std::optional<Outer> accept(Outer value) { return value; }
};

}  // namespace nuv::attr::transform

#endif  // NUV_ATTR_TRANSFORM_NUM_CAST_HPP_
