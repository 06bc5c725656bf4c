// `orla::detail::LinkError`: a failure the link finds itself (bad option, bad model data), as
// opposed to one raised by the solver. Its text is the whole host message.
#ifndef ORLA_SRC_LINK_ERROR_HPP_
#define ORLA_SRC_LINK_ERROR_HPP_

#include <stdexcept>
#include <string>

namespace orla::detail {

class LinkError final : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace orla::detail

#endif  // ORLA_SRC_LINK_ERROR_HPP_
