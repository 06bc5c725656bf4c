#include "nuv/attr/view/with_info_item.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "nuv/attr/abstract_info.hpp"
#include "nuv/attr/exception.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/attr/lib/info.hpp"
#include "nuv/attr/lib/optional_item.hpp"
#include "nuv/attr/lib/range_info.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/exception.hpp"

namespace nuv::attr::view {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

constexpr int kNoLimit = std::numeric_limits<int>::max();

// An int item that counts the questions it is asked and answers as configured; it refuses
// `refused` and holds `held` elements.
class ProbeItem final : public AbstractItem<int> {
 public:
  [[nodiscard]] bool supportsSet() const override {
    ++setQuestions;
    return settable;
  }
  [[nodiscard]] bool supportsElemAdd(Index count) const override {
    ++elemAddQuestions;
    return count == 0 || count == 1 || count == kNoLimit;
  }
  [[nodiscard]] Index elemCount() const override { return held; }
  [[nodiscard]] std::optional<int> supportsValue(const int& value) const override {
    if (value == refused) return std::nullopt;
    return value;
  }
  [[nodiscard]] int get(Index /*elem*/) const override { return value; }
  void set(const int& v, Index /*elem*/) override { value = v; }

  bool settable = true;
  Index held = 0;
  int refused = std::numeric_limits<int>::min();
  int value = 0;
  mutable int setQuestions = 0;
  mutable int elemAddQuestions = 0;
};

// An int description whose destruction is reported.
class TrackedInfo final : public AbstractInfo<int> {
 public:
  explicit TrackedInfo(bool* destroyed) : destroyed_(destroyed) {}
  ~TrackedInfo() override { *destroyed_ = true; }
  [[nodiscard]] View<const std::string> name() const override { return {}; }
  [[nodiscard]] std::optional<int> ref() const override { return std::nullopt; }
  [[nodiscard]] int maxElemCount() const override { return 1; }
  [[nodiscard]] bool supportsDefault() const override { return true; }
  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] View<const AbstractDoc> doc() const override { return {}; }
  [[nodiscard]] int getDefault() const override { return 42; }
  [[nodiscard]] std::optional<int> supportsValue(const int& value) const override { return value; }

 private:
  bool* destroyed_;
};

lib::Info<int> intInfo(std::optional<int> maxElemCount, bool supportsSet,
                       std::optional<int> defaultValue) {
  return lib::Info<int>("opt", maxElemCount, supportsSet, defaultValue, std::nullopt, {});
}

template <class T>
View<const AbstractInfo<T>> borrow(const AbstractInfo<T>& info) {
  return View<const AbstractInfo<T>>::borrowed(&info);
}

TEST(WithInfoItemTest, RefusesANullDescription) {
  auto item = lib::optionalItem<int>();
  const std::weak_ptr<lib::OptionalItem<int>> watch = item;
  EXPECT_THAT(
      [&] { static_cast<void>(withInfo(std::move(item), View<const AbstractInfo<int>>())); },
      ThrowsMessage<CheckException>(StrEq("Check Error (3): 'info' must not be null.")));
  // The item handle taken in was released.
  EXPECT_TRUE(watch.expired());
}

TEST(WithInfoItemTest, ElementLimitComesFromTheDescriptionFirst) {
  const lib::Info<int> one = intInfo(1, true, std::nullopt);
  const auto item = std::make_shared<ProbeItem>();
  const auto guarded = withInfo(item, borrow<int>(one));

  item->held = 1;
  EXPECT_FALSE(guarded->supportsElemAdd(1));
  EXPECT_EQ(item->elemAddQuestions, 0);
  EXPECT_TRUE(guarded->supportsElemAdd(0));
  EXPECT_FALSE(guarded->supportsElemAdd(-5));
  EXPECT_EQ(item->elemAddQuestions, 2);

  item->held = 0;
  EXPECT_TRUE(guarded->supportsElemAdd(1));
  EXPECT_EQ(item->elemAddQuestions, 3);
  EXPECT_FALSE(guarded->supportsElemAdd(2));
  EXPECT_EQ(item->elemAddQuestions, 3);
}

TEST(WithInfoItemTest, ElementLimitWithoutLimitDoesNotOverflow) {
  const lib::Info<int> unlimited = intInfo(std::nullopt, true, std::nullopt);
  ASSERT_EQ(unlimited.maxElemCount(), kNoLimit);
  const auto item = std::make_shared<ProbeItem>();
  const auto guarded = withInfo(item, borrow<int>(unlimited));
  item->held = 1;
  EXPECT_FALSE(guarded->supportsElemAdd(kNoLimit));
  EXPECT_EQ(item->elemAddQuestions, 0);
  item->held = 0;
  EXPECT_TRUE(guarded->supportsElemAdd(kNoLimit));
  EXPECT_EQ(item->elemAddQuestions, 1);
}

TEST(WithInfoItemTest, SettabilityAsksTheItemOnlyWhenTheDescriptionAllows) {
  const lib::Info<int> fixed = intInfo(1, false, 3);
  const auto item = std::make_shared<ProbeItem>();
  const auto guarded = withInfo(item, borrow<int>(fixed));
  EXPECT_FALSE(guarded->supportsSet());
  EXPECT_EQ(item->setQuestions, 0);
  // Not re-checked on writing.
  guarded->set(9, 0);
  EXPECT_EQ(item->value, 9);
  EXPECT_EQ(guarded->get(0), 9);

  const lib::Info<int> open = intInfo(1, true, 3);
  const auto both = withInfo(item, borrow<int>(open));
  EXPECT_TRUE(both->supportsSet());
  item->settable = false;
  EXPECT_FALSE(both->supportsSet());
  EXPECT_EQ(item->setQuestions, 2);
}

TEST(WithInfoItemTest, AcceptanceClampsThroughTheDescriptionThenAsksTheItem) {
  const lib::RangeInfo<int> range("opt", 1, true, 5, 0, 10, std::nullopt, {});
  const auto item = std::make_shared<ProbeItem>();
  const auto guarded = withInfo(item, borrow<int>(range));
  struct Case {
    int value;
    std::optional<int> accepted;
  };
  const Case cases[] = {{15, 10}, {-3, 0}, {7, 7}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.value);
    EXPECT_EQ(guarded->supportsValue(k.value), k.accepted);
  }
  item->refused = 10;
  EXPECT_EQ(guarded->supportsValue(15), std::nullopt);
  EXPECT_EQ(guarded->supportsValue(9), std::optional<int>(9));
  // Writes are not clamped.
  guarded->set(15, 0);
  EXPECT_EQ(item->value, 15);
}

TEST(WithInfoItemTest, DefaultComesFromTheDescriptionAlsoAfterReset) {
  const lib::RangeInfo<int> range("opt", 1, true, 5, 0, 10, std::nullopt, {});
  const auto stored = lib::optionalItem<int>();
  const auto guarded = withInfo(stored, borrow<int>(range));
  EXPECT_EQ(guarded->type(), TypeCode::kInt);
  EXPECT_TRUE(guarded->supportsDefault());
  EXPECT_TRUE(guarded->supportsReset());
  EXPECT_EQ(guarded->elemCount(), 0);
  guarded->set(8, 0);
  EXPECT_EQ(guarded->elemCount(), 1);
  EXPECT_EQ(*guarded->view(0), 8);
  guarded->reset();
  EXPECT_EQ(stored->elemCount(), 0);
  EXPECT_EQ(guarded->getDefault(), 5);
  EXPECT_THROW(static_cast<void>(guarded->get(0)), std::bad_optional_access);

  const lib::Info<int> noDefault = intInfo(1, true, std::nullopt);
  const auto bare = withInfo(lib::optionalItem<int>(), borrow<int>(noDefault));
  EXPECT_FALSE(bare->supportsDefault());
  EXPECT_THAT(
      [&] { static_cast<void>(bare->getDefault()); },
      ThrowsMessage<Exception>(StrEq("Attribute Error (0): Attribute default not supported")));
}

TEST(WithInfoItemTest, StringOptionHeldInAnOptionalItem) {
  const lib::Info<std::string> info("basisout", 1, true, std::string(""), 3, {});
  const auto guarded = withInfo(lib::optionalItem<std::string>(), borrow<std::string>(info));
  EXPECT_EQ(guarded->type(), TypeCode::kString);
  EXPECT_EQ(guarded->getDefault(), "");
  EXPECT_TRUE(guarded->supportsSet());
  EXPECT_TRUE(guarded->supportsElemAdd(1));
  guarded->set("file.bas", 0);
  EXPECT_EQ(guarded->get(0), "file.bas");
  EXPECT_FALSE(guarded->supportsElemAdd(1));
}

TEST(WithInfoItemTest, DeletesOnlyAnOwnedDescription) {
  bool ownedGone = false;
  auto owning = withInfo(
      lib::optionalItem<int>(),
      View<const AbstractInfo<int>>::owning(std::make_unique<const TrackedInfo>(&ownedGone)));
  EXPECT_EQ(owning->getDefault(), 42);
  owning.reset();
  EXPECT_TRUE(ownedGone);

  bool borrowedGone = false;
  {
    const TrackedInfo row(&borrowedGone);
    auto item = lib::optionalItem<int>();
    const std::weak_ptr<lib::OptionalItem<int>> watch = item;
    auto borrowing = withInfo(std::move(item), borrow<int>(row));
    EXPECT_FALSE(watch.expired());
    borrowing.reset();
    EXPECT_FALSE(borrowedGone);
    EXPECT_TRUE(watch.expired());
  }
  EXPECT_TRUE(borrowedGone);
}

}  // namespace
}  // namespace nuv::attr::view
