// Shared by the adder tests: a record over a started stand-in problem with helpers to load and
// check batches, and builders of batches from plain vectors.
#ifndef TESTS_QEL_ADDER_ADDER_FIXTURE_HPP_
#define TESTS_QEL_ADDER_ADDER_FIXTURE_HPP_

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "nuv/attr/base_container.hpp"
#include "nuv/attr/container_dict.hpp"
#include "nuv/attr/lib/map_container_dict.hpp"
#include "nuv/attr/lib/vector_container.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/math/expression.hpp"
#include "nuv/math/fn/abstract.hpp"
#include "nuv/math/lib/sparse_matrix.hpp"
#include "nuv/math/lib/sparse_vector.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/support_exception.hpp"
#include "nuv/opt/variable_container.hpp"
#include "qel/adder/var_adder.hpp"
#include "qel/data.hpp"
#include "qel/xpress/xpress_prob.hpp"
#include "tests/qel/started_data_fixture.hpp"
#include "xprs_testing.hpp"

namespace qel_test {

using Part = std::map<nuv::Index, nuv::attr::BaseContainer>;
using Sym = nuv::math::Symbol<double>;
using Vec = nuv::math::Vector<double>;

// A one-element part of the given values.
template <class T>
nuv::attr::BaseContainer values(std::vector<T> items) {
  return nuv::attr::BaseContainer(
      std::make_shared<nuv::attr::lib::VectorContainer<T>>(std::move(items)));
}

inline nuv::attr::BaseContainer ints(std::vector<int> v) { return values(std::move(v)); }
inline nuv::attr::BaseContainer dbls(std::vector<double> v) { return values(std::move(v)); }
inline nuv::attr::BaseContainer strs(std::vector<std::string> v) { return values(std::move(v)); }
inline nuv::attr::BaseContainer syms(std::vector<Sym> v) { return values(std::move(v)); }
inline nuv::attr::BaseContainer vecs(std::vector<Vec> v) { return values(std::move(v)); }

inline nuv::attr::ContainerDict dict(const Part& part) {
  auto map = std::make_shared<nuv::attr::lib::MapContainerDict>();
  for (const auto& [key, container] : part) map->set(key, container);
  return nuv::attr::ContainerDict(std::move(map));
}

inline nuv::opt::VariableContainer variableBatch(const Part& domain, const Part& tagged = {}) {
  return {dict(domain), {{nuv::opt::variable::tag, dict(tagged)}}};
}

inline nuv::opt::ConstraintContainer constraintBatch(const Part& function, const Part& domain,
                                                     const Part& tagged = {}) {
  return {dict(function), dict(domain), {{nuv::opt::constraint::tag, dict(tagged)}}};
}

// The variables columns, as created by the variable adder with id owner.
inline Sym vars(std::uint64_t owner, std::vector<nuv::Index> columns) {
  return Sym::vectorOfVariables(
      owner, nuv::idx::List(std::make_shared<const nuv::idx::lib::List>(std::move(columns))));
}

inline Vec sparse(nuv::Index dimension, std::vector<nuv::Index> positions,
                  std::vector<double> coefficients) {
  return nuv::math::lib::sparseVector<double>(dimension, std::move(positions),
                                              std::move(coefficients));
}

// Triplets (first[j], second[j], values[j]) over positions of a list of n variables.
inline nuv::attr::BaseContainer mats(std::vector<nuv::math::Matrix<double>> v) {
  return values(std::move(v));
}
inline nuv::math::Matrix<double> triplets(nuv::Index n, std::vector<nuv::Index> first,
                                          std::vector<nuv::Index> second, std::vector<double> v) {
  return nuv::math::lib::sparseMatrix<double>(n, n, std::move(first), std::move(second),
                                              std::move(v));
}

// An expression function known by its tag and its number of inputs; it evaluates nothing.
class FnDouble final : public nuv::math::fn::Abstract<double> {
 public:
  FnDouble(nuv::Tag tag, std::size_t inputs, bool variadic = false)
      : tag_(tag), inputs_(inputs, 0), variadic_(variadic) {}
  [[nodiscard]] nuv::Tag tag() const override { return tag_; }
  [[nodiscard]] std::uint32_t dimension() const override { return 0; }
  [[nodiscard]] std::span<const std::uint32_t> inputDimensions() const override { return inputs_; }
  [[nodiscard]] std::span<const std::uint8_t> paramTypes() const override { return {}; }
  [[nodiscard]] bool isVariadic() const override { return variadic_; }
  [[nodiscard]] Sym evaluate(std::span<const Sym> /*args*/) const override { return {}; }
  bool addTo(nuv::math::Symbols<double>* /*symbols*/, std::uint64_t /*count*/) const override {
    return false;
  }

 private:
  nuv::Tag tag_;
  std::vector<std::uint32_t> inputs_;
  bool variadic_;
};

inline Sym call(const nuv::math::fn::Abstract<double>& f, std::uint64_t repeat = 0) {
  return Sym::functionCall(&f, repeat);
}
inline Sym expr(std::vector<Sym> symbols) {
  return Sym::expression(nuv::math::ExpressionSymbol<double>(std::move(symbols)));
}

// Variadic functions take their argument count as the repeat count of the call.
namespace fns {
inline const FnDouble add("nuv:function:basic:Add", 2);
inline const FnDouble multiply("nuv:function:basic:Multiply", 2);
inline const FnDouble subtract("nuv:function:basic:Subtract", 1, true);
inline const FnDouble divide("nuv:function:basic:Divide", 1, true);
inline const FnDouble negate("nuv:function:basic:Negate", 1);
inline const FnDouble max("nuv:function:basic:Max", 1, true);
inline const FnDouble min("nuv:function:basic:Min", 1, true);
inline const FnDouble square("nuv:function:exponential:Square", 1);
inline const FnDouble sin("nuv:function:trigonometric:Sin", 1);
inline const FnDouble arcTan("nuv:function:trigonometric:ArcTan", 1);
inline const FnDouble exp("nuv:function:exponential:Exp", 1);
}  // namespace fns

class AdderTest : public RecordTest {
 protected:
  [[nodiscard]] const xprs::testing::ModelRecord& model() const {
    return xprs::testing::inspect(data_->prob->rawProb()).model;
  }
  // n continuous columns in [0, 10], loaded through the variable adder.
  void addColumns(int n) {
    const auto count = static_cast<std::size_t>(n);
    qel::VarAdder(data_).add(variableBatch(
        {{nuv::opt::interval_domain::type, values(std::vector<int>(count, 0))},
         {nuv::opt::interval_domain::upper_bound, values(std::vector<double>(count, 10.0))}}));
  }
  // Variables of this record's variable adder.
  [[nodiscard]] Sym own(std::vector<nuv::Index> columns) const {
    return vars(data_->varAdderId, std::move(columns));
  }
  // Whether the mutex of the record is free: no add left it locked.
  [[nodiscard]] bool mutexFree() const {
    if (!data_->mutex.try_lock()) return false;
    data_->mutex.unlock();
    return true;
  }
  // Expects load to raise E with exactly text before any optimizer call, and to leave the
  // record's mutex free.
  template <class E = nuv::opt::SupportException>
  void expectRefusedBeforeXpress(const std::function<void()>& load, const std::string& text) {
    xprs::testing::clearCalls();
    EXPECT_THAT(load, ::testing::ThrowsMessage<E>(::testing::StrEq(text)));
    EXPECT_TRUE(xprs::testing::calls().empty());
    EXPECT_TRUE(mutexFree());
  }
};

// Loads constraint batches through a new Adder over kColumns columns loaded first.
template <class Adder, int kColumns>
class ConstraintAdderTest : public AdderTest {
 protected:
  void SetUp() override {
    AdderTest::SetUp();
    addColumns(kColumns);
  }
  nuv::idx::List add(const Part& function, const Part& domain, const Part& tagged = {}) {
    return Adder(data_).add(constraintBatch(function, domain, tagged));
  }
};

}  // namespace qel_test

#endif  // TESTS_QEL_ADDER_ADDER_FIXTURE_HPP_
