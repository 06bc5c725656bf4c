// Basic value types shared by the whole framework.
#ifndef NUV_TYPES_HPP_
#define NUV_TYPES_HPP_

#include <cstdint>

namespace nuv {

// Item numbers, element numbers and index-list entries.
using Index = std::int32_t;

}  // namespace nuv

#endif  // NUV_TYPES_HPP_
