#include "engine/tune.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "controls.hpp"
#include "engine/engine.hpp"

namespace xprs::standin {

namespace {

constexpr const char* kFunction = "XPRStune";

struct Setting {
  int id;
  const char* name;
  int value;
};

using Trial = std::vector<Setting>;

const std::vector<Trial>& trialsFor(bool mip) {
  static const std::vector<Trial> lp{
      {},
      {{XPRS_DEFAULTALG, "DEFAULTALG", XPRS_ALG_DUAL}},
      {{XPRS_DEFAULTALG, "DEFAULTALG", XPRS_ALG_PRIMAL}},
      {{XPRS_PRESOLVE, "PRESOLVE", 0}},
  };
  static const std::vector<Trial> mipTrials{
      {},
      {{XPRS_CUTSTRATEGY, "CUTSTRATEGY", 0}},
      {{XPRS_HEUREMPHASIS, "HEUREMPHASIS", 0}},
      {{XPRS_CUTSTRATEGY, "CUTSTRATEGY", 0}, {XPRS_HEUREMPHASIS, "HEUREMPHASIS", 0}},
  };
  return mip ? mipTrials : lp;
}

std::string describe(const Trial& trial) {
  if (trial.empty()) return "own settings";
  std::string out;
  for (const Setting& s : trial) {
    if (!out.empty()) out += ", ";
    out += text(s.name, '=', s.value);
  }
  return out;
}

struct Outcome {
  int rc = 0;
  std::string error;
  RunRecord run;
  ResultRecord results;
};

int rankOf(const Outcome& o) {
  if (o.rc != 0) return 4;
  if (o.run.solveStatus == XPRS_SOLVESTATUS_COMPLETED) return 0;
  if (o.run.solveStatus == XPRS_SOLVESTATUS_FAILED) return 3;
  return o.results.primalAvail != 0 ? 1 : 2;
}

bool better(const Outcome& a, const Outcome& b, int sense) {
  const int ra = rankOf(a);
  const int rb = rankOf(b);
  if (ra != rb) return ra < rb;
  if (ra == 1 && a.run.objVal != b.run.objVal) return sense * (a.run.objVal - b.run.objVal) < 0;
  return a.run.time < b.run.time;
}

std::string seconds(double v) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
  return std::string(buf, res.ptr) + " s";
}

const char* solveStatusName(int status) {
  switch (status) {
    case XPRS_SOLVESTATUS_STOPPED:
      return "stopped";
    case XPRS_SOLVESTATUS_FAILED:
      return "failed";
    case XPRS_SOLVESTATUS_COMPLETED:
      return "completed";
    default:
      return "unstarted";
  }
}

const char* solStatusName(int status) {
  switch (status) {
    case XPRS_SOLSTATUS_OPTIMAL:
      return "optimal";
    case XPRS_SOLSTATUS_FEASIBLE:
      return "feasible";
    case XPRS_SOLSTATUS_INFEASIBLE:
      return "infeasible";
    case XPRS_SOLSTATUS_UNBOUNDED:
      return "unbounded";
    default:
      return "no solution";
  }
}

std::string describe(const Outcome& o) {
  if (o.rc != 0) return text("refused: ", o.error);
  const RunRecord& r = o.run;
  std::string out = text(solveStatusName(r.solveStatus), ", ", solStatusName(r.solStatus));
  if (o.results.primalAvail != 0) out += text(", objective ", r.objVal);
  return out + ", time " + seconds(r.time);
}

bool interrupted(const RunRecord& run) {
  return run.stopStatus == XPRS_STOP_CTRLC || run.stopStatus == XPRS_STOP_USER ||
         run.stopStatus >= 1000;
}

// Information for the problem's message callbacks, unless output is off or limited to warnings.
void note(Problem& problem, int outputLog, const std::string& line) {
  if (outputLog == 1) emitMessage(problem, line, XPRS_MSG_INFO);
}

std::string writeResult(const ProblemRecord& rec, const std::vector<std::string>& lines) {
  std::string name = strControl(rec, XPRS_TUNERSESSIONNAME);
  if (name.empty()) name = rec.model.probName.empty() ? "problem" : rec.model.probName;
  const std::filesystem::path dir =
      std::filesystem::path(strControl(rec, XPRS_TUNEROUTPUTPATH)) / name;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) fail("cannot create the tuner output directory \"", dir.string(), "\"");
  const std::string path = (dir / "tuneresult.txt").string();
  std::ofstream out(path);
  for (const std::string& line : lines) out << line << '\n';
  if (!out) fail("cannot write the tuner result file \"", path, "\"");
  return path;
}

// What a tuning session keeps of the problem to give every trial the same start, and what it
// learnt.
struct Session {
  explicit Session(Problem& p)
      : problem(p),
        ownInt(p.rec.intControls),
        ownDbl(p.rec.dblControls),
        basis(p.pendingBasis),
        starts(p.pendingMipSols),
        runs(p.rec.runs),
        outputLog(intControl(p.rec, XPRS_OUTPUTLOG)),
        budget(dblControl(p.rec, XPRS_TUNERMAXTIME)) {
    if (!(budget > 0)) budget = timeLimit(p.rec);
  }

  // The problem's own controls with the trial's settings.
  void apply(const Trial& trial) {
    problem.rec.intControls = ownInt;
    problem.rec.dblControls = ownDbl;
    for (const Setting& s : trial) problem.rec.intControls[s.id] = s.value;
  }

  Problem& problem;
  const std::map<int, int> ownInt;
  const std::map<int, double> ownDbl;
  const std::optional<BasisRecord> basis;
  const std::vector<MipSolRecord> starts;
  const int runs;
  const int outputLog;
  double budget;
  const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::vector<Outcome> outcomes;
  const std::vector<Trial>* trials = &trialsFor(false);
  std::size_t best = 0;
};

// One trial with used seconds of the budget gone.
Outcome runTrial(Session& session, const Trial& trial, double used) {
  Problem& problem = session.problem;
  ProblemRecord& rec = problem.rec;
  session.apply(trial);
  // The trials' own log lines would drown the tuner's: only their warnings and errors pass.
  if (session.outputLog != 0) rec.intControls[XPRS_OUTPUTLOG] = std::max(session.outputLog, 3);
  if (session.budget > 0) rec.dblControls[XPRS_TIMELIMIT] = std::max(session.budget - used, 1e-3);
  problem.pendingBasis = session.basis;
  problem.pendingMipSols = session.starts;
  Outcome o;
  o.rc = runOptimize(problem, kFunction, "", nullptr, nullptr);
  if (o.rc != 0) o.error = problem.lastError;
  o.run = rec.run;
  o.results = rec.results;
  return o;
}

// Runs the trials within the budget until one is interrupted. Returns the code of the first
// trial when the engine refused the model, else 0.
int runTrials(Session& session) {
  Problem& problem = session.problem;
  for (std::size_t k = 0; k < session.trials->size(); ++k) {
    const double used =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - session.start).count();
    // The first trial always runs: it gives the problem its results.
    if (k > 0 && session.budget > 0 && used >= session.budget) {
      note(problem, session.outputLog, "Tuner: time limit reached");
      break;
    }
    const Trial& trial = (*session.trials)[k];
    session.outcomes.push_back(runTrial(session, trial, used));
    const Outcome& done = session.outcomes.back();
    if (k == 0) {
      // A model the engine refuses is refused under any settings.
      if (done.rc != 0) return done.rc;
      session.trials = &trialsFor(done.run.optType == XPRS_OPTIMIZETYPE_MIP);
    }
    note(problem, session.outputLog,
         text("Tuner trial ", k + 1, " of ", session.trials->size(), ": ", describe(trial), ": ",
              describe(done)));
    if (better(done, session.outcomes[session.best], problem.rec.model.sense)) session.best = k;
    if (interrupted(done.run)) {
      note(problem, session.outputLog, "Tuner: interrupted");
      break;
    }
  }
  return 0;
}

// The lines of the tuner's result file.
std::vector<std::string> resultLines(const Session& session) {
  const ProblemRecord& rec = session.problem.rec;
  const std::vector<Trial>& trials = *session.trials;
  std::vector<std::string> lines;
  lines.push_back(text("Tuner result for problem \"",
                       rec.model.probName.empty() ? "problem" : rec.model.probName, "\""));
  lines.push_back(text("Model: ", rec.run.optType == XPRS_OPTIMIZETYPE_MIP ? "MIP" : "LP"));
  lines.push_back(session.budget > 0 ? "Time budget: " + seconds(session.budget)
                                     : "Time budget: none");
  lines.push_back(
      "Choice: the best outcome (completed, then stopped with a solution, then stopped without "
      "one, then failed), then the better objective, then the shorter time");
  for (std::size_t k = 0; k < session.outcomes.size(); ++k) {
    lines.push_back(
        text("trial ", k + 1, ": ", describe(trials[k]), ": ", describe(session.outcomes[k])));
  }
  lines.push_back(text("best: trial ", session.best + 1, ": ", describe(trials[session.best])));
  return lines;
}

}  // namespace

int runTune(Problem& problem, const char* flags) {
  ProblemRecord& rec = problem.rec;
  if (!rec.scripts.empty()) return runOptimize(problem, kFunction, flags, nullptr, nullptr);
  if (problem.solving)
    return refuseRun(problem, kFunction, "the problem is already being optimised");
  if (flags != nullptr && *flags != '\0') {
    return refuseRun(problem, kFunction, text("unsupported flag '", *flags, "'"));
  }
  Session session(problem);
  if (const int rc = runTrials(session); rc != 0) {
    session.apply({});
    rec.runs = session.runs + 1;
    return rc;
  }
  const Trial& chosen = (*session.trials)[session.best];
  session.apply(chosen);
  rec.run = session.outcomes[session.best].run;
  rec.results = std::move(session.outcomes[session.best].results);
  rec.runs = session.runs + 1;
  note(problem, session.outputLog,
       text("Tuner: best is trial ", session.best + 1, ": ", describe(chosen)));

  if (intControl(rec, XPRS_TUNEROUTPUT) == 0) return 0;
  try {
    const std::string path = writeResult(rec, resultLines(session));
    rec.files.push_back({kFunction, "", "", path});
    note(problem, session.outputLog, text("Tuner: results written to ", path));
  } catch (const ApiError& e) {
    return refuseRun(problem, kFunction, e.what());
  }
  return 0;
}

}  // namespace xprs::standin
