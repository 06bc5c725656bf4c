// The solver option tables: a description of every option the plug-in accepts.
//
// Four fixed tables, one per value kind, 761 descriptions in all:
//   int_solver_attribs   352 integer options (RangeInfo<int>)
//   dbl_solver_attribs   180 double options  (RangeInfo<double>)
//   str_solver_attribs     6 string options  (Info<std::string>)
//   bool_solver_attribs  223 single bits of integer controls (Info<bool>)
// Each row gives the option's name, its key (format in option_key.hpp), its default and, for
// integer and double options, its bounds; every row has element count 1, may be set and has no
// documentation object. Names are unique over all tables, also without regard to case, and so are
// keys.
//
// Row positions are part of the contract: integer rows 0 to 10 and string rows 0 and 1 are the
// link options, in this order: advbasis, loadmipsol, rerun, savefile, solnpoolcapacity,
// solnpoolcullrounds, solnpoolpop, solnpoolverbosity, tuner, writeprtsol, xslp_multistartpreset,
// basisout, mpsoutputfile.
//
// The tables are built when the library is loaded (integer, double, string, bit, then the
// expression-function token table) and destroyed in the reverse order when it is unloaded. They
// never change in between, so any thread may read them without a lock, and pointers or
// non-owning views of their rows stay valid for the library's whole life. The rows themselves
// are written down once, in solver_attribs.def.
#ifndef QEL_SOLVER_ATTRIBS_HPP_
#define QEL_SOLVER_ATTRIBS_HPP_

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "nuv/attr/abstract_base_info.hpp"
#include "nuv/attr/lib/info.hpp"
#include "nuv/attr/lib/range_info.hpp"

namespace qel {

inline constexpr std::size_t kIntSolverAttribCount = 352;
inline constexpr std::size_t kDblSolverAttribCount = 180;
inline constexpr std::size_t kStrSolverAttribCount = 6;
inline constexpr std::size_t kBoolSolverAttribCount = 223;
inline constexpr std::size_t kSolverAttribCount =
    kIntSolverAttribCount + kDblSolverAttribCount + kStrSolverAttribCount + kBoolSolverAttribCount;

extern const std::array<nuv::attr::lib::RangeInfo<int>, kIntSolverAttribCount> int_solver_attribs;
extern const std::array<nuv::attr::lib::RangeInfo<double>, kDblSolverAttribCount>
    dbl_solver_attribs;
extern const std::array<nuv::attr::lib::Info<std::string>, kStrSolverAttribCount>
    str_solver_attribs;
extern const std::array<nuv::attr::lib::Info<bool>, kBoolSolverAttribCount> bool_solver_attribs;

// Calls visit(row) for every row of the four tables, in the order integer, double, string, bit
// and in row order within each; row is the typed description (const RangeInfo<int>& and so on).
template <class Visitor>
void forEachSolverAttrib(Visitor&& visit) {
  for (const auto& row : int_solver_attribs) visit(row);
  for (const auto& row : dbl_solver_attribs) visit(row);
  for (const auto& row : str_solver_attribs) visit(row);
  for (const auto& row : bool_solver_attribs) visit(row);
}

// The row whose name equals `name` without regard to (ASCII) case, or null. A linear search,
// meant for listing and occasional look-ups.
[[nodiscard]] const nuv::attr::AbstractBaseInfo* findSolverAttrib(std::string_view name);

// The row whose key is `key`, or null.
[[nodiscard]] const nuv::attr::AbstractBaseInfo* findSolverAttrib(int key);

}  // namespace qel

#endif  // QEL_SOLVER_ATTRIBS_HPP_
