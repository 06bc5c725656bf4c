#include "yaml_platform/reflect_io.hpp"

#include <optional>
#include <utility>

#include "nuv/yaml/parser_exception.hpp"

namespace yaml_platform {

void writeMapping(EmitterHost& host, const nuv::yaml::AbstractReflect& object) {
  host.mappingStart();
  object.propsTo(host.emitter());
  host.mappingEnd();
}

void readMapping(nuv::yaml::Parser& parser, nuv::yaml::AbstractReflect& object) {
  using nuv::yaml::EventType;
  (void)parser.parse(EventType::MapStart);
  while (std::optional<nuv::yaml::Scalar> key = parser.tryScalar()) {
    const std::string name(key->text());
    if (!object.propExists(name)) {
      std::string message("Unknown property '");
      message.append(name).append("' of ").append(object.className()).append(".");
      throw nuv::yaml::ParserException(std::move(message), key->start(), key->end(),
                                       nuv::yaml::ParserException::Codes::kOther, {});
    }
    object.propFrom(name, parser);
  }
  (void)parser.parse(EventType::MapEnd);
}

std::string toYaml(const nuv::yaml::AbstractReflect& object, nuv::yaml::Registry& registry,
                   int blockDepth) {
  EmitterHost host(registry, blockDepth);
  host.streamStart();
  host.documentStart();
  writeMapping(host, object);
  host.documentEnd();
  host.streamEnd();
  host.emitter().flush();
  return host.output();
}

void fromYaml(std::string text, nuv::yaml::AbstractReflect& object, nuv::yaml::Registry& registry) {
  using nuv::yaml::EventType;
  ParserHost host(std::move(text), registry);
  nuv::yaml::Parser& parser = host.parser();
  (void)parser.parse(EventType::StreamStart);
  (void)parser.parse(EventType::DocumentStart);
  readMapping(parser, object);
  (void)parser.parse(EventType::DocumentEnd);
  (void)parser.parse(EventType::StreamEnd);
}

}  // namespace yaml_platform
