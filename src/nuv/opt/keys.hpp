// Tags and integer keys of the model parts and result dictionaries.
//
// A batch reaches an adder as part dictionaries (see variable_container.hpp and
// constraint_container.hpp) selected by a function tag and a domain tag; inside a part, the
// integer key says what a container holds, and item i of every container belongs to the i-th
// entity of the batch. The result dictionaries that a solver hands out use the same domain keys.
//
// Each domain with a result dictionary has a key array: the keys, ascending, over which its
// dictionary base counts and lists what the derived dictionary contains (see
// nuv/opt/lib/abstract_domain_dict.hpp). Keys without a name here carry data that no part of
// this system reads or serves.
#ifndef NUV_OPT_KEYS_HPP_
#define NUV_OPT_KEYS_HPP_

#include <array>
#include <cstdint>

#include "nuv/tag.hpp"
#include "nuv/types.hpp"

namespace nuv::opt {

// The per-variable tagged part of a variable batch, under variable::tag.
namespace variable {
inline constexpr Index name = 0;      // strings
inline constexpr Index priority = 1;  // doubles: branching priority
}  // namespace variable

// The per-constraint tagged part of a constraint or objective batch, under constraint::tag.
namespace constraint {
inline constexpr Index name = 0;  // strings
}  // namespace constraint

// Domain of variables.
namespace interval_domain {
inline constexpr Tag tag = "nuv:interval_domain";
inline constexpr std::array<std::uint8_t, 14> attributes{0, 1, 2, 3,  4,  5,  6,
                                                         7, 8, 9, 10, 11, 12, 13};
inline constexpr Index type = 0;             // integers: 0 continuous, 1 integer,
                                             // 2 semi-continuous, 3 semi-continuous integer
inline constexpr Index lower_bound = 1;      // doubles
inline constexpr Index upper_bound = 2;      // doubles
inline constexpr Index start_level = 3;      // doubles: initial values
inline constexpr Index start_basis = 5;      // integers, in host codes
inline constexpr Index infeasible_mark = 6;  // integers: 1 for a variable reported infeasible
inline constexpr Index level = 7;            // doubles: primal values, one element per solution
inline constexpr Index marginal = 8;         // doubles: reduced costs
inline constexpr Index basis = 9;            // integers: basis status after the solve
}  // namespace interval_domain

// Domain of constraints with bounds.
namespace static_bounded_domain {
inline constexpr Tag tag = "nuv:static_bounded_domain";
inline constexpr std::array<std::uint8_t, 10> attributes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
inline constexpr Index type = 0;             // integers: 0 greater or equal, 1 less or equal,
                                             // 2 equal; indicators: 2 or 3
inline constexpr Index start_basis = 3;      // integers, in host codes
inline constexpr Index infeasible_mark = 4;  // integers: 1 for a constraint reported infeasible
inline constexpr Index slack = 5;            // doubles
inline constexpr Index dual = 6;             // doubles
inline constexpr Index basis = 7;            // integers: basis status after the solve
}  // namespace static_bounded_domain

// Domain of objectives.
namespace sense_domain {
inline constexpr Tag tag = "nuv:sense_domain";
inline constexpr std::array<std::uint8_t, 9> attributes{0, 1, 2, 3, 4, 5, 6, 7, 8};
inline constexpr Index type = 0;                // integers: 0 minimise, 1 maximise
inline constexpr Index weight = 1;              // doubles
inline constexpr Index priority = 2;            // integers
inline constexpr Index absolute_tolerance = 3;  // doubles
inline constexpr Index relative_tolerance = 4;  // doubles
inline constexpr Index objective_value = 5;     // doubles
inline constexpr Index objective_bound = 6;     // doubles
}  // namespace sense_domain

// Domain of special ordered sets.
namespace sos_domain {
inline constexpr Tag tag = "nuv:sos_domain";
inline constexpr Index type = 0;     // integers: 0 a set of type 1, 1 a set of type 2
inline constexpr Index weights = 1;  // vectors: one reference weight per member
}  // namespace sos_domain

// a·x + b over a vector of variables x.
namespace linear_function {
inline constexpr Tag tag = "nuv:linear_function";
inline constexpr Index variables = 0;     // symbols: a vector of variables
inline constexpr Index coefficients = 1;  // vectors over the positions of the variables
inline constexpr Index constant = 3;      // doubles
}  // namespace linear_function

// x'Qx + a·x + b over a vector of variables x.
namespace quadratic_function {
inline constexpr Tag tag = "nuv:quadratic_function";
inline constexpr Index variables = 0;     // symbols: a vector of variables
inline constexpr Index quadratic = 1;     // matrices over the positions of the variables
inline constexpr Index coefficients = 2;  // vectors over the positions of the variables
inline constexpr Index constant = 3;      // doubles
}  // namespace quadratic_function

// An expression used unchanged: a variable, a vector of variables or a whole expression.
namespace identity_function {
inline constexpr Tag tag = "nuv:identity_function";
inline constexpr Index argument = 0;  // symbols
}  // namespace identity_function

// The standard solver attributes, the item dictionary under solver::tag.
namespace solver {
inline constexpr Tag tag = "nuv:solver";
inline constexpr std::array<std::uint8_t, 15> attributes{0, 1, 2,  3,  4,  5,  6, 7,
                                                         8, 9, 10, 11, 12, 13, 14};
inline constexpr Index model_name = 0;
inline constexpr Index solution_status = 2;
inline constexpr Index iteration_limit = 3;
inline constexpr Index iteration_count = 4;
inline constexpr Index node_limit = 5;
inline constexpr Index node_count = 6;
inline constexpr Index time_limit = 7;
inline constexpr Index time_used = 8;
inline constexpr Index thread_count = 9;
inline constexpr Index relative_gap = 11;
inline constexpr Index absolute_gap = 12;
inline constexpr Index cutoff = 13;
}  // namespace solver

}  // namespace nuv::opt

#endif  // NUV_OPT_KEYS_HPP_
