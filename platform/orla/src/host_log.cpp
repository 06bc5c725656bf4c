#include "host_log.hpp"

#include <string>

namespace orla::detail {

void LoggedErrors::add(std::string text) {
  const std::lock_guard lock(mutex_);
  texts_.push_back(std::move(text));
}

std::vector<std::string> LoggedErrors::take() {
  const std::lock_guard lock(mutex_);
  return std::exchange(texts_, {});
}

void HostLog::newline() const { write({}, {}, {}, true); }

void HostLog::print(std::string_view text) const { write({}, {}, text, false); }

void HostLog::info(std::string_view text) const { write("--- ", {}, text, true); }

void HostLog::warning(std::string_view title, std::string_view text) const {
  write("*** ", title, text, true);
}

void HostLog::error(std::string_view title, std::string_view text) const {
  try {
    std::string message("error: ");
    if (!title.empty()) message.append(title).append(": ");
    message.append(text);
    errors_->add(std::move(message));
  } catch (...) {  // NOLINT(bugprone-empty-catch): see the declaration of write
  }
}

void HostLog::write(std::string_view prefix, std::string_view title, std::string_view text,
                    bool endLine) const noexcept {
  try {
    std::string line(prefix);
    if (!title.empty()) line.append(title).append(": ");
    line.append(text);
    if (endLine) line.push_back('\n');
    sink_(line);
  } catch (...) {  // NOLINT(bugprone-empty-catch): see the declaration
  }
}

}  // namespace orla::detail
