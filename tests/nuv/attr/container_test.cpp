#include "nuv/attr/container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "nuv/attr/base_container.hpp"
#include "nuv/attr/exception.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/math/symbol.hpp"
#include "tests/nuv/attr/test_attributes.hpp"

namespace nuv::attr {
namespace {

using testing::ReadOnlyContainer;
using testing::RecordingContainer;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testing::value;

idx::List listOf(std::initializer_list<Index> entries) {
  return idx::List(std::make_shared<const idx::lib::List>(entries));
}

template <class T>
class ContainerTest : public ::testing::Test {};

using ValueTypes = ::testing::Types<int, double, std::string>;
TYPED_TEST_SUITE(ContainerTest, ValueTypes);

TYPED_TEST(ContainerTest, EmptyHandleAnswersNeutrally) {
  using T = TypeParam;
  Container<T> empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.type(), typeCodeOf<T>);
  EXPECT_FALSE(empty.supportsDefault());
  EXPECT_FALSE(empty.supportsSet());
  EXPECT_FALSE(empty.supportsReset());
  EXPECT_TRUE(empty.supportsElemAdd(0));
  EXPECT_FALSE(empty.supportsElemAdd(1));
  EXPECT_TRUE(empty.supportsItemAdd(0));
  EXPECT_FALSE(empty.supportsItemAdd(-1));
  EXPECT_EQ(empty.itemCount(), 0);
  EXPECT_EQ(empty.elemCount(), 0);
  EXPECT_EQ(empty.supportsValue(value<T>(1)), std::nullopt);
  EXPECT_EQ(empty.get(5, 0), T{});
  EXPECT_EQ(empty.view(0, 0).get(), nullptr);
  EXPECT_FALSE(empty.view(0, 0).owns());
  EXPECT_EQ(empty.viewAll(0).get(), nullptr);

  // Reads into mismatched spans neither check nor touch them.
  std::vector<T> span = {value<T>(7), value<T>(8)};
  empty.get(listOf({0, 1, 2}), std::span<T>(span), 0);
  empty.getAll(std::span<T>(span), 0);
  EXPECT_EQ(span, (std::vector<T>{value<T>(7), value<T>(8)}));

  // Every write is dropped, even those the interface would refuse or check.
  const std::vector<T> one = {value<T>(1)};
  const ReadOnlyContainer<T> source({{value<T>(1), value<T>(2)}});
  empty.set(0, value<T>(1), 0);
  empty.set(listOf({0, 1}), std::span<const T>(one), 0);
  empty.set(listOf({0, 1}), value<T>(1), 0);
  empty.setAll(std::span<const T>(one), 0);
  empty.setAll(value<T>(1), 0);
  empty.itemAdd(3, value<T>(1));
  empty.reset();
  empty.set(listOf({0, 1, 2}), source);
  EXPECT_EQ(empty.itemCount(), 0);

  EXPECT_THAT(
      [&] { static_cast<void>(empty.getDefault()); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (0): Attribute default not supported")));
}

TYPED_TEST(ContainerTest, CopiesShareOneObjectAndPassItsFailuresOn) {
  using T = TypeParam;
  const auto object = std::make_shared<RecordingContainer<T>>(3, 1);
  Container<T> first(object);
  const Container<T> second = first;
  first.setAll(value<T>(4), 0);
  first.set(1, value<T>(5), 0);
  EXPECT_EQ(second.get(1, 0), value<T>(5));
  EXPECT_EQ(second.get(2, 0), value<T>(4));
  EXPECT_EQ(*second.viewAll(0), (std::vector<T>{value<T>(4), value<T>(5), value<T>(4)}));
  EXPECT_TRUE(second.supportsSet());
  EXPECT_EQ(second.itemCount(), 3);

  const ReadOnlyContainer<T> source({{value<T>(6), value<T>(7)}});
  first.set(listOf({2, 0}), source);
  EXPECT_EQ(object->element(0), (std::vector<T>{value<T>(7), value<T>(5), value<T>(6)}));

  std::vector<T> two(2);
  EXPECT_THAT([&] { second.getAll(std::span<T>(two), 0); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (4): 'values.size()' (which is 2) must be equal to 3.")));
  Container<T> readOnly(
      std::make_shared<ReadOnlyContainer<T>>(std::vector<std::vector<T>>{{value<T>(1)}}));
  EXPECT_THAT(
      [&] { readOnly.set(0, value<T>(2), 0); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (1): Attribute does not support to set.")));
  EXPECT_THAT(
      [&] { static_cast<void>(readOnly.getDefault()); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (0): Attribute default not supported")));
}

TYPED_TEST(ContainerTest, TypedAccessThroughBaseContainer) {
  using T = TypeParam;
  const auto object = std::make_shared<RecordingContainer<T>>(2, 1);
  object->setAll(value<T>(3), 0);
  const BaseContainer base(object);
  EXPECT_EQ(base.typeCode(), typeCodeOf<T>);
  EXPECT_EQ(base.type(), typeCodeOf<T>);
  EXPECT_EQ(base.itemCount(), 2);
  EXPECT_TRUE(base.supportsSet());

  const Container<T> typed(base);
  EXPECT_EQ(typed.shared(), object);
  EXPECT_EQ(typed.get(1, 0), value<T>(3));
  EXPECT_TRUE(Container<T>(BaseContainer()).empty());
  EXPECT_EQ(BaseContainer(typed).shared(), object);
  EXPECT_EQ(BaseContainer(Container<T>()).typeCode(), typeCodeOf<T>);
}

TEST(ContainerHandleTest, WrongTypeThroughBaseContainerGivesAnEmptyHandle) {
  const auto doubles = std::make_shared<RecordingContainer<double>>(3, 1);
  doubles->setAll(2.5, 0);
  const BaseContainer base(doubles);
  const Container<double> asDouble(base);
  const Container<int> asInt(base);
  const Container<std::string> asText(base);
  EXPECT_FALSE(asDouble.empty());
  EXPECT_TRUE(asInt.empty());
  EXPECT_TRUE(asText.empty());
  EXPECT_EQ(asInt.type(), TypeCode::kInt);
  for (Index item = 0; item < 3; ++item) {
    SCOPED_TRACE(item);
    EXPECT_DOUBLE_EQ(asDouble.get(item, 0), 2.5);
    EXPECT_EQ(asInt.get(item, 0), 0);
    EXPECT_EQ(asText.get(item, 0), "");
  }
  EXPECT_TRUE(Container<math::Symbol<double>>(base).empty());
}

TEST(ContainerHandleTest, EmptyHandlesOfModelValuesReadNeutralValues) {
  const Container<math::Vector<double>> vectors;
  const Container<math::Matrix<double>> matrices;
  const Container<math::Symbol<double>> symbols;
  EXPECT_EQ(vectors.type(), TypeCode::kVector);
  EXPECT_EQ(matrices.type(), TypeCode::kMatrix);
  EXPECT_EQ(symbols.type(), TypeCode::kSymbol);
  EXPECT_TRUE(vectors.get(0, 0).empty());
  EXPECT_TRUE(matrices.get(0, 0).empty());
  const math::Symbol<double> zero = symbols.get(0, 0);
  EXPECT_EQ(zero.kind(), math::SymbolKind::kNumeric);
  EXPECT_DOUBLE_EQ(zero.numeric(), 0.0);
}

TEST(ContainerHandleTest, EmptyBaseContainerAnswersNeutrally) {
  BaseContainer empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.type(), TypeCode::kNone);
  EXPECT_EQ(empty.typeCode(), TypeCode::kNone);
  EXPECT_FALSE(empty.supportsDefault());
  EXPECT_FALSE(empty.supportsSet());
  EXPECT_FALSE(empty.supportsReset());
  EXPECT_FALSE(empty.supportsElemAdd(0));
  EXPECT_FALSE(empty.supportsItemAdd(0));
  EXPECT_EQ(empty.itemCount(), 0);
  EXPECT_EQ(empty.elemCount(), 0);
  empty.reset();

  const BaseContainer overNull(std::shared_ptr<AbstractContainer<int>>{});
  EXPECT_EQ(overNull.typeCode(), TypeCode::kInt);
  EXPECT_EQ(overNull.type(), TypeCode::kNone);
  EXPECT_TRUE(Container<int>(overNull).empty());
}

TEST(ContainerHandleTest, CopyThroughTheInterfaceStillComparesCounts) {
  // The handle's own copy drops everything; the interface's copy is not virtual and compares the
  // source's item count with the list before the empty handle drops the writes.
  Container<int> empty;
  const ReadOnlyContainer<int> source({{1, 2}});
  empty.set(listOf({0}), source);
  AbstractContainer<int>& asInterface = empty;
  EXPECT_THAT([&] { asInterface.set(listOf({0}), source); },
              ThrowsMessage<CheckException>(StrEq(
                  "Check Error (4): 'container.itemCount()' (which is 2) must be equal to 1.")));
  asInterface.set(listOf({0, 1}), source);
}

}  // namespace
}  // namespace nuv::attr
