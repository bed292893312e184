#include "solver/diagnosis.h"

#include "solver/limit_conflict.h"
#include "solver/limit_relaxation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace tarvela::simplex {

namespace {

std::vector<Role> hardOnly(std::size_t size, const std::vector<int>& hard) {
    std::vector<Role> roles(size, Role::Absent);
    for (int k : hard)
        roles[static_cast<std::size_t>(k)] = Role::Hard;
    return roles;
}

// The limits whose rows carry a price at the optimum of the elastic programme. Their prices
// prove that these limits cannot be met together (with the normalisation), so the deletion
// filter can start from them instead of from every limit.
std::vector<int> pricedLimits(const std::vector<double>& prices) {
    double largest = 0;
    for (double p : prices)
        largest = std::max(largest, p);
    std::vector<int> priced;
    for (std::size_t k = 0; k < prices.size(); ++k)
        if (prices[k] > 1e-9 * largest)
            priced.push_back(static_cast<int>(k));
    return priced;
}

double rounded(const Limit& limit, double value, const DiagnosisOptions& options) {
    int decimals = options.nutrientDecimals;
    if (limit.kind == LimitKind::Ingredient)
        decimals = options.ingredientDecimals;
    else if (limit.kind == LimitKind::Total)
        decimals = options.batchDecimals;
    return roundOutward(value, decimals, limit.side == LimitSide::Maximum);
}

} // namespace

int decimalsFor(double value, int decimals) {
    // The grids' step is fine enough while it is within 1 % of the value.
    if (value == 0 || !std::isfinite(value) || std::fabs(value) * 0.01 >= std::pow(10.0, -decimals))
        return decimals;
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    return std::max(decimals, std::min(3 - magnitude, 12));
}

double roundOutward(double value, int decimals, bool up) {
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimalsFor(value, decimals));
    const double scaled = value * scale;
    const double nearest = std::round(scaled);
    if (std::fabs(scaled - nearest) <= 1e-6)
        return nearest / scale;
    return (up ? std::ceil(scaled) : std::floor(scaled)) / scale;
}

LpProblem withChanges(const LpProblem& problem, const std::vector<LimitChange>& changes) {
    LpProblem changed = problem;
    for (const LimitChange& change : changes) {
        if (!change.newValue)
            continue;
        const Limit& limit = change.limit;
        const bool isMin = limit.side == LimitSide::Minimum;
        switch (limit.kind) {
        case LimitKind::Nutrient: {
            LpNutrient& n = changed.nutrients[static_cast<std::size_t>(limit.index)];
            (isMin ? n.minimo : n.maximo) = *change.newValue;
            break;
        }
        case LimitKind::Ingredient: {
            LpIngredient& ing = changed.ingredients[static_cast<std::size_t>(limit.index)];
            (isMin ? ing.minimo : ing.maximo) = *change.newValue;
            break;
        }
        case LimitKind::Total:
            changed.Q = *change.newValue;
            break;
        }
    }
    return changed;
}

Diagnosis diagnose(const LpProblem& problem, const DiagnosisOptions& options) {
    const LimitProgramme programme(problem, limitsOf(problem));
    const std::vector<Limit>& limits = programme.limits();
    Diagnosis diagnosis;
    std::vector<int> every(limits.size());
    std::iota(every.begin(), every.end(), 0);
    if (programme.feasible(hardOnly(limits.size(), every))) {
        diagnosis.limitsMet = true;
        return diagnosis;
    }

    const ElasticAnswer elastic = leastRelaxation(programme);
    std::vector<int> candidates = elastic.found ? pricedLimits(elastic.prices) : every;
    if (candidates.size() < every.size() && programme.feasible(hardOnly(limits.size(), candidates)))
        candidates = every; // the prices were blurred by round-off: start from every limit
    for (int k : conflictingLimits(programme, candidates)) {
        const Limit& limit = limits[static_cast<std::size_t>(k)];
        const std::optional<double> value = neededValue(programme, k);
        diagnosis.conflict.push_back(
            {limit, value ? std::optional<double>(rounded(limit, *value, options)) : std::nullopt});
    }

    if (elastic.found) {
        Relaxation relaxation;
        for (std::size_t k = 0; k < limits.size(); ++k)
            if (elastic.values[k] != limits[k].value)
                relaxation.changes.push_back(
                    {limits[k], rounded(limits[k], elastic.values[k], options)});
        const std::optional<double> cost = leastUnitCost(withChanges(problem, relaxation.changes));
        if (cost && !relaxation.changes.empty()) {
            relaxation.unitCost = *cost;
            diagnosis.relaxation = relaxation;
        }
    }
    return diagnosis;
}

} // namespace tarvela::simplex
