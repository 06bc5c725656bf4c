// Reading a model file into the host's model record: MPS (".mps", see mps_reader.hpp) or LP
// (".lp", see lp_reader.hpp), by the file name's ending.
#ifndef PLATFORM_HOST_SRC_MODEL_READER_HPP_
#define PLATFORM_HOST_SRC_MODEL_READER_HPP_

#include <string>

#include "orla/vop_rec.hpp"

namespace qelhost {

// Raises std::runtime_error whose text names the file, the line and what is wrong.
[[nodiscard]] vopRec readModel(const std::string& path);

}  // namespace qelhost

#endif  // PLATFORM_HOST_SRC_MODEL_READER_HPP_
