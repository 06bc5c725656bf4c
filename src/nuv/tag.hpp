// Framework tags: colon-separated texts such as "nuv:function:basic:Add", compared as whole texts.
#ifndef NUV_TAG_HPP_
#define NUV_TAG_HPP_

#include <cstdint>
#include <string_view>

namespace nuv {

// A tag text. Tags are literals of static lifetime.
using Tag = std::string_view;

// A tag with an index: a callback context, the fix command, the indicator link.
struct TagIndex {
  Tag tag;
  std::uint32_t index = 0;

  friend constexpr bool operator==(const TagIndex&, const TagIndex&) = default;
};

}  // namespace nuv

#endif  // NUV_TAG_HPP_
