// qel::Solver::solve: one optimisation of the loaded model.
//
// In order: the model's kinds; its warm starts (levels as a MIP start or as initial values of a
// nonlinear model, the basis, branching priorities); the link options that prepare the run
// (solution pool, nonlinear solver of a fixed problem, multistart preset, enumeration set-up,
// problem and save files); the cutoffs; exactly one run (tuning, enumeration or optimisation);
// the pool detached; a re-solve without presolve when "rerun" asks for it; the solution print
// and basis files; then the infeasibility marks, the two status lines and the status returned.
//
// A control that nobody has set may be changed here; one that has been set is left alone, except
// that the enumeration set-up warns about it and the re-solve turns presolve off regardless.
// Every change goes through the problem wrapper, so it counts as set for later solves too.
// The return codes of the runs are not examined: a failed run shows in the statuses Xpress
// reports. Any other refused call leaves at once, with what was changed before it kept.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <span>
#include <string>
#include <vector>

#include "nuv/check.hpp"
#include "nuv/num_cast.hpp"
#include "nuv/opt/solve_status.hpp"
#include "nuv/opt/support_exception.hpp"
#include "nuv/to_string.hpp"
#include "qel/data.hpp"
#include "qel/link_attribs.hpp"
#include "qel/solver/solution_container.hpp"
#include "qel/solver/solver.hpp"
#include "qel/xpress/nlp_controls.hpp"
#include "qel/xpress/xpress_callbacks.hpp"
#include "qel/xpress/xpress_prob.hpp"
#include "qel/xpress/xpress_sol_enum.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"

namespace qel {

namespace {

// The nonlinear solver forced on a fixed problem.
constexpr int kNlpSolverOnFixed = 1;

// Multistart presets of XPRSmsaddpreset, and the job limit taken when none is set.
constexpr int kPresetInitialValues = 0;
constexpr int kPresetSlpBasic = 2;
constexpr int kPresetSlpExtended = 3;
constexpr int kPresetInitialFiltered = 6;
constexpr int kDefaultMultistartJobs = 10;

// Branching priorities are spread over 0 (the smallest) to 1000 (the largest), unless they all
// lie within this distance of each other.
constexpr double kPrioritySpan = 1000.0;
constexpr double kPriorityTolerance = 0.0001;

// A control that a solution enumeration wants changed: the bits it clears (all of them: the
// control becomes 0), and what the warning says when the user's value keeps them.
struct EnumerationControl {
  int id;
  int clearedBits;
  const char* name;
  const char* consequence;
};

constexpr const char* kLimitsEnumeration = " may limit solution enumeration.";
constexpr EnumerationControl kEnumerationControls[] = {
    {XPRS_HEUREMPHASIS, ~0, "heuremphasis", " may result in duplicate solutions in solution pool."},
    {XPRS_SYMMETRY, ~0, "symmetry", kLimitsEnumeration},
    {XPRS_PRECOMPONENTS, ~0, "precomponents", kLimitsEnumeration},
    // Dual reductions (8) and duplicate column removal (32) of the presolve.
    {XPRS_PRESOLVEOPS, 8 | 32, "presolveops", kLimitsEnumeration},
    // Dual reductions (16) of the MIP presolve.
    {XPRS_MIPPRESOLVE, 16, "mippresolve", kLimitsEnumeration},
};

int option(const std::shared_ptr<LinkAttribs::IntItem>& item) { return linkValue(*item); }

// The levels go to Xpress as a MIP start when "loadmipsol" asks for one, else, for a nonlinear
// model, as initial values. Levels are optional: without them the MIP start is dropped and the
// nonlinear solver starts from its own point (the call is still made for a model without
// columns).
void loadStartValues(Data& data, bool mip, bool nonlinear) {
  const Data::Values<double>& levels = *data.varLevels;
  const nuv::Index count = levels.itemCount();
  const bool given = levels.elemCount() >= 1;
  if (mip && option(data.linkAttribs->loadmipsol()) >= 1) {
    if (given) {
      data.prob->addMIPSol(count, levels.viewAll(0)->data(), /*colind=*/nullptr, /*name=*/nullptr);
    }
    return;
  }
  if (!nonlinear || (!given && count > 0)) return;
  std::vector<int> columns(static_cast<std::size_t>(count));
  std::iota(columns.begin(), columns.end(), 0);
  data.prob->nlpSetInitVal(count, columns.data(), given ? levels.viewAll(0)->data() : nullptr);
}

// The host's basis codes, for a linear model: a MIP takes them with "advbasis" 2, a continuous
// model with 1 or 2. Row codes describe the row itself, as the basis results report it; Xpress
// wants the status of the row's slack, so the results' correction is undone per row type and a
// basis read back from the results loads as the basis it came from.
void loadStartBasis(Data& data, bool mip) {
  const int advbasis = option(data.linkAttribs->advbasis());
  if (mip ? advbasis != 2 : advbasis < 1) return;
  if (data.varBasis->elemCount() < 1 || data.linConstrBasis->elemCount() < 1) return;
  const auto colCodes = data.varBasis->viewAll(0);
  const auto rowCodes = data.linConstrBasis->viewAll(0);
  std::vector<int> colStatus(colCodes->size());
  std::transform(colCodes->begin(), colCodes->end(), colStatus.begin(), basisToXpress);
  std::vector<char> rowTypes(rowCodes->size(), 'N');
  if (!rowTypes.empty()) {
    data.prob->getRowType(rowTypes.data(), 0, nuv::numCast<int>(rowTypes.size()) - 1);
  }
  std::vector<int> rowStatus(rowCodes->size());
  for (std::size_t i = 0; i < rowStatus.size(); ++i) {
    rowStatus[i] =
        BasisSolutionContainer::unfixConStatus(rowTypes[i], basisToXpress((*rowCodes)[i]));
  }
  data.prob->loadBasis(rowStatus.data(), colStatus.data());
}

// A priority that is infinite or NaN cannot be scaled: refused before anything is sent.
void checkPriorities(const Data& data) {
  if (data.varPriorities->elemCount() < 1) return;
  const auto priorities = data.varPriorities->viewAll(0);
  for (std::size_t j = 0; j < priorities->size(); ++j) {
    if (std::isfinite((*priorities)[j])) continue;
    throw nuv::opt::SupportException(
        "Branching priority of column " + nuv::toString(j) + " is not a finite number.",
        "Solver::solve");
  }
}

// The branching priorities of a MIP, scaled onto 0 to 1000; nothing when they are all equal
// (within 0.0001). The priorities are finite (checkPriorities).
void loadPriorities(Data& data) {
  if (data.varPriorities->elemCount() < 1) return;
  std::vector<int> columns(static_cast<std::size_t>(data.varList->size()));
  data.varList->toVector(columns);
  const auto priorities = data.varPriorities->viewAll(0);
  const std::vector<double>& p = *priorities;
  nuv::checkEqual("priorities.size()", p.size(), columns.size(), "columns.size()");
  if (p.empty()) return;
  double lo = p.front();
  double hi = p.front();
  for (const double v : p) {
    if (v < lo) lo = v;
    if (v > hi) hi = v;
  }
  if (!(hi > lo + kPriorityTolerance)) return;
  // Where hi - lo overflows, halved values give the same scaled priorities (halving is exact).
  const double scale = std::isfinite(hi - lo) ? 1.0 : 0.5;
  const double factor = kPrioritySpan / (hi * scale - lo * scale);
  std::vector<int> scaled(p.size());
  for (std::size_t j = 0; j < p.size(); ++j) {
    scaled[j] = static_cast<int>(std::floor((p[j] * scale - lo * scale) * factor + 0.5));
  }
  data.prob->loadDirs(nuv::numCast<int>(columns.size()), columns.data(), scaled.data(),
                      /*dir=*/nullptr, /*upPseudo=*/nullptr, /*downPseudo=*/nullptr);
}

// "xslp_multistartpreset": 1 initial values, 2 filtered initial values, 3 and 4 the basic and
// the extended SLP preset; a value above the option's range acts as 4. The first two run 10 jobs
// when the job limit is negative (unset).
void addMultistartPreset(Data& data) {
  const int value = option(data.linkAttribs->xslp_multistartpreset());
  if (value <= 0) return;
  const int maxSolves = data.prob->getIntControl(kXslpMultistartMaxSolves);
  int preset = kPresetSlpExtended;
  int jobs = maxSolves;
  switch (value) {
    case 1:
      preset = kPresetInitialValues;
      if (jobs < 0) jobs = kDefaultMultistartJobs;
      break;
    case 2:
      preset = kPresetInitialFiltered;
      if (jobs < 0) jobs = kDefaultMultistartJobs;
      break;
    case 3:
      preset = kPresetSlpBasic;
      break;
    default:
      break;
  }
  data.prob->msAddPreset(/*description=*/nullptr, preset, jobs, /*data=*/nullptr);
}

// The enumerator's limits, and controls that would hide solutions from the enumeration: those
// nobody set are changed (also when already right, so that they count as set), the others stay
// as the user set them, with a warning.
void setUpEnumeration(Data& data) {
  const LinkAttribs& options = *data.linkAttribs;
  data.solEnum->setCapacity(option(options.solnpoolcapacity()));
  data.solEnum->setMaxCullRounds(option(options.solnpoolcullrounds()));
  data.solEnum->setVerbosity(option(options.solnpoolverbosity()));
  XpressProb& prob = *data.prob;
  for (const EnumerationControl& control : kEnumerationControls) {
    const int value = prob.getIntControl(control.id);
    if (!prob.modifiedControl(control.id) || (value & control.clearedBits) == 0) {
      prob.setIntControl(control.id, value & ~control.clearedBits);
    } else {
      data.callbackState.log->warning("Warning", std::string("Setting '") + control.name + "' to " +
                                                     nuv::toString(value) + control.consequence);
    }
  }
}

// Cutoffs nobody set are kept within the stopping gaps. A NaN compares false: nothing changes.
void limitCutoffs(XpressProb& prob) {
  if (!prob.modifiedControl(XPRS_MIPRELCUTOFF)) {
    const double relStop = prob.getDblControl(XPRS_MIPRELSTOP);
    if (prob.getDblControl(XPRS_MIPRELCUTOFF) > relStop) {
      prob.setDblControl(XPRS_MIPRELCUTOFF, relStop);
    }
  }
  if (!prob.modifiedControl(XPRS_MIPADDCUTOFF)) {
    const double addCutoff = prob.getDblControl(XPRS_MIPADDCUTOFF);
    const double absStop = prob.getDblControl(XPRS_MIPABSSTOP);
    if (std::abs(addCutoff) > absStop) {
      prob.setDblControl(XPRS_MIPADDCUTOFF, addCutoff > 0 ? absStop : -absStop);
    }
  }
}

// A run that fails ends with a status, not an exception. Xpress writes the reason to its
// message callback only while its log is on, and as an error, which the callback drops: it goes
// to the log as an error here, so that the host learns it whatever the log shows.
void reportFailure(const Data& data, const XpressProb& prob, int returnCode) {
  if (returnCode != 0 && data.log) data.log->error("Xpress", prob.getLastError());
}

// Another optimisation; its solution status.
int optimize(const Data& data, XpressProb& prob) {
  int solveStatus = 0;
  int solStatus = 0;
  reportFailure(data, prob, prob.optimize("", &solveStatus, &solStatus));
  return solStatus;
}

// Marks 1 at the given entities. Xpress reports entities of the problem, so an index outside
// the container names nothing and is skipped rather than stored.
void mark(Data::Values<int>& marks, const std::vector<int>& entities) {
  for (const int entity : entities) {
    if (entity >= 0 && entity < marks.itemCount()) marks.set(entity, 1, 0);
  }
}

// Every column and row marked 0, then, after a linear optimisation, 1 where Xpress reports a
// scaled primal infeasibility.
void markInfeasibilities(Data& data, int optimizeType) {
  data.varInfeasible->setAll(0, 0);
  data.constrInfeasible->setAll(0, 0);
  if (optimizeType != XPRS_OPTIMIZETYPE_LP) return;
  mark(*data.varInfeasible, data.prob->getScaledInfeasColPrimal());
  mark(*data.constrInfeasible, data.prob->getScaledInfeasRowPrimal());
}

nuv::opt::SolveStatus toSolveStatus(int stopStatus, int solStatus, int optimizeType) {
  using nuv::opt::SolveStatus;
  switch (stopStatus) {
    case XPRS_STOP_NONE:
    case XPRS_STOP_MIPGAP:
    case XPRS_STOP_SOLVECOMPLETE:
      switch (solStatus) {
        case XPRS_SOLSTATUS_NOTFOUND:
          return SolveStatus::no_solution;
        case XPRS_SOLSTATUS_OPTIMAL:
        case XPRS_SOLSTATUS_FEASIBLE:
          return SolveStatus::normal_completion;
        case XPRS_SOLSTATUS_INFEASIBLE:
          return optimizeType == XPRS_OPTIMIZETYPE_LOCAL ? SolveStatus::locally_infeasible
                                                         : SolveStatus::infeasible;
        case XPRS_SOLSTATUS_UNBOUNDED:
          return SolveStatus::unbounded;
        default:
          return SolveStatus::solver_error;
      }
    case XPRS_STOP_TIMELIMIT:
      return SolveStatus::time_limit;
    case XPRS_STOP_CTRLC:
    case XPRS_STOP_USER:
      return SolveStatus::user_interrupt;
    case XPRS_STOP_NODELIMIT:
      return SolveStatus::node_limit;
    case XPRS_STOP_ITERLIMIT:
      return SolveStatus::iteration_limit;
    case XPRS_STOP_SOLLIMIT:
      return SolveStatus::solution_limit;
    case XPRS_STOP_NUMERICALERROR:
      return SolveStatus::numerical_error;
    case XPRS_STOP_WORKLIMIT:
      return SolveStatus::work_limit;
    default:
      return SolveStatus::solver_error;
  }
}

}  // namespace

nuv::opt::SolveStatus Solver::solve() {
  Data& data = *data_;
  XpressProb& prob = *data.prob;
  const LinkAttribs& options = *data.linkAttribs;

  const bool linear = data.isLinear();
  const bool mip = prob.isMIP();
  const bool nonlinear = data.isNonlinear();
  if (mip) checkPriorities(data);

  loadStartValues(data, mip, nonlinear);
  if (linear) loadStartBasis(data, mip);
  if (mip) loadPriorities(data);
  if (option(options.solnpoolcapacity()) > 1) data.solPool->probAttach(prob);
  if (prob.isFixed() && !prob.modifiedControl(kXslpNlpSolver)) {
    prob.setIntControl(kXslpNlpSolver, kNlpSolverOnFixed);
  }
  addMultistartPreset(data);
  const bool enumerate = mip && option(options.solnpoolpop()) == 2;
  if (enumerate) setUpEnumeration(data);
  if (const auto file = linkValue(*options.mpsoutputfile())) prob.writeProb(file->c_str(), "");
  if (option(options.savefile()) > 0) prob.save();
  limitCutoffs(prob);

  int solStatus = XPRS_SOLSTATUS_NOTFOUND;
  if (option(options.tuner()) == 1) {
    reportFailure(data, prob, prob.tune(""));
    solStatus = prob.getIntAttrib(XPRS_SOLSTATUS);
  } else if (enumerate) {
    static_cast<void>(data.solEnum->opt(prob, *data.solPool));
    solStatus = prob.getIntAttrib(XPRS_SOLSTATUS);
  } else {
    solStatus = optimize(data, prob);
  }
  const int optimizeType = prob.getIntAttrib(XPRS_OPTIMIZETYPEUSED);
  const int stopStatus = prob.getIntAttrib(optimizeType == XPRS_OPTIMIZETYPE_LOCAL ||
                                                   optimizeType == XPRS_OPTIMIZETYPE_GLOBAL
                                               ? XPRS_NLPSTOPSTATUS
                                               : XPRS_STOPSTATUS);

  // The pool is attached only while a solve runs; its messages are silenced while it lets go.
  data.solPool->setCBMessage(nullptr, nullptr);
  data.solPool->probDetach(&prob);
  data.solPool->setCBMessage(callbackMessage, &data.callbackState);

  if (!mip && (solStatus == XPRS_SOLSTATUS_INFEASIBLE || solStatus == XPRS_SOLSTATUS_UNBOUNDED) &&
      option(options.rerun()) > 0 && prob.getIntControl(XPRS_PRESOLVE) != 0) {
    data.callbackState.log->info("Re-solving model with presolve turned off.");
    prob.setIntControl(XPRS_PRESOLVE, 0);
    if (linear) prob.setIntControl(XPRS_DEFAULTALG, XPRS_ALG_PRIMAL);
    solStatus = optimize(data, prob);
  }
  if (option(options.writeprtsol()) > 0) prob.writePrtSol("", "");
  if (const auto file = linkValue(*options.basisout())) prob.writeBasis(file->c_str(), "");

  markInfeasibilities(data, optimizeType);
  data.callbackState.log->info(
      "XPRESS stop status: " + XpressProbInterface::getStopStatusString(stopStatus) + " (" +
      nuv::toString(stopStatus) + ")");
  data.callbackState.log->info(
      "XPRESS sol status: " + XpressProbInterface::getSolStatusString(solStatus) + " (" +
      nuv::toString(solStatus) + ")");
  data.callbackState.log->newline();
  return toSolveStatus(stopStatus, solStatus, optimizeType);
}

}  // namespace qel
