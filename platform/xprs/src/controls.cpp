#include "controls.hpp"

#include <algorithm>
#include <array>

namespace xprs::standin {

namespace {

struct ControlDefault {
  int id;
  ControlType type;
  double value;      // integer and double defaults
  const char* text;  // text defaults
};

// Defaults of the documented controls the plug-in reads or changes.
constexpr std::array kControls{
    ControlDefault{XPRS_LPITERLIMIT, ControlType::Int, 2147483647, nullptr},
    ControlDefault{XPRS_LPLOG, ControlType::Int, 100, nullptr},
    ControlDefault{XPRS_SCALING, ControlType::Int, 163, nullptr},
    ControlDefault{XPRS_PRESOLVE, ControlType::Int, 1, nullptr},
    ControlDefault{XPRS_MAXNODE, ControlType::Int, 2147483647, nullptr},
    ControlDefault{XPRS_MAXTIME, ControlType::Int, 0, nullptr},
    ControlDefault{XPRS_MAXMIPSOL, ControlType::Int, 0, nullptr},
    ControlDefault{XPRS_DEFAULTALG, ControlType::Int, 1, nullptr},
    ControlDefault{XPRS_MIPLOG, ControlType::Int, -100, nullptr},
    ControlDefault{XPRS_OUTPUTLOG, ControlType::Int, 1, nullptr},
    ControlDefault{XPRS_CROSSOVER, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_BARITERLIMIT, ControlType::Int, 500, nullptr},
    ControlDefault{XPRS_BAROUTPUT, ControlType::Int, 1, nullptr},
    ControlDefault{XPRS_BARTHREADS, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_MPSNAMELENGTH, ControlType::Int, 64, nullptr},
    ControlDefault{XPRS_PRESOLVEOPS, ControlType::Int, 511, nullptr},
    ControlDefault{XPRS_MIPPRESOLVE, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_MIPTHREADS, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_SYMMETRY, ControlType::Int, 1, nullptr},
    ControlDefault{XPRS_CUTSTRATEGY, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_THREADS, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_RANDOMSEED, ControlType::Int, 1, nullptr},
    ControlDefault{XPRS_PRECOMPONENTS, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_TUNERMODE, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_TUNERMETHOD, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_TUNERTARGET, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_TUNERTHREADS, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_TUNERHISTORY, ControlType::Int, 2, nullptr},
    ControlDefault{XPRS_TUNERPERMUTE, ControlType::Int, 0, nullptr},
    ControlDefault{XPRS_TUNERVERBOSE, ControlType::Int, 0, nullptr},
    ControlDefault{XPRS_TUNEROUTPUT, ControlType::Int, 1, nullptr},
    ControlDefault{XPRS_HEUREMPHASIS, ControlType::Int, -1, nullptr},
    ControlDefault{XPRS_CALLBACKCHECKTIMEDELAY, ControlType::Int, 0, nullptr},
    ControlDefault{XPRS_MULTIOBJOPS, ControlType::Int, 7, nullptr},
    ControlDefault{XPRS_MULTIOBJLOG, ControlType::Int, 0, nullptr},
    ControlDefault{XPRS_FEASTOL, ControlType::Dbl, 1e-6, nullptr},
    ControlDefault{XPRS_OPTIMALITYTOL, ControlType::Dbl, 1e-6, nullptr},
    ControlDefault{XPRS_MIPTOL, ControlType::Dbl, 5e-6, nullptr},
    ControlDefault{XPRS_MIPADDCUTOFF, ControlType::Dbl, -1e-5, nullptr},
    ControlDefault{XPRS_MIPABSCUTOFF, ControlType::Dbl, 1e40, nullptr},
    ControlDefault{XPRS_MIPRELCUTOFF, ControlType::Dbl, 1e-4, nullptr},
    ControlDefault{XPRS_MIPABSSTOP, ControlType::Dbl, 0.0, nullptr},
    ControlDefault{XPRS_MIPRELSTOP, ControlType::Dbl, 1e-4, nullptr},
    ControlDefault{XPRS_TIMELIMIT, ControlType::Dbl, 1e20, nullptr},
    ControlDefault{XPRS_SOLTIMELIMIT, ControlType::Dbl, 1e20, nullptr},
    ControlDefault{XPRS_MAXCUTTIME, ControlType::Dbl, 0.0, nullptr},
    ControlDefault{XPRS_TUNERMAXTIME, ControlType::Dbl, 0.0, nullptr},
    ControlDefault{XPRS_MAXSTALLTIME, ControlType::Dbl, 0.0, nullptr},
    ControlDefault{12364, ControlType::Int, -1, nullptr},  // multistart: maximum solves
    ControlDefault{12417, ControlType::Int, -1, nullptr},  // nonlinear solver choice
    ControlDefault{XPRS_OUTPUTMASK, ControlType::Str, 0, ""},
    ControlDefault{XPRS_TUNERMETHODFILE, ControlType::Str, 0, ""},
    ControlDefault{XPRS_TUNEROUTPUTPATH, ControlType::Str, 0, "tuneroutput"},
    ControlDefault{XPRS_TUNERSESSIONNAME, ControlType::Str, 0, ""},
    ControlDefault{12474, ControlType::Str, 0, ""},  // nonlinear: iteration fallback operations
};

// The Knitro controls the library accepts (the solver's parameter number plus 100000). Their
// integer and double numbers interleave, so each is listed with its type.
constexpr std::array kKnitroDblControls{101020, 101021, 101022, 101023, 101025, 101026, 101027,
                                        101028, 101030, 101056, 101060, 102004, 102005};
constexpr std::array kKnitroIntControls{
    101002, 101003, 101004, 101006, 101007, 101008, 101009, 101013, 101014, 101015, 101017,
    101019, 101038, 101039, 101042, 101043, 101044, 101049, 101050, 101057, 101058, 101059,
    101061, 102001, 102002, 102003, 102010, 102011, 102014, 102015, 102016, 102017, 102018,
    102019, 102021, 102022, 102023, 102026, 102027, 102028, 102029, 103001};

const ControlDefault* findControl(int id) {
  for (const ControlDefault& c : kControls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

struct AttribEntry {
  int id;
  AttribType type;
};

constexpr std::array kAttribs{
    AttribEntry{XPRS_ROWS, AttribType::Int},
    AttribEntry{XPRS_SETS, AttribType::Int},
    AttribEntry{XPRS_SETMEMBERS, AttribType::Int},
    AttribEntry{XPRS_ELEMS, AttribType::Int},
    AttribEntry{XPRS_PRIMALINFEAS, AttribType::Int},
    AttribEntry{XPRS_DUALINFEAS, AttribType::Int},
    AttribEntry{XPRS_SIMPLEXITER, AttribType::Int},
    AttribEntry{XPRS_LPSTATUS, AttribType::Int},
    AttribEntry{XPRS_MIPSTATUS, AttribType::Int},
    AttribEntry{XPRS_NODES, AttribType::Int},
    AttribEntry{XPRS_ACTIVENODES, AttribType::Int},
    AttribEntry{XPRS_MIPSOLNODE, AttribType::Int},
    AttribEntry{XPRS_MIPSOLS, AttribType::Int},
    AttribEntry{XPRS_COLS, AttribType::Int},
    AttribEntry{XPRS_SPAREROWS, AttribType::Int},
    AttribEntry{XPRS_SPARECOLS, AttribType::Int},
    AttribEntry{XPRS_ERRORCODE, AttribType::Int},
    AttribEntry{XPRS_MIPINFEAS, AttribType::Int},
    AttribEntry{XPRS_PRESOLVESTATE, AttribType::Int},
    AttribEntry{XPRS_NAMELENGTH, AttribType::Int},
    AttribEntry{XPRS_QELEMS, AttribType::Int},
    AttribEntry{XPRS_MIPENTS, AttribType::Int},
    AttribEntry{XPRS_ALGORITHM, AttribType::Int},
    AttribEntry{XPRS_SOLSTATUS, AttribType::Int},
    AttribEntry{XPRS_ORIGINALROWS, AttribType::Int},
    AttribEntry{XPRS_MAXPROBNAMELENGTH, AttribType::Int},
    AttribEntry{XPRS_STOPSTATUS, AttribType::Int},
    AttribEntry{XPRS_ORIGINALMIPENTS, AttribType::Int},
    AttribEntry{XPRS_ORIGINALSETS, AttribType::Int},
    AttribEntry{XPRS_ORIGINALCOLS, AttribType::Int},
    AttribEntry{XPRS_QCONSTRAINTS, AttribType::Int},
    AttribEntry{XPRS_CURRENTNODE, AttribType::Int},
    AttribEntry{XPRS_INDICATORS, AttribType::Int},
    AttribEntry{XPRS_OPTIMIZETYPEUSED, AttribType::Int},
    AttribEntry{XPRS_SOLVESTATUS, AttribType::Int},
    AttribEntry{XPRS_OBJECTIVES, AttribType::Int},
    AttribEntry{XPRS_SOLVEDOBJS, AttribType::Int},
    AttribEntry{XPRS_INPUTROWS, AttribType::Int},
    AttribEntry{XPRS_INPUTCOLS, AttribType::Int},
    AttribEntry{XPRS_BARITER, AttribType::Int},
    AttribEntry{XPRS_NLPSTOPSTATUS, AttribType::Int},
    AttribEntry{XPRS_TIME, AttribType::Dbl},
    AttribEntry{XPRS_LPOBJVAL, AttribType::Dbl},
    AttribEntry{XPRS_SUMPRIMALINF, AttribType::Dbl},
    AttribEntry{XPRS_MIPOBJVAL, AttribType::Dbl},
    AttribEntry{XPRS_BESTBOUND, AttribType::Dbl},
    AttribEntry{XPRS_OBJRHS, AttribType::Dbl},
    AttribEntry{XPRS_MIPBESTOBJVAL, AttribType::Dbl},
    AttribEntry{XPRS_OBJSENSE, AttribType::Dbl},
    AttribEntry{XPRS_MAXABSPRIMALINFEAS, AttribType::Dbl},
    AttribEntry{XPRS_MAXMIPINFEAS, AttribType::Dbl},
    AttribEntry{XPRS_OBJVAL, AttribType::Dbl},
    AttribEntry{XPRS_BARPRIMALOBJ, AttribType::Dbl},
    AttribEntry{XPRS_BARDUALOBJ, AttribType::Dbl},
};

int nameLengthWords(const ModelRecord& m) {
  std::size_t longest = 0;
  for (const auto* names : {&m.rowNames, &m.colNames, &m.setNames, &m.objNames}) {
    for (const std::string& n : *names) longest = std::max(longest, n.size());
  }
  return static_cast<int>((longest + 7) / 8);
}

int computedInt(Problem& problem, int id) {
  const ProblemRecord& rec = problem.rec;
  const ModelRecord& m = rec.model;
  const RunRecord& run = rec.run;
  switch (id) {
    case XPRS_ROWS:
    case XPRS_ORIGINALROWS:
    case XPRS_INPUTROWS:
      return m.rows();
    case XPRS_COLS:
    case XPRS_ORIGINALCOLS:
    case XPRS_INPUTCOLS:
      return m.cols();
    case XPRS_SETS:
    case XPRS_ORIGINALSETS:
      return m.sets();
    case XPRS_SETMEMBERS:
      return static_cast<int>(m.setCol.size());
    case XPRS_ELEMS:
      return static_cast<int>(m.elemVal.size());
    case XPRS_PRIMALINFEAS:
      return static_cast<int>(rec.results.primalInfeasCols.size() +
                              rec.results.primalInfeasRows.size());
    case XPRS_DUALINFEAS:
      return static_cast<int>(rec.results.dualInfeasCols.size() +
                              rec.results.dualInfeasRows.size());
    case XPRS_SIMPLEXITER:
      return run.iterations;
    case XPRS_LPSTATUS:
      return run.lpStatus;
    case XPRS_MIPSTATUS:
      return run.mipStatus;
    case XPRS_NODES:
      return run.nodes;
    case XPRS_MIPSOLS:
      return run.mipSols;
    case XPRS_ERRORCODE:
      return problem.lastErrorCode;
    case XPRS_NAMELENGTH:
      return nameLengthWords(m);
    case XPRS_QELEMS:
      return static_cast<int>(m.objQ.size());
    case XPRS_MIPENTS:
    case XPRS_ORIGINALMIPENTS:
      return static_cast<int>(
          std::count_if(m.colType.begin(), m.colType.end(), [](char t) { return t != 'C'; }));
    case XPRS_ALGORITHM:
      return run.algorithm;
    case XPRS_SOLSTATUS:
      return run.solStatus;
    case XPRS_MAXPROBNAMELENGTH:
      return 1024;
    case XPRS_STOPSTATUS:
      return run.stopStatus;
    case XPRS_QCONSTRAINTS: {
      std::vector<int> rows = m.qRow;
      std::sort(rows.begin(), rows.end());
      return static_cast<int>(std::unique(rows.begin(), rows.end()) - rows.begin());
    }
    case XPRS_INDICATORS:
      return static_cast<int>(std::count_if(m.indicatorComplement.begin(),
                                            m.indicatorComplement.end(),
                                            [](int c) { return c != 0; }));
    case XPRS_OPTIMIZETYPEUSED:
      return run.optType;
    case XPRS_SOLVESTATUS:
      return run.solveStatus;
    case XPRS_OBJECTIVES:
      return static_cast<int>(m.objectives.size());
    case XPRS_SOLVEDOBJS:
      return run.solvedObjs;
    case XPRS_NLPSTOPSTATUS:
      return run.nlpStopStatus;
    default:
      return 0;
  }
}

double computedDbl(Problem& problem, int id) {
  const ProblemRecord& rec = problem.rec;
  const RunRecord& run = rec.run;
  switch (id) {
    case XPRS_TIME:
      return run.time;
    case XPRS_LPOBJVAL:
      return run.lpObjVal;
    case XPRS_SUMPRIMALINF:
      return run.sumPrimalInf;
    case XPRS_MIPOBJVAL:
    case XPRS_MIPBESTOBJVAL:
      return run.mipObjVal;
    case XPRS_BESTBOUND:
      return run.bestBound;
    case XPRS_OBJRHS:
      return rec.model.objectives.front().rhs;
    case XPRS_OBJSENSE:
      return rec.model.sense;
    case XPRS_OBJVAL:
      return run.objVal;
    default:
      return 0.0;
  }
}

}  // namespace

ControlType controlType(int id) {
  if (const ControlDefault* c = findControl(id)) return c->type;
  if (id >= 6200 && id < 6700) return ControlType::None;  // pool and enumerator ids
  if (id >= 6000 && id < 6200) return ControlType::Str;
  if (id >= 7000 && id < 8000) return ControlType::Dbl;
  if (id >= 8000 && id < 9000) return ControlType::Int;
  // The nonlinear layer numbers its double controls from 12100 and its integer ones from 12300.
  if (id >= 12100 && id < 12300) return ControlType::Dbl;
  if (id >= 12300 && id < 12450) return ControlType::Int;
  auto listed = [id](const auto& ids) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
  };
  if (listed(kKnitroDblControls)) return ControlType::Dbl;
  if (listed(kKnitroIntControls)) return ControlType::Int;
  if (id < 6000 || (id >= 20000 && id < 21000)) return ControlType::None;
  return ControlType::Any;
}

int intControl(const ProblemRecord& rec, int id) {
  if (auto it = rec.intControls.find(id); it != rec.intControls.end()) return it->second;
  const ControlDefault* c = findControl(id);
  return c ? static_cast<int>(c->value) : 0;
}

double dblControl(const ProblemRecord& rec, int id) {
  if (auto it = rec.dblControls.find(id); it != rec.dblControls.end()) return it->second;
  const ControlDefault* c = findControl(id);
  return c ? c->value : 0.0;
}

std::string strControl(const ProblemRecord& rec, int id) {
  if (auto it = rec.strControls.find(id); it != rec.strControls.end()) return it->second;
  const ControlDefault* c = findControl(id);
  return c && c->text ? c->text : "";
}

const char* typeName(ControlType type) {
  switch (type) {
    case ControlType::Int:
      return "an integer";
    case ControlType::Dbl:
      return "a double";
    case ControlType::Str:
      return "a string";
    default:
      return "no";
  }
}

ControlType objControlType(int id) {
  switch (id) {
    case XPRS_OBJECTIVE_PRIORITY:
      return ControlType::Int;
    case XPRS_OBJECTIVE_WEIGHT:
    case XPRS_OBJECTIVE_ABSTOL:
    case XPRS_OBJECTIVE_RELTOL:
    case XPRS_OBJECTIVE_RHS:
      return ControlType::Dbl;
    default:
      return ControlType::None;
  }
}

int objIntControl(const ObjectiveRecord& obj, int id) {
  auto it = obj.intControls.find(id);
  return it == obj.intControls.end() ? 0 : it->second;
}

double objDblControl(const ObjectiveRecord& obj, int id) {
  if (id == XPRS_OBJECTIVE_RHS) return obj.rhs;
  if (auto it = obj.dblControls.find(id); it != obj.dblControls.end()) return it->second;
  return id == XPRS_OBJECTIVE_WEIGHT ? 1.0 : 0.0;
}

AttribType attribType(int id) {
  for (const AttribEntry& a : kAttribs) {
    if (a.id == id) return a.type;
  }
  return AttribType::None;
}

int intAttrib(Problem& problem, int id) {
  if (problem.view) {
    if (auto it = problem.view->intAttribs.find(id); it != problem.view->intAttribs.end()) {
      return it->second;
    }
  }
  Problem& t = problem.target();
  if (auto it = t.rec.intAttribOverrides.find(id); it != t.rec.intAttribOverrides.end()) {
    return it->second;
  }
  return computedInt(t, id);
}

double dblAttrib(Problem& problem, int id) {
  if (problem.view) {
    if (auto it = problem.view->dblAttribs.find(id); it != problem.view->dblAttribs.end()) {
      return it->second;
    }
  }
  Problem& t = problem.target();
  if (auto it = t.rec.dblAttribOverrides.find(id); it != t.rec.dblAttribOverrides.end()) {
    return it->second;
  }
  return computedDbl(t, id);
}

}  // namespace xprs::standin
