#include "nuv/attr/abstract_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "nuv/attr/exception.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/math/symbol.hpp"
#include "tests/nuv/attr/test_attributes.hpp"

namespace nuv::attr {
namespace {

using ::testing::ElementsAre;
using testing::ReadOnlyContainer;
using testing::RecordingContainer;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testing::value;

idx::List listOf(std::initializer_list<Index> entries) {
  return idx::List(std::make_shared<const idx::lib::List>(entries));
}

template <class T>
std::vector<T> values(std::initializer_list<int> ks) {
  std::vector<T> out;
  for (const int k : ks) out.push_back(value<T>(k));
  return out;
}

template <class T>
class AbstractContainerTest : public ::testing::Test {};

using ValueTypes = ::testing::Types<int, double, std::string>;
TYPED_TEST_SUITE(AbstractContainerTest, ValueTypes);

TYPED_TEST(AbstractContainerTest, DefaultsRefuseWithExactTexts) {
  using T = TypeParam;
  ReadOnlyContainer<T> c({values<T>({1, 2, 3})});
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string text;
  };
  const Case cases[] = {
      {"reset", [&] { c.reset(); }, "Attribute Error (2): Attribute does not support to reset."},
      {"getDefault", [&] { static_cast<void>(c.getDefault()); },
       "Attribute Error (0): Attribute default not supported"},
      {"set", [&] { c.set(0, value<T>(9), 0); },
       "Attribute Error (1): Attribute does not support to set."},
      {"itemAdd", [&] { c.itemAdd(1, value<T>(9)); },
       "Attribute Error (4): Attribute does not support to add items."},
      {"set a list to one value", [&] { c.set(listOf({1}), value<T>(9), 0); },
       "Attribute Error (1): Attribute does not support to set."},
      {"setAll to one value", [&] { c.setAll(value<T>(9), 0); },
       "Attribute Error (1): Attribute does not support to set."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    EXPECT_THAT(k.call, ThrowsMessage<Exception>(StrEq(k.text)));
  }
  // Nothing to write, nothing refused.
  c.set(idx::List(), value<T>(9), 0);
  EXPECT_EQ(c.get(0, 0), value<T>(1));
}

TYPED_TEST(AbstractContainerTest, DefaultQueriesAnswerForAddingNothingOnly) {
  using T = TypeParam;
  const ReadOnlyContainer<T> c({values<T>({1})});
  EXPECT_EQ(c.type(), typeCodeOf<T>);
  EXPECT_FALSE(c.supportsDefault());
  EXPECT_FALSE(c.supportsSet());
  EXPECT_FALSE(c.supportsReset());
  for (const Index count : {0, 1, -1}) {
    SCOPED_TRACE(count);
    EXPECT_EQ(c.supportsElemAdd(count), count == 0);
    EXPECT_EQ(c.supportsItemAdd(count), count == 0);
  }
  EXPECT_EQ(c.supportsValue(value<T>(7)), std::optional<T>(value<T>(7)));
}

TYPED_TEST(AbstractContainerTest, BulkCallsCheckTheSpanBeforeTouchingAnything) {
  using T = TypeParam;
  RecordingContainer<T> c(3, 1);
  c.setAll(std::vector<T>{value<T>(1), value<T>(2), value<T>(3)}, 0);
  std::vector<T> two = values<T>({8, 9});
  std::vector<T> four = values<T>({8, 9, 8, 9});
  std::vector<T> one = values<T>({8});
  const std::vector<T> constTwo = two;
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string text;
  };
  const Case cases[] = {
      {"list read",
       [&] {
         c.get(listOf({0, 1, 2}), std::span<T>(two), 0);
       },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"list write",
       [&] {
         c.set(listOf({0, 1, 2}), std::span<const T>(constTwo), 0);
       },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"read all into a longer span", [&] { c.getAll(std::span<T>(four), 0); },
       "Check Error (4): 'values.size()' (which is 4) must be equal to 3."},
      {"write all from a shorter span", [&] { c.setAll(std::span<const T>(constTwo), 0); },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"empty list, one entry", [&] { c.get(idx::List(), std::span<T>(one), 0); },
       "Check Error (4): 'values.size()' (which is 1) must be equal to 0."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    EXPECT_THAT(k.call, ThrowsMessage<CheckException>(StrEq(k.text)));
  }
  EXPECT_EQ(two, values<T>({8, 9}));
  EXPECT_EQ(four, values<T>({8, 9, 8, 9}));
  EXPECT_EQ(c.element(0), values<T>({1, 2, 3}));
  c.get(idx::List(), std::span<T>(), 0);
  c.set(idx::List(), std::span<const T>(), 0);
}

TYPED_TEST(AbstractContainerTest, ListFormsGatherAndScatter) {
  using T = TypeParam;
  RecordingContainer<T> c(4, 1);
  c.setAll(value<T>(0), 0);
  const std::vector<T> written = values<T>({5, 6});
  c.set(listOf({3, 1}), std::span<const T>(written), 0);
  EXPECT_EQ(c.element(0), values<T>({0, 6, 0, 5}));
  std::vector<T> read(2);
  c.get(listOf({1, 3}), std::span<T>(read), 0);
  EXPECT_EQ(read, values<T>({6, 5}));
  c.set(listOf({0, 2}), value<T>(7), 0);
  EXPECT_EQ(c.element(0), values<T>({7, 6, 7, 5}));
  std::vector<T> all(4);
  c.getAll(std::span<T>(all), 0);
  EXPECT_EQ(all, values<T>({7, 6, 7, 5}));
}

TYPED_TEST(AbstractContainerTest, ViewsAreOwningCopies) {
  using T = TypeParam;
  RecordingContainer<T> c(2, 1);
  c.setAll(values<T>({1, 2}), 0);
  const View<const T> one = c.view(1, 0);
  const View<const std::vector<T>> all = c.viewAll(0);
  c.setAll(value<T>(9), 0);
  EXPECT_TRUE(one.owns());
  EXPECT_EQ(*one, value<T>(2));
  EXPECT_TRUE(all.owns());
  EXPECT_EQ(*all, values<T>({1, 2}));
}

TYPED_TEST(AbstractContainerTest, DefaultsGoThroughTheVirtualBlockRead) {
  using T = TypeParam;
  RecordingContainer<T> c(3, 1);
  std::vector<T> all(3);
  c.getAll(std::span<T>(all), 0);
  EXPECT_EQ(c.listReads, 1);
  static_cast<void>(c.viewAll(0));
  EXPECT_EQ(c.listReads, 2);
  c.setAll(value<T>(1), 0);
  c.set(listOf({0}), value<T>(2), 0);
  EXPECT_THAT(c.listWrites, ElementsAre(0, 0));
}

TYPED_TEST(AbstractContainerTest, BulkWritesKeepEntriesBeforeAFailure) {
  using T = TypeParam;
  RecordingContainer<T> c(4, 1);
  c.failAt = 2;
  EXPECT_THROW(c.setAll(values<T>({1, 2, 3, 4}), 0), std::runtime_error);
  EXPECT_EQ(c.element(0), (std::vector<T>{value<T>(1), value<T>(2), T{}, T{}}));
}

TYPED_TEST(AbstractContainerTest, CopiesEveryElementOfAnotherContainer) {
  using T = TypeParam;
  RecordingContainer<T> target(5, 2);
  const ReadOnlyContainer<T> source({values<T>({1, 2}), values<T>({3, 4})});
  target.set(listOf({4, 1}), source);
  EXPECT_THAT(target.listWrites, ElementsAre(0, 1));
  EXPECT_EQ(target.element(0), (std::vector<T>{T{}, value<T>(2), T{}, T{}, value<T>(1)}));
  EXPECT_EQ(target.element(1), (std::vector<T>{T{}, value<T>(4), T{}, T{}, value<T>(3)}));

  // A source without values is not compared at all.
  const ReadOnlyContainer<T> noValues({}, 7);
  target.set(listOf({0}), noValues);
  EXPECT_EQ(target.listWrites.size(), 2U);

  EXPECT_THAT(
      [&] {
        target.set(listOf({0, 1, 2}), source);
      },
      ThrowsMessage<CheckException>(
          StrEq("Check Error (4): 'container.itemCount()' (which is 2) must be equal to 3.")));
  EXPECT_EQ(target.listWrites.size(), 2U);
}

TYPED_TEST(AbstractContainerTest, NegativeItemCountIsRefusedByTheRange) {
  using T = TypeParam;
  const ReadOnlyContainer<T> broken({}, -1);
  const std::string text = "Check Error (8): 'size' (which is -1) must be greater or equal to 0.";
  EXPECT_THAT([&] { broken.getAll(std::span<T>(), 0); },
              ThrowsMessage<CheckException>(StrEq(text)));
  EXPECT_THAT([&] { static_cast<void>(broken.viewAll(0)); },
              ThrowsMessage<CheckException>(StrEq(text)));
}

TEST(AbstractContainerTypeTest, ModelValueTypesReportTheirCodes) {
  EXPECT_EQ(ReadOnlyContainer<math::Vector<double>>({}).type(), TypeCode::kVector);
  EXPECT_EQ(ReadOnlyContainer<math::Matrix<double>>({}).type(), TypeCode::kMatrix);
  EXPECT_EQ(ReadOnlyContainer<math::Symbol<double>>({}).type(), TypeCode::kSymbol);
  EXPECT_EQ(ReadOnlyContainer<double>({}).type(), TypeCode::kDouble);
  EXPECT_EQ(ReadOnlyContainer<int>({}).type(), TypeCode::kInt);
  EXPECT_EQ(ReadOnlyContainer<std::string>({}).type(), TypeCode::kString);
}

}  // namespace
}  // namespace nuv::attr
