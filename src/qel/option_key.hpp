// Option keys: the integer that names one solver option.
//
// A key is refId * 10000 + refKind * 100 + refBit, a non-negative 32-bit integer:
//   - refKind, the hundreds digit, is the value kind (RefKind);
//   - refBit, the last two digits, is 0 except for a single bit of an integer control, where it
//     counts the bit from 1 (refBit b stands for the bit of value 2^(b-1));
//   - refId says what the option acts on: 0 to 999 an option the plug-in applies itself, 6000 to
//     6199 and 7000 upwards an optimizer control, 6200 to 6598 a control of the MIP solution pool,
//     6600 to 6698 a control of the solution enumerator; other ids name no option. For controls
//     the refId is the optimizer's number of the control.
// The thousands digit is always 0. A negative key names no option; the helpers below decode
// non-negative keys only.
#ifndef QEL_OPTION_KEY_HPP_
#define QEL_OPTION_KEY_HPP_

namespace qel {

// The value kind of an option, as the hundreds digit of its key.
enum class RefKind : int {
  Int = 1,
  Double = 2,
  String = 3,
  Bit = 4,  // one bit of an integer control
};

// What the option acts on (key / 10000).
[[nodiscard]] constexpr int refId(int key) noexcept { return key / 10000; }

// The value kind digit ((key / 100) mod 10); digits other than 1 to 4 name no kind.
[[nodiscard]] constexpr RefKind refKind(int key) noexcept {
  return static_cast<RefKind>((key / 100) % 10);
}

// The bit number counted from 1 (key mod 100); 0 for a whole value.
[[nodiscard]] constexpr int refBit(int key) noexcept { return key % 100; }

}  // namespace qel

#endif  // QEL_OPTION_KEY_HPP_
