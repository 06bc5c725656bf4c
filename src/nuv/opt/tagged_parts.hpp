// `nuv::opt::TaggedParts`: the tagged part dictionaries of a batch or result, by tag.
//
// The map's keys are views of tag texts; tags are literals of static lifetime, so the map may
// outlive the text it was filled from only when that text is such a literal.
#ifndef NUV_OPT_TAGGED_PARTS_HPP_
#define NUV_OPT_TAGGED_PARTS_HPP_

#include <unordered_map>

#include "nuv/attr/container_dict.hpp"
#include "nuv/tag.hpp"

namespace nuv::opt {

using TaggedParts = std::unordered_map<Tag, attr::ContainerDict>;

// The part under tag, or an empty dictionary handle when there is none.
[[nodiscard]] inline attr::ContainerDict taggedPart(const TaggedParts& parts, Tag tag) {
  const auto found = parts.find(tag);
  return found == parts.end() ? attr::ContainerDict() : found->second;
}

}  // namespace nuv::opt

#endif  // NUV_OPT_TAGGED_PARTS_HPP_
