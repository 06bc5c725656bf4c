#include "nuv/id.hpp"

#include <atomic>

namespace nuv {
namespace {

std::atomic<std::uint64_t> next_id{0};

}  // namespace

std::uint64_t id() { return ++next_id; }

}  // namespace nuv
