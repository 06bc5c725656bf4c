// qel-options: lists the solver options the plug-in accepts, in their YAML form.
//
//   qel-options [--contains TEXT] [--name NAME] [--key KEY]
//
// Writes one YAML document to standard output: a sequence with one mapping per option, in table
// order (integer, double, string, then bit options), each holding the pairs "name", "ref",
// "n_max", "s_set", "def", "doc", "lo" and "up" as far as they differ from their defaults. The
// filters narrow the list and may be combined:
//   --contains TEXT  options whose name contains TEXT, without regard to case
//   --name NAME      the option called NAME, without regard to case
//   --key KEY        the option whose key is KEY
// Exit status: 0 when the list was written (also when --contains matches nothing), 1 when --name
// or --key names no option or the list cannot be written, 2 on a usage error.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "nuv/attr/abstract_base_info.hpp"
#include "nuv/yaml/registry.hpp"
#include "qel/solver_attribs.hpp"
#include "yaml_platform/reflect_io.hpp"
#include "yaml_platform/yaml_host.hpp"

namespace {

constexpr std::string_view kUsage =
    "usage: qel-options [--contains TEXT] [--name NAME] [--key KEY]\n"
    "Lists the solver options as YAML, one mapping per option.\n"
    "  --contains TEXT  options whose name contains TEXT, without regard to case\n"
    "  --name NAME      the option called NAME, without regard to case\n"
    "  --key KEY        the option whose key is KEY\n";

struct Filters {
  std::optional<std::string> contains;  // lower-cased
  const nuv::attr::AbstractBaseInfo* only = nullptr;
  bool onlyGiven = false;
};

std::string lowerCased(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return lower;
}

void printError(std::string_view message) {
  std::fprintf(stderr, "qel-options: %.*s\n", static_cast<int>(message.size()), message.data());
}

std::optional<int> parseKey(std::string_view text) {
  int key = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), key);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return key;
}

// Narrows `filters.only` to `row`; a second exact filter naming another row leaves no row.
void narrowTo(Filters& filters, const nuv::attr::AbstractBaseInfo* row) {
  if (filters.onlyGiven && filters.only != row) row = nullptr;
  filters.only = row;
  filters.onlyGiven = true;
}

bool matches(const Filters& filters, const nuv::attr::AbstractBaseInfo& row) {
  if (filters.onlyGiven && filters.only != &row) return false;
  if (filters.contains) {
    const auto name = row.name();
    if (!name || lowerCased(*name).find(*filters.contains) == std::string::npos) return false;
  }
  return true;
}

int run(int argc, char** argv) {
  Filters filters;
  for (int i = 1; i < argc; ++i) {
    const std::string_view flag = argv[i];
    if (flag == "--help" || flag == "-h") {
      std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
      return 0;
    }
    if (flag != "--contains" && flag != "--name" && flag != "--key") {
      printError(std::string("unknown argument '").append(flag).append("'"));
      std::fwrite(kUsage.data(), 1, kUsage.size(), stderr);
      return 2;
    }
    if (i + 1 == argc) {
      printError(std::string(flag).append(" needs a value"));
      return 2;
    }
    const std::string_view value = argv[++i];
    if (flag == "--contains") {
      filters.contains = lowerCased(value);
    } else if (flag == "--name") {
      const auto* row = qel::findSolverAttrib(value);
      if (row == nullptr) {
        printError(std::string("no option named '").append(value).append("'"));
        return 1;
      }
      narrowTo(filters, row);
    } else {
      const std::optional<int> key = parseKey(value);
      if (!key) {
        printError(std::string("'").append(value).append("' is not an option key"));
        return 2;
      }
      const auto* row = qel::findSolverAttrib(*key);
      if (row == nullptr) {
        printError(std::string("no option with key ").append(value));
        return 1;
      }
      narrowTo(filters, row);
    }
  }

  nuv::yaml::Registry registry;
  yaml_platform::EmitterHost host(registry, /*blockDepth=*/-1);
  host.streamStart();
  host.documentStart();
  host.sequenceStart();
  qel::forEachSolverAttrib([&](const auto& row) {
    if (matches(filters, row)) yaml_platform::writeMapping(host, row);
  });
  host.sequenceEnd();
  host.documentEnd();
  host.streamEnd();
  host.emitter().flush();
  const std::string& output = host.output();
  if (std::fwrite(output.data(), 1, output.size(), stdout) != output.size() ||
      std::fflush(stdout) != 0) {
    printError("cannot write the list");
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& error) {
    printError(error.what());
    return 1;
  }
}
