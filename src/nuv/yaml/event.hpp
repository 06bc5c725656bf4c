// Events of the framework's YAML layer over libyaml.
//
// `nuv::yaml::Event` owns one libyaml event record and releases it exactly once; moving an event
// leaves the source empty. The kind is kept as libyaml reports it; `type()` maps it onto
// `nuv::yaml::EventType`, whose numbering differs from libyaml's (an alias maps to `Unknown`, as
// does the "no event" libyaml answers after the end of a stream). `nuv::yaml::Position` is a place
// in the input counted from line 1 and column 1.
#ifndef NUV_YAML_EVENT_HPP_
#define NUV_YAML_EVENT_HPP_

#include <yaml.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace nuv::yaml {

enum class EventType : std::uint8_t {
  Unknown = 0,
  StreamStart = 1,
  StreamEnd = 2,
  DocumentStart = 3,
  DocumentEnd = 4,
  Scalar = 5,
  ListStart = 6,
  ListEnd = 7,
  MapStart = 8,
  MapEnd = 9,
};

// The style a written scalar asks libyaml for; any other value lets libyaml choose.
enum class ScalarStyle : std::uint8_t {
  Plain = 0,
  SingleQuoted = 1,
  DoubleQuoted = 2,
  Literal = 3,
  Folded = 4,
};

struct Position {
  std::uint64_t line = 0;    // from 1
  std::uint64_t column = 0;  // from 1
  std::uint64_t index = 0;   // character offset as libyaml counts it, from 0

  // libyaml counts lines and columns from 0.
  static Position fromMark(const yaml_mark_t& mark) noexcept {
    return {mark.line + 1, mark.column + 1, mark.index};
  }
  friend bool operator==(const Position&, const Position&) = default;
};

class Event {
 public:
  // An empty event (libyaml's "no event"); it owns nothing.
  Event() noexcept;
  Event(Event&& other) noexcept;
  Event& operator=(Event&& other) noexcept;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  ~Event();

  // The record itself, for libyaml calls that fill or consume it.
  [[nodiscard]] yaml_event_t* raw() noexcept { return &event_; }
  [[nodiscard]] const yaml_event_t& raw() const noexcept { return event_; }

  [[nodiscard]] EventType type() const noexcept;
  [[nodiscard]] bool empty() const noexcept { return event_.type == YAML_NO_EVENT; }
  [[nodiscard]] Position start() const noexcept { return Position::fromMark(event_.start_mark); }
  [[nodiscard]] Position end() const noexcept { return Position::fromMark(event_.end_mark); }

  // Marks the record empty without releasing it: libyaml has taken it over.
  void forget() noexcept;

 private:
  yaml_event_t event_;
};

// An event known to be a scalar.
class Scalar : public Event {
 public:
  Scalar() noexcept = default;
  // Takes over an event whose libyaml kind is scalar; the caller has checked the kind.
  explicit Scalar(Event&& event) noexcept : Event(std::move(event)) {}

  // The scalar's characters, exactly as libyaml delivered them.
  [[nodiscard]] std::string_view text() const noexcept;
  // True for a plain (or unspecified) style that is empty, "~" or "null" in any case.
  [[nodiscard]] bool isNull() const noexcept;
};

namespace detail {

// True for the texts that a plain scalar turns into a null: empty, "~" and "null" in any case.
bool isNullText(std::string_view text) noexcept;

}  // namespace detail
}  // namespace nuv::yaml

namespace nuv {

// "Unknown", "StreamStart", ..., "MapEnd"; "Unknown" for any value outside the enumeration.
std::string toString(yaml::EventType type);

}  // namespace nuv

#endif  // NUV_YAML_EVENT_HPP_
