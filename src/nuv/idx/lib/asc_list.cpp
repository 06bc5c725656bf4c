#include "nuv/idx/lib/asc_list.hpp"

#include <cstdint>
#include <limits>

#include "nuv/check.hpp"

namespace nuv::idx::lib {

Index AscList::last() const {
  if (vector().empty()) return 0;
  if (isRun()) return vector().front() + (count_ - 1);
  return vector().back();
}

Index AscList::operator[](Index position) const {
  if (vector().empty()) return 0;
  if (isRun()) return vector().front() + position;
  return vector()[static_cast<std::size_t>(position)];
}

void AscList::add(const Range& indices) {
  if (indices.size() <= 0) return;
  if (count_ < 1) {
    count_ = indices.size();
    list_.entries().assign(1, indices.first());
    return;
  }
  if (isRun() && std::int64_t{indices.first()} == std::int64_t{last()} + 1) {
    // The block ends at a representable index, so the run's count stays representable too.
    count_ += indices.size();
    return;
  }
  checkGreaterOrEqual("indices.first()", indices.first(), max(), "max()");
  checkLessOrEqual("size() + indices.size()",
                   static_cast<long>(std::int64_t{count_} + indices.size()),
                   static_cast<long>(std::numeric_limits<Index>::max()));
  makeFullList();
  std::vector<Index>& entries = list_.entries();
  entries.reserve(entries.size() + static_cast<std::size_t>(indices.size()));
  for (Index k = 0; k < indices.size(); ++k) entries.push_back(indices.first() + k);
  count_ += indices.size();
}

void AscList::makeFullList() {
  if (count_ < 1 || vector().size() > 1) return;
  const Index start = vector().front();
  std::vector<Index>& entries = list_.entries();
  entries.resize(static_cast<std::size_t>(count_));
  for (Index k = 0; k < count_; ++k) entries[static_cast<std::size_t>(k)] = start + k;
}

}  // namespace nuv::idx::lib
