// The MIP solution pool and solution enumerator objects of the stand-in, the frame their
// exported functions run in, and the operations the engine and the enumerator share: storing a
// solution under the pool's duplicate policy, the objective of a stored solution in a problem,
// and the delivery of messages to a registered handler.
#ifndef XPRS_POOL_HPP_
#define XPRS_POOL_HPP_

#include <xprs.h>

#include <cstdint>
#include <string>
#include <vector>

#include "library.hpp"
#include "xprs_standin/pool_records.hpp"

namespace xprs::standin {

struct Pool {
  XPRSmipsolpool handle = nullptr;
  PoolRecord rec;
  std::string lastError;
  int lastErrorCode = 0;
  int busy = 0;  // enumerations running with this pool
};

struct Enumerator {
  XPRSmipsolenum handle = nullptr;
  EnumeratorRecord rec;
  std::string lastError;
  int lastErrorCode = 0;
  bool running = false;
};

// Documented default of the duplicate policy: solutions equal in their integer columns are
// duplicates.
inline constexpr int kDefaultDuplicatePolicy = 3;

template <class Object>
void setObjectError(Object& object, const char* function, const std::string& message,
                    int code = kErrorCode) {
  object.lastError = text(function, ": ", message);
  object.lastErrorCode = code;
}

// The frame of a pool or enumerator function: body(Object&) runs after the checks; exceptions
// end as return codes with the object's last error set.
template <class Object, class Body>
int callObject(const char* function, Object* object, Body&& body) {
  try {
    return body(*object);
  } catch (const ApiError& e) {
    setObjectError(*object, function, e.what());
  } catch (const std::bad_alloc&) {
    setObjectError(*object, function, "out of memory");
  } catch (const std::exception& e) {
    setObjectError(*object, function, text("internal failure: ", e.what()));
  } catch (...) {
    setObjectError(*object, function, "internal failure");
  }
  return kErrorCode;
}

template <class Body>
int callPool(const char* function, XPRSmipsolpool msp, const Digest& digest, Body&& body) {
  Pool* pool = nullptr;
  if (int rc = Library::instance().enterPool(function, msp, digest.str(), &pool); rc != 0) {
    return rc;
  }
  return callObject(function, pool, body);
}

template <class Body>
int callEnumerator(const char* function, XPRSmipsolenum mse, const Digest& digest, Body&& body) {
  Enumerator* enumerator = nullptr;
  if (int rc = Library::instance().enterEnumerator(function, mse, digest.str(), &enumerator);
      rc != 0) {
    return rc;
  }
  return callObject(function, enumerator, body);
}

// The live problem behind prob (a callback problem resolves to its owner); an unknown handle
// is counted as a misuse and raised.
Problem& resolveProblem(XPRSprob prob);

// Stores x as a new solution unless the pool's duplicate policy finds it equal to a stored
// one. Returns its id, or 0 when it was dropped as a duplicate.
int storeSolution(Pool& pool, const Problem& origin, const std::vector<double>& x,
                  double objective);

// The active solutions whose column count is the problem's: the set a problem ranks and an
// enumerator culls.
[[nodiscard]] std::vector<const PoolSolutionRecord*> solutionsFor(const Pool& pool,
                                                                  const ModelRecord& model);

// Hands an incumbent of a run to the pool the problem is attached to, unless an enumerator
// runs the problem (it stores the solutions it accepts itself).
void offerIncumbent(Problem& problem, double objective, const std::vector<double>& x);

// A handle kept in a record (const void*) as the handle type it was made as.
template <class Handle>
[[nodiscard]] Handle asHandle(const void* handle) {
  return reinterpret_cast<Handle>(reinterpret_cast<std::uintptr_t>(handle));
}

// Copies a last error into a caller buffer of maxbytes bytes (cut, always terminated); code
// and nbytes (the text's size with its terminator) are written when given.
void copyLastError(const std::string& message, int errorCode, int* code, char* msg, int maxbytes,
                   int* nbytes);

// Calls a registered pool or enumerator message handler (nothing when none is registered).
void sendObjectMessage(void* handler, void* context, const void* object, const char* text,
                       int type);

}  // namespace xprs::standin

#endif  // XPRS_POOL_HPP_
