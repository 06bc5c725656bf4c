// The trace the host asks for with the trace settings: the link's callback writes one CSV line
// per chosen callback, with the node count, the time used, the objective value and the bound
// read from the running solve (the dictionaries asked with the callback's context).
//
//   context,nodes,time,objective,bound
//   node,100,0.52,3089,2974.5
//
// Lines: "progress" when at least the time step passed since the last one, "node" when at
// least the node step of nodes passed since the last one, "incumbent" for every new incumbent.
// A field the solver cannot give stays empty.
#ifndef ORLA_SRC_TRACE_HPP_
#define ORLA_SRC_TRACE_HPP_

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

#include "nuv/opt/abstract_callback.hpp"
#include "settings.hpp"

namespace nuv::opt {
class AbstractSolver;
}  // namespace nuv::opt

namespace orla::detail {

class TraceCallback final : public nuv::opt::AbstractCallback {
 public:
  // Opens the file and writes the header; raises LinkError when the file cannot be written.
  // The solver owns the callback once it is set, so the callback holds the solver only by
  // reference.
  TraceCallback(nuv::opt::AbstractSolver& solver, const Settings& settings);

  // The objective adder whose value and bound go into the lines; none leaves them empty.
  void setObjective(std::optional<std::uint64_t> adderId) { objective_ = adderId; }

  // Never raises: the optimizer calls it. The first failure stops the trace and is kept.
  void notify(const nuv::TagIndex& context) override;
  [[nodiscard]] const std::optional<std::string>& failure() const { return failure_; }

 private:
  void write(const nuv::TagIndex& given);

  nuv::opt::AbstractSolver& solver_;
  std::ofstream out_;
  std::string path_;
  int nodeStep_;
  double timeStep_;
  std::uint64_t lastNodes_ = 0;
  double lastTime_ = 0.0;
  std::optional<std::uint64_t> objective_;
  std::optional<std::string> failure_;
};

}  // namespace orla::detail

#endif  // ORLA_SRC_TRACE_HPP_
