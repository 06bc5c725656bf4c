// Problem data records made against the optimizer stand-in: `RecordTest` holds a record over a
// started problem, `StartedDataTest` adds the solution pool and enumerator a started solver
// makes. Both release the record before the stand-in fixture's checks.
#ifndef TESTS_QEL_STARTED_DATA_FIXTURE_HPP_
#define TESTS_QEL_STARTED_DATA_FIXTURE_HPP_

#include <memory>

#include "qel/data.hpp"
#include "tests/support/standin_test.hpp"

namespace qel_test {

class RecordTest : public xprs_test::StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    data_ = std::make_shared<qel::Data>();
    data_->prob = std::make_shared<qel::XpressProb>();
    data_->prob->start();
  }
  void TearDown() override {
    data_.reset();
    StandinTest::TearDown();
  }
  std::shared_ptr<qel::Data> data_;
};

class StartedDataTest : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    data_->solPool = std::make_shared<qel::XpressSolPool>();
    data_->solEnum = std::make_shared<qel::XpressSolEnum>();
  }
};

}  // namespace qel_test

#endif  // TESTS_QEL_STARTED_DATA_FIXTURE_HPP_
