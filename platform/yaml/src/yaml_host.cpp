#include "yaml_platform/yaml_host.hpp"

#include <yaml.h>

#include <new>
#include <utility>

namespace yaml_platform {
namespace {

// The events this host builds carry no anchor, tag or directives.
template <class Initialize>
void emitBuilt(nuv::yaml::Emitter& emitter, Initialize initialize) {
  nuv::yaml::Event event;
  if (initialize(event.raw()) == 0) throw std::bad_alloc();
  emitter.emit(&event);
}

}  // namespace

ParserHost::ParserHost(std::string input, nuv::yaml::Registry& registry)
    : input_(std::move(input)), parser_(registry, nuv::yaml::Position{1, 1, 0}) {
  if (yaml_parser_initialize(&parser_.state()) == 0) throw std::bad_alloc();
  yaml_parser_set_input_string(
      &parser_.state(), reinterpret_cast<const unsigned char*>(input_.data()), input_.size());
}

ParserHost::~ParserHost() { yaml_parser_delete(&parser_.state()); }

EmitterHost::EmitterHost(nuv::yaml::Registry& registry, int blockDepth)
    : emitter_(registry, blockDepth) {
  yaml_emitter_t& state = emitter_.state();
  if (yaml_emitter_initialize(&state) == 0) throw std::bad_alloc();
  yaml_emitter_set_output(&state, &EmitterHost::write, this);
  yaml_emitter_set_unicode(&state, 1);
  yaml_emitter_set_width(&state, -1);
}

EmitterHost::~EmitterHost() { yaml_emitter_delete(&emitter_.state()); }

int EmitterHost::write(void* data, unsigned char* buffer, std::size_t size) {
  auto* host = static_cast<EmitterHost*>(data);
  if (host->failWrites_) return 0;
  host->output_.append(reinterpret_cast<const char*>(buffer), size);
  return 1;
}

void EmitterHost::streamStart() {
  emitBuilt(emitter_, [](yaml_event_t* event) {
    return yaml_stream_start_event_initialize(event, YAML_UTF8_ENCODING);
  });
}

void EmitterHost::streamEnd() {
  emitBuilt(emitter_, [](yaml_event_t* event) { return yaml_stream_end_event_initialize(event); });
}

void EmitterHost::documentStart() {
  emitBuilt(emitter_, [](yaml_event_t* event) {
    return yaml_document_start_event_initialize(event, nullptr, nullptr, nullptr, 1);
  });
}

void EmitterHost::documentEnd() {
  emitBuilt(emitter_,
            [](yaml_event_t* event) { return yaml_document_end_event_initialize(event, 1); });
}

void EmitterHost::mappingStart() {
  emitBuilt(emitter_, [](yaml_event_t* event) {
    return yaml_mapping_start_event_initialize(event, nullptr, nullptr, 1,
                                               YAML_BLOCK_MAPPING_STYLE);
  });
}

void EmitterHost::mappingEnd() {
  emitBuilt(emitter_, [](yaml_event_t* event) { return yaml_mapping_end_event_initialize(event); });
}

void EmitterHost::sequenceStart() {
  emitBuilt(emitter_, [](yaml_event_t* event) {
    return yaml_sequence_start_event_initialize(event, nullptr, nullptr, 1,
                                                YAML_BLOCK_SEQUENCE_STYLE);
  });
}

void EmitterHost::sequenceEnd() {
  emitBuilt(emitter_,
            [](yaml_event_t* event) { return yaml_sequence_end_event_initialize(event); });
}

}  // namespace yaml_platform
