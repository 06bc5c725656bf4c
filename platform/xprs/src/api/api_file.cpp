// Files: the problem as MPS or LP (see model_writer.hpp), and the basis, the solution print, the
// save file and tuner method files as readable text of this library's own format.
#include <xprs.h>

#include <cstring>
#include <fstream>
#include <iomanip>

#include "api/model_writer.hpp"
#include "controls.hpp"
#include "library.hpp"
#include "validate.hpp"

using namespace xprs::standin;

namespace {

void checkFlags(const char* flags, const char* allowed) {
  for (const char* f = flags ? flags : ""; *f; ++f) {
    if (std::strchr(allowed, *f) == nullptr) fail("invalid flag '", *f, "'");
  }
}

bool hasFlag(const char* flags, char flag) {
  return flags != nullptr && std::strchr(flags, flag) != nullptr;
}

// The file name as given, the problem name when it is empty, with the default extension added
// when the name has none (unless the flag 'v' asks for the name verbatim).
std::string filePath(const ProblemRecord& rec, const char* filename, const char* flags,
                     const char* extension) {
  std::string path = filename ? filename : "";
  if (path.empty()) path = rec.model.probName.empty() ? "problem" : rec.model.probName;
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (!hasExtension && !hasFlag(flags, 'v')) path += extension;
  return path;
}

std::vector<std::string> names(const std::vector<std::string>& given, int count, char prefix) {
  std::vector<std::string> out(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const auto u = static_cast<std::size_t>(i);
    out[u] = u < given.size() && !given[u].empty() ? given[u] : text(prefix, i);
  }
  return out;
}

std::ofstream openText(const std::string& path) {
  std::ofstream out(path);
  if (!out) fail("cannot open file \"", path, "\" for writing");
  out << std::setprecision(17);
  return out;
}

void record(Problem& p, const char* function, const char* filename, const char* flags,
            const std::string& path) {
  p.target().rec.files.push_back({function, filename ? filename : "", flags ? flags : "", path});
}

void writeProblem(const ProblemRecord& rec, const std::string& path, bool lp) {
  // The text first: a model the format cannot hold leaves no file behind.
  const std::string content = modelText(rec.model, lp ? ModelFormat::kLp : ModelFormat::kMps);
  std::ofstream out(path, std::ios::trunc);
  if (!out) fail("cannot open file \"", path, "\" for writing");
  out << content;
  if (!out.flush()) fail("cannot write file \"", path, "\"");
}

}  // namespace

extern "C" {

int XPRS_CC XPRSwriteprob(XPRSprob prob, const char* filename, const char* flags) {
  return callProblem("XPRSwriteprob", prob,
                     Digest().string("filename", filename).string("flags", flags), [&](Problem& p) {
                       checkPointer(filename, "filename");
                       checkFlags(flags, "onsltpvxz");
                       const bool lp = hasFlag(flags, 'l');
                       const std::string path =
                           filePath(p.target().rec, filename, flags, lp ? ".lp" : ".mps");
                       writeProblem(p.target().rec, path, lp);
                       record(p, "XPRSwriteprob", filename, flags, path);
                       return 0;
                     });
}

int XPRS_CC XPRSwritebasis(XPRSprob prob, const char* filename, const char* flags) {
  return callProblem("XPRSwritebasis", prob,
                     Digest().string("filename", filename).string("flags", flags), [&](Problem& p) {
                       checkPointer(filename, "filename");
                       checkFlags(flags, "itnhxpv");
                       const ProblemRecord& rec = p.target().rec;
                       const ResultRecord& r = rec.results;
                       if (!r.hasBasis) fail("no basis is available");
                       const std::string path = filePath(rec, filename, flags, ".bss");
                       std::ofstream out = openText(path);
                       const bool values = hasFlag(flags, 'n');
                       const ModelRecord& m = rec.model;
                       const std::vector<std::string> rowNames = names(m.rowNames, m.rows(), 'R');
                       const std::vector<std::string> colNames = names(m.colNames, m.cols(), 'C');
                       out << "BASIS " << (m.probName.empty() ? "problem" : m.probName) << '\n';
                       out << "ROWS " << m.rows() << '\n';
                       for (std::size_t i = 0; i < r.rowBasis.size(); ++i) {
                         out << rowNames[i] << ' ' << r.rowBasis[i];
                         if (values && i < r.slack.size()) out << ' ' << r.slack[i];
                         out << '\n';
                       }
                       out << "COLUMNS " << m.cols() << '\n';
                       for (std::size_t j = 0; j < r.colBasis.size(); ++j) {
                         out << colNames[j] << ' ' << r.colBasis[j];
                         if (values && j < r.x.size()) out << ' ' << r.x[j];
                         out << '\n';
                       }
                       out << "ENDATA\n";
                       if (!out) fail("cannot write file \"", path, "\"");
                       record(p, "XPRSwritebasis", filename, flags, path);
                       return 0;
                     });
}

int XPRS_CC XPRSwriteprtsol(XPRSprob prob, const char* filename, const char* flags) {
  return callProblem("XPRSwriteprtsol", prob,
                     Digest().string("filename", filename).string("flags", flags), [&](Problem& p) {
                       checkFlags(flags, "xv");
                       const ProblemRecord& rec = p.target().rec;
                       const ResultRecord& r = rec.results;
                       const ModelRecord& m = rec.model;
                       const std::string path = filePath(rec, filename, flags, ".prt");
                       std::ofstream out = openText(path);
                       out << "Problem " << (m.probName.empty() ? "problem" : m.probName) << '\n';
                       out << "Solve status " << rec.run.solveStatus << ", solution status "
                           << rec.run.solStatus << ", stop status " << rec.run.stopStatus << '\n';
                       out << "Objective " << rec.run.objVal << '\n';
                       const std::vector<std::string> rowNames = names(m.rowNames, m.rows(), 'R');
                       const std::vector<std::string> colNames = names(m.colNames, m.cols(), 'C');
                       out << "Rows (name, type, slack, dual)\n";
                       for (int i = 0; i < m.rows(); ++i) {
                         const auto u = static_cast<std::size_t>(i);
                         out << rowNames[u] << ' ' << m.rowType[u] << ' '
                             << (u < r.slack.size() ? r.slack[u] : 0.0) << ' '
                             << (u < r.dual.size() ? r.dual[u] : 0.0) << '\n';
                       }
                       out << "Columns (name, type, value, reduced cost)\n";
                       for (int j = 0; j < m.cols(); ++j) {
                         const auto u = static_cast<std::size_t>(j);
                         out << colNames[u] << ' ' << m.colType[u] << ' '
                             << (u < r.x.size() ? r.x[u] : 0.0) << ' '
                             << (u < r.dj.size() ? r.dj[u] : 0.0) << '\n';
                       }
                       if (!out) fail("cannot write file \"", path, "\"");
                       record(p, "XPRSwriteprtsol", filename, flags, path);
                       return 0;
                     });
}

int XPRS_CC XPRSsave(XPRSprob prob) {
  return callProblem("XPRSsave", prob, Digest(), [&](Problem& p) {
    const ProblemRecord& rec = p.target().rec;
    const std::string path = filePath(rec, "", "", ".svf");
    std::ofstream out = openText(path);
    const ModelRecord& m = rec.model;
    out << "SAVE " << (m.probName.empty() ? "problem" : m.probName) << '\n';
    out << "COLUMNS " << m.cols() << " ROWS " << m.rows() << " ELEMENTS " << m.elemVal.size()
        << " SETS " << m.sets() << " OBJECTIVES " << m.objectives.size() << '\n';
    for (const auto& [id, v] : rec.intControls) out << "CONTROL " << id << ' ' << v << '\n';
    for (const auto& [id, v] : rec.dblControls) out << "CONTROL " << id << ' ' << v << '\n';
    for (const auto& [id, v] : rec.strControls) out << "CONTROL " << id << " \"" << v << "\"\n";
    out << "SOLVESTATUS " << rec.run.solveStatus << " SOLSTATUS " << rec.run.solStatus << " OBJVAL "
        << rec.run.objVal << '\n';
    if (!out) fail("cannot write file \"", path, "\"");
    record(p, "XPRSsave", "", "", path);
    return 0;
  });
}

int XPRS_CC XPRStunerwritemethod(XPRSprob prob, const char* methodfile) {
  return callProblem("XPRStunerwritemethod", prob, Digest().string("methodfile", methodfile),
                     [&](Problem& p) {
                       checkPointer(methodfile, "methodfile");
                       const ProblemRecord& rec = p.target().rec;
                       const std::string path = filePath(rec, methodfile, "", ".xtm");
                       std::ofstream out = openText(path);
                       out << "FIXED-CONTROLS\n";
                       for (const auto& [id, v] : rec.intControls) out << id << " = " << v << '\n';
                       for (const auto& [id, v] : rec.dblControls) out << id << " = " << v << '\n';
                       out << "TUNABLE-CONTROLS\n";
                       if (!out) fail("cannot write file \"", path, "\"");
                       record(p, "XPRStunerwritemethod", methodfile, "", path);
                       return 0;
                     });
}

int XPRS_CC XPRStunerreadmethod(XPRSprob prob, const char* methodfile) {
  return callProblem("XPRStunerreadmethod", prob, Digest().string("methodfile", methodfile),
                     [&](Problem& p) {
                       checkPointer(methodfile, "methodfile");
                       std::ifstream in(methodfile);
                       if (!in) fail("cannot open file \"", methodfile, "\"");
                       record(p, "XPRStunerreadmethod", methodfile, "", methodfile);
                       return 0;
                     });
}

}  // extern "C"
