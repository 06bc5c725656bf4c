// Library and problem life cycle, names and model building.
#include <xprs.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>

#include "library.hpp"
#include "nlp/formula.hpp"
#include "validate.hpp"

using namespace xprs::standin;

namespace {

constexpr std::size_t kMaxProbNameLength = 1024;

void growColumns(ModelRecord& m, std::size_t n) {
  for (ObjectiveRecord& obj : m.objectives) obj.coef.resize(n, 0.0);
}

void growRows(ModelRecord& m, std::size_t n) {
  m.indicatorCol.resize(n, -1);
  m.indicatorComplement.resize(n, 0);
}

// The model of a problem that is not being optimised, to be changed.
ModelRecord& modelToChange(Problem& p) {
  checkNotSolving(p);
  return p.target().rec.model;
}

// An array argument and its name in the error texts.
struct Array {
  const void* data;
  const char* name;
};

// The head of a call given n entries in parallel arrays: n must not be negative, and with any
// entries every array must be given. Whether there are entries.
bool checkEntries(const char* count, long long n, std::initializer_list<Array> arrays) {
  checkCount(count, n);
  if (n == 0) return false;
  for (const Array& a : arrays) checkPointer(a.data, a.name);
  return true;
}

// Calls f(b, begin, end) for each of n blocks that start at the offsets start[] and end where the
// next one starts, the last at ncoefs.
template <class F>
void forEachBlock(int n, XPRSint64 ncoefs, const XPRSint64 start[], F f) {
  for (int b = 0; b < n; ++b) f(b, start[b], b + 1 < n ? start[b + 1] : ncoefs);
}

// The matrix entries of n columns or rows being added: checkIndex (checkRow or checkColumn)
// checks the index of the other dimension, each coefficient must be finite.
template <void (*checkIndex)(const ModelRecord&, int, const char*, long long)>
void checkBlocks(const ModelRecord& m, int n, XPRSint64 ncoefs, const XPRSint64 start[],
                 const int index[], const char* indexName, const double rowcoef[]) {
  checkPointer(start, "start");
  checkPointer(index, indexName);
  checkPointer(rowcoef, "rowcoef");
  checkStarts(start, n, ncoefs, "start");
  for (XPRSint64 k = start[0]; k < ncoefs; ++k) {
    checkIndex(m, index[k], indexName, k);
    checkCoefficient(rowcoef[k], "rowcoef", k);
  }
}

// Appends the matrix entries of n columns or rows; at(b, k) gives the row and column of entry k,
// which belongs to block b.
template <class At>
void appendBlocks(ModelRecord& m, int n, XPRSint64 ncoefs, const XPRSint64 start[],
                  const double rowcoef[], At at) {
  std::size_t e = m.elemVal.size();
  const std::size_t total = e + static_cast<std::size_t>(ncoefs - start[0]);
  m.elemRow.resize(total);
  m.elemCol.resize(total);
  m.elemVal.resize(total);
  forEachBlock(n, ncoefs, start, [&](int b, XPRSint64 begin, XPRSint64 end) {
    for (XPRSint64 k = begin; k < end; ++k, ++e) {
      const auto [row, col] = at(b, k);
      m.elemRow[e] = row;
      m.elemCol[e] = col;
      m.elemVal[e] = rowcoef[k];
    }
  });
}

// Quadratic triplets (col1[k], col2[k], coef[k]), named by their prefix ("rowq", "objq").
void checkTriplets(const ModelRecord& m, XPRSint64 n, const int col1[], const int col2[],
                   const double coef[], const std::string& prefix) {
  const std::string name1 = prefix + "col1";
  const std::string name2 = prefix + "col2";
  const std::string nameCoef = prefix + "coef";
  checkCount("ncoefs", n);
  if (n == 0) return;
  checkPointer(col1, name1.c_str());
  checkPointer(col2, name2.c_str());
  checkPointer(coef, nameCoef.c_str());
  for (XPRSint64 k = 0; k < n; ++k) {
    checkColumn(m, col1[k], name1.c_str(), k);
    checkColumn(m, col2[k], name2.c_str(), k);
    checkCoefficient(coef[k], nameCoef.c_str(), k);
  }
}

// Objective objidx, creating the missing ones below it with zero coefficients. An index may
// pass the current count by at most the number of columns: more objectives than that is no
// model, only a wrong index, and each one holds a coefficient per column.
ObjectiveRecord& objectiveAt(ModelRecord& m, int objidx) {
  const std::size_t count = m.objectives.size();
  if (objidx < 0) fail("invalid objective index ", objidx);
  const auto index = static_cast<std::size_t>(objidx);
  const std::size_t limit = count + static_cast<std::size_t>(m.cols());
  if (index > limit) {
    fail("objective index ", objidx, " is beyond the limit ", limit,
         " (the number of objectives plus the number of columns)");
  }
  if (index >= count) {
    // Built aside first, so that running out of memory leaves the objectives as they were.
    ObjectiveRecord blank;
    blank.coef.assign(static_cast<std::size_t>(m.cols()), 0.0);
    std::vector<ObjectiveRecord> added(index + 1 - count, blank);
    m.objectives.reserve(index + 1);
    std::move(added.begin(), added.end(), std::back_inserter(m.objectives));
  }
  return m.objectives[index];
}

// Checks objective entries (column -1 is the right-hand side); false when there are none.
bool checkObjectiveEntries(const ModelRecord& m, int ncols, const int colind[],
                           const double objcoef[]) {
  if (!checkEntries("ncols", ncols, {{colind, "colind"}, {objcoef, "objcoef"}})) return false;
  for (int i = 0; i < ncols; ++i) {
    if (colind[i] != -1) checkColumn(m, colind[i], "colind", i);
    checkCoefficient(objcoef[i], "objcoef", i);
  }
  return true;
}

// Writes entries that checkObjectiveEntries accepted.
void applyObjectiveEntries(ObjectiveRecord& obj, int ncols, const int colind[],
                           const double objcoef[]) {
  for (int i = 0; i < ncols; ++i) {
    if (colind[i] == -1) {
      obj.rhs = objcoef[i];
    } else {
      obj.coef[static_cast<std::size_t>(colind[i])] = objcoef[i];
    }
    obj.changes.emplace_back(colind[i], objcoef[i]);
  }
}

void changeObjective(ModelRecord& m, ObjectiveRecord& obj, int ncols, const int colind[],
                     const double objcoef[]) {
  if (checkObjectiveEntries(m, ncols, colind, objcoef)) {
    applyObjectiveEntries(obj, ncols, colind, objcoef);
  }
}

// The destination's loaded basis and MIP starts belong to its old model: they are dropped.
void copyModel(const Problem& src, Problem& dest) {
  ProblemRecord fresh;
  fresh.model = src.rec.model;
  fresh.intControls = dest.rec.intControls;
  fresh.dblControls = dest.rec.dblControls;
  fresh.strControls = dest.rec.strControls;
  fresh.callbacks = dest.rec.callbacks;
  dest.rec = std::move(fresh);
  dest.pendingBasis.reset();
  dest.pendingMipSols.clear();
}

}  // namespace

extern "C" {

int XPRS_CC XPRSinit(const char* path) {
  Library& lib = Library::instance();
  if (int rc = lib.enterGlobal("XPRSinit", nullptr, Digest().string("path", path).str()); rc != 0) {
    return rc;
  }
  lib.init();
  return 0;
}

int XPRS_CC XPRSfree(void) {
  Library& lib = Library::instance();
  if (int rc = lib.enterGlobal("XPRSfree", nullptr, ""); rc != 0) return rc;
  if (lib.free() < 0) {
    lib.setGlobalError(kErrorCode, "XPRSfree: the library is not initialised");
    return kErrorCode;
  }
  return 0;
}

int XPRS_CC XPRSgetlicerrmsg(char* buffer, int maxbytes) {
  Library& lib = Library::instance();
  if (int rc = lib.enterGlobal("XPRSgetlicerrmsg", nullptr, Digest()("maxbytes", maxbytes).str());
      rc != 0) {
    return rc;
  }
  if (buffer == nullptr || maxbytes <= 0) return kErrorCode;
  const std::string message = lib.globalError();
  const std::size_t n = std::min(message.size(), static_cast<std::size_t>(maxbytes - 1));
  std::memcpy(buffer, message.data(), n);
  buffer[n] = '\0';
  return 0;
}

int XPRS_CC XPRScreateprob(XPRSprob* p_prob) {
  return createHandle(
      "XPRScreateprob", "p_prob", p_prob,
      [](Library & lib) -> auto& { return lib.createProblem(); });
}

int XPRS_CC XPRSdestroyprob(XPRSprob prob) {
  return callProblem("XPRSdestroyprob", prob, Digest(), [](Problem& p) {
    if (p.owner) fail("a callback problem cannot be destroyed");
    checkNotSolving(p);
    Library::instance().destroyProblem(p);
    return 0;
  });
}

int XPRS_CC XPRScopyprob(XPRSprob dest, XPRSprob src, const char* name) {
  return callProblem("XPRScopyprob", dest, Digest()("src", src).string("name", name),
                     [&](Problem& d) {
                       Problem* s = Library::instance().find(src);
                       if (s == nullptr) {
                         Library::instance().countMisuse();
                         fail("unknown or destroyed source problem handle");
                       }
                       if (&s->target() == &d.target())
                         fail("source and destination are the same problem");
                       if (name && std::strlen(name) > kMaxProbNameLength) {
                         fail("problem name longer than ", kMaxProbNameLength, " characters");
                       }
                       checkNotSolving(d);
                       copyModel(s->target(), d.target());
                       if (name) d.target().rec.model.probName = name;
                       return 0;
                     });
}

int XPRS_CC XPRScopycallbacks(XPRSprob dest, XPRSprob src) {
  return callProblem("XPRScopycallbacks", dest, Digest()("src", src), [&](Problem& d) {
    Problem* s = Library::instance().find(src);
    if (s == nullptr) {
      Library::instance().countMisuse();
      fail("unknown or destroyed source problem handle");
    }
    d.target().rec.callbacks = s->target().rec.callbacks;
    return 0;
  });
}

int XPRS_CC XPRSsetprobname(XPRSprob prob, const char* name) {
  return callProblem("XPRSsetprobname", prob, Digest().string("name", name), [&](Problem& p) {
    checkPointer(name, "name");
    if (std::strlen(name) > kMaxProbNameLength) {
      fail("problem name longer than ", kMaxProbNameLength, " characters");
    }
    p.target().rec.model.probName = name;
    return 0;
  });
}

int XPRS_CC XPRSgetprobname(XPRSprob prob, char* name) {
  return callProblem("XPRSgetprobname", prob, Digest()("name", name), [&](Problem& p) {
    checkPointer(name, "name");
    const std::string& n = p.target().rec.model.probName;
    std::memcpy(name, n.c_str(), n.size() + 1);
    return 0;
  });
}

int XPRS_CC XPRSgetlasterror(XPRSprob prob, char* errmsg) {
  Library& lib = Library::instance();
  Problem* problem = nullptr;
  if (int rc = lib.enter("XPRSgetlasterror", prob, Digest()("errmsg", errmsg).str(), &problem,
                         /*allowNull=*/true);
      rc != 0) {
    if (errmsg) copyMessage(lib.globalError(), errmsg);
    return rc;
  }
  if (errmsg == nullptr) return kErrorCode;
  copyMessage(problem ? problem->target().lastError : lib.globalError(), errmsg);
  return 0;
}

int XPRS_CC XPRSaddcols64(XPRSprob prob, int ncols, XPRSint64 ncoefs, const double objcoef[],
                          const XPRSint64 start[], const int rowind[], const double rowcoef[],
                          const double lb[], const double ub[]) {
  Digest d;
  d("ncols", ncols)("ncoefs", static_cast<long long>(ncoefs))("objcoef", objcoef)("lb", lb)("ub",
                                                                                            ub);
  return callProblem("XPRSaddcols64", prob, d, [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    checkCount("ncols", ncols);
    checkCount("ncoefs", ncoefs);
    if (ncols == 0 && ncoefs > 0)
      fail("ncoefs is ", static_cast<long long>(ncoefs), " but ncols is 0");
    if (ncoefs > 0) checkBlocks<checkRow>(m, ncols, ncoefs, start, rowind, "rowind", rowcoef);
    for (int j = 0; j < ncols; ++j) {
      if (objcoef) checkCoefficient(objcoef[j], "objcoef", j);
      if (lb) checkValue(lb[j], "lb", j);
      if (ub) checkValue(ub[j], "ub", j);
    }
    const std::size_t first = static_cast<std::size_t>(m.cols());
    const std::size_t total = first + static_cast<std::size_t>(ncols);
    m.colLb.reserve(total);
    m.colUb.reserve(total);
    for (int j = 0; j < ncols; ++j) {
      m.colLb.push_back(lb ? lb[j] : 0.0);
      m.colUb.push_back(ub ? ub[j] : XPRS_PLUSINFINITY);
    }
    m.colType.resize(total, 'C');
    m.colLimit.resize(total, 0.0);
    growColumns(m, total);
    if (objcoef)
      std::copy(objcoef, objcoef + ncols,
                m.objectives.front().coef.begin() + static_cast<std::ptrdiff_t>(first));
    if (ncoefs > 0) {
      appendBlocks(m, ncols, ncoefs, start, rowcoef, [&](int j, XPRSint64 k) {
        return std::pair(rowind[k], static_cast<int>(first) + j);
      });
    }
    return 0;
  });
}

int XPRS_CC XPRSaddrows64(XPRSprob prob, int nrows, XPRSint64 ncoefs, const char rowtype[],
                          const double rhs[], const double rng[], const XPRSint64 start[],
                          const int colind[], const double rowcoef[]) {
  Digest d;
  d("nrows", nrows)("ncoefs", static_cast<long long>(ncoefs))("rhs", rhs)("rng", rng);
  return callProblem("XPRSaddrows64", prob, d, [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    checkCount("nrows", nrows);
    checkCount("ncoefs", ncoefs);
    if (nrows == 0 && ncoefs > 0)
      fail("ncoefs is ", static_cast<long long>(ncoefs), " but nrows is 0");
    if (nrows > 0) checkPointer(rowtype, "rowtype");
    for (int i = 0; i < nrows; ++i) {
      const char t = rowtype[i];
      if (t != 'L' && t != 'G' && t != 'E' && t != 'R' && t != 'N') {
        fail("invalid row type '", t, "' in rowtype[", i, "]");
      }
      if (t == 'R') {
        if (rng == nullptr) fail("rng is NULL but row ", i, " is a range row");
        checkValue(rng[i], "rng", i);
      }
      if (rhs) checkValue(rhs[i], "rhs", i);
    }
    if (ncoefs > 0) checkBlocks<checkColumn>(m, nrows, ncoefs, start, colind, "colind", rowcoef);
    const int first = m.rows();
    const std::size_t total = static_cast<std::size_t>(first + nrows);
    m.rowType.insert(m.rowType.end(), rowtype, rowtype + nrows);
    m.rowRhs.reserve(total);
    m.rowRange.reserve(total);
    for (int i = 0; i < nrows; ++i) {
      m.rowRhs.push_back(rhs ? rhs[i] : 0.0);
      m.rowRange.push_back(rowtype[i] == 'R' ? rng[i] : 0.0);
    }
    growRows(m, total);
    if (ncoefs > 0) {
      appendBlocks(m, nrows, ncoefs, start, rowcoef,
                   [&](int i, XPRSint64 k) { return std::pair(first + i, colind[k]); });
    }
    return 0;
  });
}

int XPRS_CC XPRSaddqmatrix64(XPRSprob prob, int row, XPRSint64 ncoefs, const int rowqcol1[],
                             const int rowqcol2[], const double rowqcoef[]) {
  Digest d;
  d("row", row)("ncoefs", static_cast<long long>(ncoefs));
  return callProblem("XPRSaddqmatrix64", prob, d, [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    checkRow(m, row, "row", 0);
    const char t = m.rowType[static_cast<std::size_t>(row)];
    if (t == 'E' || t == 'R') fail("row ", row, " of type '", t, "' cannot hold quadratic terms");
    checkTriplets(m, ncoefs, rowqcol1, rowqcol2, rowqcoef, "rowq");
    for (XPRSint64 k = 0; k < ncoefs; ++k) {
      m.qRow.push_back(row);
      m.qCol1.push_back(rowqcol1[k]);
      m.qCol2.push_back(rowqcol2[k]);
      m.qVal.push_back(rowqcoef[k]);
    }
    return 0;
  });
}

int XPRS_CC XPRSchgmqobj64(XPRSprob prob, XPRSint64 ncoefs, const int objqcol1[],
                           const int objqcol2[], const double objqcoef[]) {
  return callProblem("XPRSchgmqobj64", prob, Digest()("ncoefs", static_cast<long long>(ncoefs)),
                     [&](Problem& p) {
                       ModelRecord& m = modelToChange(p);
                       checkTriplets(m, ncoefs, objqcol1, objqcol2, objqcoef, "objq");
                       for (XPRSint64 k = 0; k < ncoefs; ++k) {
                         const int i = std::min(objqcol1[k], objqcol2[k]);
                         const int j = std::max(objqcol1[k], objqcol2[k]);
                         m.objQCol1.push_back(objqcol1[k]);
                         m.objQCol2.push_back(objqcol2[k]);
                         m.objQVal.push_back(objqcoef[k]);
                         if (objqcoef[k] == 0.0) {
                           m.objQ.erase({i, j});
                         } else {
                           m.objQ[{i, j}] = objqcoef[k];
                         }
                       }
                       return 0;
                     });
}

int XPRS_CC XPRSnlpaddformulas(XPRSprob prob, int ncoefs, const int rowind[],
                               const int formulastart[], int parsed, const int type[],
                               const double value[]) {
  return callProblem(
      "XPRSnlpaddformulas", prob, Digest()("ncoefs", ncoefs)("parsed", parsed), [&](Problem& p) {
        ModelRecord& m = modelToChange(p);
        checkCount("ncoefs", ncoefs);
        if (parsed != 0 && parsed != 1) fail("invalid parsed flag ", parsed, " (0 or 1)");
        if (parsed == 0) fail("unparsed formulas are not supported (parsed is 0)");
        if (ncoefs == 0) return 0;
        checkPointer(rowind, "rowind");
        checkPointer(formulastart, "formulastart");
        checkPointer(type, "type");
        checkPointer(value, "value");
        if (formulastart[0] != 0) fail("formulastart[0] is ", formulastart[0], ", not 0");
        for (int f = 0; f < ncoefs; ++f) {
          if (rowind[f] != -1) checkRow(m, rowind[f], "rowind", f);
          const int begin = formulastart[f];
          const int end = formulastart[f + 1];
          if (end <= begin) {
            fail("inconsistent formulastart[", f + 1, "] = ", end, " (formula ", f, " is empty)");
          }
          for (int k = begin; k < end; ++k) checkValue(value[k], "value", k);
          if (type[end - 1] != XPRS_TOK_EOF) fail("formula ", f, " does not end with token EOF");
          try {
            (void)Formula::compile({type + begin, type + end}, {value + begin, value + end},
                                   m.cols());
          } catch (const ApiError& e) {
            fail(e.what(), " of formula ", f);
          }
        }
        for (int f = 0; f < ncoefs; ++f) {
          FormulaRecord& rec = m.formulas.emplace_back();
          rec.row = rowind[f];
          rec.parsed = parsed;
          rec.type.assign(type + formulastart[f], type + formulastart[f + 1]);
          rec.value.assign(value + formulastart[f], value + formulastart[f + 1]);
        }
        return 0;
      });
}

int XPRS_CC XPRSaddsets64(XPRSprob prob, int nsets, XPRSint64 nelems, const char settype[],
                          const XPRSint64 start[], const int colind[], const double refval[]) {
  Digest d;
  d("nsets", nsets)("nelems", static_cast<long long>(nelems));
  return callProblem("XPRSaddsets64", prob, d, [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    checkCount("nsets", nsets);
    checkCount("nelems", nelems);
    if (nsets == 0 && nelems > 0)
      fail("nelems is ", static_cast<long long>(nelems), " but nsets is 0");
    if (nsets == 0) return 0;
    checkPointer(settype, "settype");
    checkPointer(start, "start");
    for (int s = 0; s < nsets; ++s) {
      if (settype[s] != '1' && settype[s] != '2') {
        fail("invalid set type '", settype[s], "' in settype[", s, "]");
      }
    }
    checkStarts(start, nsets, nelems, "start");
    if (nelems > 0) {
      checkPointer(colind, "colind");
      checkPointer(refval, "refval");
    }
    for (XPRSint64 k = start[0]; k < nelems; ++k) {
      checkColumn(m, colind[k], "colind", k);
      checkValue(refval[k], "refval", k);
    }
    forEachBlock(nsets, nelems, start, [&](int s, XPRSint64 begin, XPRSint64 end) {
      m.setType.push_back(settype[s]);
      for (XPRSint64 k = begin; k < end; ++k) {
        m.setCol.push_back(colind[k]);
        m.setRef.push_back(refval[k]);
      }
      m.setStart.push_back(static_cast<std::int64_t>(m.setCol.size()));
    });
    return 0;
  });
}

int XPRS_CC XPRSsetindicators(XPRSprob prob, int nrows, const int rowind[], const int colind[],
                              const int complement[]) {
  return callProblem("XPRSsetindicators", prob, Digest()("nrows", nrows), [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    if (!checkEntries("nrows", nrows,
                      {{rowind, "rowind"}, {colind, "colind"}, {complement, "complement"}})) {
      return 0;
    }
    for (int i = 0; i < nrows; ++i) {
      checkRow(m, rowind[i], "rowind", i);
      if (complement[i] < -1 || complement[i] > 1) {
        fail("invalid complement flag ", complement[i], " in complement[", i, "]");
      }
      if (complement[i] != 0) checkColumn(m, colind[i], "colind", i);
    }
    for (int i = 0; i < nrows; ++i) {
      const auto r = static_cast<std::size_t>(rowind[i]);
      m.indicatorComplement[r] = complement[i];
      m.indicatorCol[r] = complement[i] != 0 ? colind[i] : -1;
    }
    return 0;
  });
}

int XPRS_CC XPRSaddnames(XPRSprob prob, int type, const char names[], int first, int last) {
  Digest d;
  d("type", type)("first", first)("last", last);
  return callProblem("XPRSaddnames", prob, d, [&](Problem& p) {
    ModelRecord& m = p.target().rec.model;
    std::vector<std::string>* list = nullptr;
    int count = 0;
    const char* what = "";
    switch (type) {
      case XPRS_NAMES_ROW:
        list = &m.rowNames, count = m.rows(), what = "rows";
        break;
      case XPRS_NAMES_COLUMN:
        list = &m.colNames, count = m.cols(), what = "columns";
        break;
      case XPRS_NAMES_SET:
        list = &m.setNames, count = m.sets(), what = "sets";
        break;
      case XPRS_NAMES_OBJECTIVE:
        list = &m.objNames, count = static_cast<int>(m.objectives.size()), what = "objectives";
        break;
      default:
        fail("invalid name type ", type);
    }
    checkRange(first, last, count, what);
    checkPointer(names, "names");
    if (static_cast<int>(list->size()) < count) list->resize(static_cast<std::size_t>(count));
    const char* at = names;
    for (int i = first; i <= last; ++i) {
      const std::size_t len = std::strlen(at);
      (*list)[static_cast<std::size_t>(i)].assign(at, len);
      at += len + 1;
    }
    return 0;
  });
}

int XPRS_CC XPRSchgcoltype(XPRSprob prob, int ncols, const int colind[], const char coltype[]) {
  return callProblem("XPRSchgcoltype", prob, Digest()("ncols", ncols), [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    if (!checkEntries("ncols", ncols, {{colind, "colind"}, {coltype, "coltype"}})) return 0;
    for (int i = 0; i < ncols; ++i) {
      checkColumn(m, colind[i], "colind", i);
      const char t = coltype[i];
      if (t != 'C' && t != 'I' && t != 'B' && t != 'S' && t != 'R' && t != 'P') {
        fail("invalid column type '", t, "' in coltype[", i, "]");
      }
    }
    for (int i = 0; i < ncols; ++i) {
      const auto j = static_cast<std::size_t>(colind[i]);
      const char t = coltype[i];
      m.colType[j] = t;
      if (t == 'B') {
        m.colLb[j] = 0.0;
        m.colUb[j] = 1.0;
      }
      if (t == 'S' || t == 'R' || t == 'P') m.colLimit[j] = 1.0;
    }
    return 0;
  });
}

int XPRS_CC XPRSchgglblimit(XPRSprob prob, int ncols, const int colind[], const double limit[]) {
  return callProblem("XPRSchgglblimit", prob, Digest()("ncols", ncols), [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    if (!checkEntries("ncols", ncols, {{colind, "colind"}, {limit, "limit"}})) return 0;
    for (int i = 0; i < ncols; ++i) {
      checkColumn(m, colind[i], "colind", i);
      const char t = m.colType[static_cast<std::size_t>(colind[i])];
      if (t != 'S' && t != 'R' && t != 'P') {
        fail("column ", colind[i], " of type '", t,
             "' is not semi-continuous, semi-integer or partial integer");
      }
      checkValue(limit[i], "limit", i);
      if (limit[i] < 0.0) fail("negative limit ", limit[i], " in limit[", i, "]");
    }
    for (int i = 0; i < ncols; ++i) m.colLimit[static_cast<std::size_t>(colind[i])] = limit[i];
    return 0;
  });
}

int XPRS_CC XPRSchgobj(XPRSprob prob, int ncols, const int colind[], const double objcoef[]) {
  return callProblem("XPRSchgobj", prob, Digest()("ncols", ncols), [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    changeObjective(m, m.objectives.front(), ncols, colind, objcoef);
    return 0;
  });
}

int XPRS_CC XPRSchgobjn(XPRSprob prob, int objidx, int ncols, const int colind[],
                        const double objcoef[]) {
  return callProblem("XPRSchgobjn", prob, Digest()("objidx", objidx)("ncols", ncols),
                     [&](Problem& p) {
                       ModelRecord& m = modelToChange(p);
                       if (objidx < 0) fail("invalid objective index ", objidx);
                       // Checked before objectives below objidx are created, so that a refused
                       // call changes nothing.
                       const bool any = checkObjectiveEntries(m, ncols, colind, objcoef);
                       ObjectiveRecord& obj = objectiveAt(m, objidx);
                       if (any) applyObjectiveEntries(obj, ncols, colind, objcoef);
                       return 0;
                     });
}

int XPRS_CC XPRSaddobj(XPRSprob prob, int ncols, const int colind[], const double objcoef[],
                       int priority, double weight) {
  Digest d;
  d("ncols", ncols)("priority", priority)("weight", weight);
  return callProblem("XPRSaddobj", prob, d, [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    checkCoefficient(weight, "weight", 0);
    ObjectiveRecord obj;
    obj.coef.assign(static_cast<std::size_t>(m.cols()), 0.0);
    changeObjective(m, obj, ncols, colind, objcoef);
    obj.intControls[XPRS_OBJECTIVE_PRIORITY] = priority;
    obj.dblControls[XPRS_OBJECTIVE_WEIGHT] = weight;
    m.objectives.push_back(std::move(obj));
    return 0;
  });
}

int XPRS_CC XPRSchgobjsense(XPRSprob prob, int objsense) {
  return callProblem("XPRSchgobjsense", prob, Digest()("objsense", objsense), [&](Problem& p) {
    checkNotSolving(p);
    if (objsense != XPRS_OBJ_MINIMIZE && objsense != XPRS_OBJ_MAXIMIZE) {
      fail("invalid objective sense ", objsense, " (1 or -1)");
    }
    p.target().rec.model.sense = objsense;
    return 0;
  });
}

int XPRS_CC XPRSchgbounds(XPRSprob prob, int nbounds, const int colind[], const char bndtype[],
                          const double bndval[]) {
  return callProblem("XPRSchgbounds", prob, Digest()("nbounds", nbounds), [&](Problem& p) {
    ModelRecord& m = modelToChange(p);
    if (!checkEntries("nbounds", nbounds,
                      {{colind, "colind"}, {bndtype, "bndtype"}, {bndval, "bndval"}})) {
      return 0;
    }
    for (int i = 0; i < nbounds; ++i) {
      checkColumn(m, colind[i], "colind", i);
      if (bndtype[i] != 'U' && bndtype[i] != 'L' && bndtype[i] != 'B') {
        fail("invalid bound type '", bndtype[i], "' in bndtype[", i, "]");
      }
      checkValue(bndval[i], "bndval", i);
    }
    for (int i = 0; i < nbounds; ++i) {
      const auto j = static_cast<std::size_t>(colind[i]);
      if (bndtype[i] != 'U') m.colLb[j] = bndval[i];
      if (bndtype[i] != 'L') m.colUb[j] = bndval[i];
    }
    return 0;
  });
}

int XPRS_CC XPRSgetrowtype(XPRSprob prob, char rowtype[], int first, int last) {
  return callProblem("XPRSgetrowtype", prob, Digest()("first", first)("last", last),
                     [&](Problem& p) {
                       const ModelRecord& m = p.target().rec.model;
                       checkRange(first, last, m.rows(), "rows");
                       checkPointer(rowtype, "rowtype");
                       std::copy(m.rowType.begin() + first, m.rowType.begin() + last + 1, rowtype);
                       return 0;
                     });
}

}  // extern "C"
