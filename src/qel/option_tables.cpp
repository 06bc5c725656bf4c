// Definitions of the tables that exist from load to unload: the four solver option tables and the
// expression-function token table.
//
// They are defined in this one translation unit, in this order, because the language then builds
// them in exactly this order when the library is loaded and destroys them in the reverse order
// when it is unloaded (token table first, integer table last). Within a table the rows are built
// in row order and destroyed in reverse row order.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "nuv/attr/lib/info.hpp"
#include "nuv/attr/lib/range_info.hpp"
#include "qel/solver_attribs.hpp"
#include "qel/supported_functions.hpp"

namespace qel {
namespace {

using nuv::attr::lib::Info;
using nuv::attr::lib::RangeInfo;

// An absent default or bound in solver_attribs.def.
constexpr std::nullopt_t kNone = std::nullopt;

// Every row: one element, settable, no documentation object.
constexpr int kRowMaxElemCount = 1;
constexpr bool kRowSupportsSet = true;

struct FunctionTokenRow {
  std::size_t length;
  const char* tag;
  std::int32_t type;
  std::int32_t value;
};

#define QEL_FUNCTION_TOKEN_ROW(tag, type, value) \
  { sizeof(tag) - 1, tag, type, value }

constexpr std::array<FunctionTokenRow, 25> kFunctionTokenRows{{
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Add", kTokenOperator, 5),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Subtract", kTokenOperator, 6),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Multiply", kTokenOperator, 3),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Divide", kTokenOperator, 4),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Negate", kTokenOperator, 1),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:Power", kTokenOperator, 2),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:PowerConst", kTokenOperator, 2),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:Power0", kTokenOperator, 2),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:Square", kTokenOperator, kSquareMark),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Abs", kTokenFunction, 17),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:trigonometric:Sin", kTokenFunction, 27),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:trigonometric:Cos", kTokenFunction, 28),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:trigonometric:Tan", kTokenFunction, 29),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:trigonometric:ArcSin", kTokenFunction, 30),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:trigonometric:ArcCos", kTokenFunction, 31),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:trigonometric:ArcTan", kTokenFunction, 32),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:Exp", kTokenFunction, 16),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:Errf", kTokenFunction, 49),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:ErrfCompl", kTokenFunction, 50),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:Log", kTokenFunction, 15),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:Log10", kTokenFunction, 14),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:exponential:SquareRoot", kTokenFunction, 18),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Min", kTokenFunction, 33),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Max", kTokenFunction, 34),
    QEL_FUNCTION_TOKEN_ROW("nuv:function:basic:Sign", kTokenFunction, 46),
}};

#undef QEL_FUNCTION_TOKEN_ROW

// Inserted in row order; on a repeated tag the first row would stay.
std::unordered_map<std::string_view, FormulaToken> buildSupportedFunctions() {
  std::unordered_map<std::string_view, FormulaToken> map;
  for (const FunctionTokenRow& row : kFunctionTokenRows) {
    map.try_emplace(std::string_view(row.tag, row.length), row.type, row.value);
  }
  return map;
}

}  // namespace

const std::array<RangeInfo<int>, kIntSolverAttribCount> int_solver_attribs{{
#define QEL_INT_OPTION(name, def, lower, upper, key) \
  RangeInfo<int>{name, kRowMaxElemCount, kRowSupportsSet, def, lower, upper, key, {}},
#include "qel/solver_attribs.def"
}};

const std::array<RangeInfo<double>, kDblSolverAttribCount> dbl_solver_attribs{{
#define QEL_DBL_OPTION(name, def, lower, upper, key) \
  RangeInfo<double>{name, kRowMaxElemCount, kRowSupportsSet, def, lower, upper, key, {}},
#include "qel/solver_attribs.def"
}};

const std::array<Info<std::string>, kStrSolverAttribCount> str_solver_attribs{{
#define QEL_STR_OPTION(name, def, key) \
  Info<std::string>{name, kRowMaxElemCount, kRowSupportsSet, def, key, {}},
#include "qel/solver_attribs.def"
}};

const std::array<Info<bool>, kBoolSolverAttribCount> bool_solver_attribs{{
#define QEL_BIT_OPTION(name, def, key) \
  Info<bool>{name, kRowMaxElemCount, kRowSupportsSet, def, key, {}},
#include "qel/solver_attribs.def"
}};

const std::unordered_map<std::string_view, FormulaToken> supported_functions =
    buildSupportedFunctions();

}  // namespace qel
