// `nuv::math::lib::SparseMatrix`: a matrix object that owns its triples and hands them out,
// whatever format is asked for, as MatrixData borrowing its own arrays. The triples are checked
// once, when the object is made; handing them out checks nothing and allocates nothing.
#ifndef NUV_MATH_LIB_SPARSE_MATRIX_HPP_
#define NUV_MATH_LIB_SPARSE_MATRIX_HPP_

#include <memory>
#include <utility>
#include <vector>

#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector_data.hpp"
#include "nuv/types.hpp"

namespace nuv::math::lib {

template <class T>
class SparseMatrix final : public AbstractMatrix<T> {
 public:
  // Raises "Check Error" unless the three arrays have equal length and every index lies within
  // the shape.
  SparseMatrix(Index rowCount, Index colCount, std::vector<Index> first, std::vector<Index> second,
               std::vector<T> values)
      : rowCount_(rowCount),
        colCount_(colCount),
        first_(std::move(first)),
        second_(std::move(second)),
        values_(std::move(values)) {
    static_cast<void>(MatrixData<T>::sparseView(rowCount_, colCount_, first_, second_, values_));
  }

  // Borrows the arrays checked by the constructor; checks nothing again.
  [[nodiscard]] MatrixData<T> data(int /*format*/) const override {
    return MatrixData<T>(rowCount_, colCount_, detail::ElementArray<Index>::borrowed(first_),
                         detail::ElementArray<Index>::borrowed(second_),
                         detail::ElementArray<T>::borrowed(values_));
  }

 private:
  Index rowCount_;
  Index colCount_;
  std::vector<Index> first_;
  std::vector<Index> second_;
  std::vector<T> values_;
};

// A matrix handle over a new sparse matrix object.
template <class T>
Matrix<T> sparseMatrix(Index rowCount, Index colCount, std::vector<Index> first,
                       std::vector<Index> second, std::vector<T> values) {
  return Matrix<T>(std::make_shared<const SparseMatrix<T>>(rowCount, colCount, std::move(first),
                                                           std::move(second), std::move(values)));
}

}  // namespace nuv::math::lib

#endif  // NUV_MATH_LIB_SPARSE_MATRIX_HPP_
