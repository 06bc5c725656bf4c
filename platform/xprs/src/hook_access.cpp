// The library's implementation of the test-hook door (see xprs_standin/hook_access.hpp).
#include "xprs_standin/hook_access.hpp"

#include <map>

#include "engine/engine.hpp"
#include "library.hpp"
#include "nlp/formula.hpp"
#include "nlp/formula_hessian.hpp"

namespace xprs::standin {

namespace {

class LibraryHooks final : public HookAccess {
 public:
  const ProblemRecord* problem(XPRSprob prob) override {
    Problem* p = Library::instance().find(prob);
    return p ? &p->target().rec : nullptr;
  }
  std::vector<CallRecord> calls() override { return Library::instance().calls(); }
  void clearCalls() override { Library::instance().clearCalls(); }
  void failNext(const std::string& function, int rc, const std::string& message,
                int skip) override {
    Library::instance().failNext(function, rc, message, skip);
  }
  void clearFailures() override { Library::instance().clearFailures(); }
  bool setIntAttrib(XPRSprob prob, int id, int value) override {
    Problem* p = Library::instance().find(prob);
    if (p) p->target().rec.intAttribOverrides[id] = value;
    return p != nullptr;
  }
  bool setDblAttrib(XPRSprob prob, int id, double value) override {
    Problem* p = Library::instance().find(prob);
    if (p) p->target().rec.dblAttribOverrides[id] = value;
    return p != nullptr;
  }
  bool clearAttribOverrides(XPRSprob prob) override {
    Problem* p = Library::instance().find(prob);
    if (p) {
      p->target().rec.intAttribOverrides.clear();
      p->target().rec.dblAttribOverrides.clear();
    }
    return p != nullptr;
  }
  bool script(XPRSprob prob, const RunScript& run) override {
    Problem* p = Library::instance().find(prob);
    if (p) p->target().rec.scripts.push_back(run);
    return p != nullptr;
  }
  bool emitMessage(XPRSprob prob, const std::string& message, int type) override {
    Problem* p = Library::instance().find(prob);
    if (p) standin::emitMessage(*p, message, type);
    return p != nullptr;
  }
  int initCount() override { return Library::instance().initCount(); }
  int handleMisuse() override { return Library::instance().handleMisuse(); }
  int liveProblems() override { return Library::instance().liveProblems(); }
  void reset() override { Library::instance().reset(); }
  bool evalFormula(XPRSprob prob, int row, std::span<const double> x, double* value,
                   std::vector<double>* gradient, std::vector<std::pair<int, int>>* hessianPattern,
                   std::vector<double>* hessian, std::string* error) override {
    Problem* p = Library::instance().find(prob);
    if (p == nullptr) {
      *error = "not a live problem handle";
      return false;
    }
    const ModelRecord& m = p->target().rec.model;
    if (row < -1 || row >= m.rows()) {
      *error = text("invalid row ", row, " (the problem has ", m.rows(), " rows)");
      return false;
    }
    if (x.size() != static_cast<std::size_t>(m.cols())) {
      *error = text("x has ", x.size(), " values for ", m.cols(), " columns");
      return false;
    }
    *value = 0.0;
    gradient->assign(x.size(), 0.0);
    std::vector<double> values, adjoints;
    std::map<std::pair<int, int>, double> entries;
    try {
      for (const FormulaRecord& rec : m.formulas) {
        if (rec.row != row) continue;
        const Formula f = Formula::compile(rec.type, rec.value, m.cols());
        *value += f.evaluate(x.data(), values);
        f.gradient(values, 1.0, adjoints, gradient->data());
        FormulaHessian h(f);
        std::vector<double> local(h.pattern().size(), 0.0);
        std::vector<int> target(local.size());
        for (std::size_t k = 0; k < target.size(); ++k) target[k] = static_cast<int>(k);
        h.accumulate(f, values, 1.0, target.data(), local.data());
        for (std::size_t k = 0; k < local.size(); ++k) entries[h.pattern()[k]] += local[k];
      }
    } catch (const std::exception& e) {
      // Stored formulas were checked when added; nothing may unwind into the caller's library.
      *error = e.what();
      return false;
    }
    hessianPattern->clear();
    hessian->clear();
    for (const auto& [pair, v] : entries) {
      hessianPattern->push_back(pair);
      hessian->push_back(v);
    }
    return true;
  }
  void failNextKeepingHandle(const std::string& function, int rc, const std::string& message,
                             int skip) override {
    Library::instance().failNext(function, rc, message, skip, /*keepHandle=*/true);
  }
};

}  // namespace

}  // namespace xprs::standin

extern "C" xprs::standin::HookAccess* xprs_standin_hook_access() {
  static xprs::standin::LibraryHooks hooks;
  return &hooks;
}
