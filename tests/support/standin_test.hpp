// The fixture of every test that runs against the optimizer stand-in: the library initialised,
// a fresh problem in prob_, a clean journal and failure list. TearDown destroys prob_ (when not
// null), releases the library and expects no problem left alive, no call on a dead or unknown
// handle (unless expectMisuse_ is set) and a balanced initialisation count. A derived fixture
// that holds problems of its own releases them before it calls StandinTest::TearDown.
#ifndef TESTS_SUPPORT_STANDIN_TEST_HPP_
#define TESTS_SUPPORT_STANDIN_TEST_HPP_

#include <gtest/gtest.h>
#include <xprs.h>

#include <string>
#include <vector>

namespace xprs_test {

// Adds a message callback to prob that appends the text of each message to *lines; returns
// what XPRSaddcbmessage returns.
[[nodiscard]] int collectMessages(XPRSprob prob, std::vector<std::string>* lines);

// Loads min x subject to one range row 2 <= x <= 10 (rhs 10, range 8) into an empty problem.
void loadRangeRowModel(XPRSprob prob);

class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The last error text of prob_.
  [[nodiscard]] std::string lastError() const;
  XPRSprob prob_ = nullptr;
  bool expectMisuse_ = false;
};

}  // namespace xprs_test

#endif  // TESTS_SUPPORT_STANDIN_TEST_HPP_
