#include "qel/link_attribs.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "nuv/attr/exception.hpp"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;
using IntItemPtr = std::shared_ptr<qel::LinkAttribs::IntItem>;

struct IntOption {
  const char* name;
  int key;
  int value;  // as read while unset
  const IntItemPtr& (qel::LinkAttribs::*item)() const;
};

const IntOption kIntOptions[] = {
    {"advbasis", 1010100, 1, &qel::LinkAttribs::advbasis},
    {"loadmipsol", 1020100, 0, &qel::LinkAttribs::loadmipsol},
    {"rerun", 1030100, 0, &qel::LinkAttribs::rerun},
    {"savefile", 1040100, 0, &qel::LinkAttribs::savefile},
    {"solnpoolcapacity", 1050100, 1, &qel::LinkAttribs::solnpoolcapacity},
    {"solnpoolcullrounds", 1060100, 999999999, &qel::LinkAttribs::solnpoolcullrounds},
    {"solnpoolpop", 1070100, 1, &qel::LinkAttribs::solnpoolpop},
    {"solnpoolverbosity", 1080100, 0, &qel::LinkAttribs::solnpoolverbosity},
    {"tuner", 1090100, 0, &qel::LinkAttribs::tuner},
    {"writeprtsol", 1100100, 0, &qel::LinkAttribs::writeprtsol},
    {"xslp_multistartpreset", 1110100, 0, &qel::LinkAttribs::xslp_multistartpreset},
};

TEST(LinkAttribsTest, IntegerOptionsStartUnsetAndReadTheirDefaults) {
  const qel::LinkAttribs options;
  for (const IntOption& o : kIntOptions) {
    SCOPED_TRACE(o.name);
    const IntItemPtr& item = (options.*o.item)();
    EXPECT_EQ(item->elemCount(), 0);
    EXPECT_EQ(qel::linkValue(*item), o.value);
    EXPECT_TRUE(item->supportsSet());
    EXPECT_TRUE(item->supportsReset());
    EXPECT_EQ(options.getInt(o.key), item);
    EXPECT_EQ(options.getStr(o.key), nullptr);
    EXPECT_EQ(qel::LinkAttribs::getDbl(o.key), nullptr);
    EXPECT_EQ(qel::LinkAttribs::getBool(o.key), nullptr);
  }
}

TEST(LinkAttribsTest, StringOptionsHaveNoDefaultAndNoValueWhileUnset) {
  const qel::LinkAttribs options;
  const std::pair<int, const std::shared_ptr<qel::LinkAttribs::StrItem>*> strings[] = {
      {1120300, &options.basisout()}, {1130300, &options.mpsoutputfile()}};
  for (const auto& [key, item] : strings) {
    SCOPED_TRACE(key);
    EXPECT_EQ(options.getStr(key), *item);
    EXPECT_EQ(options.getInt(key), nullptr);
    EXPECT_EQ(qel::linkValue(**item), std::nullopt);
    EXPECT_FALSE((*item)->supportsDefault());
    EXPECT_THAT([&] { (void)(*item)->getDefault(); },
                ThrowsMessage<nuv::attr::Exception>(
                    StrEq("Attribute Error (0): Attribute default not supported")));
    EXPECT_EQ((*item)->supportsValue("any"), "any");
  }
}

TEST(LinkAttribsTest, KeysMustMatchExactly) {
  const qel::LinkAttribs options;
  // Another bit, another kind, a neighbouring id, and keys of no option at all.
  for (int key : {1010101, 1010200, 1010300, 1010400, 1000100, 1120100, 0, -1010100, INT_MAX}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(options.getInt(key), nullptr);
    EXPECT_EQ(options.getStr(key), nullptr);
  }
}

TEST(LinkAttribsTest, OneItemWhicheverWayItIsReached) {
  const qel::LinkAttribs options;
  options.getInt(1050100)->set(5, 0);
  EXPECT_EQ(qel::linkValue(*options.getInt(1050100)), 5);
  EXPECT_EQ(qel::linkValue(*options.solnpoolcapacity()), 5);
  const qel::LinkAttribs other;
  EXPECT_EQ(other.solnpoolcapacity()->elemCount(), 0);
}

TEST(LinkAttribsTest, SupportsValueClampsWhileSetStoresUnchanged) {
  const qel::LinkAttribs options;
  struct Case {
    const IntItemPtr& item;
    int value;
    int accepted;
  };
  const Case cases[] = {
      {options.solnpoolverbosity(), 7, 2},
      {options.solnpoolverbosity(), -5, -1},
      {options.solnpoolcapacity(), 0, 1},
      {options.solnpoolcapacity(), INT_MAX, INT_MAX},
      {options.solnpoolcullrounds(), INT_MIN, INT_MIN},
      {options.xslp_multistartpreset(), 9, 4},
      {options.advbasis(), -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.value << " -> " << c.accepted);
    EXPECT_EQ(c.item->supportsValue(c.value), c.accepted);
    c.item->set(c.value, 0);
    EXPECT_EQ(qel::linkValue(*c.item), c.value);
  }
}

TEST(LinkAttribsTest, ResetMakesEveryOptionUnsetAgain) {
  qel::LinkAttribs options;
  for (const IntOption& o : kIntOptions) (options.*o.item)()->set(o.value + 3, 0);
  options.basisout()->set("", 0);
  options.mpsoutputfile()->set("model.mps", 0);
  EXPECT_EQ(options.basisout()->elemCount(), 1);
  EXPECT_EQ(qel::linkValue(*options.basisout()), "");
  options.reset();
  for (const IntOption& o : kIntOptions) {
    SCOPED_TRACE(o.name);
    EXPECT_EQ((options.*o.item)()->elemCount(), 0);
    EXPECT_EQ(qel::linkValue(*(options.*o.item)()), o.value);
  }
  EXPECT_EQ(qel::linkValue(*options.basisout()), std::nullopt);
  EXPECT_EQ(qel::linkValue(*options.mpsoutputfile()), std::nullopt);
  EXPECT_THROW((void)options.advbasis()->get(0), std::bad_optional_access);
}

}  // namespace
