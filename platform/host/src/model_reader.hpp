// Reading a model file into the host's model record, through CoinUtils' readers.
//
// MPS files (".mps"): rows with ranges, bounds including semi-continuous ("SC") bounds,
// integer markers, the SOS section, the OBJSENSE section and a quadratic objective in a
// QUADOBJ or QMATRIX section (c'x + 1/2 x'Qx; an entry (i, j) sets Q_ij and Q_ji, so a file
// may list one triangle or both). LP files (".lp"): objectives (two at most), rows, bounds,
// integer and binary sections and the SOS section; CoinUtils does not read semi-continuous
// sections of LP files, so such a file is refused.
#ifndef PLATFORM_HOST_SRC_MODEL_READER_HPP_
#define PLATFORM_HOST_SRC_MODEL_READER_HPP_

#include <string>

#include "orla/vop_rec.hpp"

namespace qelhost {

// Raises std::runtime_error whose text names the file and says what is wrong with it.
[[nodiscard]] vopRec readModel(const std::string& path);

}  // namespace qelhost

#endif  // PLATFORM_HOST_SRC_MODEL_READER_HPP_
