#include "nuv/idx/list.hpp"

#include <utility>

namespace nuv::idx {

List::List() : list_(defaultList()) {}

List::List(std::shared_ptr<const AbstractList> list)
    : list_(list ? std::move(list) : defaultList()) {}

const std::shared_ptr<const AbstractList>& List::defaultList() {
  static const std::shared_ptr<const AbstractList> empty = std::make_shared<EmptyList>();
  return empty;
}

}  // namespace nuv::idx
