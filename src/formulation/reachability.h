#pragma once

#include <vector>

// Whether a nutrient minimum can be reached by some blend of the ingredients that may enter.
namespace tarvela::formulation {

struct ReachIngredient {
    double content = 0;  // on the nutrients' basis
    double minShare = 0; // minimo / Q, 0 when none
    double maxShare = 1; // maximo / Q, 1 when none
};

// The largest value of the nutrient over the blends whose shares lie between their limits and
// add up to 1. With sameBasis (shares and contents on one basis) the value is a weighted sum and
// the greedy fill is exact: every ingredient at its minimum share, then the richest ingredients
// up to their largest share until the shares add up to 1. Otherwise (shares as fed, nutrient on
// dry matter) the value is a ratio of sums, bounded by the largest content among the ingredients
// that may enter.
double blendMaximum(const std::vector<ReachIngredient>& ingredients, bool sameBasis);

// The minimum counts as reachable unless even the blend maximum stays below it.
bool minimumReachable(double blendMax, double minimo);

} // namespace tarvela::formulation
