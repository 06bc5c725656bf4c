// Plain records of everything a stand-in problem holds: the model as it was loaded (raw, in call
// order), the controls set on it, callback registrations, warm-start data, file requests, the
// last run's results and attributes, and the scripted outcome tests may queue for the next run.
//
// The records are filled by libxprs and read by tests through xprs_testing.hpp; beyond the
// factories of scripted events they contain no behaviour. Bounds and values are stored exactly
// as given (±1e20 and beyond kept unchanged).
#ifndef XPRS_STANDIN_RECORDS_HPP_
#define XPRS_STANDIN_RECORDS_HPP_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace xprs::standin {

// One objective. Objective 0 always exists; its coefficients also come from XPRSaddcols64.
struct ObjectiveRecord {
  std::vector<double> coef;                     // one per column
  double rhs = 0.0;                             // column -1: objective = c'x + ½x'Qx - rhs
  std::vector<std::pair<int, double>> changes;  // raw (column, value) of every change call
  std::map<int, int> intControls;               // per-objective controls set explicitly
  std::map<int, double> dblControls;
};

// One nonlinear formula as given to XPRSnlpaddformulas (tokens include the closing EOF).
struct FormulaRecord {
  int row = 0;
  int parsed = 1;
  std::vector<int> type;
  std::vector<double> value;
};

struct ModelRecord {
  // Columns.
  std::vector<double> colLb, colUb;
  std::vector<char> colType;     // 'C', 'I', 'B', 'S', 'R', 'P'
  std::vector<double> colLimit;  // semi-continuous / partial-integer limit
  // Rows.
  std::vector<char> rowType;  // 'L', 'G', 'E', 'R', 'N'
  std::vector<double> rowRhs, rowRange;
  // Linear matrix entries, raw and in call order (duplicates and zeros kept).
  std::vector<int> elemRow, elemCol;
  std::vector<double> elemVal;
  // Quadratic row terms, raw and in call order: (i, j, v) is Q_ij = Q_ji = v of the row's
  // x'Qx (the term 2v x_i x_j when i != j), in either triangle.
  std::vector<int> qRow, qCol1, qCol2;
  std::vector<double> qVal;
  // Objective Hessian: raw triplets of every XPRSchgmqobj64 call, and the merged matrix keyed by
  // (i, j) with i <= j holding Q_ij of ½x'Qx.
  std::vector<int> objQCol1, objQCol2;
  std::vector<double> objQVal;
  std::map<std::pair<int, int>, double> objQ;
  std::vector<FormulaRecord> formulas;
  // Indicators, one entry per row: complement 0 means the row is no indicator row.
  std::vector<int> indicatorCol, indicatorComplement;
  // Special ordered sets: set s has members setStart[s] .. setStart[s+1]-1.
  std::vector<char> setType;
  std::vector<std::int64_t> setStart{0};
  std::vector<int> setCol;
  std::vector<double> setRef;
  std::vector<ObjectiveRecord> objectives{1};
  int sense = 1;  // 1 minimise, -1 maximise
  std::vector<std::string> rowNames, colNames, setNames, objNames;
  std::string probName;

  [[nodiscard]] int cols() const { return static_cast<int>(colType.size()); }
  [[nodiscard]] int rows() const { return static_cast<int>(rowType.size()); }
  [[nodiscard]] int sets() const { return static_cast<int>(setType.size()); }
};

enum class CallbackKind { Message, CheckTime, IntSol, OptNode };

struct CallbackRecord {
  CallbackKind kind = CallbackKind::Message;
  void* function = nullptr;
  void* data = nullptr;
  int priority = 0;
};

struct BasisRecord {
  std::vector<int> rowStat, colStat;
};

struct DirsRecord {
  std::vector<int> cols, priority;
  std::vector<char> dir;                     // empty when NULL was passed
  std::vector<double> upPseudo, downPseudo;  // empty when NULL was passed
};

struct MipSolRecord {
  std::vector<double> values;
  std::vector<int> cols;  // empty when NULL was passed
  std::optional<std::string> name;
};

struct InitValRecord {
  std::vector<int> cols;
  std::vector<double> values;
};

struct PresetRecord {
  std::optional<std::string> description;
  int preset = 0;
  int maxJobs = 0;
  void* data = nullptr;
};

struct WarmStartRecord {
  std::vector<BasisRecord> bases;
  std::vector<DirsRecord> dirs;
  std::vector<MipSolRecord> mipSols;
  std::vector<InitValRecord> initVals;
  std::vector<PresetRecord> presets;
};

struct FileRequest {
  std::string function;  // "XPRSwriteprob", "XPRSwritebasis", "XPRSwriteprtsol", "XPRSsave"
  std::string fileName;  // as passed
  std::string flags;     // as passed
  std::string path;      // the file actually written
};

// Attributes of the last run (or of the scripted outcome that replaced it).
struct RunRecord {
  int solveStatus = 0;
  int solStatus = 0;
  int stopStatus = 0;
  int nlpStopStatus = 0;
  int lpStatus = 0;
  int mipStatus = 0;
  int optType = -1;
  int nodes = 0;
  int iterations = 0;
  int mipSols = 0;
  int algorithm = 0;
  double objVal = 0.0;
  double lpObjVal = 0.0;
  double mipObjVal = 0.0;
  double bestBound = 0.0;
  double time = 0.0;
  double sumPrimalInf = 0.0;
  int solvedObjs = 0;  // objectives whose priority level was solved to optimality
  // Nonlinear runs: evaluations of objective, rows and their derivatives, and their time.
  long evaluations = 0;
  double evalTime = 0.0;
};

// Results of the last run. Availability uses the XPRS_SOLAVAILABLE_* codes.
struct ResultRecord {
  int primalAvail = 0;  // x and slacks
  int dualAvail = 0;    // duals and reduced costs
  std::vector<double> x, slack, dual, dj;
  bool hasBasis = false;
  std::vector<int> rowBasis, colBasis;  // XPRS codes; rows describe the slack
  std::vector<int> primalInfeasCols, primalInfeasRows, dualInfeasRows, dualInfeasCols;
};

// One event of a scripted run, replayed in order during XPRSoptimize.
struct ScriptEvent {
  enum class Kind { Message, CheckTime, OptNode, IntSol, Interrupt };
  Kind kind = Kind::Message;
  std::string text;        // Message
  int msgType = 1;         // Message
  int optType = 0;         // CheckTime: attribute 1268 of the callback problem
  double objective = 0.0;  // IntSol: attribute 2003 in the callback
  std::vector<double> x;   // IntSol: the incumbent read by XPRSgetsolution in the callback
  int reason = 9;          // Interrupt

  static ScriptEvent message(std::string text, int type) {
    ScriptEvent e;
    e.text = std::move(text);
    e.msgType = type;
    return e;
  }
  static ScriptEvent checkTime(int optType) {
    ScriptEvent e;
    e.kind = Kind::CheckTime;
    e.optType = optType;
    return e;
  }
  static ScriptEvent optNode() {
    ScriptEvent e;
    e.kind = Kind::OptNode;
    return e;
  }
  static ScriptEvent intSol(double objective, std::vector<double> x) {
    ScriptEvent e;
    e.kind = Kind::IntSol;
    e.objective = objective;
    e.x = std::move(x);
    return e;
  }
  static ScriptEvent interrupt(int reason) {
    ScriptEvent e;
    e.kind = Kind::Interrupt;
    e.reason = reason;
    return e;
  }
};

// The scripted outcome of the next XPRSoptimize or XPRStune: replaces the engine for one run.
struct RunScript {
  int returnCode = 0;
  RunRecord run{3, 1, 0, 0, 1, 0, 0};
  ResultRecord results;
  std::vector<ScriptEvent> events;
};

struct ProblemRecord {
  ModelRecord model;
  std::map<int, int> intControls;  // controls set explicitly (defaults not listed)
  std::map<int, double> dblControls;
  std::map<int, std::string> strControls;
  std::vector<CallbackRecord> callbacks;  // in registration order
  WarmStartRecord warmStart;
  std::vector<FileRequest> files;
  std::vector<int> interrupts;   // reasons passed to XPRSinterrupt
  std::vector<int> fixRequests;  // options passed to XPRSfixmipentities
  bool fixed = false;
  RunRecord run;
  ResultRecord results;
  int runs = 0;  // completed XPRSoptimize / XPRStune calls
  std::map<int, int> intAttribOverrides;
  std::map<int, double> dblAttribOverrides;
  std::vector<RunScript> scripts;  // queued outcomes, first one used next
};

// One entry of the call journal.
struct CallRecord {
  std::string function;
  const void* handle = nullptr;
  std::string digest;
};

}  // namespace xprs::standin

#endif  // XPRS_STANDIN_RECORDS_HPP_
