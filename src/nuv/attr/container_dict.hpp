// `nuv::attr::ContainerDict`: the value handle of a shared container dictionary.
//
// Every operation goes to the held dictionary. Made empty or from null, it answers size() 0,
// indexKeys() the shared empty list, no names or keys, contains() false and operator[] an empty
// BaseContainer (type 0). Typed views of model input derive from it.
#ifndef NUV_ATTR_CONTAINER_DICT_HPP_
#define NUV_ATTR_CONTAINER_DICT_HPP_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "nuv/attr/abstract_container_dict.hpp"
#include "nuv/attr/base_container.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"

namespace nuv::attr {

class ContainerDict : public AbstractContainerDict {
 public:
  ContainerDict() noexcept = default;
  // A null pointer gives the empty handle.
  ContainerDict(std::shared_ptr<const AbstractContainerDict>
                    dict) noexcept  // NOLINT(google-explicit-constructor)
      : dict_(std::move(dict)) {}

  [[nodiscard]] const std::shared_ptr<const AbstractContainerDict>& shared() const noexcept {
    return dict_;
  }
  [[nodiscard]] bool empty() const noexcept { return dict_ == nullptr; }

  [[nodiscard]] Index size() const override { return dict_ ? dict_->size() : 0; }
  [[nodiscard]] idx::List indexKeys() const override {
    return dict_ ? dict_->indexKeys() : idx::List();
  }
  [[nodiscard]] std::optional<std::string> stringKey(Index key) const override {
    if (!dict_) return std::nullopt;
    return dict_->stringKey(key);
  }
  [[nodiscard]] std::optional<Index> indexKey(std::string_view name) const override {
    if (!dict_) return std::nullopt;
    return dict_->indexKey(name);
  }
  [[nodiscard]] bool contains(Index key) const override { return dict_ && dict_->contains(key); }
  [[nodiscard]] bool contains(std::string_view name) const override {
    return dict_ && dict_->contains(name);
  }
  [[nodiscard]] BaseContainer operator[](Index key) const override {
    return dict_ ? (*dict_)[key] : BaseContainer();
  }
  [[nodiscard]] BaseContainer operator[](std::string_view name) const override {
    return dict_ ? (*dict_)[name] : BaseContainer();
  }

 private:
  std::shared_ptr<const AbstractContainerDict> dict_;
};

}  // namespace nuv::attr

#endif  // NUV_ATTR_CONTAINER_DICT_HPP_
