#include "solver/limit_conflict.h"

#include <algorithm>
#include <cstddef>

namespace tarvela::simplex {

std::vector<int> conflictingLimits(const LimitProgramme& programme,
                                   const std::vector<int>& candidates) {
    const std::vector<Limit>& limits = programme.limits();
    std::vector<Role> roles(limits.size(), Role::Absent);
    for (int k : candidates)
        roles[static_cast<std::size_t>(k)] = Role::Hard;

    // The batch is the least natural limit to blame: it goes first, so that it stays in the set
    // only when nothing else can take its place.
    std::vector<int> order(candidates);
    std::stable_partition(order.begin(), order.end(), [&](int k) {
        return limits[static_cast<std::size_t>(k)].kind == LimitKind::Total;
    });
    for (int k : order) {
        const auto i = static_cast<std::size_t>(k);
        roles[i] = Role::Absent;
        if (programme.feasible(roles))
            roles[i] = Role::Hard;
    }

    std::vector<int> conflict;
    for (std::size_t k = 0; k < limits.size(); ++k)
        if (roles[k] == Role::Hard)
            conflict.push_back(static_cast<int>(k));
    return conflict;
}

std::optional<double> neededValue(const LimitProgramme& programme, int k,
                                  const std::vector<int>& setAside) {
    const std::vector<Limit>& limits = programme.limits();
    const Limit& limit = limits[static_cast<std::size_t>(k)];
    const bool isMin = limit.side == LimitSide::Minimum;
    const std::size_t n = programme.problem().ingredients.size();

    ProgrammeSetup setup;
    setup.roles.assign(limits.size(), Role::Hard);
    for (int aside : setAside)
        setup.roles[static_cast<std::size_t>(aside)] = Role::Absent;
    setup.roles[static_cast<std::size_t>(k)] = Role::Absent;
    setup.cost.assign(n + 1, 0.0);
    // A minimum moves down to the highest value the others allow, a maximum up to the lowest.
    const double sense = isMin ? -1.0 : 1.0;
    if (LimitProgramme::boundsValue(limit)) {
        // Over sum(h·w) = 1 the value is linear in w.
        setup.normalisation = Normalisation::Denominator;
        setup.denominatorOf = limit;
        for (std::size_t j = 0; j < n; ++j)
            setup.cost[j] = sense * programme.numeratorTerm(limit, static_cast<int>(j));
    } else if (limit.kind == LimitKind::Total) {
        // Over sum(w) = 1 the batch is 1/t: a larger batch is a smaller t.
        setup.cost[n] = -sense;
    } else {
        // Over sum(w) = 1 with the batch fixed, the quantity over the batch is linear in w.
        for (std::size_t j = 0; j < n; ++j)
            setup.cost[j] = sense * programme.numeratorTerm(limit, static_cast<int>(j));
    }

    const ProgrammeSolution solution = programme.solve(setup);
    if (solution.outcome != Outcome::Optimal)
        return std::nullopt;
    const double value = programme.valueAt(limit, solution.w, solution.t);
    return isMin ? std::min(value, limit.value) : std::max(value, limit.value);
}

} // namespace tarvela::simplex
