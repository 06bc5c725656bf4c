#include "nuv/attr/lib/abstract_range_only_container.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "nuv/attr/exception.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/lib/asc_list.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/idx/list.hpp"
#include "tests/nuv/attr/lib/recording_range_container.hpp"

namespace nuv::attr::lib {
namespace {

using testing::BlockCall;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingRangeContainer;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using testing::WritableRangeContainer;

idx::List explicitList(std::initializer_list<Index> entries) {
  return idx::List(std::make_shared<const idx::lib::List>(entries));
}

idx::List block(Index first, Index size) {
  return idx::List(std::make_shared<const idx::lib::Range>(first, size));
}

idx::List ascending(std::initializer_list<std::pair<Index, Index>> blocks) {
  auto list = std::make_shared<idx::lib::AscList>();
  for (const auto& [first, size] : blocks) list->add(idx::lib::Range(first, size));
  return idx::List(std::move(list));
}

// Under the Itanium C++ ABI a pointer to a virtual member function holds 1 + the byte offset of
// its slot; the two destructor entries take slots 0 and 1.
template <class Member>
std::ptrdiff_t slotOf(Member member) {
  static_assert(sizeof(Member) == 2 * sizeof(std::ptrdiff_t));
  std::ptrdiff_t words[2];
  std::memcpy(words, &member, sizeof words);
  EXPECT_EQ(words[0] % static_cast<std::ptrdiff_t>(sizeof(void*)), 1) << "not virtual";
  return (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(AbstractRangeOnlyContainerTest, BlockCallsFollowTheContainerSlots) {
  using Base = AbstractRangeOnlyContainer<double>;
  using BlockGet = void (Base::*)(const idx::lib::Range&, std::span<double>, Index) const;
  using BlockSet = void (Base::*)(const idx::lib::Range&, std::span<const double>, Index);
  using ItemAdd = void (AbstractContainer<double>::*)(Index, const double&);
  EXPECT_EQ(slotOf(static_cast<ItemAdd>(&AbstractContainer<double>::itemAdd)), 23);
  EXPECT_EQ(slotOf(static_cast<BlockGet>(&Base::get)), 24);
  EXPECT_EQ(slotOf(static_cast<BlockSet>(&Base::set)), 25);
}

TEST(AbstractRangeOnlyContainerTest, EveryReadFormBecomesTheExpectedBlockCalls) {
  RecordingRangeContainer c(10);
  std::vector<double> three(3);

  c.get(ascending({{2, 1}, {5, 1}, {9, 1}}), three, 4);
  EXPECT_THAT(c.reads,
              ElementsAre(BlockCall{2, 1, 4, 1, &three[0]}, BlockCall{5, 1, 4, 1, &three[1]},
                          BlockCall{9, 1, 4, 1, &three[2]}));
  EXPECT_THAT(three, ElementsAre(21.0, 51.0, 91.0));

  c.reads.clear();
  c.get(explicitList({7, 0, 3}), three, 0);
  EXPECT_THAT(c.reads,
              ElementsAre(BlockCall{7, 1, 0, 1, &three[0]}, BlockCall{0, 1, 0, 1, &three[1]},
                          BlockCall{3, 1, 0, 1, &three[2]}));
  EXPECT_THAT(three, ElementsAre(71.0, 1.0, 31.0));

  c.reads.clear();
  c.get(block(4, 3), three, 1);
  EXPECT_THAT(c.reads, ElementsAre(BlockCall{4, 3, 1, 3, three.data()}));
  EXPECT_THAT(three, ElementsAre(41.0, 51.0, 61.0));

  c.reads.clear();
  std::vector<double> ten(10);
  c.getAll(ten, 2);
  EXPECT_THAT(c.reads, ElementsAre(BlockCall{0, 10, 2, 10, ten.data()}));
  EXPECT_EQ(ten[9], 91.0);

  c.reads.clear();
  EXPECT_EQ(c.get(6, 3), 61.0);
  ASSERT_EQ(c.reads.size(), 1U);
  EXPECT_EQ(c.reads[0].first, 6);
  EXPECT_EQ(c.reads[0].size, 1);
  EXPECT_EQ(c.reads[0].elem, 3);
  EXPECT_EQ(c.reads[0].spanSize, 1U);

  c.reads.clear();
  EXPECT_EQ(*c.view(2, 0), 21.0);
  EXPECT_THAT(*c.viewAll(0),
              ElementsAre(1.0, 11.0, 21.0, 31.0, 41.0, 51.0, 61.0, 71.0, 81.0, 91.0));
  ASSERT_EQ(c.reads.size(), 2U);
  EXPECT_EQ(c.reads[1].size, 10);
}

TEST(AbstractRangeOnlyContainerTest, EmptyListsOfEachKind) {
  RecordingRangeContainer c(3);
  std::vector<double> none;
  // An empty block is still one block call with the whole (empty) span.
  c.get(block(2, 0), none, 0);
  EXPECT_THAT(c.reads, ElementsAre(BlockCall{2, 0, 0, 0, none.data()}));
  c.reads.clear();
  c.get(idx::List(), none, 0);
  // An ascending list without entries is a block too (it answers 0 as its first entry).
  c.get(ascending({}), none, 0);
  EXPECT_THAT(c.reads,
              ElementsAre(BlockCall{0, 0, 0, 0, none.data()}, BlockCall{0, 0, 0, 0, none.data()}));
  c.reads.clear();
  c.get(explicitList({}), none, 0);
  EXPECT_THAT(c.reads, IsEmpty());
}

TEST(AbstractRangeOnlyContainerTest, SingleReadWhoseBlockWritesNothingGivesZero) {
  RecordingRangeContainer c(3);
  c.silent = true;
  EXPECT_EQ(c.get(1, 0), 0.0);
  EXPECT_EQ(c.reads.size(), 1U);
}

TEST(AbstractRangeOnlyContainerTest, RefusesSpansOfAnotherLengthBeforeAnyBlockCall) {
  WritableRangeContainer c(3);
  std::vector<double> two{-1.0, -2.0};
  std::vector<double> four(4, -1.0);
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string text;
  };
  const Case cases[] = {
      {"getAll short", [&] { c.getAll(two, 0); },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"getAll long", [&] { c.getAll(four, 0); },
       "Check Error (4): 'values.size()' (which is 4) must be equal to 3."},
      {"block list read short", [&] { c.get(block(0, 3), two, 0); },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"gap list read short",
       [&] {
         c.get(ascending({{0, 1}, {2, 1}, {5, 1}}), two, 0);
       },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"setAll short", [&] { c.setAll(std::span<const double>(two), 0); },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"block list write short", [&] { c.set(block(0, 3), std::span<const double>(two), 0); },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
      {"explicit list write short",
       [&] {
         c.set(explicitList({2, 1, 0}), std::span<const double>(two), 0);
       },
       "Check Error (4): 'values.size()' (which is 2) must be equal to 3."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    EXPECT_THAT(k.call, ThrowsMessage<CheckException>(StrEq(k.text)));
  }
  EXPECT_THAT(c.reads, IsEmpty());
  EXPECT_THAT(c.writes, IsEmpty());
  EXPECT_THAT(two, ElementsAre(-1.0, -2.0));
}

TEST(AbstractRangeOnlyContainerTest, NegativeItemCountRaisesTheRangeCheck) {
  RecordingRangeContainer c(-1);
  std::vector<double> none;
  const std::string text = "Check Error (8): 'size' (which is -1) must be greater or equal to 0.";
  EXPECT_THAT([&] { c.getAll(none, 0); }, ThrowsMessage<CheckException>(StrEq(text)));
  EXPECT_THAT([&] { c.setAll(std::span<const double>(none), 0); },
              ThrowsMessage<CheckException>(StrEq(text)));
  EXPECT_THAT(c.reads, IsEmpty());
}

TEST(AbstractRangeOnlyContainerTest, EveryWriteFormOfAReadOnlyImplementationRaisesCodeOne) {
  RecordingRangeContainer c(3);
  RecordingRangeContainer none(0);
  const std::vector<double> one{1.0};
  const std::vector<double> three{1.0, 2.0, 3.0};
  const std::vector<double> empty;
  struct Case {
    const char* what;
    std::function<void()> write;
  };
  const Case cases[] = {
      {"one item", [&] { c.set(1, 5.0, 0); }},
      {"block list", [&] { c.set(block(0, 3), std::span<const double>(three), 0); }},
      {"gap list",
       [&] {
         c.set(ascending({{0, 1}, {2, 1}}), 5.0, 0);
       }},
      {"explicit list", [&] { c.set(explicitList({2}), std::span<const double>(one), 0); }},
      {"one value on a list",
       [&] {
         c.set(explicitList({2, 0}), 5.0, 0);
       }},
      {"all items", [&] { c.setAll(std::span<const double>(three), 0); }},
      {"one value on all items", [&] { c.setAll(5.0, 0); }},
      {"all of zero items", [&] { none.setAll(std::span<const double>(empty), 0); }},
      {"one value on all of zero items", [&] { none.setAll(5.0, 0); }},
      {"empty block list", [&] { c.set(block(1, 0), std::span<const double>(empty), 0); }},
      {"empty ascending list", [&] { c.set(ascending({}), 5.0, 0); }},
      {"copy from a container",
       [&] {
         c.set(block(0, 3),
               static_cast<const AbstractContainer<double>&>(RecordingRangeContainer(3)));
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    EXPECT_THAT(k.write, ThrowsMessage<Exception>(
                             StrEq("Attribute Error (1): Attribute does not support to set.")));
  }
  // A list that is not one block and has no entries makes no call.
  c.set(explicitList({}), std::span<const double>(empty), 0);
  c.set(explicitList({}), 5.0, 0);
  EXPECT_THAT(c.stored(), ElementsAre(1.0, 11.0, 21.0));
}

TEST(AbstractRangeOnlyContainerTest, WriteFormsBecomeBlockWrites) {
  WritableRangeContainer c(6);
  const std::vector<double> two{-1.0, -2.0};
  c.set(block(3, 2), std::span<const double>(two), 1);
  EXPECT_THAT(c.writes, ElementsAre(BlockCall{3, 2, 1, 2, two.data()}));
  c.writes.clear();
  c.set(explicitList({5, 0}), std::span<const double>(two), 0);
  EXPECT_THAT(c.writes,
              ElementsAre(BlockCall{5, 1, 0, 1, &two[0]}, BlockCall{0, 1, 0, 1, &two[1]}));
  c.writes.clear();
  c.set(2, 7.0, 0);
  ASSERT_EQ(c.writes.size(), 1U);
  EXPECT_EQ(c.writes[0].first, 2);
  EXPECT_EQ(c.writes[0].size, 1);
  EXPECT_THAT(c.stored(), ElementsAre(-2.0, 11.0, 7.0, -1.0, -2.0, -1.0));
  c.writes.clear();
  c.setAll(0.5, 2);
  ASSERT_EQ(c.writes.size(), 1U);
  EXPECT_EQ(c.writes[0].first, 0);
  EXPECT_EQ(c.writes[0].size, 6);
  EXPECT_EQ(c.writes[0].elem, 2);
  EXPECT_THAT(c.stored(), ElementsAre(0.5, 0.5, 0.5, 0.5, 0.5, 0.5));
}

}  // namespace
}  // namespace nuv::attr::lib
