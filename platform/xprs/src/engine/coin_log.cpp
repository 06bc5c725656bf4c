#include "engine/coin_log.hpp"

#include <string>

#include "engine/run_context.hpp"

namespace xprs::standin {

int CoinLog::print() {
  std::string line = messageBuffer();
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (typing_ == Typing::AllInformation) {
    if (!line.empty()) ctx_->message(line, XPRS_MSG_INFO);
    return 0;
  }
  const int number = currentMessage().externalNumber();
  const int type = number < 3000   ? XPRS_MSG_INFO
                   : number < 6000 ? XPRS_MSG_WARNING
                                   : XPRS_MSG_ERROR;
  ctx_->message(line, type);
  return 0;
}

}  // namespace xprs::standin
