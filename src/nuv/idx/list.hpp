// `nuv::idx::List`: the value handle through which index lists are passed around.
//
// A `List` shares an `AbstractList` and forwards every operation to it. It is never empty: a
// default-constructed `List` shares the one process-wide empty list (size 0, a block; `first`,
// `last`, `min`, `max` and every entry answer 0).
#ifndef NUV_IDX_LIST_HPP_
#define NUV_IDX_LIST_HPP_

#include <memory>
#include <span>
#include <vector>

#include "nuv/idx/abstract_list.hpp"

namespace nuv::idx {

class List final : public AbstractList {
 public:
  class EmptyList;

  List();
  // A null pointer gives the empty list.
  List(std::shared_ptr<const AbstractList> list);  // NOLINT(google-explicit-constructor)

  // The one shared empty list, made on first use.
  static const std::shared_ptr<const AbstractList>& defaultList();

  [[nodiscard]] const std::shared_ptr<const AbstractList>& shared() const noexcept { return list_; }

  [[nodiscard]] ListType type() const override { return list_->type(); }
  [[nodiscard]] Index size() const override { return list_->size(); }
  [[nodiscard]] Index first() const override { return list_->first(); }
  [[nodiscard]] Index last() const override { return list_->last(); }
  [[nodiscard]] Index min() const override { return list_->min(); }
  [[nodiscard]] Index max() const override { return list_->max(); }
  [[nodiscard]] Index operator[](Index position) const override { return (*list_)[position]; }
  [[nodiscard]] bool contains(Index value) const override { return list_->contains(value); }
  void toVector(std::span<Index> out) const override { list_->toVector(out); }
  [[nodiscard]] View<const std::vector<Index>> viewVector() const override {
    return list_->viewVector();
  }
  void asMap(std::span<Index> positions) const override { list_->asMap(positions); }

 private:
  std::shared_ptr<const AbstractList> list_;
};

class List::EmptyList final : public AbstractList {
 public:
  [[nodiscard]] ListType type() const override { return ListType::kBlock; }
  [[nodiscard]] Index size() const override { return 0; }
  [[nodiscard]] Index operator[](Index /*position*/) const override { return 0; }
};

}  // namespace nuv::idx

#endif  // NUV_IDX_LIST_HPP_
