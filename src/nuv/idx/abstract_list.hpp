// `nuv::idx::AbstractList`: an ordered list of model indices.
//
// Lists report their kind through `type()` without touching their entries, so consumers can use
// block operations for contiguous lists and binary search for ascending ones:
//   kExplicit (0)   entries in any order
//   kBlock (1)      first, first + 1, ..., first + size - 1
//   kAscending (2)  non-decreasing, possibly with gaps
// Positions passed to `operator[]` and `asMap` must lie in [0, size()); they are not tested.
#ifndef NUV_IDX_ABSTRACT_LIST_HPP_
#define NUV_IDX_ABSTRACT_LIST_HPP_

#include <cstdint>
#include <span>
#include <vector>

#include "nuv/types.hpp"
#include "nuv/view.hpp"

namespace nuv::idx {

enum class ListType : std::uint8_t {
  kExplicit = 0,
  kBlock = 1,
  kAscending = 2,
};

class AbstractList {
 public:
  virtual ~AbstractList() = default;

  [[nodiscard]] virtual ListType type() const = 0;
  [[nodiscard]] virtual Index size() const = 0;
  [[nodiscard]] virtual Index first() const;
  [[nodiscard]] virtual Index last() const;
  [[nodiscard]] virtual Index min() const;
  [[nodiscard]] virtual Index max() const;
  [[nodiscard]] virtual Index operator[](Index position) const = 0;
  [[nodiscard]] virtual bool contains(Index value) const;
  // Writes size() entries into out, which must hold at least that many.
  virtual void toVector(std::span<Index> out) const;
  // The entries as a vector: a borrowed view where the list stores one, else an owned copy.
  [[nodiscard]] virtual View<const std::vector<Index>> viewVector() const;
  // Replaces every position p of the span, in place, by the entry at p.
  virtual void asMap(std::span<Index> positions) const;

 protected:
  AbstractList() = default;
  AbstractList(const AbstractList&) = default;
  AbstractList& operator=(const AbstractList&) = default;
};

}  // namespace nuv::idx

#endif  // NUV_IDX_ABSTRACT_LIST_HPP_
