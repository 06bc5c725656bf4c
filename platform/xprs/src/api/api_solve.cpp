// Callbacks, solving, interrupts, warm starts and results.
#include <xprs.h>

#include <algorithm>
#include <cmath>

#include "engine/engine.hpp"
#include "engine/tune.hpp"
#include "library.hpp"
#include "validate.hpp"

using namespace xprs::standin;

namespace {

int addCallback(const char* function, XPRSprob prob, CallbackKind kind, void* fn, void* data,
                int priority) {
  return callProblem(function, prob, Digest()("cb", fn)("data", data)("priority", priority),
                     [&](Problem& p) {
                       checkPointer(fn, "the callback function");
                       p.target().rec.callbacks.push_back({kind, fn, data, priority});
                       return 0;
                     });
}

// NULL function or NULL data match every registration of the kind.
int removeCallback(const char* function, XPRSprob prob, CallbackKind kind, void* fn, void* data) {
  return callProblem(function, prob, Digest()("cb", fn)("data", data), [&](Problem& p) {
    auto& list = p.target().rec.callbacks;
    std::erase_if(list, [&](const CallbackRecord& c) {
      return c.kind == kind && (fn == nullptr || c.function == fn) &&
             (data == nullptr || c.data == data);
    });
    return 0;
  });
}

template <class F>
void* fnPtr(F f) {
  return reinterpret_cast<void*>(f);
}

// Results copied for first..last of a value array with its availability status.
int getValues(const char* function, XPRSprob prob, int* status, double out[], int first, int last,
              bool rows, bool duals) {
  return callProblem(
      function, prob, Digest()("status", status)("first", first)("last", last), [&](Problem& p) {
        const ProblemRecord& rec = p.target().rec;
        const int count = rows ? rec.model.rows() : rec.model.cols();
        checkRange(first, last, count, rows ? "rows" : "columns");
        const std::vector<double>* values = nullptr;
        int avail = 0;
        if (p.view && !rows && !duals && !p.view->x.empty()) {
          values = &p.view->x;
          avail = XPRS_SOLAVAILABLE_FEASIBLE;
        } else if (!p.view) {
          const ResultRecord& r = rec.results;
          avail = duals ? r.dualAvail : r.primalAvail;
          if (duals) {
            values = rows ? &r.dual : &r.dj;
          } else {
            values = rows ? &r.slack : &r.x;
          }
        }
        const bool present =
            avail != 0 && values != nullptr && values->size() == static_cast<std::size_t>(count);
        if (status) *status = present ? avail : XPRS_SOLAVAILABLE_NOTFOUND;
        if (present && out) {
          std::copy(values->begin() + first, values->begin() + last + 1, out);
        }
        return 0;
      });
}

const ResultRecord& basisOf(Problem& p) {
  const ResultRecord& r = p.target().rec.results;
  if (p.view || !r.hasBasis) fail("no basis is available");
  return r;
}

}  // namespace

extern "C" {

int XPRS_CC XPRSaddcbmessage(XPRSprob prob, XPRSmessagecb cb, void* data, int priority) {
  return addCallback("XPRSaddcbmessage", prob, CallbackKind::Message, fnPtr(cb), data, priority);
}
int XPRS_CC XPRSremovecbmessage(XPRSprob prob, XPRSmessagecb cb, void* data) {
  return removeCallback("XPRSremovecbmessage", prob, CallbackKind::Message, fnPtr(cb), data);
}
int XPRS_CC XPRSaddcbchecktime(XPRSprob prob, XPRSchecktimecb cb, void* data, int priority) {
  return addCallback("XPRSaddcbchecktime", prob, CallbackKind::CheckTime, fnPtr(cb), data,
                     priority);
}
int XPRS_CC XPRSremovecbchecktime(XPRSprob prob, XPRSchecktimecb cb, void* data) {
  return removeCallback("XPRSremovecbchecktime", prob, CallbackKind::CheckTime, fnPtr(cb), data);
}
int XPRS_CC XPRSaddcbintsol(XPRSprob prob, XPRSintsolcb cb, void* data, int priority) {
  return addCallback("XPRSaddcbintsol", prob, CallbackKind::IntSol, fnPtr(cb), data, priority);
}
int XPRS_CC XPRSremovecbintsol(XPRSprob prob, XPRSintsolcb cb, void* data) {
  return removeCallback("XPRSremovecbintsol", prob, CallbackKind::IntSol, fnPtr(cb), data);
}
int XPRS_CC XPRSaddcboptnode(XPRSprob prob, XPRSoptnodecb cb, void* data, int priority) {
  return addCallback("XPRSaddcboptnode", prob, CallbackKind::OptNode, fnPtr(cb), data, priority);
}
int XPRS_CC XPRSremovecboptnode(XPRSprob prob, XPRSoptnodecb cb, void* data) {
  return removeCallback("XPRSremovecboptnode", prob, CallbackKind::OptNode, fnPtr(cb), data);
}

int XPRS_CC XPRSoptimize(XPRSprob prob, const char* flags, int* solvestatus, int* solstatus) {
  return callProblem("XPRSoptimize", prob, Digest().string("flags", flags), [&](Problem& p) {
    if (p.owner) fail("a callback problem cannot be optimised");
    return runOptimize(p, "XPRSoptimize", flags, solvestatus, solstatus);
  });
}

int XPRS_CC XPRStune(XPRSprob prob, const char* flags) {
  return callProblem("XPRStune", prob, Digest().string("flags", flags), [&](Problem& p) {
    if (p.owner) fail("a callback problem cannot be tuned");
    return runTune(p, flags);
  });
}

int XPRS_CC XPRSinterrupt(XPRSprob prob, int reason) {
  return callProblem("XPRSinterrupt", prob, Digest()("reason", reason), [&](Problem& p) {
    if (reason <= 0 || reason == 12 || (reason > XPRS_STOP_NEXTOBJECTIVE && reason < 1000)) {
      fail("invalid stop reason ", reason);
    }
    Problem& t = p.target();
    t.rec.interrupts.push_back(reason);
    int expected = 0;
    t.interruptReason.compare_exchange_strong(expected, reason);
    return 0;
  });
}

int XPRS_CC XPRSfixmipentities(XPRSprob prob, int options) {
  return callProblem("XPRSfixmipentities", prob, Digest()("options", options), [&](Problem& p) {
    checkNotSolving(p);
    if (options < 0 || options > 3) fail("invalid options ", options);
    ProblemRecord& rec = p.target().rec;
    ModelRecord& m = rec.model;
    if (rec.run.optType != XPRS_OPTIMIZETYPE_MIP || rec.results.primalAvail == 0 ||
        rec.results.x.size() != static_cast<std::size_t>(m.cols())) {
      fail("no MIP solution is available");
    }
    // The fixed entities become continuous columns with equal bounds, so the next
    // optimisation of a model without sets is a linear one and yields duals and a basis.
    for (std::size_t j = 0; j < m.colType.size(); ++j) {
      if (m.colType[j] == 'C') continue;
      double v = rec.results.x[j];
      if (options & 1) v = std::round(v);
      m.colLb[j] = v;
      m.colUb[j] = v;
      m.colType[j] = 'C';
    }
    rec.fixRequests.push_back(options);
    rec.fixed = true;
    return 0;
  });
}

int XPRS_CC XPRSloadbasis(XPRSprob prob, const int rowstat[], const int colstat[]) {
  return callProblem("XPRSloadbasis", prob, Digest()("rowstat", rowstat)("colstat", colstat),
                     [&](Problem& p) {
                       checkNotSolving(p);
                       checkPointer(rowstat, "rowstat");
                       checkPointer(colstat, "colstat");
                       Problem& t = p.target();
                       const ModelRecord& m = t.rec.model;
                       for (int i = 0; i < m.rows(); ++i) {
                         if (rowstat[i] < 0 || rowstat[i] > 3)
                           fail("invalid basis status ", rowstat[i], " in rowstat[", i, "]");
                       }
                       for (int j = 0; j < m.cols(); ++j) {
                         if (colstat[j] < 0 || colstat[j] > 3)
                           fail("invalid basis status ", colstat[j], " in colstat[", j, "]");
                       }
                       BasisRecord b;
                       b.rowStat.assign(rowstat, rowstat + m.rows());
                       b.colStat.assign(colstat, colstat + m.cols());
                       t.pendingBasis = b;
                       t.rec.warmStart.bases.push_back(std::move(b));
                       return 0;
                     });
}

int XPRS_CC XPRSaddmipsol(XPRSprob prob, int length, const double solval[], const int colind[],
                          const char* name) {
  return callProblem("XPRSaddmipsol", prob,
                     Digest()("length", length)("colind", colind).string("name", name),
                     [&](Problem& p) {
                       checkNotSolving(p);
                       Problem& t = p.target();
                       const ModelRecord& m = t.rec.model;
                       checkCount("length", length);
                       if (length > 0) checkPointer(solval, "solval");
                       if (colind == nullptr && length > m.cols()) {
                         fail("length ", length, " exceeds the ", m.cols(), " columns");
                       }
                       for (int k = 0; k < length; ++k) {
                         if (colind) checkColumn(m, colind[k], "colind", k);
                         checkValue(solval[k], "solval", k);
                       }
                       MipSolRecord s;
                       s.values.assign(solval, solval + length);
                       if (colind) s.cols.assign(colind, colind + length);
                       if (name) s.name = name;
                       t.pendingMipSols.push_back(s);
                       t.rec.warmStart.mipSols.push_back(std::move(s));
                       return 0;
                     });
}

int XPRS_CC XPRSloaddirs(XPRSprob prob, int ndirs, const int colind[], const int priority[],
                         const char dir[], const double uppseudo[], const double downpseudo[]) {
  Digest d;
  d("ndirs", ndirs)("priority", priority)("dir", dir)("uppseudo", uppseudo)("downpseudo",
                                                                            downpseudo);
  return callProblem("XPRSloaddirs", prob, d, [&](Problem& p) {
    checkNotSolving(p);
    ProblemRecord& rec = p.target().rec;
    const ModelRecord& m = rec.model;
    checkCount("ndirs", ndirs);
    if (ndirs > 0) checkPointer(colind, "colind");
    for (int k = 0; k < ndirs; ++k) {
      if (colind[k] < 0) {
        // Set -1 is the first set; widened, so that INT_MIN does not overflow.
        if (-static_cast<long long>(colind[k]) - 1 >= m.sets()) {
          fail("invalid set reference ", colind[k], " in colind[", k, "] (the problem has ",
               m.sets(), " sets)");
        }
      } else {
        checkColumn(m, colind[k], "colind", k);
      }
      if (priority && (priority[k] < 0 || priority[k] > 1000)) {
        fail("invalid priority ", priority[k], " in priority[", k, "] (0..1000)");
      }
      if (dir && dir[k] != 'U' && dir[k] != 'D' && dir[k] != 'N') {
        fail("invalid direction '", dir[k], "' in dir[", k, "]");
      }
    }
    DirsRecord r;
    r.cols.assign(colind, colind + ndirs);
    if (priority) r.priority.assign(priority, priority + ndirs);
    if (dir) r.dir.assign(dir, dir + ndirs);
    if (uppseudo) r.upPseudo.assign(uppseudo, uppseudo + ndirs);
    if (downpseudo) r.downPseudo.assign(downpseudo, downpseudo + ndirs);
    rec.warmStart.dirs.push_back(std::move(r));
    return 0;
  });
}

int XPRS_CC XPRSnlpsetinitval(XPRSprob prob, int nvars, const int colind[],
                              const double initial[]) {
  return callProblem("XPRSnlpsetinitval", prob, Digest()("nvars", nvars), [&](Problem& p) {
    checkNotSolving(p);
    ProblemRecord& rec = p.target().rec;
    checkCount("nvars", nvars);
    if (nvars > 0) {
      checkPointer(colind, "colind");
      checkPointer(initial, "initial");
    }
    for (int k = 0; k < nvars; ++k) {
      checkColumn(rec.model, colind[k], "colind", k);
      checkValue(initial[k], "initial", k);
    }
    InitValRecord r;
    r.cols.assign(colind, colind + nvars);
    r.values.assign(initial, initial + nvars);
    rec.warmStart.initVals.push_back(std::move(r));
    return 0;
  });
}

int XPRS_CC XPRSmsaddpreset(XPRSprob prob, const char* description, int preset, int maxjobs,
                            void* data) {
  Digest d;
  d.string("description", description)("preset", preset)("maxjobs", maxjobs)("data", data);
  return callProblem("XPRSmsaddpreset", prob, d, [&](Problem& p) {
    checkNotSolving(p);
    if (preset < 0 || preset > 6) fail("invalid preset ", preset, " (0..6)");
    PresetRecord r;
    if (description) r.description = description;
    r.preset = preset;
    r.maxJobs = maxjobs;
    r.data = data;
    p.target().rec.warmStart.presets.push_back(std::move(r));
    return 0;
  });
}

int XPRS_CC XPRSgetsolution(XPRSprob prob, int* status, double x[], int first, int last) {
  return getValues("XPRSgetsolution", prob, status, x, first, last, false, false);
}
int XPRS_CC XPRSgetslacks(XPRSprob prob, int* status, double slacks[], int first, int last) {
  return getValues("XPRSgetslacks", prob, status, slacks, first, last, true, false);
}
int XPRS_CC XPRSgetduals(XPRSprob prob, int* status, double duals[], int first, int last) {
  return getValues("XPRSgetduals", prob, status, duals, first, last, true, true);
}
int XPRS_CC XPRSgetredcosts(XPRSprob prob, int* status, double djs[], int first, int last) {
  return getValues("XPRSgetredcosts", prob, status, djs, first, last, false, true);
}

int XPRS_CC XPRSgetbasis(XPRSprob prob, int rowstat[], int colstat[]) {
  return callProblem("XPRSgetbasis", prob, Digest()("rowstat", rowstat)("colstat", colstat),
                     [&](Problem& p) {
                       const ResultRecord& r = basisOf(p);
                       if (rowstat) std::copy(r.rowBasis.begin(), r.rowBasis.end(), rowstat);
                       if (colstat) std::copy(r.colBasis.begin(), r.colBasis.end(), colstat);
                       return 0;
                     });
}

int XPRS_CC XPRSgetbasisval(XPRSprob prob, int row, int col, int* p_rowstat, int* p_colstat) {
  Digest d;
  d("row", row)("col", col)("p_rowstat", p_rowstat)("p_colstat", p_colstat);
  return callProblem("XPRSgetbasisval", prob, d, [&](Problem& p) {
    const ModelRecord& m = p.target().rec.model;
    if (p_rowstat) checkRow(m, row, "row", 0);
    if (p_colstat) checkColumn(m, col, "col", 0);
    const ResultRecord& r = basisOf(p);
    if (r.rowBasis.size() != static_cast<std::size_t>(m.rows()) ||
        r.colBasis.size() != static_cast<std::size_t>(m.cols())) {
      fail("no basis is available for the current model");
    }
    if (p_rowstat) *p_rowstat = r.rowBasis[static_cast<std::size_t>(row)];
    if (p_colstat) *p_colstat = r.colBasis[static_cast<std::size_t>(col)];
    return 0;
  });
}

int XPRS_CC XPRSgetscaledinfeas(XPRSprob prob, int* p_nprimalcols, int* p_nprimalrows,
                                int* p_ndualrows, int* p_ndualcols, int x[], int slack[],
                                int duals[], int djs[]) {
  Digest d;
  d("x", x)("slack", slack)("duals", duals)("djs", djs);
  return callProblem("XPRSgetscaledinfeas", prob, d, [&](Problem& p) {
    const ResultRecord& r = p.target().rec.results;
    auto out = [](const std::vector<int>& list, int* count, int* array) {
      if (count) *count = static_cast<int>(list.size());
      if (array) std::copy(list.begin(), list.end(), array);
    };
    out(r.primalInfeasCols, p_nprimalcols, x);
    out(r.primalInfeasRows, p_nprimalrows, slack);
    out(r.dualInfeasRows, p_ndualrows, duals);
    out(r.dualInfeasCols, p_ndualcols, djs);
    return 0;
  });
}

}  // extern "C"
