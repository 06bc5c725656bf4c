// Library-wide state of the stand-in (live-handle registry, call journal, injected failures,
// initialisation count) and the frame every exported function runs in: journal the call,
// resolve the handle, serve an injected failure, run the body, and turn any exception into a
// non-zero return code with a last-error text naming the function.
#ifndef XPRS_LIBRARY_HPP_
#define XPRS_LIBRARY_HPP_

#include <xprs.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "xprs_standin/records.hpp"

namespace xprs::standin {

// Return code of every failure raised by the library itself.
inline constexpr int kErrorCode = 32;

// A fault found by a function body; the frame prefixes the function name.
class ApiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Text from pieces: strings, characters and numbers (locale independent).
inline void appendPiece(std::string& out, std::string_view s) { out += s; }
inline void appendPiece(std::string& out, const char* s) { out += s ? s : "NULL"; }
inline void appendPiece(std::string& out, const std::string& s) { out += s; }
inline void appendPiece(std::string& out, char c) { out += c; }
template <class T>
requires std::is_arithmetic_v<T> &&
    (!std::is_same_v<T, char>)&&(!std::is_same_v<T, bool>)void appendPiece(std::string& out,
                                                                           T value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, res.ptr);
}
template <class... Ts>
std::string text(const Ts&... pieces) {
  std::string out;
  (appendPiece(out, pieces), ...);
  return out;
}
template <class... Ts>
[[noreturn]] void fail(const Ts&... pieces) {
  throw ApiError(text(pieces...));
}

// Short digest of a call for the journal: "name=value" pairs. Pointers show only whether
// they are NULL; string() renders a NUL-terminated input text, cut after kMaxText characters
// (marked by "...").
class Digest {
 public:
  template <class T>
  Digest& operator()(std::string_view name, const T& value) {
    start(name);
    if constexpr (std::is_pointer_v<T>) {
      out_ += value ? "set" : "NULL";
    } else {
      appendPiece(out_, value);
    }
    return *this;
  }
  static constexpr std::size_t kMaxText = 256;

  Digest& string(std::string_view name, const char* value) {
    start(name);
    if (value) {
      const std::size_t n = strnlen(value, kMaxText + 1);
      out_ += '"';
      out_.append(value, std::min(n, kMaxText));
      if (n > kMaxText) out_ += "...";
      out_ += '"';
    } else {
      out_ += "NULL";
    }
    return *this;
  }
  [[nodiscard]] const std::string& str() const { return out_; }

 private:
  void start(std::string_view name) {
    if (!out_.empty()) out_ += ' ';
    out_ += name;
    out_ += '=';
  }
  std::string out_;
};

struct CallbackView;
struct Pool;
struct Enumerator;

// A problem as the library holds it. A callback problem (owner set) is the handle callbacks
// receive during a run: it reads the owner's model and controls and its own callback attributes.
struct Problem {
  XPRSprob handle = nullptr;
  ProblemRecord rec;
  std::string lastError;
  int lastErrorCode = 0;
  std::atomic<int> interruptReason{0};  // 0: no interrupt requested
  bool solving = false;
  bool enumerating = false;  // a solution enumerator runs the problem and stores its solutions
  Problem* owner = nullptr;
  CallbackView* view = nullptr;
  // Warm starts waiting for the next run; the records in rec.warmStart keep every call.
  std::optional<BasisRecord> pendingBasis;
  std::vector<MipSolRecord> pendingMipSols;

  [[nodiscard]] Problem& target() { return owner ? *owner : *this; }
};

// Attributes and incumbent a callback problem answers during one callback.
struct CallbackView {
  std::unordered_map<int, int> intAttribs;
  std::unordered_map<int, double> dblAttribs;
  std::vector<double> x;  // incumbent of an integer-solution callback
};

class Library {
 public:
  static Library& instance();

  // Journals the call, resolves the handle (null result: refused, rc returned), serves an
  // injected failure. A null prob with allowNull accepts the call without a problem.
  int enter(const char* function, XPRSprob prob, const std::string& digest, Problem** out,
            bool allowNull = false);
  // Journals a call on a handle that is no problem (pools, enumerators, library functions) and
  // serves an injected failure; the text of a failure goes to the global last error. When an
  // injected failure is served and keepHandle is given, it tells whether the failing call must
  // leave the caller's handle variable untouched.
  int enterGlobal(const char* function, const void* handle, const std::string& digest,
                  bool* keepHandle = nullptr);

  Problem& createProblem();
  void destroyProblem(Problem& problem);
  Problem& createCallbackProblem(Problem& owner, CallbackView& view);
  void destroyCallbackProblem(Problem& problem);
  Problem* find(XPRSprob prob);

  // Solution pools and enumerators, in the same registry of tokens as problems. Destroying a
  // problem detaches it from its pool; destroying a pool detaches every problem.
  Pool& createPool();
  void destroyPool(Pool& pool);
  Pool* findPool(XPRSmipsolpool msp);
  // The pool prob is attached to, or null.
  Pool* poolOf(XPRSprob prob);
  Enumerator& createEnumerator();
  void destroyEnumerator(Enumerator& mse);
  Enumerator* findEnumerator(XPRSmipsolenum mse);
  // As enter, for a pool or an enumerator handle; an injected failure becomes its last error.
  int enterPool(const char* function, XPRSmipsolpool msp, const std::string& digest, Pool** out);
  int enterEnumerator(const char* function, XPRSmipsolenum mse, const std::string& digest,
                      Enumerator** out);

  void setGlobalError(int code, std::string text);
  [[nodiscard]] std::string globalError();
  [[nodiscard]] int globalErrorCode();
  void countMisuse();

  bool init();
  int free();
  [[nodiscard]] bool initialised();

  // Test hooks. The journal keeps the most recent kJournalCapacity calls.
  static constexpr std::size_t kJournalCapacity = 1 << 16;
  std::vector<CallRecord> calls();
  void clearCalls();
  void failNext(const std::string& function, int rc, const std::string& text, int skip,
                bool keepHandle = false);
  void clearFailures();
  [[nodiscard]] int initCount();
  [[nodiscard]] int handleMisuse();
  [[nodiscard]] int liveProblems();
  [[nodiscard]] int livePools();
  [[nodiscard]] int liveEnumerators();
  void reset();

 private:
  struct Injection {
    std::string function;
    int rc;
    std::string text;
    int skip;
    bool keepHandle;
  };
  bool takeInjection(const char* function, int* rc, std::string* text, bool* keepHandle);
  // The live problems, pools or enumerators by their handle's token.
  template <class Object>
  using Objects = std::unordered_map<std::uintptr_t, std::unique_ptr<Object>>;
  template <class Object, class Map>
  int enterObject(const char* function, const void* handle, const std::string& digest, Map& objects,
                  const char* kind, Object** out);
  std::uintptr_t newToken();
  // A new object of objects with a fresh handle; the one whose handle is given; its removal.
  template <class Object>
  Object& createIn(Objects<Object>& objects);
  template <class Object>
  Object* findIn(Objects<Object>& objects, const void* handle);
  template <class Object>
  void eraseFrom(Objects<Object>& objects, const void* handle);

  std::mutex mutex_;
  Objects<Problem> problems_;
  Objects<Pool> pools_;
  Objects<Enumerator> enumerators_;
  std::uintptr_t nextToken_ = 1;
  int initCount_ = 0;
  int misuse_ = 0;
  void journal(const char* function, const void* handle, const std::string& digest);

  std::deque<CallRecord> journal_;
  std::vector<Injection> injections_;
  std::string globalError_;
  int globalErrorCode_ = 0;
};

// Records the text of a failure on the problem (and its owner) with the function's name.
void setProblemError(Problem& problem, const char* function, const std::string& message,
                     int code = kErrorCode);

// The frame of a problem function: body(Problem&) runs after the checks; exceptions end as
// return codes.
template <class Body>
int callProblem(const char* function, XPRSprob prob, const Digest& digest, Body&& body) {
  Problem* problem = nullptr;
  if (int rc = Library::instance().enter(function, prob, digest.str(), &problem); rc != 0) {
    return rc;
  }
  try {
    return body(*problem);
  } catch (const ApiError& e) {
    setProblemError(*problem, function, e.what());
  } catch (const std::bad_alloc&) {
    setProblemError(*problem, function, "out of memory");
  } catch (const std::exception& e) {
    setProblemError(*problem, function, text("internal failure: ", e.what()));
  } catch (...) {
    setProblemError(*problem, function, "internal failure");
  }
  return kErrorCode;
}

// The frame of a function that creates a handle into *out (named outName in the texts): the
// journal entry and the checks, then create(Library&), whose object's handle goes to *out. After
// a failure *out is null, unless an injected failure asks to leave it as it was.
template <class Handle, class Create>
int createHandle(const char* function, const char* outName, Handle* out, Create&& create) {
  Library& lib = Library::instance();
  bool keepHandle = false;
  if (int rc = lib.enterGlobal(function, nullptr, Digest()(outName, out).str(), &keepHandle);
      rc != 0) {
    if (out && !keepHandle) *out = nullptr;
    return rc;
  }
  if (out == nullptr) {
    lib.setGlobalError(kErrorCode, text(function, ": ", outName, " is NULL"));
    return kErrorCode;
  }
  *out = nullptr;
  if (!lib.initialised()) {
    lib.setGlobalError(kErrorCode, text(function, ": the library is not initialised"));
    return kErrorCode;
  }
  try {
    *out = create(lib).handle;
  } catch (...) {
    lib.setGlobalError(kErrorCode, text(function, ": out of memory"));
    return kErrorCode;
  }
  return 0;
}

// Copies text into a caller buffer of 512 bytes: at most 511 characters and the terminator.
void copyMessage(const std::string& text, char* buffer);

}  // namespace xprs::standin

#endif  // XPRS_LIBRARY_HPP_
