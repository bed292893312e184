#include "solver/limit_relaxation.h"

#include "solver/tolerances.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace tarvela::simplex {

namespace {

// What a limit's move is measured against: the limit itself, or for a limit of 0 the batch (for
// quantities of the batch) or the largest value an ingredient alone gives (nutrients, ratios).
double scaleOf(const LimitProgramme& programme, const Limit& limit) {
    if (limit.value != 0)
        return std::fabs(limit.value);
    if (!LimitProgramme::boundsValue(limit))
        return programme.problem().Q;
    double largest = 0;
    const int n = static_cast<int>(programme.problem().ingredients.size());
    for (int j = 0; j < n; ++j) {
        const double h = programme.denominatorTerm(limit, j);
        if (h > 0)
            largest = std::max(largest, std::fabs(programme.numeratorTerm(limit, j) / h));
    }
    return largest > 0 ? largest : 1.0;
}

// The denominator of a value of the mix per unit of the shares w (adding up to 1): the dry matter
// of the mix for a nutrient when nutrients are a ratio to it, the denominator nutrient's value
// for a ratio, 1 otherwise.
double denominatorAt(const LimitProgramme& programme, const Limit& limit,
                     const std::vector<double>& w) {
    double den = 0;
    double total = 0;
    for (std::size_t j = 0; j < w.size(); ++j) {
        den += programme.denominatorTerm(limit, static_cast<int>(j)) * w[j];
        total += w[j];
    }
    return total > 0 ? den / total : 1.0;
}

// The same for a mix not known yet: the average over the ingredients with a positive term.
double denominatorGuess(const LimitProgramme& programme, const Limit& limit) {
    const int n = static_cast<int>(programme.problem().ingredients.size());
    double sum = 0;
    int count = 0;
    for (int j = 0; j < n; ++j) {
        const double h = programme.denominatorTerm(limit, j);
        if (h > 0) {
            sum += h;
            ++count;
        }
    }
    return count > 0 ? sum / count : 1.0;
}

// Whether a value breaks a bound of the limit's side, beyond round-off.
bool beyond(const Limit& limit, double bound, double value) {
    const double tolerance = kRoundOff * std::max(1.0, std::fabs(bound));
    return limit.side == LimitSide::Minimum ? value < bound - tolerance : value > bound + tolerance;
}

// Whether a limit bounds a quantity of the batch whose limits may be equal, and so widened.
bool widened(const Limit& limit) {
    return limit.kind == LimitKind::Ingredient || limit.kind == LimitKind::Group;
}

// The limits' values that the mix (w, t) meets: each limit it breaks takes the mix's value.
std::vector<double> valuesMetBy(const LimitProgramme& programme, const std::vector<Role>& roles,
                                const std::vector<double>& w, double t) {
    const std::vector<Limit>& limits = programme.limits();
    std::vector<double> values(limits.size());
    std::vector<std::pair<LimitKind, int>> moved;
    for (std::size_t k = 0; k < limits.size(); ++k) {
        const Limit& limit = limits[k];
        values[k] = limit.value;
        if (roles[k] != Role::Elastic)
            continue;
        const double value = programme.valueAt(limit, w, t);
        if (!beyond(limit, programme.boundOf(limit), value))
            continue;
        if (widened(limit)) {
            values[k] = std::max(value, 0.0);
            moved.emplace_back(limit.kind, limit.index);
        } else {
            values[k] = value;
        }
    }
    // Once one of two equal limits moves they are no longer widened: the other must hold the mix
    // as it stands.
    for (std::size_t k = 0; k < limits.size(); ++k) {
        const Limit& limit = limits[k];
        if (!widened(limit) || values[k] != limit.value ||
            std::find(moved.begin(), moved.end(), std::pair(limit.kind, limit.index)) ==
                moved.end())
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

    // A value of the mix moves by its violation over the denominator of the value: that of the
    // mix found, which a second solve takes from the first one's mix (a guess before).
    std::vector<double> denominators(limits.size(), 1.0);
    bool secondSolve = false;
    for (std::size_t k = 0; k < limits.size(); ++k) {
        if (!LimitProgramme::boundsValue(limits[k]) || roles[k] != Role::Elastic)
            continue;
        denominators[k] = denominatorGuess(programme, limits[k]);
        secondSolve = secondSolve || limits[k].kind == LimitKind::Ratio ||
                      (!problem.vSecaIng && problem.vSecaNut);
    }

    ProgrammeSolution solution;
    for (int pass = 0; pass < (secondSolve ? 2 : 1); ++pass) {
        for (std::size_t k = 0; k < limits.size(); ++k) {
            const Limit& limit = limits[k];
            const double scale = scaleOf(programme, limit);
            setup.weights[k] = LimitProgramme::boundsValue(limit) ? 1.0 / (scale * denominators[k])
                                                                  : problem.Q / scale;
        }
        solution = programme.solve(setup);
        if (solution.outcome != Outcome::Optimal)
            return {};
        bool usable = true;
        for (std::size_t k = 0; k < limits.size(); ++k) {
            if (!LimitProgramme::boundsValue(limits[k]) || roles[k] != Role::Elastic)
                continue;
            const double d = denominatorAt(programme, limits[k], solution.w);
            if (d > 0)
                denominators[k] = d;
            else
                usable = false;
        }
        if (!usable)
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
