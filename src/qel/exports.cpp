// The plug-in's whole interface to the host: four functions under plain C names, each handing
// the host's call to one orla::Link, which owns the solver and drives it. Nothing else of the
// library is exported.
//
//   void* handle = nullptr;
//   char text[512];
//   if (qelCreate(&handle, text, sizeof text) != 0) { /* text: strncpy'd failure, maybe
//                                                        without a terminator */ }
//   qelReadyAPI(handle, &model);   // the host's vopRec, passed on unchanged
//   qelCallSolver(handle);         // the link loads, solves and writes the results back
//   qelFree(&handle);              // handle is null afterwards
//
// Loading the library initialises the host-link library once, before the option tables are
// built by static initialisation; unloading it, or the end of the process, finalises it once.
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

#include "orla/link.hpp"
#include "qel/solver/solver.hpp"

#define QEL_EXPORT extern "C" __attribute__((visibility("default")))

QEL_EXPORT int qelCreate(void** handle, char* msgBuf, int msgBufLen);
QEL_EXPORT int qelReadyAPI(void* handle, vopRec* model);
QEL_EXPORT int qelCallSolver(void* handle);
QEL_EXPORT void qelFree(void** handle);

namespace {

// The link features the plug-in switches on and the option names the host sets them by. Features
// 2, 4 and 8 have no names in orla::LinkDef (the link carries out nothing for them); they are
// reached by their number.
orla::LinkDef qelLinkDef() {
  using P = orla::LinkDef::Plugin;
  using A = orla::LinkDef::PluginAttrib;
  orla::LinkDef def;
  def.enable(P::kMipCleanup);
  def.setName(A::kMipCleanup, "mipcleanup");
  def.setName(A::kFixOptFile, "fixoptfile");
  def.enable(P::kObjectives);
  def.setName(A::kMultipleObjectives, "multobj");
  def.setName(A::kObjectiveAbsTol, "objnabstol");
  def.setName(A::kObjectiveRelTol, "objnreltol");
  def.enable(P{4});
  def.enable(P{8});
  def.enable(P::kTrace);
  def.setName(A::kTraceFile, "miptrace");
  def.setName(A::kTraceNodeStep, "miptracenode");
  def.setName(A::kTraceTimeStep, "miptracetime");
  def.setName(A::kTraceIncumbent, "miptraceincumbent");
  def.enable(P::kStopExpression);
  def.setName(A::kStopExpression, "mipstopexpr");
  def.setName(A::kStopExpressionNodeStep, "mipstopexprnodestep");
  def.setName(A::kStopExpressionTimeStep, "mipstopexprtimestep");
  def.setName(A::kStopExpressionSolutionTol, "mipstopexprsolutiontol");
  def.setName(A::kStopExpressionVerbosity, "mipstopexprverbosity");
  def.enable(P{2});
  return def;
}

void qelFini() { orla::Link::finalize(); }

// Runs before every static initialiser of the library (priority 101 is the first a program may
// use), so the host-link library is ready before anything else of the plug-in exists. The option
// tables are then built by static initialisation, once. Registered from within the library,
// qelFini runs when the library is unloaded or the process ends, whichever comes first.
__attribute__((constructor(101))) void qelInit() {
  orla::Link::initialize();
  std::atexit(qelFini);
}

// The raw storage of one link; freed unless released to the handle.
class LinkStorage {
 public:
  LinkStorage() : address_(::operator new(sizeof(orla::Link))) {}
  ~LinkStorage() { ::operator delete(address_); }
  LinkStorage(const LinkStorage&) = delete;
  LinkStorage& operator=(const LinkStorage&) = delete;

  [[nodiscard]] void* get() const { return address_; }
  void release() { address_ = nullptr; }

 private:
  void* address_;
};

}  // namespace

QEL_EXPORT int qelCreate(void** handle, char* msgBuf, int msgBufLen) {
  try {
    if (handle == nullptr) throw std::invalid_argument("qelCreate needs a handle variable");
    // Declared in building order, so a failure destroys them in reverse: the solver, the
    // definition, the storage.
    LinkStorage storage;
    orla::LinkDef definition = qelLinkDef();
    std::shared_ptr<qel::Solver> solver = std::make_shared<qel::Solver>();
    auto* link = new (storage.get()) orla::Link(std::move(solver), std::move(definition));
    storage.release();
    *handle = link;
    return 0;
  } catch (const std::exception& e) {
    // A negative length would become a huge count; a null buffer has no room at all.
    if (msgBuf != nullptr && msgBufLen > 0) {
      std::strncpy(msgBuf, e.what(), static_cast<std::size_t>(msgBufLen));
    }
    return 1;
  }
}

QEL_EXPORT int qelReadyAPI(void* handle, vopRec* model) {
  if (handle == nullptr) return 1;
  return static_cast<orla::Link*>(handle)->readyAPI(model);
}

QEL_EXPORT int qelCallSolver(void* handle) {
  if (handle == nullptr) return 1;
  return static_cast<orla::Link*>(handle)->callSolver();
}

QEL_EXPORT void qelFree(void** handle) {
  if (handle == nullptr) return;
  if (auto* link = static_cast<orla::Link*>(*handle)) {
    link->~Link();
    ::operator delete(link);
  }
  *handle = nullptr;
}
