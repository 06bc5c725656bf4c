// `nuv::attr::lib::RangeInfo<T>`: an option description with a closed range [lower, upper].
//
// A bound that is not given is the type's extreme (-2147483648 / 2147483647 for int, minus / plus
// infinity for double); nothing tells it apart from a bound given as that extreme. Construction
// checks lower <= upper and, when there is a default, lower <= default <= upper, in this order,
// raising `nuv::CheckException` (code 6 or 8) at the first failure; a NaN bound or default fails.
// `supportsValue` brings every value into the range (NaN becomes the lower bound). In YAML the
// bounds are the properties "lo" and "up". T is int or double.
#ifndef NUV_ATTR_LIB_RANGE_INFO_HPP_
#define NUV_ATTR_LIB_RANGE_INFO_HPP_

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "nuv/attr/lib/info.hpp"
#include "nuv/check.hpp"

namespace nuv::attr::lib {
namespace detail {

template <class T>
constexpr T lowestBound() {
  if constexpr (std::numeric_limits<T>::has_infinity) {
    return -std::numeric_limits<T>::infinity();
  } else {
    return std::numeric_limits<T>::min();
  }
}

template <class T>
constexpr T highestBound() {
  if constexpr (std::numeric_limits<T>::has_infinity) {
    return std::numeric_limits<T>::infinity();
  } else {
    return std::numeric_limits<T>::max();
  }
}

}  // namespace detail

template <class T>
class RangeInfo final : public Info<T> {
 public:
  RangeInfo(std::string name, std::optional<int> maxElemCount, bool supportsSet,
            std::optional<T> default_value, std::optional<T> lower_bound,
            std::optional<T> upper_bound, std::optional<int> ref, View<const AbstractDoc> doc)
      : Info<T>(std::move(name), maxElemCount, supportsSet, std::move(default_value), ref,
                std::move(doc)),
        lower_bound_(lower_bound.value_or(detail::lowestBound<T>())),
        upper_bound_(upper_bound.value_or(detail::highestBound<T>())) {
    checkLessOrEqual("lower_bound", lower_bound_, upper_bound_);
    if (this->default_value_) {
      checkGreaterOrEqual("default_value", *this->default_value_, lower_bound_);
      checkLessOrEqual("default_value", *this->default_value_, upper_bound_);
    }
  }
  ~RangeInfo() override = default;

  // The value brought into [lower, upper]; always present.
  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    const T capped = upper_bound_ < value ? upper_bound_ : value;
    return capped > lower_bound_ ? capped : lower_bound_;
  }
  [[nodiscard]] std::string className() const override {
    std::string text("nuv::attr::lib::RangeInfo<");
    text.append(detail::infoTypeName<T>()).append(">");
    return text;
  }
  [[nodiscard]] bool propExists(Tag property) const override {
    return property == "lo" || property == "up" || Info<T>::propExists(property);
  }
  [[nodiscard]] bool propIsDefault(Tag property) const override {
    if (property == "lo") return lower_bound_ == detail::lowestBound<T>();
    if (property == "up") return upper_bound_ == detail::highestBound<T>();
    return Info<T>::propIsDefault(property);
  }
  [[nodiscard]] bool propsIsDefault() const override {
    return Info<T>::propsIsDefault() && RangeInfo::propIsDefault("lo") &&
           RangeInfo::propIsDefault("up");
  }
  void propTo(Tag property, yaml::Emitter& emitter) const override {
    if (property == "lo") {
      emitter << lower_bound_;
    } else if (property == "up") {
      emitter << upper_bound_;
    } else {
      Info<T>::propTo(property, emitter);
    }
  }
  void propsTo(yaml::Emitter& emitter) const override {
    Info<T>::propsTo(emitter);
    for (Tag bound : {Tag("lo"), Tag("up")}) {
      if (RangeInfo::propIsDefault(bound)) continue;
      emitter.scalar(bound, nullptr, nullptr, yaml::ScalarStyle::Plain);
      RangeInfo::propTo(bound, emitter);
    }
  }
  // A bound read crosses the other bound: the other one follows it. The default is then fitted
  // into the new range again.
  void propFrom(Tag property, yaml::Parser& parser) override {
    const bool lower = property == "lo";
    if (!lower && property != "up") {
      Info<T>::propFrom(property, parser);
      return;
    }
    // Read aside, so that a failed read leaves the range as it was.
    T bound{};
    parser >> bound;
    if constexpr (std::numeric_limits<T>::has_quiet_NaN) {
      // A NaN bound would make every value NaN; construction refuses it too.
      if (std::isnan(bound)) this->throwUnsupported(property, toString(bound, 15), parser);
    }
    if (lower) {
      lower_bound_ = bound;
      if (!(lower_bound_ <= upper_bound_)) upper_bound_ = lower_bound_;
    } else {
      upper_bound_ = bound;
      if (!(lower_bound_ <= upper_bound_)) lower_bound_ = upper_bound_;
    }
    if (this->default_value_) this->setDefault(*this->default_value_);
  }

 private:
  T lower_bound_;
  T upper_bound_;
};

extern template class RangeInfo<int>;
extern template class RangeInfo<double>;

}  // namespace nuv::attr::lib

#endif  // NUV_ATTR_LIB_RANGE_INFO_HPP_
