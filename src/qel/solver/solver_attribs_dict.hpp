// `qel::SolverAttribs`: the solver's option dictionary. It presents the 761 options of the option
// tables (qel/solver_attribs.hpp) as items, by option key or by name without regard to case.
//
// Names and keys come from the tables; which item a key yields is decided from the key's digits
// alone (qel/option_key.hpp), so a key in a served range that no option has still yields an item
// on that control number while contains() is false for it:
//   refId 0 to 999          a link option of qel::Data (kind 1 integer, 3 string; kinds 2 and
//                           4 give a handle with the kind's type code but no item);
//   refId 6000 to 6199 and 7000 upwards
//                           an Xpress problem control, on the callback problem view when the
//                           dictionary was made for a callback context, else on the main
//                           problem: refBit 1 to 32 a qel::BitControl on bit refBit - 1 (any
//                           kind), else kind 1 integer, 2 double, 3 string;
//   refId 6200 to 6598      a solution pool control, kind 1 integer or 2 double;
//   refId 6600 to 6698      a solution enumerator control, kind 1 integer or 2 double.
// Any other key, a negative key, refBit 33 to 99 (no bit of a 32-bit control) and a vanished
// qel::Data give the empty handle. Every operator[] builds a new item bound to the wrapper object
// qel::Data holds at that moment (items are described in qel/solver/control.hpp); nothing is
// cached and nothing raises at lookup.
//
//   qel::SolverAttribs options(data, /*context=*/nullptr);
//   nuv::attr::Item<double> feasTol(options["FeasTol"]);   // key 70030200, control 7003
//   feasTol.set(1e-7, 0);
//
// size() is always 761, and size, keys and names answer from the tables also once qel::Data is
// gone. Two process-wide maps serve the lookups (lower-cased name to key, key to name as spelt);
// each is built on its first use under its own mutex and never changed afterwards. The context is
// not owned; only whether it is null matters.
#ifndef QEL_SOLVER_SOLVER_ATTRIBS_DICT_HPP_
#define QEL_SOLVER_SOLVER_ATTRIBS_DICT_HPP_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "nuv/attr/abstract_item_dict.hpp"
#include "nuv/attr/base_item.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/tag.hpp"
#include "nuv/types.hpp"

namespace qel {

class Data;

class SolverAttribs final : public nuv::attr::AbstractItemDict {
 public:
  SolverAttribs(std::weak_ptr<Data> data, const nuv::TagIndex* context)
      : data_(std::move(data)), context_(context) {}

  [[nodiscard]] nuv::Index size() const override;
  // Every option key, in the order of the name map.
  [[nodiscard]] nuv::idx::List indexKeys() const override;
  // The name as spelt in its table.
  [[nodiscard]] std::optional<std::string> stringKey(nuv::Index key) const override;
  [[nodiscard]] std::optional<nuv::Index> indexKey(std::string_view name) const override;
  [[nodiscard]] bool contains(nuv::Index key) const override;
  [[nodiscard]] bool contains(std::string_view name) const override;
  [[nodiscard]] nuv::attr::BaseItem operator[](nuv::Index key) const override;
  [[nodiscard]] nuv::attr::BaseItem operator[](std::string_view name) const override;

 private:
  std::weak_ptr<Data> data_;
  const nuv::TagIndex* context_;  // not owned
};

}  // namespace qel

#endif  // QEL_SOLVER_SOLVER_ATTRIBS_DICT_HPP_
