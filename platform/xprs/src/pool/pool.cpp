#include "pool/pool.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace xprs::standin {

namespace {

int duplicatePolicy(const Pool& pool) {
  auto it = pool.rec.intControls.find(XPRS_MSP_DUPLICATESOLUTIONSPOLICY);
  return it == pool.rec.intControls.end() ? kDefaultDuplicatePolicy : it->second;
}

bool nearlyEqual(double a, double b) {
  return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(a));
}

// Policy 1: every value equal; 2: integer columns equal when rounded and continuous ones
// within 1e-6 (relative); 3: integer columns equal when rounded.
bool duplicates(int policy, const PoolSolutionRecord& a, const PoolSolutionRecord& b) {
  if (policy == 0 || a.x.size() != b.x.size()) return false;
  if (policy == 1) return a.x == b.x;
  for (std::size_t j = 0; j < a.x.size(); ++j) {
    if (a.discrete[j] || b.discrete[j]) {
      if (std::round(a.x[j]) != std::round(b.x[j])) return false;
    } else if (policy == 2 && !nearlyEqual(a.x[j], b.x[j])) {
      return false;
    }
  }
  return true;
}

}  // namespace

Problem& resolveProblem(XPRSprob prob) {
  Problem* p = Library::instance().find(prob);
  if (p == nullptr) {
    Library::instance().countMisuse();
    fail(prob ? "unknown or destroyed problem handle" : "the problem handle is NULL");
  }
  return *p;
}

std::vector<const PoolSolutionRecord*> solutionsFor(const Pool& pool, const ModelRecord& model) {
  std::vector<const PoolSolutionRecord*> out;
  for (const PoolSolutionRecord& s : pool.rec.solutions) {
    if (s.x.size() == static_cast<std::size_t>(model.cols())) out.push_back(&s);
  }
  return out;
}

int storeSolution(Pool& pool, const Problem& origin, const std::vector<double>& x,
                  double objective) {
  const ModelRecord& m = origin.rec.model;
  PoolSolutionRecord s;
  s.x = x;
  s.objective = objective;
  s.origin = origin.handle;
  s.discrete.assign(x.size(), 0);
  if (x.size() == static_cast<std::size_t>(m.cols())) {
    for (std::size_t j = 0; j < x.size(); ++j) s.discrete[j] = m.colType[j] != 'C';
  }
  const int policy = duplicatePolicy(pool);
  auto& stored = pool.rec.solutions;
  auto twin = std::find_if(stored.begin(), stored.end(),
                           [&](const PoolSolutionRecord& t) { return duplicates(policy, s, t); });
  if (twin != stored.end()) {
    ++pool.rec.duplicatesDropped;
    // The better of the two stays: a strictly better duplicate replaces the stored one.
    if (m.sense * (objective - twin->objective) >= 0.0) return 0;
    stored.erase(twin);
  }
  s.id = ++pool.rec.lastId;
  stored.push_back(std::move(s));
  return pool.rec.lastId;
}

void offerIncumbent(Problem& problem, double objective, const std::vector<double>& x) {
  if (problem.enumerating) return;
  if (Pool* pool = Library::instance().poolOf(problem.handle)) {
    storeSolution(*pool, problem, x, objective);
  }
}

void copyLastError(const std::string& message, int errorCode, int* code, char* msg, int maxbytes,
                   int* nbytes) {
  if (code) *code = errorCode;
  if (nbytes) *nbytes = static_cast<int>(message.size()) + 1;
  if (msg && maxbytes > 0) {
    const std::size_t n = std::min(message.size(), static_cast<std::size_t>(maxbytes - 1));
    std::memcpy(msg, message.data(), n);
    msg[n] = '\0';
  }
}

void sendObjectMessage(void* handler, void* context, const void* object, const char* message,
                       int type) {
  if (handler == nullptr) return;
  const auto obj = asHandle<XPRSobject>(object);
  if (message == nullptr) {
    reinterpret_cast<XPRSobjmsghandler>(handler)(obj, context, nullptr, nullptr, type, 0);
    return;
  }
  const std::string line = std::string(message).substr(0, XPRS_MAXMESSAGELENGTH - 1);
  // The handler's answer carries no meaning.
  reinterpret_cast<XPRSobjmsghandler>(handler)(obj, context, nullptr, line.c_str(), type, 0);
}

}  // namespace xprs::standin
