#include "nuv/idx/abstract_list.hpp"

#include <limits>
#include <memory>

namespace nuv::idx {

Index AbstractList::first() const { return (*this)[0]; }

Index AbstractList::last() const { return (*this)[size() - 1]; }

Index AbstractList::min() const {
  switch (type()) {
    case ListType::kExplicit: {
      Index smallest = std::numeric_limits<Index>::max();
      for (Index p = 0, n = size(); p < n; ++p) {
        const Index v = (*this)[p];
        if (v < smallest) smallest = v;
      }
      return smallest;
    }
    case ListType::kBlock:
    case ListType::kAscending:
      return first();
  }
  return 0;
}

Index AbstractList::max() const {
  switch (type()) {
    case ListType::kExplicit: {
      Index largest = std::numeric_limits<Index>::min();
      for (Index p = 0, n = size(); p < n; ++p) {
        const Index v = (*this)[p];
        if (v > largest) largest = v;
      }
      return largest;
    }
    case ListType::kBlock:
    case ListType::kAscending:
      return last();
  }
  return 0;
}

bool AbstractList::contains(Index value) const {
  switch (type()) {
    case ListType::kBlock:
      if (size() < 1 || first() > value) return false;
      return last() >= value;
    case ListType::kAscending: {
      if (size() < 1 || min() > value || max() < value) return false;
      // Lower bound: the first position whose entry is not less than value.
      Index low = 0;
      Index count = size();
      while (count > 0) {
        const Index half = count / 2;
        if ((*this)[low + half] < value) {
          low += half + 1;
          count -= half + 1;
        } else {
          count = half;
        }
      }
      return low < size() && (*this)[low] == value;
    }
    case ListType::kExplicit:
      for (Index p = 0, n = size(); p < n; ++p) {
        if ((*this)[p] == value) return true;
      }
      return false;
  }
  return false;
}

void AbstractList::toVector(std::span<Index> out) const {
  for (Index p = 0, n = size(); p < n; ++p) out[static_cast<std::size_t>(p)] = (*this)[p];
}

View<const std::vector<Index>> AbstractList::viewVector() const {
  auto entries = std::make_unique<std::vector<Index>>(static_cast<std::size_t>(size()));
  toVector(*entries);
  return View<const std::vector<Index>>::owning(std::move(entries));
}

void AbstractList::asMap(std::span<Index> positions) const {
  for (Index& p : positions) p = (*this)[p];
}

}  // namespace nuv::idx
