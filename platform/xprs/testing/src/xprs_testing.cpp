#include "xprs_testing.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "xprs_standin/hook_access.hpp"

namespace xprs::testing {

namespace {

standin::HookAccess& hooks() { return *xprs_standin_hook_access(); }

void requireLive(bool live) {
  if (!live) throw std::invalid_argument("not a live problem handle");
}

}  // namespace

const ProblemRecord& inspect(XPRSprob prob) {
  const ProblemRecord* rec = hooks().problem(prob);
  requireLive(rec != nullptr);
  return *rec;
}

std::vector<CallRecord> calls() { return hooks().calls(); }

void clearCalls() { hooks().clearCalls(); }

std::size_t countCalls(std::string_view function) {
  const std::vector<CallRecord> all = hooks().calls();
  return static_cast<std::size_t>(std::count_if(
      all.begin(), all.end(), [&](const CallRecord& c) { return c.function == function; }));
}

void failNext(std::string_view function, int rc, std::string_view text, int skip) {
  hooks().failNext(std::string(function), rc, std::string(text), skip);
}

void failNextKeepingHandle(std::string_view function, int rc, std::string_view text, int skip) {
  hooks().failNextKeepingHandle(std::string(function), rc, std::string(text), skip);
}

void clearFailures() { hooks().clearFailures(); }

void setIntAttrib(XPRSprob prob, int id, int value) {
  requireLive(hooks().setIntAttrib(prob, id, value));
}

void setDblAttrib(XPRSprob prob, int id, double value) {
  requireLive(hooks().setDblAttrib(prob, id, value));
}

void clearAttribOverrides(XPRSprob prob) { requireLive(hooks().clearAttribOverrides(prob)); }

void script(XPRSprob prob, const RunScript& outcome) { requireLive(hooks().script(prob, outcome)); }

void emitMessage(XPRSprob prob, std::string_view text, int type) {
  requireLive(hooks().emitMessage(prob, std::string(text), type));
}

FormulaValue evalFormula(XPRSprob prob, int row, std::span<const double> x) {
  FormulaValue out;
  std::string error;
  if (!hooks().evalFormula(prob, row, x, &out.value, &out.gradient, &error)) {
    throw std::invalid_argument(error);
  }
  return out;
}

int initCount() { return hooks().initCount(); }

int handleMisuse() { return hooks().handleMisuse(); }

int liveProblems() { return hooks().liveProblems(); }

void reset() { hooks().reset(); }

}  // namespace xprs::testing
