// The host's model as the solver's adders take it: one container per batch, built from the
// framework's in-memory containers and dictionaries.
//
// Variables refer to each other by the indices the variable adder returned: `ColumnMap` holds
// them, with the adder's id, and every function names its variables through it. A value that
// only some entities of a kind carry (start values, priorities, bases, names) is passed on for
// all of them or, with a warning, for none.
#ifndef ORLA_SRC_BATCHES_HPP_
#define ORLA_SRC_BATCHES_HPP_

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "nuv/opt/constraint_container.hpp"
#include "nuv/opt/linked_constraint_container.hpp"
#include "nuv/opt/variable_container.hpp"
#include "orla/vop_rec.hpp"
#include "settings.hpp"

namespace orla::detail {

// What the solver calls the host's columns.
struct ColumnMap {
  std::uint64_t owner = 0;   // the variable adder's id
  std::vector<int> indices;  // host column j is the solver's variable indices[j]
};

// One constraint the solver receives: a whole host row, or one side of a row whose two
// bounds are finite and differ. `entity` is the number of the row, indicator or nonlinear row.
struct RowPart {
  int entity = 0;
  int type = 0;  // 0 greater or equal, 1 less or equal, 2 equal
  double rhs = 0.0;
  std::string name;
};

// The parts of lower <= f <= upper: none when both bounds are infinite, the greater-or-equal
// part first when there are two. Two parts carry the suffixes "_lo" and "_up".
[[nodiscard]] std::vector<RowPart> splitRow(int entity, const std::string& name, double lower,
                                            double upper);

class BatchBuilder {
 public:
  // Decides once which optional values pass; warnings go to `warnings`.
  BatchBuilder(const vopRec& model, const Settings& settings, std::vector<std::string>* warnings);

  // The objectives that are handed over: all, or the first alone.
  [[nodiscard]] std::span<const vopRec::Objective> objectives() const { return objectives_; }

  [[nodiscard]] nuv::opt::VariableContainer variables(int first, int count) const;
  // Linear rows: parts of model.rows.
  [[nodiscard]] nuv::opt::ConstraintContainer linearRows(std::span<const RowPart> parts,
                                                         const ColumnMap& columns) const;
  // Quadratic rows: parts of model.rows.
  [[nodiscard]] nuv::opt::ConstraintContainer quadraticRows(std::span<const RowPart> parts,
                                                            const ColumnMap& columns) const;
  [[nodiscard]] nuv::opt::ConstraintContainer linearObjectives(int first, int count,
                                                               const ColumnMap& columns) const;
  [[nodiscard]] nuv::opt::ConstraintContainer quadraticObjective(const vopRec::Objective& objective,
                                                                 const ColumnMap& columns) const;
  [[nodiscard]] nuv::opt::ConstraintContainer nonlinearObjective(const vopRec::Objective& objective,
                                                                 const ColumnMap& columns) const;
  [[nodiscard]] nuv::opt::ConstraintContainer sets(int first, int count,
                                                   const ColumnMap& columns) const;
  // Indicators: parts of model.indicators (their rows split like host rows).
  [[nodiscard]] nuv::opt::LinkedConstraintContainer indicators(std::span<const RowPart> parts,
                                                               const ColumnMap& columns) const;
  // Nonlinear rows: parts of model.nonlinearRows.
  [[nodiscard]] nuv::opt::ConstraintContainer nonlinearRows(std::span<const RowPart> parts,
                                                            const ColumnMap& columns) const;

 private:
  nuv::opt::ConstraintContainer rowsOf(std::span<const RowPart> parts,
                                       std::span<const vopRec::Row* const> rows,
                                       const ColumnMap& columns, bool quadratic,
                                       bool withBasis) const;

  const vopRec& model_;
  const Settings& settings_;
  std::span<const vopRec::Objective> objectives_;
  bool columnStarts_ = false;
  bool columnPriorities_ = false;
  bool columnBasis_ = false;
  bool columnNames_ = false;
  bool rowBasis_ = false;
};

}  // namespace orla::detail

#endif  // ORLA_SRC_BATCHES_HPP_
