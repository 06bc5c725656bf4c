#include "qel/xpress/xpress_prob_interface.hpp"

#include <algorithm>
#include <array>
#include <cstddef>

#include "nuv/exception.hpp"
#include "qel/xpress/xpress_call.hpp"
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

template <class Function, class... Args>
void XpressProbInterface::call(XpressCall<Function> function, Args... args) const {
  check(function.function(prob(), args...), function.name);
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
  call(QEL_XPRESS_CALL(XPRSaddcols64), ncols, ncoefs, objcoef, start, rowind, rowcoef, lb, ub);
}

void XpressProbInterface::addRows(int nrows, XPRSint64 ncoefs, const char* rowtype,
                                  const double* rhs, const double* rng, const XPRSint64* start,
                                  const int* colind, const double* rowcoef) {
  call(QEL_XPRESS_CALL(XPRSaddrows64), nrows, ncoefs, rowtype, rhs, rng, start, colind, rowcoef);
}

void XpressProbInterface::addQMatrix(int row, XPRSint64 ncoefs, const int* col1, const int* col2,
                                     const double* coef) {
  call(QEL_XPRESS_CALL(XPRSaddqmatrix64), row, ncoefs, col1, col2, coef);
}

void XpressProbInterface::nlpAddFormulas(int nformulas, const int* rowind, const int* formulastart,
                                         int parsed, const int* type, const double* value) {
  call(QEL_XPRESS_CALL(XPRSnlpaddformulas), nformulas, rowind, formulastart, parsed, type, value);
}

void XpressProbInterface::addSets(int nsets, XPRSint64 nelems, const char* settype,
                                  const XPRSint64* start, const int* colind, const double* refval) {
  call(QEL_XPRESS_CALL(XPRSaddsets64), nsets, nelems, settype, start, colind, refval);
}

void XpressProbInterface::setIndicators(int nrows, const int* rowind, const int* colind,
                                        const int* complement) {
  call(QEL_XPRESS_CALL(XPRSsetindicators), nrows, rowind, colind, complement);
}

void XpressProbInterface::addNames(int type, const char* names, int first, int last) {
  call(QEL_XPRESS_CALL(XPRSaddnames), type, names, first, last);
}

void XpressProbInterface::chgObjN(int objidx, int ncols, const int* colind, const double* objcoef) {
  call(QEL_XPRESS_CALL(XPRSchgobjn), objidx, ncols, colind, objcoef);
}

void XpressProbInterface::chgObjSense(int sense) { call(QEL_XPRESS_CALL(XPRSchgobjsense), sense); }

void XpressProbInterface::chgColType(int ncols, const int* colind, const char* coltype) {
  call(QEL_XPRESS_CALL(XPRSchgcoltype), ncols, colind, coltype);
}

void XpressProbInterface::chgGlbLimit(int ncols, const int* colind, const double* limit) {
  call(QEL_XPRESS_CALL(XPRSchgglblimit), ncols, colind, limit);
}

void XpressProbInterface::chgMQObj(XPRSint64 ncoefs, const int* col1, const int* col2,
                                   const double* coef) {
  call(QEL_XPRESS_CALL(XPRSchgmqobj64), ncoefs, col1, col2, coef);
}

void XpressProbInterface::addObj(int ncols, const int* colind, const double* objcoef, int priority,
                                 double weight) {
  call(QEL_XPRESS_CALL(XPRSaddobj), ncols, colind, objcoef, priority, weight);
}

void XpressProbInterface::chgObj(int ncols, const int* colind, const double* objcoef) {
  call(QEL_XPRESS_CALL(XPRSchgobj), ncols, colind, objcoef);
}

void XpressProbInterface::chgBounds(int nbounds, const int* colind, const char* bndtype,
                                    const double* bndval) {
  call(QEL_XPRESS_CALL(XPRSchgbounds), nbounds, colind, bndtype, bndval);
}

// --- Callbacks ----------------------------------------------------------------------------------

void XpressProbInterface::addCBMessage(MessageCallback callback, void* context, int priority) {
  call(QEL_XPRESS_CALL(XPRSaddcbmessage), callback, context, priority);
}

void XpressProbInterface::addCBCheckTime(CheckTimeCallback callback, void* context, int priority) {
  call(QEL_XPRESS_CALL(XPRSaddcbchecktime), callback, context, priority);
}

void XpressProbInterface::addCBIntSol(IntSolCallback callback, void* context, int priority) {
  call(QEL_XPRESS_CALL(XPRSaddcbintsol), callback, context, priority);
}

void XpressProbInterface::addCBOptNode(OptNodeCallback callback, void* context, int priority) {
  call(QEL_XPRESS_CALL(XPRSaddcboptnode), callback, context, priority);
}

void XpressProbInterface::removeCBMessage(MessageCallback callback, void* context) {
  call(QEL_XPRESS_CALL(XPRSremovecbmessage), callback, context);
}

void XpressProbInterface::removeCBCheckTime(CheckTimeCallback callback, void* context) {
  call(QEL_XPRESS_CALL(XPRSremovecbchecktime), callback, context);
}

void XpressProbInterface::removeCBIntSol(IntSolCallback callback, void* context) {
  call(QEL_XPRESS_CALL(XPRSremovecbintsol), callback, context);
}

void XpressProbInterface::removeCBOptNode(OptNodeCallback callback, void* context) {
  call(QEL_XPRESS_CALL(XPRSremovecboptnode), callback, context);
}

// --- Solving, warm starts and files ------------------------------------------------------------

int XpressProbInterface::optimize(const char* flags, int* solveStatus, int* solStatus) {
  return XPRSoptimize(prob(), flags, solveStatus, solStatus);
}

int XpressProbInterface::tune(const char* flags) { return XPRStune(prob(), flags); }

void XpressProbInterface::interrupt(int reason) { call(QEL_XPRESS_CALL(XPRSinterrupt), reason); }

void XpressProbInterface::fixMipEntities(int options) {
  call(QEL_XPRESS_CALL(XPRSfixmipentities), options);
  fixed_ = true;
}

void XpressProbInterface::loadBasis(const int* rowStatus, const int* colStatus) {
  call(QEL_XPRESS_CALL(XPRSloadbasis), rowStatus, colStatus);
}

void XpressProbInterface::loadDirs(int ndirs, const int* colind, const int* priority,
                                   const char* dir, const double* upPseudo,
                                   const double* downPseudo) {
  call(QEL_XPRESS_CALL(XPRSloaddirs), ndirs, colind, priority, dir, upPseudo, downPseudo);
}

void XpressProbInterface::addMIPSol(int length, const double* values, const int* colind,
                                    const char* name) {
  call(QEL_XPRESS_CALL(XPRSaddmipsol), length, values, colind, name);
}

void XpressProbInterface::msAddPreset(const char* description, int preset, int maxJobs,
                                      void* data) {
  call(QEL_XPRESS_CALL(XPRSmsaddpreset), description, preset, maxJobs, data);
}

void XpressProbInterface::nlpSetInitVal(int nvars, const int* colind, const double* initial) {
  call(QEL_XPRESS_CALL(XPRSnlpsetinitval), nvars, colind, initial);
}

void XpressProbInterface::writeProb(const char* fileName, const char* flags) {
  call(QEL_XPRESS_CALL(XPRSwriteprob), fileName, flags);
}

void XpressProbInterface::writePrtSol(const char* fileName, const char* flags) {
  call(QEL_XPRESS_CALL(XPRSwriteprtsol), fileName, flags);
}

void XpressProbInterface::writeBasis(const char* fileName, const char* flags) {
  call(QEL_XPRESS_CALL(XPRSwritebasis), fileName, flags);
}

void XpressProbInterface::save() { call(QEL_XPRESS_CALL(XPRSsave)); }

void XpressProbInterface::tunerReadMethod(const char* fileName) {
  call(QEL_XPRESS_CALL(XPRStunerreadmethod), fileName);
}

void XpressProbInterface::tunerWriteMethod(const char* fileName) {
  call(QEL_XPRESS_CALL(XPRStunerwritemethod), fileName);
}

// --- Results ------------------------------------------------------------------------------------

int XpressProbInterface::getSolution(double* values, int first, int last) const {
  int status = 0;
  call(QEL_XPRESS_CALL(XPRSgetsolution), &status, values, first, last);
  return status;
}

int XpressProbInterface::getRedCosts(double* values, int first, int last) const {
  int status = 0;
  call(QEL_XPRESS_CALL(XPRSgetredcosts), &status, values, first, last);
  return status;
}

int XpressProbInterface::getSlacks(double* values, int first, int last) const {
  int status = 0;
  call(QEL_XPRESS_CALL(XPRSgetslacks), &status, values, first, last);
  return status;
}

int XpressProbInterface::getDuals(double* values, int first, int last) const {
  int status = 0;
  call(QEL_XPRESS_CALL(XPRSgetduals), &status, values, first, last);
  return status;
}

void XpressProbInterface::getRowType(char* rowType, int first, int last) const {
  call(QEL_XPRESS_CALL(XPRSgetrowtype), rowType, first, last);
}

void XpressProbInterface::getBasis(int row, int col, int* rowStatus, int* colStatus) const {
  call(QEL_XPRESS_CALL(XPRSgetbasisval), row, col, rowStatus, colStatus);
}

void XpressProbInterface::getBasis(int* rowStatus, int* colStatus) const {
  call(QEL_XPRESS_CALL(XPRSgetbasis), rowStatus, colStatus);
}

void XpressProbInterface::getScaledInfeas(int* nPrimalCols, int* nPrimalRows, int* nDualRows,
                                          int* nDualCols, int* primalCols, int* primalRows,
                                          int* dualRows, int* dualCols) const {
  call(QEL_XPRESS_CALL(XPRSgetscaledinfeas), nPrimalCols, nPrimalRows, nDualRows, nDualCols,
       primalCols, primalRows, dualRows, dualCols);
}

std::vector<int> XpressProbInterface::getScaledInfeasColPrimal() const {
  return scaledInfeasList(/*rows=*/false);
}

std::vector<int> XpressProbInterface::getScaledInfeasRowPrimal() const {
  return scaledInfeasList(/*rows=*/true);
}

std::vector<int> XpressProbInterface::scaledInfeasList(bool rows) const {
  std::array<int, 4> counts{};
  // A problem Xpress cannot report on (no solution yet) simply has no list to give.
  if (XPRSgetscaledinfeas(prob(), &counts[0], &counts[1], &counts[2], &counts[3], nullptr, nullptr,
                          nullptr, nullptr) != 0) {
    return {};
  }
  std::vector<int> list(static_cast<std::size_t>(std::max(counts[rows ? 1 : 0], 0)));
  call(QEL_XPRESS_CALL(XPRSgetscaledinfeas), &counts[0], &counts[1], &counts[2], &counts[3],
       rows ? nullptr : list.data(), rows ? list.data() : nullptr, nullptr, nullptr);
  return list;
}

// --- Controls and attributes --------------------------------------------------------------------

int XpressProbInterface::getIntAttrib(int id) const {
  int value = 0;
  call(QEL_XPRESS_CALL(XPRSgetintattrib), id, &value);
  return value;
}

double XpressProbInterface::getDblAttrib(int id) const {
  double value = 0.0;
  call(QEL_XPRESS_CALL(XPRSgetdblattrib), id, &value);
  return value;
}

int XpressProbInterface::getIntControl(int id) const {
  int value = 0;
  call(QEL_XPRESS_CALL(XPRSgetintcontrol), id, &value);
  return value;
}

double XpressProbInterface::getDblControl(int id) const {
  double value = 0.0;
  call(QEL_XPRESS_CALL(XPRSgetdblcontrol), id, &value);
  return value;
}

std::string XpressProbInterface::getStrControl(int id) const {
  int length = 0;
  call(QEL_XPRESS_CALL(XPRSgetstringcontrol), id, nullptr, 0, &length);
  // XPRSgetstrcontrol is given no size: the buffer must hold what the first call reported.
  std::vector<char> buffer(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  call(QEL_XPRESS_CALL(XPRSgetstrcontrol), id, buffer.data());
  return bufferText(buffer);
}

int XpressProbInterface::getObjIntControl(int objective, int id) const {
  int value = 0;
  call(QEL_XPRESS_CALL(XPRSgetobjintcontrol), objective, id, &value);
  return value;
}

double XpressProbInterface::getObjDblControl(int objective, int id) const {
  double value = 0.0;
  call(QEL_XPRESS_CALL(XPRSgetobjdblcontrol), objective, id, &value);
  return value;
}

void XpressProbInterface::setIntControl(int id, int value) {
  call(QEL_XPRESS_CALL(XPRSsetintcontrol), id, value);
  modifiedControls_.insert(id);
}

void XpressProbInterface::setDblControl(int id, double value) {
  call(QEL_XPRESS_CALL(XPRSsetdblcontrol), id, value);
  modifiedControls_.insert(id);
}

void XpressProbInterface::setStrControl(int id, const char* value) {
  call(QEL_XPRESS_CALL(XPRSsetstrcontrol), id, value);
  modifiedControls_.insert(id);
}

void XpressProbInterface::setObjIntControl(int objective, int id, int value) {
  call(QEL_XPRESS_CALL(XPRSsetobjintcontrol), objective, id, value);
  modifiedControls_.insert(id);
}

void XpressProbInterface::setObjDblControl(int objective, int id, double value) {
  call(QEL_XPRESS_CALL(XPRSsetobjdblcontrol), objective, id, value);
  modifiedControls_.insert(id);
}

void XpressProbInterface::setDefaultControl(int id) {
  call(QEL_XPRESS_CALL(XPRSsetdefaultcontrol), id);
}

bool XpressProbInterface::modifiedControl(int id) const { return modifiedControls_.contains(id); }

bool XpressProbInterface::isMIP() const {
  return getIntAttrib(XPRS_MIPENTS) != 0 || getIntAttrib(XPRS_SETS) != 0 ||
         getIntAttrib(XPRS_INDICATORS) != 0;
}

std::string XpressProbInterface::getProbName() const {
  std::array<char, kProbNameBufferSize> buffer{};
  call(QEL_XPRESS_CALL(XPRSgetprobname), buffer.data());
  return bufferText(buffer);
}

void XpressProbInterface::setProbName(const char* name) {
  call(QEL_XPRESS_CALL(XPRSsetprobname), name);
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
