// Test hooks of the host-link library (tests only). They act on the library loaded in the
// process, so a test that loads the plug-in sees what the plug-in's calls did. Without a hook
// armed, links behave as they always do.
//
//   orla::testing::failNextLink("no room");   // the next Link constructor throws
//   EXPECT_EQ(qelCreate(&handle, buf, sizeof buf), 1);
//   orla::testing::nextCallSolverResult(-3);  // the next callSolver solves, then answers -3
//   EXPECT_EQ(qelCallSolver(handle), -3);
#ifndef ORLA_TESTING_HPP_
#define ORLA_TESTING_HPP_

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "orla/link.hpp"

namespace orla::testing {

// The next orla::Link constructor calls `raise` with the solver it was given, once, before it
// does anything else; what raise throws leaves the constructor.
ORLA_EXPORT void failNextLink(
    std::function<void(const std::shared_ptr<nuv::opt::AbstractSolver>&)> raise);
// The next orla::Link constructor raises std::runtime_error with this text, once.
ORLA_EXPORT void failNextLink(std::string message);
// How often Link::initialize and Link::finalize were called since the library was loaded.
[[nodiscard]] ORLA_EXPORT int initializeCount();
[[nodiscard]] ORLA_EXPORT int finalizeCount();
// Links constructed and not yet destroyed.
[[nodiscard]] ORLA_EXPORT int liveLinks();
// The solver of the live link at this address, observed without keeping it alive; empty when
// no live link is there.
[[nodiscard]] ORLA_EXPORT std::weak_ptr<nuv::opt::AbstractSolver> solverOf(const void* link);
// The definition the last successfully constructed link received.
[[nodiscard]] ORLA_EXPORT std::optional<LinkDef> lastDefinition();
// The model pointer the last readyAPI call of any link received.
[[nodiscard]] ORLA_EXPORT const vopRec* lastModel();
// The next readyAPI, or callSolver, call of any link does its work and then returns `result`
// instead of its own, once.
ORLA_EXPORT void nextReadyApiResult(int result);
ORLA_EXPORT void nextCallSolverResult(int result);

}  // namespace orla::testing

#endif  // ORLA_TESTING_HPP_
