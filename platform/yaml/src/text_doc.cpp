#include "yaml_platform/text_doc.hpp"

#include <memory>
#include <utility>

#include "nuv/yaml/emitter.hpp"
#include "nuv/yaml/parser.hpp"

namespace yaml_platform {

std::string_view TextDocAgent::typeName() const {
  return nuv::impl::wrappedTypeName<nuv::View<const nuv::attr::AbstractDoc>>();
}

void TextDocAgent::write(nuv::yaml::Emitter& emitter,
                         const nuv::View<const nuv::attr::AbstractDoc>& value) {
  const auto* doc = dynamic_cast<const TextDoc*>(value.get());
  emitter << (doc != nullptr ? doc->text() : std::string());
}

void TextDocAgent::read(nuv::yaml::Parser& parser, nuv::View<const nuv::attr::AbstractDoc>& value) {
  std::string text;
  parser >> text;
  value = nuv::View<const nuv::attr::AbstractDoc>::owning(
      std::make_unique<const TextDoc>(std::move(text)));
}

}  // namespace yaml_platform
