#include "plugin.hpp"

#include <dlfcn.h>

#include <stdexcept>

namespace qelhost {
namespace {

template <class F>
F symbol(void* library, const std::string& path, const char* name) {
  void* address = dlsym(library, name);
  if (address == nullptr) {
    dlclose(library);
    throw std::runtime_error("the plug-in '" + path + "' has no function " + name);
  }
  return reinterpret_cast<F>(address);
}

}  // namespace

Plugin::Plugin(const std::string& path) : library_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (library_ == nullptr) {
    const char* why = dlerror();
    throw std::runtime_error("cannot load the plug-in: " + std::string(why ? why : path));
  }
  create = symbol<Create>(library_, path, "qelCreate");
  readyApi = symbol<ReadyApi>(library_, path, "qelReadyAPI");
  callSolver = symbol<CallSolver>(library_, path, "qelCallSolver");
  free = symbol<Free>(library_, path, "qelFree");
}

Plugin::~Plugin() { dlclose(library_); }

}  // namespace qelhost
