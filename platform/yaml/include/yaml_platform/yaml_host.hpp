// Owners of a libyaml parser or emitter together with the framework's wrapper around it.
//
// `ParserHost` reads from a text it keeps; `EmitterHost` writes into a string and offers the
// framing events (stream, document, mapping, sequence), which go through `Emitter::emit` so that
// the emitter's block depth applies. Both release their libyaml state when destroyed. The registry
// must outlive the host.
#ifndef YAML_PLATFORM_YAML_HOST_HPP_
#define YAML_PLATFORM_YAML_HOST_HPP_

#include <cstddef>
#include <string>

#include "nuv/yaml/emitter.hpp"
#include "nuv/yaml/parser.hpp"
#include "nuv/yaml/registry.hpp"

namespace yaml_platform {

class ParserHost {
 public:
  ParserHost(std::string input, nuv::yaml::Registry& registry);
  ParserHost(const ParserHost&) = delete;
  ParserHost& operator=(const ParserHost&) = delete;
  ~ParserHost();

  [[nodiscard]] nuv::yaml::Parser& parser() noexcept { return parser_; }

 private:
  std::string input_;
  nuv::yaml::Parser parser_;
};

class EmitterHost {
 public:
  // A negative block depth writes every collection in block style.
  EmitterHost(nuv::yaml::Registry& registry, int blockDepth);
  EmitterHost(const EmitterHost&) = delete;
  EmitterHost& operator=(const EmitterHost&) = delete;
  ~EmitterHost();

  [[nodiscard]] nuv::yaml::Emitter& emitter() noexcept { return emitter_; }
  // What libyaml has written out so far; `emitter().flush()` writes out what it buffers.
  [[nodiscard]] const std::string& output() const noexcept { return output_; }
  // Makes every later write to the output fail (for failure tests).
  void failWrites(bool fail) noexcept { failWrites_ = fail; }

  void streamStart();
  void streamEnd();
  void documentStart();
  void documentEnd();
  void mappingStart();
  void mappingEnd();
  void sequenceStart();
  void sequenceEnd();

 private:
  static int write(void* data, unsigned char* buffer, std::size_t size);

  std::string output_;
  bool failWrites_ = false;
  nuv::yaml::Emitter emitter_;
};

}  // namespace yaml_platform

#endif  // YAML_PLATFORM_YAML_HOST_HPP_
