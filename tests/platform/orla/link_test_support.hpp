// Shared set-up of the host-link tests: the library initialised, a solver double, and the link
// definition a plug-in gives (every feature this link carries out, named as hosts name them).
#ifndef TESTS_PLATFORM_ORLA_LINK_TEST_SUPPORT_HPP_
#define TESTS_PLATFORM_ORLA_LINK_TEST_SUPPORT_HPP_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "orla/link.hpp"
#include "orla/vop_rec.hpp"
#include "tests/support/solver_double.hpp"

namespace orla_test {

inline orla::LinkDef fullDefinition() {
  using P = orla::LinkDef::Plugin;
  using A = orla::LinkDef::PluginAttrib;
  orla::LinkDef d;
  d.enable(P{1});
  d.setName(A{1}, "mipcleanup");
  d.setName(A{2}, "fixoptfile");
  d.enable(P{3});
  d.setName(A{4}, "multobj");
  d.setName(A{5}, "objnabstol");
  d.setName(A{6}, "objnreltol");
  d.enable(P{9});
  d.setName(A{17}, "miptrace");
  d.setName(A{18}, "miptracenode");
  d.setName(A{19}, "miptracetime");
  d.setName(A{20}, "miptraceincumbent");
  d.enable(P{10});
  d.setName(A{21}, "mipstopexpr");
  return d;
}

inline vopRec::Column column(std::string name, double lower, double upper,
                             vopRec::ColumnType type = vopRec::ColumnType::kContinuous) {
  vopRec::Column c;
  c.name = std::move(name);
  c.lower = lower;
  c.upper = upper;
  c.type = type;
  return c;
}

inline vopRec::Row row(std::string name, double lower, double upper,
                       std::vector<vopRec::Term> terms) {
  vopRec::Row r;
  r.name = std::move(name);
  r.lower = lower;
  r.upper = upper;
  r.terms = std::move(terms);
  return r;
}

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override { orla::Link::initialize(); }
  void TearDown() override { orla::Link::finalize(); }

  // Hands the model over and calls the solver once; the callSolver result.
  int run(vopRec& model, const orla::LinkDef& definition = fullDefinition()) {
    orla::Link link(solver_, definition);
    EXPECT_EQ(link.readyAPI(&model), 0);
    return link.callSolver();
  }

  std::shared_ptr<qel_test::SolverDouble> solver_ = std::make_shared<qel_test::SolverDouble>();
};

}  // namespace orla_test

#endif  // TESTS_PLATFORM_ORLA_LINK_TEST_SUPPORT_HPP_
