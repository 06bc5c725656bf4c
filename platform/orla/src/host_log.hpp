// The log the link installs in the solver: every text goes to the host's log sink as it is
// written, in the framework's default layout ("--- " before info lines, "*** title: " before
// warnings), except errors: those are kept apart, as "error: title: text", for the link to hand
// to the host as messages, so that the host learns why a solve failed whatever the log shows.
#ifndef ORLA_SRC_HOST_LOG_HPP_
#define ORLA_SRC_HOST_LOG_HPP_

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nuv/opt/abstract_log.hpp"

namespace orla::detail {

// Errors the solver logged. They may arrive from the optimizer's threads, and after the run
// that installed the log has ended (the solver keeps its log until it is cleared).
class LoggedErrors {
 public:
  void add(std::string text);
  // The errors logged since the last call, oldest first.
  [[nodiscard]] std::vector<std::string> take();

 private:
  std::mutex mutex_;
  std::vector<std::string> texts_;
};

class HostLog final : public nuv::opt::AbstractLog {
 public:
  HostLog(std::function<void(std::string_view)> sink, std::shared_ptr<LoggedErrors> errors)
      : sink_(std::move(sink)), errors_(std::move(errors)) {}

  void newline() const override;
  void print(std::string_view text) const override;
  void info(std::string_view text) const override;
  void warning(std::string_view title, std::string_view text) const override;
  void error(std::string_view title, std::string_view text) const override;

 private:
  // Writes prefix, "title: " when a title is given, text and, when asked, a line feed. A
  // failure (a sink that throws, no memory) loses the text: the log is called from inside the
  // optimizer, where no exception may pass. `error` loses its text the same way.
  void write(std::string_view prefix, std::string_view title, std::string_view text,
             bool endLine) const noexcept;

  std::function<void(std::string_view)> sink_;
  std::shared_ptr<LoggedErrors> errors_;
};

}  // namespace orla::detail

#endif  // ORLA_SRC_HOST_LOG_HPP_
