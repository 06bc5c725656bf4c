#include "nuv/attr/container_dict.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/container.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/idx/lib/list.hpp"
#include "tests/nuv/attr/test_attributes.hpp"

namespace nuv::attr {
namespace {

using ::testing::ElementsAre;
using testing::RecordingContainer;
using testing::StoredItem;

// Key 1 ("one") holds doubles, key 3 ("three") integers.
class TestContainerDict final : public AbstractContainerDict {
 public:
  TestContainerDict()
      : doubles_(std::make_shared<RecordingContainer<double>>(2, 1)),
        ints_(std::make_shared<RecordingContainer<int>>(4, 1)) {}

  [[nodiscard]] Index size() const override { return 2; }
  [[nodiscard]] idx::List indexKeys() const override {
    return idx::List(std::make_shared<const idx::lib::List>(std::initializer_list<Index>{1, 3}));
  }
  [[nodiscard]] std::optional<std::string> stringKey(Index key) const override {
    if (key == 1) return "one";
    if (key == 3) return "three";
    return std::nullopt;
  }
  [[nodiscard]] std::optional<Index> indexKey(std::string_view name) const override {
    if (name == "one") return 1;
    if (name == "three") return 3;
    return std::nullopt;
  }
  [[nodiscard]] bool contains(Index key) const override { return key == 1 || key == 3; }
  [[nodiscard]] bool contains(std::string_view name) const override {
    return indexKey(name).has_value();
  }
  [[nodiscard]] BaseContainer operator[](Index key) const override {
    if (key == 1) return BaseContainer(doubles_);
    if (key == 3) return BaseContainer(ints_);
    return {};
  }
  [[nodiscard]] BaseContainer operator[](std::string_view name) const override {
    const std::optional<Index> key = indexKey(name);
    return key ? (*this)[*key] : BaseContainer();
  }

 private:
  std::shared_ptr<RecordingContainer<double>> doubles_;
  std::shared_ptr<RecordingContainer<int>> ints_;
};

// Integer keys only: 0 holds an integer item.
class TestItemDict final : public AbstractItemDict {
 public:
  [[nodiscard]] Index size() const override { return 1; }
  [[nodiscard]] idx::List indexKeys() const override { return idx::List(); }
  [[nodiscard]] std::optional<std::string> stringKey(Index /*key*/) const override {
    return std::nullopt;
  }
  [[nodiscard]] std::optional<Index> indexKey(std::string_view /*name*/) const override {
    return std::nullopt;
  }
  [[nodiscard]] bool contains(Index key) const override { return key == 0; }
  [[nodiscard]] bool contains(std::string_view /*name*/) const override { return false; }
  [[nodiscard]] BaseItem operator[](Index key) const override {
    return key == 0 ? BaseItem(item_) : BaseItem();
  }
  [[nodiscard]] BaseItem operator[](std::string_view /*name*/) const override { return {}; }

 private:
  std::shared_ptr<StoredItem<int>> item_ = std::make_shared<StoredItem<int>>(7, -1);
};

TEST(ContainerDictTest, EmptyOrNullHandleAnswersNeutrally) {
  const ContainerDict fromNull(std::shared_ptr<const AbstractContainerDict>(nullptr));
  const ContainerDict dicts[] = {ContainerDict(), fromNull, ContainerDict(nullptr)};
  for (const ContainerDict& dict : dicts) {
    EXPECT_TRUE(dict.empty());
    EXPECT_EQ(dict.size(), 0);
    EXPECT_EQ(dict.indexKeys().size(), 0);
    EXPECT_EQ(dict.indexKeys().shared(), idx::List::defaultList());
    EXPECT_EQ(dict.stringKey(0), std::nullopt);
    EXPECT_EQ(dict.indexKey("one"), std::nullopt);
    EXPECT_FALSE(dict.contains(0));
    EXPECT_FALSE(dict.contains("one"));
    EXPECT_EQ(dict[0].type(), TypeCode::kNone);
    EXPECT_TRUE(dict[0].empty());
    EXPECT_TRUE(dict["one"].empty());
  }
}

TEST(ContainerDictTest, HandleForwardsEveryOperation) {
  const ContainerDict dict(std::make_shared<const TestContainerDict>());
  EXPECT_EQ(dict.size(), 2);
  std::vector<Index> keys(2);
  dict.indexKeys().toVector(keys);
  EXPECT_THAT(keys, ElementsAre(1, 3));
  EXPECT_EQ(dict.stringKey(3), "three");
  EXPECT_EQ(dict.stringKey(2), std::nullopt);
  EXPECT_EQ(dict.indexKey("one"), 1);
  EXPECT_TRUE(dict.contains(1));
  EXPECT_FALSE(dict.contains(2));
  EXPECT_TRUE(dict.contains("three"));
  EXPECT_EQ(dict[1].type(), TypeCode::kDouble);
  EXPECT_EQ(dict["three"].type(), TypeCode::kInt);
  EXPECT_EQ(dict[2].type(), TypeCode::kNone);

  // Typed reads of dictionary entries: the expected type, another type, an absent key.
  const Container<double> doubles(dict[1]);
  const Container<int> intsAsKeyOne(dict[1]);
  const Container<int> ints(dict["three"]);
  const Container<double> absent(dict[2]);
  EXPECT_EQ(doubles.itemCount(), 2);
  EXPECT_TRUE(intsAsKeyOne.empty());
  EXPECT_EQ(ints.itemCount(), 4);
  EXPECT_TRUE(absent.empty());
  EXPECT_EQ(absent.itemCount(), 0);
}

TEST(ItemDictTest, HandsOutTypedItemsByKey) {
  const TestItemDict dict;
  EXPECT_EQ(dict[0].typeCode(), TypeCode::kInt);
  EXPECT_EQ(Item<int>(dict[0]).get(0), 7);
  EXPECT_TRUE(Item<double>(dict[0]).empty());
  EXPECT_TRUE(dict[1].empty());
  EXPECT_TRUE(dict["x"].empty());
}

}  // namespace
}  // namespace nuv::attr
