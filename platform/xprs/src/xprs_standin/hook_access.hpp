// The door through which xprs_testing reaches the state inside libxprs. libxprs exports one C
// function, xprs_standin_hook_access, returning the library's single HookAccess object; its
// operations are virtual so that nothing else of the library needs to be exported.
#ifndef XPRS_STANDIN_HOOK_ACCESS_HPP_
#define XPRS_STANDIN_HOOK_ACCESS_HPP_

#include <xprs.h>

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "xprs_standin/records.hpp"

namespace xprs::standin {

class HookAccess {
 public:
  virtual ~HookAccess() = default;

  // Null when the handle is not a live problem.
  [[nodiscard]] virtual const ProblemRecord* problem(XPRSprob prob) = 0;
  [[nodiscard]] virtual std::vector<CallRecord> calls() = 0;
  virtual void clearCalls() = 0;
  virtual void failNext(const std::string& function, int rc, const std::string& text, int skip) = 0;
  virtual void clearFailures() = 0;
  // False when the handle is not a live problem.
  virtual bool setIntAttrib(XPRSprob prob, int id, int value) = 0;
  virtual bool setDblAttrib(XPRSprob prob, int id, double value) = 0;
  virtual bool clearAttribOverrides(XPRSprob prob) = 0;
  virtual bool script(XPRSprob prob, const RunScript& script) = 0;
  virtual bool emitMessage(XPRSprob prob, const std::string& text, int type) = 0;
  [[nodiscard]] virtual int initCount() = 0;
  [[nodiscard]] virtual int handleMisuse() = 0;
  [[nodiscard]] virtual int liveProblems() = 0;
  virtual void reset() = 0;
  // Value, gradient (one entry per column) and Hessian (its pattern as column pairs (a, b),
  // a >= b, ascending, and the values there) at x of the formulas of a row, row -1 for the
  // objective. False, with the fault in error, for a handle that is not a live problem, a row
  // out of range or an x with another size than the number of columns.
  virtual bool evalFormula(XPRSprob prob, int row, std::span<const double> x, double* value,
                           std::vector<double>* gradient,
                           std::vector<std::pair<int, int>>* hessianPattern,
                           std::vector<double>* hessian, std::string* error) = 0;
  virtual void failNextKeepingHandle(const std::string& function, int rc, const std::string& text,
                                     int skip) = 0;
};

}  // namespace xprs::standin

extern "C" XPRS_EXPORT xprs::standin::HookAccess* xprs_standin_hook_access();

#endif  // XPRS_STANDIN_HOOK_ACCESS_HPP_
