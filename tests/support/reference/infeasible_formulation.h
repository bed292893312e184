#pragma once

// Generated formulation problems whose limits cannot all be met; shared by the diagnosis tests
// and benchmark.
#include "support/reference/formulation_lp.h"

#include <random>

namespace tarvela::test {

// A generated formulation (ni ingredients, about `nutrients` nutrients) with one to three limits
// pushed out of reach of the others: nutrient minimums raised, maximums lowered, ingredient
// minimums raised or maximums lowered, never a minimum above its own maximum. Both GLPK and the
// run's solver find no mix within its limits.
simplex::LpProblem infeasibleFormulation(std::mt19937_64& rng, int ni, int nutrients, Bases bases);

} // namespace tarvela::test
