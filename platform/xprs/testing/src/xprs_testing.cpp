#include "xprs_testing.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "xprs_standin/hook_access.hpp"
#include "xprs_standin/pool_hook_access.hpp"

namespace xprs::testing {

namespace {

standin::HookAccess& hooks() { return *xprs_standin_hook_access(); }
standin::PoolHookAccess& poolHooks() { return *xprs_standin_pool_hook_access(); }

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
  if (!hooks().evalFormula(prob, row, x, &out.value, &out.gradient, &out.hessianPattern,
                           &out.hessian, &error)) {
    throw std::invalid_argument(error);
  }
  return out;
}

const PoolRecord& inspect(XPRSmipsolpool msp) {
  const PoolRecord* rec = poolHooks().pool(msp);
  if (rec == nullptr) throw std::invalid_argument("not a live solution pool handle");
  return *rec;
}

const EnumeratorRecord& inspect(XPRSmipsolenum mse) {
  const EnumeratorRecord* rec = poolHooks().enumerator(mse);
  if (rec == nullptr) throw std::invalid_argument("not a live solution enumerator handle");
  return *rec;
}

namespace {

void requireEnumerator(bool live) {
  if (!live) throw std::invalid_argument("not a live solution enumerator handle");
}

}  // namespace

void setIntAttrib(XPRSmipsolenum mse, int id, int value) {
  requireEnumerator(poolHooks().setIntAttrib(mse, id, value));
}

void clearAttribOverrides(XPRSmipsolenum mse) {
  requireEnumerator(poolHooks().clearAttribOverrides(mse));
}

void queueCullResponse(XPRSmipsolenum mse, CullResponse response) {
  requireEnumerator(poolHooks().queueCullResponse(mse, response));
}

void emitMessage(XPRSmipsolpool msp, const char* text, int type) {
  if (!poolHooks().emitPoolMessage(msp, text, type)) {
    throw std::invalid_argument("not a live solution pool handle");
  }
}

void emitMessage(XPRSmipsolenum mse, const char* text, int type) {
  requireEnumerator(poolHooks().emitEnumeratorMessage(mse, text, type));
}

int livePools() { return poolHooks().livePools(); }

int liveEnumerators() { return poolHooks().liveEnumerators(); }

int initCount() { return hooks().initCount(); }

int handleMisuse() { return hooks().handleMisuse(); }

int liveProblems() { return hooks().liveProblems(); }

void reset() { hooks().reset(); }

}  // namespace xprs::testing
