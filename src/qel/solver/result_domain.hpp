// `qel::ResultDomain<Dict, kFirstKey, kLastKey>`: the shape of the result dictionaries of the
// variables and of the linear constraints.
//
// It holds a weak reference to the solver's record and serves the keys kFirstKey to kLastKey of
// the domain dictionary Dict: `contains` answers from the key alone, so size() is their count
// whatever the model holds. The concrete dictionary supplies `operator[]` for its keys, reading
// the record through `record()`; it gives the empty handle for any other key and once the record
// is gone. Nothing raises. It adds no virtual function to Dict.
//
//   class VarDomain final
//       : public ResultDomain<nuv::opt::lib::interval_domain::AbstractContainerDict,
//                             nuv::opt::interval_domain::start_basis,
//                             nuv::opt::interval_domain::basis> { ... };
#ifndef QEL_SOLVER_RESULT_DOMAIN_HPP_
#define QEL_SOLVER_RESULT_DOMAIN_HPP_

#include <memory>
#include <utility>

#include "nuv/types.hpp"

namespace qel {

class Data;

template <class Dict, nuv::Index kFirstKey, nuv::Index kLastKey>
class ResultDomain : public Dict {
 public:
  // data: the solver's record, which the dictionary does not keep alive.
  explicit ResultDomain(std::weak_ptr<const Data> data) : data_(std::move(data)) {}

  using Dict::contains;
  using Dict::operator[];

  [[nodiscard]] bool contains(nuv::Index key) const final {
    return key >= kFirstKey && key <= kLastKey;
  }

 protected:
  [[nodiscard]] const std::weak_ptr<const Data>& record() const noexcept { return data_; }

 private:
  std::weak_ptr<const Data> data_;
};

}  // namespace qel

#endif  // QEL_SOLVER_RESULT_DOMAIN_HPP_
