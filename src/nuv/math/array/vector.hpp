// `nuv::math::Vector`: the value handle of a shared vector object.
//
// A vector object yields its contents on request as `VectorData` (see vector_data.hpp). The data
// may borrow the object's own arrays, so it is valid only while the object lives: keep the handle
// (or another share of the object) alive while reading it. An empty handle stands for a Constant
// vector of dimension 0 holding no value.
//
//   Vector<double> a = lib::denseVector<double>({1.0, 2.0, 3.0});
//   VectorData<double> sparse = a.data(VectorDataKind::kSparse);   // three stored pairs
#ifndef NUV_MATH_ARRAY_VECTOR_HPP_
#define NUV_MATH_ARRAY_VECTOR_HPP_

#include <cstdint>
#include <memory>
#include <utility>

#include "nuv/math/array/vector_data.hpp"

namespace nuv::math {

// A vector object; implementations are immutable once shared.
template <class T>
class AbstractVector {
 public:
  virtual ~AbstractVector() = default;

  // The contents as stored.
  [[nodiscard]] virtual VectorData<T> data() const = 0;

 protected:
  AbstractVector() = default;
  AbstractVector(const AbstractVector&) = default;
  AbstractVector& operator=(const AbstractVector&) = default;
};

template <class T>
class Vector {
 public:
  Vector() noexcept = default;
  // A null pointer gives the empty handle.
  Vector(std::shared_ptr<const AbstractVector<T>>
             object) noexcept  // NOLINT(google-explicit-constructor)
      : object_(std::move(object)) {}

  [[nodiscard]] bool empty() const noexcept { return object_ == nullptr; }
  [[nodiscard]] const std::shared_ptr<const AbstractVector<T>>& shared() const noexcept {
    return object_;
  }

  // The contents as stored.
  [[nodiscard]] VectorData<T> data() const { return object_ ? object_->data() : VectorData<T>(); }
  // The contents in the requested form: Dense (1) or Sparse (2); other codes give the contents
  // as stored. The code form serves callers that hold the format as a number.
  [[nodiscard]] VectorData<T> data(VectorDataKind format) const {
    VectorData<T> stored = data();
    // Data already in the requested form is handed on as it is, without a copy.
    if (stored.kind() == format) return stored;
    return stored.inFormat(format);
  }
  [[nodiscard]] VectorData<T> data(std::uint8_t format) const {
    return data(static_cast<VectorDataKind>(format));
  }

 private:
  std::shared_ptr<const AbstractVector<T>> object_;
};

// The scalar product of two vectors (see dotProd of their data); an empty handle counts as a
// vector of dimension 0. The right vector's data is taken first.
template <class T>
T dotProd(const Vector<T>& left, const Vector<T>& right) {
  const VectorData<T> rightData = right.data();
  const VectorData<T> leftData = left.data();
  return dotProd(leftData, rightData);
}

}  // namespace nuv::math

#endif  // NUV_MATH_ARRAY_VECTOR_HPP_
