// Runs the qel-options tool as a user would and reads its output back as YAML.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nuv/attr/abstract_base_info.hpp"
#include "nuv/yaml/event.hpp"
#include "nuv/yaml/parser.hpp"
#include "nuv/yaml/registry.hpp"
#include "qel/solver_attribs.hpp"
#include "yaml_platform/reflect_io.hpp"
#include "yaml_platform/yaml_host.hpp"

namespace {

using nuv::attr::lib::Info;
using nuv::attr::lib::RangeInfo;
using nuv::yaml::EventType;

struct ToolRun {
  std::string out;
  int status = -1;
};

// Runs the tool with the given arguments (plain words, no shell quoting needed) and collects its
// standard output and exit status; standard error is discarded.
ToolRun runTool(std::string_view arguments) {
  std::string command("'" QEL_OPTIONS_TOOL "' ");
  command.append(arguments).append(" 2>/dev/null");
  ToolRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  std::size_t read = 0;
  while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    run.out.append(buffer.data(), read);
  }
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Read through the interface: a null name view comes out as an empty text.
std::string nameOf(const nuv::attr::AbstractBaseInfo& row) {
  const auto name = row.name();
  return name ? *name : std::string();
}

// Empty descriptions of each kind for the reader to fill.
RangeInfo<int> blankLike(const RangeInfo<int>&) {
  return {"", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {}};
}
RangeInfo<double> blankLike(const RangeInfo<double>&) {
  return {"", 1, true, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {}};
}
template <class T>
Info<T> blankLike(const Info<T>&) {
  return {"", 1, true, std::nullopt, std::nullopt, {}};
}

template <class T>
void expectSameBounds(const RangeInfo<T>& read, const RangeInfo<T>& row) {
  const T extremes[] = {std::numeric_limits<T>::lowest(), std::numeric_limits<T>::max(),
                        std::numeric_limits<T>::has_infinity ? std::numeric_limits<T>::infinity()
                                                             : std::numeric_limits<T>::max(),
                        std::numeric_limits<T>::has_infinity ? -std::numeric_limits<T>::infinity()
                                                             : std::numeric_limits<T>::lowest()};
  for (T value : extremes) EXPECT_EQ(read.supportsValue(value), row.supportsValue(value));
  EXPECT_EQ(read.propIsDefault("lo"), row.propIsDefault("lo"));
  EXPECT_EQ(read.propIsDefault("up"), row.propIsDefault("up"));
}
template <class T>
void expectSameBounds(const Info<T>&, const Info<T>&) {}

// Output of the whole list, read back mapping by mapping into blank descriptions, equals the
// tables row for row.
TEST(QelOptionsToolTest, ListsEveryOptionAsYamlThatReadsBackToTheSameRows) {
  const ToolRun run = runTool("");
  ASSERT_EQ(run.status, 0);
  nuv::yaml::Registry registry;
  yaml_platform::ParserHost host(run.out, registry);
  nuv::yaml::Parser& parser = host.parser();
  (void)parser.parse(EventType::StreamStart);
  (void)parser.parse(EventType::DocumentStart);
  (void)parser.parse(EventType::ListStart);
  std::size_t mappings = 0;
  qel::forEachSolverAttrib([&](const auto& row) {
    const std::string name = nameOf(row);
    SCOPED_TRACE(name);
    auto read = blankLike(row);
    ASSERT_NO_THROW(yaml_platform::readMapping(parser, read));
    ++mappings;
    EXPECT_EQ(nameOf(read), name);
    EXPECT_EQ(read.ref(), row.ref());
    EXPECT_EQ(read.maxElemCount(), row.maxElemCount());
    EXPECT_EQ(read.supportsSet(), row.supportsSet());
    ASSERT_EQ(read.supportsDefault(), row.supportsDefault());
    if (row.supportsDefault()) {
      EXPECT_EQ(read.getDefault(), row.getDefault());
    }
    expectSameBounds(read, row);
  });
  EXPECT_EQ(mappings, 761u);
  EXPECT_NO_THROW((void)parser.parse(EventType::ListEnd));
  EXPECT_NO_THROW((void)parser.parse(EventType::DocumentEnd));
  EXPECT_NO_THROW((void)parser.parse(EventType::StreamEnd));
}

TEST(QelOptionsToolTest, WritesTheOptionsMappingExactly) {
  struct Case {
    std::string_view arguments;
    std::string out;
  };
  const Case cases[] = {
      {"--name advbasis", "- name: advbasis\n  ref: 1010100\n  def: 1\n  lo: 0\n  up: 2\n"},
      {"--name SOLNPOOLCULLROUNDS",
       "- name: solnpoolcullrounds\n  ref: 1060100\n  def: 999999999\n"},
      {"--key 70030200", "- name: feasTol\n  ref: 70030200\n  def: 1e-06\n  lo: 0\n"},
      {"--key 71580200", "- name: timeLimit\n  ref: 71580200\n  def: 1e+20\n  lo: 0\n"},
      {"--name basisout", "- name: basisout\n  ref: 1120300\n"},
      {"--name tunerMethodFile", "- name: tunerMethodFile\n  ref: 60170300\n  def: ''\n"},
      {"--name presolveOps_singletonColRemoval",
       "- name: presolveOps_singletonColRemoval\n  ref: 80770401\n  def: 1\n"},
      {"--key 123040402", "- name: xslp_cascade_coefVar\n  ref: 123040402\n  def: 0\n"},
      {"--name feasTol --key 70030200",
       "- name: feasTol\n  ref: 70030200\n  def: 1e-06\n  lo: 0\n"},
      {"--name feasTol --key 1010100", "[]\n"},
      {"--contains no-such-option", "[]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const ToolRun run = runTool(c.arguments);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, c.out);
  }
}

std::vector<std::string> listedNames(const std::string& out) {
  std::vector<std::string> names;
  constexpr std::string_view kPrefix = "- name: ";
  std::size_t at = 0;
  while ((at = out.find(kPrefix, at)) != std::string::npos) {
    at += kPrefix.size();
    names.emplace_back(out.substr(at, out.find('\n', at) - at));
  }
  return names;
}

TEST(QelOptionsToolTest, FiltersByNameSubstringWithoutRegardToCase) {
  const std::vector<std::string> expected = {
      "feasTol",        "feasTolPerturb",    "feasTolTarget",   "xslp_feasTolTarget",
      "knitro_feastol", "knitro_feastolabs", "knitro_infeastol"};
  for (std::string_view arguments : {"--contains feastol", "--contains FEASTOL"}) {
    SCOPED_TRACE(arguments);
    const ToolRun run = runTool(arguments);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(listedNames(run.out), expected);
  }
  const ToolRun bits = runTool("--contains cutselect_");
  EXPECT_EQ(listedNames(bits.out).size(), 26u);  // cutSelect and treeCutSelect, 13 bits each
  const ToolRun narrowed = runTool("--contains feastol --name knitro_FEASTOL");
  EXPECT_EQ(listedNames(narrowed.out), std::vector<std::string>{"knitro_feastol"});
}

TEST(QelOptionsToolTest, RefusesUnknownOptionsAndBadArguments) {
  struct Case {
    std::string_view arguments;
    int status;
  };
  const Case cases[] = {
      {"--name noSuchOption", 1},
      {"--key 10000100", 1},  // refId 1000 names no option
      {"--key -1", 1},
      {"--key 12x", 2},
      {"--key", 2},
      {"--colour red", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const ToolRun run = runTool(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
