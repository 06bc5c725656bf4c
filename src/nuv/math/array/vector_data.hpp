// The contents of vectors and sparse matrices, as their objects hand them out.
//
// `VectorData` describes a vector of `dimension()` entries in one of four forms:
//   Zero (0)      no entries are stored; every entry is 0
//   Dense (1)     the values are the entries 0 .. dimension - 1
//   Sparse (2)    pairs of index and value, indices strictly ascending and below the dimension;
//                 every other entry is 0
//   Constant (3)  one value stands for every entry (none when the dimension is 0)
// `MatrixData` describes a sparse matrix as triples: stored entry k is values[k] at
// (firstIndices[k], secondIndices[k]).
//
// Each element array records how it is stored: not at all, one element kept in place (no
// allocation), the elements of a vector owned elsewhere (borrowed: valid only while its owner,
// usually the vector object that produced the data, lives), or a vector owned by the data.
//
// The factories check the invariants above and raise "Check Error" when they do not hold, so
// every reader may rely on them. (The library's sparse vector and matrix objects check their
// arrays when they are made and hand out data over them unchecked afterwards.) The size checks of
// `toVector`, `copyIndices`, `copyValues` and `dotProd` raise "Check Error" (4) with the subjects
// 'values.size()', 'indices.size()' and 'right.size()'.
#ifndef NUV_MATH_ARRAY_VECTOR_DATA_HPP_
#define NUV_MATH_ARRAY_VECTOR_DATA_HPP_

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "nuv/types.hpp"

namespace nuv::math {

namespace lib {
template <class T>
class SparseVector;
template <class T>
class SparseMatrix;
}  // namespace lib

enum class VectorDataKind : std::uint8_t {
  kZero = 0,
  kDense = 1,
  kSparse = 2,
  kConstant = 3,
};

// How an element array is held. Readers treat every tag from kBorrowed on alike.
enum class StorageTag : std::uint8_t {
  kNone = 0,
  kInPlace = 1,
  kBorrowed = 2,
  kOwned = 3,
};

namespace detail {

// An array of trivially copyable elements held in one of the four storage forms. Copying an
// owned array copies its elements; a borrowed one stays borrowed.
template <class E>
class ElementArray {
 public:
  ElementArray() noexcept : vector_(nullptr) {}
  static ElementArray one(E element) noexcept {
    ElementArray array;
    array.single_ = element;
    array.tag_ = StorageTag::kInPlace;
    return array;
  }
  static ElementArray borrowed(const std::vector<E>& elements) noexcept {
    ElementArray array;
    array.vector_ = &elements;
    array.tag_ = StorageTag::kBorrowed;
    return array;
  }
  static ElementArray owned(std::vector<E> elements) {
    ElementArray array;
    array.vector_ = new std::vector<E>(std::move(elements));
    array.tag_ = StorageTag::kOwned;
    return array;
  }

  ElementArray(const ElementArray& other) : tag_(other.tag_) {
    if (tag_ == StorageTag::kInPlace) {
      single_ = other.single_;
    } else if (tag_ >= StorageTag::kOwned) {
      vector_ = new std::vector<E>(*other.vector_);
    } else {
      vector_ = other.vector_;
    }
  }
  ElementArray(ElementArray&& other) noexcept : tag_(std::exchange(other.tag_, StorageTag::kNone)) {
    if (tag_ == StorageTag::kInPlace) {
      single_ = other.single_;
    } else {
      vector_ = std::exchange(other.vector_, nullptr);
    }
  }
  ElementArray& operator=(ElementArray other) noexcept {
    // other is this call's own copy, so releasing ours first is safe on self-assignment.
    if (tag_ >= StorageTag::kOwned) delete vector_;
    tag_ = std::exchange(other.tag_, StorageTag::kNone);
    if (tag_ == StorageTag::kInPlace) {
      single_ = other.single_;
    } else {
      vector_ = std::exchange(other.vector_, nullptr);
    }
    return *this;
  }
  ~ElementArray() {
    if (tag_ >= StorageTag::kOwned) delete vector_;
  }

  [[nodiscard]] StorageTag tag() const noexcept { return tag_; }
  [[nodiscard]] std::span<const E> elements() const noexcept {
    switch (tag_) {
      case StorageTag::kNone:
        return {};
      case StorageTag::kInPlace:
        return {&single_, 1};
      default:
        return {vector_->data(), vector_->size()};
    }
  }
  [[nodiscard]] std::size_t size() const noexcept { return elements().size(); }

 private:
  union {
    E single_;
    const std::vector<E>* vector_;
  };
  StorageTag tag_ = StorageTag::kNone;
};

}  // namespace detail

template <class T>
class VectorData {
 public:
  // A Constant vector of dimension 0 holding no value: the contents of an empty vector handle.
  VectorData() noexcept = default;

  // Raise "Check Error" for a negative dimension.
  static VectorData zero(Index dimension);
  static VectorData constant(Index dimension, T value);
  // A dense vector of values.size() entries; the borrowed form keeps a reference to values.
  static VectorData dense(std::vector<T> values);
  static VectorData denseView(const std::vector<T>& values);
  // Sparse vectors: indices and values of equal length, indices strictly ascending in
  // [0, dimension). The borrowed form keeps references to both vectors.
  static VectorData sparse(Index dimension, std::vector<Index> indices, std::vector<T> values);
  static VectorData sparseView(Index dimension, const std::vector<Index>& indices,
                               const std::vector<T>& values);
  // A sparse vector with one stored entry, kept in place without allocation.
  static VectorData sparseOne(Index dimension, Index index, T value);

  [[nodiscard]] VectorDataKind kind() const noexcept { return kind_; }
  [[nodiscard]] Index dimension() const noexcept { return dimension_; }
  [[nodiscard]] StorageTag indexTag() const noexcept { return indices_.tag(); }
  [[nodiscard]] StorageTag valueTag() const noexcept { return values_.tag(); }
  [[nodiscard]] std::span<const Index> indices() const noexcept { return indices_.elements(); }
  [[nodiscard]] std::span<const T> values() const noexcept { return values_.elements(); }
  [[nodiscard]] std::size_t indexCount() const noexcept { return indices_.size(); }
  [[nodiscard]] std::size_t valueCount() const noexcept { return values_.size(); }

  // Writes the entries into values, whose size must equal the dimension. A Zero vector writes
  // nothing: the span keeps what the caller put there.
  void toVector(std::span<T> values) const;
  // Copy the stored indices or values; the span's size must equal the stored count.
  void copyIndices(std::span<Index> indices) const;
  void copyValues(std::span<T> values) const;

  // The same vector in the Dense or Sparse form (a sparse form lists the non-zero entries only).
  // Any other requested form gives the contents as they are.
  [[nodiscard]] VectorData inFormat(VectorDataKind format) const;

 private:
  // The library's sparse objects check their arrays once, when they are made, and never change
  // them; the data they hand out borrows those arrays without checking them again.
  friend class lib::SparseVector<T>;

  VectorData(VectorDataKind kind, Index dimension, detail::ElementArray<Index> indices,
             detail::ElementArray<T> values)
      : kind_(kind),
        dimension_(dimension),
        indices_(std::move(indices)),
        values_(std::move(values)) {}

  VectorDataKind kind_ = VectorDataKind::kConstant;
  Index dimension_ = 0;
  detail::ElementArray<Index> indices_;
  detail::ElementArray<T> values_;
};

// The sum of all entries.
template <class T>
T sum(const VectorData<T>& vector);

// The scalar product; the dimensions must be equal ("Check Error" (4) for 'right.size()').
template <class T>
T dotProd(const VectorData<T>& left, const VectorData<T>& right);

template <class T>
class MatrixData {
 public:
  // A Sparse matrix without entries and without shape: the contents of an empty matrix handle.
  MatrixData() noexcept = default;

  // Triples (first[k], second[k], values[k]): three vectors of equal length, first indices in
  // [0, rowCount), second indices in [0, colCount). The borrowed form keeps references.
  static MatrixData sparse(Index rowCount, Index colCount, std::vector<Index> first,
                           std::vector<Index> second, std::vector<T> values);
  static MatrixData sparseView(Index rowCount, Index colCount, const std::vector<Index>& first,
                               const std::vector<Index>& second, const std::vector<T>& values);

  [[nodiscard]] VectorDataKind kind() const noexcept { return kind_; }
  [[nodiscard]] Index rowCount() const noexcept { return rowCount_; }
  [[nodiscard]] Index colCount() const noexcept { return colCount_; }
  [[nodiscard]] StorageTag firstTag() const noexcept { return first_.tag(); }
  [[nodiscard]] StorageTag secondTag() const noexcept { return second_.tag(); }
  [[nodiscard]] StorageTag valueTag() const noexcept { return values_.tag(); }
  [[nodiscard]] std::span<const Index> firstIndices() const noexcept { return first_.elements(); }
  [[nodiscard]] std::span<const Index> secondIndices() const noexcept { return second_.elements(); }
  [[nodiscard]] std::span<const T> values() const noexcept { return values_.elements(); }
  [[nodiscard]] std::size_t entryCount() const noexcept { return values_.size(); }

 private:
  friend class lib::SparseMatrix<T>;

  MatrixData(Index rowCount, Index colCount, detail::ElementArray<Index> first,
             detail::ElementArray<Index> second, detail::ElementArray<T> values)
      : kind_(VectorDataKind::kSparse),
        rowCount_(rowCount),
        colCount_(colCount),
        first_(std::move(first)),
        second_(std::move(second)),
        values_(std::move(values)) {}

  VectorDataKind kind_ = VectorDataKind::kSparse;
  Index rowCount_ = 0;
  Index colCount_ = 0;
  detail::ElementArray<Index> first_;
  detail::ElementArray<Index> second_;
  detail::ElementArray<T> values_;
};

extern template class VectorData<double>;
extern template class MatrixData<double>;
extern template double sum<double>(const VectorData<double>&);
extern template double dotProd<double>(const VectorData<double>&, const VectorData<double>&);

}  // namespace nuv::math

#endif  // NUV_MATH_ARRAY_VECTOR_DATA_HPP_
