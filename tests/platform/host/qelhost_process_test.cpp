// The qelhost program run as a user runs it, with the plug-in and the optimizer stand-in: Ctrl-C
// during a solve, and the reason of a failed solve on standard error.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/platform/host/temp_files.hpp"

extern char** environ;

namespace qelhost_test {
namespace {

using ::testing::HasSubstr;

constexpr int kRows = 4;
constexpr int kColumns = 30;

// A market split problem: binaries x, sum a_ij x_j + p_i - m_i = d_i with d_i half the row's sum,
// minimise the slacks. Branch-and-bound needs far longer than the test waits.
std::vector<std::vector<int>> marketSplit() {
  std::minstd_rand random(7);
  std::vector<std::vector<int>> a(kRows, std::vector<int>(kColumns));
  for (auto& row : a) {
    for (int& v : row) v = static_cast<int>(random() % 100);
  }
  return a;
}

int target(const std::vector<int>& row) {
  int sum = 0;
  for (const int v : row) sum += v;
  return sum / 2;
}

std::string lpText(const std::vector<std::vector<int>>& a) {
  std::ostringstream lp;
  lp << "Minimize\n obj: p0 + m0 + p1 + m1 + p2 + m2 + p3 + m3\nSubject To\n";
  for (int i = 0; i < kRows; ++i) {
    lp << " c" << i << ":";
    for (int j = 0; j < kColumns; ++j) lp << " + " << a[i][j] << " x" << j;
    lp << " + p" << i << " - m" << i << " = " << target(a[i]) << "\n";
  }
  lp << "Binaries\n";
  for (int j = 0; j < kColumns; ++j) lp << " x" << j;
  lp << "\nEnd\n";
  return lp.str();
}

struct Outcome {
  int status = -1;  // as waitpid gives it
  std::string out;
  std::string err;
};

class QelhostProcessTest : public ::testing::Test {
 protected:
  // Runs qelhost with the arguments; once its standard output holds `signalAfter` (never when
  // empty), sends it SIGINT.
  Outcome run(const std::vector<std::string>& arguments, const std::string& signalAfter = {}) {
    std::vector<char*> argv{const_cast<char*>(QELHOST_PATH)};
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int out[2];
    EXPECT_EQ(pipe(out), 0);
    const std::string errFile = files_.path("err.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    EXPECT_EQ(posix_spawn(&child, QELHOST_PATH, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    Outcome o;
    bool signalled = signalAfter.empty();
    char block[4096];
    for (ssize_t n; (n = read(out[0], block, sizeof block)) > 0;) {
      o.out.append(block, static_cast<std::size_t>(n));
      if (!signalled && o.out.find(signalAfter) != std::string::npos) {
        signalled = true;
        kill(child, SIGINT);
      }
    }
    close(out[0]);
    waitpid(child, &o.status, 0);
    o.err = files_.read("err.txt");
    return o;
  }

  TempFiles files_;
};

TEST_F(QelhostProcessTest, CtrlCDuringAMipEndsWithStatusBestSolutionSummaryAndCsv) {
  const auto a = marketSplit();
  const std::string model = files_.write("split.lp", lpText(a));
  const std::string csv = files_.path("split.csv");
  // The time limit only bounds a run whose interrupt is lost.
  const Outcome o = run({model, "outputlog=1", "timelimit=30", "--solution", csv},
                        /*signalAfter=*/"Integer solution");
  ASSERT_TRUE(WIFEXITED(o.status)) << o.status;
  EXPECT_EQ(WEXITSTATUS(o.status), 0);
  EXPECT_EQ(o.err, "");
  EXPECT_THAT(o.out, HasSubstr("\nstatus: user_interrupt\nobjective: "));
  EXPECT_THAT(o.out, HasSubstr("\nsolution status: feasible\n"));
  EXPECT_THAT(o.out, HasSubstr("\ncolumn  value"));

  // The CSV holds a solution of the model, and the summary its objective.
  std::istringstream lines(files_.read("split.csv"));
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "kind,name,value,marginal");
  std::map<std::string, double> value;
  int rows = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string kind, name, number;
    std::getline(fields, kind, ',');
    std::getline(fields, name, ',');
    std::getline(fields, number, ',');
    if (kind == "row") ++rows;
    if (kind == "column") value[name] = std::stod(number);
  }
  ASSERT_EQ(value.size(), static_cast<std::size_t>(kColumns + 2 * kRows));
  EXPECT_EQ(rows, kRows);
  double slacks = 0.0;
  for (int i = 0; i < kRows; ++i) {
    const std::string k = std::to_string(i);
    double activity = value["p" + k] - value["m" + k];
    for (int j = 0; j < kColumns; ++j) {
      const double x = value["x" + std::to_string(j)];
      EXPECT_TRUE(x == 0.0 || x == 1.0) << "x" << j << " = " << x;
      activity += a[i][j] * x;
    }
    EXPECT_NEAR(activity, target(a[i]), 1e-6) << "row c" << i;
    slacks += value["p" + k] + value["m" + k];
  }
  std::ostringstream objective;
  objective << "\nobjective: " << slacks << "\n";
  EXPECT_THAT(o.out, HasSubstr(objective.str()));
}

TEST_F(QelhostProcessTest, FailedSolveSaysWhyOnStandardErrorWhateverTheLogShows) {
  // A quadratic objective that is not convex: the optimizer refuses to solve it.
  const std::string model = files_.write("concave.mps",
                                         "NAME          CONCAVE\n"
                                         "ROWS\n"
                                         " N  obj\n"
                                         " L  c1\n"
                                         "COLUMNS\n"
                                         "    x         obj       1.0        c1        1.0\n"
                                         "RHS\n"
                                         "    rhs       c1        4.0\n"
                                         "BOUNDS\n"
                                         " UP bnd       x         4.0\n"
                                         "QUADOBJ\n"
                                         "    x         x         -2.0\n"
                                         "ENDATA\n");
  for (const char* log : {"outputlog=0", "outputlog=1"}) {
    SCOPED_TRACE(log);
    const Outcome o = run({model, log});
    ASSERT_TRUE(WIFEXITED(o.status)) << o.status;
    EXPECT_EQ(WEXITSTATUS(o.status), 2);
    EXPECT_EQ(o.err,
              "qelhost: error: Xpress: XPRSoptimize: the objective Hessian is not positive "
              "semi-definite\n");
    EXPECT_THAT(o.out, HasSubstr("status: solver_error\n"));
  }
}

}  // namespace
}  // namespace qelhost_test
