// Typed views of the part dictionaries of a batch: `ContainerDictView<double>` in the
// namespace of each kind of part, by which an adder reads its input by integer key.
//
// A view is a copy of the part's dictionary handle (it shares the same dictionary and releases
// it when destroyed); it adds no data and overrides nothing. `container<V>(key)` hands the entry
// out as a typed container handle: an entry that is missing, or that carries another type code
// than that of V, reads as an empty attr::Container<V> (item count 0, reads of zero or an empty
// value), so a reader needs no checks of its own. The keys are in nuv/opt/keys.hpp. T is the
// model's number type; this system reads double models only.
#ifndef NUV_OPT_LIB_CONTAINER_DICT_VIEW_HPP_
#define NUV_OPT_LIB_CONTAINER_DICT_VIEW_HPP_

#include "nuv/attr/container.hpp"
#include "nuv/attr/container_dict.hpp"
#include "nuv/types.hpp"

namespace nuv::opt::lib {
namespace detail {

// What every part view offers; the nine kinds differ only in the namespace that names them.
class PartView : public attr::ContainerDict {
 public:
  using attr::ContainerDict::ContainerDict;
  explicit PartView(const attr::ContainerDict& part) : attr::ContainerDict(part) {}

  template <class V>
  [[nodiscard]] attr::Container<V> container(Index key) const {
    return attr::Container<V>((*this)[key]);
  }
};

}  // namespace detail

namespace variable {

// Reads the per-variable tagged part of a VariableContainer, under "nuv:variable".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace variable

namespace interval_domain {

// Reads the domain part of a VariableContainer, "nuv:interval_domain".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace interval_domain

namespace constraint {

// Reads the per-constraint tagged part of a ConstraintContainer, under "nuv:constraint".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace constraint

namespace linear_function {

// Reads the function part, "nuv:linear_function".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace linear_function

namespace quadratic_function {

// Reads the function part, "nuv:quadratic_function".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace quadratic_function

namespace identity_function {

// Reads the function part, "nuv:identity_function".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace identity_function

namespace static_bounded_domain {

// Reads the domain part, "nuv:static_bounded_domain".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace static_bounded_domain

namespace sense_domain {

// Reads the domain part, "nuv:sense_domain".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace sense_domain

namespace sos_domain {

// Reads the domain part, "nuv:sos_domain".
template <class T>
class ContainerDictView final : public detail::PartView {
 public:
  using detail::PartView::PartView;
};

}  // namespace sos_domain

}  // namespace nuv::opt::lib

#endif  // NUV_OPT_LIB_CONTAINER_DICT_VIEW_HPP_
