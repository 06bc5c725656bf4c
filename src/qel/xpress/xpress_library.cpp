#include "qel/xpress/xpress_library.hpp"

#include <xprs.h>

#include <array>
#include <cstring>
#include <string>

#include "qel/xpress/xpress_call.hpp"
#include "qel/xpress/xpress_exception.hpp"

namespace qel {

namespace {

constexpr int kErrorBufferSize = 512;

// The reason Xpress gives for a failed initialisation (mostly a licensing problem). Xpress keeps
// no problem to hold it, so it is read from the library itself.
std::string initError() {
  std::array<char, kErrorBufferSize> buffer{};
  XPRSgetlicerrmsg(buffer.data(), kErrorBufferSize);
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

}  // namespace

XpressLibrary::XpressLibrary() {
  constexpr auto init = QEL_XPRESS_CALL(XPRSinit);
  if (const int rc = init.function(nullptr); rc != 0) {
    throw XpressException(initError(), rc, init.name);
  }
}

XpressLibrary::~XpressLibrary() { XPRSfree(); }

}  // namespace qel
