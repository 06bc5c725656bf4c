#include "lp_reader.hpp"

#include <algorithm>
#include <cctype>
#include <cstddef>
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
constexpr std::size_t kMaxObjectives = 2;

struct Token {
  enum class Kind { kName, kNumber, kPlus, kMinus, kColon, kLess, kGreater, kEqual, kEnd };
  Kind kind = Kind::kEnd;
  std::string_view text;
  std::size_t line = 0;
};
using Kind = Token::Kind;

enum class Keyword {
  kNone,
  kMin,
  kMax,
  kSubjectTo,
  kBounds,
  kGenerals,
  kBinaries,
  kSemi,
  kSos,
  kEnd,
  kFree,
  kInfinity
};

bool isNameChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x80 || std::isalnum(u)) return true;
  return std::string_view("!\"#$%&()/,.;?@_`'{}|~").find(c) != std::string_view::npos;
}

// Cuts the text into tokens, comments left out.
std::vector<Token> tokens(const ModelText& text) {
  std::vector<Token> out;
  const auto& lines = text.lines();
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string_view line = lines[k];
    const std::size_t number = k + 1;
    std::size_t at = 0;
    while (at < line.size()) {
      const char c = line[at];
      if (c == ' ' || c == '\t') {
        ++at;
        continue;
      }
      if (c == '\\' || (c == '/' && (at == 0 || line[at - 1] == ' ' || line[at - 1] == '\t'))) {
        break;
      }
      Token token;
      token.line = number;
      std::size_t end = at + 1;
      if (c == '+' || c == '-' || c == ':') {
        token.kind = c == '+' ? Kind::kPlus : c == '-' ? Kind::kMinus : Kind::kColon;
      } else if (c == '<' || c == '>' || c == '=') {
        // The relations are <=, >= and =.
        if (c != '=') {
          if (end == line.size() || line[end] != '=') {
            text.fail(number, "unexpected " + quoted(line.substr(at, 1)) +
                                  " (the relations are <=, >= and =)");
          }
          ++end;
        }
        token.kind = c == '<' ? Kind::kLess : c == '>' ? Kind::kGreater : Kind::kEqual;
      } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
        token.kind = Kind::kNumber;
        while (end < line.size() &&
               (isNameChar(line[end]) || ((line[end] == '+' || line[end] == '-') &&
                                          (line[end - 1] == 'e' || line[end - 1] == 'E')))) {
          ++end;
        }
      } else if (isNameChar(c)) {
        token.kind = Kind::kName;
        while (end < line.size() && isNameChar(line[end])) ++end;
      } else if (c == '[' || c == '^' || c == '*') {
        text.fail(number, "quadratic terms in LP files are not read; write the model as MPS");
      } else {
        text.fail(number, "unexpected character " + quoted(line.substr(at, 1)));
      }
      token.text = line.substr(at, end - at);
      out.push_back(token);
      at = end;
    }
  }
  return out;
}

struct ColumnEntry {
  vopRec::Column column;
  bool binary = false;
  std::size_t semiLine = 0;  // the line that lists it in the semi-continuous section, or 0
  std::size_t lastRow = static_cast<std::size_t>(-1);  // the last row or objective with a term
  std::size_t lastSet = 0;  // the number of the last set it is in, from 1
};

class LpReader {
 public:
  LpReader(std::string_view text, const std::string& file)
      : text_(text, file), tokens_(tokens(text_)) {}

  vopRec read() {
    const Keyword sense = keyword(peek());
    if (sense != Keyword::kMin && sense != Keyword::kMax) {
      fail("the file must start with Minimize or Maximize");
    }
    maximize_ = sense == Keyword::kMax;
    next();
    objectiveSection();
    if (keyword(peek()) != Keyword::kSubjectTo) fail("expected Subject To");
    skipKeyword();
    rowSection();
    // Bounds, then Generals, Binaries and Semi-continuous in any order, then SOS; each once.
    int rank = 0;
    bool seen[5] = {};
    while (true) {
      const Keyword section = keyword(peek());
      if (section == Keyword::kEnd) break;
      if (section != Keyword::kBounds && section != Keyword::kGenerals &&
          section != Keyword::kBinaries && section != Keyword::kSemi && section != Keyword::kSos) {
        fail("expected Bounds, Generals, Binaries, Semi-continuous, SOS or End, not " +
             describe(peek()));
      }
      const int kind = section == Keyword::kBounds     ? 0
                       : section == Keyword::kGenerals ? 1
                       : section == Keyword::kBinaries ? 2
                       : section == Keyword::kSemi     ? 3
                                                       : 4;
      const int sectionRank = kind == 0 ? 0 : kind == 4 ? 2 : 1;
      if (seen[kind] || sectionRank < rank) {
        fail("the section " + quoted(peek().text) + " is out of order or repeated");
      }
      seen[kind] = true;
      rank = sectionRank;
      skipKeyword();
      if (section == Keyword::kBounds) boundSection();
      if (section == Keyword::kGenerals || section == Keyword::kBinaries) {
        integerSection(section == Keyword::kBinaries);
      }
      if (section == Keyword::kSemi) semiSection();
      if (section == Keyword::kSos) setSection();
    }
    next();
    if (peek().kind != Kind::kEnd) fail("there is more after End");
    return record();
  }

 private:
  [[noreturn]] void fail(const std::string& what) const { text_.fail(peek().line, what); }

  const Token& peek(std::size_t ahead = 0) const {
    static const Token kEndToken;
    return at_ + ahead < tokens_.size() ? tokens_[at_ + ahead] : kEndToken;
  }
  const Token& next() {
    const Token& token = peek();
    if (at_ < tokens_.size()) ++at_;
    return token;
  }

  static std::string describe(const Token& token) {
    return token.kind == Kind::kEnd ? "the end of the file" : quoted(token.text);
  }

  static Keyword keyword(const Token& token) {
    if (token.kind != Kind::kName || token.text.size() > 16) return Keyword::kNone;
    const std::string word = lowerCased(token.text);
    if (word == "min" || word == "minimize") return Keyword::kMin;
    if (word == "max" || word == "maximize") return Keyword::kMax;
    if (word == "subject" || word == "st" || word == "s.t." || word == "st.") {
      return Keyword::kSubjectTo;
    }
    if (word == "bounds" || word == "bound") return Keyword::kBounds;
    if (word == "generals" || word == "general" || word == "integers" || word == "integer") {
      return Keyword::kGenerals;
    }
    if (word == "binaries" || word == "binary") return Keyword::kBinaries;
    if (word == "semi" || word == "semis" || word == "semi-continuous") return Keyword::kSemi;
    if (word == "sos") return Keyword::kSos;
    if (word == "end") return Keyword::kEnd;
    if (word == "free") return Keyword::kFree;
    if (word == "inf") return Keyword::kInfinity;
    return Keyword::kNone;
  }

  bool atSection() const {
    const Keyword k = keyword(peek());
    return peek().kind == Kind::kEnd ||
           (k != Keyword::kNone && k != Keyword::kFree && k != Keyword::kInfinity);
  }

  // Skips a section keyword; "Subject To" is two words, "Semi-continuous" three tokens.
  void skipKeyword() {
    const Token& word = next();
    const std::string lower = lowerCased(word.text);
    if (lower == "subject") {
      if (peek().kind != Kind::kName || lowerCased(peek().text) != "to") {
        fail("expected 'To' after 'Subject'");
      }
      next();
    }
    if (lower == "semi" && peek().kind == Kind::kMinus && peek().line == word.line &&
        peek(1).kind == Kind::kName && lowerCased(peek(1).text) == "continuous") {
      next();
      next();
    }
  }

  bool atLabel() const { return peek().kind == Kind::kName && peek(1).kind == Kind::kColon; }

  std::string_view label() {
    const std::string_view name = next().text;
    if (keyword(tokens_[at_ - 1]) != Keyword::kNone) {
      fail("the keyword " + quoted(name) + " cannot name a row or objective");
    }
    text_.checkName(peek().line, name);
    next();
    return name;
  }

  int column(const Token& token) {
    if (token.kind != Kind::kName) fail("expected a column name, not " + describe(token));
    if (keyword(token) != Keyword::kNone) {
      text_.fail(token.line, "the keyword " + quoted(token.text) + " cannot name a column");
    }
    text_.checkName(token.line, token.text);
    const auto [at, added] = columnIndex_.emplace(token.text, static_cast<int>(columns_.size()));
    if (added) {
      columns_.emplace_back();
      columns_.back().column.name = std::string(token.text);
    }
    return at->second;
  }

  double number(const Token& token) const { return text_.number(token.line, token.text); }

  // A linear expression up to a relation or a section; the constant only where one is allowed.
  void expression(std::vector<vopRec::Term>& terms, std::size_t owner,
                  std::optional<double>* constant, const std::string& what) {
    bool first = true;
    while (!atSection() && !atLabel()) {
      const Kind kind = peek().kind;
      if (kind == Kind::kLess || kind == Kind::kGreater || kind == Kind::kEqual) break;
      double sign = 1.0;
      if (kind == Kind::kPlus || kind == Kind::kMinus) {
        sign = kind == Kind::kMinus ? -1.0 : 1.0;
        next();
      } else if (!first) {
        fail("expected + or - before " + describe(peek()) + " in " + what);
      }
      first = false;
      double coef = 1.0;
      if (peek().kind == Kind::kNumber) {
        const Token& value = next();
        coef = number(value);
        const bool term = peek().kind == Kind::kName && !atLabel() && !atSection();
        if (!term) {
          if (constant == nullptr) {
            text_.fail(value.line, "a constant on the left side of " + what +
                                       " (a ranged row is written as two rows)");
          }
          if (constant->has_value()) text_.fail(value.line, "a second constant in " + what);
          *constant = sign * coef;
          continue;
        }
      }
      const int j = column(peek());
      ColumnEntry& c = columns_[static_cast<std::size_t>(j)];
      if (c.lastRow == owner)
        fail("a second term for column " + quoted(peek().text) + " in " + what);
      c.lastRow = owner;
      next();
      terms.push_back({j, sign * coef});
    }
    if (first && constant == nullptr) fail(what + " has no terms");
  }

  void objectiveSection() {
    while (keyword(peek()) != Keyword::kSubjectTo) {
      if (atSection()) fail("expected Subject To, not " + describe(peek()));
      Objective& objective = objectives_.emplace_back();
      if (objectives_.size() > kMaxObjectives) fail("more than two objectives");
      if (atLabel()) {
        objective.name = std::string(label());
      } else if (objectives_.size() > 1) {
        fail("a second objective needs a name");
      } else {
        objective.name = "obj";
      }
      expression(objective.terms, ownerCount_++, &objective.constant,
                 "the objective " + quoted(objective.name));
      const Kind kind = peek().kind;
      if (kind == Kind::kLess || kind == Kind::kGreater || kind == Kind::kEqual) {
        fail("a relation in the objective " + quoted(objective.name) + " (Subject To missing?)");
      }
    }
    // No objective at all: the model asks for a feasible point, under an empty objective.
    if (objectives_.empty()) objectives_.push_back({"obj", {}, {}});
  }

  double rightSide() {
    double sign = 1.0;
    if (peek().kind == Kind::kPlus || peek().kind == Kind::kMinus) {
      sign = next().kind == Kind::kMinus ? -1.0 : 1.0;
    }
    if (keyword(peek()) == Keyword::kInfinity) {
      next();
      return sign * kInf;
    }
    if (peek().kind != Kind::kNumber) fail("expected a number, not " + describe(peek()));
    return boundValue(sign * number(next()));
  }

  void rowSection() {
    while (!atSection()) {
      vopRec::Row& row = rows_.emplace_back();
      const std::size_t line = peek().line;
      row.name = atLabel() ? std::string(label()) : "cons" + std::to_string(rows_.size() - 1);
      if (!rowNames_.emplace(row.name, line).second) {
        fail("the row " + quoted(row.name) + " is given twice");
      }
      expression(row.terms, ownerCount_++, nullptr, "the row " + quoted(row.name));
      const Kind relation = relationToken();
      const double rhs = rightSide();
      if (relation != Kind::kGreater) row.upper = rhs;
      if (relation != Kind::kLess) row.lower = rhs;
      const Kind after = peek().kind;
      if (after == Kind::kLess || after == Kind::kGreater || after == Kind::kEqual) {
        fail("a second relation in the row " + quoted(row.name) +
             " (a ranged row is written as two rows)");
      }
      checkBounds("row", row.name, row.lower, row.upper, line);
    }
  }

  // One bound: "x free", "x rel v", "v rel x" or "v rel x rel w".
  void boundSection() {
    while (!atSection()) {
      const std::size_t line = peek().line;
      if (peek().kind == Kind::kName && keyword(peek()) == Keyword::kNone) {
        ColumnEntry& c = columns_[static_cast<std::size_t>(column(next()))];
        if (keyword(peek()) == Keyword::kFree) {
          next();
          c.column.lower = -kInf;
          c.column.upper = kInf;
        } else {
          const Kind relation = relationToken();
          apply(c, relation, rightSide(), false);
        }
        continue;
      }
      const double first = rightSide();
      const Kind relation = relationToken();
      ColumnEntry& c = columns_[static_cast<std::size_t>(column(next()))];
      apply(c, relation, first, true);
      const Kind kind = peek().kind;
      if (kind == Kind::kLess || kind == Kind::kGreater || kind == Kind::kEqual) {
        if (kind != relation || kind == Kind::kEqual) {
          text_.fail(line, "the relations of a bound on " + quoted(c.column.name) +
                               " do not point the same way");
        }
        next();
        apply(c, relation, rightSide(), false);
      }
    }
  }

  Kind relationToken() {
    const Kind kind = peek().kind;
    if (kind != Kind::kLess && kind != Kind::kGreater && kind != Kind::kEqual) {
      fail("expected <=, >= or =, not " + describe(peek()));
    }
    next();
    return kind;
  }

  // "x rel v", or "v rel x" when reversed.
  static void apply(ColumnEntry& c, Kind relation, double value, bool reversed) {
    if (reversed && relation != Kind::kEqual) {
      relation = relation == Kind::kLess ? Kind::kGreater : Kind::kLess;
    }
    if (relation != Kind::kGreater) c.column.upper = value;
    if (relation != Kind::kLess) c.column.lower = value;
  }

  void integerSection(bool binary) {
    while (!atSection()) {
      ColumnEntry& c = columns_[static_cast<std::size_t>(column(next()))];
      c.column.type = vopRec::ColumnType::kInteger;
      c.binary = c.binary || binary;
    }
  }

  void semiSection() {
    while (!atSection()) {
      const std::size_t line = peek().line;
      columns_[static_cast<std::size_t>(column(next()))].semiLine = line;
    }
  }

  bool atSetType(std::size_t ahead) const {
    const Token& type = peek(ahead);
    return type.kind == Kind::kName && (type.text == "S1" || type.text == "S2") &&
           peek(ahead + 1).kind == Kind::kColon && peek(ahead + 2).kind == Kind::kColon;
  }

  void setSection() {
    while (!atSection()) {
      const bool labelled =
          peek().kind == Kind::kName && peek(1).kind == Kind::kColon && atSetType(2);
      if (!labelled && !atSetType(0)) {
        if (sets_.empty()) fail("expected a set (name: S1:: or S2::), not " + describe(peek()));
        setMember(sets_.back());
        continue;
      }
      closeSet();
      if (labelled) static_cast<void>(label());
      vopRec::Set& set = sets_.emplace_back();
      set.type = next().text == "S1" ? 1 : 2;
      set.name = "sos" + std::to_string(sets_.size());
      next();
      next();
    }
    closeSet();
  }

  void setMember(vopRec::Set& set) {
    const Token& name = peek();
    const auto at = name.kind == Kind::kName ? columnIndex_.find(name.text) : columnIndex_.end();
    if (at == columnIndex_.end()) fail("unknown column " + describe(name) + " in a set");
    next();
    if (peek().kind != Kind::kColon) fail("expected ':' and a weight after " + quoted(name.text));
    next();
    ColumnEntry& c = columns_[static_cast<std::size_t>(at->second)];
    if (c.lastSet == sets_.size()) {
      text_.fail(name.line, "the column " + quoted(name.text) + " is in the set twice");
    }
    c.lastSet = sets_.size();
    const double sign = peek().kind == Kind::kMinus ? -1.0 : 1.0;
    if (peek().kind == Kind::kMinus || peek().kind == Kind::kPlus) next();
    if (peek().kind != Kind::kNumber) fail("expected a weight, not " + describe(peek()));
    set.columns.push_back(at->second);
    set.weights.push_back(sign * number(next()));
  }

  void closeSet() const {
    if (!sets_.empty() && sets_.back().columns.empty()) fail("a set without columns");
  }

  void checkBounds(const char* kind, const std::string& name, double lower, double upper,
                   std::size_t line) const {
    if (lower == kInf) {
      text_.fail(line, std::string("the ") + kind + " " + quoted(name) +
                           " has a lower bound of +infinity");
    }
    if (upper == -kInf) {
      text_.fail(line, std::string("the ") + kind + " " + quoted(name) +
                           " has an upper bound of -infinity");
    }
  }

  vopRec record() {
    vopRec m;
    for (ColumnEntry& c : columns_) {
      vopRec::Column& column = c.column;
      column.lower = boundValue(column.lower);
      column.upper = boundValue(column.upper);
      if (c.binary) {
        column.lower = std::max(column.lower, 0.0);
        column.upper = std::min(column.upper, 1.0);
      }
      checkBounds("column", column.name, column.lower, column.upper, 0);
      if (c.semiLine != 0) {
        // As the MPS reader's SC bound: 0, or within the bounds.
        if (column.type == vopRec::ColumnType::kInteger) {
          text_.fail(c.semiLine, "the column " + quoted(column.name) +
                                     " is integer and semi-continuous (semi-integer columns "
                                     "are not read)");
        }
        if (column.upper == kInf) {
          text_.fail(c.semiLine, "the semi-continuous column " + quoted(column.name) +
                                     " has no finite upper bound");
        }
        column.type = vopRec::ColumnType::kSemiContinuous;
      }
      m.columns.push_back(std::move(column));
    }
    m.rows = std::move(rows_);
    for (Objective& o : objectives_) {
      vopRec::Objective& objective = m.objectives.emplace_back();
      objective.name = std::move(o.name);
      objective.maximize = maximize_;
      for (const vopRec::Term& term : o.terms) {
        if (term.coef != 0.0) objective.terms.push_back(term);
      }
      objective.constant = o.constant.value_or(0.0);
    }
    for (vopRec::Set& set : sets_) orderByWeight(set);
    m.sets = std::move(sets_);
    return m;
  }

  struct Objective {
    std::string name;
    std::vector<vopRec::Term> terms;
    std::optional<double> constant;
  };

  ModelText text_;
  std::vector<Token> tokens_;
  std::size_t at_ = 0;
  bool maximize_ = false;
  std::vector<Objective> objectives_;
  std::vector<vopRec::Row> rows_;
  std::unordered_map<std::string, std::size_t> rowNames_;
  std::size_t ownerCount_ = 0;  // objectives and rows so far
  std::vector<ColumnEntry> columns_;
  std::unordered_map<std::string_view, int> columnIndex_;
  std::vector<vopRec::Set> sets_;
};

}  // namespace

vopRec readLp(std::string_view text, const std::string& file) {
  return LpReader(text, file).read();
}

}  // namespace qelhost
