#include "nuv/idx/lib/range.hpp"

#include <cstdint>
#include <limits>

#include "nuv/check.hpp"

namespace nuv::idx::lib {

Range::Range(Index first, Index size) : first_(first), size_(size) {
  checkGreaterOrEqual("size", size, 0);
  // Entries must stay representable; computed wide so the test itself cannot overflow.
  const std::int64_t lastIndex = std::int64_t{first} + size - 1;
  checkLessOrEqual("first + size - 1", static_cast<long>(lastIndex),
                   static_cast<long>(std::numeric_limits<Index>::max()));
}

void Range::asMap(std::span<Index> positions) const {
  for (Index& p : positions) p += first_;
}

}  // namespace nuv::idx::lib
