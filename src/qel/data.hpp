// `qel::Data`: the one record of a solver instance.
//
// It owns the Xpress problem wrappers, the state the optimizer's callbacks reach (the log, the
// host callback and the view of the running problem), the ids of the nine adders,
// the index lists that say which column and row numbers the loaded model occupies, the mutex under
// which batches are loaded, the link options, and six per-entity value containers: warm-start
// data given with the model goes in, infeasibility marks found by a solve come out.
//
// Numbering. The add operations hand out blocks of numbers, and the adder that obtains a block of
// n adds exactly n columns or rows to Xpress, in the same order, before it obtains the next one.
// So the numbers here always equal the Xpress column and row numbers:
//   - varList holds every column 0 .. n-1 (auxiliary columns included);
//   - conList holds every row; linConList, quadConList and nonlinConList split it by kind, each
//     ascending, with gaps where rows of another kind were taken in between;
//   - objectives, sets and indicators count from 0 in lists of their own.
//
//   data.addLinCon(2);   // rows 0, 1
//   data.addQuadCon(1);  // row 2
//   data.addLinCon(1);   // row 3: linConList holds 0, 1, 3
//
// The column containers (varLevels, varBasis, varPriorities, varInfeasible) have one item per
// column, the row containers (linConstrBasis, constrInfeasible) one per row of any kind, addressed
// by row number; they hold no values until something sets one.
//
// Lifetime. The solver holds the record through a shared pointer; adders, option items and result
// views keep weak references and lock them for each call. Those views hold the list and container
// objects themselves, so `clear` empties them in place and never replaces them.
//
// Locking. Nothing here locks: an adder holds `mutex` across its whole batch, which covers the add
// operations and the Xpress calls of that batch. The queries, `clear` and the basis maps take no
// lock. The optimizer's callbacks hold `callbackState.probViewMutex`, a lock of their own, while
// the running problem is bound into `callbackState.probView`, so that callbacks of parallel search
// threads do not bind the one view at once; it is not `mutex`, so loading and callbacks never
// wait for each other.
#ifndef QEL_DATA_HPP_
#define QEL_DATA_HPP_

#include <cstdint>
#include <memory>
#include <mutex>

#include "nuv/attr/lib/optional_container.hpp"
#include "nuv/idx/lib/asc_list.hpp"
#include "nuv/idx/lib/range.hpp"
#include "qel/adder/load_buffers.hpp"
#include "qel/link_attribs.hpp"
#include "qel/xpress/callback_state.hpp"
#include "qel/xpress/xpress_prob.hpp"
#include "qel/xpress/xpress_sol_enum.hpp"
#include "qel/xpress/xpress_sol_pool.hpp"

namespace qel {

class Data {
 public:
  template <class T>
  using Values = nuv::attr::lib::OptionalContainer<T>;

  // A record of an empty model: no problem, pool or enumerator yet (the solver makes them), a new
  // unbound callback view, the default log, no callback, nine new adder ids, empty lists and
  // containers, the link options unset.
  Data();
  Data(const Data&) = delete;
  Data& operator=(const Data&) = delete;

  // Reserve a block of n numbers (nothing for n < 1, answered as the empty block at 0) and grow
  // the containers of that kind by n items.
  nuv::idx::lib::Range addVar(int n);
  nuv::idx::lib::Range addLinCon(int n);
  nuv::idx::lib::Range addQuadCon(int n);
  nuv::idx::lib::Range addNonlinCon(int n);
  nuv::idx::lib::Range addLinObj(int n);
  nuv::idx::lib::Range addQuadObj(int n);
  nuv::idx::lib::Range addNonlinObj(int n);
  nuv::idx::lib::Range addSOSCon(int n);
  nuv::idx::lib::Range addIndicCon(int n);

  // Whether any objective was loaded.
  [[nodiscard]] bool hasObj() const;
  // Whether no quadratic or nonlinear constraint or objective was loaded.
  [[nodiscard]] bool isLinear() const;
  // Whether a nonlinear constraint or objective was loaded.
  [[nodiscard]] bool isNonlinear() const;

  // Returns the record to an empty model: a new empty Xpress problem (when started), pool and
  // enumerator (when present), the log and callback back to their defaults, every list and
  // container emptied in place, the link options unset. Keeps the adder ids, the callback view,
  // the mutex and the adders' work arrays. When re-creating the problem, pool or enumerator
  // fails, the exception leaves at once and nothing later has been emptied.
  void clear();

  std::shared_ptr<XpressProb> prob;
  std::shared_ptr<XpressSolPool> solPool;
  std::shared_ptr<XpressSolEnum> solEnum;
  // The context of every callback registered with the problem, the pool and the enumerator.
  CallbackState callbackState;

  // The ids the nine adders report; variables in expressions must carry varAdderId.
  const std::uint64_t varAdderId;
  const std::uint64_t linConAdderId;
  const std::uint64_t linObjAdderId;
  const std::uint64_t quadConAdderId;
  const std::uint64_t quadObjAdderId;
  const std::uint64_t nonlinConAdderId;
  const std::uint64_t nonlinObjAdderId;
  const std::uint64_t sosConAdderId;
  const std::uint64_t indicConAdderId;

  const std::shared_ptr<nuv::idx::lib::Range> varList;
  const std::shared_ptr<nuv::idx::lib::Range> conList;
  const std::shared_ptr<nuv::idx::lib::AscList> linConList;
  const std::shared_ptr<nuv::idx::lib::Range> linObjList;
  const std::shared_ptr<nuv::idx::lib::AscList> quadConList;
  const std::shared_ptr<nuv::idx::lib::Range> quadObjList;
  const std::shared_ptr<nuv::idx::lib::AscList> nonlinConList;
  const std::shared_ptr<nuv::idx::lib::Range> nonlinObjList;
  const std::shared_ptr<nuv::idx::lib::Range> sosConList;
  const std::shared_ptr<nuv::idx::lib::Range> indicConList;

  std::mutex mutex;
  // The adders' work arrays, used under mutex; kept from batch to batch and by clear().
  LoadBuffers loadBuffers;
  const std::shared_ptr<LinkAttribs> linkAttribs;

  // Per column: initial level, host basis code and branching priority given with the variables.
  const std::shared_ptr<Values<double>> varLevels;
  const std::shared_ptr<Values<int>> varBasis;
  const std::shared_ptr<Values<double>> varPriorities;
  // Per row: host basis code given with the linear constraints.
  const std::shared_ptr<Values<int>> linConstrBasis;
  // Per column and per row: 1 where the last solve reported a scaled primal infeasibility.
  const std::shared_ptr<Values<int>> varInfeasible;
  const std::shared_ptr<Values<int>> constrInfeasible;

 private:
  // Rows of one kind: taken from conList, recorded in list, row containers grown.
  nuv::idx::lib::Range addRows(nuv::idx::lib::AscList& list, int n);
};

// Xpress basis status to host basis code: 0 -> 1, 1 -> 3, 2 -> 2, anything else -> 4.
[[nodiscard]] int basisToPelu(int status);
// Host basis code to Xpress basis status: 1 -> 0, 3 -> 1, 2 -> 2, anything else -> 3.
[[nodiscard]] int basisToXpress(int code);

}  // namespace qel

#endif  // QEL_DATA_HPP_
