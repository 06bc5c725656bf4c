// `nuv::yaml::Registry`: the agents that read and write value types the YAML layer does not
// convert itself (documentation objects, for instance).
//
// Agents are shared; the first agent whose dynamic type is `AbstractAgent<T>` serves T. The
// virtual operations of the agents are in the order closed code calls them; do not reorder them.
#ifndef NUV_YAML_REGISTRY_HPP_
#define NUV_YAML_REGISTRY_HPP_

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace nuv::yaml {

class Emitter;
class Parser;

class Registry {
 public:
  class AbstractBaseAgent {
   public:
    virtual ~AbstractBaseAgent() = default;
    // The name of the value type the agent serves (for listings; the YAML layer does not ask).
    [[nodiscard]] virtual std::string_view typeName() const = 0;
  };

  template <class T>
  class AbstractAgent : public AbstractBaseAgent {
   public:
    virtual void write(Emitter& emitter, const T& value) = 0;
    virtual void read(Parser& parser, T& value) = 0;
  };

  void add(std::shared_ptr<AbstractBaseAgent> agent) { agents_.push_back(std::move(agent)); }

  // The first agent for T, shared, or null.
  template <class T>
  [[nodiscard]] std::shared_ptr<AbstractAgent<T>> find() const {
    for (const auto& agent : agents_) {
      if (auto typed = std::dynamic_pointer_cast<AbstractAgent<T>>(agent)) return typed;
    }
    return nullptr;
  }

 private:
  std::vector<std::shared_ptr<AbstractBaseAgent>> agents_;
};

}  // namespace nuv::yaml

namespace nuv::impl {

// The compile-time name of T as the compiler spells it, for example
// "nuv::View<const nuv::attr::AbstractDoc>".
template <class T>
constexpr std::string_view wrappedTypeName() {
  constexpr std::string_view function = __PRETTY_FUNCTION__;
  constexpr std::string_view marker = "T = ";
  constexpr auto first = function.find(marker) + marker.size();
  constexpr auto last = function.find_first_of(";]", first);
  return function.substr(first, last - first);
}

}  // namespace nuv::impl

#endif  // NUV_YAML_REGISTRY_HPP_
