// `qel::LinkAttribs`: the link options, which the plug-in applies itself during a solve instead
// of handing them to an Xpress control.
//
// Thirteen items, each unset until the host sets it and guarded by its row of the option tables
// (integer rows 0 to 10 and string rows 0 and 1; see solver_attribs.hpp):
//   integers: advbasis, loadmipsol, rerun, savefile, solnpoolcapacity, solnpoolcullrounds,
//             solnpoolpop, solnpoolverbosity, tuner, writeprtsol, xslp_multistartpreset
//   strings:  basisout, mpsoutputfile
// An item answers its default and accepted values from its row: supportsValue clamps an integer
// into the row's bounds, while set stores any value unchanged (a writer that wants the range asks
// supportsValue first). The two strings have no default: getDefault raises "Attribute Error (0)".
// Reading an unset item with get raises std::bad_optional_access; readers take the value with
// linkValue, which applies the default rule.
//
//   qel::LinkAttribs options;
//   linkValue(*options.solnpoolcapacity());     // 1, the default
//   options.getInt(1050100)->set(5, 0);         // the same item, by option key
//   linkValue(*options.basisout());             // std::nullopt: unset
//
// The rows are borrowed, never copied: the option tables live as long as the library. No lock is
// taken.
#ifndef QEL_LINK_ATTRIBS_HPP_
#define QEL_LINK_ATTRIBS_HPP_

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "nuv/attr/item.hpp"
#include "nuv/attr/view/with_info_item.hpp"

namespace qel {

class LinkAttribs {
 public:
  template <class T>
  using Item = nuv::attr::view::WithInfoItem<nuv::attr::Item<T>>;
  using IntItem = Item<int>;
  using StrItem = Item<std::string>;

  // All thirteen options unset. The option tables must have been built (they are when the
  // library is loaded).
  LinkAttribs();

  // The item whose option key is exactly key (a shared handle to the one item); empty for any
  // key that names no link option of that type. Never raises.
  [[nodiscard]] std::shared_ptr<IntItem> getInt(int key) const;
  [[nodiscard]] std::shared_ptr<StrItem> getStr(int key) const;
  // There are no double or boolean link options: always empty.
  [[nodiscard]] static std::shared_ptr<Item<double>> getDbl(int key);
  [[nodiscard]] static std::shared_ptr<Item<bool>> getBool(int key);

  // The items themselves, in table order.
  [[nodiscard]] const std::shared_ptr<IntItem>& advbasis() const { return ints_[0]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& loadmipsol() const { return ints_[1]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& rerun() const { return ints_[2]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& savefile() const { return ints_[3]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& solnpoolcapacity() const { return ints_[4]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& solnpoolcullrounds() const { return ints_[5]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& solnpoolpop() const { return ints_[6]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& solnpoolverbosity() const { return ints_[7]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& tuner() const { return ints_[8]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& writeprtsol() const { return ints_[9]; }
  [[nodiscard]] const std::shared_ptr<IntItem>& xslp_multistartpreset() const { return ints_[10]; }
  [[nodiscard]] const std::shared_ptr<StrItem>& basisout() const { return strs_[0]; }
  [[nodiscard]] const std::shared_ptr<StrItem>& mpsoutputfile() const { return strs_[1]; }

  // Makes all thirteen options unset again, in table order.
  void reset();

 private:
  static constexpr std::size_t kIntCount = 11;
  static constexpr std::size_t kStrCount = 2;

  std::array<std::shared_ptr<IntItem>, kIntCount> ints_;
  std::array<std::shared_ptr<StrItem>, kStrCount> strs_;
};

// The value of an integer link option: the value held, else the default of its row.
[[nodiscard]] int linkValue(const LinkAttribs::IntItem& item);
// The value of a string link option: the text held (possibly empty), else none.
[[nodiscard]] std::optional<std::string> linkValue(const LinkAttribs::StrItem& item);

}  // namespace qel

#endif  // QEL_LINK_ATTRIBS_HPP_
