#include "mps_reader.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model_text.hpp"

namespace qelhost {
namespace {

constexpr double kInf = vopRec::kInfinity;

// The sections in the order a file must give them.
// kQuadraticName: the NAME line of a quadratic objective given after ENDATA, as a second block
// "NAME ... QUADOBJ ... ENDATA" (so some files carry it).
enum class Section {
  kNone,
  kName,
  kObjsense,
  kRows,
  kColumns,
  kRhs,
  kRanges,
  kBounds,
  kSos,
  kQuadraticName,
  kQuadratic,
  kEnd
};

struct RowEntry {
  std::string_view name;
  char type = 'N';
  int index = -1;  // in the record's rows; -1 for the objective and free rows
  bool objective = false;
  int lastColumn = -1;  // the last column with a coefficient here
  std::optional<double> rhs;
  std::optional<double> range;
};

struct ColumnEntry {
  vopRec::Column column;
  bool integer = false;
  bool semi = false;
  bool bounded = false;     // named on a BOUNDS line
  std::size_t lastSet = 0;  // the number of the last set it is in, from 1
};

class MpsReader {
 public:
  MpsReader(std::string_view text, const std::string& file) : text_(text, file) {}

  vopRec read() {
    const auto& lines = text_.lines();
    for (std::size_t k = 0; k < lines.size(); ++k) {
      line_ = k + 1;
      const std::string_view line = lines[k];
      if (line.empty() || line.front() == '*') continue;
      const std::vector<std::string_view> words = wordsOf(line);
      if (words.empty()) continue;
      if (section_ == Section::kEnd) {
        if (words[0] != "NAME" || line.front() == ' ' || line.front() == '\t' || quadraticBlock_ ||
            quadraticSection_) {
          fail("there is more after ENDATA");
        }
        quadraticBlock_ = true;
        section_ = Section::kQuadraticName;
        continue;
      }
      if (line.front() != ' ' && line.front() != '\t') {
        header(words);
      } else {
        data(words);
      }
    }
    if (section_ != Section::kEnd) {
      line_ = 0;
      fail("the file ends before ENDATA");
    }
    return record();
  }

 private:
  [[noreturn]] void fail(const std::string& what) const { text_.fail(line_, what); }

  std::string_view name(std::string_view text) const {
    text_.checkName(line_, text);
    return text;
  }

  double number(std::string_view text) const { return text_.number(line_, text); }

  void enter(Section next, std::string_view word) {
    if (next <= section_) fail("the section " + quoted(word) + " is out of order or repeated");
    if (section_ == Section::kObjsense && !sense_) fail("OBJSENSE gives no sense");
    section_ = next;
  }

  void header(const std::vector<std::string_view>& words) {
    const std::string_view word = words[0];
    const auto noMore = [&] {
      if (words.size() > 1) fail("unexpected " + quoted(words[1]) + " after " + std::string(word));
    };
    if (word == "NAME") {
      enter(Section::kName, word);
      // The first word names the model; more words (a title, FREE for free form) are not kept.
      if (words.size() > 1) problemName_ = name(words[1]);
    } else if (word == "OBJSENSE") {
      enter(Section::kObjsense, word);
      if (words.size() > 2) fail("unexpected " + quoted(words[2]) + " after OBJSENSE");
      if (words.size() == 2) setSense(words[1]);
    } else if (word == "ROWS") {
      noMore();
      enter(Section::kRows, word);
    } else if (word == "COLUMNS") {
      noMore();
      enter(Section::kColumns, word);
    } else if (word == "RHS") {
      noMore();
      enter(Section::kRhs, word);
    } else if (word == "RANGES") {
      noMore();
      enter(Section::kRanges, word);
    } else if (word == "BOUNDS") {
      noMore();
      enter(Section::kBounds, word);
    } else if (word == "SOS") {
      noMore();
      enter(Section::kSos, word);
    } else if (word == "QUADOBJ" || word == "QMATRIX") {
      noMore();
      enter(Section::kQuadratic, word);
      quadraticSection_ = true;
    } else if (word == "ENDATA") {
      noMore();
      enter(Section::kEnd, word);
    } else if (word == "QSECTION" || word == "QCMATRIX" || word == "CSECTION" ||
               word == "INDICATORS" || word == "OBJNAME" || word == "GENCONS" || word == "PWLOBJ" ||
               word == "BRANCH") {
      fail("the section " + std::string(word) + " is not read");
    } else {
      fail("unknown section " + quoted(word));
    }
  }

  void setSense(std::string_view word) {
    if (sense_) fail("OBJSENSE gives a second sense " + quoted(word));
    const std::string lower = lowerCased(word);
    if (lower == "max" || lower == "maximize") {
      sense_ = true;
    } else if (lower == "min" || lower == "minimize") {
      sense_ = false;
    } else {
      fail("OBJSENSE must be MAX or MIN, not " + quoted(word));
    }
  }

  void data(const std::vector<std::string_view>& words) {
    switch (section_) {
      case Section::kNone:
      case Section::kName:
      case Section::kQuadraticName:
      case Section::kEnd:
        fail("a data line outside a section");
      case Section::kObjsense:
        if (words.size() != 1) fail("OBJSENSE takes one word");
        setSense(words[0]);
        return;
      case Section::kRows:
        return rowLine(words);
      case Section::kColumns:
        return columnLine(words);
      case Section::kRhs:
      case Section::kRanges:
        return rhsOrRangeLine(words);
      case Section::kBounds:
        return boundLine(words);
      case Section::kSos:
        return setLine(words);
      case Section::kQuadratic:
        return quadraticLine(words);
    }
  }

  void rowLine(const std::vector<std::string_view>& words) {
    if (words.size() != 2) fail("a ROWS line is a type and a name");
    RowEntry row;
    const std::string type = lowerCased(words[0]);
    if (type != "n" && type != "l" && type != "g" && type != "e") {
      fail("unknown row type " + quoted(words[0]));
    }
    row.type = static_cast<char>(type[0] - 'a' + 'A');
    row.name = name(words[1]);
    if (row.type == 'N') {
      row.objective = objectiveRow_ < 0;
      if (row.objective) objectiveRow_ = static_cast<int>(rows_.size());
    } else {
      row.index = rowCount_++;
      terms_.emplace_back();
    }
    if (!rowIndex_.emplace(row.name, static_cast<int>(rows_.size())).second) {
      fail("the row " + quoted(row.name) + " is given twice");
    }
    rows_.push_back(row);
  }

  RowEntry& rowNamed(std::string_view text) {
    const auto at = rowIndex_.find(text);
    if (at == rowIndex_.end()) fail("unknown row " + quoted(text));
    return rows_[static_cast<std::size_t>(at->second)];
  }

  int columnNamed(std::string_view text) const {
    const auto at = columnIndex_.find(text);
    if (at == columnIndex_.end()) fail("unknown column " + quoted(text));
    return at->second;
  }

  void columnLine(const std::vector<std::string_view>& words) {
    if (words.size() == 3 && words[1] == "'MARKER'") {
      if (words[2] == "'INTORG'") {
        if (inIntegers_) fail("a second 'INTORG' marker before 'INTEND'");
        inIntegers_ = true;
      } else if (words[2] == "'INTEND'") {
        if (!inIntegers_) fail("an 'INTEND' marker without 'INTORG'");
        inIntegers_ = false;
      } else {
        fail("unknown marker " + quoted(words[2]));
      }
      return;
    }
    if (words.size() != 3 && words.size() != 5) {
      fail("a COLUMNS line is a column and one or two pairs of row and value");
    }
    if (columns_.empty() || words[0] != columns_.back().column.name) {
      const std::string_view column = name(words[0]);
      if (!columnIndex_.emplace(column, static_cast<int>(columns_.size())).second) {
        fail("the column " + quoted(column) + " is given twice (its lines must stand together)");
      }
      ColumnEntry entry;
      entry.column.name = std::string(column);
      entry.integer = inIntegers_;
      if (inIntegers_) entry.column.upper = 1.0;
      columns_.push_back(std::move(entry));
    }
    const int j = static_cast<int>(columns_.size()) - 1;
    for (std::size_t k = 1; k + 1 < words.size(); k += 2) {
      RowEntry& row = rowNamed(words[k]);
      const double value = number(words[k + 1]);
      if (row.lastColumn == j) {
        fail("a second coefficient for row " + quoted(row.name) + " in column " + quoted(words[0]));
      }
      row.lastColumn = j;
      if (value == 0.0) continue;
      if (row.objective) {
        objectiveTerms_.push_back({j, value});
      } else if (row.index >= 0) {
        terms_[static_cast<std::size_t>(row.index)].push_back({j, value});
      }
    }
  }

  // The set name a line of RHS, RANGES or BOUNDS gives must be the section's first.
  void checkSet(std::optional<std::string_view>& first, std::string_view set) {
    if (!first) {
      first = set;
    } else if (!set.empty() && !first->empty() && *first != set) {
      fail("a second set " + quoted(set) + " in the section (only one is read)");
    }
  }

  void rhsOrRangeLine(const std::vector<std::string_view>& words) {
    const bool rhs = section_ == Section::kRhs;
    if (words.size() < 2 || words.size() > 5) {
      fail(std::string("a ") + (rhs ? "RHS" : "RANGES") +
           " line is an optional set name and one or two pairs of row and value");
    }
    const std::size_t first = words.size() % 2;
    checkSet(rhs ? rhsSet_ : rangeSet_, first == 1 ? words[0] : std::string_view());
    for (std::size_t k = first; k + 1 < words.size(); k += 2) {
      RowEntry& row = rowNamed(words[k]);
      const double value = number(words[k + 1]);
      std::optional<double>& slot = rhs ? row.rhs : row.range;
      if (slot)
        fail(std::string("a second ") + (rhs ? "right-hand side" : "range") + " for row " +
             quoted(row.name));
      if (!rhs && row.type == 'N') fail("a range on the N row " + quoted(row.name));
      slot = value;
    }
  }

  void boundLine(const std::vector<std::string_view>& words) {
    const std::string type = words.empty() ? std::string() : std::string(words[0]);
    const bool valued =
        type == "UP" || type == "LO" || type == "FX" || type == "LI" || type == "UI";
    const bool bare = type == "FR" || type == "MI" || type == "PL" || type == "BV";
    if (!valued && !bare && type != "SC") fail("unknown bound type " + quoted(words[0]));
    const std::size_t n = words.size();
    // Writers put a value after the types that take none (CoinUtils' "-1e+30" after MI); a
    // third word is that value when it is a number that names no column.
    const bool hasValue =
        valued || n == 4 ||
        (n == 3 && parseNumber(words[2]).has_value() && !columnIndex_.contains(words[2]));
    const std::size_t columnAt = hasValue ? n - 2 : n - 1;
    if (n < 2 || columnAt < 1 || columnAt > 2 || (valued && n < 3)) {
      fail("a BOUNDS line is a type, an optional set name, a column and a value for " + type);
    }
    checkSet(boundSet_, columnAt == 2 ? words[1] : std::string_view());
    ColumnEntry& c = columns_[static_cast<std::size_t>(columnNamed(words[columnAt]))];
    const double value = hasValue ? number(words[n - 1]) : 0.0;
    if (c.integer && !c.bounded) c.column.upper = kInf;
    c.bounded = true;
    double& lower = c.column.lower;
    double& upper = c.column.upper;
    if (type == "UP" || type == "UI") {
      if (type == "UP" && value < 0.0 && lower == 0.0) lower = -kInf;
      upper = value;
    } else if (type == "LO" || type == "LI") {
      lower = value;
    } else if (type == "FX") {
      lower = upper = value;
    } else if (type == "FR") {
      lower = -kInf;
      upper = kInf;
    } else if (type == "MI") {
      lower = -kInf;
    } else if (type == "PL") {
      upper = kInf;
    } else if (type == "BV") {
      lower = 0.0;
      upper = 1.0;
    } else {
      c.semi = true;
      upper = value == 0.0 ? kInf : value;
    }
    if (type == "LI" || type == "UI" || type == "BV") c.integer = true;
  }

  void setLine(const std::vector<std::string_view>& words) {
    if ((words[0] == "S1" || words[0] == "S2") && words.size() >= 2 && !parseNumber(words[1])) {
      std::size_t k = words[1] == "SOS" && words.size() > 2 ? 2 : 1;
      vopRec::Set set;
      set.type = words[0] == "S1" ? 1 : 2;
      set.name = "sos" + std::to_string(sets_.size() + 1);
      static_cast<void>(name(words[k++]));
      if (k < words.size()) static_cast<void>(number(words[k++]));
      if (k < words.size()) fail("unexpected " + quoted(words[k]) + " after the set's name");
      closeSet();
      sets_.push_back(std::move(set));
      return;
    }
    if (sets_.empty()) fail("a set member before the first set header (S1 or S2)");
    if (words.size() > 2) fail("a set member is a column and an optional weight");
    vopRec::Set& set = sets_.back();
    const int j = columnNamed(words[0]);
    ColumnEntry& c = columns_[static_cast<std::size_t>(j)];
    if (c.lastSet == sets_.size()) fail("the column " + quoted(words[0]) + " is in the set twice");
    c.lastSet = sets_.size();
    set.weights.push_back(words.size() == 2 ? number(words[1])
                                            : static_cast<double>(set.columns.size()));
    set.columns.push_back(j);
  }

  void closeSet() const {
    if (!sets_.empty() && sets_.back().columns.empty()) fail("the set before has no columns");
  }

  // A column and one or two pairs of column and value, as a COLUMNS line.
  void quadraticLine(const std::vector<std::string_view>& words) {
    if (words.size() != 3 && words.size() != 5) {
      fail("a quadratic objective line is a column and one or two pairs of column and value");
    }
    const int i = columnNamed(words[0]);
    for (std::size_t k = 1; k + 1 < words.size(); k += 2) {
      const int j = columnNamed(words[k]);
      const double value = number(words[k + 1]);
      const auto [at, added] = quadratic_.emplace(std::pair{std::min(i, j), std::max(i, j)}, value);
      if (!added && at->second != value) {
        fail("the quadratic objective gives two values for columns " + quoted(words[0]) + " and " +
             quoted(words[k]));
      }
    }
  }

  vopRec record() {
    line_ = 0;
    closeSet();
    vopRec m;
    m.name = std::string(problemName_);
    for (ColumnEntry& c : columns_) {
      vopRec::Column& column = c.column;
      column.lower = boundValue(column.lower);
      column.upper = boundValue(column.upper);
      checkBounds("column", column.name, column.lower, column.upper);
      if (c.semi) {
        column.type =
            c.integer ? vopRec::ColumnType::kSemiInteger : vopRec::ColumnType::kSemiContinuous;
      } else if (c.integer) {
        column.type = vopRec::ColumnType::kInteger;
      }
      m.columns.push_back(std::move(column));
    }
    m.rows.resize(static_cast<std::size_t>(rowCount_));
    vopRec::Objective objective;
    for (const RowEntry& entry : rows_) {
      if (entry.objective) {
        objective.name = std::string(entry.name);
        objective.constant = -entry.rhs.value_or(0.0);
      }
      if (entry.index < 0) continue;
      vopRec::Row& row = m.rows[static_cast<std::size_t>(entry.index)];
      row.name = std::string(entry.name);
      const double rhs = entry.rhs.value_or(0.0);
      const double range = entry.range.value_or(0.0);
      if (entry.type == 'L') {
        row.upper = rhs;
        if (entry.range) row.lower = rhs - std::abs(range);
      } else if (entry.type == 'G') {
        row.lower = rhs;
        if (entry.range) row.upper = rhs + std::abs(range);
      } else {
        row.lower = range < 0.0 ? rhs + range : rhs;
        row.upper = range > 0.0 ? rhs + range : rhs;
      }
      row.lower = boundValue(row.lower);
      row.upper = boundValue(row.upper);
      checkBounds("row", row.name, row.lower, row.upper);
      row.terms = std::move(terms_[static_cast<std::size_t>(entry.index)]);
    }
    objective.maximize = sense_.value_or(false);
    objective.terms = std::move(objectiveTerms_);
    for (const auto& [pair, value] : quadratic_) {
      objective.quadratic.push_back(
          {pair.first, pair.second, pair.first == pair.second ? value / 2 : value});
    }
    m.objectives.push_back(std::move(objective));
    for (vopRec::Set& set : sets_) orderByWeight(set);
    m.sets = std::move(sets_);
    return m;
  }

  void checkBounds(const char* kind, const std::string& what, double lower, double upper) const {
    if (lower == kInf) {
      fail("the " + std::string(kind) + " " + quoted(what) + " has a lower bound of +infinity");
    }
    if (upper == -kInf) {
      fail("the " + std::string(kind) + " " + quoted(what) + " has an upper bound of -infinity");
    }
  }

  ModelText text_;
  std::size_t line_ = 0;
  Section section_ = Section::kNone;
  std::string_view problemName_;
  std::optional<bool> sense_;  // true to maximise
  std::vector<RowEntry> rows_;
  std::unordered_map<std::string_view, int> rowIndex_;
  int objectiveRow_ = -1;
  int rowCount_ = 0;
  std::vector<std::vector<vopRec::Term>> terms_;
  std::vector<vopRec::Term> objectiveTerms_;
  std::vector<ColumnEntry> columns_;
  std::unordered_map<std::string_view, int> columnIndex_;
  bool inIntegers_ = false;  // between 'INTORG' and 'INTEND'; COLUMNS ending closes it
  bool quadraticSection_ = false;
  bool quadraticBlock_ = false;
  std::optional<std::string_view> rhsSet_;
  std::optional<std::string_view> rangeSet_;
  std::optional<std::string_view> boundSet_;
  std::vector<vopRec::Set> sets_;
  std::map<std::pair<int, int>, double> quadratic_;
};

}  // namespace

vopRec readMps(std::string_view text, const std::string& file) {
  return MpsReader(text, file).read();
}

}  // namespace qelhost
