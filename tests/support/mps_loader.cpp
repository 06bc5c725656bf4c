#include "tests/support/mps_loader.hpp"

#include <cmath>
#include <coin/CoinMpsIO.hpp>
#include <coin/CoinPackedMatrix.hpp>

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

}  // namespace

SampleModel readSample(const std::string& name) { return readMpsFile(samplePath(name)); }

SampleModel readMpsFile(const std::string& path) {
  SilentHandler silent;
  CoinMpsIO reader;
  reader.passInMessageHandler(&silent);
  SampleModel m;
  if (reader.readMps(path.c_str(), "") != 0) {
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
  if (m.objRhs != 0.0) {
    const int constant = -1;
    ASSERT_EQ(XPRSchgobj(prob, 1, &constant, &m.objRhs), 0);
  }
}

}  // namespace xprs_test
