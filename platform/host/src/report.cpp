#include "report.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace qelhost {
namespace {

constexpr std::array<std::string_view, 18> kStatusNames = {"normal_completion",
                                                           "infeasible",
                                                           "locally_infeasible",
                                                           "unbounded",
                                                           "infeasible_or_unbounded",
                                                           "solution_limit",
                                                           "iteration_limit",
                                                           "time_limit",
                                                           "node_limit",
                                                           "work_limit",
                                                           "memory_limit",
                                                           "numerical_error",
                                                           "license_error",
                                                           "solver_error",
                                                           "user_interrupt",
                                                           "not_started",
                                                           "other_limit",
                                                           "no_solution"};

// A negative zero, as the engines leave on some columns and rows, prints as 0.
std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value == 0.0 ? 0.0 : value);
  return text;
}

std::string number(const std::optional<double>& value) {
  return value ? number(*value) : std::string();
}

template <class T>
std::optional<double> entry(const std::vector<T>& values, std::size_t k) {
  if (k >= values.size()) return std::nullopt;
  if constexpr (std::is_same_v<T, std::optional<double>>) {
    return values[k];
  } else {
    return static_cast<double>(values[k]);
  }
}

struct Line {
  std::string name;
  std::string value;
  std::string marginal;
};

std::vector<Line> columnLines(const vopRec& m) {
  std::vector<Line> lines;
  for (std::size_t j = 0; j < m.columns.size(); ++j) {
    lines.push_back({m.columns[j].name, number(entry(m.results.values, j)),
                     number(entry(m.results.reducedCosts, j))});
  }
  return lines;
}

std::vector<Line> rowLines(const vopRec& m) {
  std::vector<Line> lines;
  for (std::size_t i = 0; i < m.rows.size(); ++i) {
    lines.push_back({m.rows[i].name, number(entry(m.results.activities, i)),
                     number(entry(m.results.duals, i))});
  }
  return lines;
}

void table(std::ostream& out, const Line& head, const std::vector<Line>& lines) {
  std::size_t nameWidth = head.name.size();
  std::size_t valueWidth = head.value.size();
  for (const Line& l : lines) {
    nameWidth = std::max(nameWidth, l.name.size());
    valueWidth = std::max(valueWidth, l.value.size());
  }
  const auto write = [&](const Line& l) {
    std::string text = l.name;
    text.resize(nameWidth + 2, ' ');
    text += l.value;
    if (!l.marginal.empty()) {
      text.resize(nameWidth + 2 + valueWidth + 2, ' ');
      text += l.marginal;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out << text << '\n';
  };
  write(head);
  for (const Line& l : lines) write(l);
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

}  // namespace

std::string_view statusName(int status) {
  if (status < 0 || static_cast<std::size_t>(status) >= kStatusNames.size()) return "none";
  return kStatusNames[static_cast<std::size_t>(status)];
}

int exitStatus(const vopRec::Results& results) {
  if (!results.solved) return 2;
  switch (results.status) {
    case 0:  // normal_completion
      return 0;
    case 1:   // infeasible
    case 2:   // locally_infeasible
    case 3:   // unbounded
    case 4:   // infeasible_or_unbounded
    case 17:  // no_solution
      return 1;
    case 5:   // solution_limit
    case 6:   // iteration_limit
    case 7:   // time_limit
    case 8:   // node_limit
    case 9:   // work_limit
    case 10:  // memory_limit
    case 14:  // user_interrupt
    case 16:  // other_limit
      return results.values.empty() ? 1 : 0;
    default:
      return 2;
  }
}

void writeSummary(std::ostream& out, const vopRec& model) {
  const vopRec::Results& r = model.results;
  out << "status: " << statusName(r.status) << '\n';
  out << "objective: " << (r.objective ? number(*r.objective) : "none") << '\n';
  if (r.solutionStatus) {
    const int s = *r.solutionStatus;
    out << "solution status: "
        << (s == 0   ? "optimal"
            : s == 1 ? "locally optimal"
            : s == 6 ? "feasible"
                     : number(s))
        << '\n';
  }
  if (r.bound) out << "bound: " << number(*r.bound) << '\n';
  if (r.iterations) out << "iterations: " << *r.iterations << '\n';
  if (r.nodes) out << "nodes: " << *r.nodes << '\n';
  if (r.time) out << "time: " << number(*r.time) << '\n';
  if (r.pool.size() > 0) out << "further solutions: " << r.pool.size() << '\n';
  if (r.cleanedUp) {
    // The fixed re-solve of a model that keeps sets or semi-continuous columns is a MIP again,
    // and gives neither.
    const bool any = !r.reducedCosts.empty() ||
                     std::any_of(r.duals.begin(), r.duals.end(),
                                 [](const std::optional<double>& d) { return d.has_value(); });
    out << "duals and reduced costs: "
        << (any ? "from the solve with fixed discrete entities\n"
                : "none, the solve with fixed discrete entities gave none\n");
  }
  if (r.values.empty()) {
    out << "no solution\n";
    return;
  }
  out << '\n';
  table(out, {"column", "value", "reduced cost"}, columnLines(model));
  if (!model.rows.empty()) {
    out << '\n';
    table(out, {"row", "activity", "dual"}, rowLines(model));
  }
}

void writeSolutionCsv(std::ostream& out, const vopRec& model) {
  out << "kind,name,value,marginal\n";
  for (const Line& l : columnLines(model)) {
    out << "column," << csvField(l.name) << ',' << l.value << ',' << l.marginal << '\n';
  }
  for (const Line& l : rowLines(model)) {
    out << "row," << csvField(l.name) << ',' << l.value << ',' << l.marginal << '\n';
  }
}

}  // namespace qelhost
