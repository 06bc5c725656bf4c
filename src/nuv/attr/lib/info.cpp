#include "nuv/attr/lib/info.hpp"

namespace nuv::attr::lib {

template class Info<int>;
template class Info<double>;
template class Info<bool>;
template class Info<std::string>;

}  // namespace nuv::attr::lib
