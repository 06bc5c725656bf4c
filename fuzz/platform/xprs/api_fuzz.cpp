// Sequences of calls to the optimizer stand-in's C API, decoded from the input: every exported
// function, with arrays of exactly the sizes the declarations ask for, values among them ±1e20,
// ±infinity, NaN, huge and tiny numbers, callbacks that call back into the library (on their
// own handle, on the problem being solved and on others), copies and destroyed handles.
//
// Beyond the sanitizers, two rules are checked after every call: a non-zero return leaves a
// last-error text that names the function, and a destroyed (or never created) handle is refused.
//
// The input is read front to back, one byte per decision (see Input); once it is used up every
// further decision reads 0. Files are written into the working directory under a few fixed
// names.
#include <xprs.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>
#include <xprs_standin/hook_access.hpp>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMaxOps = 128;
// Calls a run's callbacks make back into the library, per input.
constexpr int kCallbackBudget = 48;
// Runs (optimisations, tunings, enumerations) per input, and the time limit of each.
constexpr int kMaxRuns = 8;
constexpr double kRunSeconds = 1.0;
// Largest array the harness hands over for a count it cannot bound otherwise.
constexpr int kMaxArray = 4096;

[[noreturn]] void violated(const char* rule, const char* function, const char* detail = "") {
  std::fprintf(stderr, "xprs_api_fuzz: %s: %s %s\n", function, rule, detail);
  std::fflush(stderr);
  std::abort();
}

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool done() const { return pos_ >= size_; }
  int pick(int n) { return n <= 0 ? 0 : byte() % n; }
  bool flag() { return (byte() & 1) != 0; }

  // Numbers a model may hold: plain ones, infinities in both spellings, NaN and the extremes.
  double value() {
    static constexpr double kSpecial[] = {0.0,    1.0,     -1.0, 0.5,   2.0,  1e20,  -1e20,
                                          1e30,   -1e30,   kInf, -kInf, 1e19, -1e19, 1e-300,
                                          5e-324, 1.7e308, -0.0, 1e15,  3.0,  10.0};
    const int k = byte();
    if (k < 20) return kSpecial[k];
    if (k == 20) return std::numeric_limits<double>::quiet_NaN();
    if (k < 120) return k - 70;
    if (k < 200) return (k - 160) * 0.25;
    double raw = 0;
    std::uint8_t bytes[sizeof raw];
    for (std::uint8_t& b : bytes) b = byte();
    std::memcpy(&raw, bytes, sizeof raw);
    return raw;
  }

  // An index for something with n entries: mostly in range, sometimes just outside or extreme.
  int index(int n) {
    const int k = byte();
    if (k < 240) return k % (n + 2) - 1;
    static constexpr int kSpecial[] = {std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::max(), -2, 1 << 20, -1000};
    return kSpecial[k % 5];
  }

  // A count of at most max entries, sometimes -1.
  int count(int max) { return byte() % (max + 2) - 1; }

  int integer() {
    const int k = byte();
    if (k < 200) return k - 100;
    static constexpr int kSpecial[] = {std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::max(), 1000, 1001, 999999};
    return kSpecial[k % 5];
  }

  char letter(const char* alphabet) {
    const int k = byte();
    if (k >= 240) return static_cast<char>(k);  // anything at all, now and then
    return alphabet[k % std::strlen(alphabet)];
  }

  // A text of at most maxLength letters; with safe, only characters a file name may hold.
  std::string text(int maxLength, bool safe) {
    const int k = byte();
    std::size_t n = static_cast<std::size_t>(k % (maxLength + 1));
    if (k == 255) n = 1025;  // just beyond the longest problem name
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
      const char c = safe ? letter("abcXYZ_.019") : letter("abc ;:\"'\n\t-+*/#[]{}");
      s += safe && (c == '/' || c == '\0' || static_cast<unsigned char>(c) >= 240) ? 'q' : c;
    }
    return s;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// first + k without passing the largest int.
int after(int first, int k) {
  return first > std::numeric_limits<int>::max() - k ? std::numeric_limits<int>::max() : first + k;
}

// A handle as the harness chose it: live, destroyed, null or never created.
template <class Handle>
struct Pick {
  Handle handle = nullptr;
  bool refused = false;  // a call with it must fail
};

class Session;

// Callback data: the session, and which callback it is for reporting.
struct CallbackData {
  Session* session = nullptr;
};

class Session {
 public:
  explicit Session(Input& in) : in_(in) { data_.session = this; }

  void run() {
    if (call("XPRSinit", XPRSinit(nullptr)) == 0) ++inits_;
    create();
    for (int op = 0; op < kMaxOps && !in_.done(); ++op) step(in_.byte());
    finish();
  }

  // From the callbacks.
  void reenter(XPRSprob cb);
  void message(XPRSprob cb, const char* msg, int len);
  void objectMessage(const char* msg, int type);
  int enumeratedSolution(XPRSprob prob, int* nMaxSols, const double* x, int nCols, double* modified,
                         int* reject, int* update);
  int checkTimeAnswer() { return budget() ? in_.pick(4) == 0 : 0; }
  int nodeAnswer() { return budget() ? in_.pick(4) == 0 : 0; }

 private:
  // ---- checks --------------------------------------------------------------------------

  // Every failure leaves a last error that names the function, on the problem given (NULL: the
  // library's own error, where calls on handles that are no problem leave theirs). The readers
  // of last errors themselves report through their buffers and are not checked.
  int call(const char* function, int rc, XPRSprob prob = nullptr, bool refused = false) {
    trace(function, rc);
    if (refused && rc == 0) violated("a destroyed or unknown handle was accepted", function);
    if (rc == 0) return rc;
    char buffer[XPRS_MAXMESSAGELENGTH];
    buffer[0] = '\0';
    XPRSgetlasterror(prob, buffer);
    expectNamed(function, buffer);
    return rc;
  }

  int callPool(const char* function, int rc, XPRSmipsolpool msp, bool refused) {
    trace(function, rc);
    if (refused && rc == 0) violated("a destroyed or unknown pool was accepted", function);
    if (rc == 0) return rc;
    char buffer[XPRS_MAXMESSAGELENGTH];
    buffer[0] = '\0';
    XPRS_msp_getlasterror(msp, nullptr, buffer, sizeof buffer, nullptr);
    expectNamed(function, buffer);
    return rc;
  }

  int callEnum(const char* function, int rc, XPRSmipsolenum mse, bool refused) {
    trace(function, rc);
    if (refused && rc == 0) violated("a destroyed or unknown enumerator was accepted", function);
    if (rc == 0) return rc;
    char buffer[XPRS_MAXMESSAGELENGTH];
    buffer[0] = '\0';
    XPRS_mse_getlasterror(mse, nullptr, buffer, sizeof buffer, nullptr);
    expectNamed(function, buffer);
    return rc;
  }

  // With XPRS_FUZZ_TRACE set, every checked call and its result go to standard error, and each
  // problem is described there before it is optimised.
  static bool tracing() {
    static const bool on = std::getenv("XPRS_FUZZ_TRACE") != nullptr;
    return on;
  }
  // In trace mode: the problem about to be optimised, as the library holds it.
  void dump(XPRSprob p, const char* flags) {
    const xprs::standin::ProblemRecord* rec = xprs_standin_hook_access()->problem(p);
    if (rec == nullptr) return;
    const auto& m = rec->model;
    std::fprintf(stderr, "model: %d cols %d rows sense %d flags '%s'\n", m.cols(), m.rows(),
                 m.sense, flags ? flags : "(null)");
    for (int j = 0; j < m.cols(); ++j) {
      const auto u = static_cast<std::size_t>(j);
      std::fprintf(stderr, " col %d %c [%.17g, %.17g] limit %.17g\n", j, m.colType[u], m.colLb[u],
                   m.colUb[u], m.colLimit[u]);
    }
    for (int i = 0; i < m.rows(); ++i) {
      const auto u = static_cast<std::size_t>(i);
      std::fprintf(stderr, " row %d %c rhs %.17g rng %.17g\n", i, m.rowType[u], m.rowRhs[u],
                   m.rowRange[u]);
    }
    for (std::size_t k = 0; k < m.elemVal.size(); ++k) {
      std::fprintf(stderr, " a(%d,%d) = %.17g\n", m.elemRow[k], m.elemCol[k], m.elemVal[k]);
    }
    for (const auto& [key, v] : m.objQ) {
      std::fprintf(stderr, " q(%d,%d) = %.17g\n", key.first, key.second, v);
    }
    for (std::size_t o = 0; o < m.objectives.size(); ++o) {
      const auto& obj = m.objectives[o];
      std::fprintf(stderr, " objective %zu rhs %.17g:", o, obj.rhs);
      for (double c : obj.coef) std::fprintf(stderr, " %.17g", c);
      for (const auto& [id, v] : obj.intControls) std::fprintf(stderr, " [%d]=%d", id, v);
      for (const auto& [id, v] : obj.dblControls) std::fprintf(stderr, " [%d]=%.17g", id, v);
      std::fprintf(stderr, "\n");
    }
    for (const auto& [id, v] : rec->intControls) std::fprintf(stderr, " control %d = %d\n", id, v);
    for (const auto& [id, v] : rec->dblControls) {
      std::fprintf(stderr, " control %d = %.17g\n", id, v);
    }
    std::fprintf(stderr, " sets %d formulas %zu qrows %zu\n", m.sets(), m.formulas.size(),
                 m.qRow.size());
  }

  static void trace(const char* function, int rc) {
    if (tracing()) std::fprintf(stderr, "%s -> %d\n", function, rc);
  }

  static void expectNamed(const char* function, const char* text) {
    const std::size_t n = std::strlen(function);
    if (std::strncmp(text, function, n) != 0 || text[n] != ':') {
      violated("a failure left no last error naming the function", function, text);
    }
  }

  // ---- handles -------------------------------------------------------------------------

  Pick<XPRSprob> prob() {
    const int k = in_.byte();
    if (k < 200 && !live_.empty())
      return {live_[static_cast<std::size_t>(k) % live_.size()], false};
    if (k < 230 && !dead_.empty()) return {dead_[static_cast<std::size_t>(k) % dead_.size()], true};
    if (k < 245) return {nullptr, true};
    return {reinterpret_cast<XPRSprob>(static_cast<std::uintptr_t>(0x1000 + k)), true};
  }

  Pick<XPRSmipsolpool> pool() {
    const int k = in_.byte();
    if (k < 200 && !pools_.empty())
      return {pools_[static_cast<std::size_t>(k) % pools_.size()], false};
    if (k < 230 && !deadPools_.empty()) {
      return {deadPools_[static_cast<std::size_t>(k) % deadPools_.size()], true};
    }
    if (k < 245) return {nullptr, true};
    return {reinterpret_cast<XPRSmipsolpool>(static_cast<std::uintptr_t>(0x2000 + k)), true};
  }

  Pick<XPRSmipsolenum> enumerator() {
    const int k = in_.byte();
    if (k < 200 && !enums_.empty())
      return {enums_[static_cast<std::size_t>(k) % enums_.size()], false};
    if (k < 230 && !deadEnums_.empty()) {
      return {deadEnums_[static_cast<std::size_t>(k) % deadEnums_.size()], true};
    }
    if (k < 245) return {nullptr, true};
    return {reinterpret_cast<XPRSmipsolenum>(static_cast<std::uintptr_t>(0x3000 + k)), true};
  }

  // Where a call with the handle leaves its error: on the object, or the library's own error when
  // it is none.
  template <class Handle>
  static Handle at(const Pick<Handle>& h) {
    return h.refused ? nullptr : h.handle;
  }

  // The row and column counts of a problem, 0 when it has none or is no problem.
  int rows(XPRSprob p) {
    int n = 0;
    if (XPRSgetintattrib(p, XPRS_ROWS, &n) != 0) return 0;
    return n;
  }
  int cols(XPRSprob p) {
    int n = 0;
    if (XPRSgetintattrib(p, XPRS_COLS, &n) != 0) return 0;
    return n;
  }
  int sets(XPRSprob p) {
    int n = 0;
    if (XPRSgetintattrib(p, XPRS_SETS, &n) != 0) return 0;
    return n;
  }

  void create() {
    XPRSprob p = nullptr;
    if (call("XPRScreateprob", XPRScreateprob(in_.pick(16) == 0 ? nullptr : &p)) == 0) {
      live_.push_back(p);
      XPRSsetintcontrol(p, XPRS_OUTPUTLOG, in_.pick(3));
    }
  }

  void forget(XPRSprob p) {
    live_.erase(std::remove(live_.begin(), live_.end(), p), live_.end());
    dead_.push_back(p);
  }

  // ---- arguments -----------------------------------------------------------------------

  template <class T>
  T* maybe(std::vector<T>& v) {
    return in_.pick(12) == 0 ? nullptr : v.data();
  }

  std::vector<double> values(int n) {
    std::vector<double> v(static_cast<std::size_t>(std::max(n, 0)));
    for (double& x : v) x = in_.value();
    return v;
  }

  std::vector<int> indices(int n, int range) {
    std::vector<int> v(static_cast<std::size_t>(std::max(n, 0)));
    for (int& x : v) x = in_.index(range);
    return v;
  }

  // Start offsets of n blocks within ncoefs entries: usually consistent, sometimes not.
  std::vector<XPRSint64> starts(int n, XPRSint64 ncoefs) {
    std::vector<XPRSint64> v(static_cast<std::size_t>(std::max(n, 0)));
    XPRSint64 at = 0;
    for (XPRSint64& s : v) {
      if (in_.pick(16) == 0) {
        s = in_.integer();
      } else {
        at = std::min<XPRSint64>(ncoefs, at + in_.pick(3));
        s = at;
      }
    }
    if (!v.empty() && in_.pick(4) != 0) v.front() = 0;
    return v;
  }

  std::vector<char> letters(int n, const char* alphabet) {
    std::vector<char> v(static_cast<std::size_t>(std::max(n, 0)));
    for (char& c : v) c = in_.letter(alphabet);
    return v;
  }

  // An output array for first..last, or a one-entry array when that range cannot be valid.
  template <class T>
  static std::vector<T> outArray(int first, int last) {
    const long long n = static_cast<long long>(last) - first + 1;
    return std::vector<T>(static_cast<std::size_t>(n >= 1 && n <= kMaxArray ? n : 1));
  }

  const char* flags(std::string& storage, const char* alphabet) {
    const int k = in_.pick(8);
    if (k == 0) return nullptr;
    storage.clear();
    for (int i = in_.pick(4); i > 0; --i) storage += in_.letter(alphabet);
    return storage.c_str();
  }

  const char* fileName() {
    static const char* kNames[] = {"fz", "fz.mps", "fz.lp", "", "fz.xtm", "missing.xtm", nullptr};
    return kNames[in_.pick(7)];
  }

  int control() {
    static constexpr int kControls[] = {XPRS_LPITERLIMIT,
                                        XPRS_PRESOLVE,
                                        XPRS_MAXNODE,
                                        XPRS_MAXTIME,
                                        XPRS_MAXMIPSOL,
                                        XPRS_DEFAULTALG,
                                        XPRS_OUTPUTLOG,
                                        XPRS_CROSSOVER,
                                        XPRS_BARITERLIMIT,
                                        XPRS_THREADS,
                                        XPRS_MIPTHREADS,
                                        XPRS_FEASTOL,
                                        XPRS_OPTIMALITYTOL,
                                        XPRS_MIPTOL,
                                        XPRS_MIPADDCUTOFF,
                                        XPRS_MIPABSCUTOFF,
                                        XPRS_MIPRELSTOP,
                                        XPRS_MIPABSSTOP,
                                        XPRS_TIMELIMIT,
                                        XPRS_OUTPUTMASK,
                                        XPRS_TUNERMETHODFILE,
                                        XPRS_CALLBACKCHECKTIMEDELAY,
                                        XPRS_MULTIOBJOPS,
                                        XPRS_SCALING,
                                        XPRS_TUNERMAXTIME,
                                        12364,
                                        12417,
                                        XPRS_MIPPRESOLVE,
                                        XPRS_HEUREMPHASIS};
    const int k = in_.byte();
    if (k < 200) return kControls[k % std::size(kControls)];
    if (k < 230) return 6000 + in_.pick(256) * 12;  // ids of every typed range and beyond
    return in_.integer();
  }

  int attribute() {
    static constexpr int kAttribs[] = {XPRS_ROWS,
                                       XPRS_SETS,
                                       XPRS_ELEMS,
                                       XPRS_LPSTATUS,
                                       XPRS_MIPSTATUS,
                                       XPRS_NODES,
                                       XPRS_MIPSOLS,
                                       XPRS_COLS,
                                       XPRS_ERRORCODE,
                                       XPRS_ALGORITHM,
                                       XPRS_SOLSTATUS,
                                       XPRS_STOPSTATUS,
                                       XPRS_OPTIMIZETYPEUSED,
                                       XPRS_SOLVESTATUS,
                                       XPRS_OBJECTIVES,
                                       XPRS_TIME,
                                       XPRS_LPOBJVAL,
                                       XPRS_MIPOBJVAL,
                                       XPRS_BESTBOUND,
                                       XPRS_OBJVAL,
                                       XPRS_BARITER,
                                       XPRS_QELEMS,
                                       XPRS_NAMELENGTH,
                                       XPRS_NLPSTOPSTATUS,
                                       XPRS_CURRENTNODE,
                                       XPRS_SUMPRIMALINF,
                                       XPRS_OBJRHS};
    const int k = in_.byte();
    if (k < 220) return kAttribs[k % std::size(kAttribs)];
    if (k < 240) return 1000 + in_.pick(256) * 16;
    return in_.integer();
  }

  // A run may start: at most kMaxRuns per input, each under a time limit of kRunSeconds, so that
  // only an engine that ignores the limit makes an input slow.
  bool mayRun(const Pick<XPRSprob>& p) {
    if (runs_ >= kMaxRuns) return false;
    ++runs_;
    if (!p.refused) {
      XPRSsetdblcontrol(p.handle, XPRS_TIMELIMIT, kRunSeconds);
      XPRSsetdblcontrol(p.handle, XPRS_TUNERMAXTIME, kRunSeconds);
    }
    return true;
  }

  bool budget() {
    if (callbackCalls_ >= kCallbackBudget) return false;
    ++callbackCalls_;
    return true;
  }

  // ---- one call ------------------------------------------------------------------------

  void step(int op);
  void modelCall(int which);
  void controlCall(int which);
  void solveCall(int which);
  void resultCall(int which);
  void poolCall(int which);
  void enumCall(int which);
  void finish();

  Input& in_;
  CallbackData data_;
  std::vector<XPRSprob> live_, dead_;
  std::vector<XPRSmipsolpool> pools_, deadPools_;
  std::vector<XPRSmipsolenum> enums_, deadEnums_;
  int inits_ = 0;
  int callbackCalls_ = 0;
  int runs_ = 0;
  int depth_ = 0;  // nested runs started from callbacks
  std::string scratch_;
};

// ---- callbacks ---------------------------------------------------------------------------

extern "C" void XPRS_CC onMessage(XPRSprob cb, void* data, const char* msg, int len, int) {
  static_cast<CallbackData*>(data)->session->message(cb, msg, len);
}
extern "C" int XPRS_CC onCheckTime(XPRSprob cb, void* data) {
  Session& s = *static_cast<CallbackData*>(data)->session;
  s.reenter(cb);
  return s.checkTimeAnswer();
}
extern "C" void XPRS_CC onIntSol(XPRSprob cb, void* data) {
  static_cast<CallbackData*>(data)->session->reenter(cb);
}
extern "C" void XPRS_CC onOptNode(XPRSprob cb, void* data, int* infeasible) {
  Session& s = *static_cast<CallbackData*>(data)->session;
  s.reenter(cb);
  if (infeasible) *infeasible = s.nodeAnswer();
}
extern "C" int XPRS_CC onObjectMessage(XPRSobject, void* data, void*, const char* msg, int type,
                                       int) {
  static_cast<CallbackData*>(data)->session->objectMessage(msg, type);
  return 0;
}
extern "C" int XPRS_CC onSolution(XPRSmipsolenum, XPRSprob prob, XPRSmipsolpool, void* data,
                                  int* nMaxSols, const double* x, int nCols, double,
                                  double* modified, int* reject, int* update) {
  return static_cast<CallbackData*>(data)->session->enumeratedSolution(prob, nMaxSols, x, nCols,
                                                                       modified, reject, update);
}

void Session::message(XPRSprob cb, const char* msg, int len) {
  if (msg == nullptr || len < 0 || std::strlen(msg) != static_cast<std::size_t>(len) ||
      len >= XPRS_MAXMESSAGELENGTH) {
    violated("a message does not match its length", "message callback");
  }
  reenter(cb);
}

void Session::objectMessage(const char* msg, int type) {
  if (msg == nullptr && type >= 0) violated("a message without text", "object message handler");
  if (msg != nullptr && std::strlen(msg) >= 65536) violated("an endless message", "handler");
}

int Session::enumeratedSolution(XPRSprob prob, int* nMaxSols, const double* x, int nCols,
                                double* modified, int* reject, int* update) {
  // nMaxSols is what the caller of XPRS_mse_opt passed, NULL included.
  if (modified == nullptr || reject == nullptr || update == nullptr ||
      (nCols > 0 && x == nullptr)) {
    violated("the solution handler got a NULL argument", "XPRS_mse_opt");
  }
  double sum = 0;
  for (int j = 0; j < nCols; ++j) sum += x[j];  // reads every value handed over
  (void)sum;
  reenter(prob);
  if (!budget()) return 0;
  const int k = in_.pick(8);
  if (k == 1) *reject = 1;
  if (k == 2) *update = 1;
  if (k == 3) *modified = in_.value();
  if (k == 4 && nMaxSols != nullptr) *nMaxSols = in_.integer();
  return k == 5 ? 1 : 0;
}

// What a callback does inside a run: reads, interrupts, and calls that must be refused.
void Session::reenter(XPRSprob cb) {
  if (!budget()) return;
  const int k = in_.pick(12);
  int n = 0;
  double v = 0;
  switch (k) {
    case 0:
      call("XPRSinterrupt", XPRSinterrupt(cb, in_.pick(3) == 0 ? in_.integer() : XPRS_STOP_USER),
           cb);
      break;
    case 1:
      call("XPRSgetintattrib", XPRSgetintattrib(cb, attribute(), &n), cb);
      call("XPRSgetdblattrib", XPRSgetdblattrib(cb, attribute(), &v), cb);
      break;
    case 2: {
      const int c = cols(cb);
      if (c > 0) {
        std::vector<double> x(static_cast<std::size_t>(c));
        int status = 0;
        call("XPRSgetsolution", XPRSgetsolution(cb, &status, x.data(), 0, c - 1), cb);
      }
      break;
    }
    case 3:
      call("XPRSaddcols64",
           XPRSaddcols64(cb, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), cb);
      break;
    case 4:
      call("XPRSdestroyprob", XPRSdestroyprob(cb), cb);
      break;
    case 5:
      call("XPRSoptimize", XPRSoptimize(cb, "", nullptr, nullptr), cb);
      break;
    case 6: {
      // Another problem, possibly the one being solved.
      if (depth_ > 0) break;
      ++depth_;
      step(in_.byte());
      --depth_;
      break;
    }
    case 7: {
      char buffer[XPRS_MAXMESSAGELENGTH];
      XPRSgetlasterror(cb, buffer);
      break;
    }
    case 8:
      call("XPRSsetintcontrol", XPRSsetintcontrol(cb, control(), in_.integer()), cb);
      break;
    default:
      break;
  }
}

// ---- the operations --------------------------------------------------------------------

void Session::step(int op) {
  switch (op % 8) {
    case 0:
    case 1:
      modelCall(in_.byte());
      break;
    case 2:
      controlCall(in_.byte());
      break;
    case 3:
    case 4:
      solveCall(in_.byte());
      break;
    case 5:
      resultCall(in_.byte());
      break;
    case 6:
      poolCall(in_.byte());
      break;
    default:
      enumCall(in_.byte());
      break;
  }
}

void Session::modelCall(int which) {
  const Pick<XPRSprob> p = prob();
  const int nr = rows(p.handle);
  const int nc = cols(p.handle);
  switch (which % 22) {
    case 0: {
      const int n = in_.count(6);
      const auto ncoefs = static_cast<XPRSint64>(in_.count(12));
      std::vector<double> obj = values(n);
      std::vector<XPRSint64> start = starts(n, ncoefs);
      std::vector<int> rowind = indices(static_cast<int>(ncoefs), nr);
      std::vector<double> coef = values(static_cast<int>(ncoefs));
      std::vector<double> lb = values(n);
      std::vector<double> ub = values(n);
      call("XPRSaddcols64",
           XPRSaddcols64(p.handle, n, ncoefs, maybe(obj), maybe(start), maybe(rowind), maybe(coef),
                         maybe(lb), maybe(ub)),
           at(p), p.refused);
      break;
    }
    case 1: {
      const int n = in_.count(6);
      const auto ncoefs = static_cast<XPRSint64>(in_.count(12));
      std::vector<char> type = letters(n, "LGERNLGE");
      std::vector<double> rhs = values(n);
      std::vector<double> rng = values(n);
      std::vector<XPRSint64> start = starts(n, ncoefs);
      std::vector<int> colind = indices(static_cast<int>(ncoefs), nc);
      std::vector<double> coef = values(static_cast<int>(ncoefs));
      call("XPRSaddrows64",
           XPRSaddrows64(p.handle, n, ncoefs, maybe(type), maybe(rhs), maybe(rng), maybe(start),
                         maybe(colind), maybe(coef)),
           at(p), p.refused);
      break;
    }
    case 2: {
      const int n = in_.count(6);
      std::vector<int> c1 = indices(n, nc);
      std::vector<int> c2 = indices(n, nc);
      // Mostly diagonal and positive: convex models get solved.
      std::vector<double> q(static_cast<std::size_t>(std::max(n, 0)));
      for (std::size_t k = 0; k < q.size(); ++k) {
        if (in_.flag()) c2[k] = c1[k];
        q[k] = in_.flag() ? std::fabs(in_.value()) : in_.value();
      }
      call("XPRSchgmqobj64", XPRSchgmqobj64(p.handle, n, maybe(c1), maybe(c2), maybe(q)), at(p),
           p.refused);
      break;
    }
    case 3: {
      const int n = in_.count(4);
      std::vector<int> c1 = indices(n, nc);
      std::vector<int> c2 = indices(n, nc);
      std::vector<double> q = values(n);
      call("XPRSaddqmatrix64",
           XPRSaddqmatrix64(p.handle, in_.index(nr), n, maybe(c1), maybe(c2), maybe(q)), at(p),
           p.refused);
      break;
    }
    case 4: {
      // Formulas: mostly well formed (x op constant), sometimes any tokens.
      const int n = in_.count(3);
      std::vector<int> row = indices(n, nr);
      std::vector<int> start;
      std::vector<int> type;
      std::vector<double> value;
      for (int f = 0; f < std::max(n, 0); ++f) {
        start.push_back(static_cast<int>(type.size()));
        if (in_.pick(4) == 0) {
          for (int t = in_.pick(6); t > 0; --t) {
            static constexpr int kTokens[] = {
                XPRS_TOK_EOF, XPRS_TOK_CON, XPRS_TOK_COL, XPRS_TOK_FUN, XPRS_TOK_IFUN,
                XPRS_TOK_LB,  XPRS_TOK_RB,  XPRS_TOK_DEL, XPRS_TOK_OP,  99};
            type.push_back(kTokens[in_.pick(10)]);
            value.push_back(in_.pick(4) == 0 ? in_.value() : in_.pick(40));
          }
        } else {
          static constexpr int kOps[] = {XPRS_OP_MULTIPLY, XPRS_OP_PLUS, XPRS_OP_EXPONENT,
                                         XPRS_OP_DIVIDE, XPRS_OP_MINUS};
          type.insert(type.end(), {XPRS_TOK_COL, XPRS_TOK_CON, XPRS_TOK_OP});
          value.insert(value.end(), {static_cast<double>(in_.index(nc)), in_.value(),
                                     static_cast<double>(kOps[in_.pick(5)])});
          if (in_.flag()) {
            static constexpr int kFunctions[] = {XPRS_IFUN_EXP, XPRS_IFUN_LN,  XPRS_IFUN_SQRT,
                                                 XPRS_IFUN_ABS, XPRS_IFUN_SIN, XPRS_IFUN_LOG10};
            // f(expression) in reverse Polish: RB, the argument, the function.
            type.insert(type.begin() + start.back(), XPRS_TOK_RB);
            value.insert(value.begin() + start.back(), 0.0);
            type.push_back(XPRS_TOK_IFUN);
            value.push_back(kFunctions[in_.pick(6)]);
          }
        }
        type.push_back(XPRS_TOK_EOF);
        value.push_back(0.0);
      }
      start.push_back(static_cast<int>(type.size()));
      call("XPRSnlpaddformulas",
           XPRSnlpaddformulas(p.handle, n, maybe(row), maybe(start), in_.pick(5) == 0 ? 0 : 1,
                              maybe(type), maybe(value)),
           at(p), p.refused);
      break;
    }
    case 5: {
      const int n = in_.count(3);
      const auto nelems = static_cast<XPRSint64>(in_.count(8));
      std::vector<char> type = letters(n, "1212");
      std::vector<XPRSint64> start = starts(n, nelems);
      std::vector<int> colind = indices(static_cast<int>(nelems), nc);
      std::vector<double> ref(static_cast<std::size_t>(nelems < 0 ? 0 : nelems));
      for (std::size_t k = 0; k < ref.size(); ++k) ref[k] = in_.flag() ? k + 1.0 : in_.value();
      call("XPRSaddsets64",
           XPRSaddsets64(p.handle, n, nelems, maybe(type), maybe(start), maybe(colind), maybe(ref)),
           at(p), p.refused);
      break;
    }
    case 6: {
      const int n = in_.count(3);
      std::vector<int> row = indices(n, nr);
      std::vector<int> col = indices(n, nc);
      std::vector<int> complement(static_cast<std::size_t>(std::max(n, 0)));
      for (int& c : complement) c = in_.pick(8) == 0 ? in_.integer() : in_.pick(3) - 1;
      call("XPRSsetindicators",
           XPRSsetindicators(p.handle, n, maybe(row), maybe(col), maybe(complement)), at(p),
           p.refused);
      break;
    }
    case 7: {
      static constexpr int kTypes[] = {
          XPRS_NAMES_ROW, XPRS_NAMES_COLUMN, XPRS_NAMES_SET, XPRS_NAMES_OBJECTIVE, 4, 0};
      const int type = kTypes[in_.pick(6)];
      const int first = in_.index(std::max(nr, nc));
      const int last = in_.flag() ? after(first, in_.pick(4)) : in_.index(std::max(nr, nc));
      const long long n = static_cast<long long>(last) - first + 1;
      std::string names;
      for (long long i = 0; i < (n >= 1 && n <= kMaxArray ? n : 1); ++i) {
        names += in_.text(12, false);
        names += '\0';
      }
      call("XPRSaddnames",
           XPRSaddnames(p.handle, type, in_.pick(12) == 0 ? nullptr : names.data(), first, last),
           at(p), p.refused);
      break;
    }
    case 8: {
      const int n = in_.count(4);
      std::vector<int> col = indices(n, nc);
      std::vector<char> type = letters(n, "CIBSRPIBC");
      call("XPRSchgcoltype", XPRSchgcoltype(p.handle, n, maybe(col), maybe(type)), at(p),
           p.refused);
      break;
    }
    case 9: {
      const int n = in_.count(3);
      std::vector<int> col = indices(n, nc);
      std::vector<double> limit = values(n);
      call("XPRSchgglblimit", XPRSchgglblimit(p.handle, n, maybe(col), maybe(limit)), at(p),
           p.refused);
      break;
    }
    case 10: {
      const int n = in_.count(4);
      std::vector<int> col = indices(n, nc);
      std::vector<double> coef = values(n);
      call("XPRSchgobj", XPRSchgobj(p.handle, n, maybe(col), maybe(coef)), at(p), p.refused);
      break;
    }
    case 11: {
      const int n = in_.count(4);
      const int objidx = in_.flag() ? in_.pick(3) : in_.integer();
      std::vector<int> col = indices(n, nc);
      std::vector<double> coef = values(n);
      call("XPRSchgobjn", XPRSchgobjn(p.handle, objidx, n, maybe(col), maybe(coef)), at(p),
           p.refused);
      break;
    }
    case 12: {
      const int n = in_.count(4);
      std::vector<int> col = indices(n, nc);
      std::vector<double> coef = values(n);
      call("XPRSaddobj",
           XPRSaddobj(p.handle, n, maybe(col), maybe(coef), in_.integer(), in_.value()), at(p),
           p.refused);
      break;
    }
    case 13:
      call("XPRSchgobjsense",
           XPRSchgobjsense(p.handle, in_.flag() ? (in_.flag() ? 1 : -1) : in_.integer()), at(p),
           p.refused);
      break;
    case 14: {
      const int n = in_.count(4);
      std::vector<int> col = indices(n, nc);
      std::vector<char> type = letters(n, "ULBULB");
      std::vector<double> bound = values(n);
      call("XPRSchgbounds", XPRSchgbounds(p.handle, n, maybe(col), maybe(type), maybe(bound)),
           at(p), p.refused);
      break;
    }
    case 15: {
      const int first = in_.index(nr);
      const int last = in_.flag() ? after(first, in_.pick(3)) : in_.index(nr);
      std::vector<char> out = outArray<char>(first, last);
      call("XPRSgetrowtype", XPRSgetrowtype(p.handle, maybe(out), first, last), at(p), p.refused);
      break;
    }
    case 16: {
      const Pick<XPRSprob> src = prob();
      const std::string name = in_.text(8, true);
      call("XPRScopyprob",
           XPRScopyprob(p.handle, src.handle, in_.pick(4) == 0 ? nullptr : name.c_str()), at(p),
           p.refused || src.refused);
      break;
    }
    case 17: {
      const Pick<XPRSprob> src = prob();
      call("XPRScopycallbacks", XPRScopycallbacks(p.handle, src.handle), at(p),
           p.refused || src.refused);
      break;
    }
    case 18: {
      const std::string name = in_.text(12, true);
      call("XPRSsetprobname", XPRSsetprobname(p.handle, in_.pick(12) == 0 ? nullptr : name.c_str()),
           at(p), p.refused);
      break;
    }
    case 19: {
      std::vector<char> name(1025);
      call("XPRSgetprobname", XPRSgetprobname(p.handle, maybe(name)), at(p), p.refused);
      break;
    }
    case 20:
      if (live_.size() < 6) create();
      break;
    default:
      if (call("XPRSdestroyprob", XPRSdestroyprob(p.handle), at(p), p.refused) == 0) {
        forget(p.handle);
      }
      break;
  }
}

void Session::controlCall(int which) {
  const Pick<XPRSprob> p = prob();
  int n = 0;
  double v = 0;
  switch (which % 16) {
    case 0:
      call("XPRSgetintcontrol", XPRSgetintcontrol(p.handle, control(), in_.flag() ? &n : nullptr),
           at(p), p.refused);
      break;
    case 1: {
      const int id = control();
      // Limits on work stay small: a long run is the engine's fault only without them.
      int value = in_.integer();
      if (id == XPRS_THREADS || id == XPRS_MIPTHREADS) value = std::min(value, 4);
      call("XPRSsetintcontrol", XPRSsetintcontrol(p.handle, id, value), at(p), p.refused);
      break;
    }
    case 2:
      call("XPRSgetdblcontrol", XPRSgetdblcontrol(p.handle, control(), in_.flag() ? &v : nullptr),
           at(p), p.refused);
      break;
    case 3: {
      const int id = control();
      const double value = in_.value();
      call("XPRSsetdblcontrol", XPRSsetdblcontrol(p.handle, id, value), at(p), p.refused);
      break;
    }
    case 4: {
      const int maxbytes = in_.count(40);
      std::vector<char> out(static_cast<std::size_t>(std::max(maxbytes, 1)));
      call("XPRSgetstringcontrol",
           XPRSgetstringcontrol(p.handle, control(), in_.flag() ? out.data() : nullptr, maxbytes,
                                in_.flag() ? &n : nullptr),
           at(p), p.refused);
      break;
    }
    case 5: {
      std::vector<char> out(kMaxArray);
      call("XPRSgetstrcontrol", XPRSgetstrcontrol(p.handle, control(), maybe(out)), at(p),
           p.refused);
      break;
    }
    case 6: {
      const std::string text = in_.text(40, false);
      call("XPRSsetstrcontrol",
           XPRSsetstrcontrol(p.handle, control(), in_.pick(10) == 0 ? nullptr : text.c_str()),
           at(p), p.refused);
      break;
    }
    case 7:
      call("XPRSsetdefaultcontrol", XPRSsetdefaultcontrol(p.handle, control()), at(p), p.refused);
      break;
    case 8:
      call("XPRSgetobjintcontrol",
           XPRSgetobjintcontrol(p.handle, in_.index(3), 20000 + in_.pick(7),
                                in_.flag() ? &n : nullptr),
           at(p), p.refused);
      break;
    case 9:
      call("XPRSsetobjintcontrol",
           XPRSsetobjintcontrol(p.handle, in_.index(3), 20000 + in_.pick(7), in_.integer()), at(p),
           p.refused);
      break;
    case 10:
      call("XPRSgetobjdblcontrol",
           XPRSgetobjdblcontrol(p.handle, in_.index(3), 20000 + in_.pick(7),
                                in_.flag() ? &v : nullptr),
           at(p), p.refused);
      break;
    case 11:
      call("XPRSsetobjdblcontrol",
           XPRSsetobjdblcontrol(p.handle, in_.index(3), 20000 + in_.pick(7), in_.value()), at(p),
           p.refused);
      break;
    case 12:
      call("XPRSgetintattrib", XPRSgetintattrib(p.handle, attribute(), in_.flag() ? &n : nullptr),
           at(p), p.refused);
      break;
    case 13:
      call("XPRSgetdblattrib", XPRSgetdblattrib(p.handle, attribute(), in_.flag() ? &v : nullptr),
           at(p), p.refused);
      break;
    case 14: {
      const bool add = in_.flag();
      void* data = in_.pick(6) == 0 ? nullptr : &data_;
      const int priority = in_.integer();
      switch (in_.pick(4)) {
        case 0:
          if (add) {
            call("XPRSaddcbmessage",
                 XPRSaddcbmessage(p.handle, in_.pick(8) == 0 ? nullptr : onMessage, &data_,
                                  priority),
                 at(p), p.refused);
          } else {
            call("XPRSremovecbmessage",
                 XPRSremovecbmessage(p.handle, in_.flag() ? onMessage : nullptr, data), at(p),
                 p.refused);
          }
          break;
        case 1:
          if (add) {
            call("XPRSaddcbchecktime",
                 XPRSaddcbchecktime(p.handle, in_.pick(8) == 0 ? nullptr : onCheckTime, &data_,
                                    priority),
                 at(p), p.refused);
          } else {
            call("XPRSremovecbchecktime",
                 XPRSremovecbchecktime(p.handle, in_.flag() ? onCheckTime : nullptr, data), at(p),
                 p.refused);
          }
          break;
        case 2:
          if (add) {
            call("XPRSaddcbintsol",
                 XPRSaddcbintsol(p.handle, in_.pick(8) == 0 ? nullptr : onIntSol, &data_, priority),
                 at(p), p.refused);
          } else {
            call("XPRSremovecbintsol",
                 XPRSremovecbintsol(p.handle, in_.flag() ? onIntSol : nullptr, data), at(p),
                 p.refused);
          }
          break;
        default:
          if (add) {
            call("XPRSaddcboptnode",
                 XPRSaddcboptnode(p.handle, in_.pick(8) == 0 ? nullptr : onOptNode, &data_,
                                  priority),
                 at(p), p.refused);
          } else {
            call("XPRSremovecboptnode",
                 XPRSremovecboptnode(p.handle, in_.flag() ? onOptNode : nullptr, data), at(p),
                 p.refused);
          }
          break;
      }
      break;
    }
    default: {
      // The library's own life cycle, kept balanced by finish().
      const int k = in_.pick(6);
      if (k == 0) {
        if (call("XPRSinit", XPRSinit(in_.flag() ? nullptr : ".")) == 0) ++inits_;
      } else if (k == 1) {
        if (call("XPRSfree", XPRSfree()) == 0) --inits_;
      } else {
        std::vector<char> out(static_cast<std::size_t>(std::max(1, in_.count(600))));
        XPRSgetlicerrmsg(in_.flag() ? out.data() : nullptr, static_cast<int>(out.size()));
      }
      break;
    }
  }
}

void Session::solveCall(int which) {
  const Pick<XPRSprob> p = prob();
  const int nr = rows(p.handle);
  const int nc = cols(p.handle);
  switch (which % 14) {
    case 0:
    case 1:
    case 2: {
      if (!mayRun(p)) break;
      int solve = 0;
      int sol = 0;
      const char* f = flags(scratch_, "dpbnlxs");
      if (tracing()) dump(p.handle, f);
      call("XPRSoptimize",
           XPRSoptimize(p.handle, f, in_.flag() ? &solve : nullptr, in_.flag() ? &sol : nullptr),
           at(p), p.refused);
      break;
    }
    case 3:
      if (!mayRun(p)) break;
      call("XPRStune", XPRStune(p.handle, flags(scratch_, "dpbnlxs")), at(p), p.refused);
      break;
    case 4:
      if (in_.flag()) {
        call("XPRStunerwritemethod", XPRStunerwritemethod(p.handle, fileName()), at(p), p.refused);
      } else {
        call("XPRStunerreadmethod", XPRStunerreadmethod(p.handle, fileName()), at(p), p.refused);
      }
      break;
    case 5:
      call("XPRSinterrupt", XPRSinterrupt(p.handle, in_.flag() ? in_.pick(16) : in_.integer()),
           at(p), p.refused);
      break;
    case 6:
      call("XPRSfixmipentities", XPRSfixmipentities(p.handle, in_.index(4)), at(p), p.refused);
      break;
    case 7: {
      std::vector<int> rowstat(static_cast<std::size_t>(std::max(nr, 1)));
      std::vector<int> colstat(static_cast<std::size_t>(std::max(nc, 1)));
      for (int& s : rowstat) s = in_.pick(10) == 0 ? in_.integer() : in_.pick(4);
      for (int& s : colstat) s = in_.pick(10) == 0 ? in_.integer() : in_.pick(4);
      call("XPRSloadbasis", XPRSloadbasis(p.handle, maybe(rowstat), maybe(colstat)), at(p),
           p.refused);
      break;
    }
    case 8: {
      const bool dense = in_.flag();
      const int n = dense ? (in_.flag() ? nc : in_.count(nc + 1)) : in_.count(6);
      std::vector<double> x = values(n);
      std::vector<int> col = indices(n, nc);
      const std::string name = in_.text(6, false);
      call("XPRSaddmipsol",
           XPRSaddmipsol(p.handle, n, maybe(x), dense ? nullptr : col.data(),
                         in_.flag() ? nullptr : name.c_str()),
           at(p), p.refused);
      break;
    }
    case 9: {
      const int n = in_.count(4);
      std::vector<int> col(static_cast<std::size_t>(std::max(n, 0)));
      for (int& c : col) c = in_.flag() ? in_.index(nc) : -1 - in_.index(sets(p.handle));
      std::vector<int> priority(col.size());
      for (int& q : priority) q = in_.pick(8) == 0 ? in_.integer() : in_.pick(1001);
      std::vector<char> dir = letters(n, "UDNUDN");
      std::vector<double> up = values(n);
      std::vector<double> down = values(n);
      call("XPRSloaddirs",
           XPRSloaddirs(p.handle, n, maybe(col), maybe(priority), maybe(dir), maybe(up),
                        maybe(down)),
           at(p), p.refused);
      break;
    }
    case 10: {
      const int n = in_.count(4);
      std::vector<int> col = indices(n, nc);
      std::vector<double> x = values(n);
      call("XPRSnlpsetinitval", XPRSnlpsetinitval(p.handle, n, maybe(col), maybe(x)), at(p),
           p.refused);
      break;
    }
    case 11: {
      const std::string text = in_.text(10, false);
      call("XPRSmsaddpreset",
           XPRSmsaddpreset(p.handle, in_.flag() ? nullptr : text.c_str(), in_.index(7),
                           in_.integer(), nullptr),
           at(p), p.refused);
      break;
    }
    case 12: {
      std::string storage;
      const char* name = fileName();
      switch (in_.pick(4)) {
        case 0:
          call("XPRSwriteprob", XPRSwriteprob(p.handle, name, flags(storage, "lsponvxz")), at(p),
               p.refused);
          break;
        case 1:
          call("XPRSwritebasis", XPRSwritebasis(p.handle, name, flags(storage, "itnhxpv")), at(p),
               p.refused);
          break;
        case 2:
          call("XPRSwriteprtsol", XPRSwriteprtsol(p.handle, name, flags(storage, "xvq")), at(p),
               p.refused);
          break;
        default:
          call("XPRSsave", XPRSsave(p.handle), at(p), p.refused);
          break;
      }
      break;
    }
    default:
      break;
  }
}

void Session::resultCall(int which) {
  const Pick<XPRSprob> p = prob();
  const int nr = rows(p.handle);
  const int nc = cols(p.handle);
  int status = 0;
  switch (which % 8) {
    case 0:
    case 1:
    case 2:
    case 3: {
      static constexpr const char* kNames[] = {"XPRSgetsolution", "XPRSgetslacks", "XPRSgetduals",
                                               "XPRSgetredcosts"};
      using Reader = int (*)(XPRSprob, int*, double*, int, int);
      static constexpr Reader kReaders[] = {XPRSgetsolution, XPRSgetslacks, XPRSgetduals,
                                            XPRSgetredcosts};
      const int k = which % 4;
      const int n = k == 1 || k == 2 ? nr : nc;
      const int first = in_.index(n);
      const int last = in_.flag() ? n - 1 : in_.index(n);
      std::vector<double> out = outArray<double>(first, last);
      call(kNames[k],
           kReaders[k](p.handle, in_.flag() ? &status : nullptr, maybe(out), first, last), at(p),
           p.refused);
      break;
    }
    case 4: {
      std::vector<int> rowstat(static_cast<std::size_t>(std::max(nr, 1)));
      std::vector<int> colstat(static_cast<std::size_t>(std::max(nc, 1)));
      call("XPRSgetbasis", XPRSgetbasis(p.handle, maybe(rowstat), maybe(colstat)), at(p),
           p.refused);
      break;
    }
    case 5: {
      int r = 0;
      int c = 0;
      call("XPRSgetbasisval",
           XPRSgetbasisval(p.handle, in_.index(nr), in_.index(nc), in_.flag() ? &r : nullptr,
                           in_.flag() ? &c : nullptr),
           at(p), p.refused);
      break;
    }
    case 6: {
      int counts[4] = {};
      std::vector<int> x(static_cast<std::size_t>(std::max(nc, 1)));
      std::vector<int> slack(static_cast<std::size_t>(std::max(nr, 1)));
      std::vector<int> duals(slack.size());
      std::vector<int> djs(x.size());
      call("XPRSgetscaledinfeas",
           XPRSgetscaledinfeas(p.handle, &counts[0], &counts[1], &counts[2], &counts[3], maybe(x),
                               maybe(slack), maybe(duals), maybe(djs)),
           at(p), p.refused);
      break;
    }
    default: {
      char buffer[XPRS_MAXMESSAGELENGTH];
      const int rc = XPRSgetlasterror(p.handle, in_.pick(10) == 0 ? nullptr : buffer);
      if (p.refused && rc == 0 && p.handle != nullptr) {
        violated("a destroyed or unknown handle was accepted", "XPRSgetlasterror");
      }
      break;
    }
  }
}

void Session::poolCall(int which) {
  const Pick<XPRSmipsolpool> m = pool();
  int n = 0;
  double v = 0;
  switch (which % 14) {
    case 0: {
      XPRSmipsolpool created = nullptr;
      if (pools_.size() < 4 &&
          callPool("XPRS_msp_create", XPRS_msp_create(in_.pick(16) == 0 ? nullptr : &created),
                   nullptr, false) == 0) {
        pools_.push_back(created);
      }
      break;
    }
    case 1:
      if (callPool("XPRS_msp_destroy", XPRS_msp_destroy(m.handle), at(m), m.refused) == 0) {
        pools_.erase(std::remove(pools_.begin(), pools_.end(), m.handle), pools_.end());
        deadPools_.push_back(m.handle);
      }
      break;
    case 2: {
      const Pick<XPRSprob> p = prob();
      callPool("XPRS_msp_probattach", XPRS_msp_probattach(m.handle, p.handle), at(m),
               m.refused || p.refused);
      break;
    }
    case 3: {
      const Pick<XPRSprob> p = prob();
      callPool("XPRS_msp_probdetach", XPRS_msp_probdetach(m.handle, p.handle), at(m),
               m.refused || p.refused);
      break;
    }
    case 4: {
      const Pick<XPRSprob> p = prob();
      const bool rank = in_.flag();
      const int first = in_.index(8);
      const int last = in_.flag() ? after(first, in_.pick(6)) : in_.index(8);
      std::vector<int> ids = outArray<int>(first, last);
      int returned = 0;
      int total = 0;
      callPool("XPRS_msp_getsollist",
               XPRS_msp_getsollist(m.handle, rank ? p.handle : nullptr,
                                   in_.flag() ? XPRS_MSP_SOLPRB_OBJ : in_.pick(3), in_.pick(2),
                                   first, last, maybe(ids), in_.flag() ? &returned : nullptr,
                                   in_.flag() ? &total : nullptr),
               at(m), m.refused || (rank && p.refused && p.handle != nullptr));
      break;
    }
    case 5: {
      const int first = in_.index(8);
      const int last = in_.flag() ? after(first, in_.pick(6)) : in_.index(8);
      std::vector<double> x = outArray<double>(first, last);
      int status = 0;
      int returned = 0;
      callPool("XPRS_msp_getsol",
               XPRS_msp_getsol(m.handle, in_.index(8), in_.flag() ? &status : nullptr, maybe(x),
                               first, last, in_.flag() ? &returned : nullptr),
               at(m), m.refused);
      break;
    }
    case 6: {
      int status = 0;
      callPool("XPRS_msp_delsol",
               XPRS_msp_delsol(m.handle, in_.index(8), in_.flag() ? &status : nullptr), at(m),
               m.refused);
      break;
    }
    case 7:
      callPool("XPRS_msp_setcbmsghandler",
               XPRS_msp_setcbmsghandler(m.handle, in_.flag() ? onObjectMessage : nullptr, &data_),
               at(m), m.refused);
      break;
    case 8: {
      const int bytes = in_.count(40);
      std::vector<char> out(static_cast<std::size_t>(std::max(bytes, 1)));
      int code = 0;
      int length = 0;
      XPRS_msp_getlasterror(m.handle, in_.flag() ? &code : nullptr,
                            in_.flag() ? out.data() : nullptr, bytes,
                            in_.flag() ? &length : nullptr);
      break;
    }
    case 9:
      callPool("XPRS_msp_getintcontrol",
               XPRS_msp_getintcontrol(m.handle, 6200 + in_.pick(16), in_.flag() ? &n : nullptr),
               at(m), m.refused);
      break;
    case 10:
      callPool("XPRS_msp_setintcontrol",
               XPRS_msp_setintcontrol(m.handle, 6200 + in_.pick(16), in_.integer()), at(m),
               m.refused);
      break;
    case 11:
      if (in_.flag()) {
        callPool("XPRS_msp_getdblcontrol",
                 XPRS_msp_getdblcontrol(m.handle, 6200 + in_.pick(16), in_.flag() ? &v : nullptr),
                 at(m), m.refused);
      } else {
        callPool("XPRS_msp_setdblcontrol",
                 XPRS_msp_setdblcontrol(m.handle, 6200 + in_.pick(16), in_.value()), at(m),
                 m.refused);
      }
      break;
    case 12:
      callPool("XPRS_msp_getintattrib",
               XPRS_msp_getintattrib(m.handle, 6200 + in_.pick(16), in_.flag() ? &n : nullptr),
               at(m), m.refused);
      break;
    default:
      callPool("XPRS_msp_getdblattrib",
               XPRS_msp_getdblattrib(m.handle, 6200 + in_.pick(16), in_.flag() ? &v : nullptr),
               at(m), m.refused);
      break;
  }
}

void Session::enumCall(int which) {
  const Pick<XPRSmipsolenum> e = enumerator();
  int n = 0;
  double v = 0;
  switch (which % 12) {
    case 0: {
      XPRSmipsolenum created = nullptr;
      if (enums_.size() < 4 &&
          callEnum("XPRS_mse_create", XPRS_mse_create(in_.pick(16) == 0 ? nullptr : &created),
                   nullptr, false) == 0) {
        enums_.push_back(created);
      }
      break;
    }
    case 1:
      if (callEnum("XPRS_mse_destroy", XPRS_mse_destroy(e.handle), at(e), e.refused) == 0) {
        enums_.erase(std::remove(enums_.begin(), enums_.end(), e.handle), enums_.end());
        deadEnums_.push_back(e.handle);
      }
      break;
    case 2:
    case 3: {
      const Pick<XPRSprob> p = prob();
      const Pick<XPRSmipsolpool> m = pool();
      if (!mayRun(p)) break;
      int maxSols = in_.integer();
      callEnum("XPRS_mse_opt",
               XPRS_mse_opt(e.handle, p.handle, m.handle, in_.flag() ? onSolution : nullptr, &data_,
                            in_.flag() ? &maxSols : nullptr),
               at(e), e.refused || p.refused || (m.refused && m.handle != nullptr));
      break;
    }
    case 4: {
      const int nmax = in_.count(6);
      std::vector<int> ids(static_cast<std::size_t>(std::max(nmax, 1)));
      const int ncols = in_.count(8);
      std::vector<double> x = values(std::max(ncols, 1));
      int count = 0;
      int reject = 0;
      callEnum("XPRS_mse_getcullchoice",
               XPRS_mse_getcullchoice(e.handle, 6600 + in_.pick(8), maybe(ids), nmax,
                                      in_.flag() ? &count : nullptr, in_.value(), maybe(x), ncols,
                                      in_.flag() ? &reject : nullptr),
               at(e), e.refused);
      break;
    }
    case 5:
      callEnum("XPRS_mse_setcbmsghandler",
               XPRS_mse_setcbmsghandler(e.handle, in_.flag() ? onObjectMessage : nullptr, &data_),
               at(e), e.refused);
      break;
    case 6: {
      const int bytes = in_.count(40);
      std::vector<char> out(static_cast<std::size_t>(std::max(bytes, 1)));
      int code = 0;
      int length = 0;
      XPRS_mse_getlasterror(e.handle, in_.flag() ? &code : nullptr,
                            in_.flag() ? out.data() : nullptr, bytes,
                            in_.flag() ? &length : nullptr);
      break;
    }
    case 7:
      callEnum("XPRS_mse_getintcontrol",
               XPRS_mse_getintcontrol(e.handle, 6600 + in_.pick(12), in_.flag() ? &n : nullptr),
               at(e), e.refused);
      break;
    case 8:
      callEnum("XPRS_mse_setintcontrol",
               XPRS_mse_setintcontrol(e.handle, 6600 + in_.pick(12), in_.integer()), at(e),
               e.refused);
      break;
    case 9:
      if (in_.flag()) {
        callEnum("XPRS_mse_getdblcontrol",
                 XPRS_mse_getdblcontrol(e.handle, 6600 + in_.pick(12), in_.flag() ? &v : nullptr),
                 at(e), e.refused);
      } else {
        callEnum("XPRS_mse_setdblcontrol",
                 XPRS_mse_setdblcontrol(e.handle, 6600 + in_.pick(12), in_.value()), at(e),
                 e.refused);
      }
      break;
    case 10:
      callEnum("XPRS_mse_getintattrib",
               XPRS_mse_getintattrib(e.handle, 6600 + in_.pick(12), in_.flag() ? &n : nullptr),
               at(e), e.refused);
      break;
    default:
      callEnum("XPRS_mse_getdblattrib",
               XPRS_mse_getdblattrib(e.handle, 6600 + in_.pick(12), in_.flag() ? &v : nullptr),
               at(e), e.refused);
      break;
  }
}

// Leaves the library as it found it: every object destroyed, every XPRSinit matched.
void Session::finish() {
  for (XPRSmipsolenum e : enums_) {
    if (XPRS_mse_destroy(e) != 0) violated("a live enumerator was refused", "XPRS_mse_destroy");
  }
  for (XPRSmipsolpool m : pools_) {
    if (XPRS_msp_destroy(m) != 0) violated("a live pool was refused", "XPRS_msp_destroy");
  }
  for (XPRSprob p : live_) {
    if (XPRSdestroyprob(p) != 0) violated("a live problem was refused", "XPRSdestroyprob");
  }
  for (; inits_ > 0; --inits_) XPRSfree();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  Session session(in);
  session.run();
  return 0;
}
