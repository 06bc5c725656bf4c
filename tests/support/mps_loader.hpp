// Loads a COIN-OR sample model (MPS) into a stand-in problem through the C API only.
#ifndef TESTS_SUPPORT_MPS_LOADER_HPP_
#define TESTS_SUPPORT_MPS_LOADER_HPP_

#include <gtest/gtest.h>
#include <xprs.h>

#include <string>
#include <vector>

namespace xprs_test {

// The sample model's data as read from the file (Xpress conventions already applied).
struct SampleModel {
  int cols = 0;
  int rows = 0;
  std::vector<double> obj, lb, ub, rhs, rng;
  std::vector<char> rowType;
  std::vector<bool> integer;
  std::vector<XPRSint64> start;  // column starts, cols + 1 entries
  std::vector<int> index;
  std::vector<double> value;
  std::vector<int> qCol1, qCol2;  // raw QUADOBJ entries
  std::vector<double> qVal;
  // QCMATRIX entries as listed: the Q of a row's x'Qx, both triangles.
  std::vector<int> qcRow, qcCol1, qcCol2;
  std::vector<double> qcVal;
  double objRhs = 0.0;    // right-hand side r of the objective row: the objective is c'x - r
  bool maximize = false;  // OBJSENSE MAX
  // INDICATORS entries: row indRow[k] holds while column indCol[k] is 1 (complement 1) or 0
  // (complement -1).
  std::vector<int> indRow, indCol, indComplement;
};

[[nodiscard]] std::string samplePath(const std::string& name);
[[nodiscard]] SampleModel readSample(const std::string& name);
// The model of any MPS file; readSample reads samplePath(name) with it.
[[nodiscard]] SampleModel readMpsFile(const std::string& path);
// Loads the model with XPRSaddrows64 (no entries), XPRSaddcols64, XPRSchgcoltype,
// XPRSchgmqobj64, XPRSaddqmatrix64 (the upper triangle of each QCMATRIX), XPRSsetindicators,
// XPRSchgobjsense and XPRSchgobj (objective constant); fails the test on a non-zero code.
void load(XPRSprob prob, const SampleModel& model);

}  // namespace xprs_test

#endif  // TESTS_SUPPORT_MPS_LOADER_HPP_
