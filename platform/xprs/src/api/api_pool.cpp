// The MIP solution pool: life cycle, attached problems, stored solutions, controls,
// attributes, message handler and last error.
#include <xprs.h>

#include <algorithm>

#include "engine/engine.hpp"
#include "library.hpp"
#include "pool/pool.hpp"
#include "validate.hpp"

using namespace xprs::standin;

namespace {

// -2: the id was never handed out, -1: the solution was deleted, 0: it is active.
int solutionStatus(const Pool& pool, int id, const PoolSolutionRecord** found) {
  const auto& stored = pool.rec.solutions;
  auto it = std::find_if(stored.begin(), stored.end(),
                         [&](const PoolSolutionRecord& s) { return s.id == id; });
  if (it != stored.end()) {
    *found = &*it;
    return 0;
  }
  *found = nullptr;
  return id >= 1 && id <= pool.rec.lastId ? -1 : -2;
}

const PoolSolutionRecord& activeSolution(const Pool& pool, int id, int* status) {
  const PoolSolutionRecord* s = nullptr;
  const int st = solutionStatus(pool, id, &s);
  if (status) *status = st;
  if (st == -1) fail("solution ", id, " was deleted");
  if (st == -2) fail("solution ", id, " does not exist");
  return *s;
}

void checkIntControl(int id) {
  if (id != XPRS_MSP_DUPLICATESOLUTIONSPOLICY) fail("unknown control ", id);
}

void refuseDblControl(int id) {
  if (id == XPRS_MSP_DUPLICATESOLUTIONSPOLICY) {
    fail("control ", id, " is an integer control, not a double control");
  }
  fail("unknown control ", id);
}

}  // namespace

extern "C" {

int XPRS_CC XPRS_msp_create(XPRSmipsolpool* msp) {
  return createHandle(
      "XPRS_msp_create", "msp", msp, [](Library & lib) -> auto& { return lib.createPool(); });
}

int XPRS_CC XPRS_msp_destroy(XPRSmipsolpool msp) {
  return callPool("XPRS_msp_destroy", msp, Digest(), [](Pool& pool) {
    if (pool.busy > 0) fail("the pool is in use by a running enumeration");
    Library::instance().destroyPool(pool);
    return 0;
  });
}

int XPRS_CC XPRS_msp_probattach(XPRSmipsolpool msp, XPRSprob prob) {
  return callPool("XPRS_msp_probattach", msp, Digest()("prob", prob), [&](Pool& pool) {
    Problem& p = resolveProblem(prob);
    if (p.owner) fail("a callback problem cannot be attached");
    Pool* current = Library::instance().poolOf(prob);
    if (current == &pool) return 0;
    if (current != nullptr) fail("the problem is attached to another solution pool");
    pool.rec.attached.push_back(prob);
    return 0;
  });
}

int XPRS_CC XPRS_msp_probdetach(XPRSmipsolpool msp, XPRSprob prob) {
  return callPool("XPRS_msp_probdetach", msp, Digest()("prob", prob), [&](Pool& pool) {
    resolveProblem(prob);
    std::erase(pool.rec.attached, prob);
    return 0;
  });
}

int XPRS_CC XPRS_msp_getsollist(XPRSmipsolpool msp, XPRSprob prob_to_rank_against, int iRankAttrib,
                                int bRankAscending, int iRankFirstIndex, int iRankLastIndex,
                                int iSolutionIds[], int* nReturnedSolIds, int* nSols) {
  Digest d;
  d("prob", prob_to_rank_against)("rankattrib", iRankAttrib)("ascending", bRankAscending)(
      "first", iRankFirstIndex)("last", iRankLastIndex)("ids", iSolutionIds)(
      "nreturned", nReturnedSolIds)("nsols", nSols);
  return callPool("XPRS_msp_getsollist", msp, d, [&](Pool& pool) {
    const ModelRecord* model = nullptr;
    if (prob_to_rank_against) model = &resolveProblem(prob_to_rank_against).target().rec.model;
    if (iRankAttrib != 0 && iRankAttrib != XPRS_MSP_SOLPRB_OBJ) {
      fail("unsupported rank attribute ", iRankAttrib);
    }
    const bool positions = iSolutionIds != nullptr || nReturnedSolIds != nullptr;
    if (positions && (iRankFirstIndex < 1 || iRankLastIndex < iRankFirstIndex)) {
      fail("invalid rank range first=", iRankFirstIndex, " last=", iRankLastIndex,
           " (positions count from 1)");
    }
    struct Ranked {
      double key;
      int id;
    };
    std::vector<Ranked> ranked;
    for (const PoolSolutionRecord& s : pool.rec.solutions) {
      if (model && s.x.size() != static_cast<std::size_t>(model->cols())) continue;
      double key = s.id;
      if (iRankAttrib == XPRS_MSP_SOLPRB_OBJ)
        key = model ? objectiveOf(*model, s.x.data()) : s.objective;
      ranked.push_back({key, s.id});
    }
    std::stable_sort(ranked.begin(), ranked.end(), [&](const Ranked& a, const Ranked& b) {
      return bRankAscending ? a.key < b.key : a.key > b.key;
    });
    const int total = static_cast<int>(ranked.size());
    if (nSols) *nSols = total;
    if (!positions) return 0;
    const int count = std::max(0, std::min(iRankLastIndex, total) - iRankFirstIndex + 1);
    if (nReturnedSolIds) *nReturnedSolIds = count;
    if (iSolutionIds) {
      for (int k = 0; k < count; ++k) {
        iSolutionIds[k] = ranked[static_cast<std::size_t>(iRankFirstIndex - 1 + k)].id;
      }
    }
    return 0;
  });
}

int XPRS_CC XPRS_msp_getsol(XPRSmipsolpool msp, int iSolutionId, int* iSolutionIdStatus, double x[],
                            int iColFirst, int iColLast, int* nValuesReturned) {
  Digest d;
  d("id", iSolutionId)("status", iSolutionIdStatus)("x", x)("first", iColFirst)("last", iColLast)(
      "nreturned", nValuesReturned);
  return callPool("XPRS_msp_getsol", msp, d, [&](Pool& pool) {
    const PoolSolutionRecord& s = activeSolution(pool, iSolutionId, iSolutionIdStatus);
    const int ncols = static_cast<int>(s.x.size());
    if (iColFirst < 0 || iColLast < iColFirst || (x != nullptr && iColLast >= ncols)) {
      fail("invalid range first=", iColFirst, " last=", iColLast, " (solution ", iSolutionId,
           " has ", ncols, " columns)");
    }
    // Without an array the call only counts: a last column beyond the end is allowed.
    const int count = std::max(0, std::min(iColLast, ncols - 1) - iColFirst + 1);
    if (nValuesReturned) *nValuesReturned = count;
    if (x) std::copy_n(s.x.begin() + iColFirst, count, x);
    return 0;
  });
}

int XPRS_CC XPRS_msp_delsol(XPRSmipsolpool msp, int iSolutionId, int* iSolutionIdStatus) {
  return callPool("XPRS_msp_delsol", msp, Digest()("id", iSolutionId)("status", iSolutionIdStatus),
                  [&](Pool& pool) {
                    activeSolution(pool, iSolutionId, iSolutionIdStatus);
                    std::erase_if(pool.rec.solutions,
                                  [&](const PoolSolutionRecord& s) { return s.id == iSolutionId; });
                    pool.rec.deleted.push_back(iSolutionId);
                    return 0;
                  });
}

int XPRS_CC XPRS_msp_setcbmsghandler(XPRSmipsolpool msp, XPRSobjmsghandler f, void* p) {
  void* fn = reinterpret_cast<void*>(f);
  return callPool("XPRS_msp_setcbmsghandler", msp, Digest()("f", fn)("p", p), [&](Pool& pool) {
    pool.rec.msgHandler = fn;
    pool.rec.msgContext = p;
    return 0;
  });
}

int XPRS_CC XPRS_msp_getlasterror(XPRSmipsolpool msp, int* iMsgCode, char* msg,
                                  int iStringBufferBytes, int* iBytesInInternalString) {
  Library& lib = Library::instance();
  Digest d;
  d("code", iMsgCode)("msg", msg)("maxbytes", iStringBufferBytes)("nbytes", iBytesInInternalString);
  if (msp == nullptr) {
    // Without a pool: the error of the last call that had no object to keep it.
    if (int rc = lib.enterGlobal("XPRS_msp_getlasterror", nullptr, d.str()); rc != 0) return rc;
    copyLastError(lib.globalError(), lib.globalErrorCode(), iMsgCode, msg, iStringBufferBytes,
                  iBytesInInternalString);
    return 0;
  }
  return callPool("XPRS_msp_getlasterror", msp, d, [&](Pool& pool) {
    copyLastError(pool.lastError, pool.lastErrorCode, iMsgCode, msg, iStringBufferBytes,
                  iBytesInInternalString);
    return 0;
  });
}

int XPRS_CC XPRS_msp_getintcontrol(XPRSmipsolpool msp, int iControlId, int* Val) {
  return callPool("XPRS_msp_getintcontrol", msp, Digest()("control", iControlId), [&](Pool& pool) {
    checkIntControl(iControlId);
    checkPointer(Val, "Val");
    auto it = pool.rec.intControls.find(iControlId);
    *Val = it == pool.rec.intControls.end() ? kDefaultDuplicatePolicy : it->second;
    return 0;
  });
}

int XPRS_CC XPRS_msp_setintcontrol(XPRSmipsolpool msp, int iControlId, int Val) {
  return callPool("XPRS_msp_setintcontrol", msp, Digest()("control", iControlId)("value", Val),
                  [&](Pool& pool) {
                    checkIntControl(iControlId);
                    if (Val < 0 || Val > 3) {
                      fail("invalid value ", Val, " for control ", iControlId, " (0..3)");
                    }
                    pool.rec.intControls[iControlId] = Val;
                    return 0;
                  });
}

int XPRS_CC XPRS_msp_getdblcontrol(XPRSmipsolpool msp, int iControlId, double*) {
  return callPool("XPRS_msp_getdblcontrol", msp, Digest()("control", iControlId), [&](Pool&) {
    refuseDblControl(iControlId);
    return 0;
  });
}

int XPRS_CC XPRS_msp_setdblcontrol(XPRSmipsolpool msp, int iControlId, double Val) {
  return callPool("XPRS_msp_setdblcontrol", msp, Digest()("control", iControlId)("value", Val),
                  [&](Pool&) {
                    refuseDblControl(iControlId);
                    return 0;
                  });
}

int XPRS_CC XPRS_msp_getintattrib(XPRSmipsolpool msp, int iAttribId, int* Val) {
  return callPool("XPRS_msp_getintattrib", msp, Digest()("attrib", iAttribId), [&](Pool& pool) {
    if (iAttribId != XPRS_MSP_SOLUTIONS) fail("unknown attribute ", iAttribId);
    checkPointer(Val, "Val");
    *Val = static_cast<int>(pool.rec.solutions.size());
    return 0;
  });
}

int XPRS_CC XPRS_msp_getdblattrib(XPRSmipsolpool msp, int iAttribId, double*) {
  return callPool("XPRS_msp_getdblattrib", msp, Digest()("attrib", iAttribId), [&](Pool&) {
    if (iAttribId == XPRS_MSP_SOLUTIONS) {
      fail("attribute ", iAttribId, " is an integer attribute, not a double attribute");
    }
    fail("unknown attribute ", iAttribId);
    return 0;
  });
}

}  // extern "C"
