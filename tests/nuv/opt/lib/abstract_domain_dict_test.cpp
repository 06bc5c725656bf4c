#include "nuv/opt/lib/abstract_domain_dict.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "nuv/attr/lib/vector_container.hpp"
#include "nuv/idx/abstract_list.hpp"
#include "nuv/opt/keys.hpp"

namespace nuv::opt::lib {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

std::vector<Index> entries(const idx::List& list) {
  std::vector<Index> out(static_cast<std::size_t>(list.size()));
  list.toVector(out);
  return out;
}

// Supplies the two integer-key operations from a predicate and counts the contains calls.
template <class Base, class Handle>
class PredicateDict final : public Base {
 public:
  using Base::contains;
  using Base::operator[];

  explicit PredicateDict(std::function<bool(Index)> accepts) : accepts_(std::move(accepts)) {}

  [[nodiscard]] bool contains(Index key) const override {
    ++containsCalls;
    return accepts_(key);
  }
  [[nodiscard]] Handle operator[](Index /*key*/) const override { return {}; }

  mutable int containsCalls = 0;

 private:
  std::function<bool(Index)> accepts_;
};

using IntervalDict = PredicateDict<interval_domain::AbstractContainerDict, attr::BaseContainer>;
using StaticBoundedDict =
    PredicateDict<static_bounded_domain::AbstractContainerDict, attr::BaseContainer>;
using SenseDict = PredicateDict<sense_domain::AbstractContainerDict, attr::BaseContainer>;
using SolverDict = PredicateDict<solver::AbstractItemDict, attr::BaseItem>;

bool between(Index key, Index low, Index high) { return key >= low && key <= high; }

template <class Member>
std::ptrdiff_t slotOf(Member member) {
  static_assert(sizeof(Member) == 2 * sizeof(std::ptrdiff_t));
  std::ptrdiff_t words[2];
  std::memcpy(words, &member, sizeof words);
  EXPECT_EQ(words[0] % static_cast<std::ptrdiff_t>(sizeof(void*)), 1) << "not virtual";
  return (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

// Closed code calls the dictionaries through the virtual table of the framework interface; the
// bases add no slot of their own (slots 0 and 1 are the destructor's).
template <class Dict, class Handle>
void expectDictionarySlots() {
  EXPECT_EQ(slotOf(&Dict::size), 2);
  EXPECT_EQ(slotOf(&Dict::indexKeys), 3);
  EXPECT_EQ(slotOf(&Dict::stringKey), 4);
  EXPECT_EQ(slotOf(&Dict::indexKey), 5);
  EXPECT_EQ(slotOf(static_cast<bool (Dict::*)(Index) const>(&Dict::contains)), 6);
  EXPECT_EQ(slotOf(static_cast<bool (Dict::*)(std::string_view) const>(&Dict::contains)), 7);
  EXPECT_EQ(slotOf(static_cast<Handle (Dict::*)(Index) const>(&Dict::operator[])), 8);
  EXPECT_EQ(slotOf(static_cast<Handle (Dict::*)(std::string_view) const>(&Dict::operator[])), 9);
}

TEST(AbstractDomainDictTest, BasesKeepTheSlotsOfTheDictionaryInterface) {
  expectDictionarySlots<interval_domain::AbstractContainerDict, attr::BaseContainer>();
  expectDictionarySlots<static_bounded_domain::AbstractContainerDict, attr::BaseContainer>();
  expectDictionarySlots<sense_domain::AbstractContainerDict, attr::BaseContainer>();
  expectDictionarySlots<solver::AbstractItemDict, attr::BaseItem>();
}

template <class Dict>
void expectKeys(const Dict& dict, const std::vector<Index>& keys) {
  EXPECT_EQ(dict.size(), static_cast<Index>(keys.size()));
  const idx::List list = dict.indexKeys();
  EXPECT_EQ(list.type(), idx::ListType::kExplicit);
  EXPECT_THAT(entries(list), ElementsAreArray(keys));
}

TEST(AbstractDomainDictTest, SizeAndIndexKeysFollowTheDerivedContains) {
  {
    SCOPED_TRACE("interval domain, nothing contained");
    expectKeys(IntervalDict([](Index) { return false; }), {});
  }
  {
    SCOPED_TRACE("interval domain, keys 5 to 9");
    expectKeys(IntervalDict([](Index k) { return between(k, 5, 9); }), {5, 6, 7, 8, 9});
  }
  {
    SCOPED_TRACE("interval domain, everything: the key array is 0 to 13");
    expectKeys(IntervalDict([](Index) { return true; }),
               {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
  }
  {
    SCOPED_TRACE("static-bounded domain, keys 3 to 7");
    expectKeys(StaticBoundedDict([](Index k) { return between(k, 3, 7); }), {3, 4, 5, 6, 7});
  }
  {
    SCOPED_TRACE("static-bounded domain, everything: the key array is 0 to 9");
    expectKeys(StaticBoundedDict([](Index) { return true; }), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  }
  {
    SCOPED_TRACE("sense domain, keys 5 and 6");
    expectKeys(SenseDict([](Index k) { return k == 5 || k == 6; }), {5, 6});
  }
  {
    SCOPED_TRACE("sense domain, everything: the key array is 0 to 8");
    expectKeys(SenseDict([](Index) { return true; }), {0, 1, 2, 3, 4, 5, 6, 7, 8});
  }
  {
    SCOPED_TRACE("solver attributes, the served keys");
    expectKeys(SolverDict([](Index k) { return k != 1 && k != 10 && k != 14; }),
               {0, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13});
  }
  {
    SCOPED_TRACE("solver attributes, everything: the key array is 0 to 14");
    expectKeys(SolverDict([](Index) { return true; }),
               {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
  }
  {
    SCOPED_TRACE("keys outside the array are never asked for");
    expectKeys(IntervalDict([](Index k) { return k < 0 || k > 13; }), {});
  }
}

TEST(AbstractDomainDictTest, EveryCallAsksContainsOncePerKeyAgain) {
  bool open = false;
  const IntervalDict dict([&open](Index k) { return open && k == 7; });
  EXPECT_EQ(dict.size(), 0);
  EXPECT_EQ(dict.containsCalls, 14);
  open = true;
  EXPECT_EQ(dict.size(), 1);
  EXPECT_THAT(entries(dict.indexKeys()), ElementsAre(7));
  EXPECT_EQ(dict.containsCalls, 42);
  // Each call builds a new list: a later change does not reach a list already handed out.
  const idx::List before = dict.indexKeys();
  open = false;
  EXPECT_THAT(entries(before), ElementsAre(7));
  EXPECT_THAT(entries(dict.indexKeys()), IsEmpty());
}

template <class Dict>
void expectNoNames(const Dict& dict) {
  for (const std::string_view name : {"5", "", "level", "model_name", "0"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(dict.indexKey(name), std::nullopt);
    EXPECT_FALSE(dict.contains(name));
    const auto handle = dict[name];
    EXPECT_EQ(handle.type(), attr::TypeCode::kNone);
    EXPECT_TRUE(handle.empty());
  }
  for (const Index key : {0, 5, 13, -1}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(dict.stringKey(key), std::nullopt);
  }
}

TEST(AbstractDomainDictTest, NameFormsAnswerEmptyEvenForContainedKeys) {
  const auto all = [](Index) { return true; };
  {
    SCOPED_TRACE("interval domain");
    expectNoNames(IntervalDict(all));
  }
  {
    SCOPED_TRACE("static-bounded domain");
    expectNoNames(StaticBoundedDict(all));
  }
  {
    SCOPED_TRACE("sense domain");
    expectNoNames(SenseDict(all));
  }
  {
    SCOPED_TRACE("solver attributes");
    expectNoNames(SolverDict(all));
  }
}

// Through the framework interface, the integer-key forms reach the derived dictionary.
TEST(AbstractDomainDictTest, IntegerKeysReachTheDerivedDictionaryThroughTheInterface) {
  class LevelsOnly final : public interval_domain::AbstractContainerDict {
   public:
    using interval_domain::AbstractContainerDict::contains;
    using interval_domain::AbstractContainerDict::operator[];

    [[nodiscard]] bool contains(Index key) const override {
      return key == opt::interval_domain::level;
    }
    [[nodiscard]] attr::BaseContainer operator[](Index key) const override {
      if (key != opt::interval_domain::level) return {};
      return attr::BaseContainer(
          std::make_shared<attr::lib::VectorContainer<double>>(std::vector<double>{1.5, 2.5}));
    }
  };
  const LevelsOnly levels;
  const attr::AbstractContainerDict& dict = levels;
  EXPECT_EQ(dict.size(), 1);
  EXPECT_TRUE(dict.contains(7));
  EXPECT_FALSE(dict.contains("7"));
  EXPECT_EQ(dict[7].type(), attr::TypeCode::kDouble);
  EXPECT_EQ(dict[7].itemCount(), 2);
  EXPECT_EQ(dict[8].type(), attr::TypeCode::kNone);
}

}  // namespace
}  // namespace nuv::opt::lib
