// The cut generators the library's Cbc searches use: probing (on the objective), Gomory,
// knapsack cover, clique (without its reports), mixed-integer rounding and flow cover. Cbc keeps
// pointers to them: they must outlive the search.
#ifndef XPRS_CUT_GENERATORS_HPP_
#define XPRS_CUT_GENERATORS_HPP_

#include <coin/CbcModel.hpp>
#include <coin/CglClique.hpp>
#include <coin/CglFlowCover.hpp>
#include <coin/CglGomory.hpp>
#include <coin/CglKnapsackCover.hpp>
#include <coin/CglMixedIntegerRounding2.hpp>
#include <coin/CglProbing.hpp>

namespace xprs::standin {

struct CutGenerators {
  CutGenerators() {
    probing.setUsingObjective(1);
    clique.setStarCliqueReport(false);
    clique.setRowCliqueReport(false);
  }

  // With withProbing false, every generator but probing.
  void addTo(CbcModel& cbc, bool withProbing = true) {
    if (withProbing) cbc.addCutGenerator(&probing, -1, "Probing");
    cbc.addCutGenerator(&gomory, -1, "Gomory");
    cbc.addCutGenerator(&knapsack, -1, "Knapsack");
    cbc.addCutGenerator(&clique, -1, "Clique");
    cbc.addCutGenerator(&mir, -1, "MixedIntegerRounding2");
    cbc.addCutGenerator(&flow, -1, "FlowCover");
  }

  CglProbing probing;
  CglGomory gomory;
  CglKnapsackCover knapsack;
  CglClique clique;
  CglMixedIntegerRounding2 mir;
  CglFlowCover flow;
};

}  // namespace xprs::standin

#endif  // XPRS_CUT_GENERATORS_HPP_
