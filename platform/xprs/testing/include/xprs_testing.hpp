// Test hooks of the Xpress stand-in library (tests only; never linked into the plug-in).
//
// They give read-only inspection of everything a problem holds, the journal of every call made
// to the library, injected failures, attribute overrides and scripted outcomes of the next
// optimisation. All functions act on the libxprs loaded in the process.
//
//   XPRSprob prob;  XPRScreateprob(&prob);
//   xprs::testing::failNext("XPRSaddrows64", 32, "injected");
//   EXPECT_EQ(XPRSaddrows64(prob, ...), 32);        // XPRSgetlasterror now reads "injected"
//   EXPECT_EQ(xprs::testing::inspect(prob).model.rows(), 0);
#ifndef XPRS_TESTING_HPP_
#define XPRS_TESTING_HPP_

#include <xprs.h>

#include <cstddef>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "xprs_standin/pool_records.hpp"
#include "xprs_standin/records.hpp"

namespace xprs::testing {

using standin::CallbackKind;
using standin::CallRecord;
using standin::CullResponse;
using standin::EnumeratorRecord;
using standin::ModelRecord;
using standin::ObjectiveRecord;
using standin::PoolRecord;
using standin::PoolSolutionRecord;
using standin::ProblemRecord;
using standin::ResultRecord;
using standin::RunRecord;
using standin::RunScript;
using standin::ScriptEvent;

// Everything the live problem holds. The reference stays valid until the problem is destroyed
// and shows later changes. Throws std::invalid_argument for a handle that is not a live problem.
[[nodiscard]] const ProblemRecord& inspect(XPRSprob prob);

// The call journal: the most recent exported function calls in order (function name, handle,
// digest); it keeps the last 65536.
[[nodiscard]] std::vector<CallRecord> calls();
void clearCalls();
[[nodiscard]] std::size_t countCalls(std::string_view function);

// Makes the (skip+1)-th next call of function (for example "XPRSaddrows64", "XPRScreateprob",
// "XPRSinit") return rc, with text as its last error (XPRSgetlasterror of the problem, or of
// NULL for functions without a problem). Injections of one function are served in order.
void failNext(std::string_view function, int rc, std::string_view text, int skip = 0);
// As failNext, but a failing create function (XPRScreateprob) leaves the caller's handle
// variable as it was instead of writing NULL into it, as a library that fails before it writes
// would. Shows callers that keep a stale handle after a failed re-creation.
void failNextKeepingHandle(std::string_view function, int rc, std::string_view text, int skip = 0);
void clearFailures();

// Attribute values answered instead of the computed ones until cleared. Throw
// std::invalid_argument for a handle that is not a live problem.
void setIntAttrib(XPRSprob prob, int id, int value);
void setDblAttrib(XPRSprob prob, int id, double value);
void clearAttribOverrides(XPRSprob prob);

// Queues the outcome of the next XPRSoptimize or XPRStune on prob in place of the engine:
// its events are replayed in order through the registered callbacks (an XPRSinterrupt from a
// callback, or an Interrupt event, stops the replay with that stop reason), then its run record
// and results become the problem's attributes and results. Throws std::invalid_argument for a
// handle that is not a live problem.
void script(XPRSprob prob, const RunScript& outcome);

// Sends one message to the problem's message callbacks now.
void emitMessage(XPRSprob prob, std::string_view text, int type);

// Value, gradient (one entry per column) and Hessian at x of the formulas XPRSnlpaddformulas
// added to a row (row -1: to the objective), summed; a row without formulas gives 0. The
// Hessian is given in its sparse pattern, the lower triangle: the column pairs (a, b), a >= b,
// in ascending order, that the formulas' second derivatives can reach anywhere, and the values
// at x in the same order. Throws std::invalid_argument for a handle that is not a live problem,
// a row out of range, or an x whose size is not the number of columns.
struct FormulaValue {
  double value = 0.0;
  std::vector<double> gradient;
  std::vector<std::pair<int, int>> hessianPattern;
  std::vector<double> hessian;
};
[[nodiscard]] FormulaValue evalFormula(XPRSprob prob, int row, std::span<const double> x);

// Everything a live solution pool or enumerator holds, as for problems. Throw
// std::invalid_argument for a handle that is not a live pool or enumerator.
[[nodiscard]] const PoolRecord& inspect(XPRSmipsolpool msp);
[[nodiscard]] const EnumeratorRecord& inspect(XPRSmipsolenum mse);

// Enumerator attribute values (such as 6600, the solutions stored) answered instead of the
// computed ones until cleared.
void setIntAttrib(XPRSmipsolenum mse, int id, int value);
void clearAttribOverrides(XPRSmipsolenum mse);

// Queues an answer of the next XPRS_mse_getcullchoice on mse, served in place of the
// enumerator's own choice (the ids are cut to the caller's maximum; the count reported is
// their number unless the response sets reportedCount).
void queueCullResponse(XPRSmipsolenum mse, CullResponse response);

// Sends one message (text may be NULL) to the registered message handler of a pool or an
// enumerator now, with the object as its first argument, no thread and message code 0.
void emitMessage(XPRSmipsolpool msp, const char* text, int type);
void emitMessage(XPRSmipsolenum mse, const char* text, int type);

// Number of XPRSinit calls not yet matched by XPRSfree.
[[nodiscard]] int initCount();
// Calls made with an unknown or destroyed problem, pool or enumerator handle (double destroys
// included).
[[nodiscard]] int handleMisuse();
[[nodiscard]] int liveProblems();
[[nodiscard]] int livePools();
[[nodiscard]] int liveEnumerators();
// Clears the journal, the injected failures, the misuse count and the global last error.
void reset();

}  // namespace xprs::testing

#endif  // XPRS_TESTING_HPP_
