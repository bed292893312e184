#include "solver/diagnosis.h"

#include "solver/limit_conflict.h"
#include "solver/limit_relaxation.h"
#include "solver/tolerances.h"

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
        if (prices[k] > kRoundOff * largest)
            priced.push_back(static_cast<int>(k));
    return priced;
}

double rounded(const Limit& limit, double value, const DiagnosisOptions& options) {
    return roundOutward(value, options.decimalsOf(limit.kind), limit.side == LimitSide::Maximum);
}

} // namespace

int DiagnosisOptions::decimalsOf(LimitKind kind) const {
    switch (kind) {
    case LimitKind::Nutrient:
        return nutrientDecimals;
    case LimitKind::Ratio:
        return ratioDecimals;
    case LimitKind::Ingredient:
    case LimitKind::Group:
        return ingredientDecimals;
    case LimitKind::Total:
        return batchDecimals;
    }
    return nutrientDecimals;
}

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
    const double scale = std::pow(10.0, decimals);
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
        case LimitKind::Ratio: {
            LpRatio& ratio = changed.ratios[static_cast<std::size_t>(limit.index)];
            (isMin ? ratio.minimo : ratio.maximo) = *change.newValue;
            break;
        }
        case LimitKind::Ingredient: {
            LpIngredient& ing = changed.ingredients[static_cast<std::size_t>(limit.index)];
            (isMin ? ing.minimo : ing.maximo) = *change.newValue;
            break;
        }
        case LimitKind::Group: {
            LpGroup& group = changed.groups[static_cast<std::size_t>(limit.index)];
            (isMin ? group.minimo : group.maximo) = *change.newValue;
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
    std::vector<Role> roles(limits.size(), Role::Hard);
    if (programme.feasible(roles)) {
        diagnosis.limitsMet = true;
        return diagnosis;
    }

    // One conflict after another: the prices of the elastic programme over the limits not yet
    // set aside point at a conflict among them, the deletion filter makes it minimal, and its
    // limits are set aside (the batch frames every conflict and stays) before the next search.
    std::vector<std::vector<int>> groups;
    std::vector<int> aside;
    std::optional<ElasticAnswer> firstElastic;
    while (true) {
        std::vector<Role> elasticRoles(limits.size(), Role::Elastic);
        std::vector<int> remaining;
        for (std::size_t k = 0; k < limits.size(); ++k) {
            if (roles[k] == Role::Absent)
                elasticRoles[k] = Role::Absent;
            else if (limits[k].kind == LimitKind::Total)
                elasticRoles[k] = Role::Hard;
            if (roles[k] != Role::Absent)
                remaining.push_back(static_cast<int>(k));
        }
        const ElasticAnswer elastic = leastRelaxation(programme, elasticRoles);
        if (!firstElastic)
            firstElastic = elastic;
        std::vector<int> candidates = elastic.found ? pricedLimits(elastic.prices) : remaining;
        if (candidates.size() < remaining.size() &&
            programme.feasible(hardOnly(limits.size(), candidates)))
            candidates = remaining; // the prices were blurred by round-off: start from them all
        const std::vector<int> group = conflictingLimits(programme, candidates);
        bool setAside = false;
        for (int k : group) {
            if (limits[static_cast<std::size_t>(k)].kind == LimitKind::Total)
                continue;
            roles[static_cast<std::size_t>(k)] = Role::Absent;
            aside.push_back(k);
            setAside = true;
        }
        groups.push_back(group);
        if (!setAside || programme.feasible(roles))
            break;
    }

    for (const std::vector<int>& group : groups) {
        // The other groups' limits are set aside while this group's needed values are sought.
        std::vector<int> others;
        for (int k : aside)
            if (std::find(group.begin(), group.end(), k) == group.end())
                others.push_back(k);
        std::vector<LimitChange> changes;
        for (int k : group) {
            const Limit& limit = limits[static_cast<std::size_t>(k)];
            const std::optional<double> value = neededValue(programme, k, others);
            changes.push_back({limit, value ? std::optional<double>(rounded(limit, *value, options))
                                            : std::nullopt});
        }
        diagnosis.conflicts.push_back(std::move(changes));
    }

    // The proposal moves only limits of the conflicts: the first elastic answer when it does,
    // else the elastic programme over them alone, every other limit holding.
    std::vector<char> inConflict(limits.size(), 0);
    for (const std::vector<int>& group : groups)
        for (int k : group)
            inConflict[static_cast<std::size_t>(k)] = 1;
    ElasticAnswer elastic = *firstElastic;
    bool within = elastic.found;
    for (std::size_t k = 0; within && k < limits.size(); ++k)
        within = inConflict[k] || elastic.values[k] == limits[k].value;
    if (!within) {
        std::vector<Role> elasticRoles(limits.size(), Role::Hard);
        for (std::size_t k = 0; k < limits.size(); ++k)
            if (inConflict[k] && limits[k].kind != LimitKind::Total)
                elasticRoles[k] = Role::Elastic;
        elastic = leastRelaxation(programme, elasticRoles);
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
