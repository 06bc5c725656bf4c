#include "nuv/yaml/event.hpp"

#include <cctype>
#include <cstring>
#include <utility>

namespace nuv::yaml {

Event::Event() noexcept { std::memset(&event_, 0, sizeof event_); }

Event::Event(Event&& other) noexcept : event_(other.event_) { other.forget(); }

Event& Event::operator=(Event&& other) noexcept {
  if (this != &other) {
    if (!empty()) yaml_event_delete(&event_);
    event_ = other.event_;
    other.forget();
  }
  return *this;
}

Event::~Event() {
  if (!empty()) yaml_event_delete(&event_);
}

void Event::forget() noexcept { std::memset(&event_, 0, sizeof event_); }

EventType Event::type() const noexcept {
  // libyaml numbers its kinds differently (and has aliases): map, never cast.
  switch (event_.type) {
    case YAML_STREAM_START_EVENT:
      return EventType::StreamStart;
    case YAML_STREAM_END_EVENT:
      return EventType::StreamEnd;
    case YAML_DOCUMENT_START_EVENT:
      return EventType::DocumentStart;
    case YAML_DOCUMENT_END_EVENT:
      return EventType::DocumentEnd;
    case YAML_SCALAR_EVENT:
      return EventType::Scalar;
    case YAML_SEQUENCE_START_EVENT:
      return EventType::ListStart;
    case YAML_SEQUENCE_END_EVENT:
      return EventType::ListEnd;
    case YAML_MAPPING_START_EVENT:
      return EventType::MapStart;
    case YAML_MAPPING_END_EVENT:
      return EventType::MapEnd;
    case YAML_NO_EVENT:
    case YAML_ALIAS_EVENT:
      break;
  }
  return EventType::Unknown;
}

std::string_view Scalar::text() const noexcept {
  const auto& scalar = raw().data.scalar;
  if (scalar.value == nullptr) return {};
  return {reinterpret_cast<const char*>(scalar.value), scalar.length};
}

bool Scalar::isNull() const noexcept {
  const yaml_scalar_style_t style = raw().data.scalar.style;
  if (style != YAML_PLAIN_SCALAR_STYLE && style != YAML_ANY_SCALAR_STYLE) return false;
  return detail::isNullText(text());
}

namespace detail {

bool isNullText(std::string_view text) noexcept {
  if (text.empty() || text == "~") return true;
  if (text.size() != 4) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != "null"[i]) return false;
  }
  return true;
}

}  // namespace detail
}  // namespace nuv::yaml

namespace nuv {

std::string toString(yaml::EventType type) {
  switch (type) {
    case yaml::EventType::Unknown:
      return "Unknown";
    case yaml::EventType::StreamStart:
      return "StreamStart";
    case yaml::EventType::StreamEnd:
      return "StreamEnd";
    case yaml::EventType::DocumentStart:
      return "DocumentStart";
    case yaml::EventType::DocumentEnd:
      return "DocumentEnd";
    case yaml::EventType::Scalar:
      return "Scalar";
    case yaml::EventType::ListStart:
      return "ListStart";
    case yaml::EventType::ListEnd:
      return "ListEnd";
    case yaml::EventType::MapStart:
      return "MapStart";
    case yaml::EventType::MapEnd:
      return "MapEnd";
  }
  return "Unknown";
}

}  // namespace nuv
