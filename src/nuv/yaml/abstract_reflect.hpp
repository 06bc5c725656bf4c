// `nuv::yaml::AbstractReflect`: an object that writes and reads itself as YAML, property by
// property.
//
// The caller frames the pairs (stream, document, mapping) and reads the keys; the object writes
// and reads only what belongs to a property. Property names compare byte for byte. The virtual
// operations are in the order closed code calls them; do not reorder them and do not add any.
#ifndef NUV_YAML_ABSTRACT_REFLECT_HPP_
#define NUV_YAML_ABSTRACT_REFLECT_HPP_

#include <string>

#include "nuv/tag.hpp"

namespace nuv::yaml {

class Emitter;
class Parser;

class AbstractReflect {
 public:
  virtual ~AbstractReflect() = default;

  [[nodiscard]] virtual std::string className() const = 0;
  [[nodiscard]] virtual bool propExists(Tag property) const = 0;
  [[nodiscard]] virtual bool propIsDefault(Tag property) const = 0;
  [[nodiscard]] virtual bool propsIsDefault() const = 0;
  // Writes the value (not the key) of one property; an unknown property writes nothing.
  virtual void propTo(Tag property, Emitter& emitter) const = 0;
  // Writes key and value of every property that is not at its default, in a fixed order.
  virtual void propsTo(Emitter& emitter) const = 0;
  // Reads the value of one property from the parser's next events; an unknown property reads
  // nothing.
  virtual void propFrom(Tag property, Parser& parser) = 0;

 protected:
  AbstractReflect() = default;
  AbstractReflect(const AbstractReflect&) = default;
  AbstractReflect& operator=(const AbstractReflect&) = default;
};

}  // namespace nuv::yaml

#endif  // NUV_YAML_ABSTRACT_REFLECT_HPP_
