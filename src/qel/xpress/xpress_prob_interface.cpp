#include "qel/xpress/xpress_prob_interface.hpp"

#include <algorithm>
#include <array>
#include <cstddef>

#include "nuv/exception.hpp"
#include "qel/xpress/xpress_exception.hpp"

namespace qel {

namespace {

// Xpress writes its error text into a caller buffer of this size without being told the size.
constexpr std::size_t kErrorBufferSize = 512;
// The longest problem name Xpress keeps (1158 characters) and its terminator.
constexpr std::size_t kProbNameBufferSize = 1159;

// The text of a zeroed buffer up to its first zero byte, never past its end.
template <class Buffer>
std::string bufferText(const Buffer& buffer) {
  return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
}

}  // namespace

XPRSprob XpressProbInterface::prob() const {
  if (xprsProb_ == nullptr) throw nuv::Exception("Requires model to be started first.");
  return xprsProb_;
}

void XpressProbInterface::check(int returnCode, std::string_view function,
                                std::source_location location) const {
  if (returnCode == 0) return;
  throw XpressException(getLastError(), returnCode, function, location);
}

std::string XpressProbInterface::getLastError() const {
  std::array<char, kErrorBufferSize> buffer{};
  XPRSgetlasterror(xprsProb_, buffer.data());
  return bufferText(buffer);
}

// --- Model building -----------------------------------------------------------------------------

void XpressProbInterface::addCols(int ncols, XPRSint64 ncoefs, const double* objcoef,
                                  const XPRSint64* start, const int* rowind, const double* rowcoef,
                                  const double* lb, const double* ub) {
  check(XPRSaddcols64(prob(), ncols, ncoefs, objcoef, start, rowind, rowcoef, lb, ub),
        "XPRSaddcols64");
}

void XpressProbInterface::addRows(int nrows, XPRSint64 ncoefs, const char* rowtype,
                                  const double* rhs, const double* rng, const XPRSint64* start,
                                  const int* colind, const double* rowcoef) {
  check(XPRSaddrows64(prob(), nrows, ncoefs, rowtype, rhs, rng, start, colind, rowcoef),
        "XPRSaddrows64");
}

void XpressProbInterface::addQMatrix(int row, XPRSint64 ncoefs, const int* col1, const int* col2,
                                     const double* coef) {
  check(XPRSaddqmatrix64(prob(), row, ncoefs, col1, col2, coef), "XPRSaddqmatrix64");
}

void XpressProbInterface::nlpAddFormulas(int nformulas, const int* rowind, const int* formulastart,
                                         int parsed, const int* type, const double* value) {
  check(XPRSnlpaddformulas(prob(), nformulas, rowind, formulastart, parsed, type, value),
        "XPRSnlpaddformulas");
}

void XpressProbInterface::addSets(int nsets, XPRSint64 nelems, const char* settype,
                                  const XPRSint64* start, const int* colind, const double* refval) {
  check(XPRSaddsets64(prob(), nsets, nelems, settype, start, colind, refval), "XPRSaddsets64");
}

void XpressProbInterface::setIndicators(int nrows, const int* rowind, const int* colind,
                                        const int* complement) {
  check(XPRSsetindicators(prob(), nrows, rowind, colind, complement), "XPRSsetindicators");
}

void XpressProbInterface::addNames(int type, const char* names, int first, int last) {
  check(XPRSaddnames(prob(), type, names, first, last), "XPRSaddnames");
}

void XpressProbInterface::chgObjN(int objidx, int ncols, const int* colind, const double* objcoef) {
  check(XPRSchgobjn(prob(), objidx, ncols, colind, objcoef), "XPRSchgobjn");
}

void XpressProbInterface::chgObjSense(int sense) {
  check(XPRSchgobjsense(prob(), sense), "XPRSchgobjsense");
}

void XpressProbInterface::chgColType(int ncols, const int* colind, const char* coltype) {
  check(XPRSchgcoltype(prob(), ncols, colind, coltype), "XPRSchgcoltype");
}

void XpressProbInterface::chgGlbLimit(int ncols, const int* colind, const double* limit) {
  check(XPRSchgglblimit(prob(), ncols, colind, limit), "XPRSchgglblimit");
}

void XpressProbInterface::chgMQObj(XPRSint64 ncoefs, const int* col1, const int* col2,
                                   const double* coef) {
  check(XPRSchgmqobj64(prob(), ncoefs, col1, col2, coef), "XPRSchgmqobj64");
}

void XpressProbInterface::addObj(int ncols, const int* colind, const double* objcoef, int priority,
                                 double weight) {
  check(XPRSaddobj(prob(), ncols, colind, objcoef, priority, weight), "XPRSaddobj");
}

void XpressProbInterface::chgObj(int ncols, const int* colind, const double* objcoef) {
  check(XPRSchgobj(prob(), ncols, colind, objcoef), "XPRSchgobj");
}

void XpressProbInterface::chgBounds(int nbounds, const int* colind, const char* bndtype,
                                    const double* bndval) {
  check(XPRSchgbounds(prob(), nbounds, colind, bndtype, bndval), "XPRSchgbounds");
}

// --- Callbacks ----------------------------------------------------------------------------------

void XpressProbInterface::addCBMessage(MessageCallback callback, void* context, int priority) {
  check(XPRSaddcbmessage(prob(), callback, context, priority), "XPRSaddcbmessage");
}

void XpressProbInterface::addCBCheckTime(CheckTimeCallback callback, void* context, int priority) {
  check(XPRSaddcbchecktime(prob(), callback, context, priority), "XPRSaddcbchecktime");
}

void XpressProbInterface::addCBIntSol(IntSolCallback callback, void* context, int priority) {
  check(XPRSaddcbintsol(prob(), callback, context, priority), "XPRSaddcbintsol");
}

void XpressProbInterface::addCBOptNode(OptNodeCallback callback, void* context, int priority) {
  check(XPRSaddcboptnode(prob(), callback, context, priority), "XPRSaddcboptnode");
}

void XpressProbInterface::removeCBMessage(MessageCallback callback, void* context) {
  check(XPRSremovecbmessage(prob(), callback, context), "XPRSremovecbmessage");
}

void XpressProbInterface::removeCBCheckTime(CheckTimeCallback callback, void* context) {
  check(XPRSremovecbchecktime(prob(), callback, context), "XPRSremovecbchecktime");
}

void XpressProbInterface::removeCBIntSol(IntSolCallback callback, void* context) {
  check(XPRSremovecbintsol(prob(), callback, context), "XPRSremovecbintsol");
}

void XpressProbInterface::removeCBOptNode(OptNodeCallback callback, void* context) {
  check(XPRSremovecboptnode(prob(), callback, context), "XPRSremovecboptnode");
}

// --- Solving, warm starts and files ------------------------------------------------------------

int XpressProbInterface::optimize(const char* flags, int* solveStatus, int* solStatus) {
  return XPRSoptimize(prob(), flags, solveStatus, solStatus);
}

int XpressProbInterface::tune(const char* flags) { return XPRStune(prob(), flags); }

void XpressProbInterface::interrupt(int reason) {
  check(XPRSinterrupt(prob(), reason), "XPRSinterrupt");
}

void XpressProbInterface::fixMipEntities(int options) {
  check(XPRSfixmipentities(prob(), options), "XPRSfixmipentities");
  fixed_ = true;
}

void XpressProbInterface::loadBasis(const int* rowStatus, const int* colStatus) {
  check(XPRSloadbasis(prob(), rowStatus, colStatus), "XPRSloadbasis");
}

void XpressProbInterface::loadDirs(int ndirs, const int* colind, const int* priority,
                                   const char* dir, const double* upPseudo,
                                   const double* downPseudo) {
  check(XPRSloaddirs(prob(), ndirs, colind, priority, dir, upPseudo, downPseudo), "XPRSloaddirs");
}

void XpressProbInterface::addMIPSol(int length, const double* values, const int* colind,
                                    const char* name) {
  check(XPRSaddmipsol(prob(), length, values, colind, name), "XPRSaddmipsol");
}

void XpressProbInterface::msAddPreset(const char* description, int preset, int maxJobs,
                                      void* data) {
  check(XPRSmsaddpreset(prob(), description, preset, maxJobs, data), "XPRSmsaddpreset");
}

void XpressProbInterface::nlpSetInitVal(int nvars, const int* colind, const double* initial) {
  check(XPRSnlpsetinitval(prob(), nvars, colind, initial), "XPRSnlpsetinitval");
}

void XpressProbInterface::writeProb(const char* fileName, const char* flags) {
  check(XPRSwriteprob(prob(), fileName, flags), "XPRSwriteprob");
}

void XpressProbInterface::writePrtSol(const char* fileName, const char* flags) {
  check(XPRSwriteprtsol(prob(), fileName, flags), "XPRSwriteprtsol");
}

void XpressProbInterface::writeBasis(const char* fileName, const char* flags) {
  check(XPRSwritebasis(prob(), fileName, flags), "XPRSwritebasis");
}

void XpressProbInterface::save() { check(XPRSsave(prob()), "XPRSsave"); }

void XpressProbInterface::tunerReadMethod(const char* fileName) {
  check(XPRStunerreadmethod(prob(), fileName), "XPRStunerreadmethod");
}

void XpressProbInterface::tunerWriteMethod(const char* fileName) {
  check(XPRStunerwritemethod(prob(), fileName), "XPRStunerwritemethod");
}

// --- Results ------------------------------------------------------------------------------------

int XpressProbInterface::getSolution(double* values, int first, int last) const {
  int status = 0;
  check(XPRSgetsolution(prob(), &status, values, first, last), "XPRSgetsolution");
  return status;
}

int XpressProbInterface::getRedCosts(double* values, int first, int last) const {
  int status = 0;
  check(XPRSgetredcosts(prob(), &status, values, first, last), "XPRSgetredcosts");
  return status;
}

int XpressProbInterface::getSlacks(double* values, int first, int last) const {
  int status = 0;
  check(XPRSgetslacks(prob(), &status, values, first, last), "XPRSgetslacks");
  return status;
}

int XpressProbInterface::getDuals(double* values, int first, int last) const {
  int status = 0;
  check(XPRSgetduals(prob(), &status, values, first, last), "XPRSgetduals");
  return status;
}

void XpressProbInterface::getRowType(char* rowType, int first, int last) const {
  check(XPRSgetrowtype(prob(), rowType, first, last), "XPRSgetrowtype");
}

void XpressProbInterface::getBasis(int row, int col, int* rowStatus, int* colStatus) const {
  check(XPRSgetbasisval(prob(), row, col, rowStatus, colStatus), "XPRSgetbasisval");
}

void XpressProbInterface::getBasis(int* rowStatus, int* colStatus) const {
  check(XPRSgetbasis(prob(), rowStatus, colStatus), "XPRSgetbasis");
}

void XpressProbInterface::getScaledInfeas(int* nPrimalCols, int* nPrimalRows, int* nDualRows,
                                          int* nDualCols, int* primalCols, int* primalRows,
                                          int* dualRows, int* dualCols) const {
  check(XPRSgetscaledinfeas(prob(), nPrimalCols, nPrimalRows, nDualRows, nDualCols, primalCols,
                            primalRows, dualRows, dualCols),
        "XPRSgetscaledinfeas");
}

std::vector<int> XpressProbInterface::getScaledInfeasColPrimal() const {
  return scaledInfeasList(/*rows=*/false);
}

std::vector<int> XpressProbInterface::getScaledInfeasRowPrimal() const {
  return scaledInfeasList(/*rows=*/true);
}

std::vector<int> XpressProbInterface::scaledInfeasList(bool rows) const {
  XPRSprob handle = prob();
  std::array<int, 4> counts{};
  // A problem Xpress cannot report on (no solution yet) simply has no list to give.
  if (XPRSgetscaledinfeas(handle, &counts[0], &counts[1], &counts[2], &counts[3], nullptr, nullptr,
                          nullptr, nullptr) != 0) {
    return {};
  }
  std::vector<int> list(static_cast<std::size_t>(std::max(counts[rows ? 1 : 0], 0)));
  check(XPRSgetscaledinfeas(handle, &counts[0], &counts[1], &counts[2], &counts[3],
                            rows ? nullptr : list.data(), rows ? list.data() : nullptr, nullptr,
                            nullptr),
        "XPRSgetscaledinfeas");
  return list;
}

// --- Controls and attributes --------------------------------------------------------------------

int XpressProbInterface::getIntAttrib(int id) const {
  int value = 0;
  check(XPRSgetintattrib(prob(), id, &value), "XPRSgetintattrib");
  return value;
}

double XpressProbInterface::getDblAttrib(int id) const {
  double value = 0.0;
  check(XPRSgetdblattrib(prob(), id, &value), "XPRSgetdblattrib");
  return value;
}

int XpressProbInterface::getIntControl(int id) const {
  int value = 0;
  check(XPRSgetintcontrol(prob(), id, &value), "XPRSgetintcontrol");
  return value;
}

double XpressProbInterface::getDblControl(int id) const {
  double value = 0.0;
  check(XPRSgetdblcontrol(prob(), id, &value), "XPRSgetdblcontrol");
  return value;
}

std::string XpressProbInterface::getStrControl(int id) const {
  XPRSprob handle = prob();
  int length = 0;
  check(XPRSgetstringcontrol(handle, id, nullptr, 0, &length), "XPRSgetstringcontrol");
  // XPRSgetstrcontrol is given no size: the buffer must hold what the first call reported.
  std::vector<char> buffer(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  check(XPRSgetstrcontrol(handle, id, buffer.data()), "XPRSgetstrcontrol");
  return bufferText(buffer);
}

int XpressProbInterface::getObjIntControl(int objective, int id) const {
  int value = 0;
  check(XPRSgetobjintcontrol(prob(), objective, id, &value), "XPRSgetobjintcontrol");
  return value;
}

double XpressProbInterface::getObjDblControl(int objective, int id) const {
  double value = 0.0;
  check(XPRSgetobjdblcontrol(prob(), objective, id, &value), "XPRSgetobjdblcontrol");
  return value;
}

void XpressProbInterface::setIntControl(int id, int value) {
  check(XPRSsetintcontrol(prob(), id, value), "XPRSsetintcontrol");
  modifiedControls_.insert(id);
}

void XpressProbInterface::setDblControl(int id, double value) {
  check(XPRSsetdblcontrol(prob(), id, value), "XPRSsetdblcontrol");
  modifiedControls_.insert(id);
}

void XpressProbInterface::setStrControl(int id, const char* value) {
  check(XPRSsetstrcontrol(prob(), id, value), "XPRSsetstrcontrol");
  modifiedControls_.insert(id);
}

void XpressProbInterface::setObjIntControl(int objective, int id, int value) {
  check(XPRSsetobjintcontrol(prob(), objective, id, value), "XPRSsetobjintcontrol");
  modifiedControls_.insert(id);
}

void XpressProbInterface::setObjDblControl(int objective, int id, double value) {
  check(XPRSsetobjdblcontrol(prob(), objective, id, value), "XPRSsetobjdblcontrol");
  modifiedControls_.insert(id);
}

void XpressProbInterface::setDefaultControl(int id) {
  check(XPRSsetdefaultcontrol(prob(), id), "XPRSsetdefaultcontrol");
}

bool XpressProbInterface::modifiedControl(int id) const { return modifiedControls_.contains(id); }

bool XpressProbInterface::isMIP() const {
  return getIntAttrib(XPRS_MIPENTS) != 0 || getIntAttrib(XPRS_SETS) != 0 ||
         getIntAttrib(XPRS_INDICATORS) != 0;
}

std::string XpressProbInterface::getProbName() const {
  std::array<char, kProbNameBufferSize> buffer{};
  check(XPRSgetprobname(prob(), buffer.data()), "XPRSgetprobname");
  return bufferText(buffer);
}

void XpressProbInterface::setProbName(const char* name) {
  check(XPRSsetprobname(prob(), name), "XPRSsetprobname");
}

// --- State and texts ----------------------------------------------------------------------------

void XpressProbInterface::forgetState() noexcept {
  modifiedControls_.clear();
  fixed_ = false;
}

std::string XpressProbInterface::getStopStatusString(int status) {
  switch (status) {
    case 0:
      return "normal";
    case 1:
      return "time limit";
    case 2:
      return "ctrl+c";
    case 3:
      return "node limit";
    case 4:
      return "iteration limit";
    case 5:
      return "gap sufficiently small";
    case 6:
      return "solution limit";
    case 8:
      return "insufficient memory";
    case 9:
      return "user interrupt";
    case 10:
      return "completed without fully exploring the tree";
    case 13:
      return "numerical errors";
    case 14:
      return "work limit";
    default:
      return "unknown";
  }
}

std::string XpressProbInterface::getSolStatusString(int status) {
  switch (status) {
    case 0:
      return "not available";
    case 1:
      return "optimal";
    case 2:
      return "feasible";
    case 3:
      return "infeasible";
    case 4:
      return "unbounded";
    default:
      return "unknown";
  }
}

}  // namespace qel
