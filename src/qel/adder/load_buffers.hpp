// `qel::LoadBuffers`: the work arrays in which the linear adders gather a batch for Xpress (the
// starts, columns and coefficients of linear functions, row types and right-hand sides, the
// variable lists of the functions), kept by the problem data record from batch to batch.
//
// Why kept: a batch of a million coefficients needs about 13 MB of such arrays. Allocated anew
// for each batch, they come back from the system as fresh pages that must be mapped and zeroed
// on first touch, which costs more than filling them; kept, the next batch of up to that size
// (another part of the model, or the model loaded again after `Data::clear`, which keeps them)
// writes into memory already mapped. The price is memory held while the record lives: about
// 12 bytes per coefficient and 25 per row of the largest batch so far. Arrays that hold more than
// `kKeptBytes` together are released when their batch ends (`Lease`), so a very large batch
// does not pin its arrays for the rest of the solver's life.
//
// Contents are undefined between batches. The record's mutex guards them: an adder uses them
// only while it holds that lock.
#ifndef QEL_ADDER_LOAD_BUFFERS_HPP_
#define QEL_ADDER_LOAD_BUFFERS_HPP_

#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>

#include "nuv/idx/abstract_list.hpp"
#include "qel/xpress/xpress_prob_interface.hpp"

namespace qel {

// An array of trivially copyable T that grows on demand; what it adds is not initialised.
template <class T>
class WorkArray {
  static_assert(std::is_trivially_copyable_v<T>, "a work array holds plain values");

 public:
  // Room for n elements; the contents are not kept.
  T* room(std::size_t n) {
    if (n > capacity_) {
      data_.reset();
      capacity_ = 0;
      data_ = std::make_unique_for_overwrite<T[]>(n);
      capacity_ = n;
    }
    return data_.get();
  }
  // Room for n elements keeping the first `kept`; a growth at least doubles the capacity, so
  // filling an array piece by piece copies each element a bounded number of times.
  T* grow(std::size_t n, std::size_t kept) {
    if (n > capacity_) {
      const std::size_t capacity = std::max({n, 2 * capacity_, std::size_t{256}});
      std::unique_ptr<T[]> grown = std::make_unique_for_overwrite<T[]>(capacity);
      std::copy_n(data_.get(), std::min(kept, capacity_), grown.get());
      data_ = std::move(grown);
      capacity_ = capacity;
    }
    return data_.get();
  }
  [[nodiscard]] T* data() const noexcept { return data_.get(); }
  [[nodiscard]] std::size_t capacity() const noexcept { return capacity_; }
  [[nodiscard]] std::size_t bytes() const noexcept { return capacity_ * sizeof(T); }
  void release() noexcept {
    data_.reset();
    capacity_ = 0;
  }

 private:
  std::unique_ptr<T[]> data_;
  std::size_t capacity_ = 0;
};

struct LoadBuffers {
  // Held from batch to batch while the arrays together stay within this size (about five million
  // coefficients); larger ones are released when their batch ends.
  static constexpr std::size_t kKeptBytes = std::size_t{64} << 20;

  // Lends the buffers for one batch; on every way out of its scope, arrays beyond kKeptBytes are
  // released.
  class [[nodiscard]] Lease {
   public:
    explicit Lease(LoadBuffers& buffers) noexcept : buffers_(buffers) {}
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    ~Lease() { buffers_.releaseIfAbove(kKeptBytes); }

   private:
    LoadBuffers& buffers_;
  };

  [[nodiscard]] std::size_t bytes() const noexcept {
    return starts.bytes() + columns.bytes() + values.bytes() + lists.bytes() + rowTypes.bytes() +
           rhs.bytes();
  }
  void releaseIfAbove(std::size_t limit) noexcept {
    if (bytes() <= limit) return;
    starts.release();
    columns.release();
    values.release();
    lists.release();
    rowTypes.release();
    rhs.release();
  }

  WorkArray<XPRSint64> starts;
  WorkArray<int> columns;
  WorkArray<double> values;
  WorkArray<const nuv::idx::AbstractList*> lists;
  WorkArray<char> rowTypes;
  WorkArray<double> rhs;
};

}  // namespace qel

#endif  // QEL_ADDER_LOAD_BUFFERS_HPP_
