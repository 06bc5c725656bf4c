// What every model record a reader returns must hold, checked by the readers' fuzz targets:
// terms and sets name existing columns, no number is NaN, no lower bound is +infinity and no
// upper bound -infinity, names are at most 255 characters. A breach aborts with its cause.
#ifndef FUZZ_PLATFORM_HOST_RECORD_CHECK_HPP_
#define FUZZ_PLATFORM_HOST_RECORD_CHECK_HPP_

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "orla/vop_rec.hpp"

namespace fuzz_host {

[[noreturn]] inline void violated(const char* what) {
  std::fprintf(stderr, "reader fuzz: the record breaks a rule: %s\n", what);
  std::abort();
}

inline void checkName(const std::string& name) {
  if (name.size() > 255) violated("a name longer than 255 characters");
}

inline void checkBounds(double lower, double upper) {
  if (std::isnan(lower) || std::isnan(upper)) violated("a NaN bound");
  if (lower == vopRec::kInfinity || upper == -vopRec::kInfinity)
    violated("an empty infinite bound");
}

inline void checkTerms(const vopRec& m, const std::vector<vopRec::Term>& terms) {
  for (const vopRec::Term& t : terms) {
    if (t.column < 0 || static_cast<std::size_t>(t.column) >= m.columns.size()) {
      violated("a term on a column that does not exist");
    }
    if (!std::isfinite(t.coef)) violated("a coefficient that is not finite");
  }
}

inline void checkRecord(const vopRec& m) {
  checkName(m.name);
  for (const vopRec::Column& c : m.columns) {
    checkName(c.name);
    checkBounds(c.lower, c.upper);
  }
  for (const vopRec::Row& r : m.rows) {
    checkName(r.name);
    checkBounds(r.lower, r.upper);
    checkTerms(m, r.terms);
  }
  if (m.objectives.empty()) violated("no objective");
  for (const vopRec::Objective& o : m.objectives) {
    checkName(o.name);
    checkTerms(m, o.terms);
    if (!std::isfinite(o.constant)) violated("an objective constant that is not finite");
    for (const vopRec::QuadTerm& q : o.quadratic) {
      if (q.first < 0 || q.first > q.second ||
          static_cast<std::size_t>(q.second) >= m.columns.size() || !std::isfinite(q.coef)) {
        violated("a bad quadratic term");
      }
    }
  }
  for (const vopRec::Set& s : m.sets) {
    if (s.type != 1 && s.type != 2) violated("a set of an unknown type");
    if (s.columns.empty() || s.weights.size() != s.columns.size()) {
      violated("a set without columns or with a weight count unlike its column count");
    }
    for (std::size_t k = 0; k < s.columns.size(); ++k) {
      if (s.columns[k] < 0 || static_cast<std::size_t>(s.columns[k]) >= m.columns.size()) {
        violated("a set member that does not exist");
      }
      if (!std::isfinite(s.weights[k])) violated("a set weight that is not finite");
      if (k > 0 && s.weights[k - 1] > s.weights[k]) violated("set weights out of order");
    }
  }
}

}  // namespace fuzz_host

#endif  // FUZZ_PLATFORM_HOST_RECORD_CHECK_HPP_
