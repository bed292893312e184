#include "solver/limit_programme.h"

#include "solver/tolerances.h"

#include <cstddef>
#include <utility>

namespace tarvela::simplex {

namespace {

// The largest batch the system accepts.
constexpr double kLargestBatch = 1000;

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

bool equalLimits(const LpIngredient& ing) {
    return ing.minimo && ing.maximo && *ing.minimo == *ing.maximo;
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

double LimitProgramme::contentTerm(int nutrient, int j) const {
    const LpNutrient& nut = problem_.nutrients[at(nutrient)];
    const double v = at(j) < nut.contents.size() ? nut.contents[at(j)] : 0.0;
    return problem_.vSecaIng ? v : v * problem_.ingredients[at(j)].dryFraction;
}

double LimitProgramme::denominatorTerm(int j) const {
    const bool ratio = !problem_.vSecaIng && problem_.vSecaNut;
    return ratio ? problem_.ingredients[at(j)].dryFraction : 1.0;
}

double LimitProgramme::boundOf(const Limit& limit) const {
    if (limit.kind != LimitKind::Ingredient || !equalLimits(problem_.ingredients[at(limit.index)]))
        return limit.value;
    return limit.side == LimitSide::Minimum ? limit.value - kEqualLimitsWidening
                                            : limit.value + kEqualLimitsWidening;
}

double LimitProgramme::valueAt(const Limit& limit, const std::vector<double>& w, double t) const {
    double total = 0;
    for (double q : w)
        total += q;
    switch (limit.kind) {
    case LimitKind::Nutrient: {
        double num = 0;
        double den = 0;
        for (std::size_t j = 0; j < w.size(); ++j) {
            num += contentTerm(limit.index, static_cast<int>(j)) * w[j];
            den += denominatorTerm(static_cast<int>(j)) * w[j];
        }
        return den > 0 ? num / den : 0.0;
    }
    case LimitKind::Ingredient:
        return t > 0 ? w[at(limit.index)] / t : 0.0;
    case LimitKind::Total:
        return t > 0 ? total / t : 0.0;
    }
    return 0.0;
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

    const bool byDenominator = setup.normalisation == Normalisation::NutrientDenominator;
    for (int j = 1; j <= n; ++j) {
        const double g = byDenominator ? denominatorTerm(j - 1) : 1.0;
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
        switch (limit.kind) {
        case LimitKind::Nutrient:
            for (int j = 1; j <= n; ++j) {
                const double a = contentTerm(limit.index, j - 1);
                const double h = denominatorTerm(j - 1);
                t.at(r, j) = isMin ? limit.value * h - a : a - limit.value * h;
            }
            break;
        case LimitKind::Ingredient:
            t.at(r, limit.index + 1) = isMin ? -1.0 : 1.0;
            t.at(r, tCol) = isMin ? boundOf(limit) : -boundOf(limit);
            break;
        case LimitKind::Total:
            for (int j = 1; j <= n; ++j)
                t.at(r, j) = isMin ? -1.0 : 1.0;
            t.at(r, tCol) = isMin ? kShareSumBelow * limit.value : -kShareSumAbove * limit.value;
            break;
        }
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
