// Items over single Xpress controls and attributes: the values the option dictionary and the
// standard solver attributes hand out.
//
//   qel::Control<P, T>   one whole control of a problem (int, double, string), of the solution
//                        pool or of the solution enumerator (int, double);
//   qel::BitControl      one bit of an integer problem control, shown as 0 or 1;
//   qel::Attrib<qel::XpressProbInterface, T>   one problem attribute (int, double), read only.
//
// Every item has exactly one element (the element argument is never looked at), holds a weak
// reference to its wrapper and the control or attribute number, stores no value and calls the
// wrapper at the moment of each read or write. While the wrapper is alive its errors pass through
// unchanged (qel::XpressException, the start guard); once it is gone (or was never made) the item
// answers neutrally: elemCount 0, reads 0, 0.0 or "", writes and resets ignored.
//
//   qel::BitControl bit(prob, 8077, 0);   // presolve operations, bit 0
//   bit.get(0);                           // 1 while the control holds 511
//   bit.set(0, 0);                        // writes 510: the control counts as set by the user
//
// No item offers a default (getDefault raises "Attribute Error (0)") or checks a value:
// supportsValue passes it unchanged (a bit item answers 0 or 1), and a value out of an option's
// range goes to Xpress, which decides. Problem controls reset to the Xpress default; bit items
// and attributes refuse reset ("Attribute Error (2)") and attributes refuse set ("Attribute
// Error (1)"); pool and enumerator controls ignore reset. No lock is taken; a bit item's write is
// a read and a write of the whole control, not atomic against other writers.
#ifndef QEL_SOLVER_CONTROL_HPP_
#define QEL_SOLVER_CONTROL_HPP_

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "nuv/attr/abstract_item.hpp"
#include "nuv/types.hpp"

namespace qel {

class XpressProbInterface;
class XpressSolPool;
class XpressSolEnum;

// Instances: P XpressProbInterface with T int, double or std::string; P XpressSolPool or
// XpressSolEnum with T int or double.
template <class P, class T>
class Control : public nuv::attr::AbstractItem<T> {
 public:
  Control(std::weak_ptr<P> target, int control) : target_(std::move(target)), control_(control) {}

  [[nodiscard]] bool supportsSet() const override { return true; }
  // Only problem controls have an Xpress default to return to.
  [[nodiscard]] bool supportsReset() const override { return kProblem; }
  // 1 while the wrapper exists; asks Xpress nothing.
  [[nodiscard]] nuv::Index elemCount() const override { return target_.expired() ? 0 : 1; }
  // A problem control returns to its Xpress default and stays recorded as set; a pool or
  // enumerator control ignores reset.
  void reset() override;
  [[nodiscard]] T get(nuv::Index elem) const override;
  void set(const T& value, nuv::Index elem) override;

  [[nodiscard]] int control() const noexcept { return control_; }

 protected:
  static constexpr bool kProblem = std::is_same_v<P, XpressProbInterface>;

  // The wrapper, or null once it is gone.
  [[nodiscard]] std::shared_ptr<P> target() const { return target_.lock(); }

 private:
  std::weak_ptr<P> target_;
  int control_;
};

extern template class Control<XpressProbInterface, int>;
extern template class Control<XpressProbInterface, double>;
extern template class Control<XpressProbInterface, std::string>;
extern template class Control<XpressSolPool, int>;
extern template class Control<XpressSolPool, double>;
extern template class Control<XpressSolEnum, int>;
extern template class Control<XpressSolEnum, double>;

class BitControl final : public nuv::attr::AbstractItem<int> {
 public:
  // The highest bit of a 32-bit control.
  static constexpr int kMaxBit = 31;

  // bit counts from 0 and must lie in 0 to kMaxBit (else the "Check Error" for "bit").
  BitControl(std::weak_ptr<XpressProbInterface> target, int control, int bit);

  [[nodiscard]] bool supportsSet() const override { return true; }
  [[nodiscard]] nuv::Index elemCount() const override { return target_.expired() ? 0 : 1; }
  // Any non-zero value stands for a set bit.
  [[nodiscard]] std::optional<int> supportsValue(const int& value) const override {
    return value != 0 ? 1 : 0;
  }
  // The bit of the whole control, 0 or 1.
  [[nodiscard]] int get(nuv::Index elem) const override;
  // Reads the whole control, sets (value != 0) or clears the bit and writes the control back.
  void set(const int& value, nuv::Index elem) override;

  [[nodiscard]] int control() const noexcept { return control_; }
  [[nodiscard]] int bit() const noexcept { return bit_; }

 private:
  std::weak_ptr<XpressProbInterface> target_;
  int control_;
  int bit_;
};

// Instances: P XpressProbInterface with T int or double.
template <class P, class T>
class Attrib final : public nuv::attr::AbstractItem<T> {
 public:
  Attrib(std::weak_ptr<P> target, int attrib) : target_(std::move(target)), attrib_(attrib) {}

  [[nodiscard]] nuv::Index elemCount() const override { return target_.expired() ? 0 : 1; }
  [[nodiscard]] T get(nuv::Index elem) const override;

  [[nodiscard]] int attrib() const noexcept { return attrib_; }

 private:
  std::weak_ptr<P> target_;
  int attrib_;
};

extern template class Attrib<XpressProbInterface, int>;
extern template class Attrib<XpressProbInterface, double>;

}  // namespace qel

#endif  // QEL_SOLVER_CONTROL_HPP_
