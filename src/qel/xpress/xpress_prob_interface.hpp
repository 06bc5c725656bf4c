// `qel::XpressProbInterface`: the plug-in's only door to an Xpress problem.
//
// One operation per Xpress problem function the plug-in uses. Each checked operation
//   1. takes the handle with prob(), which raises the start guard when there is no problem, so
//      nothing reaches Xpress before a problem exists;
//   2. calls the Xpress function with the handle and its own arguments, unchanged and in order;
//   3. passes the return code with the function's name, spelled from the function itself
//      (QEL_XPRESS_CALL), to check(), which raises qel::XpressException for a non-zero code;
//   4. only then changes the wrapper (records a control, sets the fixed flag) or returns the
//      value Xpress wrote.
// A failed call therefore leaves the wrapper as it was. Arrays are passed through as pointers:
// their sizes and the meaning of null follow the Xpress function's own contract, and the wrapper
// neither copies nor keeps them.
//
//   prob.setIntControl(XPRS_PRESOLVE, 0);      // recorded: modifiedControl(XPRS_PRESOLVE)
//   const int mipEntities = prob.getIntAttrib(XPRS_MIPENTS);
//
// The wrapper does not own the handle: qel::XpressProb owns the main problem, and
// qel::XpressProbView lends the problem of a running callback. No operation takes a lock.
#ifndef QEL_XPRESS_XPRESS_PROB_INTERFACE_HPP_
#define QEL_XPRESS_XPRESS_PROB_INTERFACE_HPP_

#include <xprs.h>

#include <source_location>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "qel/xpress/message_callback.hpp"
#include "qel/xpress/xpress_call.hpp"

namespace qel {

// Callback shapes of the optimisation: check-time (its result tells Xpress whether to stop),
// new incumbent, and optimisation node (the last argument is the node's infeasible flag).
using CheckTimeCallback = int(XPRS_CC*)(XPRSprob prob, void* context);
using IntSolCallback = void(XPRS_CC*)(XPRSprob prob, void* context);
using OptNodeCallback = void(XPRS_CC*)(XPRSprob prob, void* context, int* infeasible);

class XpressProbInterface {
 public:
  // --- Checking -------------------------------------------------------------------------------

  // The handle; raises a plain nuv::Exception (no title, code or trace), whose text is
  // ": Requires model to be started first.", when there is none.
  [[nodiscard]] XPRSprob prob() const;
  // Returns when returnCode is 0; otherwise reads the error text of this problem and raises
  // qel::XpressException(text, returnCode, function).
  void check(int returnCode, std::string_view function,
             std::source_location location = std::source_location::current()) const;
  // The last error text Xpress holds for the stored handle (read into a zeroed 512-byte buffer;
  // no start guard, the return code of the read is not examined).
  [[nodiscard]] std::string getLastError() const;

  // --- Model building (all checked) -----------------------------------------------------------

  // XPRSaddcols64; start has ncols entries.
  void addCols(int ncols, XPRSint64 ncoefs, const double* objcoef, const XPRSint64* start,
               const int* rowind, const double* rowcoef, const double* lb, const double* ub);
  // XPRSaddrows64; start has nrows entries.
  void addRows(int nrows, XPRSint64 ncoefs, const char* rowtype, const double* rhs,
               const double* rng, const XPRSint64* start, const int* colind, const double* rowcoef);
  // XPRSaddqmatrix64: quadratic terms of one row.
  void addQMatrix(int row, XPRSint64 ncoefs, const int* col1, const int* col2, const double* coef);
  // XPRSnlpaddformulas: formula k of row rowind[k] is tokens formulastart[k] to
  // formulastart[k + 1] - 1.
  void nlpAddFormulas(int nformulas, const int* rowind, const int* formulastart, int parsed,
                      const int* type, const double* value);
  // XPRSaddsets64.
  void addSets(int nsets, XPRSint64 nelems, const char* settype, const XPRSint64* start,
               const int* colind, const double* refval);
  // XPRSsetindicators.
  void setIndicators(int nrows, const int* rowind, const int* colind, const int* complement);
  // XPRSaddnames: last - first + 1 NUL-separated names of the given type.
  void addNames(int type, const char* names, int first, int last);
  // XPRSchgobjn: coefficients of objective objidx (column -1: the objective's constant term).
  void chgObjN(int objidx, int ncols, const int* colind, const double* objcoef);
  // XPRSchgobjsense: 1 minimise, -1 maximise.
  void chgObjSense(int sense);
  // XPRSchgcoltype.
  void chgColType(int ncols, const int* colind, const char* coltype);
  // XPRSchgglblimit: semi-continuous limits.
  void chgGlbLimit(int ncols, const int* colind, const double* limit);
  // XPRSchgmqobj64: quadratic objective terms.
  void chgMQObj(XPRSint64 ncoefs, const int* col1, const int* col2, const double* coef);
  // XPRSaddobj, XPRSchgobj, XPRSchgbounds.
  void addObj(int ncols, const int* colind, const double* objcoef, int priority, double weight);
  void chgObj(int ncols, const int* colind, const double* objcoef);
  void chgBounds(int nbounds, const int* colind, const char* bndtype, const double* bndval);

  // --- Callbacks (all checked; the context is kept by Xpress, not owned) ----------------------

  void addCBMessage(MessageCallback callback, void* context, int priority);
  void addCBCheckTime(CheckTimeCallback callback, void* context, int priority);
  void addCBIntSol(IntSolCallback callback, void* context, int priority);
  void addCBOptNode(OptNodeCallback callback, void* context, int priority);
  void removeCBMessage(MessageCallback callback, void* context);
  void removeCBCheckTime(CheckTimeCallback callback, void* context);
  void removeCBIntSol(IntSolCallback callback, void* context);
  void removeCBOptNode(OptNodeCallback callback, void* context);

  // --- Solving, warm starts and files ---------------------------------------------------------

  // XPRSoptimize and XPRStune: NOT checked; the Xpress return code is handed back. Only the
  // start guard raises.
  [[nodiscard]] int optimize(const char* flags, int* solveStatus, int* solStatus);
  [[nodiscard]] int tune(const char* flags);
  // XPRSinterrupt; may be called while an optimisation runs.
  void interrupt(int reason);
  // XPRSfixmipentities; afterwards isFixed() is true (until the problem is cleared).
  void fixMipEntities(int options);
  void loadBasis(const int* rowStatus, const int* colStatus);
  void loadDirs(int ndirs, const int* colind, const int* priority, const char* dir,
                const double* upPseudo, const double* downPseudo);
  void addMIPSol(int length, const double* values, const int* colind, const char* name);
  void msAddPreset(const char* description, int preset, int maxJobs, void* data);
  void nlpSetInitVal(int nvars, const int* colind, const double* initial);
  void writeProb(const char* fileName, const char* flags);
  void writePrtSol(const char* fileName, const char* flags);
  void writeBasis(const char* fileName, const char* flags);
  void save();
  void tunerReadMethod(const char* fileName);
  void tunerWriteMethod(const char* fileName);

  // --- Results (all checked) ------------------------------------------------------------------

  // Values of the entities first to last into values; return the status Xpress reports.
  [[nodiscard]] int getSolution(double* values, int first, int last) const;
  [[nodiscard]] int getRedCosts(double* values, int first, int last) const;
  [[nodiscard]] int getSlacks(double* values, int first, int last) const;
  [[nodiscard]] int getDuals(double* values, int first, int last) const;
  void getRowType(char* rowType, int first, int last) const;
  // XPRSgetbasisval: the status of one row and one column (either out may be null).
  void getBasis(int row, int col, int* rowStatus, int* colStatus) const;
  // XPRSgetbasis: every row and column status.
  void getBasis(int* rowStatus, int* colStatus) const;
  // XPRSgetscaledinfeas: counts, then index arrays (any may be null).
  void getScaledInfeas(int* nPrimalCols, int* nPrimalRows, int* nDualRows, int* nDualCols,
                       int* primalCols, int* primalRows, int* dualRows, int* dualCols) const;
  // Columns (rows) whose scaled primal infeasibility Xpress reports. The count query is not
  // checked: when it fails the list is empty. The query of the indices is checked.
  [[nodiscard]] std::vector<int> getScaledInfeasColPrimal() const;
  [[nodiscard]] std::vector<int> getScaledInfeasRowPrimal() const;

  // --- Controls and attributes ----------------------------------------------------------------

  [[nodiscard]] int getIntAttrib(int id) const;
  [[nodiscard]] double getDblAttrib(int id) const;
  [[nodiscard]] int getIntControl(int id) const;
  [[nodiscard]] double getDblControl(int id) const;
  // Asks Xpress for the text's size (XPRSgetstringcontrol), then reads it (XPRSgetstrcontrol).
  [[nodiscard]] std::string getStrControl(int id) const;
  [[nodiscard]] int getObjIntControl(int objective, int id) const;
  [[nodiscard]] double getObjDblControl(int objective, int id) const;
  // The five setters record the control id once Xpress accepted the value; the objective setters
  // record the control id whatever the objective.
  void setIntControl(int id, int value);
  void setDblControl(int id, double value);
  void setStrControl(int id, const char* value);
  void setObjIntControl(int objective, int id, int value);
  void setObjDblControl(int objective, int id, double value);
  // Restores the Xpress default; the record of the id is kept.
  void setDefaultControl(int id);
  // True when the control was set through this wrapper since the problem was created or cleared.
  [[nodiscard]] bool modifiedControl(int id) const;
  // True when the problem has MIP entities, sets or indicator rows (asked in that order).
  [[nodiscard]] bool isMIP() const;
  [[nodiscard]] std::string getProbName() const;
  void setProbName(const char* name);

  // --- State ----------------------------------------------------------------------------------

  [[nodiscard]] bool isFixed() const noexcept { return fixed_; }
  // The handle without the start guard (null when there is none).
  [[nodiscard]] XPRSprob rawProb() const noexcept { return xprsProb_; }
  [[nodiscard]] XPRSprob& rawProb() noexcept { return xprsProb_; }

  // Texts of the stop status and of the solution status; "unknown" for any other code.
  [[nodiscard]] static std::string getStopStatusString(int status);
  [[nodiscard]] static std::string getSolStatusString(int status);

 protected:
  XpressProbInterface() = default;
  XpressProbInterface(const XpressProbInterface&) = default;
  XpressProbInterface& operator=(const XpressProbInterface&) = default;
  // Not virtual: the wrappers are never deleted through this base.
  ~XpressProbInterface() = default;

  // Forgets the recorded controls and the fixed flag (the problem was replaced).
  void forgetState() noexcept;

 private:
  // The checked call: function with prob() (the start guard first) and args, its return code
  // passed to check() with the function's name.
  template <class Function, class... Args>
  void call(XpressCall<Function> function, Args... args) const;

  [[nodiscard]] std::vector<int> scaledInfeasList(bool rows) const;

  XPRSprob xprsProb_ = nullptr;
  std::unordered_set<int> modifiedControls_;
  bool fixed_ = false;
};

}  // namespace qel

#endif  // QEL_XPRESS_XPRESS_PROB_INTERFACE_HPP_
