// `nuv::opt::AbstractLog`: where a solver writes its messages.
//
// The class is concrete: its own operations are the default log, plain text on standard output
// without flushing. Info lines read "--- text", warnings and errors "*** title: text" (no "title: "
// when the title is empty). `println` goes through `print` and `newline`, so a log that overrides
// those two changes `println` as well; `info`, `warning` and `error` write directly.
#ifndef NUV_OPT_ABSTRACT_LOG_HPP_
#define NUV_OPT_ABSTRACT_LOG_HPP_

#include <string_view>

namespace nuv::opt {

class AbstractLog {
 public:
  AbstractLog() = default;
  AbstractLog(const AbstractLog&) = delete;
  AbstractLog& operator=(const AbstractLog&) = delete;
  virtual ~AbstractLog() = default;

  virtual void newline() const;
  virtual void print(std::string_view text) const;
  virtual void println(std::string_view text) const;
  virtual void info(std::string_view text) const;
  virtual void warning(std::string_view title, std::string_view text) const;
  virtual void error(std::string_view title, std::string_view text) const;
};

}  // namespace nuv::opt

#endif  // NUV_OPT_ABSTRACT_LOG_HPP_
