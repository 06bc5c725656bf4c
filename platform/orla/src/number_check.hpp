// The model record's numbers before anything reaches the solver: a NaN has no meaning in a
// bound, coefficient, constant, start value, weight or tolerance, and would otherwise pass as
// something else (a row whose bound is NaN reads as free and vanishes from the model).
#ifndef ORLA_SRC_NUMBER_CHECK_HPP_
#define ORLA_SRC_NUMBER_CHECK_HPP_

#include "orla/vop_rec.hpp"

namespace orla::detail {

// Raises LinkError naming the first entity that holds a NaN and where it holds it, such as
// "row 'demand' has a NaN upper bound" or "objective 0 has a NaN coefficient on column 'x'".
// Entities without a name are named by their number.
void refuseNaN(const vopRec& model);

}  // namespace orla::detail

#endif  // ORLA_SRC_NUMBER_CHECK_HPP_
