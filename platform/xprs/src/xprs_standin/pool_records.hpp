// Plain records of what a stand-in MIP solution pool and solution enumerator hold: the stored
// solutions, the controls set, the registered message handler, the last enumeration and the
// scripted cull responses tests may queue. Filled by libxprs, read by tests through
// xprs_testing.hpp; they contain no behaviour.
#ifndef XPRS_STANDIN_POOL_RECORDS_HPP_
#define XPRS_STANDIN_POOL_RECORDS_HPP_

#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace xprs::standin {

// One solution held by a pool.
struct PoolSolutionRecord {
  int id = 0;                    // from 1, in the order the pool received solutions
  std::vector<double> x;         // one value per column of the problem it came from
  double objective = 0.0;        // its objective value in that problem when it was stored
  const void* origin = nullptr;  // the problem handle it came from
  std::vector<char> discrete;    // per column: 1 for an integer column of the origin problem
};

struct PoolRecord {
  std::vector<PoolSolutionRecord> solutions;  // the active solutions, ascending id
  int lastId = 0;                             // the largest id handed out so far
  std::vector<int> deleted;                   // ids removed by XPRS_msp_delsol, in call order
  int duplicatesDropped = 0;                  // solutions not stored by the duplicate policy
  std::vector<const void*> attached;          // problem handles, in attachment order
  std::map<int, int> intControls;             // controls set explicitly
  void* msgHandler = nullptr;
  void* msgContext = nullptr;
};

// A scripted answer of XPRS_mse_getcullchoice, served before the enumerator's own choice.
struct CullResponse {
  std::vector<int> ids;  // solutions to cull; only the first nMaxSolsToCull are returned
  bool reject = false;   // sets *bRejectSoln when the caller passed it
  // When set, the count reported in place of the number of ids returned, even above the
  // caller's maximum or below 0: a misbehaving library, for callers that must not trust it.
  // The ids written stay cut to the maximum.
  std::optional<int> reportedCount = std::nullopt;
};

struct EnumeratorRecord {
  std::map<int, int> intControls;  // controls set explicitly
  void* msgHandler = nullptr;
  void* msgContext = nullptr;
  // The problem and pool of the running or the last enumeration (null before the first).
  const void* problem = nullptr;
  const void* pool = nullptr;
  int runs = 0;               // completed XPRS_mse_opt calls
  int solutionsFound = 0;     // solutions handed to the handler in the last enumeration
  int solutionsRejected = 0;  // of those, the ones the handler rejected
  std::map<int, int> intAttribOverrides;
  std::deque<CullResponse> cullResponses;
};

}  // namespace xprs::standin

#endif  // XPRS_STANDIN_POOL_RECORDS_HPP_
