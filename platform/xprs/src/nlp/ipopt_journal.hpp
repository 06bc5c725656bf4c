// An Ipopt journal that hands every complete line to the run's message callbacks, so that the
// engines' logs reach the host like the library's own messages.
#ifndef XPRS_IPOPT_JOURNAL_HPP_
#define XPRS_IPOPT_JOURNAL_HPP_

#include <coin/IpJournalist.hpp>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "engine/engine.hpp"

namespace xprs::standin {

class MessageJournal final : public Ipopt::Journal {
 public:
  MessageJournal(RunContext& ctx, Ipopt::EJournalLevel level)
      : Ipopt::Journal("xprs-messages", level), ctx_(ctx) {}

 protected:
  void PrintImpl(Ipopt::EJournalCategory, Ipopt::EJournalLevel, const char* str) override {
    buffer_ += str;
    emitLines();
  }
  void PrintfImpl(Ipopt::EJournalCategory, Ipopt::EJournalLevel, const char* format,
                  va_list ap) override {
    char line[1024];
    std::vsnprintf(line, sizeof line, format, ap);
    buffer_ += line;
    emitLines();
  }
  void FlushBufferImpl() override {}

 private:
  void emitLines() {
    for (std::size_t end = buffer_.find('\n'); end != std::string::npos; end = buffer_.find('\n')) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      if (line.find_first_not_of(' ') != std::string::npos) ctx_.message(line, XPRS_MSG_INFO);
    }
  }

  RunContext& ctx_;
  std::string buffer_;
};

}  // namespace xprs::standin

#endif  // XPRS_IPOPT_JOURNAL_HPP_
