#include "qel/adder/data_adder.hpp"

#include <memory>

#include "nuv/opt/support_exception.hpp"
#include "qel/data.hpp"

namespace qel::detail {
namespace {

// A record an adder may load into: alive, and no solve running.
bool loadable(const std::shared_ptr<Data>& data) {
  return data && !(data->prob && data->prob->isSolving());
}

}  // namespace

bool adderActive(const std::weak_ptr<Data>& data) { return loadable(data.lock()); }

std::shared_ptr<Data> lockActive(const std::weak_ptr<Data>& data) {
  std::shared_ptr<Data> locked = data.lock();
  if (!loadable(locked)) throw nuv::opt::SupportException("Adder inactive", {});
  return locked;
}

}  // namespace qel::detail
