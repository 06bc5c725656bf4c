// The process-wide id generator.
#ifndef NUV_ID_HPP_
#define NUV_ID_HPP_

#include <cstdint>

namespace nuv {

// A new id, unique within the process; the first is 1. Safe from any thread.
std::uint64_t id();

}  // namespace nuv

#endif  // NUV_ID_HPP_
