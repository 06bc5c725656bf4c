#include "nuv/idx/lib/list.hpp"

#include <algorithm>
#include <limits>

namespace nuv::idx::lib {

Index List::min() const {
  Index smallest = std::numeric_limits<Index>::max();
  for (const Index v : entries_) smallest = std::min(smallest, v);
  return smallest;
}

Index List::max() const {
  Index largest = std::numeric_limits<Index>::min();
  for (const Index v : entries_) largest = std::max(largest, v);
  return largest;
}

bool List::contains(Index value) const {
  return std::find(entries_.begin(), entries_.end(), value) != entries_.end();
}

void List::asMap(std::span<Index> positions) const {
  for (Index& p : positions) p = entries_[static_cast<std::size_t>(p)];
}

}  // namespace nuv::idx::lib
