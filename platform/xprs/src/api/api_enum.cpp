// The MIP solution enumerator: life cycle, the enumeration itself, cull choices, controls,
// attributes, message handler and last error.
#include <xprs.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/engine.hpp"
#include "library.hpp"
#include "pool/enumerate.hpp"
#include "pool/pool.hpp"
#include "validate.hpp"

using namespace xprs::standin;

namespace {

bool isIntControl(int id) {
  return id == XPRS_MSE_CALLBACKCULLSOLS_MIPOBJECT || id == XPRS_MSE_CALLBACKCULLSOLS_DIVERSITY ||
         id == XPRS_MSE_CALLBACKCULLSOLS_MODOBJECT;
}

void refuseDblControl(int id) {
  if (isIntControl(id)) fail("control ", id, " is an integer control, not a double control");
  fail("unknown control ", id);
}

// The solutions of the enumerator's set: those of its last pool that fit its last problem.
struct CullSet {
  const ModelRecord* model = nullptr;
  std::vector<const PoolSolutionRecord*> solutions;
};

CullSet cullSet(const Enumerator& mse) {
  if (mse.rec.problem == nullptr) {
    fail("the enumerator has not run: it has no problem and solution pool to choose from");
  }
  Library& lib = Library::instance();
  Problem* problem = lib.find(asHandle<XPRSprob>(mse.rec.problem));
  Pool* pool = lib.findPool(asHandle<XPRSmipsolpool>(mse.rec.pool));
  if (problem == nullptr) fail("the problem of the last enumeration was destroyed");
  if (pool == nullptr) fail("the solution pool of the last enumeration was destroyed");
  return {&problem->rec.model, solutionsFor(*pool, problem->rec.model)};
}

int storedSolutions(const Enumerator& mse) {
  if (mse.rec.problem == nullptr) return 0;
  Library& lib = Library::instance();
  Problem* problem = lib.find(asHandle<XPRSprob>(mse.rec.problem));
  Pool* pool = lib.findPool(asHandle<XPRSmipsolpool>(mse.rec.pool));
  if (problem == nullptr || pool == nullptr) return 0;
  return static_cast<int>(solutionsFor(*pool, problem->rec.model).size());
}

}  // namespace

extern "C" {

int XPRS_CC XPRS_mse_create(XPRSmipsolenum* mse) {
  return createHandle(
      "XPRS_mse_create", "mse", mse, [](Library & lib) -> auto& { return lib.createEnumerator(); });
}

int XPRS_CC XPRS_mse_destroy(XPRSmipsolenum mse) {
  return callEnumerator("XPRS_mse_destroy", mse, Digest(), [](Enumerator& e) {
    if (e.running) fail("the enumerator is running");
    Library::instance().destroyEnumerator(e);
    return 0;
  });
}

int XPRS_CC XPRS_mse_opt(XPRSmipsolenum mse, XPRSprob prob, XPRSmipsolpool msp,
                         XPRSmsesolhandler f_mse_handler, void* p, int* nMaxSols) {
  Digest d;
  d("prob", prob)("msp", msp)("handler", reinterpret_cast<void*>(f_mse_handler))("p", p)("nMaxSols",
                                                                                         nMaxSols);
  return callEnumerator("XPRS_mse_opt", mse, d, [&](Enumerator& e) {
    return runEnumeration(e, prob, msp, f_mse_handler, p, nMaxSols);
  });
}

int XPRS_CC XPRS_mse_getcullchoice(XPRSmipsolenum mse, int iMetricId, int cull_sol_id_list[],
                                   int nMaxSolsToCull, int* nSolsToCull, double dNewSolMetric,
                                   const double x[], int nCols, int* bRejectSoln) {
  Digest d;
  d("metric", iMetricId)("nmax", nMaxSolsToCull)("newmetric", dNewSolMetric)("x", x)(
      "ncols", nCols)("reject", bRejectSoln);
  return callEnumerator("XPRS_mse_getcullchoice", mse, d, [&](Enumerator& e) {
    if (iMetricId != XPRS_MSE_METRIC_MIPOBJECT && iMetricId != XPRS_MSE_METRIC_DIVERSITY) {
      fail("unsupported metric ", iMetricId);
    }
    checkCount("nMaxSolsToCull", nMaxSolsToCull);
    checkPointer(nSolsToCull, "nSolsToCull");
    if (nMaxSolsToCull > 0) checkPointer(cull_sol_id_list, "cull_sol_id_list");
    const auto nmax = static_cast<std::size_t>(nMaxSolsToCull);
    std::vector<int> chosen;
    bool reject = false;
    std::optional<int> reportedCount;
    if (!e.rec.cullResponses.empty()) {
      CullResponse scripted = std::move(e.rec.cullResponses.front());
      e.rec.cullResponses.pop_front();
      chosen = std::move(scripted.ids);
      reject = scripted.reject;
      reportedCount = scripted.reportedCount;
    } else {
      const CullSet set = cullSet(e);
      const ModelRecord& m = *set.model;
      struct Candidate {
        double key;
        int id;
      };
      std::vector<Candidate> candidates;
      if (iMetricId == XPRS_MSE_METRIC_MIPOBJECT) {
        // Worse than the new solution, worst first; every solution when the new one is ignored.
        for (const PoolSolutionRecord* s : set.solutions) {
          const double key = m.sense * (objectiveOf(m, s->x.data()) - dNewSolMetric);
          if (bRejectSoln == nullptr || key > 1e-9 * std::max(1.0, std::fabs(dNewSolMetric))) {
            candidates.push_back({-key, s->id});
          }
        }
        reject = candidates.empty() && nmax >= 1;
      } else {
        // Closest to the new solution first (L1 distance over the columns).
        checkPointer(x, "x");
        if (nCols != m.cols()) {
          fail("nCols ", nCols, " differs from the ", m.cols(), " columns of the problem");
        }
        for (const PoolSolutionRecord* s : set.solutions) {
          double distance = 0.0;
          for (int j = 0; j < nCols; ++j) {
            distance += std::fabs(s->x[static_cast<std::size_t>(j)] - x[j]);
          }
          candidates.push_back({distance, s->id});
        }
      }
      std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.key < b.key || (a.key == b.key && a.id < b.id);
      });
      for (const Candidate& c : candidates) chosen.push_back(c.id);
    }
    if (chosen.size() > nmax) chosen.resize(nmax);
    std::copy(chosen.begin(), chosen.end(), cull_sol_id_list);
    *nSolsToCull = reportedCount.value_or(static_cast<int>(chosen.size()));
    if (reject && bRejectSoln) *bRejectSoln = 1;
    return 0;
  });
}

int XPRS_CC XPRS_mse_setcbmsghandler(XPRSmipsolenum mse, XPRSobjmsghandler f, void* p) {
  void* fn = reinterpret_cast<void*>(f);
  return callEnumerator("XPRS_mse_setcbmsghandler", mse, Digest()("f", fn)("p", p),
                        [&](Enumerator& e) {
                          e.rec.msgHandler = fn;
                          e.rec.msgContext = p;
                          return 0;
                        });
}

int XPRS_CC XPRS_mse_getlasterror(XPRSmipsolenum mse, int* iMsgCode, char* msg,
                                  int iStringBufferBytes, int* iBytesInInternalString) {
  Library& lib = Library::instance();
  Digest d;
  d("code", iMsgCode)("msg", msg)("maxbytes", iStringBufferBytes)("nbytes", iBytesInInternalString);
  if (mse == nullptr) {
    // Without an enumerator: the error of the last call that had no object to keep it.
    if (int rc = lib.enterGlobal("XPRS_mse_getlasterror", nullptr, d.str()); rc != 0) return rc;
    copyLastError(lib.globalError(), lib.globalErrorCode(), iMsgCode, msg, iStringBufferBytes,
                  iBytesInInternalString);
    return 0;
  }
  return callEnumerator("XPRS_mse_getlasterror", mse, d, [&](Enumerator& e) {
    copyLastError(e.lastError, e.lastErrorCode, iMsgCode, msg, iStringBufferBytes,
                  iBytesInInternalString);
    return 0;
  });
}

int XPRS_CC XPRS_mse_getintcontrol(XPRSmipsolenum mse, int iControlId, int* Val) {
  return callEnumerator("XPRS_mse_getintcontrol", mse, Digest()("control", iControlId),
                        [&](Enumerator& e) {
                          if (!isIntControl(iControlId)) fail("unknown control ", iControlId);
                          checkPointer(Val, "Val");
                          auto it = e.rec.intControls.find(iControlId);
                          *Val = it == e.rec.intControls.end() ? -1 : it->second;
                          return 0;
                        });
}

int XPRS_CC XPRS_mse_setintcontrol(XPRSmipsolenum mse, int iControlId, int Val) {
  return callEnumerator("XPRS_mse_setintcontrol", mse,
                        Digest()("control", iControlId)("value", Val), [&](Enumerator& e) {
                          if (!isIntControl(iControlId)) fail("unknown control ", iControlId);
                          e.rec.intControls[iControlId] = Val;
                          return 0;
                        });
}

int XPRS_CC XPRS_mse_getdblcontrol(XPRSmipsolenum mse, int iControlId, double*) {
  return callEnumerator("XPRS_mse_getdblcontrol", mse, Digest()("control", iControlId),
                        [&](Enumerator&) {
                          refuseDblControl(iControlId);
                          return 0;
                        });
}

int XPRS_CC XPRS_mse_setdblcontrol(XPRSmipsolenum mse, int iControlId, double Val) {
  return callEnumerator("XPRS_mse_setdblcontrol", mse,
                        Digest()("control", iControlId)("value", Val), [&](Enumerator&) {
                          refuseDblControl(iControlId);
                          return 0;
                        });
}

int XPRS_CC XPRS_mse_getintattrib(XPRSmipsolenum mse, int iAttribId, int* Val) {
  return callEnumerator(
      "XPRS_mse_getintattrib", mse, Digest()("attrib", iAttribId), [&](Enumerator& e) {
        if (iAttribId != XPRS_MSE_SOLUTIONS) fail("unknown attribute ", iAttribId);
        checkPointer(Val, "Val");
        auto it = e.rec.intAttribOverrides.find(iAttribId);
        *Val = it != e.rec.intAttribOverrides.end() ? it->second : storedSolutions(e);
        return 0;
      });
}

int XPRS_CC XPRS_mse_getdblattrib(XPRSmipsolenum mse, int iAttribId, double*) {
  return callEnumerator(
      "XPRS_mse_getdblattrib", mse, Digest()("attrib", iAttribId), [&](Enumerator&) {
        if (iAttribId == XPRS_MSE_SOLUTIONS) {
          fail("attribute ", iAttribId, " is an integer attribute, not a double attribute");
        }
        fail("unknown attribute ", iAttribId);
        return 0;
      });
}

}  // extern "C"
