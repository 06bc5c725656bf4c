// The host options the link answers itself: the settings of the features its definition
// enables, found by the names the definition gives them, without regard to case.
#ifndef ORLA_SRC_SETTINGS_HPP_
#define ORLA_SRC_SETTINGS_HPP_

#include <optional>
#include <string>
#include <vector>

#include "orla/link.hpp"
#include "orla/vop_rec.hpp"

namespace orla::detail {

struct Settings {
  bool mipCleanup = false;
  std::string fixOptFile;
  bool allObjectives = true;
  std::optional<double> objectiveAbsTol;
  std::optional<double> objectiveRelTol;
  std::string traceFile;
  int traceNodeStep = 100;
  double traceTimeStep = 5.0;
  bool traceIncumbent = true;
};

// Splits the options into the link's settings and the rest, which go to the solver. Raises
// LinkError for a bad value of a link setting and for the stop-expression settings.
[[nodiscard]] Settings takeLinkOptions(const LinkDef& definition,
                                       const std::vector<vopRec::Option>& options,
                                       std::vector<vopRec::Option>* solverOptions);

}  // namespace orla::detail

#endif  // ORLA_SRC_SETTINGS_HPP_
