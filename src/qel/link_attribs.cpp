#include "qel/link_attribs.hpp"

#include <cstddef>

#include "nuv/attr/lib/optional_item.hpp"
#include "nuv/view.hpp"
#include "qel/solver_attribs.hpp"

namespace qel {

namespace {

// A new unset item guarded by a borrowed table row.
template <class T, class Row>
std::shared_ptr<LinkAttribs::Item<T>> linkItem(const Row& row) {
  return nuv::attr::view::withInfo(nuv::attr::lib::optionalItem<T>(),
                                   nuv::View<const nuv::attr::AbstractInfo<T>>::borrowed(&row));
}

// The item of items whose row has exactly the option key key, or empty. Items and rows share
// their positions.
template <class Items, class Rows>
typename Items::value_type findByKey(const Items& items, const Rows& rows, int key) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (rows[i].ref() == key) return items[i];
  }
  return nullptr;
}

}  // namespace

LinkAttribs::LinkAttribs() {
  for (std::size_t i = 0; i < kIntCount; ++i) ints_[i] = linkItem<int>(int_solver_attribs[i]);
  for (std::size_t i = 0; i < kStrCount; ++i) {
    strs_[i] = linkItem<std::string>(str_solver_attribs[i]);
  }
}

std::shared_ptr<LinkAttribs::IntItem> LinkAttribs::getInt(int key) const {
  return findByKey(ints_, int_solver_attribs, key);
}

std::shared_ptr<LinkAttribs::StrItem> LinkAttribs::getStr(int key) const {
  return findByKey(strs_, str_solver_attribs, key);
}

std::shared_ptr<LinkAttribs::Item<double>> LinkAttribs::getDbl(int /*key*/) { return nullptr; }

std::shared_ptr<LinkAttribs::Item<bool>> LinkAttribs::getBool(int /*key*/) { return nullptr; }

void LinkAttribs::reset() {
  for (const auto& item : ints_) item->reset();
  for (const auto& item : strs_) item->reset();
}

int linkValue(const LinkAttribs::IntItem& item) {
  return item.elemCount() >= 1 ? item.get(0) : item.getDefault();
}

std::optional<std::string> linkValue(const LinkAttribs::StrItem& item) {
  if (item.elemCount() < 1) return std::nullopt;
  return item.get(0);
}

}  // namespace qel
