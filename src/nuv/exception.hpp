// The framework's exception family.
//
// Every failure the framework (and the plug-in written against it) detects itself is raised as a
// `nuv::Exception`: a fixed title per kind, an optional integer code, a message composed by the
// raiser and a list of trace entries (newest first). `what()` assembles the text once and caches
// it:
//
//   Check Error (8): 'size' (which is -1) must be greater or equal to 0.
//   Xpress (32): injected [Trace: XPRSaddcols64]
//
// Check exceptions carry the relation that failed as their code; their messages are composed by
// the builders in `nuv::detail` (see check.hpp for the checks that use them).
#ifndef NUV_EXCEPTION_HPP_
#define NUV_EXCEPTION_HPP_

#include <cstdint>
#include <exception>
#include <forward_list>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>

#include "nuv/to_string.hpp"

namespace nuv {

class Exception : public std::exception {
 public:
  // `title` must be a literal of static lifetime. An empty trace entry adds nothing. The source
  // location is accepted for the raiser's convenience and never shown.
  Exception(std::string_view title, std::string message, std::optional<int> code,
            std::string_view trace,
            std::source_location location = std::source_location::current());
  // An exception with no title, code or trace: its text is ": " and the message.
  explicit Exception(std::string message);
  ~Exception() override;

  // Title, " (code)" when a code is present, ": " and the message, then " [Trace: a / b]" when
  // there are trace entries. Built on the first call and cached.
  const char* what() const noexcept override;

  [[nodiscard]] std::string_view title() const noexcept { return title_; }
  [[nodiscard]] const std::string& message() const noexcept { return message_; }
  [[nodiscard]] std::optional<int> code() const noexcept { return code_; }

  // Pushes a trace entry in front of the existing ones. The entry is copied, so text built at run
  // time is safe to pass. Invalidates nothing once `what()` was called: the cache is rebuilt.
  void addTrace(std::string_view entry);

 private:
  std::string_view title_;
  std::string message_;
  std::optional<int> code_;
  std::forward_list<std::string> trace_;
  mutable std::string text_;
};

// A failed precondition ("Check Error"); the code names the relation that did not hold.
class CheckException : public Exception {
 public:
  enum class Codes : std::uint8_t {
    kTrue = 1,
    kNotNull = 3,
    kEqualTo = 4,
    kLessThan = 5,
    kLessOrEqualTo = 6,
    kGreaterThan = 7,
    kGreaterOrEqualTo = 8,
  };

  CheckException(std::string message, Codes code, std::string_view trace,
                 std::source_location location = std::source_location::current());

  static CheckException failedTrue(std::string message, std::string_view trace,
                                   std::source_location location = std::source_location::current());
  static CheckException failedNotNull(
      std::string message, std::string_view trace,
      std::source_location location = std::source_location::current());
  static CheckException failedEqualTo(
      std::string message, std::string_view trace,
      std::source_location location = std::source_location::current());
  static CheckException failedLessOrEqualTo(
      std::string message, std::string_view trace,
      std::source_location location = std::source_location::current());
  static CheckException failedGreaterOrEqualTo(
      std::string message, std::string_view trace,
      std::source_location location = std::source_location::current());
};

namespace detail {

// "'name' (which is value) must be relation 'otherName' (which is other)." or, with an empty
// otherName, "... must be relation other.".
template <class T, class U>
std::string checkCompareMessage(std::string_view name, T value, std::string_view relation, U other,
                                std::string_view otherName) {
  std::string text;
  text.reserve(64);
  text.append("'").append(name).append("' (which is ").append(valueText(value));
  text.append(") must be ").append(relation).append(" ");
  if (!otherName.empty()) {
    text.append("'").append(otherName).append("' (which is ").append(valueText(other));
    text.append(").");
  } else {
    text.append(valueText(other)).append(".");
  }
  return text;
}

// "'name' must not be null."
std::string checkNotNullMessage(std::string_view name);

}  // namespace detail
}  // namespace nuv

#endif  // NUV_EXCEPTION_HPP_
