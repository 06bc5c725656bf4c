// Whole runs of qelhost, in process, through a plug-in made of the host link and the solver
// double (its runs scripted through the plug-in's hook).
#include "host.hpp"

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "orla/testing.hpp"
#include "report.hpp"
#include "tests/platform/host/temp_files.hpp"
#include "tests/support/solver_double.hpp"

namespace qelhost_test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr const char* kLp = "Minimize\n cost: 2 x + 3 y\nSubject To\n demand: x + y >= 4\nEnd\n";

struct Outcome {
  int exit = -1;
  std::string out;
  std::string err;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Held open, so that the plug-in qelhost loads is this one, with its script.
    plugin_ = dlopen(QELHOST_DOUBLE_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(plugin_, nullptr) << dlerror();
    model_ = files_.write("model.lp", kLp);
  }
  void TearDown() override { dlclose(plugin_); }

  void script(std::vector<qel_test::DoubleRun> runs) {
    using Script = void (*)(const std::vector<qel_test::DoubleRun>*);
    reinterpret_cast<Script>(dlsym(plugin_, "qelDoubleScript"))(&runs);
  }
  const qel_test::SolverDouble& lastSolver() {
    using Last = const qel_test::SolverDouble* (*)();
    return *reinterpret_cast<Last>(dlsym(plugin_, "qelDoubleSolver"))();
  }
  Outcome run(std::vector<std::string> arguments, std::string optionsTool = QEL_OPTIONS_TOOL) {
    std::ostringstream out;
    std::ostringstream err;
    const int exit =
        qelhost::run(arguments, {QELHOST_DOUBLE_PLUGIN, std::move(optionsTool)}, out, err);
    return {exit, out.str(), err.str()};
  }

  TempFiles files_;
  std::string model_;
  void* plugin_ = nullptr;
};

TEST_F(HostTest, SolvesShowingTheLogFirstThenTheSummaryAndWritesCsv) {
  script({{.objective = 7.0, .log = {"double: solving"}}});
  const Outcome o = run({model_, "maxnode=5", "--solution", files_.path("out.csv")});
  EXPECT_EQ(o.exit, 0);
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.out,
            "double: solving\n"
            "status: normal_completion\n"
            "objective: 7\n"
            "solution status: optimal\n"
            "iterations: 7\n"
            "nodes: 0\n"
            "time: 0.25\n"
            "\n"
            "column  value  reduced cost\n"
            "x       0      1000\n"
            "y       0      1001\n"
            "\n"
            "row     activity  dual\n"
            "demand  0         100\n");
  EXPECT_EQ(files_.read("out.csv"),
            "kind,name,value,marginal\ncolumn,x,0,1000\ncolumn,y,0,1001\nrow,demand,0,100\n");
  EXPECT_EQ(lastSolver().option("MaxNode"), "5");
}

TEST_F(HostTest, ExitStatusFollowsTheOutcome) {
  struct Case {
    const char* what;
    qel_test::DoubleRun run;
    int exit;
  };
  using S = nuv::opt::SolveStatus;
  const Case cases[] = {
      {"infeasible", {.status = S::infeasible, .solution = false}, 1},
      {"time limit without solution", {.status = S::time_limit, .solution = false}, 1},
      {"time limit with solution", {.status = S::time_limit}, 0},
      {"numerical error", {.status = S::numerical_error, .solution = false}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    script({c.run});
    const Outcome o = run({model_});
    EXPECT_EQ(o.exit, c.exit);
    EXPECT_THAT(
        o.out,
        StartsWith("status: " + std::string(qelhost::statusName(static_cast<int>(c.run.status)))));
  }
}

TEST_F(HostTest, ReportsFailuresWithExitStatus2) {
  script({{}});
  struct Case {
    std::vector<std::string> arguments;
    testing::Matcher<std::string> err;
  };
  const std::string badModel = files_.write("bad.txt", "");
  const Case cases[] = {
      {{}, "qelhost: no model file given\n" + std::string(qelhost::usage())},
      {{"--bogus"}, "qelhost: unknown argument '--bogus'\n" + std::string(qelhost::usage())},
      {{model_, "--solution"}, "qelhost: --solution needs a value\n"},
      {{model_, "feastol"}, "qelhost: 'feastol' is not an option setting NAME=VALUE\n"},
      {{model_, "=3"}, "qelhost: '=3' is not an option setting NAME=VALUE\n"},
      {{model_, "nope=1"}, "qelhost: error: unknown option 'nope'\n"},
      {{badModel},
       "qelhost: cannot read '" + badModel + "': the file name must end in .mps or .lp\n"},
      {{"--plugin", QELHOST_ORLA_LIBRARY, model_},
       "qelhost: the plug-in '" + std::string(QELHOST_ORLA_LIBRARY) +
           "' has no function qelCreate\n"},
      {{"--plugin", files_.path("none.so"), model_},
       StartsWith("qelhost: cannot load the plug-in: ")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    const Outcome o = run(c.arguments);
    EXPECT_EQ(o.exit, 2);
    EXPECT_THAT(o.err, c.err);
    EXPECT_EQ(o.out, "");
  }
}

TEST_F(HostTest, PrintsAFailedCreationsUnterminatedBufferWithinItsLength) {
  // The first is longer than the host's 512-byte buffer: the plug-in fills it with no terminator.
  for (const std::string& text : {std::string(512, 'x') + "tail", std::string("short")}) {
    orla::testing::failNextLink(text);
    const Outcome o = run({model_});
    EXPECT_EQ(o.exit, 2);
    EXPECT_EQ(o.err, "qelhost: the solver cannot be created: " + text.substr(0, 512) + "\n");
  }
}

TEST_F(HostTest, HelpAndOptionListing) {
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.exit, 0);
  EXPECT_EQ(help.out, qelhost::usage());
  const Outcome one = run({"--options", "--name", "FEASTOL"});
  EXPECT_EQ(one.exit, 0);
  EXPECT_THAT(one.out, HasSubstr("- name: feasTol\n"));
  const Outcome some = run({"--options", "--contains", "SOLNPOOLCULL"});
  EXPECT_EQ(some.exit, 0);
  EXPECT_THAT(some.out, HasSubstr("- name: solnpoolcullrounds\n"));
  EXPECT_THAT(some.out, HasSubstr("- name: solnpoolCullObj\n"));
  EXPECT_THAT(some.out, Not(HasSubstr("- name: feasTol\n")));
  const Outcome noTool = run({"--options"}, files_.path("qel-options"));
  EXPECT_EQ(noTool.exit, 2);
  EXPECT_EQ(noTool.err, "qelhost: cannot run '" + files_.path("qel-options") +
                            "': No such file or directory\n");
}

}  // namespace
}  // namespace qelhost_test
