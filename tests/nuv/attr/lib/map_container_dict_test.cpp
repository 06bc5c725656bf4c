#include "nuv/attr/lib/map_container_dict.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "nuv/attr/container.hpp"
#include "nuv/attr/container_dict.hpp"
#include "nuv/attr/lib/vector_container.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/abstract_list.hpp"

namespace nuv::attr::lib {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

std::vector<Index> entries(const idx::List& list) {
  std::vector<Index> out(static_cast<std::size_t>(list.size()));
  list.toVector(out);
  return out;
}

BaseContainer doubles(std::vector<double> values) {
  return BaseContainer(std::make_shared<VectorContainer<double>>(std::move(values)));
}

BaseContainer ints(std::vector<int> values) {
  return BaseContainer(std::make_shared<VectorContainer<int>>(std::move(values)));
}

TEST(MapContainerDictTest, AnswersByKeyAndByName) {
  MapContainerDict dict;
  dict.set(7, doubles({1.0, 2.0}), "level");
  dict.set(0, ints({3}));
  dict.set(3, doubles({}), "start");

  EXPECT_EQ(dict.size(), 3);
  const idx::List keys = dict.indexKeys();
  EXPECT_EQ(keys.type(), idx::ListType::kExplicit);
  EXPECT_THAT(entries(keys), ElementsAre(0, 3, 7));

  struct Case {
    Index key;
    std::optional<std::string> name;
    TypeCode type;
  };
  const Case cases[] = {
      {7, "level", TypeCode::kDouble},
      {0, std::nullopt, TypeCode::kInt},
      {3, "start", TypeCode::kDouble},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_TRUE(dict.contains(c.key));
    EXPECT_EQ(dict.stringKey(c.key), c.name);
    EXPECT_EQ(dict[c.key].type(), c.type);
    if (c.name) {
      EXPECT_TRUE(dict.contains(*c.name));
      EXPECT_EQ(dict.indexKey(*c.name), c.key);
      EXPECT_EQ(dict[*c.name].shared(), dict[c.key].shared());
    }
  }
  EXPECT_EQ(Container<double>(dict["level"]).get(1, 0), 2.0);
}

TEST(MapContainerDictTest, AbsentKeysAndNamesAnswerEmpty) {
  MapContainerDict dict;
  dict.set(1, doubles({1.0}), "one");
  for (const Index key : {0, 2, -1}) {
    SCOPED_TRACE(key);
    EXPECT_FALSE(dict.contains(key));
    EXPECT_EQ(dict.stringKey(key), std::nullopt);
    EXPECT_EQ(dict[key].type(), TypeCode::kNone);
  }
  for (const char* name : {"One", "1", "", "one "}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(dict.contains(std::string_view(name)));
    EXPECT_EQ(dict.indexKey(name), std::nullopt);
    EXPECT_TRUE(dict[std::string_view(name)].empty());
  }
  const MapContainerDict none;
  EXPECT_EQ(none.size(), 0);
  EXPECT_THAT(entries(none.indexKeys()), IsEmpty());
}

TEST(MapContainerDictTest, ReplacingAKeyReplacesItsNameToo) {
  MapContainerDict dict;
  dict.set(1, doubles({1.0}), "old");
  dict.set(1, ints({4, 5}), "new");
  EXPECT_EQ(dict.size(), 1);
  EXPECT_FALSE(dict.contains("old"));
  EXPECT_EQ(dict.indexKey("new"), 1);
  EXPECT_EQ(dict[1].type(), TypeCode::kInt);

  dict.set(1, ints({6}));
  EXPECT_FALSE(dict.contains("new"));
  EXPECT_EQ(dict.stringKey(1), std::nullopt);

  // The freed name may go to another key.
  dict.set(2, doubles({}), "new");
  EXPECT_EQ(dict.indexKey("new"), 2);
  dict.erase(2);
  dict.erase(9);
  EXPECT_FALSE(dict.contains("new"));
  EXPECT_THAT(entries(dict.indexKeys()), ElementsAre(1));
}

TEST(MapContainerDictTest, RefusesANameHeldByAnotherKeyAndChangesNothing) {
  MapContainerDict dict;
  dict.set(1, doubles({1.0}), "x");
  dict.set(2, ints({2}));
  EXPECT_THAT([&] { dict.set(2, doubles({}), "x"); },
              ThrowsMessage<CheckException>(
                  StrEq("Check Error (1): 'name held by no other key' must be true.")));
  EXPECT_EQ(dict.indexKey("x"), 1);
  EXPECT_EQ(dict[2].type(), TypeCode::kInt);
  // Giving a key its own name again is no conflict.
  dict.set(1, ints({3}), "x");
  EXPECT_EQ(dict[1].type(), TypeCode::kInt);
}

TEST(MapContainerDictTest, SharesItsContainersThroughTheHandle) {
  auto values = std::make_shared<VectorContainer<int>>(std::vector<int>{1, 2});
  auto dict = std::make_shared<MapContainerDict>();
  dict->set(0, BaseContainer(values));
  const ContainerDict handle(dict);
  Container<int>(handle[0]).set(1, 9, 0);
  EXPECT_EQ(values->get(1, 0), 9);
  EXPECT_EQ(handle.size(), 1);
}

}  // namespace
}  // namespace nuv::attr::lib
