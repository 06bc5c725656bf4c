// Random small and medium models solved through the plug-in's four exported functions, as a
// host solves them, each answer certified against the model record built here (never the
// optimizer's copy).
//
// The input decodes into a record of one to five columns (continuous, or in half the models
// also integer, binary, semi-continuous and semi-integer; finite and infinite bounds), up to four
// linear rows of every sense and ranges, at most one convex quadratic row, a linear, convex
// quadratic or several linear objectives (priorities, weights, senses, tolerances) and, with
// discrete columns, a set of type 1 or 2 and up to two indicators. Some models then grow to 15 to
// 40 columns (semi-continuous among them) and 10 to 30 more rows, some get columns in no row with
// objective terms (often improving without limit), free columns, or an equality row ranged
// above or below. Coefficients come from a small grid, so optima are well conditioned. Each solve
// has a time limit of 5 s. A failed check prints the model and the failures and aborts; at exit
// the model kinds and outcomes seen are counted on standard error, each status by the
// certificate that showed it ("infeasible" by enumeration or by the elastic form).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "orla/vop_rec.hpp"
#include "plugin.hpp"
#include "tests/support/checker/answer_checker.hpp"

namespace {

using ColumnType = vopRec::ColumnType;
constexpr double kInf = vopRec::kInfinity;

template <std::size_t N>
double pick(FuzzedDataProvider& in, const double (&grid)[N]) {
  return grid[in.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
}

constexpr double kCoefs[] = {-4, -3, -2, -1, -0.5, 0.5, 1, 2, 3, 4};
constexpr double kLowers[] = {0, -kInf, -2, -1, 0, 0, 1, 2};
constexpr double kUppers[] = {4, kInf, 0, 1, 2, 3, 5, 8};
constexpr double kRhs[] = {-4, -2, -1, 0, 1, 2, 3, 4, 6, 8};

// A continuous column, or with `discrete` also an integer, binary, semi-continuous or
// semi-integer one.
vopRec::Column column(FuzzedDataProvider& in, bool discrete) {
  vopRec::Column c;
  switch (discrete ? in.ConsumeIntegralInRange(0, 5) : 0) {
    case 0:
    case 1:
      c.lower = pick(in, kLowers), c.upper = pick(in, kUppers);
      break;
    case 2:
      c.type = ColumnType::kInteger, c.lower = pick(in, kLowers), c.upper = pick(in, kUppers);
      break;
    case 3:
      c.type = ColumnType::kInteger, c.lower = 0, c.upper = 1;
      break;
    default: {
      constexpr double semiLowers[] = {0, 1, 2}, semiUppers[] = {2, 3, 5, kInf};
      c.type = in.ConsumeBool() ? ColumnType::kSemiContinuous : ColumnType::kSemiInteger;
      c.lower = pick(in, semiLowers), c.upper = pick(in, semiUppers);
    }
  }
  return c;
}

std::vector<vopRec::Term> linearTerms(FuzzedDataProvider& in, int n) {
  std::vector<vopRec::Term> terms;
  for (int j = 0; j < n; ++j) {
    if (in.ConsumeBool()) terms.push_back({j, pick(in, kCoefs)});
  }
  return terms;
}

// Sets the row's bounds: <=, >=, =, a range or free.
void bound(FuzzedDataProvider& in, vopRec::Row& row) {
  const double rhs = pick(in, kRhs);
  switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
      row.upper = rhs;
      break;
    case 1:
      row.lower = rhs;
      break;
    case 2:
      row.lower = row.upper = rhs;
      break;
    case 3:
      row.lower = rhs, row.upper = rhs + in.ConsumeIntegralInRange(1, 4);
      break;
    default:
      break;
  }
}

// alpha * (a'x)^2 as product terms: convex whatever a.
void addSquare(FuzzedDataProvider& in, int n, std::vector<vopRec::QuadTerm>& out) {
  constexpr double alphas[] = {0.5, 1, 2};
  const double alpha = pick(in, alphas);
  const auto a = linearTerms(in, n);
  for (std::size_t p = 0; p < a.size(); ++p) {
    out.push_back({a[p].column, a[p].column, alpha * a[p].coef * a[p].coef});
    for (std::size_t q = p + 1; q < a.size(); ++q) {
      out.push_back({a[p].column, a[q].column, 2 * alpha * a[p].coef * a[q].coef});
    }
  }
}

// Columns that appear in no row, each with a coefficient in one objective, bounded mostly on
// one side only, so that many improve without limit.
void addEmptyColumns(FuzzedDataProvider& in, bool discrete, vopRec& m) {
  const int count = in.ConsumeIntegralInRange(0, 3) == 3 ? in.ConsumeIntegralInRange(1, 2) : 0;
  for (int k = 0; k < count; ++k) {
    constexpr double lowers[] = {0, -kInf, -kInf, -2, 1, 0}, uppers[] = {kInf, 0, kInf, kInf, 4, 3};
    const std::size_t bounds = in.ConsumeIntegralInRange<std::size_t>(0, std::size(lowers) - 1);
    const bool integer = discrete && in.ConsumeBool();
    m.columns.push_back({.type = integer ? ColumnType::kInteger : ColumnType::kContinuous,
                         .lower = lowers[bounds],
                         .upper = uppers[bounds]});
    const auto objective = in.ConsumeIntegralInRange<std::size_t>(0, m.objectives.size() - 1);
    m.objectives[objective].terms.push_back(
        {static_cast<int>(m.columns.size() - 1), pick(in, kCoefs)});
  }
}

// Frees some of the first `n` columns, those in no set and no indicator's column.
void freeColumns(FuzzedDataProvider& in, int n, vopRec& m) {
  if (in.ConsumeIntegralInRange(0, 3) != 3) return;
  for (int j = 0; j < n; ++j) {
    if (!in.ConsumeBool()) continue;
    const bool inSet = std::any_of(m.sets.begin(), m.sets.end(), [j](const vopRec::Set& set) {
      return std::find(set.columns.begin(), set.columns.end(), j) != set.columns.end();
    });
    const bool indicator =
        std::any_of(m.indicators.begin(), m.indicators.end(),
                    [j](const vopRec::Indicator& ind) { return ind.column == j; });
    if (inSet || indicator) continue;
    vopRec::Column& c = m.columns[static_cast<std::size_t>(j)];
    if (c.type == ColumnType::kSemiContinuous) c.type = ColumnType::kContinuous;
    if (c.type == ColumnType::kSemiInteger) c.type = ColumnType::kInteger;
    c.lower = -kInf, c.upper = kInf;
  }
}

// Makes one of the first `rows` rows an equality ranged above or below its right-hand side,
// as an MPS file's E row with a RANGES entry reads.
void rangeEquality(FuzzedDataProvider& in, int rows, vopRec& m) {
  if (rows == 0 || in.ConsumeIntegralInRange(0, 3) != 3) return;
  constexpr double widths[] = {0.5, 1, 2, 4};
  vopRec::Row& row = m.rows[in.ConsumeIntegralInRange<std::size_t>(0, rows - 1)];
  const double rhs = pick(in, kRhs), width = pick(in, widths);
  if (in.ConsumeBool()) {
    row.lower = rhs, row.upper = rhs + width;
  } else {
    row.lower = rhs - width, row.upper = rhs;
  }
}

// Grows the model to 15 to 40 columns and adds 10 to 30 rows over all of them, drawn from
// `seed` (a medium model takes more bytes than inputs hold): continuous, integer, binary and
// semi-continuous columns (semi-continuous with a positive lower bound), rows of every sense
// with about one column in four, and objective terms on the new columns.
void grow(std::uint32_t seed, vopRec& m) {
  std::mt19937 random(seed);
  const auto below = [&random](std::size_t k) { return static_cast<std::size_t>(random() % k); };
  const auto draw = [&below](const auto& grid) { return grid[below(std::size(grid))]; };
  constexpr double lowers[] = {0, 0, 0, -2, 1}, uppers[] = {4, 5, 8, 10, kInf};
  constexpr double semiLowers[] = {1, 2, 3}, semiUppers[] = {4, 5, 8, 10};
  const std::size_t first = m.columns.size();
  const std::size_t columns = std::max(first, 15 + below(26));
  while (m.columns.size() < columns) {
    const std::size_t kind = below(10);
    if (kind < 3) {
      m.columns.push_back(
          {.type = kind == 2 ? ColumnType::kSemiInteger : ColumnType::kSemiContinuous,
           .lower = draw(semiLowers),
           .upper = draw(semiUppers)});
    } else if (kind < 5) {
      m.columns.push_back({.type = ColumnType::kInteger, .lower = 0, .upper = draw(semiUppers)});
    } else if (kind == 5) {
      m.columns.push_back({.type = ColumnType::kInteger, .lower = 0, .upper = 1});
    } else {
      m.columns.push_back({.lower = draw(lowers), .upper = draw(uppers)});
    }
  }
  for (vopRec::Objective& o : m.objectives) {
    for (std::size_t j = first; j < columns; ++j) {
      if (below(2) == 0) o.terms.push_back({static_cast<int>(j), draw(kCoefs)});
    }
  }
  constexpr double atMost[] = {2, 4, 6, 8, 12, 20}, atLeast[] = {-4, -2, 0, 1, 2, 4};
  const std::size_t rows = 10 + below(21);
  for (std::size_t i = 0; i < rows; ++i) {
    vopRec::Row row;
    for (std::size_t j = 0; j < columns; ++j) {
      if (below(4) == 0) row.terms.push_back({static_cast<int>(j), draw(kCoefs)});
    }
    const std::size_t sense = below(20);
    if (sense < 12) {
      row.upper = draw(atMost);
    } else if (sense < 17) {
      row.lower = draw(atLeast);
    } else if (sense < 19) {
      row.lower = row.upper = draw(atLeast);
    } else {
      row.lower = draw(atLeast), row.upper = row.lower + 1 + static_cast<double>(below(4));
    }
    m.rows.push_back(std::move(row));
  }
}

vopRec decode(FuzzedDataProvider& in) {
  vopRec m;
  const bool discrete = in.ConsumeBool();
  const int n = in.ConsumeIntegralInRange(1, 5);
  for (int j = 0; j < n; ++j) m.columns.push_back(column(in, discrete));
  const int rows = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < rows; ++i) {
    vopRec::Row row;
    row.terms = linearTerms(in, n);
    bound(in, row);
    m.rows.push_back(std::move(row));
  }
  if (in.ConsumeIntegralInRange(0, 5) == 5) {
    vopRec::Row row;
    row.terms = linearTerms(in, n);
    addSquare(in, n, row.quadratic);
    constexpr double radii[] = {1, 2, 4, 8};
    row.upper = pick(in, radii);
    m.rows.push_back(std::move(row));
  }
  switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
    case 1:
      m.objectives.push_back({.maximize = in.ConsumeBool(), .terms = linearTerms(in, n)});
      break;
    case 2: {
      vopRec::Objective o{.maximize = false, .terms = linearTerms(in, n)};
      addSquare(in, n, o.quadratic);
      if (in.ConsumeBool()) addSquare(in, n, o.quadratic);
      m.objectives.push_back(std::move(o));
      break;
    }
    default: {
      constexpr double weights[] = {1, 2, 0.5, -1}, absTols[] = {0, 0.5, 1}, relTols[] = {0, 0.1};
      const int count = in.ConsumeIntegralInRange(2, 3);
      const bool tolerances = in.ConsumeBool();
      for (int k = 0; k < count; ++k) {
        vopRec::Objective o{.maximize = in.ConsumeBool(), .terms = linearTerms(in, n)};
        o.constant = pick(in, kRhs);
        if (in.ConsumeBool()) o.priority = in.ConsumeIntegralInRange(0, 2);
        if (in.ConsumeBool()) o.weight = pick(in, weights);
        if (tolerances) {
          o.absoluteTolerance = pick(in, absTols);
          o.relativeTolerance = pick(in, relTols);
        }
        m.objectives.push_back(std::move(o));
      }
    }
  }
  if (discrete && n >= 2 && in.ConsumeIntegralInRange(0, 3) == 3) {
    vopRec::Set set{.type = in.ConsumeBool() ? 2 : 1};
    for (int j = 0; j < n; ++j) {
      if (in.ConsumeBool()) set.columns.push_back(j);
    }
    if (in.ConsumeBool()) {
      for (std::size_t p = 0; p < set.columns.size(); ++p) {
        set.weights.push_back(static_cast<double>(set.columns.size() - p) * 1.5);
      }
    }
    if (set.columns.size() >= 2) m.sets.push_back(std::move(set));
  }
  const int indicators =
      discrete && in.ConsumeIntegralInRange(0, 3) == 3 ? in.ConsumeIntegralInRange(1, 2) : 0;
  for (int k = 0; k < indicators; ++k) {
    vopRec::Indicator ind{.column = in.ConsumeIntegralInRange(0, n - 1),
                          .whenOne = in.ConsumeBool()};
    m.columns[static_cast<std::size_t>(ind.column)] = {
        .type = ColumnType::kInteger, .lower = 0, .upper = 1};
    ind.row.terms = linearTerms(in, n);
    bound(in, ind.row);
    m.indicators.push_back(std::move(ind));
  }
  // Choices added later stand here, after all earlier ones: an input that runs out before them
  // reads 0 for each and decodes to the model it did before they were added.
  if (in.ConsumeIntegralInRange(0, 7) == 7) grow(in.ConsumeIntegral<std::uint32_t>(), m);
  addEmptyColumns(in, discrete, m);
  freeColumns(in, n, m);
  rangeEquality(in, rows, m);
  // Every solve, the checker's re-solves included, stops within a few seconds: an engine that
  // crawls towards an unbounded ray (Ipopt takes thousands of huge steps) must not end the run
  // as a hang. A limit leaves the answer uncertified, never wrong.
  m.options.push_back({.name = "timeLimit", .value = "5"});
  return m;
}

// The model kinds and outcomes seen, written to standard error at exit. Counting allocates
// nothing, so that a kind seen for the first time does not set off libFuzzer's leak check.
class Tally {
 public:
  ~Tally() {
    for (std::size_t k = 0; k < used_; ++k) {
      std::fprintf(stderr, "tally %8ld %s\n", entries_[k].count, entries_[k].name);
    }
  }
  void count(std::string_view name) {
    name = name.substr(0, sizeof(Entry::name) - 1);
    for (std::size_t k = 0; k < used_; ++k) {
      if (name == entries_[k].name) {
        ++entries_[k].count;
        return;
      }
    }
    if (used_ == entries_.size()) return;
    Entry& e = entries_[used_++];
    name.copy(e.name, name.size());
    e.count = 1;
  }

 private:
  struct Entry {
    char name[112] = {};
    long count = 0;
  };
  std::array<Entry, 256> entries_{};
  std::size_t used_ = 0;
};
Tally tally;

void countKinds(const vopRec& m) {
  bool integer = false, semi = false, infinite = false, quadraticRow = false;
  for (const auto& c : m.columns) {
    integer = integer || c.type == ColumnType::kInteger || c.type == ColumnType::kSemiInteger;
    semi = semi || c.type == ColumnType::kSemiContinuous || c.type == ColumnType::kSemiInteger;
    infinite = infinite || !std::isfinite(c.lower) || !std::isfinite(c.upper);
  }
  for (const auto& r : m.rows) quadraticRow = quadraticRow || !r.quadratic.empty();
  std::vector<bool> used(m.columns.size(), false);
  // A free row is not passed on: its columns are in no row the optimizer sees.
  const auto use = [&used](const vopRec::Row& row) {
    if (!std::isfinite(row.lower) && !std::isfinite(row.upper)) return;
    for (const auto& t : row.terms) used[static_cast<std::size_t>(t.column)] = true;
    for (const auto& q : row.quadratic) {
      used[static_cast<std::size_t>(q.first)] = used[static_cast<std::size_t>(q.second)] = true;
    }
  };
  for (const auto& r : m.rows) use(r);
  for (const auto& ind : m.indicators) {
    use(ind.row);
    used[static_cast<std::size_t>(ind.column)] = true;
  }
  for (const auto& set : m.sets) {
    for (int j : set.columns) used[static_cast<std::size_t>(j)] = true;
  }
  const bool empty = std::find(used.begin(), used.end(), false) != used.end();
  const bool qp = !m.objectives.front().quadratic.empty();
  std::string kind = m.columns.size() >= 15 ? "medium " : "";
  kind += m.objectives.size() > 1 ? "multi-objective " : "";
  kind += integer ? "MI" : "";
  kind += quadraticRow ? "QCP" : qp ? "QP" : "LP";
  if (!m.sets.empty()) kind += " +sos" + std::to_string(m.sets.front().type);
  if (!m.indicators.empty()) kind += " +indicators";
  if (semi) kind += " +semi";
  if (infinite) kind += " +infinite bounds";
  if (empty) kind += " +columns in no row";
  tally.count("kind: " + kind);
}

const qelhost::Plugin& plugin() {
  static const qelhost::Plugin loaded(QELLINK64_PATH);
  return loaded;
}

// Creates, hands the model over, solves and frees, as a host does; keeps the optimizer's log.
int solve(vopRec& model, std::string& log) {
  const qelhost::Plugin& p = plugin();
  model.log = [&log](std::string_view line) { log += line; };
  void* handle = nullptr;
  char text[256] = {};
  if (p.create(&handle, text, sizeof text) != 0) {
    std::fprintf(stderr, "certified_solve_fuzz: qelCreate failed: %s\n", text);
    std::abort();
  }
  const int result = p.readyApi(handle, &model) || p.callSolver(handle);
  p.free(&handle);
  return result;
}

}  // namespace

// The plug-in is loaded before the first input, so that its coverage counts from the start.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  plugin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  vopRec model = decode(in);
  countKinds(model);
  std::string log;
  const int call = solve(model, log);
  const qel_check::CheckResult result = qel_check::checkAnswer(model, call, log, solve);
  if (!result.ok()) {
    std::fprintf(stderr, "certified_solve_fuzz: a wrong answer\n%s",
                 qel_check::describe(model).c_str());
    for (const std::string& f : result.failures) std::fprintf(stderr, "  %s\n", f.c_str());
    std::abort();
  }
  tally.count("status " + std::to_string(model.results.status) + ", " +
              (result.certificate.empty() ? "uncertified: " + result.uncertified
                                          : "certified by " + result.certificate));
  if (result.certificate == "refused") {
    const std::size_t at = log.find("XPRSoptimize: ");
    const std::string why =
        call != 0 ? model.messages.front() : log.substr(at, log.find('\n', at) - at);
    tally.count("refused: " + why);
  }
  return 0;
}
