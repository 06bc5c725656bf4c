// Test hooks of the host-link library (tests only). They act on the library loaded in the
// process, so a test that loads the plug-in sees what the plug-in's calls did.
//
//   orla::testing::failNextLink("no room");   // the next Link constructor throws
//   EXPECT_EQ(qelCreate(&handle, buf, sizeof buf), 1);
#ifndef ORLA_TESTING_HPP_
#define ORLA_TESTING_HPP_

#include <optional>
#include <string>

#include "orla/link.hpp"

namespace orla::testing {

// The next orla::Link constructor raises std::runtime_error with this text, once.
ORLA_EXPORT void failNextLink(std::string message);
// How often Link::initialize and Link::finalize were called since the library was loaded.
[[nodiscard]] ORLA_EXPORT int initializeCount();
[[nodiscard]] ORLA_EXPORT int finalizeCount();
// Links constructed and not yet destroyed.
[[nodiscard]] ORLA_EXPORT int liveLinks();
// The definition the last successfully constructed link received.
[[nodiscard]] ORLA_EXPORT std::optional<LinkDef> lastDefinition();

}  // namespace orla::testing

#endif  // ORLA_TESTING_HPP_
