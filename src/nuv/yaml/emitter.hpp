// `nuv::yaml::Emitter`: an event writer over libyaml with typed writers.
//
// `emit` hands one event to libyaml and applies the block-depth rule: with `blockDepth` N, the
// first N levels of collections are written in block style and the level below them (with all it
// holds) in flow style; a negative depth forces nothing. Writers (`operator<<`) emit one scalar
// each, with no anchor and no tag. Failures raise `nuv::yaml::EmitterException` ("YAML Emitter
// Error").
//
// Creating an emitter: the creator initialises `state()` with `yaml_emitter_initialize`, gives it
// its output, writes the stream, document and collection framing through `emit`, and calls
// `yaml_emitter_delete` once done; the emitter itself never initialises or releases the libyaml
// state.
#ifndef NUV_YAML_EMITTER_HPP_
#define NUV_YAML_EMITTER_HPP_

#include <yaml.h>

#include <optional>
#include <string>
#include <string_view>

#include "nuv/attr/abstract_doc.hpp"
#include "nuv/view.hpp"
#include "nuv/yaml/emitter_exception.hpp"
#include "nuv/yaml/event.hpp"
#include "nuv/yaml/registry.hpp"

namespace nuv::yaml {

class Emitter {
 public:
  // `registry` must outlive the emitter.
  Emitter(Registry& registry, int blockDepth) noexcept;
  Emitter(const Emitter&) = delete;
  Emitter& operator=(const Emitter&) = delete;
  ~Emitter() = default;

  [[nodiscard]] yaml_emitter_t& state() noexcept { return state_; }
  [[nodiscard]] Registry& registry() const noexcept { return registry_; }
  [[nodiscard]] int blockDepth() const noexcept { return blockDepth_; }

  // Passes the event to libyaml, which takes it over whether or not the call succeeds: the
  // caller's record is empty afterwards. A null event is ignored.
  void emit(Event* event);
  // Emits a scalar of exactly these characters with both implicit flags set. A given anchor or
  // tag must not be empty (`nuv::CheckException`, code 7).
  void scalar(std::string_view value, const char* anchor, const char* tag, ScalarStyle style);
  void scalar(const char* value, const char* anchor, const char* tag, ScalarStyle style);
  // Raises "Cannot flush" (code 2) when libyaml cannot write out.
  void flush();

 private:
  yaml_emitter_t state_;
  Registry& registry_;
  int blockDepth_;
};

// "1" or "0"; the decimal number; "0" for zero or the general notation with 15 significant
// digits ("1e+20", "inf"), all plain. A string up to its first NUL character, plain, or
// single-quoted when a plain scalar of it would read as a null (empty, "~", "null" in any case),
// so that it reads back as the same text.
Emitter& operator<<(Emitter& emitter, bool value);
Emitter& operator<<(Emitter& emitter, int value);
Emitter& operator<<(Emitter& emitter, double value);
Emitter& operator<<(Emitter& emitter, const std::string& value);
// A literal would otherwise be written as a boolean.
Emitter& operator<<(Emitter& emitter, const char* value) = delete;

// The value as above, or a plain "~" when empty.
Emitter& operator<<(Emitter& emitter, const std::optional<int>& value);
Emitter& operator<<(Emitter& emitter, const std::optional<bool>& value);
Emitter& operator<<(Emitter& emitter, const std::optional<double>& value);
Emitter& operator<<(Emitter& emitter, const std::optional<std::string>& value);

// Written by the registry's agent for documentation views; without one the emitter is flushed and
// "Registry agent required for 'nuv::View<const nuv::attr::AbstractDoc>'." raised with code 4.
Emitter& operator<<(Emitter& emitter, const View<const attr::AbstractDoc>& value);

}  // namespace nuv::yaml

#endif  // NUV_YAML_EMITTER_HPP_
