// `nuv::math::lib::SparseVector`: a vector object that owns index and value pairs and hands them
// out as Sparse data borrowing its own arrays. The pairs are checked once, when the object is
// made; handing them out checks nothing and allocates nothing.
#ifndef NUV_MATH_LIB_SPARSE_VECTOR_HPP_
#define NUV_MATH_LIB_SPARSE_VECTOR_HPP_

#include <memory>
#include <utility>
#include <vector>

#include "nuv/math/array/vector.hpp"
#include "nuv/math/array/vector_data.hpp"
#include "nuv/types.hpp"

namespace nuv::math::lib {

template <class T>
class SparseVector final : public AbstractVector<T> {
 public:
  // Raises "Check Error" unless indices and values have equal length and the indices ascend
  // strictly within [0, dimension).
  SparseVector(Index dimension, std::vector<Index> indices, std::vector<T> values)
      : dimension_(dimension), indices_(std::move(indices)), values_(std::move(values)) {
    static_cast<void>(VectorData<T>::sparseView(dimension_, indices_, values_));
  }

  // Borrows the arrays checked by the constructor; checks nothing again.
  [[nodiscard]] VectorData<T> data() const override {
    return VectorData<T>(VectorDataKind::kSparse, dimension_,
                         detail::ElementArray<Index>::borrowed(indices_),
                         detail::ElementArray<T>::borrowed(values_));
  }

 private:
  Index dimension_;
  std::vector<Index> indices_;
  std::vector<T> values_;
};

// A vector handle over a new sparse vector object.
template <class T>
Vector<T> sparseVector(Index dimension, std::vector<Index> indices, std::vector<T> values) {
  return Vector<T>(
      std::make_shared<const SparseVector<T>>(dimension, std::move(indices), std::move(values)));
}

}  // namespace nuv::math::lib

#endif  // NUV_MATH_LIB_SPARSE_VECTOR_HPP_
