// One run of the host link: the model object in, through the solver's interface, and the
// results back. See orla/link.hpp for the order of the calls.
#ifndef ORLA_SRC_DRIVER_HPP_
#define ORLA_SRC_DRIVER_HPP_

#include "orla/link.hpp"
#include "orla/vop_rec.hpp"

namespace nuv::opt {
class AbstractSolver;
}  // namespace nuv::opt

namespace orla::detail {

class InterruptWatch;

// Loads the model into the solver, solves and fills model.results; warnings go to
// model.messages, followed by the errors the solver logged ("error: title: text"), also when
// the run fails. Raises std::exception on failure, with a text that says what the link was
// doing ("loading the linear rows: ...") unless the link itself found the fault. Every solve
// runs through `interrupts`.
void drive(nuv::opt::AbstractSolver& solver, const LinkDef& definition, vopRec& model,
           InterruptWatch& interrupts);

}  // namespace orla::detail

#endif  // ORLA_SRC_DRIVER_HPP_
