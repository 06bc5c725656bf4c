#include "nuv/exception.hpp"

#include <utility>

namespace nuv {

Exception::Exception(std::string_view title, std::string message, std::optional<int> code,
                     std::string_view trace, std::source_location /*location*/)
    : title_(title), message_(std::move(message)), code_(code) {
  if (!trace.empty()) trace_.emplace_front(trace);
}

Exception::Exception(std::string message) : Exception({}, std::move(message), std::nullopt, {}) {}

Exception::~Exception() = default;

void Exception::addTrace(std::string_view entry) {
  if (entry.empty()) return;
  trace_.emplace_front(entry);
  text_.clear();
}

const char* Exception::what() const noexcept {
  if (!text_.empty()) return text_.c_str();
  // Only allocation can fail here; a noexcept what() then terminates, as the standard ones do.
  text_.append(title_);
  if (code_) text_.append(" (").append(std::to_string(*code_)).append(")");
  text_.append(": ").append(message_);
  if (!trace_.empty()) {
    text_.append(" [Trace: ");
    bool first = true;
    for (const std::string& entry : trace_) {
      if (!first) text_.append(" / ");
      text_.append(entry);
      first = false;
    }
    text_.append("]");
  }
  return text_.c_str();
}

CheckException::CheckException(std::string message, Codes code, std::string_view trace,
                               std::source_location location)
    : Exception("Check Error", std::move(message), static_cast<int>(code), trace, location) {}

CheckException CheckException::failedTrue(std::string message, std::string_view trace,
                                          std::source_location location) {
  return {std::move(message), Codes::kTrue, trace, location};
}

CheckException CheckException::failedNotNull(std::string message, std::string_view trace,
                                             std::source_location location) {
  return {std::move(message), Codes::kNotNull, trace, location};
}

CheckException CheckException::failedEqualTo(std::string message, std::string_view trace,
                                             std::source_location location) {
  return {std::move(message), Codes::kEqualTo, trace, location};
}

CheckException CheckException::failedLessOrEqualTo(std::string message, std::string_view trace,
                                                   std::source_location location) {
  return {std::move(message), Codes::kLessOrEqualTo, trace, location};
}

CheckException CheckException::failedGreaterOrEqualTo(std::string message, std::string_view trace,
                                                      std::source_location location) {
  return {std::move(message), Codes::kGreaterOrEqualTo, trace, location};
}

namespace detail {

std::string checkNotNullMessage(std::string_view name) {
  std::string text;
  text.append("'").append(name).append("' must not be null.");
  return text;
}

}  // namespace detail
}  // namespace nuv
