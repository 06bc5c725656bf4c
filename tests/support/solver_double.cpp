#include "tests/support/solver_double.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "nuv/attr/base_container.hpp"
#include "nuv/attr/base_item.hpp"
#include "nuv/attr/container.hpp"
#include "nuv/attr/item.hpp"
#include "nuv/attr/lib/info.hpp"
#include "nuv/attr/lib/map_container_dict.hpp"
#include "nuv/attr/lib/optional_item.hpp"
#include "nuv/attr/lib/range_info.hpp"
#include "nuv/attr/lib/vector_container.hpp"
#include "nuv/attr/view/list_of_container.hpp"
#include "nuv/attr/view/with_info_item.hpp"
#include "nuv/exception.hpp"
#include "nuv/idx/lib/list.hpp"
#include "nuv/idx/lib/range.hpp"
#include "nuv/math/array/matrix.hpp"
#include "nuv/math/array/vector.hpp"
#include "nuv/opt/abstract_callback.hpp"
#include "nuv/opt/abstract_command.hpp"
#include "nuv/opt/abstract_constraint_adder.hpp"
#include "nuv/opt/abstract_linked_constraint_adder.hpp"
#include "nuv/opt/abstract_log.hpp"
#include "nuv/opt/abstract_variable_adder.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "nuv/opt/lib/abstract_domain_dict.hpp"
#include "nuv/opt/support_exception.hpp"

namespace qel_test {

using nuv::Index;
using nuv::attr::BaseContainer;
using nuv::attr::BaseItem;
using nuv::attr::Container;
using nuv::attr::lib::VectorContainer;
using nuv::math::Symbol;
namespace keys = nuv::opt;

enum Kind : int {
  kVariables = 1,
  kLinearRows = 2,
  kLinearObjective = 3,
  kQuadraticRows = 4,
  kQuadraticObjective = 5,
  kNonlinearRows = 6,
  kNonlinearObjective = 7,
  kSets = 8,
  kIndicators = 9,
};

struct SolverDouble::State {
  std::uint64_t base = 0;
  bool started = false;
  std::shared_ptr<nuv::opt::AbstractLog> log = std::make_shared<nuv::opt::AbstractLog>();
  std::shared_ptr<nuv::opt::AbstractCallback> callback;
  std::vector<nuv::TagIndex> contexts;
  std::vector<std::string> journal;
  std::atomic<int> terminations{0};
  std::vector<DoubleColumn> columns;
  std::vector<DoubleRow> rows;
  std::vector<int> linearRows;  // row numbers of the linear rows, in loading order
  std::vector<DoubleObjective> objectives;
  std::vector<DoubleSet> sets;
  std::vector<DoubleIndicator> indicators;
  std::vector<DoubleRun> runs;
  std::size_t nextRun = 0;
  std::map<std::string, std::pair<std::string, std::string>> failures;
  bool solved = false;
  bool fixed = false;
  DoubleRun last;
  std::optional<DoubleCallback> inCallback;
  std::map<std::string, BaseItem> options;  // by lower-cased name
  std::vector<std::string> optionNames;
  std::vector<std::shared_ptr<const nuv::attr::AbstractBaseInfo>> infos;
  std::shared_ptr<nuv::attr::lib::OptionalItem<std::string>> modelName =
      nuv::attr::lib::optionalItem<std::string>();

  [[nodiscard]] std::uint64_t id(int kind) const { return base + static_cast<std::uint64_t>(kind); }
  void maybeFail(const std::string& op) {
    const auto found = failures.find(op);
    if (found == failures.end()) return;
    const auto [kind, text] = found->second;
    if (kind == "int") throw 7;
    if (kind == "nuv") throw nuv::Exception(text);
    throw std::runtime_error(text);
  }
  void record(std::string entry) { journal.push_back(std::move(entry)); }
  // A host that hands back the context object the solver made it journals this.
  void noteOwnContext(const nuv::TagIndex* context) {
    if (inCallback && context == &inCallback->context) record("own context handed back");
  }
};

namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string contextText(const nuv::TagIndex& c) {
  return std::string(c.tag) + ":" + std::to_string(c.index);
}

template <class T>
Container<T> part(const nuv::attr::ContainerDict& dict, Index key) {
  return Container<T>(dict[key]);
}

nuv::idx::List range(Index first, Index size) {
  return nuv::idx::List(std::make_shared<nuv::idx::lib::Range>(first, size));
}

std::vector<int> columnsOf(const SolverDouble::State& s, const Symbol<double>& symbol) {
  const auto& vars = symbol.vectorOfVariables();
  if (vars.ownerId != s.id(kVariables)) {
    throw nuv::opt::SupportException("Input not supported", "double");
  }
  std::vector<int> out(static_cast<std::size_t>(vars.indices.size()));
  vars.indices.toVector(out);
  return out;
}

// Item i of the function part: a linear or a quadratic function, positions mapped to columns.
DoubleFunction functionOf(const SolverDouble::State& s, const nuv::attr::ContainerDict& f, Index i,
                          bool quadratic) {
  DoubleFunction out;
  out.columns = columnsOf(s, part<Symbol<double>>(f, keys::linear_function::variables).get(i, 0));
  const Index coefKey =
      quadratic ? keys::quadratic_function::coefficients : keys::linear_function::coefficients;
  const auto coefs = part<nuv::math::Vector<double>>(f, coefKey);
  out.coefs.assign(out.columns.size(), 0.0);
  if (coefs.itemCount() > i) coefs.get(i, 0).data().toVector(out.coefs);
  if (quadratic) {
    const auto matrix = part<nuv::math::Matrix<double>>(f, keys::quadratic_function::quadratic);
    if (matrix.itemCount() > i) {
      const auto data = matrix.get(i, 0).data();
      for (std::size_t k = 0; k < data.entryCount(); ++k) {
        out.quadratic.emplace_back(out.columns[static_cast<std::size_t>(data.firstIndices()[k])],
                                   out.columns[static_cast<std::size_t>(data.secondIndices()[k])],
                                   data.values()[k]);
      }
    }
  }
  const auto constants = part<double>(f, keys::linear_function::constant);
  if (constants.itemCount() > i) out.constant = constants.get(i, 0);
  return out;
}

std::string nameOf(const nuv::opt::TaggedParts& tagged, nuv::Tag tag, Index i) {
  const auto names = part<std::string>(nuv::opt::taggedPart(tagged, tag), 0);
  return names.itemCount() > i ? names.get(i, 0) : std::string();
}

template <class T>
std::optional<T> optionalAt(const Container<T>& c, Index i) {
  if (c.itemCount() <= i || c.elemCount() < 1) return std::nullopt;
  return c.get(i, 0);
}

class VariableAdder final : public nuv::opt::AbstractVariableAdder {
 public:
  explicit VariableAdder(std::weak_ptr<SolverDouble::State> s) : state_(std::move(s)) {}
  [[nodiscard]] bool active() const override { return !state_.expired(); }
  [[nodiscard]] std::uint64_t id() const override {
    const auto s = state_.lock();
    return s ? s->id(kVariables) : 0;
  }
  nuv::idx::List add(const nuv::opt::VariableContainer& batch) override {
    const auto s = state_.lock();
    s->maybeFail("add");
    const auto types = part<int>(batch.domain, keys::interval_domain::type);
    const Index n = types.itemCount();
    s->record("add variables " + std::to_string(n));
    const auto lb = part<double>(batch.domain, keys::interval_domain::lower_bound);
    const auto ub = part<double>(batch.domain, keys::interval_domain::upper_bound);
    const auto start = part<double>(batch.domain, keys::interval_domain::start_level);
    const auto basis = part<int>(batch.domain, keys::interval_domain::start_basis);
    const auto priority = part<double>(nuv::opt::taggedPart(batch.tagged, keys::variable::tag),
                                       keys::variable::priority);
    const auto first = static_cast<Index>(s->columns.size());
    for (Index i = 0; i < n; ++i) {
      s->columns.push_back({types.get(i, 0), lb.get(i, 0), ub.get(i, 0), optionalAt(start, i),
                            optionalAt(priority, i), optionalAt(basis, i),
                            nameOf(batch.tagged, keys::variable::tag, i)});
    }
    return range(first, n);
  }

 private:
  std::weak_ptr<SolverDouble::State> state_;
};

// Adds the rows of a linear or quadratic constraint batch; returns their row numbers.
nuv::idx::List addRows(SolverDouble::State& s, const nuv::opt::ConstraintContainer& batch,
                       char kind) {
  const auto types = part<int>(batch.domain, keys::static_bounded_domain::type);
  const auto basis = part<int>(batch.domain, keys::static_bounded_domain::start_basis);
  const Index n = types.itemCount();
  s.record(std::string("add rows ") + kind + " " + std::to_string(n));
  std::vector<DoubleRow> added;
  for (Index i = 0; i < n; ++i) {
    DoubleRow row{kind,
                  types.get(i, 0),
                  {},
                  optionalAt(basis, i),
                  nameOf(batch.tagged, keys::constraint::tag, i)};
    if (kind == 'n') {
      row.function.expression =
          part<Symbol<double>>(batch.function, keys::identity_function::argument).get(i, 0);
    } else {
      row.function = functionOf(s, batch.function, i, kind == 'q');
    }
    added.push_back(std::move(row));
  }
  const auto first = static_cast<Index>(s.rows.size());
  for (DoubleRow& row : added) {
    if (row.kind == 'l') s.linearRows.push_back(static_cast<int>(s.rows.size()));
    s.rows.push_back(std::move(row));
  }
  return range(first, n);
}

class ConstraintAdder final : public nuv::opt::AbstractConstraintAdder {
 public:
  ConstraintAdder(std::weak_ptr<SolverDouble::State> s, int kind)
      : state_(std::move(s)), kind_(kind) {}
  [[nodiscard]] bool active() const override { return !state_.expired(); }
  [[nodiscard]] std::uint64_t id() const override {
    const auto s = state_.lock();
    return s ? s->id(kind_) : 0;
  }
  nuv::idx::List add(const nuv::opt::ConstraintContainer& batch) override {
    const auto s = state_.lock();
    s->maybeFail("add");
    switch (kind_) {
      case kLinearRows:
        return addRows(*s, batch, 'l');
      case kQuadraticRows:
        return addRows(*s, batch, 'q');
      case kNonlinearRows:
        return addRows(*s, batch, 'n');
      case kSets:
        return addSets(*s, batch);
      default:
        return addObjectives(*s, batch);
    }
  }

 private:
  nuv::idx::List addSets(SolverDouble::State& s, const nuv::opt::ConstraintContainer& batch) {
    const auto types = part<int>(batch.domain, keys::sos_domain::type);
    const auto weights = part<nuv::math::Vector<double>>(batch.domain, keys::sos_domain::weights);
    const auto members = part<Symbol<double>>(batch.function, keys::identity_function::argument);
    const Index n = types.itemCount();
    s.record("add sets " + std::to_string(n));
    const auto first = static_cast<Index>(s.sets.size());
    for (Index i = 0; i < n; ++i) {
      DoubleSet set{types.get(i, 0), columnsOf(s, members.get(i, 0)), {}};
      set.weights.assign(set.columns.size(), 0.0);
      weights.get(i, 0).data().toVector(set.weights);
      s.sets.push_back(std::move(set));
    }
    return range(first, n);
  }

  nuv::idx::List addObjectives(SolverDouble::State& s, const nuv::opt::ConstraintContainer& batch) {
    const auto& d = batch.domain;
    const auto types = part<int>(d, keys::sense_domain::type);
    const Index n = types.itemCount();
    const char kind = kind_ == kLinearObjective ? 'l' : kind_ == kQuadraticObjective ? 'q' : 'n';
    s.record(std::string("add objectives ") + kind + " " + std::to_string(n));
    const auto first = static_cast<Index>(s.objectives.size());
    for (Index i = 0; i < n; ++i) {
      DoubleObjective o{kind,
                        types.get(i, 0),
                        {},
                        optionalAt(part<double>(d, keys::sense_domain::weight), i),
                        optionalAt(part<int>(d, keys::sense_domain::priority), i),
                        optionalAt(part<double>(d, keys::sense_domain::absolute_tolerance), i),
                        optionalAt(part<double>(d, keys::sense_domain::relative_tolerance), i),
                        nameOf(batch.tagged, keys::constraint::tag, i)};
      if (kind == 'n') {
        o.function.expression =
            part<Symbol<double>>(batch.function, keys::identity_function::argument).get(i, 0);
        // Like the plug-in: one column for the objective and one linear row binding it.
        const auto z = static_cast<int>(s.columns.size());
        s.columns.push_back({0, -INFINITY, INFINITY, {}, {}, {}, {}});
        s.linearRows.push_back(static_cast<int>(s.rows.size()));
        s.rows.push_back({'a', 2, {{z}, {-1.0}, {}, 0.0, {}}, {}, {}});
      } else {
        o.function = functionOf(s, batch.function, i, kind == 'q');
      }
      s.objectives.push_back(std::move(o));
    }
    return range(first, n);
  }

  std::weak_ptr<SolverDouble::State> state_;
  int kind_;
};

class IndicatorAdder final : public nuv::opt::AbstractLinkedConstraintAdder {
 public:
  IndicatorAdder(std::weak_ptr<SolverDouble::State> s, bool quadratic)
      : state_(std::move(s)), quadratic_(quadratic) {}
  [[nodiscard]] bool active() const override { return !state_.expired(); }
  [[nodiscard]] std::uint64_t id() const override {
    const auto s = state_.lock();
    return s ? s->id(kIndicators) : 0;
  }
  nuv::idx::List add(const nuv::opt::LinkedConstraintContainer& batch) override {
    const auto s = state_.lock();
    s->maybeFail("add");
    const auto switches =
        part<Symbol<double>>(batch.first.function, keys::identity_function::argument);
    const auto types = part<int>(batch.first.domain, keys::static_bounded_domain::type);
    const Index n = types.itemCount();
    s->record("add indicators " + std::to_string(n));
    const nuv::idx::List rows = addRows(*s, batch.second, quadratic_ ? 'q' : 'l');
    const auto first = static_cast<Index>(s->indicators.size());
    for (Index i = 0; i < n; ++i) {
      const auto variable = switches.get(i, 0).variable();
      if (variable.ownerId != s->id(kVariables)) {
        throw nuv::opt::SupportException("Input not supported", "double");
      }
      s->indicators.push_back({variable.index, types.get(i, 0), rows[i]});
    }
    return range(first, n);
  }

 private:
  std::weak_ptr<SolverDouble::State> state_;
  bool quadratic_;
};

// A dictionary of containers by integer key over one of the framework's domain bases.
template <class Base>
class DomainDict final : public Base {
 public:
  using Base::contains;
  using Base::operator[];
  void put(Index key, BaseContainer c) { entries_[key] = std::move(c); }
  [[nodiscard]] bool contains(Index key) const override { return entries_.count(key) > 0; }
  [[nodiscard]] BaseContainer operator[](Index key) const override {
    const auto found = entries_.find(key);
    return found == entries_.end() ? BaseContainer() : found->second;
  }

 private:
  std::map<Index, BaseContainer> entries_;
};

class SolverAttribs final : public nuv::opt::lib::solver::AbstractItemDict {
 public:
  using nuv::opt::lib::solver::AbstractItemDict::contains;
  using nuv::opt::lib::solver::AbstractItemDict::operator[];
  void put(Index key, BaseItem item) { entries_[key] = std::move(item); }
  [[nodiscard]] bool contains(Index key) const override { return entries_.count(key) > 0; }
  [[nodiscard]] BaseItem operator[](Index key) const override {
    const auto found = entries_.find(key);
    return found == entries_.end() ? BaseItem() : found->second;
  }

 private:
  std::map<Index, BaseItem> entries_;
};

template <class T>
BaseItem holding(std::optional<T> value) {
  auto item = nuv::attr::lib::optionalItem<T>();
  if (value) item->set(*value, 0);
  return BaseItem(item);
}

class OptionDict final : public nuv::attr::AbstractItemDict {
 public:
  explicit OptionDict(std::shared_ptr<SolverDouble::State> s) : state_(std::move(s)) {}
  [[nodiscard]] Index size() const override { return static_cast<Index>(state_->options.size()); }
  [[nodiscard]] nuv::idx::List indexKeys() const override { return range(0, size()); }
  [[nodiscard]] std::optional<std::string> stringKey(Index key) const override {
    if (key < 0 || key >= size()) return std::nullopt;
    return state_->optionNames[static_cast<std::size_t>(key)];
  }
  [[nodiscard]] std::optional<Index> indexKey(std::string_view name) const override {
    for (std::size_t k = 0; k < state_->optionNames.size(); ++k) {
      if (lower(state_->optionNames[k]) == lower(name)) return static_cast<Index>(k);
    }
    return std::nullopt;
  }
  [[nodiscard]] bool contains(Index key) const override { return key >= 0 && key < size(); }
  [[nodiscard]] bool contains(std::string_view name) const override {
    return state_->options.count(lower(name)) > 0;
  }
  [[nodiscard]] BaseItem operator[](Index key) const override {
    const auto name = stringKey(key);
    return name ? (*this)[std::string_view(*name)] : BaseItem();
  }
  [[nodiscard]] BaseItem operator[](std::string_view name) const override {
    state_->record("option " + std::string(name));
    const auto found = state_->options.find(lower(name));
    return found == state_->options.end() ? BaseItem() : found->second;
  }

 private:
  std::shared_ptr<SolverDouble::State> state_;
};

class FixCommand final : public nuv::opt::AbstractCommand {
 public:
  explicit FixCommand(std::weak_ptr<SolverDouble::State> s) : state_(std::move(s)) {}
  [[nodiscard]] bool active() const override {
    const auto s = state_.lock();
    if (!s || s->fixed || !s->solved || !s->last.solution) return false;
    const bool discrete = std::any_of(s->columns.begin(), s->columns.end(),
                                      [](const DoubleColumn& c) { return c.type != 0; });
    return discrete || !s->sets.empty() || !s->indicators.empty();
  }
  void call() override {
    const auto s = state_.lock();
    s->maybeFail("fix");
    s->record("fix");
    s->fixed = true;
  }

 private:
  std::weak_ptr<SolverDouble::State> state_;
};

template <class T>
void addOption(SolverDouble::State& s, std::string name,
               std::shared_ptr<const nuv::attr::AbstractInfo<T>> info) {
  s.infos.push_back(info);
  s.options[lower(name)] = BaseItem(
      nuv::attr::view::withInfo(nuv::attr::lib::optionalItem<T>(),
                                nuv::View<const nuv::attr::AbstractInfo<T>>::borrowed(info.get())));
  s.optionNames.push_back(std::move(name));
}

std::atomic<std::uint64_t> instances{0};

}  // namespace

SolverDouble::SolverDouble() : state_(std::make_shared<State>()) {
  state_->base = 100 * ++instances;
  using nuv::attr::lib::Info;
  using nuv::attr::lib::RangeInfo;
  addOption<double>(*state_, "FeasTol",
                    std::make_shared<RangeInfo<double>>("FeasTol", 1, true, 1e-6, 0.0, 1.0, 1,
                                                        nuv::View<const nuv::attr::AbstractDoc>()));
  addOption<int>(*state_, "MaxNode",
                 std::make_shared<RangeInfo<int>>("MaxNode", 1, true, std::nullopt, 0, 1000000, 2,
                                                  nuv::View<const nuv::attr::AbstractDoc>()));
  addOption<std::string>(
      *state_, "LogFile",
      std::make_shared<Info<std::string>>("LogFile", 1, true, std::nullopt, 3,
                                          nuv::View<const nuv::attr::AbstractDoc>()));
  addOption<bool>(*state_, "Flag",
                  std::make_shared<Info<bool>>("Flag", 1, true, std::nullopt, 4,
                                               nuv::View<const nuv::attr::AbstractDoc>()));
  addOption<int>(*state_, "Fixed",
                 std::make_shared<Info<int>>("Fixed", 1, false, 0, 6,
                                             nuv::View<const nuv::attr::AbstractDoc>()));
  state_->options["limit"] = BaseItem(nuv::attr::lib::optionalItem<unsigned long>());
  state_->optionNames.emplace_back("Limit");
  state_->options["ghost"] = BaseItem(std::shared_ptr<nuv::attr::lib::OptionalItem<int>>());
  state_->optionNames.emplace_back("Ghost");
  state_->options["quad"] =
      BaseItem(std::make_shared<nuv::attr::lib::OptionalItem<nuv::math::Matrix<double>>>());
  state_->optionNames.emplace_back("Quad");
}

SolverDouble::~SolverDouble() = default;

void SolverDouble::script(std::vector<DoubleRun> runs) {
  state_->runs = std::move(runs);
  state_->nextRun = 0;
}

void SolverDouble::failOn(std::string op, std::string kind, std::string text) {
  state_->failures[std::move(op)] = {std::move(kind), std::move(text)};
}

const std::vector<std::string>& SolverDouble::journal() const { return state_->journal; }
const std::vector<DoubleColumn>& SolverDouble::columns() const { return state_->columns; }
const std::vector<DoubleRow>& SolverDouble::rows() const { return state_->rows; }
const std::vector<DoubleObjective>& SolverDouble::objectives() const { return state_->objectives; }
const std::vector<DoubleSet>& SolverDouble::sets() const { return state_->sets; }
const std::vector<DoubleIndicator>& SolverDouble::indicators() const { return state_->indicators; }
bool SolverDouble::fixed() const { return state_->fixed; }

std::optional<std::string> SolverDouble::option(std::string_view name) const {
  const auto found = state_->options.find(lower(name));
  if (found == state_->options.end() || found->second.elemCount() < 1) return std::nullopt;
  const BaseItem& item = found->second;
  switch (item.typeCode()) {
    case nuv::attr::TypeCode::kDouble:
      return std::to_string(nuv::attr::Item<double>(item).get(0));
    case nuv::attr::TypeCode::kInt:
      return std::to_string(nuv::attr::Item<int>(item).get(0));
    case nuv::attr::TypeCode::kUnsigned64:
      return std::to_string(nuv::attr::Item<unsigned long>(item).get(0));
    case nuv::attr::TypeCode::kBool:
      return nuv::attr::Item<bool>(item).get(0) ? "true" : "false";
    case nuv::attr::TypeCode::kString:
      return nuv::attr::Item<std::string>(item).get(0);
    default:
      return std::nullopt;
  }
}

std::optional<std::string> SolverDouble::modelName() const {
  if (state_->modelName->elemCount() < 1) return std::nullopt;
  return state_->modelName->get(0);
}

bool SolverDouble::started() const { return state_->started; }

void SolverDouble::start(std::span<const std::string> /*arguments*/,
                         std::string_view /*location*/) {
  state_->maybeFail("start");
  state_->record("start");
  state_->started = true;
}

void SolverDouble::clear() {
  State& s = *state_;
  s.maybeFail("clear");
  s.record("clear");
  s.columns.clear();
  s.rows.clear();
  s.linearRows.clear();
  s.objectives.clear();
  s.sets.clear();
  s.indicators.clear();
  s.contexts.clear();
  s.solved = false;
  s.fixed = false;
  s.log = std::make_shared<nuv::opt::AbstractLog>();
  s.callback.reset();
}

bool SolverDouble::setLog(const std::shared_ptr<nuv::opt::AbstractLog>& log) {
  state_->record("setLog");
  if (!log) return false;
  state_->log = log;
  return true;
}

std::shared_ptr<nuv::opt::AbstractLog> SolverDouble::getLog() const { return state_->log; }

bool SolverDouble::setCallback(const std::shared_ptr<nuv::opt::AbstractCallback>& callback) {
  state_->record("setCallback");
  if (!callback) return false;
  state_->callback = callback;
  return true;
}

std::shared_ptr<nuv::opt::AbstractCallback> SolverDouble::getCallback() const {
  return state_->callback;
}

bool SolverDouble::addCallbackContext(const nuv::TagIndex& context) {
  state_->record("context " + contextText(context));
  if (context.tag != "nuv:context" || context.index > 2) return false;
  state_->contexts.push_back(context);
  return true;
}

std::shared_ptr<nuv::opt::AbstractVariableAdder> SolverDouble::variableAdder(
    const nuv::Tag& domain, const nuv::TagIndex* context) {
  state_->record("variableAdder " + std::string(domain));
  if (context != nullptr || domain != keys::interval_domain::tag) return nullptr;
  return std::make_shared<VariableAdder>(state_);
}

std::shared_ptr<nuv::opt::AbstractConstraintAdder> SolverDouble::constraintAdder(
    const nuv::Tag& function, const nuv::Tag& domain, const nuv::TagIndex* context) {
  state_->record("constraintAdder " + std::string(function) + " " + std::string(domain));
  if (context != nullptr) return nullptr;
  const bool linear = function == keys::linear_function::tag;
  const bool quadratic = function == keys::quadratic_function::tag;
  const bool identity = function == keys::identity_function::tag;
  int kind = 0;
  if (domain == keys::static_bounded_domain::tag) {
    kind = linear ? kLinearRows : quadratic ? kQuadraticRows : identity ? kNonlinearRows : 0;
  } else if (domain == keys::sense_domain::tag) {
    kind = linear      ? kLinearObjective
           : quadratic ? kQuadraticObjective
           : identity  ? kNonlinearObjective
                       : 0;
  } else if (domain == keys::sos_domain::tag && identity) {
    kind = kSets;
  }
  if (kind == 0) return nullptr;
  return std::make_shared<ConstraintAdder>(state_, kind);
}

std::shared_ptr<nuv::opt::AbstractLinkedConstraintAdder> SolverDouble::linkedConstraintAdder(
    const nuv::TagIndex& link, const nuv::Tag& firstFunction, const nuv::Tag& firstDomain,
    const nuv::Tag& secondFunction, const nuv::Tag& secondDomain, const nuv::TagIndex* context) {
  state_->record("linkedConstraintAdder " + std::string(secondFunction));
  const bool quadratic = secondFunction == keys::quadratic_function::tag;
  if (context != nullptr || link != keys::constraint_link::indicator ||
      firstFunction != keys::identity_function::tag ||
      firstDomain != keys::static_bounded_domain::tag ||
      secondDomain != keys::static_bounded_domain::tag ||
      (!quadratic && secondFunction != keys::linear_function::tag)) {
    return nullptr;
  }
  return std::make_shared<IndicatorAdder>(state_, quadratic);
}

namespace {

double levelOf(const SolverDouble::State& s, std::size_t column, std::size_t element) {
  if (!s.last.levels.empty()) return s.last.levels[element][column];
  const double lb = s.columns[column].lower;
  return std::isfinite(lb) ? lb : 0.0;
}

std::size_t solutionCount(const SolverDouble::State& s) {
  if (!s.solved || !s.last.solution) return 0;
  return s.last.levels.empty() ? 1 : s.last.levels.size();
}

// Shares the row numbers of the linear rows; item i of a view is row linearRows[i].
BaseContainer linearRowView(const SolverDouble::State& s, BaseContainer all) {
  if (s.linearRows.size() == s.rows.size()) return all;
  const nuv::idx::List list(std::make_shared<nuv::idx::lib::List>(s.linearRows));
  if (all.typeCode() == nuv::attr::TypeCode::kDouble) {
    return BaseContainer(nuv::attr::view::listOf(
        std::static_pointer_cast<nuv::attr::AbstractContainer<double>>(all.shared()), list));
  }
  return BaseContainer(nuv::attr::view::listOf(
      std::static_pointer_cast<nuv::attr::AbstractContainer<int>>(all.shared()), list));
}

template <class T>
BaseContainer values(Index items, std::vector<std::vector<T>> elements) {
  return BaseContainer(std::make_shared<VectorContainer<T>>(items, std::move(elements)));
}

BaseContainer single(std::optional<double> value) {
  if (!value) return BaseContainer(std::make_shared<VectorContainer<double>>(Index{1}));
  return BaseContainer(std::make_shared<VectorContainer<double>>(std::vector<double>{*value}));
}

}  // namespace

nuv::opt::VariableContainer SolverDouble::variables(std::uint64_t id,
                                                    const nuv::TagIndex* context) const {
  const State& s = *state_;
  state_->maybeFail("variables");
  state_->record("variables " + std::to_string(id - s.base));
  nuv::opt::VariableContainer out;
  if (id != s.id(kVariables) || context != nullptr) return out;
  const auto n = static_cast<Index>(s.columns.size());
  const std::size_t solutions = solutionCount(s);
  std::vector<std::vector<double>> levels(solutions);
  std::vector<std::vector<double>> reduced(solutions > 0 ? 1 : 0);
  std::vector<std::vector<int>> basis(solutions > 0 ? 1 : 0);
  for (std::size_t e = 0; e < solutions; ++e) {
    for (std::size_t j = 0; j < s.columns.size(); ++j) levels[e].push_back(levelOf(s, j, e));
  }
  if (solutions > 0) {
    for (std::size_t j = 0; j < s.columns.size(); ++j) {
      reduced[0].push_back(s.last.reducedCosts ? (*s.last.reducedCosts)[j] : 1000.0 + j);
      basis[0].push_back(1 + static_cast<int>(j % 3));
    }
  }
  auto dict = std::make_shared<DomainDict<nuv::opt::lib::interval_domain::AbstractContainerDict>>();
  dict->put(keys::interval_domain::level, values(n, std::move(levels)));
  dict->put(keys::interval_domain::marginal, values(n, std::move(reduced)));
  dict->put(keys::interval_domain::basis, values(n, std::move(basis)));
  dict->put(keys::interval_domain::infeasible_mark,
            values(n, std::vector<std::vector<int>>{std::vector<int>(s.columns.size(), 0)}));
  out.domain = nuv::attr::ContainerDict(dict);
  return out;
}

nuv::opt::ConstraintContainer SolverDouble::constraints(std::uint64_t id,
                                                        const nuv::TagIndex* context) const {
  const State& s = *state_;
  state_->maybeFail("constraints");
  state_->record("constraints " + std::to_string(id - s.base));
  nuv::opt::ConstraintContainer out;
  const auto kindOf = [&](std::uint64_t k) { return id == s.id(static_cast<int>(k)); };
  if (kindOf(kLinearRows) && context == nullptr) {
    const auto m = static_cast<Index>(s.rows.size());
    const bool have = solutionCount(s) > 0;
    std::vector<std::vector<double>> slack(have ? 1 : 0);
    std::vector<std::vector<double>> dual(have ? 1 : 0);
    std::vector<std::vector<int>> basis(have ? 1 : 0);
    std::vector<std::vector<int>> marks{std::vector<int>(s.rows.size(), 0)};
    if (!s.last.rowMarks.empty()) marks[0] = s.last.rowMarks;
    for (std::size_t r = 0; have && r < s.rows.size(); ++r) {
      const DoubleFunction& f = s.rows[r].function;
      double activity = 0.0;
      for (std::size_t k = 0; k < f.columns.size(); ++k) {
        activity += f.coefs[k] * levelOf(s, static_cast<std::size_t>(f.columns[k]), 0);
      }
      // The row reads a·x + b against 0: rhs is -b.
      slack[0].push_back(-f.constant - activity);
      dual[0].push_back(s.last.duals ? (*s.last.duals)[r] : 100.0 + r);
      basis[0].push_back(1 + static_cast<int>(r % 3));
    }
    auto dict =
        std::make_shared<DomainDict<nuv::opt::lib::static_bounded_domain::AbstractContainerDict>>();
    dict->put(keys::static_bounded_domain::slack, linearRowView(s, values(m, std::move(slack))));
    dict->put(keys::static_bounded_domain::dual, linearRowView(s, values(m, std::move(dual))));
    dict->put(keys::static_bounded_domain::basis, linearRowView(s, values(m, std::move(basis))));
    dict->put(keys::static_bounded_domain::infeasible_mark,
              linearRowView(s, values(m, std::move(marks))));
    out.domain = nuv::attr::ContainerDict(dict);
    return out;
  }
  for (const int kind : {kLinearObjective, kQuadraticObjective, kNonlinearObjective}) {
    if (!kindOf(static_cast<std::uint64_t>(kind))) continue;
    const char letter = kind == kLinearObjective ? 'l' : kind == kQuadraticObjective ? 'q' : 'n';
    const auto count = std::count_if(s.objectives.begin(), s.objectives.end(),
                                     [&](const DoubleObjective& o) { return o.kind == letter; });
    if (count != 1) return out;
    std::optional<double> value;
    std::optional<double> bound;
    if (context != nullptr) {
      state_->noteOwnContext(context);
      if (!s.inCallback || !(s.inCallback->context == *context)) return out;
      value = s.inCallback->objective;
      bound = s.inCallback->bound;
    } else if (s.solved) {
      value = s.last.objective;
      bound = s.last.bound;
    }
    auto dict = std::make_shared<DomainDict<nuv::opt::lib::sense_domain::AbstractContainerDict>>();
    dict->put(keys::sense_domain::objective_value, single(value));
    dict->put(keys::sense_domain::objective_bound, single(bound));
    out.domain = nuv::attr::ContainerDict(dict);
  }
  return out;
}

std::shared_ptr<nuv::attr::AbstractItemDict> SolverDouble::attribs(
    const nuv::Tag& name, const nuv::TagIndex* context) const {
  const State& s = *state_;
  state_->record("attribs " + std::string(name));
  if (name == "dbl" && context == nullptr) return std::make_shared<OptionDict>(state_);
  if (name != keys::solver::tag) return nullptr;
  state_->noteOwnContext(context);
  auto dict = std::make_shared<SolverAttribs>();
  dict->put(keys::solver::model_name, BaseItem(s.modelName));
  if (context != nullptr) {
    if (s.inCallback && s.inCallback->context == *context) {
      dict->put(keys::solver::node_count, holding<unsigned long>(s.inCallback->nodes));
      dict->put(keys::solver::time_used, holding<double>(s.inCallback->time));
    }
    return dict;
  }
  const bool solved = s.solved && s.last.solution;
  dict->put(keys::solver::solution_status,
            holding<int>(solved ? std::optional<int>(s.last.solutionStatus) : std::nullopt));
  dict->put(keys::solver::iteration_count,
            holding<unsigned long>(s.solved ? std::optional(s.last.iterations) : std::nullopt));
  dict->put(keys::solver::node_count,
            holding<unsigned long>(s.solved ? std::optional(s.last.nodes) : std::nullopt));
  dict->put(keys::solver::time_used,
            holding<double>(s.solved ? std::optional(s.last.time) : std::nullopt));
  return dict;
}

std::shared_ptr<nuv::opt::AbstractCommand> SolverDouble::command(
    const nuv::TagIndex& which, const nuv::TagIndex* context) const {
  state_->record("command " + contextText(which));
  if (which != keys::command::fix || context != nullptr) return nullptr;
  return std::make_shared<FixCommand>(state_);
}

nuv::opt::SolveStatus SolverDouble::solve() {
  State& s = *state_;
  s.maybeFail("solve");
  s.record("solve");
  s.last = s.runs.empty() ? DoubleRun{} : s.runs[std::min(s.nextRun, s.runs.size() - 1)];
  ++s.nextRun;
  s.solved = false;
  for (const DoubleCallback& event : s.last.callbacks) {
    if (std::find(s.contexts.begin(), s.contexts.end(), event.context) == s.contexts.end() ||
        !s.callback) {
      continue;
    }
    s.inCallback = event;
    s.callback->notify(s.inCallback->context);
    s.inCallback.reset();
  }
  for (const std::string& line : s.last.log) s.log->println(line);
  for (const std::string& text : s.last.errors) s.log->error("Double", text);
  s.solved = true;
  return s.last.status;
}

void SolverDouble::terminate() { ++state_->terminations; }

int SolverDouble::terminations() const { return state_->terminations.load(); }

}  // namespace qel_test
