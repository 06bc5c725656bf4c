// Containers and items for the tests of the attribute interfaces and handles: distinct values
// per value type, a read-only container and a recording vector-backed one, a minimal item and a
// stored one.
#ifndef TESTS_NUV_ATTR_TEST_ATTRIBUTES_HPP_
#define TESTS_NUV_ATTR_TEST_ATTRIBUTES_HPP_

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/abstract_item.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/types.hpp"

namespace nuv::attr::testing {

// A value of T that differs for every k.
template <class T>
T value(int k) {
  if constexpr (std::is_same_v<T, std::string>) {
    return "v" + std::to_string(k);
  } else if constexpr (std::is_same_v<T, double>) {
    return k + 0.5;
  } else {
    return static_cast<T>(k);
  }
}

// values[elem][item]; overrides only what every container must provide.
template <class T>
class ReadOnlyContainer : public AbstractContainer<T> {
 public:
  using AbstractContainer<T>::get;

  explicit ReadOnlyContainer(std::vector<std::vector<T>> values)
      : values_(std::move(values)),
        itemCount_(values_.empty() ? 0 : static_cast<Index>(values_[0].size())) {}
  // An item count that need not match the values (to test what the defaults do with it).
  ReadOnlyContainer(std::vector<std::vector<T>> values, Index itemCount)
      : values_(std::move(values)), itemCount_(itemCount) {}

  [[nodiscard]] Index itemCount() const override { return itemCount_; }
  [[nodiscard]] Index elemCount() const override { return static_cast<Index>(values_.size()); }
  [[nodiscard]] T get(Index item, Index elem) const override {
    return values_.at(static_cast<std::size_t>(elem)).at(static_cast<std::size_t>(item));
  }

 protected:
  std::vector<std::vector<T>> values_;
  Index itemCount_;
};

// A writable container that records its block calls and can fail at one item.
template <class T>
class RecordingContainer final : public ReadOnlyContainer<T> {
 public:
  using AbstractContainer<T>::get;
  using AbstractContainer<T>::set;
  using AbstractContainer<T>::setAll;

  RecordingContainer(Index itemCount, Index elemCount)
      : ReadOnlyContainer<T>(
            std::vector<std::vector<T>>(static_cast<std::size_t>(elemCount),
                                        std::vector<T>(static_cast<std::size_t>(itemCount)))) {}

  [[nodiscard]] bool supportsSet() const override { return true; }
  void set(Index item, const T& value, Index elem) override {
    if (item == failAt) throw std::runtime_error("write failed");
    this->values_.at(static_cast<std::size_t>(elem)).at(static_cast<std::size_t>(item)) = value;
  }
  void get(const idx::List& list, std::span<T> values, Index elem) const override {
    ++listReads;
    AbstractContainer<T>::get(list, values, elem);
  }
  void set(const idx::List& list, std::span<const T> values, Index elem) override {
    listWrites.push_back(elem);
    AbstractContainer<T>::set(list, values, elem);
  }

  [[nodiscard]] const std::vector<T>& element(Index elem) const {
    return this->values_.at(static_cast<std::size_t>(elem));
  }

  Index failAt = -1;
  mutable int listReads = 0;
  std::vector<Index> listWrites;
};

// Overrides only what every item must provide.
template <class T>
class MinimalItem : public AbstractItem<T> {
 public:
  explicit MinimalItem(T value) : value_(std::move(value)) {}
  [[nodiscard]] Index elemCount() const override { return 1; }
  [[nodiscard]] T get(Index /*elem*/) const override { return value_; }

 protected:
  T value_;
};

// An item that stores what it is given and accepts every value but the refused one, which is
// also its default.
template <class T>
class StoredItem final : public MinimalItem<T> {
 public:
  StoredItem(T value, T refused) : MinimalItem<T>(std::move(value)), refused_(std::move(refused)) {}
  [[nodiscard]] bool supportsDefault() const override { return true; }
  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] bool supportsReset() const override { return true; }
  [[nodiscard]] bool supportsElemAdd(Index count) const override { return count <= 1; }
  [[nodiscard]] std::optional<T> supportsValue(const T& value) const override {
    if (value == refused_) return std::nullopt;
    return value;
  }
  [[nodiscard]] T getDefault() const override { return refused_; }
  void set(const T& value, Index /*elem*/) override { this->value_ = value; }
  void reset() override { this->value_ = T{}; }

 private:
  T refused_;
};

}  // namespace nuv::attr::testing

#endif  // TESTS_NUV_ATTR_TEST_ATTRIBUTES_HPP_
