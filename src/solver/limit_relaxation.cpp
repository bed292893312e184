#include "solver/limit_relaxation.h"

#include "solver/tolerances.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tarvela::simplex {

namespace {

// What a limit's move is measured against: the limit itself, or for a limit of 0 the batch
// (ingredients) or the nutrient's largest content among the ingredients.
double scaleOf(const LimitProgramme& programme, const Limit& limit) {
    if (limit.value != 0)
        return std::fabs(limit.value);
    if (limit.kind != LimitKind::Nutrient)
        return programme.problem().Q;
    double largest = 0;
    const int n = static_cast<int>(programme.problem().ingredients.size());
    for (int j = 0; j < n; ++j)
        largest = std::max(largest, std::fabs(programme.contentTerm(limit.index, j) /
                                              programme.denominatorTerm(j)));
    return largest > 0 ? largest : 1.0;
}

// The dry matter of a mix when nutrients are a ratio to it, 1 otherwise.
double denominatorAt(const LimitProgramme& programme, const std::vector<double>& w) {
    double den = 0;
    double total = 0;
    for (std::size_t j = 0; j < w.size(); ++j) {
        den += programme.denominatorTerm(static_cast<int>(j)) * w[j];
        total += w[j];
    }
    return total > 0 ? den / total : 1.0;
}

// Whether a value breaks a bound of the limit's side, beyond round-off.
bool beyond(const Limit& limit, double bound, double value) {
    const double tolerance = kRoundOff * std::max(1.0, std::fabs(bound));
    return limit.side == LimitSide::Minimum ? value < bound - tolerance : value > bound + tolerance;
}

// The limits' values that the mix (w, t) meets: each limit it breaks takes the mix's value.
std::vector<double> valuesMetBy(const LimitProgramme& programme, const std::vector<Role>& roles,
                                const std::vector<double>& w, double t) {
    const std::vector<Limit>& limits = programme.limits();
    std::vector<double> values(limits.size());
    std::vector<char> moved(programme.problem().ingredients.size(), 0);
    for (std::size_t k = 0; k < limits.size(); ++k) {
        const Limit& limit = limits[k];
        values[k] = limit.value;
        if (roles[k] != Role::Elastic)
            continue;
        const double value = programme.valueAt(limit, w, t);
        if (!beyond(limit, programme.boundOf(limit), value))
            continue;
        if (limit.kind == LimitKind::Ingredient) {
            values[k] = std::max(value, 0.0);
            moved[static_cast<std::size_t>(limit.index)] = 1;
        } else {
            values[k] = value;
        }
    }
    // Once one of two equal limits moves they are no longer widened: the other must hold the mix
    // as it stands.
    for (std::size_t k = 0; k < limits.size(); ++k) {
        const Limit& limit = limits[k];
        if (limit.kind != LimitKind::Ingredient || !moved[static_cast<std::size_t>(limit.index)] ||
            values[k] != limit.value)
            continue;
        const double value = programme.valueAt(limit, w, t);
        if (beyond(limit, limit.value, value))
            values[k] = std::max(value, 0.0);
    }
    return values;
}

} // namespace

ElasticAnswer leastRelaxation(const LimitProgramme& programme) {
    const std::vector<Limit>& limits = programme.limits();
    std::vector<Role> roles(limits.size(), Role::Elastic);
    for (std::size_t k = 0; k < limits.size(); ++k)
        if (limits[k].kind == LimitKind::Total)
            roles[k] = Role::Hard;
    return leastRelaxation(programme, roles);
}

ElasticAnswer leastRelaxation(const LimitProgramme& programme, const std::vector<Role>& roles) {
    const std::vector<Limit>& limits = programme.limits();
    const LpProblem& problem = programme.problem();
    ProgrammeSetup setup;
    setup.roles = roles;
    setup.weights.assign(limits.size(), 0.0);

    const bool ratio = !problem.vSecaIng && problem.vSecaNut;
    double dryMatter = 1.0;
    if (ratio && !problem.ingredients.empty()) {
        dryMatter = 0;
        for (const LpIngredient& ing : problem.ingredients)
            dryMatter += ing.dryFraction;
        dryMatter /= static_cast<double>(problem.ingredients.size());
    }

    ProgrammeSolution solution;
    for (int pass = 0; pass < (ratio ? 2 : 1); ++pass) {
        for (std::size_t k = 0; k < limits.size(); ++k) {
            const Limit& limit = limits[k];
            const double scale = scaleOf(programme, limit);
            setup.weights[k] =
                limit.kind == LimitKind::Nutrient ? 1.0 / (scale * dryMatter) : problem.Q / scale;
        }
        solution = programme.solve(setup);
        if (solution.outcome != Outcome::Optimal)
            return {};
        dryMatter = denominatorAt(programme, solution.w);
        if (!(dryMatter > 0))
            break;
    }

    ElasticAnswer answer;
    answer.found = true;
    answer.values = valuesMetBy(programme, setup.roles, solution.w, solution.t);
    answer.prices = solution.prices;
    return answer;
}

std::optional<double> leastUnitCost(const LpProblem& problem) {
    BuiltTableau built = buildTableau(problem);
    Tableau& t = built.tableau;
    if (solve(t).outcome != Outcome::Optimal)
        return std::nullopt;
    double cost = 0;
    double asFed = 0;
    for (int i = 1; i <= t.m(); ++i) {
        const int j = t.basis()[static_cast<std::size_t>(i)];
        if (j > t.ni())
            continue;
        const LpIngredient& ing = problem.ingredients[static_cast<std::size_t>(j - 1)];
        const double share = t.rhs(i);
        cost += share * ing.price;
        asFed += share / ing.dryFraction;
    }
    // As the run writes the mix back: shares as fed are the solved shares, or on dry matter the
    // quantities as fed over their total.
    if (!problem.vSecaIng)
        return cost;
    if (!(asFed > 0))
        return std::nullopt;
    return cost / asFed;
}

} // namespace tarvela::simplex
