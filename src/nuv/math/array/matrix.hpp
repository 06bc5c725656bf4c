// `nuv::math::Matrix`: the value handle of a shared sparse matrix object.
//
// A matrix object yields its contents on request as `MatrixData` triples (see vector_data.hpp).
// The request carries a format code; this system knows one form, the triples, asked for with
// `kTriplets` (1), and its matrices answer every code with it. The data may borrow the object's
// own arrays: keep the handle alive while reading it. An empty handle stands for a Sparse matrix
// without entries.
#ifndef NUV_MATH_ARRAY_MATRIX_HPP_
#define NUV_MATH_ARRAY_MATRIX_HPP_

#include <memory>
#include <utility>

#include "nuv/math/array/vector_data.hpp"

namespace nuv::math {

// A matrix object; implementations are immutable once shared.
template <class T>
class AbstractMatrix {
 public:
  static constexpr int kTriplets = 1;

  virtual ~AbstractMatrix() = default;

  [[nodiscard]] virtual MatrixData<T> data(int format) const = 0;

 protected:
  AbstractMatrix() = default;
  AbstractMatrix(const AbstractMatrix&) = default;
  AbstractMatrix& operator=(const AbstractMatrix&) = default;
};

template <class T>
class Matrix {
 public:
  Matrix() noexcept = default;
  // A null pointer gives the empty handle.
  Matrix(std::shared_ptr<const AbstractMatrix<T>>
             object) noexcept  // NOLINT(google-explicit-constructor)
      : object_(std::move(object)) {}

  [[nodiscard]] bool empty() const noexcept { return object_ == nullptr; }
  [[nodiscard]] const std::shared_ptr<const AbstractMatrix<T>>& shared() const noexcept {
    return object_;
  }

  [[nodiscard]] MatrixData<T> data(int format = AbstractMatrix<T>::kTriplets) const {
    return object_ ? object_->data(format) : MatrixData<T>();
  }

 private:
  std::shared_ptr<const AbstractMatrix<T>> object_;
};

}  // namespace nuv::math

#endif  // NUV_MATH_ARRAY_MATRIX_HPP_
