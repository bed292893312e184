#include "formulation/reachability.h"

#include "solver/tolerances.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace tarvela::formulation {

double blendMaximum(const std::vector<ReachIngredient>& ingredients, bool sameBasis) {
    if (!sameBasis) {
        double best = -std::numeric_limits<double>::infinity();
        for (const ReachIngredient& ing : ingredients)
            if (ing.maxShare > 0)
                best = std::max(best, ing.content);
        return std::isinf(best) ? 0.0 : best;
    }

    double value = 0;
    double filled = 0;
    for (const ReachIngredient& ing : ingredients) {
        value += ing.content * ing.minShare;
        filled += ing.minShare;
    }
    std::vector<size_t> order(ingredients.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return ingredients[a].content > ingredients[b].content;
    });
    for (size_t k : order) {
        const double room = 1.0 - filled;
        if (room <= 0)
            break;
        const ReachIngredient& ing = ingredients[k];
        const double add = std::min(ing.maxShare - ing.minShare, room);
        if (add <= 0)
            continue;
        value += ing.content * add;
        filled += add;
    }
    return value;
}

bool minimumReachable(double blendMax, double minimo) {
    // The shares may add up to a little over 1: a minimum short by that much is not refused.
    return blendMax >= minimo - (simplex::kShareSumAbove - 1.0) * std::max(1.0, std::fabs(minimo));
}

} // namespace tarvela::formulation
