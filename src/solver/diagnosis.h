#pragma once

#include "solver/limit_programme.h"

#include <optional>
#include <vector>

// Why a least-cost problem has no mix that meets its limits: every independent set of limits that
// cannot be met together, how far each of them must move on its own, and the least combined move
// of the limits that lets them all be met.
namespace tarvela::simplex {

struct LimitChange {
    Limit limit;
    std::optional<double> newValue;
};

struct Relaxation {
    std::vector<LimitChange> changes; // the limits it moves, each with its new value
    double unitCost = 0;              // least cost per unit as fed within the new limits
};

struct Diagnosis {
    // The limits can be met together after all (a run may still have been stopped by a check
    // that is stricter than its programme): there is nothing to name.
    bool limitsMet = false;
    // The independent conflicts: a minimal set, then with its limits set aside (the batch stays)
    // another, until the rest can be met. Each limit with the value it must take on its own to
    // resolve its set, the limits of the other sets set aside and every other limit holding, or
    // std::nullopt when moving it alone is not enough.
    std::vector<std::vector<LimitChange>> conflicts;
    // Moves only limits of the conflicts; std::nullopt when no relaxation could be confirmed by
    // the run's own programme.
    std::optional<Relaxation> relaxation;
};

// The decimals the windows show limits with; new values are rounded outward (a minimum down, a
// maximum up) to them, so that the value the grid shows is the value stored, and the limits
// so moved can still be met together.
struct DiagnosisOptions {
    int nutrientDecimals = 2;
    int ratioDecimals = 2;
    int ingredientDecimals = 3; // ingredients and groups of them
    int batchDecimals = 2;

    int decimalsOf(LimitKind kind) const;
};

Diagnosis diagnose(const LpProblem& problem, const DiagnosisOptions& options = {});

// The problem with the changes' new values in place of its limits (the batch quantity for a
// change of the batch).
LpProblem withChanges(const LpProblem& problem, const std::vector<LimitChange>& changes);

// Rounds up or down to the given decimals; a value within round-off of the rounded value is
// taken as it.
double roundOutward(double value, int decimals, bool up);

// The decimals a value is shown with beside the grids' own: those, or 4 significant digits when
// a step of those decimals is above 1 % of the value.
int decimalsFor(double value, int decimals);

} // namespace tarvela::simplex
