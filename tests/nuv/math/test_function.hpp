// A configurable expression function for the tests of expressions and function detection.
#ifndef TESTS_NUV_MATH_TEST_FUNCTION_HPP_
#define TESTS_NUV_MATH_TEST_FUNCTION_HPP_

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "nuv/math/fn/abstract.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/tag.hpp"

namespace nuv::math::testing {

struct FunctionShape {
  Tag tag = {};
  std::vector<std::uint32_t> inputs = {};
  std::vector<std::uint8_t> params = {};
  bool variadic = false;
  bool associative = false;
  std::uint32_t dimension = 0;
};

class TestFunction final : public fn::Abstract<double> {
 public:
  explicit TestFunction(FunctionShape shape) : shape_(std::move(shape)) {}

  [[nodiscard]] Tag tag() const override { return shape_.tag; }
  [[nodiscard]] std::uint32_t dimension() const override { return shape_.dimension; }
  [[nodiscard]] std::span<const std::uint32_t> inputDimensions() const override {
    return shape_.inputs;
  }
  [[nodiscard]] std::span<const std::uint8_t> paramTypes() const override { return shape_.params; }
  [[nodiscard]] bool isVariadic() const override { return shape_.variadic; }
  [[nodiscard]] bool isAssociative() const override { return shape_.associative; }
  [[nodiscard]] Symbol<double> evaluate(std::span<const Symbol<double>> /*args*/) const override {
    return Symbol<double>::numeric(0.0);
  }
  bool addTo(Symbols<double>* /*symbols*/, std::uint64_t /*count*/) const override { return false; }

 private:
  FunctionShape shape_;
};

}  // namespace nuv::math::testing

#endif  // TESTS_NUV_MATH_TEST_FUNCTION_HPP_
