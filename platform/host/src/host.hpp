// qelhost, the command-line host: reads a model file and options, hands them to the solver
// plug-in through its four exported functions, shows the optimizer's log as it is written
// and prints the results.
#ifndef PLATFORM_HOST_SRC_HOST_HPP_
#define PLATFORM_HOST_SRC_HOST_HPP_

#include <ostream>
#include <span>
#include <string>

namespace qelhost {

struct Paths {
  std::string plugin;       // the plug-in library unless --plugin is given
  std::string optionsTool;  // the program that lists the options (qel-options)
};

// The whole program: arguments without the program name; results and the log go to out,
// messages to err. Returns the exit status (see usage()).
int run(std::span<const std::string> arguments, const Paths& paths, std::ostream& out,
        std::ostream& err);

[[nodiscard]] const char* usage();

}  // namespace qelhost

#endif  // PLATFORM_HOST_SRC_HOST_HPP_
