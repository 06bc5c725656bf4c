#include "qel/solver/solver_attribs_dict.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "nuv/idx/lib/list.hpp"
#include "qel/data.hpp"
#include "qel/option_key.hpp"
#include "qel/solver/control.hpp"
#include "qel/solver_attribs.hpp"

namespace qel {
namespace {

// Hashes names as string views, so that a lookup needs no std::string.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const noexcept {
    return std::hash<std::string_view>{}(name);
  }
};

using NameMap = std::unordered_map<std::string, int, NameHash, std::equal_to<>>;
using KeyMap = std::unordered_map<int, std::string>;

// ASCII only: the names are ASCII, and a host's locale must not change which name matches.
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerCased(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
  return lower;
}

// Each map is built by its first user under its own mutex and only read afterwards, so the
// lookup itself runs without the lock. On a repeated entry the first one stays.
const NameMap& attribLookupByName() {
  static std::mutex mutex;
  static std::unique_ptr<const NameMap> map;
  const std::lock_guard lock(mutex);
  if (!map) {
    auto built = std::make_unique<NameMap>();
    built->reserve(kSolverAttribCount);
    forEachSolverAttrib(
        [&](const auto& row) { built->emplace(lowerCased(*row.name().get()), row.ref().value()); });
    map = std::move(built);
  }
  return *map;
}

const KeyMap& attribLookupByIndex() {
  static std::mutex mutex;
  static std::unique_ptr<const KeyMap> map;
  const std::lock_guard lock(mutex);
  if (!map) {
    auto built = std::make_unique<KeyMap>();
    built->reserve(kSolverAttribCount);
    forEachSolverAttrib(
        [&](const auto& row) { built->emplace(row.ref().value(), *row.name().get()); });
    map = std::move(built);
  }
  return *map;
}

// The lower-cased copy goes to a buffer on the stack when it fits, which every option name does,
// so that a lookup allocates nothing.
std::optional<int> keyOf(std::string_view name) {
  const NameMap& map = attribLookupByName();
  std::array<char, 64> buffer;
  std::string longName;
  std::string_view lower;
  if (name.size() <= buffer.size()) {
    std::transform(name.begin(), name.end(), buffer.begin(), lowerAscii);
    lower = std::string_view(buffer.data(), name.size());
  } else {
    longName = lowerCased(name);
    lower = longName;
  }
  const auto found = map.find(lower);
  if (found == map.end()) return std::nullopt;
  return found->second;
}

// A control of the pool or the enumerator: integer or double by kind, nothing else.
template <class P>
nuv::attr::BaseItem poolControl(const std::shared_ptr<P>& target, int id, int kind) {
  switch (kind) {
    case static_cast<int>(RefKind::Int):
      return std::make_shared<Control<P, int>>(target, id);
    case static_cast<int>(RefKind::Double):
      return std::make_shared<Control<P, double>>(target, id);
    default:
      return {};
  }
}

nuv::attr::BaseItem linkOption(const LinkAttribs& link, int key, int kind) {
  switch (kind) {
    case static_cast<int>(RefKind::String):
      return link.getStr(key);
    case static_cast<int>(RefKind::Bit):
      return LinkAttribs::getBool(key);
    case static_cast<int>(RefKind::Int):
      return link.getInt(key);
    case static_cast<int>(RefKind::Double):
      return LinkAttribs::getDbl(key);
    default:
      return {};
  }
}

nuv::attr::BaseItem probControl(const std::weak_ptr<XpressProbInterface>& target, int id, int kind,
                                int bit) {
  if (bit > 0) {
    // Bits of a 32-bit control only: a larger bit part would shift past the value.
    if (bit - 1 > BitControl::kMaxBit) return {};
    return std::make_shared<BitControl>(target, id, bit - 1);
  }
  switch (kind) {
    case static_cast<int>(RefKind::Double):
      return std::make_shared<Control<XpressProbInterface, double>>(target, id);
    case static_cast<int>(RefKind::String):
      return std::make_shared<Control<XpressProbInterface, std::string>>(target, id);
    case static_cast<int>(RefKind::Int):
      return std::make_shared<Control<XpressProbInterface, int>>(target, id);
    default:
      return {};
  }
}

}  // namespace

nuv::Index SolverAttribs::size() const { return static_cast<nuv::Index>(kSolverAttribCount); }

nuv::idx::List SolverAttribs::indexKeys() const {
  const NameMap& map = attribLookupByName();
  auto keys = std::make_shared<nuv::idx::lib::List>();
  keys->entries().reserve(map.size());
  for (const auto& entry : map) keys->push_back(entry.second);
  return nuv::idx::List(std::move(keys));
}

std::optional<std::string> SolverAttribs::stringKey(nuv::Index key) const {
  const KeyMap& map = attribLookupByIndex();
  const auto found = map.find(key);
  if (found == map.end()) return std::nullopt;
  return found->second;
}

std::optional<nuv::Index> SolverAttribs::indexKey(std::string_view name) const {
  return keyOf(name);
}

bool SolverAttribs::contains(nuv::Index key) const { return attribLookupByIndex().contains(key); }

bool SolverAttribs::contains(std::string_view name) const { return keyOf(name).has_value(); }

nuv::attr::BaseItem SolverAttribs::operator[](nuv::Index key) const {
  const std::shared_ptr<Data> data = data_.lock();
  if (!data || key < 0) return {};
  const int id = refId(key);
  const int kind = static_cast<int>(refKind(key));
  if (id <= 999) return linkOption(*data->linkAttribs, key, kind);
  if ((id >= 6000 && id <= 6199) || id >= 7000) {
    const std::weak_ptr<XpressProbInterface> target =
        context_ != nullptr ? std::weak_ptr<XpressProbInterface>(data->callbackState.probView)
                            : std::weak_ptr<XpressProbInterface>(data->prob);
    return probControl(target, id, kind, refBit(key));
  }
  if (id >= 6200 && id <= 6598) return poolControl(data->solPool, id, kind);
  if (id >= 6600 && id <= 6698) return poolControl(data->solEnum, id, kind);
  return {};
}

nuv::attr::BaseItem SolverAttribs::operator[](std::string_view name) const {
  const std::optional<int> key = keyOf(name);
  return key ? (*this)[*key] : nuv::attr::BaseItem();
}

}  // namespace qel
