// What the nine adders share inside their `add` (`active`, `id` and the weak reference are
// qel::DataAdder's): the refusals of malformed batches, the storing of names, the type maps, the
// two loaders of linear functions (rows and objectives) that the quadratic adders reuse, and the
// reading of quadratic parts. Internal to the adders; nothing here is part of the plug-in's
// interface.
//
// The frame of an `add`, in this order:
//   1. data = lockActive() (qel::DataAdder): raises "Adder inactive" when the record is gone or a
//      solve runs; nothing of the batch is read before;
//   2. n = the item count of the part that sizes the batch; n <= 0 returns the shared empty list
//      (`return {};`) with no lock, no Xpress call and no change;
//   3. checks that need no lock: the require... helpers below refuse a batch whose parts disagree
//      on the number of entities, before anything reaches Xpress or the record;
//   4. std::scoped_lock lock(data->mutex), held to the end of `add` (released by an exception);
//      reading functions into the record's load buffers (under a LoadBuffers::Lease) needs it;
//   5. the Xpress calls, the reservation of the numbers in the record, storeNames, the copies of
//      start values; then the list of the new numbers is returned.
// Nothing is rolled back when a later step raises.
#ifndef QEL_ADDER_ADDER_COMMON_HPP_
#define QEL_ADDER_ADDER_COMMON_HPP_

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "nuv/attr/abstract_container.hpp"
#include "nuv/attr/container.hpp"
#include "nuv/attr/container_dict.hpp"
#include "nuv/idx/list.hpp"
#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/math/symbol.hpp"
#include "nuv/opt/constraint_container.hpp"
#include "nuv/opt/lib/container_dict_view.hpp"
#include "nuv/opt/support_exception.hpp"
#include "nuv/types.hpp"
#include "nuv/view.hpp"
#include "qel/data.hpp"

namespace qel::detail {

using Symbols = nuv::attr::Container<nuv::math::Symbol<double>>;
using Vectors = nuv::attr::Container<nuv::math::Vector<double>>;
using Matrices = nuv::attr::Container<nuv::math::Matrix<double>>;
using Doubles = nuv::attr::Container<double>;
using Ints = nuv::attr::Container<int>;
using Strings = nuv::attr::Container<std::string>;

// Name types of addNames.
inline constexpr int kRowNames = 1;
inline constexpr int kColumnNames = 2;
inline constexpr int kObjectiveNames = 6;

// --- Refusals -----------------------------------------------------------------------------------

// nuv::opt::SupportException "Input not supported", without trace.
[[nodiscard]] nuv::opt::SupportException inputNotSupported();
// nuv::opt::SupportException "Multiple objectives only supported with linear objectives.".
[[nodiscard]] nuv::opt::SupportException multipleObjectives();
// Refuse with inputNotSupported() a part that has not exactly n items.
void requireItems(const nuv::attr::AbstractBaseContainer& part, nuv::Index n);
// The same for a part that may be absent: 0 items, or n.
void requireItemsIfGiven(const nuv::attr::AbstractBaseContainer& part, nuv::Index n);
// The same for a part read only when it holds values: no values, or n items.
void requireItemsIfValues(const nuv::attr::AbstractBaseContainer& part, nuv::Index n);
// The same for names: at most n items (names may stop early).
void requireNamesWithin(const Strings& names, nuv::Index n);

// The variables a symbol names, when it is a VectorOfVariables of data's variable adder; any
// other symbol raises inputNotSupported(). The list lives as long as the symbol.
[[nodiscard]] const nuv::idx::List& ownedVariables(const Data& data,
                                                   const nuv::math::Symbol<double>& symbol);

// --- Reading parts ------------------------------------------------------------------------------

// Element 0 of every item: borrowed where the container lends its values (valid while part's
// object lives: keep the handle), else copied in one block read; empty for a part without items.
template <class T>
[[nodiscard]] nuv::View<const std::vector<T>> viewAll(const nuv::attr::AbstractContainer<T>& part) {
  if (part.itemCount() <= 0) {
    return nuv::View<const std::vector<T>>::owning(std::make_unique<const std::vector<T>>());
  }
  return part.viewAll(0);
}

// Key 0 of the "nuv:constraint" tagged part of a batch of constraints or objectives: their names.
[[nodiscard]] Strings constraintNames(const nuv::opt::ConstraintContainer& batch);
// Key 0 of an identity function part: one symbol per item (variables or expressions).
[[nodiscard]] Symbols identityArguments(const nuv::attr::ContainerDict& function);

// --- Type maps (each raises nuv::opt::SupportException "Domain type not supported." for a value
// it does not list) -------------------------------------------------------------------------------

// 0 'C', 1 'I', 2 'S' (semi-continuous), 3 'R' (semi-continuous integer).
[[nodiscard]] char varTypeToXpress(int type);
// 0 'G', 1 'L', 2 'E'.
[[nodiscard]] char constrTypeToXpress(int type);
// 0 minimise (1), 1 maximise (-1).
[[nodiscard]] int objTypeToXpress(int type);
// 0 '1', 1 '2'.
[[nodiscard]] char sosTypeToXpress(int type);
// 2 -1, 3 +1.
[[nodiscard]] int indicTypeToXpress(int type);

// --- Names --------------------------------------------------------------------------------------

// Passes item k of names to Xpress as the name of entity indices[k] (one addNames call each) when
// names holds values and Xpress control 8071 (the name length) is not 0. names must not have more
// items than indices.
void storeNames(Data* data, int type, const Strings& names, const nuv::idx::List& indices);

// --- Linear functions ---------------------------------------------------------------------------

// The coefficients of m linear functions over Xpress columns, flat: function k holds entries
// starts[k] to starts[k + 1] - 1, in the order its coefficient vector stores them. The arrays
// are the record's load buffers: valid until the buffers are used again.
struct LinearTerms {
  std::span<const XPRSint64> starts;
  // starts.back() entries each; never null.
  const int* columns = nullptr;
  const double* values = nullptr;

  [[nodiscard]] nuv::Index count() const { return static_cast<nuv::Index>(starts.size()) - 1; }
};

// Reads function k from item k of variables (a VectorOfVariables of data's variable adder) and
// item k of coefficients (a vector over the positions of that list; absent: no entries) into
// data's load buffers. Checks every symbol before any coefficient is read, then maps the
// positions to columns. Raises inputNotSupported() for a coefficient part whose item count is
// neither 0 nor that of variables, a symbol that is no VectorOfVariables of this record, or a
// position outside its list. The caller holds data.mutex and a lease of the buffers.
[[nodiscard]] LinearTerms linearTerms(Data& data, const Symbols& variables,
                                      const Vectors& coefficients);

// Adds one row per item of variables in one addRows call: row k is terms k >= <= or = -b_k as
// type k says (constrTypeToXpress), b_k item k of constants (absent: no right-hand sides). Every
// check comes before the call: row types and constants must have as many items as variables
// (inputNotSupported()), then the types are mapped, then the functions read (linearTerms). The
// caller holds data->mutex; the rows are reserved afterwards.
void addLinearConstr(Data* data, const Symbols& variables, const Vectors& coefficients,
                     const Doubles& constants, const Ints& types);

// What a batch of n linear or quadratic objectives holds besides its coefficients: the function's
// variables (key 0) and constants (key 3), which both function kinds keep under these keys, and
// the names. Raises inputNotSupported() unless variables has n items, constants 0 or n, each of
// the sense domain's weights, priorities and tolerances n where it holds values, and names at
// most n.
struct ObjectiveParts {
  Symbols variables;
  Doubles constants;
  Strings names;
};
[[nodiscard]] ObjectiveParts objectiveParts(
    const nuv::opt::ConstraintContainer& batch,
    const nuv::opt::lib::sense_domain::ContainerDictView<double>& domain, nuv::Index n);

// Writes objective indices[k] from function k of terms, item k of constants and item k of the
// sense domain's keys; the parts must agree with indices (the caller checked them). Writing
// objective 0 sets the problem's sense from its sense type; later objectives read the sense back.
// An objective of the other sense is weighted negatively: its given weight with the sign turned,
// or -1 when the batch gives no weights. Takes no lock.
void chgLinearObjs(Data* data, const nuv::idx::List& indices, const LinearTerms& terms,
                   const Doubles& constants,
                   const nuv::opt::lib::sense_domain::ContainerDictView<double>& domain);

// --- Quadratic parts ----------------------------------------------------------------------------

// The quadratic parts of m functions over Xpress columns, flat: function k holds entries
// starts[k] to starts[k + 1] - 1, the products first[j] * second[j] with coefficient values[j],
// in the order its matrix stores them.
struct QuadraticTerms {
  std::vector<XPRSint64> starts;
  std::vector<int> first;
  std::vector<int> second;
  std::vector<double> values;
};

// Reads function k from item k of variables (as for linearTerms) and the triplets of item k of
// matrices (positions in that list; absent: no entries), positions mapped to columns. Raises
// inputNotSupported() for a matrix part whose item count is neither 0 nor that of variables, a
// symbol that is no VectorOfVariables of this record, or a position outside its list.
[[nodiscard]] QuadraticTerms quadraticTerms(const Data& data, const Symbols& variables,
                                            const Matrices& matrices);

}  // namespace qel::detail

#endif  // QEL_ADDER_ADDER_COMMON_HPP_
