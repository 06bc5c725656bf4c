// Closed code calls option descriptions and registry agents through their virtual tables, so the
// slot of every operation is fixed. Under the Itanium C++ ABI a pointer to a virtual member
// function holds 1 + the byte offset of its slot; the two destructor entries take slots 0 and 1.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "nuv/attr/lib/info.hpp"
#include "nuv/attr/lib/range_info.hpp"
#include "nuv/yaml/registry.hpp"

namespace {

template <class Member>
std::ptrdiff_t slotOf(Member member) {
  static_assert(sizeof(Member) == 2 * sizeof(std::ptrdiff_t));
  std::ptrdiff_t words[2];
  std::memcpy(words, &member, sizeof words);
  EXPECT_EQ(words[0] % static_cast<std::ptrdiff_t>(sizeof(void*)), 1) << "not virtual";
  return (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

template <class I>
void expectDescriptionSlots() {
  EXPECT_EQ(slotOf(&I::type), 2);
  EXPECT_EQ(slotOf(&I::name), 3);
  EXPECT_EQ(slotOf(&I::ref), 4);
  EXPECT_EQ(slotOf(&I::maxElemCount), 5);
  EXPECT_EQ(slotOf(&I::supportsDefault), 6);
  EXPECT_EQ(slotOf(&I::supportsSet), 7);
  EXPECT_EQ(slotOf(&I::doc), 8);
  EXPECT_EQ(slotOf(&I::getDefault), 9);
  EXPECT_EQ(slotOf(&I::supportsValue), 10);
  EXPECT_EQ(slotOf(&I::className), 11);
  EXPECT_EQ(slotOf(&I::propExists), 12);
  EXPECT_EQ(slotOf(&I::propIsDefault), 13);
  EXPECT_EQ(slotOf(&I::propsIsDefault), 14);
  EXPECT_EQ(slotOf(&I::propTo), 15);
  EXPECT_EQ(slotOf(&I::propsTo), 16);
  EXPECT_EQ(slotOf(&I::propFrom), 17);
}

TEST(SlotOrderTest, BaseInterfacesKeepTheirOrder) {
  using Base = nuv::attr::AbstractBaseInfo;
  EXPECT_EQ(slotOf(&Base::type), 2);
  EXPECT_EQ(slotOf(&Base::name), 3);
  EXPECT_EQ(slotOf(&Base::ref), 4);
  EXPECT_EQ(slotOf(&Base::maxElemCount), 5);
  EXPECT_EQ(slotOf(&Base::supportsDefault), 6);
  EXPECT_EQ(slotOf(&Base::supportsSet), 7);
  EXPECT_EQ(slotOf(&Base::doc), 8);
  EXPECT_EQ(slotOf(&nuv::attr::AbstractInfo<int>::getDefault), 9);
  EXPECT_EQ(slotOf(&nuv::attr::AbstractInfo<int>::supportsValue), 10);

  using Reflect = nuv::yaml::AbstractReflect;
  EXPECT_EQ(slotOf(&Reflect::className), 2);
  EXPECT_EQ(slotOf(&Reflect::propExists), 3);
  EXPECT_EQ(slotOf(&Reflect::propIsDefault), 4);
  EXPECT_EQ(slotOf(&Reflect::propsIsDefault), 5);
  EXPECT_EQ(slotOf(&Reflect::propTo), 6);
  EXPECT_EQ(slotOf(&Reflect::propsTo), 7);
  EXPECT_EQ(slotOf(&Reflect::propFrom), 8);

  using Agent = nuv::yaml::Registry::AbstractAgent<nuv::View<const nuv::attr::AbstractDoc>>;
  EXPECT_EQ(slotOf(&Agent::typeName), 2);
  EXPECT_EQ(slotOf(&Agent::write), 3);
  EXPECT_EQ(slotOf(&Agent::read), 4);
}

TEST(SlotOrderTest, DescriptionsKeepOneTableInTheFixedOrder) {
  using nuv::attr::lib::Info;
  using nuv::attr::lib::RangeInfo;
  expectDescriptionSlots<Info<int>>();
  expectDescriptionSlots<Info<double>>();
  expectDescriptionSlots<Info<bool>>();
  expectDescriptionSlots<Info<std::string>>();
  expectDescriptionSlots<RangeInfo<int>>();
  expectDescriptionSlots<RangeInfo<double>>();
}

}  // namespace
