// `qel::ObjDomain`: the result of one objective, by sense-domain key, as the solver hands it out
// for the id of a linear, quadratic or nonlinear objective adder.
//
//   key 5 objective_value  double  outside callbacks Xpress attribute 2118 of the main problem;
//                                  in a callback attribute 2003 of the problem the callback runs
//   key 6 objective_bound  double  attribute 2004, of the main problem or of the callback's
//
// Each is a new one-item container over an attribute item read at the moment of each request
// (a value of magnitude 1e20 or more reads as an infinity). Results exist only while exactly one
// objective of the dictionary's kind was loaded: with none or several, every key gives the
// empty handle. A context is served when it is one of the three callback contexts
// {"nuv:context", 0 to 2}; then the items read the callback problem view, which is bound only
// while an Xpress callback runs (outside it a read raises ": Requires model to be started
// first."). Under any other context the dictionary is empty: contains(5) false and size() 0.
//
// `contains` never looks at the record, so size() is 2 or 0 whatever the model holds;
// operator[] gives the empty handle once the record is gone. Nothing raises. The context is
// copied at construction: the caller need not keep it alive.
#ifndef QEL_SOLVER_OBJ_DOMAIN_HPP_
#define QEL_SOLVER_OBJ_DOMAIN_HPP_

#include <memory>
#include <optional>

#include "nuv/attr/base_container.hpp"
#include "nuv/opt/lib/abstract_domain_dict.hpp"
#include "nuv/tag.hpp"
#include "nuv/types.hpp"

namespace qel {

class Data;

class ObjDomain final : public nuv::opt::lib::sense_domain::AbstractContainerDict {
 public:
  // Picks Data::linObjList, Data::quadObjList or Data::nonlinObjList.
  enum Types { Linear = 0, Quadratic = 1, Nonlinear = 2 };

  // context: null outside a callback.
  ObjDomain(std::weak_ptr<const Data> data, Types type, const nuv::TagIndex* context);

  using AbstractContainerDict::contains;
  using AbstractContainerDict::operator[];

  [[nodiscard]] bool contains(nuv::Index key) const override;
  [[nodiscard]] nuv::attr::BaseContainer operator[](nuv::Index key) const override;

 private:
  // Whether results are offered in the context: always without one, and in the callback
  // contexts.
  [[nodiscard]] bool servedContext() const;

  std::weak_ptr<const Data> data_;
  Types type_;
  std::optional<nuv::TagIndex> context_;
};

}  // namespace qel

#endif  // QEL_SOLVER_OBJ_DOMAIN_HPP_
