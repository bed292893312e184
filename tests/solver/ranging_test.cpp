// How far a limit holds, read from the final tableau, against solves of the programme with the
// limit moved; and solves that go on from the previous basis against solves from the slacks and
// GLPK.
#include "support/reference/formulation_lp.h"
#include "support/reference/glpk_reference.h"

#include "solver/ranging.h"
#include "solver/warm_start.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tarvela::test {
namespace {

using simplex::LimitKind;
using simplex::LimitSide;
using simplex::LpProblem;
using simplex::Outcome;

constexpr Bases kAllBases[] = {Bases::DryDry, Bases::WetWet, Bases::WetDry};

// Whether the limit can move alone: equal limits of a quantity move together.
bool movable(const LpProblem& pb, const simplex::Limit& limit) {
    switch (limit.kind) {
    case LimitKind::Ingredient: {
        const auto& ing = pb.ingredients[static_cast<size_t>(limit.index)];
        return !(ing.minimo && ing.maximo && *ing.minimo == *ing.maximo) &&
               (limit.side == LimitSide::Maximum || ing.minimo);
    }
    case LimitKind::Group: {
        const auto& g = pb.groups[static_cast<size_t>(limit.index)];
        return !(g.minimo && g.maximo && *g.minimo == *g.maximo);
    }
    case LimitKind::Total:
        return false;
    default:
        return true;
    }
}

LpProblem withLimit(LpProblem pb, const simplex::Limit& limit, double value) {
    const auto k = static_cast<size_t>(limit.index);
    const bool mx = limit.side == LimitSide::Maximum;
    switch (limit.kind) {
    case LimitKind::Nutrient:
        (mx ? pb.nutrients[k].maximo : pb.nutrients[k].minimo) = value;
        break;
    case LimitKind::Ratio:
        (mx ? pb.ratios[k].maximo : pb.ratios[k].minimo) = value;
        break;
    case LimitKind::Ingredient:
        (mx ? pb.ingredients[k].maximo : pb.ingredients[k].minimo) = value;
        break;
    case LimitKind::Group:
        (mx ? pb.groups[k].maximo : pb.groups[k].minimo) = value;
        break;
    case LimitKind::Total:
        break;
    }
    return pb;
}

// Whether the final basis `t` stays optimal for the moved programme: going on from it takes no
// pivot. The cost it gives then matches a solve from the slack basis.
bool basisHolds(const simplex::Tableau& t, const LpProblem& moved) {
    simplex::Tableau warm = t;
    const simplex::Tableau initial = simplex::buildTableau(moved).tableau;
    const simplex::WarmSolve again = simplex::solveFromBasis(warm, initial);
    if (!again.fromBasis || again.pivots != 0)
        return false;
    simplex::Tableau cold = initial;
    EXPECT_EQ(simplex::solve(cold).outcome, Outcome::Optimal);
    EXPECT_NEAR(warm.rhs(0), cold.rhs(0), 1e-9 * std::max(1.0, std::fabs(cold.rhs(0))));
    return true;
}

// Every binding limit of generated formulas, on all three basis combinations: the basis holds
// just inside each finite end of its range and no longer just outside it.
TEST(Ranging, EndsAreWhereTheBasisStopsHolding) {
    std::mt19937_64 rng(2511);
    int ends = 0;
    for (Bases bases : kAllBases) {
        for (int n = 0; n < 25; ++n) {
            const LpProblem pb = generateFormulation(rng, 7 + n % 5, -1, bases, n % 2 == 1);
            simplex::BuiltTableau built = simplex::buildTableau(pb);
            if (simplex::solve(built.tableau).outcome != Outcome::Optimal)
                continue;
            const simplex::Tableau& t = built.tableau;
            for (int r = 1; r <= t.m(); ++r) {
                const simplex::Limit& limit = built.rows[static_cast<size_t>(r)];
                if (t.isBasic(t.ni() + r) || !movable(pb, limit))
                    continue;
                const simplex::ValueRange range = simplex::limitRange(t, pb, r, limit);
                for (const std::optional<double>& end : {range.from, range.to}) {
                    const double width = end ? std::fabs(*end - limit.value) : 0;
                    if (!end || width < 1e-6 * std::max(1.0, std::fabs(limit.value)))
                        continue;
                    SCOPED_TRACE(built.rowLabels[static_cast<size_t>(r)]);
                    const double dir = *end > limit.value ? 1 : -1;
                    EXPECT_TRUE(basisHolds(t, withLimit(pb, limit, *end - dir * 0.01 * width)));
                    EXPECT_FALSE(basisHolds(t, withLimit(pb, limit, *end + dir * 0.01 * width)));
                    ++ends;
                }
            }
        }
    }
    EXPECT_GT(ends, 100);
}

// A limit moved step by step, each solve going on from the last: the same verdict and cost as a
// solve from the slack basis and as GLPK's.
TEST(WarmStart, StepsMatchSolvesFromTheSlacksAndGlpk) {
    std::mt19937_64 rng(77);
    int warmSteps = 0;
    int gaps = 0;
    for (Bases bases : kAllBases) {
        for (int n = 0; n < 6; ++n) {
            const LpProblem pb = generateFormulation(rng, 12, 6, bases, n % 2 == 0);
            simplex::BuiltTableau built = simplex::buildTableau(pb);
            if (simplex::solve(built.tableau).outcome != Outcome::Optimal)
                continue;
            // The first binding nutrient limit.
            int row = 0;
            for (int r = 1; r <= built.tableau.m() && !row; ++r)
                if (built.rows[static_cast<size_t>(r)].kind == LimitKind::Nutrient &&
                    !built.tableau.isBasic(built.tableau.ni() + r))
                    row = r;
            if (!row)
                continue;
            const simplex::Limit limit = built.rows[static_cast<size_t>(row)];
            simplex::Tableau last = built.tableau;
            for (int k = 0; k <= 20; ++k) {
                const double value = limit.value * (0.5 + k * 0.05);
                const LpProblem moved = withLimit(pb, limit, value);
                const simplex::Tableau initial = simplex::buildTableau(moved).tableau;
                simplex::Tableau warm = last;
                const simplex::WarmSolve step = simplex::solveFromBasis(warm, initial);
                simplex::Tableau cold = initial;
                const Outcome coldOutcome = simplex::solve(cold).outcome;
                const auto reference = solveProblemWithGlpk(moved);
                ASSERT_EQ(step.report.outcome, coldOutcome);
                EXPECT_EQ(reference.has_value(), coldOutcome == Outcome::Optimal);
                if (coldOutcome != Outcome::Optimal) {
                    ++gaps;
                    continue;
                }
                const double cost = -warm.rhs(0);
                EXPECT_NEAR(cost, -cold.rhs(0), 1e-9 * std::max(1.0, cost));
                if (reference) {
                    EXPECT_NEAR(cost, reference->unitCost, 1e-7 * std::max(1.0, cost));
                }
                warmSteps += step.fromBasis ? 1 : 0;
                last = warm;
            }
        }
    }
    EXPECT_GT(warmSteps, 100);
    EXPECT_GT(gaps, 0);
}

} // namespace
} // namespace tarvela::test
