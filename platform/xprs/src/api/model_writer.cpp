#include "api/model_writer.hpp"

#include <xprs.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <sstream>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "library.hpp"
#include "validate.hpp"

namespace xprs::standin {
namespace {

// How a column is written. A semi-continuous or semi-integer column that can only be 0 (an
// upper bound of 0, or a limit above its upper bound) is written as a column fixed at 0: an SC
// bound of 0 means an infinite upper bound to the readers.
enum class Kind { kContinuous, kInteger, kSemi, kSemiInteger, kZero };

struct Entry {
  int index = 0;
  double value = 0.0;
};

bool isLpNameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x80 || std::isalnum(u)) return true;
  return std::string_view("!\"#$%&()/,.;?@_`'{}|~").find(c) != std::string_view::npos;
}

// The words LP readers take for section keywords (in any case); they cannot name anything.
bool isLpKeyword(std::string_view name) {
  static constexpr std::string_view kKeywords[] = {
      "min",   "minimize", "minimise", "minimum",  "max",    "maximize", "maximise", "maximum",
      "st",    "s.t.",     "st.",      "subject",  "such",   "bounds",   "bound",    "general",
      "gen",   "generals", "integer",  "integers", "binary", "binaries", "bin",      "semi",
      "semis", "sos",      "end",      "free",     "inf",    "infinity"};
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return std::find(std::begin(kKeywords), std::end(kKeywords), lower) != std::end(kKeywords);
}

bool isLpName(std::string_view name) {
  if (name.empty() || isLpKeyword(name)) return false;
  const char first = name.front();
  if (std::isdigit(static_cast<unsigned char>(first)) || first == '.' || first == '/') return false;
  return std::all_of(name.begin(), name.end(), isLpNameChar);
}

bool hasBlank(std::string_view name) {
  return std::any_of(name.begin(), name.end(),
                     [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

class ModelFile {
 public:
  ModelFile(const ModelRecord& m, ModelFormat format) : m_(m), lp_(format == ModelFormat::kLp) {
    checkContent();
    nameEverything();
    mergeMatrix();
  }

  [[nodiscard]] std::string mps() const {
    std::ostringstream out;
    out << "NAME";
    if (!m_.probName.empty()) out << ' ' << m_.probName;
    out << '\n';
    if (m_.sense < 0) out << "OBJSENSE\n    MAX\n";
    out << "ROWS\n N  " << objName_ << '\n';
    for (int i = 0; i < m_.rows(); ++i) out << ' ' << mpsRowType(i) << "  " << rowName(i) << '\n';
    mpsColumns(out);
    const ObjectiveRecord& objective = m_.objectives.front();
    std::ostringstream rhs;
    if (objective.rhs != 0.0) rhs << "    RHS  " << objName_ << "  " << text(objective.rhs) << '\n';
    std::ostringstream ranges;
    for (int i = 0; i < m_.rows(); ++i) {
      const auto u = static_cast<std::size_t>(i);
      if (m_.rowType[u] == 'N') continue;
      if (m_.rowRhs[u] != 0.0)
        rhs << "    RHS  " << rowName(i) << "  " << text(m_.rowRhs[u]) << '\n';
      if (m_.rowType[u] == 'R' && !isInfinite(m_.rowRange[u])) {
        ranges << "    RNG  " << rowName(i) << "  " << text(std::fabs(m_.rowRange[u])) << '\n';
      }
    }
    section(out, "RHS", rhs.str());
    section(out, "RANGES", ranges.str());
    std::ostringstream bounds;
    for (int j = 0; j < m_.cols(); ++j) mpsBounds(bounds, j);
    section(out, "BOUNDS", bounds.str());
    std::ostringstream sets;
    for (int s = 0; s < m_.sets(); ++s) {
      sets << " S" << m_.setType[static_cast<std::size_t>(s)] << " SOS  " << setName(s) << '\n';
      forEachMember(s, [&](int j, double weight) {
        sets << "    " << colName(j) << "  " << text(weight) << '\n';
      });
    }
    section(out, "SOS", sets.str());
    std::ostringstream quadratic;
    for (const auto& [key, v] : m_.objQ) {
      if (v == 0.0) continue;
      quadratic << "    " << colName(key.first) << "  " << colName(key.second) << "  " << text(v)
                << '\n';
    }
    section(out, "QUADOBJ", quadratic.str());
    mpsQuadraticRows(out);
    std::ostringstream indicators;
    for (std::size_t i = 0; i < m_.indicatorComplement.size(); ++i) {
      const int complement = m_.indicatorComplement[i];
      if (complement == 0) continue;
      indicators << " IF  " << rowName(static_cast<int>(i)) << "  " << colName(m_.indicatorCol[i])
                 << "  " << (complement > 0 ? 1 : 0) << '\n';
    }
    section(out, "INDICATORS", indicators.str());
    out << "ENDATA\n";
    return out.str();
  }

  [[nodiscard]] std::string lp() const {
    std::ostringstream out;
    if (!m_.probName.empty()) out << "\\ Problem name: " << m_.probName << '\n';
    out << (m_.sense < 0 ? "Maximize" : "Minimize") << "\n " << objName_ << ':';
    // Every column, zeros included: a column then exists and keeps its place.
    std::vector<Entry> terms;
    const std::vector<double>& coef = m_.objectives.front().coef;
    for (int j = 0; j < m_.cols(); ++j) terms.push_back({j, coef[static_cast<std::size_t>(j)]});
    lpTerms(out, terms);
    const double rhs = m_.objectives.front().rhs;
    if (rhs != 0.0) out << (rhs > 0.0 ? " - " : " + ") << text(std::fabs(rhs));
    out << "\nSubject To\n";
    for (int i = 0; i < m_.rows(); ++i) {
      const auto u = static_cast<std::size_t>(i);
      out << ' ' << rowName(i) << ':';
      // A row without terms is written with a zero term: the LP format has no empty rows.
      lpTerms(out, byRow_[u].empty() ? std::vector<Entry>{{0, 0.0}} : byRow_[u]);
      switch (m_.rowType[u]) {
        case 'L':
          out << " <= " << text(m_.rowRhs[u]);
          break;
        case 'G':
          out << " >= " << text(m_.rowRhs[u]);
          break;
        case 'E':
          out << " = " << text(m_.rowRhs[u]);
          break;
        default:
          out << " >= -inf";
      }
      out << '\n';
    }
    std::ostringstream bounds;
    std::ostringstream generals;
    std::ostringstream semis;
    for (int j = 0; j < m_.cols(); ++j) {
      lpBounds(bounds, j);
      const Kind k = kind(j);
      if (k == Kind::kInteger) generals << ' ' << colName(j) << '\n';
      if (k == Kind::kSemi) semis << ' ' << colName(j) << '\n';
    }
    section(out, "Bounds", bounds.str());
    section(out, "Generals", generals.str());
    section(out, "Semi-continuous", semis.str());
    std::ostringstream sets;
    for (int s = 0; s < m_.sets(); ++s) {
      sets << ' ' << setName(s) << ": S" << m_.setType[static_cast<std::size_t>(s)] << "::";
      forEachMember(
          s, [&](int j, double weight) { sets << ' ' << colName(j) << ':' << text(weight); });
      sets << '\n';
    }
    section(out, "SOS", sets.str());
    out << "End\n";
    return out.str();
  }

 private:
  template <class... Ts>
  [[noreturn]] void refuse(const Ts&... pieces) const {
    fail("the ", lp_ ? "LP" : "MPS", " format cannot hold ", pieces...);
  }

  const std::string& colName(int j) const { return colNames_[static_cast<std::size_t>(j)]; }
  const std::string& rowName(int i) const { return rowNames_[static_cast<std::size_t>(i)]; }
  const std::string& setName(int s) const { return setNames_[static_cast<std::size_t>(s)]; }

  Kind kind(int j) const {
    const auto u = static_cast<std::size_t>(j);
    const char t = m_.colType[u];
    if (t == 'S' || t == 'R') {
      const double limit = m_.colLimit[u];
      if (m_.colUb[u] == 0.0 || limit > m_.colUb[u] || limit >= XPRS_PLUSINFINITY) {
        return Kind::kZero;
      }
      return t == 'S' ? Kind::kSemi : Kind::kSemiInteger;
    }
    return t == 'I' || t == 'B' ? Kind::kInteger : Kind::kContinuous;
  }

  // What neither format holds, and in LP files what the LP format does not hold.
  void checkContent() const {
    if (!m_.formulas.empty()) {
      const int row = m_.formulas.front().row;
      if (row < 0) refuse("formulas (in the objective)");
      refuse("formulas (in row ", row, ")");
    }
    if (m_.objectives.size() > 1) {
      refuse("several objectives (the problem has ", m_.objectives.size(), ")");
    }
    for (int j = 0; j < m_.cols(); ++j) {
      const auto u = static_cast<std::size_t>(j);
      if (m_.colType[u] == 'P') refuse("partial integer columns (column ", j, ")");
      if (!lp_) continue;
      const Kind k = kind(j);
      if (k == Kind::kSemiInteger) refuse("semi-integer columns (column ", j, ")");
      if (k == Kind::kSemi && isInfinite(m_.colUb[u])) {
        refuse("a semi-continuous column without a finite upper bound (column ", j, ")");
      }
    }
    if (!lp_) return;
    if (!m_.objQ.empty()) refuse("a quadratic objective");
    if (!m_.qRow.empty()) refuse("quadratic rows (row ", m_.qRow.front(), ")");
    for (std::size_t i = 0; i < m_.indicatorComplement.size(); ++i) {
      if (m_.indicatorComplement[i] != 0) refuse("indicator rows (row ", i, ")");
    }
    for (int i = 0; i < m_.rows(); ++i) {
      const auto u = static_cast<std::size_t>(i);
      if (m_.rowType[u] == 'R' && !isInfinite(m_.rowRange[u])) {
        refuse("ranged rows (row ", i, ")");
      }
    }
    if (m_.rows() > 0 && m_.cols() == 0) refuse("rows in a problem without columns");
  }

  // The names as given, or C<j>, R<i>, S<s> and obj where none is; each checked for the format.
  void nameEverything() {
    colNames_ = names(m_.colNames, m_.cols(), 'C', "column");
    rowNames_ = names(m_.rowNames, m_.rows(), 'R', "row");
    setNames_ = names(m_.setNames, m_.sets(), 'S', "set");
    std::unordered_map<std::string_view, int> rows;
    for (int i = 0; i < m_.rows(); ++i) {
      distinct(rows, rowName(i), i, "rows");
    }
    std::unordered_map<std::string_view, int> columns;
    for (int j = 0; j < m_.cols(); ++j) distinct(columns, colName(j), j, "columns");
    const bool given = !m_.objNames.empty() && !m_.objNames.front().empty();
    objName_ = given ? m_.objNames.front() : "obj";
    check(objName_, "objective", 0);
    if (given && rows.contains(objName_)) {
      fail("the objective and row ", rows.at(objName_), " are both named '", objName_, "'");
    }
    while (rows.contains(objName_)) objName_ += '_';
  }

  std::vector<std::string> names(const std::vector<std::string>& given, int count, char prefix,
                                 const char* what) const {
    std::vector<std::string> out(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      const auto u = static_cast<std::size_t>(i);
      out[u] = u < given.size() && !given[u].empty() ? given[u] : text(prefix, i);
      check(out[u], what, i);
    }
    return out;
  }

  void check(const std::string& name, const char* what, int index) const {
    if (lp_ ? !isLpName(name) : hasBlank(name)) {
      refuse("the name '", name, "' (", what, ' ', index, ")");
    }
  }

  static void distinct(std::unordered_map<std::string_view, int>& seen, std::string_view name,
                       int index, const char* what) {
    const auto [at, added] = seen.emplace(name, index);
    if (!added) fail(what, ' ', at->second, " and ", index, " are both named '", name, "'");
  }

  // The matrix by column and by row: duplicates summed, zeros left out.
  void mergeMatrix() {
    std::vector<std::tuple<int, int, double>> entries;
    for (std::size_t k = 0; k < m_.elemVal.size(); ++k) {
      entries.emplace_back(m_.elemCol[k], m_.elemRow[k], m_.elemVal[k]);
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
      return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    byColumn_.resize(static_cast<std::size_t>(m_.cols()));
    byRow_.resize(static_cast<std::size_t>(m_.rows()));
    for (std::size_t k = 0; k < entries.size();) {
      const int col = std::get<0>(entries[k]);
      const int row = std::get<1>(entries[k]);
      double sum = 0.0;
      for (; k < entries.size() && std::get<0>(entries[k]) == col && std::get<1>(entries[k]) == row;
           ++k) {
        sum += std::get<2>(entries[k]);
      }
      if (sum == 0.0) continue;
      byColumn_[static_cast<std::size_t>(col)].push_back({row, sum});
      byRow_[static_cast<std::size_t>(row)].push_back({col, sum});
    }
  }

  template <class Visit>
  void forEachMember(int s, Visit visit) const {
    const auto u = static_cast<std::size_t>(s);
    for (auto k = static_cast<std::size_t>(m_.setStart[u]);
         k < static_cast<std::size_t>(m_.setStart[u + 1]); ++k) {
      visit(m_.setCol[k], m_.setRef[k]);
    }
  }

  static void section(std::ostream& out, const char* header, const std::string& body) {
    if (!body.empty()) out << header << '\n' << body;
  }

  char mpsRowType(int i) const {
    const char t = m_.rowType[static_cast<std::size_t>(i)];
    return t == 'R' ? 'L' : t;
  }

  void mpsColumns(std::ostream& out) const {
    out << "COLUMNS\n";
    const std::vector<double>& coef = m_.objectives.front().coef;
    bool integers = false;
    for (int j = 0; j < m_.cols(); ++j) {
      const auto u = static_cast<std::size_t>(j);
      const Kind k = kind(j);
      const bool integral = k == Kind::kInteger || k == Kind::kSemiInteger;
      if (integral != integers) {
        out << "    MARKER  'MARKER'  " << (integral ? "'INTORG'" : "'INTEND'") << '\n';
        integers = integral;
      }
      // A column without entries gets an explicit zero, so that it exists.
      if (coef[u] != 0.0 || byColumn_[u].empty()) {
        out << "    " << colName(j) << "  " << objName_ << "  " << text(coef[u]) << '\n';
      }
      for (const Entry& e : byColumn_[u]) {
        out << "    " << colName(j) << "  " << rowName(e.index) << "  " << text(e.value) << '\n';
      }
    }
    if (integers) out << "    MARKER  'MARKER'  'INTEND'\n";
  }

  // The upper bound first: an UP bound below 0 written after a lower bound of 0 would make the
  // lower bound -infinity to the readers.
  void mpsBounds(std::ostream& out, int j) const {
    const auto u = static_cast<std::size_t>(j);
    const std::string& name = colName(j);
    const auto line = [&](const char* type) -> std::ostream& {
      return out << ' ' << type << " BND  " << name;
    };
    const double lb = m_.colLb[u];
    const double ub = m_.colUb[u];
    const Kind k = kind(j);
    if (k == Kind::kZero) {
      line("FX") << "  0\n";
      return;
    }
    if (k == Kind::kSemi || k == Kind::kSemiInteger) {
      line("SC") << "  " << (isInfinite(ub) ? "1e+30" : text(ub)) << '\n';
      if (m_.colLimit[u] != 0.0) line("LO") << "  " << text(m_.colLimit[u]) << '\n';
      return;
    }
    if (lb == ub && !isInfinite(lb)) {
      line("FX") << "  " << text(lb) << '\n';
      return;
    }
    const bool freeBelow = lb <= XPRS_MINUSINFINITY;
    if (ub >= XPRS_PLUSINFINITY) {
      // Integer columns always get a bound line: some readers make an unbounded one binary.
      if (freeBelow) {
        line("FR") << '\n';
        return;
      }
      if (k == Kind::kInteger) line("PL") << '\n';
    } else {
      line("UP") << "  " << text(ub) << '\n';
    }
    if (freeBelow) {
      line("MI") << '\n';
    } else if (lb != 0.0 || ub < 0.0) {
      line("LO") << "  " << text(lb) << '\n';
    }
  }

  // One QCMATRIX section per quadratic row, listing the row's symmetric Q of x'Qx in full: an
  // off-diagonal entry once in each triangle.
  void mpsQuadraticRows(std::ostream& out) const {
    std::map<int, std::map<std::pair<int, int>, double>> upper;
    for (std::size_t k = 0; k < m_.qVal.size(); ++k) {
      const int i = std::min(m_.qCol1[k], m_.qCol2[k]);
      const int j = std::max(m_.qCol1[k], m_.qCol2[k]);
      upper[m_.qRow[k]][{i, j}] += m_.qVal[k];
    }
    for (const auto& [row, entries] : upper) {
      std::map<std::pair<int, int>, double> full;
      for (const auto& [key, v] : entries) {
        if (v == 0.0) continue;
        full[key] = v;
        full[{key.second, key.first}] = v;
      }
      if (full.empty()) continue;
      out << "QCMATRIX   " << rowName(row) << '\n';
      for (const auto& [key, v] : full) {
        out << "    " << colName(key.first) << "  " << colName(key.second) << "  " << text(v)
            << '\n';
      }
    }
  }

  // Terms " c x + d y - e z", ten to a line; the sign stands apart from the magnitude.
  void lpTerms(std::ostream& out, const std::vector<Entry>& terms) const {
    for (std::size_t k = 0; k < terms.size(); ++k) {
      if (k > 0 && k % 10 == 0) out << "\n   ";
      const double v = terms[k].value;
      if (std::signbit(v)) {
        out << " - ";
      } else if (k > 0) {
        out << " + ";
      } else {
        out << ' ';
      }
      out << text(std::fabs(v)) << ' ' << colName(terms[k].index);
    }
  }

  void lpBounds(std::ostream& out, int j) const {
    const auto u = static_cast<std::size_t>(j);
    const std::string& name = colName(j);
    const double lb = m_.colLb[u];
    const double ub = m_.colUb[u];
    const Kind k = kind(j);
    if (k == Kind::kZero) {
      out << ' ' << name << " = 0\n";
    } else if (k == Kind::kSemi) {
      out << ' ' << text(m_.colLimit[u]) << " <= " << name << " <= " << text(ub) << '\n';
    } else if (lb == ub && !isInfinite(lb)) {
      out << ' ' << name << " = " << text(lb) << '\n';
    } else if (lb <= XPRS_MINUSINFINITY) {
      if (ub >= XPRS_PLUSINFINITY) {
        out << ' ' << name << " free\n";
      } else {
        out << " -inf <= " << name << " <= " << text(ub) << '\n';
      }
    } else if (ub >= XPRS_PLUSINFINITY) {
      if (lb != 0.0) out << ' ' << name << " >= " << text(lb) << '\n';
    } else {
      out << ' ' << text(lb) << " <= " << name << " <= " << text(ub) << '\n';
    }
  }

  const ModelRecord& m_;
  bool lp_ = false;
  std::vector<std::string> colNames_, rowNames_, setNames_;
  std::string objName_;
  std::vector<std::vector<Entry>> byColumn_, byRow_;
};

}  // namespace

std::string modelText(const ModelRecord& m, ModelFormat format) {
  const ModelFile file(m, format);
  return format == ModelFormat::kLp ? file.lp() : file.mps();
}

}  // namespace xprs::standin
