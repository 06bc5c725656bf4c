// `nuv::math::fn::Abstract`: the interface of expression functions.
//
// Functions are stateless, long-lived objects identified by their tag ("nuv:function:linear");
// symbols refer to them by plain pointer and compare them by tag. A call of a function takes its
// inputs (one per input dimension; for a variadic function the last input repeats) and then its
// parameters (one per parameter type).
//
// Parameter type codes: 0 matches no argument, 1 a number (kind 3), 2 a numeric vector (kind 4),
// 3 a numeric matrix (kind 5), 4 a function (kind 7), 5 and above any argument.
#ifndef NUV_MATH_FN_ABSTRACT_HPP_
#define NUV_MATH_FN_ABSTRACT_HPP_

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "nuv/math/symbol.hpp"
#include "nuv/tag.hpp"

namespace nuv::math::fn {

enum class ParamType : std::uint8_t {
  kNone = 0,
  kNumber = 1,
  kVector = 2,
  kMatrix = 3,
  kFunction = 4,
  kAny = 5,
};

template <class T>
class Abstract {
 public:
  virtual ~Abstract() = default;

  [[nodiscard]] virtual Tag tag() const = 0;
  [[nodiscard]] virtual std::uint32_t dimension() const = 0;
  [[nodiscard]] virtual std::span<const std::uint32_t> inputDimensions() const = 0;
  [[nodiscard]] virtual std::span<const std::uint8_t> paramTypes() const = 0;
  [[nodiscard]] virtual bool isVariadic() const { return false; }
  [[nodiscard]] virtual std::uint64_t minVariadicCount() const { return 0; }
  [[nodiscard]] virtual std::uint64_t maxVariadicCount() const {
    return std::numeric_limits<std::uint64_t>::max();
  }
  // Whether nested calls of the function may be flattened into one call.
  [[nodiscard]] virtual bool isAssociative() const { return false; }
  // The value for numeric arguments.
  [[nodiscard]] virtual Symbol<T> evaluate(std::span<const Symbol<T>> args) const = 0;
  // Offers to rewrite a call of this function just appended to *symbols with the given repeat
  // count; answers whether it did. A false answer leaves the sequence unchanged.
  virtual bool addTo(Symbols<T>* symbols, std::uint64_t count) const = 0;
  // The validated arguments when symbol is an expression (or a non-empty window) whose root calls
  // this function, nested calls of an associative function flattened; nothing otherwise.
  [[nodiscard]] virtual std::optional<std::vector<Symbol<T>>> detect(const Symbol<T>& symbol) const;

  // Whether args fit the inputs and parameters: the count, each input's dimension and each
  // parameter's type. The variadic bounds are not consulted. Mismatches answer false.
  [[nodiscard]] bool validate(std::span<const Symbol<T>> args) const;

 protected:
  Abstract() = default;
  Abstract(const Abstract&) = default;
  Abstract& operator=(const Abstract&) = default;
};

extern template class Abstract<double>;

}  // namespace nuv::math::fn

#endif  // NUV_MATH_FN_ABSTRACT_HPP_
