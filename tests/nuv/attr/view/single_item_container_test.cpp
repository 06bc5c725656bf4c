#include "nuv/attr/view/single_item_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "nuv/attr/exception.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/attr/type_code.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/list.hpp"
#include "tests/nuv/attr/test_attributes.hpp"

namespace nuv::attr::view {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

// A double item that holds one value per element, and none until the first write.
class ElementItem final : public AbstractItem<double> {
 public:
  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] bool supportsReset() const override { return true; }
  [[nodiscard]] bool supportsElemAdd(Index count) const override { return count >= 0; }
  [[nodiscard]] Index elemCount() const override { return static_cast<Index>(values.size()); }
  void reset() override { values.clear(); }
  [[nodiscard]] double get(Index elem) const override {
    return values.at(static_cast<std::size_t>(elem));
  }
  void set(const double& value, Index elem) override {
    if (values.size() <= static_cast<std::size_t>(elem)) values.resize(elem + 1U);
    values[static_cast<std::size_t>(elem)] = value;
    writes.push_back(value);
  }
  std::vector<double> values;
  std::vector<double> writes;
};

TEST(SingleItemContainerTest, OneItemEvenWithoutValue) {
  const auto item = std::make_shared<ElementItem>();
  const auto c = singleItem(item);
  EXPECT_EQ(c->type(), TypeCode::kDouble);
  EXPECT_EQ(c->itemCount(), 1);
  EXPECT_EQ(c->elemCount(), 0);
  EXPECT_TRUE(c->supportsSet());
  EXPECT_TRUE(c->supportsReset());
  EXPECT_FALSE(c->supportsDefault());
  EXPECT_TRUE(c->supportsElemAdd(3));
  EXPECT_FALSE(c->supportsElemAdd(-1));
  // Adding items is refused whatever the item says.
  EXPECT_TRUE(c->supportsItemAdd(0));
  EXPECT_FALSE(c->supportsItemAdd(1));
  EXPECT_THAT([&] { c->itemAdd(1, 2.0); },
              ThrowsMessage<Exception>(
                  StrEq("Attribute Error (4): Attribute does not support to add items.")));
}

TEST(SingleItemContainerTest, ItemNumberIsIgnoredAndElementsPassThrough) {
  const auto item = std::make_shared<ElementItem>();
  const auto c = singleItem(item);
  c->set(7, 1.5, 0);
  c->set(3, 2.5, 1);
  EXPECT_THAT(item->values, ElementsAre(1.5, 2.5));
  EXPECT_EQ(c->elemCount(), 2);
  EXPECT_EQ(c->get(7, 0), 1.5);
  EXPECT_EQ(c->get(0, 1), 2.5);
  EXPECT_EQ(*c->view(5, 1), 2.5);

  std::vector<double> one(1);
  c->getAll(one, 1);
  EXPECT_THAT(one, ElementsAre(2.5));
  EXPECT_THAT(*c->viewAll(0), ElementsAre(1.5));
  std::vector<double> two(2);
  EXPECT_THAT([&] { c->getAll(two, 0); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (4): 'values.size()' (which is 2) must be equal to 1.")));

  // Every entry of a list reads and writes the one item, writes in list order.
  c->get(idx::List(std::make_shared<const idx::lib::List>(idx::lib::List{4, 9})), two, 0);
  EXPECT_THAT(two, ElementsAre(1.5, 1.5));
  item->writes.clear();
  const std::vector<double> values{8.0, 9.0};
  c->set(idx::List(std::make_shared<const idx::lib::List>(idx::lib::List{4, 9})),
         std::span<const double>(values), 0);
  EXPECT_THAT(item->writes, ElementsAre(8.0, 9.0));
  EXPECT_EQ(item->get(0), 9.0);

  c->reset();
  EXPECT_EQ(item->elemCount(), 0);
  EXPECT_EQ(c->itemCount(), 1);
}

TEST(SingleItemContainerTest, DefaultAndAcceptanceAreTheItems) {
  // Accepts everything but 5, which is also its default.
  const auto c = singleItem(std::make_shared<testing::StoredItem<double>>(2.0, 5.0));
  EXPECT_TRUE(c->supportsDefault());
  EXPECT_EQ(c->getDefault(), 5.0);
  EXPECT_EQ(c->supportsValue(5.0), std::nullopt);
  EXPECT_EQ(c->supportsValue(4.0), std::optional<double>(4.0));
}

}  // namespace
}  // namespace nuv::attr::view
