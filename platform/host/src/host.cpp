#include "host.hpp"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "model_reader.hpp"
#include "orla/vop_rec.hpp"
#include "plugin.hpp"
#include "report.hpp"

extern char** environ;

namespace qelhost {
namespace {

struct Arguments {
  std::string plugin;
  std::string solution;
  std::string model;
  std::vector<vopRec::Option> options;
};

// Runs the option listing with the given arguments; its standard output goes to out.
int listOptions(const std::string& tool, std::span<const std::string> arguments, std::ostream& out,
                std::ostream& err) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(tool.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    err << "qelhost: cannot list the options: " << std::strerror(errno) << '\n';
    return 2;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, tool.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    err << "qelhost: cannot run '" << tool << "': " << std::strerror(spawned) << '\n';
    return 2;
  }
  std::array<char, 4096> block;
  for (ssize_t n; (n = read(pipeEnds[0], block.data(), block.size())) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    out.write(block.data(), n);
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

// Frees the handle on every path.
class Handle {
 public:
  Handle(const Plugin& plugin, void* handle) : plugin_(plugin), handle_(handle) {}
  ~Handle() { plugin_.free(&handle_); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  [[nodiscard]] void* get() const { return handle_; }

 private:
  const Plugin& plugin_;
  void* handle_;
};

// Loads, solves and frees; false after a failure, which is then reported on err.
bool solve(const std::string& pluginPath, vopRec& model, std::ostream& err) {
  const Plugin plugin(pluginPath);
  void* created = nullptr;
  std::array<char, 512> buffer{};
  if (plugin.create(&created, buffer.data(), static_cast<int>(buffer.size())) != 0) {
    // The text fills the buffer without a terminator when it is as long as the buffer.
    err << "qelhost: the solver cannot be created: "
        << std::string_view(buffer.data(), strnlen(buffer.data(), buffer.size())) << '\n';
    return false;
  }
  int result = 0;
  {
    const Handle handle(plugin, created);
    result = plugin.readyApi(handle.get(), &model);
    if (result == 0) result = plugin.callSolver(handle.get());
  }
  for (const std::string& message : model.messages) err << "qelhost: " << message << '\n';
  if (result != 0 && model.messages.empty()) err << "qelhost: the solver failed\n";
  return result == 0;
}

}  // namespace

const char* usage() {
  return "usage: qelhost [--plugin LIB] [--solution FILE] MODEL [NAME=VALUE]...\n"
         "       qelhost --options [--contains TEXT] [--name NAME] [--key KEY]\n"
         "       qelhost --help\n"
         "Solves MODEL, an .mps or .lp file, with the solver plug-in: shows the optimizer's log,\n"
         "then prints the solve status, the objective value, the value and reduced cost of\n"
         "every column and the activity and dual of every row.\n"
         "  NAME=VALUE       sets a solver option; names are matched in any case\n"
         "  --solution FILE  also writes the columns and rows as CSV to FILE\n"
         "  --plugin LIB     the plug-in library (default: lib/libqellink64.so of the build)\n"
         "  --options        lists the solver options as YAML, narrowed by the filters\n"
         "Exit status: 0 solved, 1 no solution (infeasible, unbounded, or a limit reached\n"
         "without one), 2 error.\n";
}

int run(std::span<const std::string> arguments, const Paths& paths, std::ostream& out,
        std::ostream& err) {
  Arguments a;
  a.plugin = paths.plugin;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    if (arg == "--help" || arg == "-h") {
      out << usage();
      return 0;
    }
    if (arg == "--options")
      return listOptions(paths.optionsTool, arguments.subspan(i + 1), out, err);
    if (arg == "--plugin" || arg == "--solution") {
      if (i + 1 == arguments.size()) {
        err << "qelhost: " << arg << " needs a value\n";
        return 2;
      }
      (arg == "--plugin" ? a.plugin : a.solution) = arguments[++i];
    } else if (arg.rfind("--", 0) == 0) {
      err << "qelhost: unknown argument '" << arg << "'\n" << usage();
      return 2;
    } else if (a.model.empty()) {
      a.model = arg;
    } else {
      const auto equals = arg.find('=');
      if (equals == std::string::npos || equals == 0) {
        err << "qelhost: '" << arg << "' is not an option setting NAME=VALUE\n";
        return 2;
      }
      a.options.push_back({arg.substr(0, equals), arg.substr(equals + 1)});
    }
  }
  if (a.model.empty()) {
    err << "qelhost: no model file given\n" << usage();
    return 2;
  }
  vopRec model;
  try {
    model = readModel(a.model);
    model.options = a.options;
    model.log = [&out](std::string_view text) { out << text << std::flush; };
    if (!solve(a.plugin, model, err)) return 2;
  } catch (const std::exception& e) {
    err << "qelhost: " << e.what() << '\n';
    return 2;
  }
  writeSummary(out, model);
  if (!a.solution.empty()) {
    std::ofstream file(a.solution);
    writeSolutionCsv(file, model);
    if (!file.flush()) {
      err << "qelhost: cannot write '" << a.solution << "'\n";
      return 2;
    }
  }
  return exitStatus(model.results);
}

}  // namespace qelhost
