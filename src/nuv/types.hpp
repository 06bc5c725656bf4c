// Basic value types shared by the whole framework.
#ifndef NUV_TYPES_HPP_
#define NUV_TYPES_HPP_

#include <cstdint>
#include <string_view>

namespace nuv {

// Item numbers, element numbers and index-list entries.
using Index = std::int32_t;

// A tag text such as "nuv:context"; compared byte for byte.
using Tag = std::string_view;

}  // namespace nuv

#endif  // NUV_TYPES_HPP_
