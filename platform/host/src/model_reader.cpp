#include "model_reader.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <coin/CoinError.hpp>
#include <coin/CoinLpIO.hpp>
#include <coin/CoinMessageHandler.hpp>
#include <coin/CoinMpsIO.hpp>
#include <coin/CoinPackedMatrix.hpp>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

namespace qelhost {
namespace {

// Keeps the readers' messages for the error text instead of printing them.
class CollectingHandler final : public CoinMessageHandler {
 public:
  int print() override {
    if (currentMessage().externalNumber() >= 3000) lines_.emplace_back(messageBuffer());
    return 0;
  }
  [[nodiscard]] std::string text() const {
    std::string out;
    for (const std::string& line : lines_) out.append("\n  ").append(line);
    return out;
  }

 private:
  std::vector<std::string> lines_;
};

// Sends standard output to /dev/null while it lives: CoinMpsIO prints some remarks with printf,
// past its message handler (such as that it ignores OBJSENSE, which this reader does not).
class QuietStdout {
 public:
  QuietStdout() {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (saved_ >= 0 && null >= 0) dup2(null, STDOUT_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStdout() {
    std::fflush(stdout);
    if (saved_ >= 0) {
      dup2(saved_, STDOUT_FILENO);
      close(saved_);
    }
  }
  QuietStdout(const QuietStdout&) = delete;
  QuietStdout& operator=(const QuietStdout&) = delete;

 private:
  int saved_ = -1;
};

[[noreturn]] void fail(const std::string& path, const std::string& why) {
  throw std::runtime_error("cannot read '" + path + "': " + why);
}

// A name from a reader, which answers null for a name it does not have.
std::string text(const char* name) { return name == nullptr ? std::string() : std::string(name); }

double bound(double value) {
  if (value >= 1e20) return vopRec::kInfinity;
  if (value <= -1e20) return -vopRec::kInfinity;
  return value;
}

// Column j's name and bounds from either reader (CoinMpsIO or CoinLpIO); its type is the
// caller's.
template <class Reader>
vopRec::Column column(Reader& reader, int j) {
  vopRec::Column c;
  c.name = text(reader.columnName(j));
  c.lower = bound(reader.getColLower()[j]);
  c.upper = bound(reader.getColUpper()[j]);
  return c;
}

std::string lowerCased(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> fileLines(const std::string& path) {
  std::ifstream in(path);
  if (!in) fail(path, "the file cannot be opened");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// The rows of a matrix stored by row, as terms.
void addRows(vopRec& m, const CoinPackedMatrix& byRow, const double* lower, const double* upper,
             const std::function<std::string(int)>& name) {
  for (int i = 0; i < byRow.getNumRows(); ++i) {
    vopRec::Row row;
    row.name = name(i);
    row.lower = bound(lower[i]);
    row.upper = bound(upper[i]);
    const CoinBigIndex start = byRow.getVectorStarts()[i];
    for (int k = 0; k < byRow.getVectorLengths()[i]; ++k) {
      row.terms.push_back({byRow.getIndices()[start + k], byRow.getElements()[start + k]});
    }
    m.rows.push_back(std::move(row));
  }
}

void addSets(vopRec& m, int count, CoinSet** sets) {
  for (int s = 0; s < count; ++s) {
    const CoinSet& set = *sets[s];
    vopRec::Set out;
    out.name = "sos" + std::to_string(s + 1);
    out.type = set.setType();
    out.columns.assign(set.which(), set.which() + set.numberEntries());
    if (set.weights() != nullptr) {
      out.weights.assign(set.weights(), set.weights() + set.numberEntries());
    }
    m.sets.push_back(std::move(out));
  }
}

// OBJSENSE MAX, on the section's line or the next one; CoinMpsIO reads past the section.
bool mpsMaximizes(const std::vector<std::string>& lines) {
  for (std::size_t k = 0; k < lines.size(); ++k) {
    auto w = words(lines[k]);
    if (w.empty() || lowerCased(w[0]) != "objsense") continue;
    if (w.size() == 1 && k + 1 < lines.size())
      w = words(lines[k + 1]);
    else
      w.erase(w.begin());
    return !w.empty() && lowerCased(w[0]).rfind("max", 0) == 0;
  }
  return false;
}

// The entries of Q for c'x + 1/2 x'Qx as products: Q_ii x_i^2 / 2 and Q_ij x_i x_j.
std::vector<vopRec::QuadTerm> objectiveProducts(const std::string& path, int columns,
                                                const CoinBigIndex* start, const int* column,
                                                const double* value) {
  std::map<std::pair<int, int>, double> q;
  for (int j = 0; j < columns; ++j) {
    for (CoinBigIndex k = start[j]; k < start[j + 1]; ++k) {
      const std::pair<int, int> pair{std::min(j, column[k]), std::max(j, column[k])};
      const auto [at, added] = q.emplace(pair, value[k]);
      if (!added && at->second != value[k]) {
        fail(path, "the quadratic objective gives two values for columns " +
                       std::to_string(pair.first) + " and " + std::to_string(pair.second));
      }
    }
  }
  std::vector<vopRec::QuadTerm> out;
  for (const auto& [pair, v] : q) {
    out.push_back({pair.first, pair.second, pair.first == pair.second ? v / 2 : v});
  }
  return out;
}

vopRec readMps(const std::string& path) {
  const std::vector<std::string> lines = fileLines(path);
  CollectingHandler handler;
  CoinMpsIO reader;
  reader.passInMessageHandler(&handler);
  int setCount = 0;
  CoinSet** sets = nullptr;
  const int errors = [&] {
    const QuietStdout quiet;
    return reader.readMps(path.c_str(), "", setCount, sets);
  }();
  const auto freeSets = [&] {
    for (int s = 0; s < setCount; ++s) delete sets[s];
    delete[] sets;
  };
  if (errors != 0) {
    freeSets();
    fail(path, "not a valid MPS file" + handler.text());
  }
  vopRec m;
  m.name = text(reader.getProblemName());
  const int n = reader.getNumCols();
  for (int j = 0; j < n; ++j) {
    vopRec::Column c = column(reader, j);
    // 1 integer; 2 and 3 semi-continuous; 4 semi-continuous integer.
    switch (reader.isIntegerOrSemiContinuous(j)) {
      case 0:
        c.type = vopRec::ColumnType::kContinuous;
        break;
      case 1:
        c.type = vopRec::ColumnType::kInteger;
        break;
      case 4:
        c.type = vopRec::ColumnType::kSemiInteger;
        break;
      default:
        c.type = vopRec::ColumnType::kSemiContinuous;
        break;
    }
    m.columns.push_back(std::move(c));
  }
  addRows(m, *reader.getMatrixByRow(), reader.getRowLower(), reader.getRowUpper(),
          [&](int i) { return text(reader.rowName(i)); });
  addSets(m, setCount, sets);
  freeSets();

  vopRec::Objective objective;
  objective.name = text(reader.getObjectiveName());
  objective.maximize = mpsMaximizes(lines);
  for (int j = 0; j < n; ++j) {
    if (reader.getObjCoefficients()[j] != 0.0) {
      objective.terms.push_back({j, reader.getObjCoefficients()[j]});
    }
  }
  // A right-hand side r on the objective row makes the objective c'x - r.
  objective.constant = -reader.objectiveOffset();
  CoinBigIndex* start = nullptr;
  int* column = nullptr;
  double* value = nullptr;
  const int quadratic = [&] {
    const QuietStdout quiet;
    return reader.readQuadraticMps(nullptr, start, column, value, 0);
  }();
  if (quadratic == 0) {
    std::unique_ptr<CoinBigIndex[]> s(start);
    std::unique_ptr<int[]> c(column);
    std::unique_ptr<double[]> v(value);
    objective.quadratic = objectiveProducts(path, n, s.get(), c.get(), v.get());
  }
  m.objectives.push_back(std::move(objective));
  return m;
}

// The first word of the file outside comments ('\' or '/' start one; it runs to the line end).
std::vector<std::string> lpKeywords(const std::vector<std::string>& lines) {
  std::vector<std::string> first;
  for (const std::string& line : lines) {
    std::string text = line;
    for (std::size_t k = 0; k < text.size(); ++k) {
      if ((text[k] == '\\' || text[k] == '/') &&
          (k == 0 || text[k - 1] == ' ' || text[k - 1] == '\t')) {
        text.resize(k);
        break;
      }
    }
    const auto w = words(text);
    if (!w.empty()) first.push_back(lowerCased(w[0]));
  }
  return first;
}

vopRec readLp(const std::string& path) {
  const std::vector<std::string> keywords = lpKeywords(fileLines(path));
  for (const std::string& k : keywords) {
    if (k == "semi-continuous" || k == "semis" || k == "semi") {
      fail(path, "semi-continuous sections of LP files are not read; write the model as MPS");
    }
  }
  const bool maximize = !keywords.empty() && keywords.front().rfind("max", 0) == 0;
  CollectingHandler handler;
  CoinLpIO reader;
  reader.passInMessageHandler(&handler);
  try {
    const QuietStdout quiet;
    reader.readLp(path.c_str());
  } catch (const CoinError& e) {
    fail(path, e.message() + handler.text());
  }
  vopRec m;
  const int n = reader.getNumCols();
  for (int j = 0; j < n; ++j) {
    vopRec::Column c = column(reader, j);
    c.type = reader.isInteger(j) ? vopRec::ColumnType::kInteger : vopRec::ColumnType::kContinuous;
    m.columns.push_back(std::move(c));
  }
  addRows(m, *reader.getMatrixByRow(), reader.getRowLower(), reader.getRowUpper(),
          [&](int i) { return text(reader.rowName(i)); });
  addSets(m, reader.numberSets(), reader.setInformation());
  for (int o = 0; o < reader.getNumObjectives(); ++o) {
    vopRec::Objective objective;
    objective.name = text(reader.getObjName(o));
    objective.maximize = maximize;
    // The reader turns a maximisation into a minimisation by negating the coefficients; its
    // constant keeps the file's sign.
    const double sign = maximize ? -1.0 : 1.0;
    for (int j = 0; j < n; ++j) {
      const double coef = reader.getObjCoefficients(o)[j];
      if (coef != 0.0) objective.terms.push_back({j, sign * coef});
    }
    objective.constant = reader.objectiveOffset(o);
    m.objectives.push_back(std::move(objective));
  }
  return m;
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         lowerCased(text.substr(text.size() - suffix.size())) == suffix;
}

}  // namespace

vopRec readModel(const std::string& path) {
  if (endsWith(path, ".mps")) return readMps(path);
  if (endsWith(path, ".lp")) return readLp(path);
  fail(path, "the file name must end in .mps or .lp");
}

}  // namespace qelhost
