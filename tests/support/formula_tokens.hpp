// Formulas for tests, written token by token in reverse-Polish order, and added to a problem.
#ifndef TESTS_SUPPORT_FORMULA_TOKENS_HPP_
#define TESTS_SUPPORT_FORMULA_TOKENS_HPP_

#include <xprs.h>

#include <vector>

namespace xprs_test {

struct Token {
  int type;
  double value;
};
inline Token col(int j) { return {XPRS_TOK_COL, static_cast<double>(j)}; }
inline Token con(double v) { return {XPRS_TOK_CON, v}; }
inline Token op(int o) { return {XPRS_TOK_OP, static_cast<double>(o)}; }
inline Token fn(int f) { return {XPRS_TOK_IFUN, static_cast<double>(f)}; }
inline Token mark() { return {XPRS_TOK_RB, 0.0}; }
inline Token eof() { return {XPRS_TOK_EOF, 0.0}; }

// XPRSnlpaddformulas with one formula on row (the end token appended unless present).
inline int addFormula(XPRSprob prob, int row, std::vector<Token> tokens, int parsed = 1) {
  if (tokens.empty() || tokens.back().type != XPRS_TOK_EOF) tokens.push_back(eof());
  std::vector<int> type;
  std::vector<double> value;
  for (const Token& t : tokens) type.push_back(t.type), value.push_back(t.value);
  const int start[] = {0, static_cast<int>(tokens.size())};
  return XPRSnlpaddformulas(prob, 1, &row, start, parsed, type.data(), value.data());
}

}  // namespace xprs_test

#endif  // TESTS_SUPPORT_FORMULA_TOKENS_HPP_
