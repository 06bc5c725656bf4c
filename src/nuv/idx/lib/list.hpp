// `nuv::idx::lib::List`: an explicit list of indices in any order, filled by its creator.
#ifndef NUV_IDX_LIB_LIST_HPP_
#define NUV_IDX_LIB_LIST_HPP_

#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "nuv/idx/abstract_list.hpp"

namespace nuv::idx::lib {

class List final : public AbstractList {
 public:
  List() = default;
  List(std::initializer_list<Index> entries) : entries_(entries) {}
  explicit List(std::vector<Index> entries) : entries_(std::move(entries)) {}

  // The entries, for the creator to fill.
  [[nodiscard]] std::vector<Index>& entries() noexcept { return entries_; }
  [[nodiscard]] const std::vector<Index>& entries() const noexcept { return entries_; }
  void push_back(Index value) { entries_.push_back(value); }

  [[nodiscard]] ListType type() const override { return ListType::kExplicit; }
  [[nodiscard]] Index size() const override { return static_cast<Index>(entries_.size()); }
  [[nodiscard]] Index first() const override { return entries_.front(); }
  [[nodiscard]] Index last() const override { return entries_.back(); }
  [[nodiscard]] Index min() const override;
  [[nodiscard]] Index max() const override;
  [[nodiscard]] Index operator[](Index position) const override {
    return entries_[static_cast<std::size_t>(position)];
  }
  [[nodiscard]] bool contains(Index value) const override;
  // A borrowed view of the list's own vector, valid while the list lives.
  [[nodiscard]] View<const std::vector<Index>> viewVector() const override {
    return View<const std::vector<Index>>::borrowed(&entries_);
  }
  void asMap(std::span<Index> positions) const override;

 private:
  std::vector<Index> entries_;
};

}  // namespace nuv::idx::lib

#endif  // NUV_IDX_LIB_LIST_HPP_
