#include "solver/ranging.h"

#include "solver/tolerances.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace tarvela::simplex {

namespace {

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Below this a slope is round-off: its bound lies beyond any value the data can express.
constexpr double kFlatSlope = 1e-12;

double contentAt(const std::vector<double>& contents, std::size_t j) {
    return j < contents.size() ? contents[j] : 0.0;
}

// The interval of θ with base + θ·slope >= 0, narrowed into [lo, hi].
void keepNonNegative(double base, double slope, double& lo, double& hi) {
    base = std::max(base, 0.0); // round-off below 0 counts as 0
    if (slope < -kFlatSlope)
        hi = std::min(hi, base / -slope);
    else if (slope > kFlatSlope)
        lo = std::max(lo, -base / slope);
}

} // namespace

RowChange rowChangePerUnit(const LpProblem& problem, const Limit& limit) {
    RowChange change;
    change.columns.assign(problem.ingredients.size(), 0.0);
    const double sign = limit.side == LimitSide::Minimum ? -1.0 : 1.0;
    switch (limit.kind) {
    case LimitKind::Nutrient:
        if (!problem.vSecaIng && problem.vSecaNut) {
            // (v − value)·d per ingredient: the value is in every coefficient.
            for (std::size_t j = 0; j < problem.ingredients.size(); ++j)
                change.columns[j] = -sign * problem.ingredients[j].dryFraction;
        } else {
            change.rhs = sign;
        }
        break;
    case LimitKind::Ratio: {
        const LpRatio& ratio = problem.ratios[at(limit.index)];
        for (std::size_t j = 0; j < problem.ingredients.size(); ++j)
            change.columns[j] =
                -sign * basisContent(problem, contentAt(ratio.denominator, j), static_cast<int>(j));
        break;
    }
    case LimitKind::Ingredient:
    case LimitKind::Group:
        change.rhs = sign / problem.Q;
        break;
    case LimitKind::Total:
        break;
    }
    return change;
}

// With row r of the data changed by θ·h, the tableau of the same basis is
// T(θ) = T + T(·, s) · θ·δ / (1 + θ·γ), s the row's slack column, δ(j) = h(j) − Σ h(basis)·T(·, j)
// and γ = Σ h(basis)·T(·, s) (Sherman–Morrison on the basis). Multiplied by 1 + θ·γ > 0 every
// condition of the basis (right-hand sides and reduced costs at least 0) is linear in θ.
ValueRange limitRange(const Tableau& t, const LpProblem& problem, int row, const Limit& limit) {
    const int ni = t.ni();
    const int m = t.m();
    const int p = t.p();
    const int s = ni + row;
    const RowChange change = rowChangePerUnit(problem, limit);
    const auto h = [&](int column) {
        if (column >= 1 && column <= ni)
            return change.columns[at(column - 1)];
        return column == p ? change.rhs : 0.0;
    };
    // The basic ingredients and their rows: h is 0 on slack columns.
    std::vector<int> basicRows;
    std::vector<char> basic(at(t.cols()), 0);
    for (int i = 1; i <= m; ++i) {
        const int b = t.basis()[at(i)];
        basic[at(b)] = 1;
        if (b <= ni && h(b) != 0.0)
            basicRows.push_back(i);
    }
    const auto delta = [&](int column) {
        double d = h(column);
        for (int i : basicRows)
            d -= h(t.basis()[at(i)]) * t.at(i, column);
        return d;
    };
    double gamma = 0.0;
    for (int i : basicRows)
        gamma += h(t.basis()[at(i)]) * t.at(i, s);

    constexpr double inf = std::numeric_limits<double>::infinity();
    double lo = -inf;
    double hi = inf;
    // The basis stays regular: 1 + θ·γ > 0.
    if (gamma > kFlatSlope)
        lo = -1.0 / gamma;
    else if (gamma < -kFlatSlope)
        hi = -1.0 / gamma;

    // Feasible: every right-hand side stays at least 0.
    const double deltaP = delta(p);
    for (int i = 1; i <= m; ++i)
        keepNonNegative(t.rhs(i), gamma * t.rhs(i) + t.at(i, s) * deltaP, lo, hi);
    // Optimal: every reduced cost of a non-basic column stays at least 0.
    const double objectiveOfSlack = t.at(0, s);
    if (objectiveOfSlack != 0.0 || gamma != 0.0) {
        for (int j = 1; j <= ni + m; ++j) {
            if (basic[at(j)])
                continue;
            const double dj = objectiveOfSlack != 0.0 ? delta(j) : 0.0;
            keepNonNegative(t.at(0, j), gamma * t.at(0, j) + objectiveOfSlack * dj, lo, hi);
        }
    }

    ValueRange range;
    if (std::isfinite(lo))
        range.from = limit.value + std::min(lo, 0.0);
    if (std::isfinite(hi))
        range.to = limit.value + std::max(hi, 0.0);
    return range;
}

Tableau withZeroSharesOutOfBasis(const Tableau& solved) {
    Tableau t = solved;
    const int ni = t.ni();
    const int last = ni + t.m();
    for (int i = 1; i <= t.m(); ++i) {
        const int k = t.basis()[at(i)];
        if (k < 1 || k > ni || std::fabs(t.rhs(i)) > kRoundOff)
            continue;
        // The dual simplex's choice: the least reduced cost per unit of the row's entry.
        int entering = 0;
        double best = 0;
        for (int j = 1; j <= last; ++j) {
            const double entry = t.at(i, j);
            if (entry >= -kRoundOff || t.isBasic(j))
                continue;
            const double ratio = std::max(t.at(0, j), 0.0) / -entry;
            if (entering == 0 || ratio < best) {
                entering = j;
                best = ratio;
            }
        }
        if (entering != 0) {
            pivot(t, i, entering);
            t.rhs(i) = 0.0;
        }
    }
    return t;
}

ValueRange priceRange(const BuiltTableau& built, int column) {
    const Tableau t = withZeroSharesOutOfBasis(built.tableau);
    const int ni = t.ni();
    const int m = t.m();
    int row = 0;
    std::vector<char> basic(at(t.cols()), 0);
    for (int i = 1; i <= m; ++i) {
        basic[at(t.basis()[at(i)])] = 1;
        if (t.basis()[at(i)] == column)
            row = i;
    }
    ValueRange range;
    if (row == 0) {
        range.from = -std::max(t.at(0, column), 0.0);
        return range;
    }
    for (int j = 1; j <= ni + m; ++j) {
        if (basic[at(j)] || (j > ni && built.rows[at(j - ni)].kind == LimitKind::Total))
            continue;
        const double e = t.at(row, j);
        const double d = std::max(t.at(0, j), 0.0);
        if (e > kRoundOff) {
            const double rise = d / e;
            if (!range.to || rise < *range.to)
                range.to = rise;
        } else if (e < -kRoundOff) {
            const double fall = d / e;
            if (!range.from || fall > *range.from)
                range.from = fall;
        }
    }
    return range;
}

} // namespace tarvela::simplex
