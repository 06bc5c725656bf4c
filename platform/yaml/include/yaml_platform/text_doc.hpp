// A documentation object holding one text, and the registry agent that writes it as one scalar
// and reads a scalar into a new, owned `TextDoc`.
#ifndef YAML_PLATFORM_TEXT_DOC_HPP_
#define YAML_PLATFORM_TEXT_DOC_HPP_

#include <string>
#include <string_view>

#include "nuv/attr/abstract_doc.hpp"
#include "nuv/view.hpp"
#include "nuv/yaml/registry.hpp"

namespace yaml_platform {

class TextDoc final : public nuv::attr::AbstractDoc {
 public:
  explicit TextDoc(std::string text) : text_(std::move(text)) {}
  [[nodiscard]] const std::string& text() const noexcept { return text_; }

 private:
  std::string text_;
};

class TextDocAgent final
    : public nuv::yaml::Registry::AbstractAgent<nuv::View<const nuv::attr::AbstractDoc>> {
 public:
  [[nodiscard]] std::string_view typeName() const override;
  // A documentation object of another kind is written as an empty text.
  void write(nuv::yaml::Emitter& emitter,
             const nuv::View<const nuv::attr::AbstractDoc>& value) override;
  void read(nuv::yaml::Parser& parser, nuv::View<const nuv::attr::AbstractDoc>& value) override;
};

}  // namespace yaml_platform

#endif  // YAML_PLATFORM_TEXT_DOC_HPP_
