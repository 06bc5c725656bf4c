// A problem data record as a started solver holds it: problem, solution pool and enumerator made
// against the optimizer stand-in, and released again before the stand-in fixture's checks.
#ifndef TESTS_QEL_SOLVER_STARTED_DATA_TEST_HPP_
#define TESTS_QEL_SOLVER_STARTED_DATA_TEST_HPP_

#include <memory>

#include "qel/data.hpp"
#include "tests/support/standin_test.hpp"
#include "xprs_testing.hpp"

namespace qel_test {

class StartedDataTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    data_ = std::make_shared<qel::Data>();
    data_->prob = std::make_shared<qel::XpressProb>();
    data_->prob->start();
    data_->solPool = std::make_shared<qel::XpressSolPool>();
    data_->solEnum = std::make_shared<qel::XpressSolEnum>();
  }
  void TearDown() override {
    data_.reset();
    StandinTest::TearDown();
  }
  std::shared_ptr<qel::Data> data_;
};

}  // namespace qel_test

#endif  // TESTS_QEL_SOLVER_STARTED_DATA_TEST_HPP_
