// Control and attribute catalogue of the stand-in: the type and default of every control the
// library knows, the rule for ids it does not know, and the computation of attributes from the
// model and the last run.
#ifndef XPRS_CONTROLS_HPP_
#define XPRS_CONTROLS_HPP_

#include <string>

#include "library.hpp"

namespace xprs::standin {

// Any: an id outside the known tables and outside the typed ranges (6000-6199 text, 7000-7999
// and 12100-12299 double, 8000-8999 and 12300-12449 integer); it is stored under whichever type
// it is used with.
enum class ControlType { Int, Dbl, Str, Any, None };

[[nodiscard]] ControlType controlType(int id);
[[nodiscard]] int intControl(const ProblemRecord& rec, int id);
[[nodiscard]] double dblControl(const ProblemRecord& rec, int id);
[[nodiscard]] std::string strControl(const ProblemRecord& rec, int id);
[[nodiscard]] const char* typeName(ControlType type);

// Objective controls 20001 (integer) to 20005 (double).
[[nodiscard]] ControlType objControlType(int id);
[[nodiscard]] int objIntControl(const ObjectiveRecord& obj, int id);
[[nodiscard]] double objDblControl(const ObjectiveRecord& obj, int id);

enum class AttribType { Int, Dbl, None };
[[nodiscard]] AttribType attribType(int id);
// Attributes of a problem (a callback problem answers its callback attributes first).
[[nodiscard]] int intAttrib(Problem& problem, int id);
[[nodiscard]] double dblAttrib(Problem& problem, int id);

}  // namespace xprs::standin

#endif  // XPRS_CONTROLS_HPP_
