#include "library.hpp"

#include <algorithm>
#include <cstring>

#include "pool/pool.hpp"

namespace xprs::standin {

namespace {

// Handles are tokens, never addresses: a destroyed handle stays unknown for ever, even when
// the memory of its problem is reused.
constexpr std::uintptr_t kTokenBase = 0x7f000000;
constexpr std::uintptr_t kTokenStep = 16;

std::uintptr_t key(const void* handle) { return reinterpret_cast<std::uintptr_t>(handle); }

}  // namespace

Library& Library::instance() {
  static Library library;
  return library;
}

bool Library::takeInjection(const char* function, int* rc, std::string* message, bool* keepHandle) {
  for (auto it = injections_.begin(); it != injections_.end(); ++it) {
    if (it->function != function) continue;
    if (it->skip > 0) {
      --it->skip;
      return false;
    }
    *rc = it->rc;
    *message = it->text;
    if (keepHandle) *keepHandle = it->keepHandle;
    injections_.erase(it);
    return true;
  }
  return false;
}

void Library::journal(const char* function, const void* handle, const std::string& digest) {
  if (journal_.size() == kJournalCapacity) journal_.pop_front();
  journal_.push_back({function, handle, digest});
}

int Library::enter(const char* function, XPRSprob prob, const std::string& digest, Problem** out,
                   bool allowNull) {
  std::lock_guard lock(mutex_);
  journal(function, prob, digest);
  Problem* problem = nullptr;
  if (prob != nullptr || !allowNull) {
    auto it = problems_.find(key(prob));
    if (it == problems_.end()) {
      ++misuse_;
      globalErrorCode_ = kErrorCode;
      globalError_ =
          text(function, ": ",
               prob ? "unknown or destroyed problem handle" : "the problem handle is NULL");
      return kErrorCode;
    }
    problem = it->second.get();
  }
  int rc = 0;
  std::string message;
  if (takeInjection(function, &rc, &message, nullptr)) {
    if (problem) {
      problem->lastError = message;
      problem->lastErrorCode = rc;
      if (problem->owner) {
        problem->owner->lastError = message;
        problem->owner->lastErrorCode = rc;
      }
    } else {
      globalError_ = message;
      globalErrorCode_ = rc;
    }
    return rc;
  }
  *out = problem;
  return 0;
}

int Library::enterGlobal(const char* function, const void* handle, const std::string& digest,
                         bool* keepHandle) {
  std::lock_guard lock(mutex_);
  journal(function, handle, digest);
  int rc = 0;
  std::string message;
  if (takeInjection(function, &rc, &message, keepHandle)) {
    globalError_ = message;
    globalErrorCode_ = rc;
    return rc;
  }
  return 0;
}

std::uintptr_t Library::newToken() { return kTokenBase + kTokenStep * nextToken_++; }

template <class Object>
Object& Library::createIn(Objects<Object>& objects) {
  auto object = std::make_unique<Object>();
  std::lock_guard lock(mutex_);
  const std::uintptr_t token = newToken();
  object->handle = reinterpret_cast<decltype(object->handle)>(token);
  Object& ref = *object;
  objects.emplace(token, std::move(object));
  return ref;
}

template <class Object>
Object* Library::findIn(Objects<Object>& objects, const void* handle) {
  std::lock_guard lock(mutex_);
  auto it = objects.find(key(handle));
  return it == objects.end() ? nullptr : it->second.get();
}

template <class Object>
void Library::eraseFrom(Objects<Object>& objects, const void* handle) {
  std::lock_guard lock(mutex_);
  objects.erase(key(handle));
}

Problem& Library::createProblem() { return createIn(problems_); }

void Library::destroyProblem(Problem& problem) {
  std::lock_guard lock(mutex_);
  for (auto& [token, pool] : pools_) std::erase(pool->rec.attached, problem.handle);
  problems_.erase(key(problem.handle));
}

Problem& Library::createCallbackProblem(Problem& owner, CallbackView& view) {
  Problem& problem = createProblem();
  problem.owner = &owner;
  problem.view = &view;
  return problem;
}

void Library::destroyCallbackProblem(Problem& problem) { destroyProblem(problem); }

Problem* Library::find(XPRSprob prob) { return findIn(problems_, prob); }

template <class Object, class Map>
int Library::enterObject(const char* function, const void* handle, const std::string& digest,
                         Map& objects, const char* kind, Object** out) {
  std::lock_guard lock(mutex_);
  journal(function, handle, digest);
  auto it = objects.find(key(handle));
  if (it == objects.end()) {
    ++misuse_;
    globalErrorCode_ = kErrorCode;
    globalError_ = text(function, ": ", handle ? "unknown or destroyed " : "the ", kind,
                        handle ? " handle" : " handle is NULL");
    return kErrorCode;
  }
  Object* object = it->second.get();
  int rc = 0;
  std::string message;
  if (takeInjection(function, &rc, &message, nullptr)) {
    object->lastError = message;
    object->lastErrorCode = rc;
    return rc;
  }
  *out = object;
  return 0;
}

int Library::enterPool(const char* function, XPRSmipsolpool msp, const std::string& digest,
                       Pool** out) {
  return enterObject(function, msp, digest, pools_, "solution pool", out);
}

int Library::enterEnumerator(const char* function, XPRSmipsolenum mse, const std::string& digest,
                             Enumerator** out) {
  return enterObject(function, mse, digest, enumerators_, "solution enumerator", out);
}

Pool& Library::createPool() { return createIn(pools_); }

void Library::destroyPool(Pool& pool) { eraseFrom(pools_, pool.handle); }

Pool* Library::findPool(XPRSmipsolpool msp) { return findIn(pools_, msp); }

Pool* Library::poolOf(XPRSprob prob) {
  std::lock_guard lock(mutex_);
  for (auto& [token, pool] : pools_) {
    const auto& attached = pool->rec.attached;
    if (std::find(attached.begin(), attached.end(), prob) != attached.end()) return pool.get();
  }
  return nullptr;
}

Enumerator& Library::createEnumerator() { return createIn(enumerators_); }

void Library::destroyEnumerator(Enumerator& mse) { eraseFrom(enumerators_, mse.handle); }

Enumerator* Library::findEnumerator(XPRSmipsolenum mse) { return findIn(enumerators_, mse); }

void Library::setGlobalError(int code, std::string message) {
  std::lock_guard lock(mutex_);
  globalErrorCode_ = code;
  globalError_ = std::move(message);
}

std::string Library::globalError() {
  std::lock_guard lock(mutex_);
  return globalError_;
}

int Library::globalErrorCode() {
  std::lock_guard lock(mutex_);
  return globalErrorCode_;
}

void Library::countMisuse() {
  std::lock_guard lock(mutex_);
  ++misuse_;
}

bool Library::init() {
  std::lock_guard lock(mutex_);
  ++initCount_;
  return true;
}

int Library::free() {
  std::lock_guard lock(mutex_);
  if (initCount_ == 0) return -1;
  return --initCount_;
}

bool Library::initialised() {
  std::lock_guard lock(mutex_);
  return initCount_ > 0;
}

std::vector<CallRecord> Library::calls() {
  std::lock_guard lock(mutex_);
  return {journal_.begin(), journal_.end()};
}

void Library::clearCalls() {
  std::lock_guard lock(mutex_);
  journal_.clear();
}

void Library::failNext(const std::string& function, int rc, const std::string& message, int skip,
                       bool keepHandle) {
  std::lock_guard lock(mutex_);
  injections_.push_back({function, rc, message, std::max(skip, 0), keepHandle});
}

void Library::clearFailures() {
  std::lock_guard lock(mutex_);
  injections_.clear();
}

int Library::initCount() {
  std::lock_guard lock(mutex_);
  return initCount_;
}

int Library::handleMisuse() {
  std::lock_guard lock(mutex_);
  return misuse_;
}

int Library::liveProblems() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(problems_.size());
}

int Library::livePools() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(pools_.size());
}

int Library::liveEnumerators() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(enumerators_.size());
}

void Library::reset() {
  std::lock_guard lock(mutex_);
  journal_.clear();
  injections_.clear();
  misuse_ = 0;
  globalError_.clear();
  globalErrorCode_ = 0;
}

void setProblemError(Problem& problem, const char* function, const std::string& message, int code) {
  std::string full = text(function, ": ", message);
  if (problem.owner) {
    problem.owner->lastError = full;
    problem.owner->lastErrorCode = code;
  }
  problem.lastError = std::move(full);
  problem.lastErrorCode = code;
}

void copyMessage(const std::string& message, char* buffer) {
  const std::size_t n = std::min<std::size_t>(message.size(), XPRS_MAXMESSAGELENGTH - 1);
  std::memcpy(buffer, message.data(), n);
  buffer[n] = '\0';
}

}  // namespace xprs::standin
