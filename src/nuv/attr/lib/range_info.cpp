#include "nuv/attr/lib/range_info.hpp"

namespace nuv::attr::lib {

template class RangeInfo<int>;
template class RangeInfo<double>;

}  // namespace nuv::attr::lib
