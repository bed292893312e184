#pragma once

#include "solver/simplex.h"

// Solving a changed programme again from the basis its predecessor ended at: a stepped curve
// moves one limit or one price a little at a time, and each step is a few pivots from the last.
namespace tarvela::simplex {

struct WarmSolve {
    SolveReport report;
    // The step went on from the previous basis; false when it was solved from the slack basis.
    bool fromBasis = false;
    long pivots = 0;
};

// `t` holds the final tableau of the programme before the change and `initial` the changed
// programme's initial tableau, of the same shape. The tableau is recomputed for t's basis from
// the changed data and optimised from there: by the primal simplex when the basis is still
// feasible, by the dual simplex when it is still optimal. Otherwise (neither, a singular basis,
// a row the dual simplex cannot raise, a stall) the changed programme is solved from its slack
// basis as a run would solve it, so that an infeasible verdict is always the run's own.
WarmSolve solveFromBasis(Tableau& t, const Tableau& initial);

} // namespace tarvela::simplex
