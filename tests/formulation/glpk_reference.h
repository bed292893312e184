#pragma once

#include "solver/problem.h"

#include <optional>
#include <vector>

// The least-cost programme solved by GLPK's primal simplex, as an independent reference: shares
// between their limits (equal limits widened by 0.001 batch units), nutrient rows on the basis
// combination's terms, shares adding up to 1 within 1e-8.
namespace tarvela::test {

struct GlpkSolution {
    double unitCost = 0;        // per unit of the ingredients' basis
    std::vector<double> shares; // one per ingredient
};

// std::nullopt when GLPK finds no feasible mix.
std::optional<GlpkSolution> solveWithGlpk(const simplex::LpProblem& problem);

} // namespace tarvela::test
