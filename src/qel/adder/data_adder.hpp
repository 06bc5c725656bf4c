// `qel::DataAdder<Interface, kId>`: what the nine adders share, between the framework's adder
// interface and each adder's own `add`.
//
// Every adder holds only a weak reference to the solver's record (and caches nothing), so it may
// outlive the solver: then `active()` is false, `id()` 0 and `add` raises "Support Error: Adder
// inactive", as it does while a solve runs. `add` holds the record's mutex while it loads a batch;
// `active` and `id` take no lock. `id()` reports the record's member kId.
//
//   class VarAdder final
//       : public DataAdder<nuv::opt::AbstractVariableAdder, &Data::varAdderId> {
//    public:
//     using DataAdder::DataAdder;
//     nuv::idx::List add(const nuv::opt::VariableContainer& batch) override;
//   };
//
// The template adds no virtual function and no data but the weak reference: the interface's
// slots stay as they are, `active` and `id` filled here, `add` by the concrete adder, which
// starts it with `lockActive()`.
#ifndef QEL_ADDER_DATA_ADDER_HPP_
#define QEL_ADDER_DATA_ADDER_HPP_

#include <cstdint>
#include <memory>
#include <utility>

#include "qel/data.hpp"

namespace qel {

namespace detail {

// Whether an adder over data can load now: the record lives and no solve runs.
[[nodiscard]] bool adderActive(const std::weak_ptr<Data>& data);
// The record, held for one add; raises nuv::opt::SupportException "Adder inactive" when it is
// gone or a solve runs.
[[nodiscard]] std::shared_ptr<Data> lockActive(const std::weak_ptr<Data>& data);

}  // namespace detail

template <class Interface, const std::uint64_t Data::*kId>
class DataAdder : public Interface {
 public:
  // data: the solver's record, which the adder does not keep alive.
  explicit DataAdder(std::weak_ptr<Data> data) : data_(std::move(data)) {}

  [[nodiscard]] bool active() const final { return detail::adderActive(data_); }
  // The record's id member kId, 0 once the record is gone.
  [[nodiscard]] std::uint64_t id() const final {
    const std::shared_ptr<Data> data = data_.lock();
    return data ? (*data).*kId : 0;
  }

 protected:
  // The record, held for one `add`; raises "Adder inactive" when it is gone or a solve runs.
  [[nodiscard]] std::shared_ptr<Data> lockActive() const { return detail::lockActive(data_); }

 private:
  std::weak_ptr<Data> data_;
};

}  // namespace qel

#endif  // QEL_ADDER_DATA_ADDER_HPP_
