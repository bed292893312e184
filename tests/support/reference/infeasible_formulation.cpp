#include "support/reference/infeasible_formulation.h"

#include "support/reference/glpk_reference.h"

#include <cmath>

namespace tarvela::test {

simplex::LpProblem infeasibleFormulation(std::mt19937_64& rng, int ni, int nutrients, Bases bases) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (;;) {
        simplex::LpProblem pb = generateFormulation(rng, ni, nutrients, bases);
        const int pushes = 1 + static_cast<int>(rng() % 3);
        for (int p = 0; p < pushes; ++p) {
            const double r = u(rng);
            auto& nut = pb.nutrients[rng() % pb.nutrients.size()];
            auto& ing = pb.ingredients[rng() % pb.ingredients.size()];
            if (r < 0.35 && nut.minimo)
                *nut.minimo *= 1.3 + 2 * u(rng);
            else if (r < 0.6 && nut.maximo)
                *nut.maximo *= 0.2 + 0.6 * u(rng);
            else if (r < 0.85)
                ing.minimo = std::round(pb.Q * (0.2 + 0.6 * u(rng)) * 100) / 100;
            else
                ing.maximo = std::round(pb.Q * 0.1 * u(rng) * 100) / 100;
            if (ing.minimo && ing.maximo && *ing.minimo > *ing.maximo)
                ing.maximo = std::nullopt;
            if (nut.minimo && nut.maximo && *nut.minimo >= *nut.maximo * 0.999)
                nut.maximo = std::nullopt;
        }
        if (solveProblemWithGlpk(pb))
            continue;
        auto built = simplex::buildTableau(pb);
        if (simplex::solve(built.tableau).outcome == simplex::Outcome::Infeasible)
            return pb;
    }
}

} // namespace tarvela::test
