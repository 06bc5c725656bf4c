#include "tests/support/mps_loader.hpp"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <coin/CoinMpsIO.hpp>
#include <coin/CoinPackedMatrix.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>

namespace xprs_test {

std::string samplePath(const std::string& name) {
  return std::string(XPRS_TEST_SAMPLE_DIR) + "/" + name + ".mps";
}

namespace {

// Keeps the reader's remarks (such as a missing ENDATA line) out of the test output.
class SilentHandler final : public CoinMessageHandler {
 public:
  int print() override { return 0; }
};

struct QcEntry {
  std::string row, col1, col2;
  double value;
};

struct IndicatorEntry {
  std::string row, col;
  int value;
};

// What CoinMpsIO does not read, taken out of the file's lines: the QCMATRIX and INDICATORS
// sections and the sense of OBJSENSE. The other lines stay in rest, the NAME line marked FREE
// (CoinMpsIO reads a file as fixed form unless that line says FREE; free form reads the fixed
// form of the sample files the same).
struct TakenSections {
  std::vector<QcEntry> qc;
  std::vector<IndicatorEntry> indicators;
  bool maximize = false;
  std::string rest;
};

TakenSections takeSections(const std::string& path) {
  std::ifstream in(path);
  TakenSections taken;
  std::string section;
  std::string row;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    fields.imbue(std::locale::classic());
    if (!line.empty() && line[0] != ' ' && line[0] != '*') {
      fields >> section;
      if (section == "QCMATRIX") {
        fields >> row;
      } else if (section == "NAME") {
        std::string name = "BLANK";
        fields >> name;
        taken.rest += "NAME " + name + " FREE\n";
      } else if (section != "OBJSENSE" && section != "INDICATORS") {
        taken.rest += line + '\n';
      }
      // OBJSENSE may give the sense on its own line or on the next.
      std::string sense;
      if (section == "OBJSENSE" && fields >> sense) taken.maximize = sense.rfind("MAX", 0) == 0;
      continue;
    }
    if (section == "OBJSENSE") {
      std::string sense;
      fields >> sense;
      taken.maximize = sense.rfind("MAX", 0) == 0;
    } else if (section == "QCMATRIX") {
      QcEntry e{row, {}, {}, 0.0};
      if (!(fields >> e.col1 >> e.col2 >> e.value)) {
        ADD_FAILURE() << "malformed QCMATRIX entry '" << line << "' in " << path;
        continue;
      }
      taken.qc.push_back(e);
    } else if (section == "INDICATORS") {
      std::string word;
      IndicatorEntry e{{}, {}, 0};
      if (!(fields >> word >> e.row >> e.col >> e.value) || word != "IF") {
        ADD_FAILURE() << "malformed INDICATORS entry '" << line << "' in " << path;
        continue;
      }
      taken.indicators.push_back(e);
    } else {
      taken.rest += line + '\n';
    }
  }
  return taken;
}

int indexOf(const std::vector<std::string>& names, const std::string& name) {
  const auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) ADD_FAILURE() << "unknown name " << name << " in a section";
  return static_cast<int>(it - names.begin());
}

}  // namespace

SampleModel readSample(const std::string& name) { return readMpsFile(samplePath(name)); }

SampleModel readMpsFile(const std::string& path) {
  SilentHandler silent;
  CoinMpsIO reader;
  reader.passInMessageHandler(&silent);
  SampleModel m;
  const TakenSections taken = takeSections(path);
  // Beside the other temporary files: the sample files' folder is not writable.
  static int copies = 0;
  const std::string linear =
      (std::filesystem::temp_directory_path() /
       ("mps_loader_" + std::to_string(getpid()) + "_" + std::to_string(++copies) + ".mps"))
          .string();
  std::ofstream(linear) << taken.rest;
  const int rc = reader.readMps(linear.c_str(), "");
  std::remove(linear.c_str());
  if (rc != 0) {
    ADD_FAILURE() << "cannot read " << path;
    return m;
  }
  m.cols = reader.getNumCols();
  m.rows = reader.getNumRows();
  auto finite = [](double v) {
    return v >= 1e20 ? XPRS_PLUSINFINITY : v <= -1e20 ? XPRS_MINUSINFINITY : v;
  };
  for (int j = 0; j < m.cols; ++j) {
    m.obj.push_back(reader.getObjCoefficients()[j]);
    m.lb.push_back(finite(reader.getColLower()[j]));
    m.ub.push_back(finite(reader.getColUpper()[j]));
    m.integer.push_back(reader.isInteger(j));
  }
  for (int i = 0; i < m.rows; ++i) {
    m.rowType.push_back(reader.getRowSense()[i]);
    m.rhs.push_back(reader.getRightHandSide()[i]);
    m.rng.push_back(reader.getRowRange()[i]);
  }
  const CoinPackedMatrix* matrix = reader.getMatrixByCol();
  for (int j = 0; j < m.cols; ++j) {
    m.start.push_back(static_cast<XPRSint64>(m.index.size()));
    const CoinBigIndex b = matrix->getVectorStarts()[j];
    for (int k = 0; k < matrix->getVectorLengths()[j]; ++k) {
      m.index.push_back(matrix->getIndices()[b + k]);
      m.value.push_back(matrix->getElements()[b + k]);
    }
  }
  m.start.push_back(static_cast<XPRSint64>(m.index.size()));
  // The reader reports the objective row's right-hand side r, as written, for the objective
  // c'x - r.
  m.objRhs = reader.objectiveOffset();
  CoinBigIndex* qStart = nullptr;
  int* qCol = nullptr;
  double* qEl = nullptr;
  if (reader.readQuadraticMps(nullptr, qStart, qCol, qEl, 0) == 0) {
    for (int j = 0; j < m.cols; ++j) {
      for (CoinBigIndex k = qStart[j]; k < qStart[j + 1]; ++k) {
        m.qCol1.push_back(j);
        m.qCol2.push_back(qCol[k]);
        m.qVal.push_back(qEl[k]);
      }
    }
    delete[] qStart;
    delete[] qCol;
    delete[] qEl;
  }
  std::vector<std::string> rowNames;
  std::vector<std::string> colNames;
  for (int i = 0; i < m.rows; ++i) rowNames.emplace_back(reader.rowName(i));
  for (int j = 0; j < m.cols; ++j) colNames.emplace_back(reader.columnName(j));
  m.maximize = taken.maximize;
  for (const QcEntry& e : taken.qc) {
    m.qcRow.push_back(indexOf(rowNames, e.row));
    m.qcCol1.push_back(indexOf(colNames, e.col1));
    m.qcCol2.push_back(indexOf(colNames, e.col2));
    m.qcVal.push_back(e.value);
  }
  for (const IndicatorEntry& e : taken.indicators) {
    m.indRow.push_back(indexOf(rowNames, e.row));
    m.indCol.push_back(indexOf(colNames, e.col));
    m.indComplement.push_back(e.value == 1 ? 1 : -1);
  }
  return m;
}

void load(XPRSprob prob, const SampleModel& m) {
  ASSERT_EQ(XPRSaddrows64(prob, m.rows, 0, m.rowType.data(), m.rhs.data(), m.rng.data(), nullptr,
                          nullptr, nullptr),
            0);
  ASSERT_EQ(XPRSaddcols64(prob, m.cols, m.start.back(), m.obj.data(), m.start.data(),
                          m.index.data(), m.value.data(), m.lb.data(), m.ub.data()),
            0);
  std::vector<int> cols;
  std::vector<char> types;
  for (int j = 0; j < m.cols; ++j) {
    if (m.integer[static_cast<std::size_t>(j)]) {
      cols.push_back(j);
      types.push_back(m.lb[static_cast<std::size_t>(j)] == 0.0 &&
                              m.ub[static_cast<std::size_t>(j)] == 1.0
                          ? 'B'
                          : 'I');
    }
  }
  ASSERT_EQ(XPRSchgcoltype(prob, static_cast<int>(cols.size()), cols.data(), types.data()), 0);
  ASSERT_EQ(XPRSchgmqobj64(prob, static_cast<XPRSint64>(m.qVal.size()), m.qCol1.data(),
                           m.qCol2.data(), m.qVal.data()),
            0);
  for (std::size_t k = 0; k < m.qcVal.size(); ++k) {
    if (m.qcCol1[k] > m.qcCol2[k]) continue;
    ASSERT_EQ(XPRSaddqmatrix64(prob, m.qcRow[k], 1, &m.qcCol1[k], &m.qcCol2[k], &m.qcVal[k]), 0);
  }
  if (!m.indRow.empty()) {
    ASSERT_EQ(XPRSsetindicators(prob, static_cast<int>(m.indRow.size()), m.indRow.data(),
                                m.indCol.data(), m.indComplement.data()),
              0);
  }
  if (m.maximize) {
    ASSERT_EQ(XPRSchgobjsense(prob, XPRS_OBJ_MAXIMIZE), 0);
  }
  if (m.objRhs != 0.0) {
    const int constant = -1;
    ASSERT_EQ(XPRSchgobj(prob, 1, &constant, &m.objRhs), 0);
  }
}

}  // namespace xprs_test
