#include "solver/limit_programme.h"

#include "solver/tolerances.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tarvela::simplex {

namespace {

// The largest batch the system accepts.
constexpr double kLargestBatch = 1000;

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

bool equalLimits(const std::optional<double>& minimo, const std::optional<double>& maximo) {
    return minimo && maximo && *minimo == *maximo;
}

double contentAt(const std::vector<double>& contents, int j) {
    return at(j) < contents.size() ? contents[at(j)] : 0.0;
}

} // namespace

std::vector<Limit> limitsOf(const LpProblem& problem) {
    std::vector<Limit> limits = rowLimits(problem);
    std::erase_if(limits, [](const Limit& limit) {
        return limit.kind == LimitKind::Ingredient && limit.side == LimitSide::Minimum &&
               !(limit.value > 0);
    });
    return limits;
}

LimitProgramme::LimitProgramme(const LpProblem& problem, std::vector<Limit> limits)
    : problem_(problem), limits_(std::move(limits)) {}

bool LimitProgramme::boundsValue(const Limit& limit) {
    return limit.kind == LimitKind::Nutrient || limit.kind == LimitKind::Ratio;
}

double LimitProgramme::numeratorTerm(const Limit& limit, int j) const {
    switch (limit.kind) {
    case LimitKind::Nutrient:
        return basisContent(problem_, contentAt(problem_.nutrients[at(limit.index)].contents, j),
                            j);
    case LimitKind::Ratio:
        return basisContent(problem_, contentAt(problem_.ratios[at(limit.index)].numerator, j), j);
    case LimitKind::Ingredient:
        return j == limit.index ? 1.0 : 0.0;
    case LimitKind::Group: {
        const std::vector<int>& members = problem_.groups[at(limit.index)].members;
        return std::find(members.begin(), members.end(), j) != members.end() ? 1.0 : 0.0;
    }
    case LimitKind::Total:
        return 1.0;
    }
    return 0.0;
}

double LimitProgramme::denominatorTerm(const Limit& limit, int j) const {
    if (limit.kind == LimitKind::Ratio)
        return basisContent(problem_, contentAt(problem_.ratios[at(limit.index)].denominator, j),
                            j);
    const bool dryOfMix = !problem_.vSecaIng && problem_.vSecaNut;
    return dryOfMix ? problem_.ingredients[at(j)].dryFraction : 1.0;
}

double LimitProgramme::boundOf(const Limit& limit) const {
    bool equal = false;
    if (limit.kind == LimitKind::Ingredient) {
        const LpIngredient& ing = problem_.ingredients[at(limit.index)];
        equal = equalLimits(ing.minimo, ing.maximo);
    } else if (limit.kind == LimitKind::Group) {
        const LpGroup& group = problem_.groups[at(limit.index)];
        equal = equalLimits(group.minimo, group.maximo);
    }
    if (!equal)
        return limit.value;
    return limit.side == LimitSide::Minimum ? limit.value - kEqualLimitsWidening
                                            : limit.value + kEqualLimitsWidening;
}

double LimitProgramme::valueAt(const Limit& limit, const std::vector<double>& w, double t) const {
    double num = 0;
    double den = 0;
    for (std::size_t j = 0; j < w.size(); ++j) {
        num += numeratorTerm(limit, static_cast<int>(j)) * w[j];
        if (boundsValue(limit))
            den += denominatorTerm(limit, static_cast<int>(j)) * w[j];
    }
    if (!boundsValue(limit))
        den = t;
    return den > 0 ? num / den : 0.0;
}

// Columns: 1..n the quantities w, n+1 the scale t, then one violation column per elastic limit.
// Rows: the normalisation as two rows, the largest batch, then one row per limit taking part,
// each written as "... <= 0" with its violation subtracted.
ProgrammeSolution LimitProgramme::solve(const ProgrammeSetup& setup) const {
    const int n = static_cast<int>(problem_.ingredients.size());
    const int tCol = n + 1;
    int elastic = 0;
    int limitRows = 0;
    for (Role role : setup.roles) {
        elastic += role == Role::Elastic ? 1 : 0;
        limitRows += role == Role::Absent ? 0 : 1;
    }
    const int ni = n + 1 + elastic;
    const int m = 3 + limitRows;
    Tableau t(ni, m);
    for (int i = 1; i <= m; ++i)
        t.at(i, ni + i) = 1.0;
    t.at(0, 0) = 1.0;
    for (std::size_t c = 0; c < setup.cost.size() && static_cast<int>(c) <= n; ++c)
        t.at(0, static_cast<int>(c) + 1) = setup.cost[c];

    const bool byDenominator = setup.normalisation == Normalisation::Denominator;
    for (int j = 1; j <= n; ++j) {
        const double g = byDenominator ? denominatorTerm(setup.denominatorOf, j - 1) : 1.0;
        t.at(1, j) = g;
        t.at(2, j) = -g;
        t.at(3, j) = 1.0;
    }
    t.rhs(1) = 1.0;
    t.rhs(2) = -1.0;
    t.at(3, tCol) = -kLargestBatch;

    std::vector<int> rowOf(limits_.size(), 0);
    int r = 3;
    int e = tCol;
    for (std::size_t k = 0; k < limits_.size(); ++k) {
        const Role role = setup.roles[k];
        if (role == Role::Absent)
            continue;
        const Limit& limit = limits_[k];
        rowOf[k] = ++r;
        if (role == Role::Elastic) {
            t.at(r, ++e) = -1.0;
            t.at(0, e) = setup.weights[k];
        }
        const bool isMin = limit.side == LimitSide::Minimum;
        if (boundsValue(limit)) {
            // a·w against bound·h·w
            for (int j = 1; j <= n; ++j) {
                const double a = numeratorTerm(limit, j - 1);
                const double h = denominatorTerm(limit, j - 1);
                t.at(r, j) = isMin ? limit.value * h - a : a - limit.value * h;
            }
            continue;
        }
        // a·w against bound·t; the batch within the run's band.
        for (int j = 1; j <= n; ++j) {
            const double a = numeratorTerm(limit, j - 1);
            if (a != 0)
                t.at(r, j) = isMin ? -a : a;
        }
        double bound = boundOf(limit);
        if (limit.kind == LimitKind::Total)
            bound *= isMin ? kShareSumBelow : kShareSumAbove;
        t.at(r, tCol) = isMin ? bound : -bound;
    }

    ProgrammeSolution solution;
    solution.outcome = simplex::solve(t).outcome;
    solution.w.assign(at(n), 0.0);
    solution.prices.assign(limits_.size(), 0.0);
    if (!solution.feasible())
        return solution;

    std::vector<double> values(at(ni) + 1, 0.0);
    for (int i = 1; i <= m; ++i) {
        const int b = t.basis()[at(i)];
        if (b <= ni)
            values[at(b)] = t.rhs(i);
    }
    for (int j = 1; j <= n; ++j)
        solution.w[at(j - 1)] = values[at(j)];
    solution.t = values[at(tCol)];
    for (std::size_t k = 0; k < limits_.size(); ++k)
        if (rowOf[k] != 0)
            solution.prices[k] = t.at(0, ni + rowOf[k]);
    return solution;
}

bool LimitProgramme::feasible(const std::vector<Role>& roles) const {
    ProgrammeSetup setup;
    setup.roles = roles;
    return solve(setup).feasible();
}

} // namespace tarvela::simplex
