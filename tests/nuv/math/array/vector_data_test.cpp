#include "nuv/math/array/vector_data.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "nuv/exception.hpp"
#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/math/lib/sparse_matrix.hpp"
#include "nuv/math/lib/sparse_vector.hpp"

namespace nuv::math {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using Data = VectorData<double>;

void expectCheckError(const std::function<void()>& call, const std::string& text) {
  EXPECT_THAT(call, ThrowsMessage<CheckException>(StrEq(text)));
}

TEST(VectorDataTest, SumOfEachKind) {
  struct Case {
    const char* what;
    Data data;
    double sum;
  };
  const Case cases[] = {
      {"constant 4 x 2.5", Data::constant(4, 2.5), 10.0},
      {"zero", Data::zero(5), 0.0},
      {"dense", Data::dense({1.0, 2.0, 3.5}), 6.5},
      {"sparse", Data::sparse(9, {1, 4}, {2.0, -0.5}), 1.5},
      {"empty handle contents", Data(), 0.0},
      {"constant of dimension 0", Data::constant(0, 7.0), 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DOUBLE_EQ(sum(c.data), c.sum);
  }
}

TEST(VectorDataTest, DotProductOfEachPairOfKinds) {
  struct Case {
    const char* what;
    Data left;
    Data right;
    double product;
  };
  const Case cases[] = {
      {"dimension 0 of any kinds", Data::zero(0), Data::dense({}), 0.0},
      {"constant left, dense right", Data::constant(3, 2.0), Data::dense({1, 2, 3}), 12.0},
      {"dense left, constant right", Data::dense({1, 2, 3}), Data::constant(3, 2.0), 12.0},
      {"constant times constant", Data::constant(2, 3.0), Data::constant(2, 0.5), 3.0},
      {"dense times dense", Data::dense({1, 2, 3}), Data::dense({4, 5, 6}), 32.0},
      {"dense times sparse", Data::dense({1, 2, 3, 4}), Data::sparse(4, {0, 3}, {10, 100}), 410.0},
      {"sparse times dense", Data::sparse(4, {1, 2}, {10, 100}), Data::dense({1, 2, 3, 4}), 320.0},
      {"sparse merge uses the shared indices only", Data::sparse(8, {1, 4, 7}, {1000, 2, 3}),
       Data::sparse(8, {4, 5, 7}, {5, 1000, 7}), 31.0},
      {"zero times sparse", Data::zero(8), Data::sparse(8, {4}, {5}), 0.0},
      {"zero times dense", Data::zero(2), Data::dense({4, 5}), 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DOUBLE_EQ(dotProd(c.left, c.right), c.product);
  }
}

TEST(VectorDataTest, DotProductRefusesUnequalDimensions) {
  expectCheckError(
      [] {
        static_cast<void>(dotProd(Data::zero(3), Data::dense({1, 2, 3, 4})));
      },
      "Check Error (4): 'right.size()' (which is 4) must be equal to 3.");
}

TEST(VectorDataTest, ToVectorWritesEachKind) {
  struct Case {
    const char* what;
    Data data;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {"dense copies", Data::dense({1, 2, 3}), {1, 2, 3}},
      {"sparse clears before scattering", Data::sparse(3, {1}, {5}), {0, 5, 0}},
      {"constant repeats its value", Data::constant(3, 4.0), {4, 4, 4}},
      {"zero writes nothing", Data::zero(3), {9, 9, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<double> out(3, 9.0);
    c.data.toVector(out);
    EXPECT_EQ(out, c.expected);
  }
}

TEST(VectorDataTest, SizeChecksNameTheirSpan) {
  const Data sparse = Data::sparse(5, {0, 2, 4}, {1, 2, 3});
  std::vector<double> two(2, 0.0);
  std::vector<Index> four(4, 0);
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string text;
  };
  const Case cases[] = {
      {"toVector", [&] { sparse.toVector(two); },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 5."},
      {"copyIndices", [&] { sparse.copyIndices(four); },
       "Check Error (4): 'indices.size()' (which is 4) must be equal to 3."},
      {"copyValues", [&] { sparse.copyValues(two); },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectCheckError(c.call, c.text);
  }
  EXPECT_THAT(two, ElementsAre(0.0, 0.0));
  EXPECT_THAT(four, ElementsAre(0, 0, 0, 0));
}

TEST(VectorDataTest, CopiesStoredElementsInOrder) {
  const Data sparse = Data::sparse(5, {0, 2, 4}, {1, 2, 3});
  std::vector<Index> indices(3);
  std::vector<double> values(3);
  sparse.copyIndices(indices);
  sparse.copyValues(values);
  EXPECT_THAT(indices, ElementsAre(0, 2, 4));
  EXPECT_THAT(values, ElementsAre(1.0, 2.0, 3.0));
}

TEST(VectorDataTest, FactoriesRefuseBrokenInvariants) {
  struct Case {
    const char* what;
    std::function<void()> build;
    std::string text;
  };
  const Case cases[] = {
      {"negative dimension", [] { Data::zero(-1); },
       "Check Error (8): 'dimension' (which is -1) must be greater or equal to 0."},
      {"more values than indices",
       [] {
         Data::sparse(5, {1}, {1, 2});
       },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 'indices.size()' (which "
       "is 1)."},
      {"index at the dimension",
       [] {
         Data::sparse(3, {0, 3}, {1, 2});
       },
       "Check Error (5): 'index' (which is 3) must be less than 3."},
      {"negative index", [] { Data::sparseOne(3, -2, 1.0); },
       "Check Error (8): 'index' (which is -2) must be greater or equal to 0."},
      {"indices not ascending",
       [] {
         Data::sparse(9, {4, 4}, {1, 2});
       },
       "Check Error (7): 'index' (which is 4) must be greater than 'previous index' (which is "
       "4)."},
      {"matrix index outside the shape",
       [] {
         MatrixData<double>::sparse(2, 2, {0, 2}, {0, 0}, {1, 1});
       },
       "Check Error (5): 'index' (which is 2) must be less than 2."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    expectCheckError(c.build, c.text);
  }
}

TEST(VectorDataTest, StorageTagsFollowHowElementsAreHeld) {
  const std::vector<Index> indices = {1, 2};
  const std::vector<double> values = {3.0, 4.0};
  struct Case {
    const char* what;
    Data data;
    StorageTag indexTag;
    StorageTag valueTag;
  };
  const Case cases[] = {
      {"empty handle contents", Data(), StorageTag::kNone, StorageTag::kNone},
      {"one pair in place", Data::sparseOne(4, 2, 1.0), StorageTag::kInPlace, StorageTag::kInPlace},
      {"constant keeps its value in place", Data::constant(4, 1.0), StorageTag::kNone,
       StorageTag::kInPlace},
      {"borrowed", Data::sparseView(4, indices, values), StorageTag::kBorrowed,
       StorageTag::kBorrowed},
      {"owned", Data::sparse(4, {1, 2}, {3.0, 4.0}), StorageTag::kOwned, StorageTag::kOwned},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.data.indexTag(), c.indexTag);
    EXPECT_EQ(c.data.valueTag(), c.valueTag);
  }
  const Data borrowed = Data::sparseView(4, indices, values);
  EXPECT_EQ(borrowed.values().data(), values.data());
}

TEST(VectorDataTest, CopyOfOwnedDataOutlivesTheOriginal) {
  auto original = std::make_unique<Data>(Data::dense({1.0, 2.0, 3.0}));
  const Data copy = *original;
  EXPECT_NE(copy.values().data(), original->values().data());
  original.reset();
  EXPECT_THAT(copy.values(), ElementsAre(1.0, 2.0, 3.0));
}

TEST(VectorDataTest, ConvertsToTheRequestedForm) {
  const Data dense = Data::dense({0.0, 2.0, 0.0, 3.0}).inFormat(VectorDataKind::kSparse);
  EXPECT_EQ(dense.kind(), VectorDataKind::kSparse);
  EXPECT_EQ(dense.dimension(), 4);
  EXPECT_THAT(dense.indices(), ElementsAre(1, 3));
  EXPECT_THAT(dense.values(), ElementsAre(2.0, 3.0));

  const Data sparse = Data::sparse(3, {2}, {5.0}).inFormat(VectorDataKind::kDense);
  EXPECT_EQ(sparse.kind(), VectorDataKind::kDense);
  EXPECT_THAT(sparse.values(), ElementsAre(0.0, 0.0, 5.0));

  const Data constant = Data::constant(2, 1.5).inFormat(VectorDataKind::kSparse);
  EXPECT_THAT(constant.indices(), ElementsAre(0, 1));
  EXPECT_THAT(constant.values(), ElementsAre(1.5, 1.5));

  EXPECT_THAT(Data::zero(2).inFormat(VectorDataKind::kDense).values(), ElementsAre(0.0, 0.0));
  EXPECT_EQ(Data::zero(2).inFormat(VectorDataKind::kSparse).indexCount(), 0U);
  EXPECT_EQ(Data::zero(2).inFormat(VectorDataKind::kConstant).kind(), VectorDataKind::kZero);
}

TEST(VectorTest, EmptyHandleIsAConstantVectorOfDimensionZero) {
  const Vector<double> empty;
  EXPECT_TRUE(empty.empty());
  const Data data = empty.data();
  EXPECT_EQ(data.kind(), VectorDataKind::kConstant);
  EXPECT_EQ(data.dimension(), 0);
  EXPECT_EQ(data.valueCount(), 0U);
  EXPECT_DOUBLE_EQ(dotProd(empty, Vector<double>()), 0.0);
  expectCheckError([&] { static_cast<void>(dotProd(empty, lib::denseVector<double>({1.0}))); },
                   "Check Error (4): 'right.size()' (which is 1) must be equal to 0.");
}

TEST(VectorTest, ConcreteVectorsHandOutTheirEntries) {
  const Vector<double> dense = lib::denseVector<double>({0.0, 4.0, 1.0});
  const Vector<double> sparse = lib::sparseVector<double>(3, {0, 2}, {2.0, 3.0});
  EXPECT_EQ(dense.data().kind(), VectorDataKind::kDense);
  EXPECT_EQ(sparse.data().kind(), VectorDataKind::kSparse);
  EXPECT_DOUBLE_EQ(dotProd(dense, sparse), 3.0);

  // The format code as a plain number, as the model loaders pass it.
  const Data asSparse = dense.data(std::uint8_t{2});
  EXPECT_THAT(asSparse.indices(), ElementsAre(1, 2));
  std::vector<double> out(3);
  sparse.data(std::uint8_t{1}).toVector(out);
  EXPECT_THAT(out, ElementsAre(2.0, 0.0, 3.0));

  expectCheckError(
      [] {
        lib::sparseVector<double>(2, {1, 0}, {1.0, 1.0});
      },
      "Check Error (7): 'index' (which is 0) must be greater than 'previous index' "
      "(which is 1).");
}

TEST(MatrixTest, HandlesHandOutTriples) {
  const MatrixData<double> empty = Matrix<double>().data(1);
  EXPECT_EQ(empty.kind(), VectorDataKind::kSparse);
  EXPECT_EQ(empty.entryCount(), 0U);
  EXPECT_EQ(empty.rowCount(), 0);

  const Matrix<double> matrix = lib::sparseMatrix<double>(3, 2, {0, 2}, {1, 1}, {1.5, -2.0});
  const MatrixData<double> data = matrix.data(1);
  EXPECT_EQ(data.kind(), VectorDataKind::kSparse);
  EXPECT_EQ(data.rowCount(), 3);
  EXPECT_EQ(data.colCount(), 2);
  EXPECT_THAT(data.firstIndices(), ElementsAre(0, 2));
  EXPECT_THAT(data.secondIndices(), ElementsAre(1, 1));
  EXPECT_THAT(data.values(), ElementsAre(1.5, -2.0));
  EXPECT_EQ(data.valueTag(), StorageTag::kBorrowed);
}

}  // namespace
}  // namespace nuv::math
