#include "nuv/view.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace nuv {
namespace {

struct Counted {
  explicit Counted(int* alive) : alive(alive) { ++*alive; }
  virtual ~Counted() { --*alive; }
  int* alive;
};
struct Derived : Counted {
  using Counted::Counted;
};

TEST(ViewTest, OwningViewDeletesThroughVirtualDestructor) {
  int alive = 0;
  {
    View<const Counted> v = View<const Counted>::owning(std::make_unique<Derived>(&alive));
    EXPECT_TRUE(v.owns());
    EXPECT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0);
}

TEST(ViewTest, BorrowingViewLeavesObjectAlive) {
  int alive = 0;
  Counted object(&alive);
  { View<const Counted> v = View<const Counted>::borrowed(&object); }
  EXPECT_EQ(alive, 1);
}

TEST(ViewTest, MoveHandsOverOwnershipOnce) {
  int alive = 0;
  View<Counted> a(new Counted(&alive), true);
  View<Counted> b = std::move(a);
  EXPECT_EQ(a.get(), nullptr);
  EXPECT_FALSE(a.owns());
  EXPECT_TRUE(b.owns());
  b = View<Counted>();
  EXPECT_EQ(alive, 0);
  View<Counted> nullOwning(nullptr, true);  // destroying it does nothing
}

}  // namespace
}  // namespace nuv
