#include "tune.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "controls.hpp"
#include "engine.hpp"

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

}  // namespace

int runTune(Problem& problem, const char* flags) {
  ProblemRecord& rec = problem.rec;
  if (!rec.scripts.empty()) return runOptimize(problem, kFunction, flags, nullptr, nullptr);
  if (problem.solving)
    return refuseRun(problem, kFunction, "the problem is already being optimised");
  if (flags != nullptr && *flags != '\0') {
    return refuseRun(problem, kFunction, text("unsupported flag '", *flags, "'"));
  }
  const auto start = std::chrono::steady_clock::now();
  const auto ownInt = rec.intControls;
  const auto ownDbl = rec.dblControls;
  const std::optional<BasisRecord> basis = problem.pendingBasis;
  const std::vector<MipSolRecord> starts = problem.pendingMipSols;
  const int runs = rec.runs;
  const int outputLog = intControl(rec, XPRS_OUTPUTLOG);
  double budget = dblControl(rec, XPRS_TUNERMAXTIME);
  if (!(budget > 0)) budget = timeLimit(rec);

  std::vector<Outcome> outcomes;
  const std::vector<Trial>* trials = &trialsFor(false);
  std::size_t best = 0;
  for (std::size_t k = 0; k < trials->size(); ++k) {
    const double used =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The first trial always runs: it gives the problem its results.
    if (k > 0 && budget > 0 && used >= budget) {
      note(problem, outputLog, "Tuner: time limit reached");
      break;
    }
    const Trial& trial = (*trials)[k];
    rec.intControls = ownInt;
    rec.dblControls = ownDbl;
    for (const Setting& s : trial) rec.intControls[s.id] = s.value;
    // The trials' own log lines would drown the tuner's: only their warnings and errors pass.
    if (outputLog != 0) rec.intControls[XPRS_OUTPUTLOG] = std::max(outputLog, 3);
    if (budget > 0) rec.dblControls[XPRS_TIMELIMIT] = std::max(budget - used, 1e-3);
    problem.pendingBasis = basis;
    problem.pendingMipSols = starts;
    Outcome o;
    o.rc = runOptimize(problem, kFunction, "", nullptr, nullptr);
    if (o.rc != 0) o.error = problem.lastError;
    o.run = rec.run;
    o.results = rec.results;
    outcomes.push_back(std::move(o));
    const Outcome& done = outcomes.back();
    if (k == 0) {
      // A model the engine refuses is refused under any settings.
      if (done.rc != 0) {
        rec.intControls = ownInt;
        rec.dblControls = ownDbl;
        rec.runs = runs + 1;
        return done.rc;
      }
      trials = &trialsFor(done.run.optType == XPRS_OPTIMIZETYPE_MIP);
    }
    note(problem, outputLog,
         text("Tuner trial ", k + 1, " of ", trials->size(), ": ", describe(trial), ": ",
              describe(done)));
    if (better(done, outcomes[best], rec.model.sense)) best = k;
    if (interrupted(done.run)) {
      note(problem, outputLog, "Tuner: interrupted");
      break;
    }
  }

  const Trial& chosen = (*trials)[best];
  rec.intControls = ownInt;
  rec.dblControls = ownDbl;
  for (const Setting& s : chosen) rec.intControls[s.id] = s.value;
  rec.run = outcomes[best].run;
  rec.results = std::move(outcomes[best].results);
  rec.runs = runs + 1;
  note(problem, outputLog, text("Tuner: best is trial ", best + 1, ": ", describe(chosen)));

  if (intControl(rec, XPRS_TUNEROUTPUT) == 0) return 0;
  std::vector<std::string> lines;
  lines.push_back(text("Tuner result for problem \"",
                       rec.model.probName.empty() ? "problem" : rec.model.probName, "\""));
  lines.push_back(text("Model: ", rec.run.optType == XPRS_OPTIMIZETYPE_MIP ? "MIP" : "LP"));
  lines.push_back(budget > 0 ? "Time budget: " + seconds(budget) : "Time budget: none");
  lines.push_back(
      "Choice: the best outcome (completed, then stopped with a solution, then stopped without "
      "one, then failed), then the better objective, then the shorter time");
  for (std::size_t k = 0; k < outcomes.size(); ++k) {
    lines.push_back(
        text("trial ", k + 1, ": ", describe((*trials)[k]), ": ", describe(outcomes[k])));
  }
  lines.push_back(text("best: trial ", best + 1, ": ", describe(chosen)));
  try {
    const std::string path = writeResult(rec, lines);
    rec.files.push_back({kFunction, "", "", path});
    note(problem, outputLog, text("Tuner: results written to ", path));
  } catch (const ApiError& e) {
    return refuseRun(problem, kFunction, e.what());
  }
  return 0;
}

}  // namespace xprs::standin
