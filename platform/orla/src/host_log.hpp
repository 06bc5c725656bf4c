// The log the link installs in the solver: every text goes to the host's log sink as it is
// written, in the framework's default layout ("--- " before info lines, "*** title: " before
// warnings and errors).
#ifndef ORLA_SRC_HOST_LOG_HPP_
#define ORLA_SRC_HOST_LOG_HPP_

#include <functional>
#include <string_view>
#include <utility>

#include "nuv/opt/abstract_log.hpp"

namespace orla::detail {

class HostLog final : public nuv::opt::AbstractLog {
 public:
  explicit HostLog(std::function<void(std::string_view)> sink) : sink_(std::move(sink)) {}

  void newline() const override;
  void print(std::string_view text) const override;
  void info(std::string_view text) const override;
  void warning(std::string_view title, std::string_view text) const override;
  void error(std::string_view title, std::string_view text) const override;

 private:
  // Writes prefix, "title: " when a title is given, text and, when asked, a line feed. A
  // failure (a sink that throws, no memory) loses the text: the log is called from inside the
  // optimizer, where no exception may pass.
  void write(std::string_view prefix, std::string_view title, std::string_view text,
             bool endLine) const noexcept;

  std::function<void(std::string_view)> sink_;
};

}  // namespace orla::detail

#endif  // ORLA_SRC_HOST_LOG_HPP_
