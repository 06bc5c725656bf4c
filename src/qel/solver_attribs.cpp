#include "qel/solver_attribs.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qel {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

// The first row, in table order, that `matches`; null when none does.
template <class Predicate>
const nuv::attr::AbstractBaseInfo* findFirst(Predicate matches) {
  const nuv::attr::AbstractBaseInfo* found = nullptr;
  forEachSolverAttrib([&](const nuv::attr::AbstractBaseInfo& row) {
    if (found == nullptr && matches(row)) found = &row;
  });
  return found;
}

}  // namespace

const nuv::attr::AbstractBaseInfo* findSolverAttrib(std::string_view name) {
  return findFirst([name](const nuv::attr::AbstractBaseInfo& row) {
    const auto rowName = row.name();
    return rowName && equalsIgnoringCase(*rowName, name);
  });
}

const nuv::attr::AbstractBaseInfo* findSolverAttrib(int key) {
  return findFirst([key](const nuv::attr::AbstractBaseInfo& row) { return row.ref() == key; });
}

}  // namespace qel
