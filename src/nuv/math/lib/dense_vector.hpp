// `nuv::math::lib::DenseVector`: a vector object that owns its entries and hands them out as
// Dense data borrowing its own array.
#ifndef NUV_MATH_LIB_DENSE_VECTOR_HPP_
#define NUV_MATH_LIB_DENSE_VECTOR_HPP_

#include <memory>
#include <utility>
#include <vector>

#include "nuv/math/array/vector.hpp"
#include "nuv/math/array/vector_data.hpp"

namespace nuv::math::lib {

template <class T>
class DenseVector final : public AbstractVector<T> {
 public:
  explicit DenseVector(std::vector<T> values) : values_(std::move(values)) {
    // Checks the dimension once, so that data() cannot fail later.
    static_cast<void>(VectorData<T>::denseView(values_));
  }

  [[nodiscard]] VectorData<T> data() const override { return VectorData<T>::denseView(values_); }

 private:
  std::vector<T> values_;
};

// A vector handle over a new dense vector object.
template <class T>
Vector<T> denseVector(std::vector<T> values) {
  return Vector<T>(std::make_shared<const DenseVector<T>>(std::move(values)));
}

}  // namespace nuv::math::lib

#endif  // NUV_MATH_LIB_DENSE_VECTOR_HPP_
