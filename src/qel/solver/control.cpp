#include "qel/solver/control.hpp"

#include <cstdint>

#include "nuv/check.hpp"
#include "qel/xpress/xpress_prob_interface.hpp"
#include "qel/xpress/xpress_sol_enum.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"

namespace qel {

template <class P, class T>
void Control<P, T>::reset() {
  if constexpr (kProblem) {
    if (const auto t = target()) t->setDefaultControl(control_);
  }
}

template <class P, class T>
T Control<P, T>::get(nuv::Index /*elem*/) const {
  const auto t = target();
  if (!t) return T{};
  if constexpr (std::is_same_v<T, int>) {
    return t->getIntControl(control_);
  } else if constexpr (std::is_same_v<T, double>) {
    return t->getDblControl(control_);
  } else {
    return t->getStrControl(control_);
  }
}

template <class P, class T>
void Control<P, T>::set(const T& value, nuv::Index /*elem*/) {
  const auto t = target();
  if (!t) return;
  if constexpr (std::is_same_v<T, int>) {
    t->setIntControl(control_, value);
  } else if constexpr (std::is_same_v<T, double>) {
    t->setDblControl(control_, value);
  } else {
    t->setStrControl(control_, value.c_str());
  }
}

template class Control<XpressProbInterface, int>;
template class Control<XpressProbInterface, double>;
template class Control<XpressProbInterface, std::string>;
template class Control<XpressSolPool, int>;
template class Control<XpressSolPool, double>;
template class Control<XpressSolEnum, int>;
template class Control<XpressSolEnum, double>;

BitControl::BitControl(std::weak_ptr<XpressProbInterface> target, int control, int bit)
    : target_(std::move(target)), control_(control), bit_(bit) {
  nuv::checkGreaterOrEqual("bit", bit, 0);
  nuv::checkLessOrEqual("bit", bit, kMaxBit);
}

// The control's bits as unsigned, so that bit 31 shifts and masks without a sign.
int BitControl::get(nuv::Index /*elem*/) const {
  const auto t = target_.lock();
  if (!t) return 0;
  const auto bits = static_cast<std::uint32_t>(t->getIntControl(control_));
  return static_cast<int>((bits >> bit_) & 1U);
}

void BitControl::set(const int& value, nuv::Index /*elem*/) {
  const auto t = target_.lock();
  if (!t) return;
  const auto bits = static_cast<std::uint32_t>(t->getIntControl(control_));
  const std::uint32_t mask = std::uint32_t{1} << bit_;
  t->setIntControl(control_, static_cast<int>(value != 0 ? bits | mask : bits & ~mask));
}

template <class P, class T>
T Attrib<P, T>::get(nuv::Index /*elem*/) const {
  const auto t = target_.lock();
  if (!t) return T{};
  if constexpr (std::is_same_v<T, int>) {
    return t->getIntAttrib(attrib_);
  } else {
    return t->getDblAttrib(attrib_);
  }
}

template class Attrib<XpressProbInterface, int>;
template class Attrib<XpressProbInterface, double>;

}  // namespace qel
