// `nuv::math::fn::Linear`: the linear function f(x; a, b) = a·x + b, tag "nuv:function:linear".
//
// One input, the vector x; two parameters, the numeric vector a and the number b. One shared
// constant instance, `nuv::math::fn::linear<double>`, serves the whole process.
#ifndef NUV_MATH_FN_LINEAR_HPP_
#define NUV_MATH_FN_LINEAR_HPP_

#include <cstdint>
#include <span>

#include "nuv/math/fn/abstract.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/tag.hpp"

namespace nuv::math::fn {

template <class T>
class Linear final : public Abstract<T> {
 public:
  static constexpr Tag kTag = "nuv:function:linear";

  [[nodiscard]] Tag tag() const override { return kTag; }
  [[nodiscard]] std::uint32_t dimension() const override { return 0; }
  [[nodiscard]] std::span<const std::uint32_t> inputDimensions() const override;
  [[nodiscard]] std::span<const std::uint8_t> paramTypes() const override;
  // args are x, a (numeric vectors of equal dimension) and b (a number): the number a·x + b.
  // Another count raises "Check Error" (4) for 'args.size()'; other kinds raise
  // std::runtime_error "Invalid variant option".
  [[nodiscard]] Symbol<T> evaluate(std::span<const Symbol<T>> args) const override;
  // Replaces a call that only picks one variable, x, a = the unit vector e_j (Sparse, one stored
  // 1.0) and b = 0.0 as the last three symbols with count 0, by the Variable symbol of x's
  // entry j.
  bool addTo(Symbols<T>* symbols, std::uint64_t count) const override;
};

template <class T>
inline const Linear<T> linear{};

extern template class Linear<double>;

}  // namespace nuv::math::fn

#endif  // NUV_MATH_FN_LINEAR_HPP_
