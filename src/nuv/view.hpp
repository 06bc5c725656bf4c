// `nuv::View`: an object handed out together with the knowledge whether the receiver owns it.
//
// An owning view deletes its object when destroyed (through the virtual destructor of a
// polymorphic type); a borrowing view leaves it alone and is valid only while the producer keeps
// the object. Views move and never copy.
#ifndef NUV_VIEW_HPP_
#define NUV_VIEW_HPP_

#include <memory>
#include <utility>

namespace nuv {

template <class T>
class View {
 public:
  View() noexcept = default;
  View(T* object, bool owns) noexcept : object_(object), owns_(owns) {}

  // An owning view of a new object.
  static View owning(std::unique_ptr<T> object) noexcept { return View(object.release(), true); }
  // A view of an object the producer keeps.
  static View borrowed(T* object) noexcept { return View(object, false); }

  View(View&& other) noexcept
      : object_(std::exchange(other.object_, nullptr)), owns_(std::exchange(other.owns_, false)) {}
  View& operator=(View&& other) noexcept {
    if (this != &other) {
      release();
      object_ = std::exchange(other.object_, nullptr);
      owns_ = std::exchange(other.owns_, false);
    }
    return *this;
  }
  View(const View&) = delete;
  View& operator=(const View&) = delete;
  ~View() { release(); }

  [[nodiscard]] T* get() const noexcept { return object_; }
  [[nodiscard]] bool owns() const noexcept { return owns_; }
  T& operator*() const noexcept { return *object_; }
  T* operator->() const noexcept { return object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }

 private:
  void release() noexcept {
    // g++ 12 reports a borrowed view of a member as freeing a non-heap object once the destructor
    // is inlined, although `owns_` is false on that path.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wfree-nonheap-object"
    if (owns_ && object_ != nullptr) delete object_;
#pragma GCC diagnostic pop
    object_ = nullptr;
    owns_ = false;
  }

  T* object_ = nullptr;
  bool owns_ = false;
};

}  // namespace nuv

#endif  // NUV_VIEW_HPP_
