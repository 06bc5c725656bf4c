// The solver plug-in, loaded with dlopen: its four exported functions, unloaded again when
// the object is destroyed.
#ifndef PLATFORM_HOST_SRC_PLUGIN_HPP_
#define PLATFORM_HOST_SRC_PLUGIN_HPP_

#include <string>

struct vopRec;

namespace qelhost {

class Plugin {
 public:
  using Create = int (*)(void** handle, char* msgBuf, int msgBufLen);
  using ReadyApi = int (*)(void* handle, vopRec* model);
  using CallSolver = int (*)(void* handle);
  using Free = void (*)(void** handle);

  // Raises std::runtime_error when the library cannot be loaded or lacks one of the functions.
  explicit Plugin(const std::string& path);
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  Create create = nullptr;
  ReadyApi readyApi = nullptr;
  CallSolver callSolver = nullptr;
  Free free = nullptr;

 private:
  void* library_ = nullptr;
};

}  // namespace qelhost

#endif  // PLATFORM_HOST_SRC_PLUGIN_HPP_
