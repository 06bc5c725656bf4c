// COIN-OR's log lines (Clp, Cbc, Bonmin) as the run's messages.
#ifndef XPRS_COIN_LOG_HPP_
#define XPRS_COIN_LOG_HPP_

#include <coin/CoinMessageHandler.hpp>

namespace xprs::standin {

class RunContext;

class CoinLog final : public CoinMessageHandler {
 public:
  // How a line gets its message type.
  enum class Typing {
    // Clp and Cbc number their messages by severity: below 3000 information, below 6000
    // warning, errors above.
    ByNumber,
    // Bonmin's lines, its own and those of the Cbc search under it: every line is
    // information, and blank lines are dropped.
    AllInformation,
  };

  CoinLog(RunContext* ctx, Typing typing) : ctx_(ctx), typing_(typing) {}
  CoinLog(const CoinLog&) = default;
  CoinLog& operator=(const CoinLog&) = delete;
  CoinMessageHandler* clone() const override { return new CoinLog(*this); }
  int print() override;

 private:
  RunContext* ctx_;
  Typing typing_;
};

}  // namespace xprs::standin

#endif  // XPRS_COIN_LOG_HPP_
