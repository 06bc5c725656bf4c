#include "nuv/attr/lib/vector_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "nuv/attr/container.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/math/lib/dense_vector.hpp"
#include "nuv/math/lib/sparse_matrix.hpp"
#include "nuv/math/symbol.hpp"

namespace nuv::attr::lib {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

// n distinct values of T; none equals the value-initialised T.
template <class T>
std::vector<T> samples(int n) {
  std::vector<T> out;
  for (int k = 1; k <= n; ++k) {
    if constexpr (std::is_same_v<T, std::string>) {
      out.push_back("v" + std::to_string(k));
    } else if constexpr (std::is_same_v<T, math::Vector<double>>) {
      out.push_back(math::lib::denseVector<double>({k + 0.5}));
    } else if constexpr (std::is_same_v<T, math::Matrix<double>>) {
      out.push_back(math::lib::sparseMatrix<double>(1, 1, {0}, {0}, {k + 0.5}));
    } else if constexpr (std::is_same_v<T, math::Symbol<double>>) {
      out.push_back(math::Symbol<double>::numeric(k + 0.5));
    } else {
      out.push_back(static_cast<T>(k + 0.5));
    }
  }
  return out;
}

// What tells two values apart: the shared object for vectors and matrices, the number for
// symbols, the value itself otherwise.
template <class T>
auto key(const T& value) {
  if constexpr (std::is_same_v<T, math::Vector<double>> ||
                std::is_same_v<T, math::Matrix<double>>) {
    return static_cast<const void*>(value.shared().get());
  } else if constexpr (std::is_same_v<T, math::Symbol<double>>) {
    return value.numeric();
  } else {
    return value;
  }
}

template <class T>
auto keys(const std::vector<T>& values) {
  std::vector<decltype(key(values.front()))> out;
  for (const T& value : values) out.push_back(key(value));
  return out;
}

template <class T>
std::vector<T> readAll(const AbstractContainer<T>& container, Index elem) {
  std::vector<T> values(static_cast<std::size_t>(container.itemCount()));
  container.getAll(values, elem);
  return values;
}

idx::List block(Index first, Index size) {
  return idx::List(std::make_shared<const idx::lib::Range>(first, size));
}

idx::List explicitList(std::initializer_list<Index> entries) {
  return idx::List(std::make_shared<const idx::lib::List>(entries));
}

template <class T>
class VectorContainerTest : public ::testing::Test {};

using ValueTypes = ::testing::Types<double, int, std::string, math::Vector<double>,
                                    math::Matrix<double>, math::Symbol<double>>;
TYPED_TEST_SUITE(VectorContainerTest, ValueTypes);

TYPED_TEST(VectorContainerTest, HoldsOneElementOfTheGivenValues) {
  const std::vector<TypeParam> v = samples<TypeParam>(3);
  const auto container = std::make_shared<VectorContainer<TypeParam>>(v);
  EXPECT_EQ(container->type(), typeCodeOf<TypeParam>);
  EXPECT_EQ(container->itemCount(), 3);
  EXPECT_EQ(container->elemCount(), 1);
  EXPECT_TRUE(container->supportsSet());
  EXPECT_TRUE(container->supportsReset());
  EXPECT_FALSE(container->supportsDefault());
  EXPECT_EQ(key(container->get(2, 0)), key(v[2]));
  EXPECT_EQ(keys(readAll<TypeParam>(*container, 0)), keys(v));
  EXPECT_EQ(keys(*container->viewAll(0)), keys(v));
  // The view lends the stored values: a later write shows through it.
  const View<const std::vector<TypeParam>> lent = container->viewAll(0);
  EXPECT_FALSE(lent.owns());
  container->set(0, v[2], 0);
  EXPECT_EQ(key((*lent)[0]), key(v[2]));
  EXPECT_THROW(static_cast<void>(container->viewAll(1)), CheckException);

  // Through the type-erased handle and back, as dictionaries hand containers out.
  const Container<TypeParam> typed{BaseContainer(container)};
  EXPECT_EQ(key(typed.get(1, 0)), key(v[1]));
}

TYPED_TEST(VectorContainerTest, ReadsAndWritesThroughBlocksAndLists) {
  const std::vector<TypeParam> v = samples<TypeParam>(6);
  VectorContainer<TypeParam> container(std::vector<TypeParam>(v.begin(), v.begin() + 4));

  std::vector<TypeParam> read(2);
  container.get(block(1, 2), read, 0);
  EXPECT_EQ(keys(read), keys(std::vector<TypeParam>{v[1], v[2]}));
  container.get(explicitList({3, 0}), read, 0);
  EXPECT_EQ(keys(read), keys(std::vector<TypeParam>{v[3], v[0]}));

  const std::vector<TypeParam> written{v[4], v[5]};
  container.set(block(2, 2), std::span<const TypeParam>(written), 0);
  container.set(explicitList({1, 0}), std::span<const TypeParam>(written), 0);
  EXPECT_EQ(keys(readAll<TypeParam>(container, 0)),
            keys(std::vector<TypeParam>{v[5], v[4], v[4], v[5]}));

  container.setAll(v[0], 0);
  EXPECT_EQ(keys(readAll<TypeParam>(container, 0)), keys(std::vector<TypeParam>(4, v[0])));
}

TYPED_TEST(VectorContainerTest, ResetDropsTheValuesAndAWriteBringsThemBack) {
  const std::vector<TypeParam> v = samples<TypeParam>(2);
  VectorContainer<TypeParam> container(v);
  container.reset();
  EXPECT_EQ(container.itemCount(), 2);
  EXPECT_EQ(container.elemCount(), 0);

  container.set(1, v[0], 0);
  EXPECT_EQ(container.elemCount(), 1);
  EXPECT_EQ(keys(readAll<TypeParam>(container, 0)),
            keys(std::vector<TypeParam>{TypeParam{}, v[0]}));
}

TYPED_TEST(VectorContainerTest, ItemAddAppendsToEveryElement) {
  const std::vector<TypeParam> v = samples<TypeParam>(3);
  VectorContainer<TypeParam> container(1, {{v[0]}, {v[1]}});
  EXPECT_TRUE(container.supportsItemAdd(2));
  EXPECT_FALSE(container.supportsItemAdd(-1));
  container.itemAdd(2, v[2]);
  EXPECT_EQ(container.itemCount(), 3);
  EXPECT_EQ(keys(readAll<TypeParam>(container, 0)), keys(std::vector<TypeParam>{v[0], v[2], v[2]}));
  EXPECT_EQ(keys(readAll<TypeParam>(container, 1)), keys(std::vector<TypeParam>{v[1], v[2], v[2]}));

  VectorContainer<TypeParam> noValues;
  noValues.itemAdd(2, v[0]);
  EXPECT_EQ(noValues.itemCount(), 2);
  EXPECT_EQ(noValues.elemCount(), 0);
}

TYPED_TEST(VectorContainerTest, CopiesEveryElementOfAnotherContainer) {
  const std::vector<TypeParam> v = samples<TypeParam>(4);
  const VectorContainer<TypeParam> source(2, {{v[0], v[1]}, {v[2], v[3]}});
  VectorContainer<TypeParam> target(
      3, {{TypeParam{}, TypeParam{}, TypeParam{}}, {TypeParam{}, TypeParam{}, TypeParam{}}});
  target.set(explicitList({2, 0}), source);
  EXPECT_EQ(keys(readAll<TypeParam>(target, 0)),
            keys(std::vector<TypeParam>{v[1], TypeParam{}, v[0]}));
  EXPECT_EQ(keys(readAll<TypeParam>(target, 1)),
            keys(std::vector<TypeParam>{v[3], TypeParam{}, v[2]}));
}

TEST(VectorContainerCheckTest, RefusesNumbersOutsideTheTableBeforeWriting) {
  VectorContainer<int> container(std::vector<int>{1, 2, 3});
  const std::vector<int> two{7, 8};
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string text;
  };
  const Case cases[] = {
      {"item past the end", [&] { static_cast<void>(container.get(3, 0)); },
       "Check Error (5): 'item' (which is 3) must be less than 3."},
      {"negative item", [&] { container.set(-1, 5, 0); },
       "Check Error (8): 'item' (which is -1) must be greater or equal to 0."},
      {"element past the end", [&] { static_cast<void>(container.get(0, 1)); },
       "Check Error (5): 'elem' (which is 1) must be less than 1."},
      {"writing a new element", [&] { container.set(0, 5, 1); },
       "Check Error (5): 'elem' (which is 1) must be less than 1."},
      {"block past the end", [&] { container.set(block(2, 2), std::span<const int>(two), 0); },
       "Check Error (5): 'item' (which is 3) must be less than 3."},
      {"list entry past the end",
       [&] {
         container.set(explicitList({0, 5}), std::span<const int>(two), 0);
       },
       "Check Error (5): 'item' (which is 5) must be less than 3."},
      {"span too short for the list",
       [&] {
         container.set(explicitList({0, 1, 2}), std::span<const int>(two), 0);
       },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"span too long for all items",
       [&] {
         std::vector<int> four(4);
         container.getAll(four, 0);
       },
       "Check Error (4): 'values.size()' (which is 4) must be equal to 3."},
      {"negative item count to add", [&] { container.itemAdd(-1, 0); },
       "Check Error (8): 'count' (which is -1) must be greater or equal to 0."},
      {"elements of another length",
       [] {
         VectorContainer<int>(2, {{1, 2}, {3}});
       },
       "Check Error (4): 'element.size()' (which is 1) must be equal to 2."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THAT(c.call, ThrowsMessage<CheckException>(StrEq(c.text)));
    EXPECT_THAT(readAll<int>(container, 0), ElementsAre(1, 2, 3));
    EXPECT_EQ(container.itemCount(), 3);
    EXPECT_EQ(container.elemCount(), 1);
  }
}

TEST(VectorContainerCheckTest, ReadingWithoutValuesIsRefusedAndEmptyListsDoNothing) {
  VectorContainer<double> container(2);
  EXPECT_EQ(container.elemCount(), 0);
  EXPECT_THAT([&] { static_cast<void>(container.get(0, 0)); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (5): 'elem' (which is 0) must be less than 0.")));
  std::vector<double> none;
  container.get(explicitList({}), none, 0);
  container.set(explicitList({}), std::span<const double>(none), 0);
  EXPECT_EQ(container.elemCount(), 0);
  // A list write fills the values it creates with zeros.
  const std::vector<double> one{4.5};
  container.set(explicitList({1}), std::span<const double>(one), 0);
  EXPECT_THAT(readAll<double>(container, 0), ElementsAre(0.0, 4.5));
}

}  // namespace
}  // namespace nuv::attr::lib
