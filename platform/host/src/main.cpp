// qelhost: solves a model file with the solver plug-in (see host.hpp and usage()).
#include <unistd.h>

#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "host.hpp"

namespace {

// The directory of this program, so that the build's plug-in and option listing are found
// wherever the build tree lies.
std::string programDirectory() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string text(path, static_cast<std::size_t>(n));
  return text.substr(0, text.find_last_of('/'));
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const std::string dir = programDirectory();
  const qelhost::Paths paths{dir + "/../lib/libqellink64.so", dir + "/qel-options"};
  return qelhost::run(arguments, paths, std::cout, std::cerr);
}
