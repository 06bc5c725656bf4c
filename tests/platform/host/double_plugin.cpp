// A plug-in for testing hosts: the four exported functions over the host link and the solver
// double, and two hooks, one to script the next solver's runs and one to inspect the last
// solver made.
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include "orla/link.hpp"
#include "orla/vop_rec.hpp"
#include "tests/support/solver_double.hpp"

#define DOUBLE_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

DOUBLE_PLUGIN_EXPORT int qelCreate(void** handle, char* msgBuf, int msgBufLen);
DOUBLE_PLUGIN_EXPORT int qelReadyAPI(void* handle, vopRec* model);
DOUBLE_PLUGIN_EXPORT int qelCallSolver(void* handle);
DOUBLE_PLUGIN_EXPORT void qelFree(void** handle);
DOUBLE_PLUGIN_EXPORT void qelDoubleScript(const std::vector<qel_test::DoubleRun>* scripted);
DOUBLE_PLUGIN_EXPORT const qel_test::SolverDouble* qelDoubleSolver();

namespace {

std::vector<qel_test::DoubleRun>& runs() {
  static std::vector<qel_test::DoubleRun> r;
  return r;
}

std::shared_ptr<qel_test::SolverDouble>& lastSolver() {
  static std::shared_ptr<qel_test::SolverDouble> s;
  return s;
}

struct Library {
  Library() { orla::Link::initialize(); }
  ~Library() { orla::Link::finalize(); }
} library;

}  // namespace

DOUBLE_PLUGIN_EXPORT int qelCreate(void** handle, char* msgBuf, int msgBufLen) {
  try {
    auto solver = std::make_shared<qel_test::SolverDouble>();
    solver->script(runs());
    lastSolver() = solver;
    orla::LinkDef definition;
    definition.enable(orla::LinkDef::Plugin{1});
    definition.setName(orla::LinkDef::PluginAttrib{1}, "mipcleanup");
    *handle = new orla::Link(solver, definition);
    return 0;
  } catch (const std::exception& e) {
    std::strncpy(msgBuf, e.what(), static_cast<std::size_t>(msgBufLen));
    return 1;
  }
}

DOUBLE_PLUGIN_EXPORT int qelReadyAPI(void* handle, vopRec* model) {
  return static_cast<orla::Link*>(handle)->readyAPI(model);
}

DOUBLE_PLUGIN_EXPORT int qelCallSolver(void* handle) {
  return static_cast<orla::Link*>(handle)->callSolver();
}

DOUBLE_PLUGIN_EXPORT void qelFree(void** handle) {
  delete static_cast<orla::Link*>(*handle);
  *handle = nullptr;
}

DOUBLE_PLUGIN_EXPORT void qelDoubleScript(const std::vector<qel_test::DoubleRun>* scripted) {
  runs() = *scripted;
}

DOUBLE_PLUGIN_EXPORT const qel_test::SolverDouble* qelDoubleSolver() { return lastSolver().get(); }
