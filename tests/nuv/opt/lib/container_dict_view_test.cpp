#include "nuv/opt/lib/container_dict_view.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "nuv/attr/lib/map_container_dict.hpp"
#include "nuv/attr/lib/vector_container.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/tagged_parts.hpp"
#include "nuv/opt/variable_container.hpp"

namespace nuv::opt::lib {
namespace {

using attr::lib::MapContainerDict;
using attr::lib::VectorContainer;

template <class View>
class ContainerDictViewTest : public ::testing::Test {};

using Views = ::testing::Types<
    variable::ContainerDictView<double>, interval_domain::ContainerDictView<double>,
    constraint::ContainerDictView<double>, linear_function::ContainerDictView<double>,
    quadratic_function::ContainerDictView<double>, identity_function::ContainerDictView<double>,
    static_bounded_domain::ContainerDictView<double>, sense_domain::ContainerDictView<double>,
    sos_domain::ContainerDictView<double>>;
TYPED_TEST_SUITE(ContainerDictViewTest, Views);

// Key 0 integers, key 1 doubles, key 3 symbols, key 4 an entry without a container.
std::shared_ptr<MapContainerDict> batchPart() {
  auto part = std::make_shared<MapContainerDict>();
  part->set(0,
            attr::BaseContainer(std::make_shared<VectorContainer<int>>(std::vector<int>{1, 0, 2})));
  part->set(1, attr::BaseContainer(
                   std::make_shared<VectorContainer<double>>(std::vector<double>{-1.5, 4.0})));
  part->set(3, attr::BaseContainer(std::make_shared<VectorContainer<math::Symbol<double>>>(
                   std::vector<math::Symbol<double>>{math::Symbol<double>::variable(9, 4)})));
  part->set(4, attr::BaseContainer());
  return part;
}

TYPED_TEST(ContainerDictViewTest, ReadsEntriesOfTheirTypeByKey) {
  const auto part = batchPart();
  const TypeParam view{attr::ContainerDict(part)};

  const attr::Container<int> types = view.template container<int>(0);
  ASSERT_FALSE(types.empty());
  std::vector<int> values(3);
  types.getAll(values, 0);
  EXPECT_THAT(values, ::testing::ElementsAre(1, 0, 2));
  EXPECT_EQ(view.template container<double>(1).get(1, 0), 4.0);
  EXPECT_EQ(view.template container<math::Symbol<double>>(3).get(0, 0).variable().index, 4);
  // The base operations reach the shared dictionary unchanged.
  EXPECT_EQ(view.size(), 4);
  EXPECT_EQ(view[1].type(), attr::TypeCode::kDouble);
}

TYPED_TEST(ContainerDictViewTest, WrongTypedOrMissingEntriesReadAsEmpty) {
  const auto part = batchPart();
  const TypeParam view{attr::ContainerDict(part)};
  struct Case {
    const char* what;
    attr::Container<double> container;
  };
  const Case cases[] = {
      {"integers read as doubles", view.template container<double>(0)},
      {"symbols read as doubles", view.template container<double>(3)},
      {"an entry without a container", view.template container<double>(4)},
      {"a missing key", view.template container<double>(2)},
      {"a negative key", view.template container<double>(-1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(c.container.empty());
    EXPECT_EQ(c.container.itemCount(), 0);
    EXPECT_EQ(c.container.elemCount(), 0);
    EXPECT_EQ(c.container.get(0, 0), 0.0);
  }
  EXPECT_TRUE(view.template container<int>(1).empty());
  EXPECT_TRUE(view.template container<std::string>(0).empty());
  EXPECT_EQ(view.template container<math::Symbol<double>>(0).get(0, 0).numeric(), 0.0);
}

TYPED_TEST(ContainerDictViewTest, SharesThePartAndReleasesItWhenDestroyed) {
  auto part = batchPart();
  const std::weak_ptr<MapContainerDict> watch = part;
  {
    const attr::ContainerDict handle(std::move(part));
    const TypeParam view(handle);
    EXPECT_EQ(view.shared(), handle.shared());
    EXPECT_EQ(watch.use_count(), 2);
  }
  EXPECT_TRUE(watch.expired());
}

TYPED_TEST(ContainerDictViewTest, AnEmptyPartReadsAsEmptyContainers) {
  const TypeParam view{attr::ContainerDict()};
  EXPECT_EQ(view.size(), 0);
  EXPECT_TRUE(view.template container<int>(0).empty());
  EXPECT_EQ(view[0].type(), attr::TypeCode::kNone);
}

// How an adder reads its batch: the view matching the tag of each part.
TEST(ContainerDictViewUseTest, ReadsAVariableBatchByTheDomainKeys) {
  auto domain = std::make_shared<MapContainerDict>();
  domain->set(opt::interval_domain::type,
              attr::BaseContainer(std::make_shared<VectorContainer<int>>(std::vector<int>{0, 1})));
  domain->set(opt::interval_domain::upper_bound,
              attr::BaseContainer(
                  std::make_shared<VectorContainer<double>>(std::vector<double>{5.0, 9.0})));
  auto tagged = std::make_shared<MapContainerDict>();
  tagged->set(opt::variable::name,
              attr::BaseContainer(std::make_shared<VectorContainer<std::string>>(
                  std::vector<std::string>{"x", "y"})));
  VariableContainer batch{attr::ContainerDict(domain), {}};
  batch.tagged.emplace(opt::variable::tag, attr::ContainerDict(tagged));

  const interval_domain::ContainerDictView<double> bounds(batch.domain);
  const variable::ContainerDictView<double> perVariable(
      taggedPart(batch.tagged, opt::variable::tag));
  EXPECT_EQ(bounds.container<int>(opt::interval_domain::type).itemCount(), 2);
  EXPECT_TRUE(bounds.container<double>(opt::interval_domain::lower_bound).empty());
  EXPECT_EQ(bounds.container<double>(opt::interval_domain::upper_bound).get(1, 0), 9.0);
  EXPECT_EQ(perVariable.container<std::string>(opt::variable::name).get(0, 0), "x");
  EXPECT_TRUE(perVariable.container<double>(opt::variable::priority).empty());
}

}  // namespace
}  // namespace nuv::opt::lib
