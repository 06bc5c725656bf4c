// `nuv::attr::lib::Info<T>`: the description of one solver option.
//
// A description holds the option's name, its key, whether a value may be set, how many elements
// a value may have, an optional default and an optional documentation object; it accepts every
// value unchanged. It writes and reads itself as YAML through `nuv::yaml::AbstractReflect`, under
// the property names "name", "ref", "n_max", "s_set", "def" and "doc".
//
// Ownership: the description owns its name and default, and the documentation object when the
// view it was given owns it. Views handed out by the accessors never own and live as long as the
// description. T is int, double, bool or std::string.
#ifndef NUV_ATTR_LIB_INFO_HPP_
#define NUV_ATTR_LIB_INFO_HPP_

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "nuv/attr/abstract_doc.hpp"
#include "nuv/attr/abstract_info.hpp"
#include "nuv/attr/exception.hpp"
#include "nuv/check.hpp"
#include "nuv/tag.hpp"
#include "nuv/to_string.hpp"
#include "nuv/view.hpp"
#include "nuv/yaml/abstract_reflect.hpp"
#include "nuv/yaml/emitter.hpp"
#include "nuv/yaml/parser.hpp"

namespace nuv::attr::lib {
namespace detail {

// The fixed type names used in class names ("Int32", "Float64", "Bool", "String").
template <class T>
constexpr std::string_view infoTypeName();
template <>
constexpr std::string_view infoTypeName<int>() {
  return "Int32";
}
template <>
constexpr std::string_view infoTypeName<double>() {
  return "Float64";
}
template <>
constexpr std::string_view infoTypeName<bool>() {
  return "Bool";
}
template <>
constexpr std::string_view infoTypeName<std::string>() {
  return "String";
}

// A value as it appears inside a message: decimal, 15 significant digits, "1"/"0", or the text.
template <class T>
std::string infoValueText(const T& value) {
  if constexpr (std::is_same_v<T, std::string>) {
    return value;
  } else {
    return nuv::detail::valueText(value);
  }
}

}  // namespace detail

template <class T>
class Info : public AbstractInfo<T>, public yaml::AbstractReflect {
 public:
  // An absent `maxElemCount` means no limit (stored as 2147483647); a count below 1 is stored as
  // 1. `doc` is left null and non-owning. Nothing is validated.
  Info(std::string name, std::optional<int> maxElemCount, bool supportsSet,
       std::optional<T> default_value, std::optional<int> ref, View<const AbstractDoc> doc)
      : name_(std::move(name)),
        ref_(ref),
        supportsSet_(supportsSet),
        maxElemCount_(!maxElemCount       ? std::numeric_limits<int>::max()
                      : *maxElemCount < 1 ? 1
                                          : *maxElemCount),
        default_value_(std::move(default_value)),
        doc_(std::move(doc)) {}
  ~Info() override = default;

  // The overriders stand in the order of the table that closed code calls through.
  [[nodiscard]] View<const std::string> name() const override {
    return name_.empty() ? View<const std::string>() : View<const std::string>::borrowed(&name_);
  }
  [[nodiscard]] std::optional<int> ref() const override { return ref_; }
  [[nodiscard]] int maxElemCount() const override { return maxElemCount_; }
  [[nodiscard]] bool supportsDefault() const override { return default_value_.has_value(); }
  [[nodiscard]] bool supportsSet() const override { return supportsSet_; }
  [[nodiscard]] View<const AbstractDoc> doc() const override {
    return View<const AbstractDoc>::borrowed(doc_.get());
  }
  // Raises `nuv::attr::Exception::unsupportedDefault` (code 0) without a default.
  [[nodiscard]] T getDefault() const override {
    if (!default_value_) throw Exception::unsupportedDefault({});
    return *default_value_;
  }
  // Every value is accepted unchanged.
  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override { return value; }
  [[nodiscard]] std::string className() const override {
    std::string text("nuv::attr::lib::Info<");
    text.append(detail::infoTypeName<T>()).append(">");
    return text;
  }
  [[nodiscard]] bool propExists(Tag property) const override {
    for (Tag known : kProperties) {
      if (known == property) return true;
    }
    return false;
  }
  [[nodiscard]] bool propIsDefault(Tag property) const override {
    if (property == "name") return name_.empty();
    if (property == "ref") return !ref_.has_value();
    if (property == "n_max") return maxElemCount_ == 1;
    if (property == "s_set") return supportsSet_;
    if (property == "def") return !default_value_.has_value();
    if (property == "doc") return doc_.get() == nullptr;
    return false;
  }
  [[nodiscard]] bool propsIsDefault() const override {
    for (Tag known : kProperties) {
      if (!Info::propIsDefault(known)) return false;
    }
    return true;
  }
  void propTo(Tag property, yaml::Emitter& emitter) const override {
    if (property == "name") {
      emitter << name_;
    } else if (property == "ref") {
      emitter << ref_;
    } else if (property == "n_max") {
      emitter << maxElemCount_;
    } else if (property == "s_set") {
      emitter << supportsSet_;
    } else if (property == "def") {
      emitter << default_value_;
    } else if (property == "doc") {
      if (doc_) emitter << doc_;
    }
  }
  void propsTo(yaml::Emitter& emitter) const override {
    for (Tag known : kProperties) {
      if (Info::propIsDefault(known)) continue;
      emitter.scalar(known, nullptr, nullptr, yaml::ScalarStyle::Plain);
      Info::propTo(known, emitter);
    }
  }
  void propFrom(Tag property, yaml::Parser& parser) override {
    if (property == "name") {
      parser >> name_;
    } else if (property == "ref") {
      parser >> ref_;
    } else if (property == "n_max") {
      // Read aside first: a partly readable text must not leave a negative count behind.
      int count = 0;
      parser >> count;
      maxElemCount_ = count < 0 ? 0 : count;
    } else if (property == "s_set") {
      parser >> supportsSet_;
    } else if (property == "def") {
      readDefault(parser);
    } else if (property == "doc") {
      parser >> doc_;
    }
  }

  // Stores what `supportsValue(value)` answers as the default; raises `nuv::CheckException`
  // (code 1) and keeps the old default when it answers nothing.
  void setDefault(const T& value) {
    std::optional<T> accepted = supportsValue(value);
    checkTrue(accepted.has_value(), "supportsValue(value)");
    default_value_ = std::move(accepted);
  }

 protected:
  // Raises the "Value of property ... is not supported." error at the parser's last position.
  [[noreturn]] static void throwUnsupported(std::string_view property, const std::string& text,
                                            const yaml::Parser& parser) {
    std::string message("Value of property '");
    message.append(property).append("' (which is ").append(text).append(") is not supported.");
    throw yaml::ParserException(std::move(message), parser.lastPosition(), parser.lastPosition(),
                                yaml::ParserException::Codes::kOther, {});
  }

  std::string name_;
  std::optional<int> ref_;
  bool supportsSet_;
  int maxElemCount_;
  std::optional<T> default_value_;
  View<const AbstractDoc> doc_;

 private:
  static constexpr std::array<Tag, 6> kProperties = {"name", "ref", "n_max", "s_set", "def", "doc"};

  // A null leaves the current default as it is; a value goes through `supportsValue`.
  void readDefault(yaml::Parser& parser) {
    std::optional<T> read;
    parser >> read;
    if (!read) return;
    std::optional<T> accepted = supportsValue(*read);
    if (!accepted) throwUnsupported("def", detail::infoValueText(*read), parser);
    default_value_ = std::move(accepted);
  }
};

extern template class Info<int>;
extern template class Info<double>;
extern template class Info<bool>;
extern template class Info<std::string>;

}  // namespace nuv::attr::lib

#endif  // NUV_ATTR_LIB_INFO_HPP_
