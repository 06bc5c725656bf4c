#include "trace.hpp"

#include "link_error.hpp"
#include "nuv/opt/abstract_solver.hpp"
#include "nuv/opt/context.hpp"
#include "nuv/opt/keys.hpp"
#include "reading.hpp"
#include "text.hpp"

namespace orla::detail {
namespace {

std::string field(const std::optional<double>& value) {
  return value ? formatDouble(*value) : std::string();
}

}  // namespace

TraceCallback::TraceCallback(nuv::opt::AbstractSolver& solver, const Settings& settings)
    : solver_(solver),
      out_(settings.traceFile),
      path_(settings.traceFile),
      nodeStep_(settings.traceNodeStep),
      timeStep_(settings.traceTimeStep) {
  out_ << "context,nodes,time,objective,bound\n";
  if (!out_.flush()) throw LinkError("cannot write the trace file '" + path_ + "'");
}

void TraceCallback::notify(const nuv::TagIndex& context) {
  if (failure_) return;
  try {
    write(context);
  } catch (const std::exception& e) {
    failure_ = std::string("the trace stopped: ") + e.what();
  } catch (...) {
    failure_ = "the trace stopped: an exception of unknown type";
  }
}

void TraceCallback::write(const nuv::TagIndex& given) {
  // The link's own context object goes back to the solver, never the one the solver made.
  const nuv::TagIndex* context = nullptr;
  for (const nuv::TagIndex* own : {&nuv::opt::context::progress, &nuv::opt::context::node,
                                   &nuv::opt::context::new_incumbent}) {
    if (*own == given) context = own;
  }
  if (context == nullptr) return;
  const auto attributes = solver_.attribs(nuv::opt::solver::tag, context);
  const auto nodes = itemValue<unsigned long>(attributes.get(), nuv::opt::solver::node_count);
  const auto time = itemValue<double>(attributes.get(), nuv::opt::solver::time_used);
  const char* kind = nullptr;
  if (context == &nuv::opt::context::new_incumbent) {
    kind = "incumbent";
  } else if (context == &nuv::opt::context::node) {
    if (!nodes || *nodes < lastNodes_ + static_cast<std::uint64_t>(nodeStep_)) return;
    lastNodes_ = *nodes;
    kind = "node";
  } else {
    if (!time || *time < lastTime_ + timeStep_) return;
    lastTime_ = *time;
    kind = "progress";
  }
  std::optional<double> value;
  std::optional<double> bound;
  if (objective_) {
    const auto results = solver_.constraints(*objective_, context);
    value = singleValue(results, nuv::opt::sense_domain::objective_value);
    bound = singleValue(results, nuv::opt::sense_domain::objective_bound);
  }
  out_ << kind << ',' << (nodes ? std::to_string(*nodes) : std::string()) << ',' << field(time)
       << ',' << field(value) << ',' << field(bound) << '\n';
  if (!out_.flush()) throw LinkError("cannot write the trace file '" + path_ + "'");
}

}  // namespace orla::detail
