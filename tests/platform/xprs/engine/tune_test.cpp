// The tuner: its trials, the result file under the tuner output path, the settings and results
// it keeps, its time budget, interrupts and refusals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <xprs.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/mps_loader.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace {

using testing::HasSubstr;
using testing::StartsWith;

class TuneTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() /
           ("xprs_tune_test_" +
            std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    ASSERT_EQ(XPRSsetstrcontrol(prob_, XPRS_TUNEROUTPUTPATH, dir_.c_str()), 0);
    ASSERT_EQ(XPRSsetstrcontrol(prob_, XPRS_TUNERSESSIONNAME, "session"), 0);
    ASSERT_EQ(xprs_test::collectMessages(prob_, &log_), 0);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    StandinTest::TearDown();
  }
  // The result file's lines; fails the test unless the tuner recorded exactly this file.
  std::vector<std::string> resultLines() {
    const std::string path = (dir_ / "session" / "tuneresult.txt").string();
    const auto& files = xprs::testing::inspect(prob_).files;
    EXPECT_EQ(files.size(), 1u);
    if (!files.empty()) {
      EXPECT_EQ(files.back().function, "XPRStune");
      EXPECT_EQ(files.back().path, path);
    }
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  static std::vector<std::string> startingWith(const std::vector<std::string>& lines,
                                               const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& l : lines) {
      if (l.rfind(prefix, 0) == 0) out.push_back(l);
    }
    return out;
  }
  int intControl(int id) {
    int v = -99;
    EXPECT_EQ(XPRSgetintcontrol(prob_, id, &v), 0);
    return v;
  }
  std::filesystem::path dir_;
  std::vector<std::string> log_;
};

// The time written at the end of a trial line ("..., time 0.001234 s").
double timeOf(const std::string& line) {
  const std::size_t at = line.rfind("time ");
  return std::stod(line.substr(at + 5));
}

TEST_F(TuneTest, LpTrialsAreWrittenAndTheFastestSettingsKept) {
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  ASSERT_EQ(XPRStune(prob_, ""), 0) << lastError();
  const std::vector<std::string> lines = resultLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Tuner result for problem \"problem\"");
  EXPECT_EQ(lines[1], "Model: LP");
  EXPECT_EQ(lines[2], "Time budget: none");
  const std::vector<std::string> trials = startingWith(lines, "trial ");
  const std::vector<std::string> settings = {"own settings", "DEFAULTALG=2", "DEFAULTALG=3",
                                             "PRESOLVE=0"};
  ASSERT_EQ(trials.size(), settings.size());
  for (std::size_t k = 0; k < trials.size(); ++k) {
    SCOPED_TRACE(trials[k]);
    EXPECT_THAT(trials[k], StartsWith("trial " + std::to_string(k + 1) + ": " + settings[k] +
                                      ": completed, optimal, objective -464.75314285"));
  }
  ASSERT_THAT(lines.back(), StartsWith("best: trial "));
  const std::size_t best = std::stoul(lines.back().substr(12)) - 1;
  ASSERT_LT(best, trials.size());
  EXPECT_EQ(lines.back(), "best: trial " + std::to_string(best + 1) + ": " + settings[best]);
  for (const std::string& t : trials) EXPECT_LE(timeOf(trials[best]), timeOf(t));
  // The best trial's settings stay; the others' controls keep their defaults.
  EXPECT_EQ(intControl(XPRS_DEFAULTALG), best == 1 ? 2 : best == 2 ? 3 : 1);
  EXPECT_EQ(intControl(XPRS_PRESOLVE), best == 3 ? 0 : 1);
  EXPECT_EQ(intControl(XPRS_OUTPUTLOG), 1);
  EXPECT_EQ(xprs::testing::inspect(prob_).dblControls.count(XPRS_TIMELIMIT), 0u);
  // The problem holds the results of a run.
  int sol = -1;
  double obj = 0;
  ASSERT_EQ(XPRSgetintattrib(prob_, XPRS_SOLSTATUS, &sol), 0);
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJVAL, &obj), 0);
  EXPECT_EQ(sol, XPRS_SOLSTATUS_OPTIMAL);
  EXPECT_NEAR(obj, -464.753142857, 1e-6);
  EXPECT_EQ(xprs::testing::inspect(prob_).runs, 1);
  // The log names every trial and the choice, and none of the trials' own lines.
  EXPECT_EQ(startingWith(log_, "Tuner trial ").size(), 4u);
  EXPECT_THAT(log_, testing::Contains("Tuner: best is trial " + std::to_string(best + 1) + ": " +
                                      settings[best]));
  EXPECT_TRUE(startingWith(log_, "Optimisation finished").empty());
}

TEST_F(TuneTest, AnInterruptedTrialEndsTheTuningAndIsNotChosen) {
  xprs_test::load(prob_, xprs_test::readSample("p0033"));
  // Stops the trial that switches the cuts off, as soon as it starts.
  ASSERT_EQ(XPRSaddcbchecktime(
                prob_,
                [](XPRSprob cb, void*) {
                  int cuts = -1;
                  XPRSgetintcontrol(cb, XPRS_CUTSTRATEGY, &cuts);
                  if (cuts == 0) XPRSinterrupt(cb, XPRS_STOP_USER);
                  return 0;
                },
                nullptr, 0),
            0);
  ASSERT_EQ(XPRStune(prob_, ""), 0) << lastError();
  const std::vector<std::string> lines = resultLines();
  const std::vector<std::string> trials = startingWith(lines, "trial ");
  ASSERT_EQ(trials.size(), 2u);
  EXPECT_THAT(trials[0], StartsWith("trial 1: own settings: completed, optimal, objective 3089,"));
  EXPECT_THAT(trials[1], StartsWith("trial 2: CUTSTRATEGY=0: stopped, "));
  EXPECT_EQ(lines.back(), "best: trial 1: own settings");
  EXPECT_EQ(lines[1], "Model: MIP");
  EXPECT_EQ(intControl(XPRS_CUTSTRATEGY), -1);
  EXPECT_THAT(log_, testing::Contains("Tuner: interrupted"));
  double obj = 0;
  ASSERT_EQ(XPRSgetdblattrib(prob_, XPRS_OBJVAL, &obj), 0);
  EXPECT_NEAR(obj, 3089, 1e-6);
}

TEST_F(TuneTest, NoTrialStartsOnceTheBudgetIsSpent) {
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  ASSERT_EQ(XPRSsetdblcontrol(prob_, XPRS_TUNERMAXTIME, 1e-9), 0);
  ASSERT_EQ(XPRStune(prob_, ""), 0) << lastError();
  EXPECT_EQ(startingWith(resultLines(), "trial ").size(), 1u);
  EXPECT_THAT(log_, testing::Contains("Tuner: time limit reached"));
  EXPECT_EQ(xprs::testing::inspect(prob_).dblControls.count(XPRS_TIMELIMIT), 0u);
}

TEST_F(TuneTest, OutputSwitchedOffWritesNoFileAndFlagsAreRefused) {
  xprs_test::load(prob_, xprs_test::readSample("afiro"));
  ASSERT_EQ(XPRSsetintcontrol(prob_, XPRS_TUNEROUTPUT, 0), 0);
  ASSERT_EQ(XPRStune(prob_, ""), 0) << lastError();
  EXPECT_TRUE(xprs::testing::inspect(prob_).files.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_));
  EXPECT_EQ(XPRStune(prob_, "l"), 32);
  EXPECT_EQ(lastError(), "XPRStune: unsupported flag 'l'");
  EXPECT_THAT(log_, testing::Contains("XPRStune: unsupported flag 'l'"));
}

}  // namespace
