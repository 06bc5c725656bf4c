#include "qel/data.hpp"

#include <cstdint>
#include <memory>

#include "nuv/id.hpp"
#include "nuv/num_cast.hpp"
#include "nuv/opt/abstract_log.hpp"
#include "nuv/types.hpp"

namespace qel {
namespace {

using nuv::idx::lib::AscList;
using nuv::idx::lib::Range;

// Takes the next n numbers of list (Range is immutable: the list grows by assignment). A list
// that would pass the largest index raises before anything changes.
Range reserve(Range& list, int n) {
  if (n < 1) return Range();
  const Range grown(list.first(), nuv::numCast<nuv::Index>(std::int64_t{list.size()} + n));
  const Range block(list.first() + list.size(), n);
  list = grown;
  return block;
}

template <class T>
void grow(Data::Values<T>& values, int n) {
  values.itemAdd(n, values.getDefault());
}

}  // namespace

Data::Data()
    : varAdderId(nuv::id()),
      linConAdderId(nuv::id()),
      linObjAdderId(nuv::id()),
      quadConAdderId(nuv::id()),
      quadObjAdderId(nuv::id()),
      nonlinConAdderId(nuv::id()),
      nonlinObjAdderId(nuv::id()),
      sosConAdderId(nuv::id()),
      indicConAdderId(nuv::id()),
      varList(std::make_shared<Range>()),
      conList(std::make_shared<Range>()),
      linConList(std::make_shared<AscList>()),
      linObjList(std::make_shared<Range>()),
      quadConList(std::make_shared<AscList>()),
      quadObjList(std::make_shared<Range>()),
      nonlinConList(std::make_shared<AscList>()),
      nonlinObjList(std::make_shared<Range>()),
      sosConList(std::make_shared<Range>()),
      indicConList(std::make_shared<Range>()),
      linkAttribs(std::make_shared<LinkAttribs>()),
      varLevels(nuv::attr::lib::optionalContainer<double>()),
      varBasis(nuv::attr::lib::optionalContainer<int>()),
      varPriorities(nuv::attr::lib::optionalContainer<double>()),
      linConstrBasis(nuv::attr::lib::optionalContainer<int>()),
      varInfeasible(nuv::attr::lib::optionalContainer<int>()),
      constrInfeasible(nuv::attr::lib::optionalContainer<int>()) {}

Range Data::addVar(int n) {
  const Range block = reserve(*varList, n);
  grow(*varLevels, n);
  grow(*varBasis, n);
  grow(*varPriorities, n);
  grow(*varInfeasible, n);
  return block;
}

Range Data::addRows(AscList& list, int n) {
  const Range block = reserve(*conList, n);
  list.add(block);
  grow(*linConstrBasis, n);
  grow(*constrInfeasible, n);
  return block;
}

Range Data::addLinCon(int n) { return addRows(*linConList, n); }
Range Data::addQuadCon(int n) { return addRows(*quadConList, n); }
Range Data::addNonlinCon(int n) { return addRows(*nonlinConList, n); }
Range Data::addLinObj(int n) { return reserve(*linObjList, n); }
Range Data::addQuadObj(int n) { return reserve(*quadObjList, n); }
Range Data::addNonlinObj(int n) { return reserve(*nonlinObjList, n); }
Range Data::addSOSCon(int n) { return reserve(*sosConList, n); }
Range Data::addIndicCon(int n) { return reserve(*indicConList, n); }

bool Data::hasObj() const {
  return linObjList->size() > 0 || quadObjList->size() > 0 || nonlinObjList->size() > 0;
}

bool Data::isLinear() const {
  return quadConList->size() == 0 && quadObjList->size() == 0 && nonlinConList->size() == 0 &&
         nonlinObjList->size() == 0;
}

bool Data::isNonlinear() const { return nonlinConList->size() > 0 || nonlinObjList->size() > 0; }

void Data::clear() {
  if (prob) prob->clear();
  if (solPool) solPool->clear();
  if (solEnum) solEnum->clear();
  callbackState.log = std::make_shared<nuv::opt::AbstractLog>();
  callbackState.callback.reset();
  // In place: result views hold these very objects.
  *varList = Range();
  *conList = Range();
  *linConList = AscList();
  *linObjList = Range();
  *quadConList = AscList();
  *quadObjList = Range();
  *nonlinConList = AscList();
  *nonlinObjList = Range();
  *sosConList = Range();
  *indicConList = Range();
  linkAttribs->reset();
  varLevels->clear();
  varBasis->clear();
  varPriorities->clear();
  linConstrBasis->clear();
  varInfeasible->clear();
  constrInfeasible->clear();
}

int basisToPelu(int status) {
  switch (status) {
    case 0:
      return 1;
    case 1:
      return 3;
    case 2:
      return 2;
    default:
      return 4;
  }
}

int basisToXpress(int code) {
  switch (code) {
    case 1:
      return 0;
    case 3:
      return 1;
    case 2:
      return 2;
    default:
      return 3;
  }
}

}  // namespace qel
