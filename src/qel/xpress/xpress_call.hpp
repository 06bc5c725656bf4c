// `qel::XpressCall`: one Xpress C function and its name, the trace of its failures, and
// QEL_XPRESS_CALL, which makes one from the function alone, so that the name a failure reports
// is always the name of the function called.
//
//   call(QEL_XPRESS_CALL(XPRSchgobjsense), sense);   // a checked call of a problem wrapper
//   static constexpr auto create = QEL_XPRESS_CALL(XPRS_msp_create);
#ifndef QEL_XPRESS_XPRESS_CALL_HPP_
#define QEL_XPRESS_XPRESS_CALL_HPP_

#include <string_view>

namespace qel {

template <class Function>
struct XpressCall {
  Function function;
  std::string_view name;
};
template <class Function>
XpressCall(Function, std::string_view) -> XpressCall<Function>;

}  // namespace qel

// The XpressCall of an Xpress C function, named by its own spelling.
#define QEL_XPRESS_CALL(function) (::qel::XpressCall{function, #function})

#endif  // QEL_XPRESS_XPRESS_CALL_HPP_
