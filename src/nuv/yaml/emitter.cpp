#include "nuv/yaml/emitter.hpp"

#include <cstring>
#include <memory>
#include <utility>

#include "nuv/check.hpp"
#include "nuv/num_cast.hpp"
#include "nuv/to_string.hpp"

namespace nuv::yaml {
namespace {

EmitterException::Codes emitterCode(yaml_error_type_t error) {
  // libyaml numbers its errors differently: map, never cast.
  switch (error) {
    case YAML_MEMORY_ERROR:
      return EmitterException::Codes::kMemory;
    case YAML_WRITER_ERROR:
      return EmitterException::Codes::kWriter;
    case YAML_EMITTER_ERROR:
      return EmitterException::Codes::kEmitter;
    default:
      return EmitterException::Codes::kOther;
  }
}

yaml_scalar_style_t libyamlStyle(ScalarStyle style) {
  switch (style) {
    case ScalarStyle::Plain:
      return YAML_PLAIN_SCALAR_STYLE;
    case ScalarStyle::SingleQuoted:
      return YAML_SINGLE_QUOTED_SCALAR_STYLE;
    case ScalarStyle::DoubleQuoted:
      return YAML_DOUBLE_QUOTED_SCALAR_STYLE;
    case ScalarStyle::Literal:
      return YAML_LITERAL_SCALAR_STYLE;
    case ScalarStyle::Folded:
      return YAML_FOLDED_SCALAR_STYLE;
  }
  return YAML_ANY_SCALAR_STYLE;
}

const yaml_char_t* bytes(const char* text) { return reinterpret_cast<const yaml_char_t*>(text); }

void plain(Emitter& emitter, const std::string& text) {
  emitter.scalar(std::string_view(text), nullptr, nullptr, ScalarStyle::Plain);
}

template <class T>
Emitter& writeOptional(Emitter& emitter, const std::optional<T>& value) {
  if (!value) {
    emitter.scalar("~", nullptr, nullptr, ScalarStyle::Plain);
    return emitter;
  }
  return emitter << *value;
}

template <class T>
Emitter& writeWithAgent(Emitter& emitter, const T& value) {
  const std::shared_ptr<Registry::AbstractAgent<T>> agent = emitter.registry().template find<T>();
  if (!agent) {
    emitter.flush();
    std::string message("Registry agent required for '");
    message.append(impl::wrappedTypeName<T>()).append("'.");
    throw EmitterException(std::move(message), EmitterException::Codes::kNoAgent, {});
  }
  agent->write(emitter, value);
  return emitter;
}

}  // namespace

Emitter::Emitter(Registry& registry, int blockDepth) noexcept
    : registry_(registry), blockDepth_(blockDepth) {
  // The creator initialises the libyaml state.
  std::memset(&state_, 0, sizeof state_);
}

void Emitter::emit(Event* event) {
  if (event == nullptr) return;
  yaml_event_t* raw = event->raw();
  switch (raw->type) {
    case YAML_SEQUENCE_START_EVENT:
      if (blockDepth_-- == 0) raw->data.sequence_start.style = YAML_FLOW_SEQUENCE_STYLE;
      break;
    case YAML_MAPPING_START_EVENT:
      if (blockDepth_-- == 0) raw->data.mapping_start.style = YAML_FLOW_MAPPING_STYLE;
      break;
    case YAML_SEQUENCE_END_EVENT:
    case YAML_MAPPING_END_EVENT:
      ++blockDepth_;
      break;
    default:
      break;
  }
  const int emitted = yaml_emitter_emit(&state_, raw);
  // libyaml has taken the event over either way: queued, or already released on failure.
  // Releasing it here again would free it twice.
  event->forget();
  if (emitted == 0) {
    throw EmitterException(state_.problem != nullptr ? state_.problem : "Unknown libyaml error",
                           emitterCode(state_.error), {});
  }
}

void Emitter::scalar(std::string_view value, const char* anchor, const char* tag,
                     ScalarStyle style) {
  if (anchor != nullptr) checkGreater("strlen(anchor)", std::strlen(anchor), 0);
  if (tag != nullptr) checkGreater("strlen(tag)", std::strlen(tag), 0);
  // libyaml insists on a value pointer even for an empty text.
  if (value.data() == nullptr) value = "";
  Scalar event;
  // libyaml refuses text that is not valid UTF-8 (or memory); the record then stays empty and
  // must not reach the emitter.
  if (yaml_scalar_event_initialize(event.raw(), bytes(anchor), bytes(tag), bytes(value.data()),
                                   numCast<int>(value.size()), 1, 1, libyamlStyle(style)) == 0) {
    throw EmitterException("Cannot build a scalar event", EmitterException::Codes::kOther, {});
  }
  emit(&event);
}

void Emitter::scalar(const char* value, const char* anchor, const char* tag, ScalarStyle style) {
  scalar(std::string_view(value), anchor, tag, style);
}

void Emitter::flush() {
  if (yaml_emitter_flush(&state_) == 0) {
    throw EmitterException("Cannot flush", EmitterException::Codes::kWriter, {});
  }
}

Emitter& operator<<(Emitter& emitter, bool value) {
  plain(emitter, toString<bool>(value));
  return emitter;
}

Emitter& operator<<(Emitter& emitter, int value) {
  plain(emitter, toString<int>(value));
  return emitter;
}

Emitter& operator<<(Emitter& emitter, double value) {
  plain(emitter, toString(value, 15));
  return emitter;
}

Emitter& operator<<(Emitter& emitter, const std::string& value) {
  // Up to the first NUL. A text that a plain scalar would turn into a null (empty, "~", "null")
  // is quoted, so that it reads back as the same text.
  const std::string_view text(value.c_str());
  emitter.scalar(text, nullptr, nullptr,
                 detail::isNullText(text) ? ScalarStyle::SingleQuoted : ScalarStyle::Plain);
  return emitter;
}

Emitter& operator<<(Emitter& emitter, const std::optional<int>& value) {
  return writeOptional(emitter, value);
}

Emitter& operator<<(Emitter& emitter, const std::optional<bool>& value) {
  return writeOptional(emitter, value);
}

Emitter& operator<<(Emitter& emitter, const std::optional<double>& value) {
  return writeOptional(emitter, value);
}

Emitter& operator<<(Emitter& emitter, const std::optional<std::string>& value) {
  return writeOptional(emitter, value);
}

Emitter& operator<<(Emitter& emitter, const View<const attr::AbstractDoc>& value) {
  return writeWithAgent(emitter, value);
}

}  // namespace nuv::yaml
