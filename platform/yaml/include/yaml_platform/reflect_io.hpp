// Writing and reading objects that reflect themselves (option descriptions) as YAML mappings.
//
// `writeMapping` frames the object's pairs in a mapping; `readMapping` reads a mapping key by key
// and lets the object read each value. A key the object does not have raises
// `nuv::yaml::ParserException` "Unknown property '<key>' of <class name>." (code 0). `toYaml` and
// `fromYaml` do the same for a whole stream holding one document.
#ifndef YAML_PLATFORM_REFLECT_IO_HPP_
#define YAML_PLATFORM_REFLECT_IO_HPP_

#include <string>

#include "nuv/yaml/abstract_reflect.hpp"
#include "nuv/yaml/registry.hpp"
#include "yaml_platform/yaml_host.hpp"

namespace yaml_platform {

void writeMapping(EmitterHost& host, const nuv::yaml::AbstractReflect& object);
void readMapping(nuv::yaml::Parser& parser, nuv::yaml::AbstractReflect& object);

// One document with the object's mapping; block depth -1 keeps everything in block style.
[[nodiscard]] std::string toYaml(const nuv::yaml::AbstractReflect& object,
                                 nuv::yaml::Registry& registry, int blockDepth = -1);
void fromYaml(std::string text, nuv::yaml::AbstractReflect& object, nuv::yaml::Registry& registry);

}  // namespace yaml_platform

#endif  // YAML_PLATFORM_REFLECT_IO_HPP_
