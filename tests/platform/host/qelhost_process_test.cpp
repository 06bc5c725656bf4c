// The qelhost program run as a user runs it, with the plug-in and the optimizer stand-in: the
// reason of a failed solve on standard error.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/platform/host/temp_files.hpp"

extern char** environ;

namespace qelhost_test {
namespace {

using ::testing::HasSubstr;

struct Outcome {
  int status = -1;  // as waitpid gives it
  std::string out;
  std::string err;
};

class QelhostProcessTest : public ::testing::Test {
 protected:
  // Runs qelhost with the arguments.
  Outcome run(const std::vector<std::string>& arguments) {
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
    char block[4096];
    for (ssize_t n; (n = read(out[0], block, sizeof block)) > 0;) {
      o.out.append(block, static_cast<std::size_t>(n));
    }
    close(out[0]);
    waitpid(child, &o.status, 0);
    o.err = files_.read("err.txt");
    return o;
  }

  TempFiles files_;
};

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
