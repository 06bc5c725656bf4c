#include "number_check.hpp"

#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link_error.hpp"

namespace orla::detail {
namespace {

// An entity of the record; its text is built only for the message.
struct Entity {
  std::string_view kind;
  const std::string& name;
  std::size_t number;

  [[nodiscard]] std::string text() const {
    return std::string(kind) + " " + (name.empty() ? std::to_string(number) : "'" + name + "'");
  }
};

class Checker {
 public:
  explicit Checker(const vopRec& model) : model_(model) {}

  void all() const {
    for (std::size_t j = 0; j < model_.columns.size(); ++j) {
      const vopRec::Column& c = model_.columns[j];
      const Entity what{"column", c.name, j};
      check(c.lower, what, "lower bound");
      check(c.upper, what, "upper bound");
      check(c.start, what, "start value");
      check(c.priority, what, "priority");
    }
    for (std::size_t i = 0; i < model_.rows.size(); ++i) {
      row(model_.rows[i], {"row", model_.rows[i].name, i});
    }
    for (std::size_t k = 0; k < model_.objectives.size(); ++k) {
      const vopRec::Objective& o = model_.objectives[k];
      const Entity what{"objective", o.name, k};
      terms(o.terms, o.quadratic, what);
      check(o.constant, what, "constant");
      tokens(o.expression, what);
      check(o.weight, what, "weight");
      check(o.absoluteTolerance, what, "absolute tolerance");
      check(o.relativeTolerance, what, "relative tolerance");
    }
    for (std::size_t k = 0; k < model_.sets.size(); ++k) {
      const vopRec::Set& s = model_.sets[k];
      for (std::size_t m = 0; m < s.weights.size(); ++m) {
        if (!std::isnan(s.weights[m])) continue;
        fail({"set", s.name, k},
             m < s.columns.size() ? "weight for " + column(s.columns[m]) : "weight");
      }
    }
    for (std::size_t k = 0; k < model_.indicators.size(); ++k) {
      row(model_.indicators[k].row, {"indicator", model_.indicators[k].name, k});
    }
    for (std::size_t k = 0; k < model_.nonlinearRows.size(); ++k) {
      const vopRec::NonlinearRow& r = model_.nonlinearRows[k];
      const Entity what{"nonlinear row", r.name, k};
      check(r.lower, what, "lower bound");
      check(r.upper, what, "upper bound");
      tokens(r.expression, what);
    }
  }

 private:
  // A column a term names, by name where it has one; a number out of range is left to the
  // loading, which refuses it.
  [[nodiscard]] std::string column(int j) const {
    const bool known = j >= 0 && static_cast<std::size_t>(j) < model_.columns.size();
    return known ? Entity{"column", model_.columns[static_cast<std::size_t>(j)].name,
                          static_cast<std::size_t>(j)}
                       .text()
                 : "column " + std::to_string(j);
  }

  void row(const vopRec::Row& r, const Entity& what) const {
    check(r.lower, what, "lower bound");
    check(r.upper, what, "upper bound");
    terms(r.terms, r.quadratic, what);
  }

  void terms(std::span<const vopRec::Term> linear, std::span<const vopRec::QuadTerm> products,
             const Entity& what) const {
    for (const vopRec::Term& t : linear) {
      if (std::isnan(t.coef)) fail(what, "coefficient on " + column(t.column));
    }
    for (const vopRec::QuadTerm& q : products) {
      if (std::isnan(q.coef)) {
        fail(what, "coefficient on " + column(q.first) + " times " + column(q.second));
      }
    }
  }

  static void tokens(std::span<const vopRec::Token> expression, const Entity& what) {
    for (std::size_t k = 0; k < expression.size(); ++k) {
      const vopRec::Token& t = expression[k];
      if (t.kind == vopRec::Token::Kind::kNumber && std::isnan(t.number)) {
        fail(what, "number in its expression (token " + std::to_string(k) + ")");
      }
    }
  }

  static void check(double v, const Entity& what, std::string_view where) {
    if (std::isnan(v)) fail(what, std::string(where));
  }

  static void check(const std::optional<double>& v, const Entity& what, std::string_view where) {
    if (v) check(*v, what, where);
  }

  [[noreturn]] static void fail(const Entity& what, const std::string& where) {
    throw LinkError(what.text() + " has a NaN " + where);
  }

  const vopRec& model_;
};

}  // namespace

void refuseNaN(const vopRec& model) { Checker(model).all(); }

}  // namespace orla::detail
