#pragma once

#include "solver/limit_programme.h"

#include <optional>
#include <vector>

// The least relaxation of a problem's limits that lets them all be met, and what a mix within
// relaxed limits costs.
namespace tarvela::simplex {

struct ElasticAnswer {
    bool found = false;
    // Per limit of the programme: the value the relaxation gives it (its own value when it is
    // not moved), and the price of its row, which is not 0 only for limits that take part in the
    // conflict the relaxation resolves.
    std::vector<double> values;
    std::vector<double> prices;
};

// The elastic programme: every nutrient and ingredient limit may be broken by a violation
// variable, weighted so that the objective is the sum of the relative moves of the limits (a move
// of a limit of 0 counts relative to the batch, or to the nutrient's largest content). The batch
// stays as it is: moving it is the same as moving every ingredient limit in proportion. With
// ingredients as fed and nutrients on dry matter a nutrient's move is weighed at the dry matter
// of the mix, which a second solve takes from the first one's mix. The new values are those of
// the mix found, so that it meets every moved limit.
ElasticAnswer leastRelaxation(const LimitProgramme& programme);
// The same with the roles given: only the Elastic limits may move, the Hard ones hold and the
// Absent ones are left out (they keep their values in the answer).
ElasticAnswer leastRelaxation(const LimitProgramme& programme, const std::vector<Role>& roles);

// The least cost per unit as fed of a mix that meets the problem's limits, by the run's own
// programme and solver; std::nullopt when the run would not find such a mix.
std::optional<double> leastUnitCost(const LpProblem& problem);

} // namespace tarvela::simplex
