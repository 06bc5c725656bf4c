#include "nuv/math/array/vector_data.hpp"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "nuv/check.hpp"

namespace nuv::math {
namespace {

void checkDimension(Index dimension) { checkGreaterOrEqual("dimension", dimension, 0); }

Index sizeAsDimension(std::size_t size) {
  checkLessOrEqual("values.size()", size,
                   static_cast<std::size_t>(std::numeric_limits<Index>::max()));
  return static_cast<Index>(size);
}

// Every index in [0, bound) and, when ascending is asked, strictly above its predecessor.
void checkIndices(std::span<const Index> indices, Index bound, bool ascending) {
  for (std::size_t k = 0; k < indices.size(); ++k) {
    checkGreaterOrEqual("index", indices[k], 0);
    checkLess("index", indices[k], bound);
    if (ascending && k > 0) checkGreater("index", indices[k], indices[k - 1], "previous index");
  }
}

}  // namespace

template <class T>
VectorData<T> VectorData<T>::zero(Index dimension) {
  checkDimension(dimension);
  return VectorData(VectorDataKind::kZero, dimension, {}, {});
}

template <class T>
VectorData<T> VectorData<T>::constant(Index dimension, T value) {
  checkDimension(dimension);
  // A constant vector of dimension 0 holds no value.
  return VectorData(
      VectorDataKind::kConstant, dimension, {},
      dimension == 0 ? detail::ElementArray<T>() : detail::ElementArray<T>::one(value));
}

template <class T>
VectorData<T> VectorData<T>::dense(std::vector<T> values) {
  const Index dimension = sizeAsDimension(values.size());
  if (values.size() == 1) {
    return VectorData(VectorDataKind::kDense, dimension, {},
                      detail::ElementArray<T>::one(values.front()));
  }
  return VectorData(VectorDataKind::kDense, dimension, {},
                    detail::ElementArray<T>::owned(std::move(values)));
}

template <class T>
VectorData<T> VectorData<T>::denseView(const std::vector<T>& values) {
  return VectorData(VectorDataKind::kDense, sizeAsDimension(values.size()), {},
                    detail::ElementArray<T>::borrowed(values));
}

template <class T>
VectorData<T> VectorData<T>::sparse(Index dimension, std::vector<Index> indices,
                                    std::vector<T> values) {
  checkDimension(dimension);
  checkEqual("values.size()", values.size(), indices.size(), "indices.size()");
  checkIndices(indices, dimension, /*ascending=*/true);
  if (indices.size() == 1) return sparseOne(dimension, indices.front(), values.front());
  return VectorData(VectorDataKind::kSparse, dimension,
                    detail::ElementArray<Index>::owned(std::move(indices)),
                    detail::ElementArray<T>::owned(std::move(values)));
}

template <class T>
VectorData<T> VectorData<T>::sparseView(Index dimension, const std::vector<Index>& indices,
                                        const std::vector<T>& values) {
  checkDimension(dimension);
  checkEqual("values.size()", values.size(), indices.size(), "indices.size()");
  checkIndices(indices, dimension, /*ascending=*/true);
  return VectorData(VectorDataKind::kSparse, dimension,
                    detail::ElementArray<Index>::borrowed(indices),
                    detail::ElementArray<T>::borrowed(values));
}

template <class T>
VectorData<T> VectorData<T>::sparseOne(Index dimension, Index index, T value) {
  checkDimension(dimension);
  const Index indices[] = {index};
  checkIndices(indices, dimension, /*ascending=*/false);
  return VectorData(VectorDataKind::kSparse, dimension, detail::ElementArray<Index>::one(index),
                    detail::ElementArray<T>::one(value));
}

template <class T>
void VectorData<T>::toVector(std::span<T> out) const {
  checkEqual("values.size()", out.size(), dimension_);
  if (dimension_ == 0) return;
  const std::span<const T> stored = values();
  switch (kind_) {
    case VectorDataKind::kDense:
      std::copy(stored.begin(), stored.end(), out.begin());
      break;
    case VectorDataKind::kSparse: {
      std::fill(out.begin(), out.end(), T{});
      const std::span<const Index> at = indices();
      for (std::size_t k = 0; k < at.size(); ++k) out[static_cast<std::size_t>(at[k])] = stored[k];
      break;
    }
    case VectorDataKind::kConstant:
      std::fill(out.begin(), out.end(), stored.empty() ? T{} : stored.front());
      break;
    default:
      break;
  }
}

template <class T>
void VectorData<T>::copyIndices(std::span<Index> out) const {
  checkEqual("indices.size()", out.size(), indexCount());
  const std::span<const Index> stored = indices();
  std::copy(stored.begin(), stored.end(), out.begin());
}

template <class T>
void VectorData<T>::copyValues(std::span<T> out) const {
  checkEqual("values.size()", out.size(), valueCount());
  const std::span<const T> stored = values();
  std::copy(stored.begin(), stored.end(), out.begin());
}

template <class T>
VectorData<T> VectorData<T>::inFormat(VectorDataKind format) const {
  if (format == kind_) return *this;
  if (format == VectorDataKind::kDense) {
    std::vector<T> entries(static_cast<std::size_t>(dimension_), T{});
    toVector(entries);
    return dense(std::move(entries));
  }
  if (format == VectorDataKind::kSparse) {
    std::vector<Index> at;
    std::vector<T> stored;
    if (kind_ == VectorDataKind::kDense ||
        (kind_ == VectorDataKind::kConstant && dimension_ > 0 && values().front() != T{})) {
      for (Index i = 0; i < dimension_; ++i) {
        const T value = kind_ == VectorDataKind::kDense ? values()[static_cast<std::size_t>(i)]
                                                        : values().front();
        if (value == T{}) continue;
        at.push_back(i);
        stored.push_back(value);
      }
    }
    return sparse(dimension_, std::move(at), std::move(stored));
  }
  return *this;
}

template <class T>
T sum(const VectorData<T>& vector) {
  if (vector.dimension() == 0) return T{};
  const std::span<const T> stored = vector.values();
  switch (vector.kind()) {
    case VectorDataKind::kConstant:
      return stored.empty() ? T{} : static_cast<T>(vector.dimension()) * stored.front();
    case VectorDataKind::kDense:
    case VectorDataKind::kSparse: {
      T total{};
      for (const T value : stored) total += value;
      return total;
    }
    default:
      return T{};
  }
}

template <class T>
T dotProd(const VectorData<T>& left, const VectorData<T>& right) {
  checkEqual("right.size()", right.dimension(), left.dimension());
  if (left.dimension() == 0) return T{};
  const VectorData<T>* constant = nullptr;
  const VectorData<T>* other = nullptr;
  if (right.kind() == VectorDataKind::kConstant) {
    constant = &right;
    other = &left;
  } else if (left.kind() == VectorDataKind::kConstant) {
    constant = &left;
    other = &right;
  }
  if (constant != nullptr) {
    if (constant->values().empty()) return T{};
    return constant->values().front() * sum(*other);
  }
  const bool leftDense = left.kind() == VectorDataKind::kDense;
  const bool rightDense = right.kind() == VectorDataKind::kDense;
  if (leftDense && rightDense) {
    const std::span<const T> a = left.values();
    const std::span<const T> b = right.values();
    T total{};
    for (std::size_t k = 0; k < a.size(); ++k) total += a[k] * b[k];
    return total;
  }
  if (leftDense || rightDense) {
    const VectorData<T>& dense = leftDense ? left : right;
    const VectorData<T>& pairs = leftDense ? right : left;
    const std::span<const T> full = dense.values();
    const std::span<const Index> at = pairs.indices();
    const std::span<const T> stored = pairs.values();
    T total{};
    for (std::size_t k = 0; k < at.size(); ++k) {
      total += full[static_cast<std::size_t>(at[k])] * stored[k];
    }
    return total;
  }
  // Both sparse or zero: merge the ascending index arrays.
  const std::span<const Index> ai = left.indices();
  const std::span<const T> av = left.values();
  const std::span<const Index> bi = right.indices();
  const std::span<const T> bv = right.values();
  T total{};
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < ai.size() && j < bi.size()) {
    if (ai[i] == bi[j]) {
      total += av[i++] * bv[j++];
    } else if (ai[i] < bi[j]) {
      ++i;
    } else {
      ++j;
    }
  }
  return total;
}

template <class T>
MatrixData<T> MatrixData<T>::sparse(Index rowCount, Index colCount, std::vector<Index> first,
                                    std::vector<Index> second, std::vector<T> values) {
  checkGreaterOrEqual("rowCount", rowCount, 0);
  checkGreaterOrEqual("colCount", colCount, 0);
  checkEqual("first.size()", first.size(), values.size(), "values.size()");
  checkEqual("second.size()", second.size(), values.size(), "values.size()");
  checkIndices(first, rowCount, /*ascending=*/false);
  checkIndices(second, colCount, /*ascending=*/false);
  return MatrixData(rowCount, colCount, detail::ElementArray<Index>::owned(std::move(first)),
                    detail::ElementArray<Index>::owned(std::move(second)),
                    detail::ElementArray<T>::owned(std::move(values)));
}

template <class T>
MatrixData<T> MatrixData<T>::sparseView(Index rowCount, Index colCount,
                                        const std::vector<Index>& first,
                                        const std::vector<Index>& second,
                                        const std::vector<T>& values) {
  checkGreaterOrEqual("rowCount", rowCount, 0);
  checkGreaterOrEqual("colCount", colCount, 0);
  checkEqual("first.size()", first.size(), values.size(), "values.size()");
  checkEqual("second.size()", second.size(), values.size(), "values.size()");
  checkIndices(first, rowCount, /*ascending=*/false);
  checkIndices(second, colCount, /*ascending=*/false);
  return MatrixData(rowCount, colCount, detail::ElementArray<Index>::borrowed(first),
                    detail::ElementArray<Index>::borrowed(second),
                    detail::ElementArray<T>::borrowed(values));
}

template class VectorData<double>;
template class MatrixData<double>;
template double sum<double>(const VectorData<double>&);
template double dotProd<double>(const VectorData<double>&, const VectorData<double>&);

}  // namespace nuv::math
