// Generated plans against GLPK: the same programme's cost, every formula's limits and every stock
// met, and each stock's marginal value where it is unique (the cost falls at the same rate on
// either side of the stock).
#include "plan/plan_programme.h"

#include "support/reference/formulation_lp.h"
#include "support/reference/glpk_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tarvela::test {
namespace {

using plan::PlannedProblem;
using plan::StockLimit;

double glpkCost(const plan::PlanProgramme& programme, int stock, double delta) {
    simplex::SparseProgramme moved = programme.lp;
    moved.rowUpper()[static_cast<size_t>(stock)] += delta;
    const std::optional<GlpkSparseAnswer> answer = solveSparseWithGlpk(moved);
    return answer ? answer->cost : std::nan("");
}

TEST(PlanOracle, GeneratedPlansAgreeWithGlpk) {
    std::mt19937_64 rng(8122026);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const Bases bases[] = {Bases::DryDry, Bases::WetWet, Bases::WetDry};
    int binding = 0;
    int uniqueCompared = 0;
    for (int k = 0; k < 24; ++k) {
        const int ni = 5 + k % 6;
        std::vector<PlannedProblem> formulas;
        for (int f = 0; f < 2 + k % 3; ++f) {
            PlannedProblem planned{generateFormulation(rng, ni, -1, bases[(k + f) % 3], f == 0),
                                   std::round(500 + u(rng) * 20000)};
            // Every formula draws on the same ingredients 1..ni.
            for (int j = 0; j < ni; ++j)
                planned.problem.ingredients[static_cast<size_t>(j)].id = j + 1;
            formulas.push_back(std::move(planned));
        }
        // Stocks for a few ingredients at part of what the formulas take alone.
        simplex::SparseProgramme alone = plan::buildPlanProgramme(formulas, {}).lp;
        const std::optional<GlpkSparseAnswer> separate = solveSparseWithGlpk(alone);
        ASSERT_TRUE(separate) << k;
        std::vector<StockLimit> stocks;
        for (int id = 1; id <= ni; id += 2) {
            double used = 0;
            int column = 0;
            for (const PlannedProblem& f : formulas)
                for (int j = 0; j < ni; ++j, ++column)
                    if (j + 1 == id)
                        used +=
                            separate->x[static_cast<size_t>(column)] * plan::asFedPerShare(f, j);
            stocks.push_back({id, std::round(used * (0.7 + u(rng) * 0.5))});
        }
        const plan::PlanProgramme programme = plan::buildPlanProgramme(formulas, stocks);
        const std::optional<GlpkSparseAnswer> glpk = solveSparseWithGlpk(programme.lp);
        const simplex::EngineSolution clp = simplex::solve(programme.lp, simplex::Engine::Clp);
        if (!glpk) {
            EXPECT_NE(clp.outcome, simplex::EngineOutcome::Optimal) << k;
            continue;
        }
        ASSERT_TRUE(clp.optimal()) << k;
        EXPECT_NEAR(clp.cost, glpk->cost, 1e-7 * std::fabs(glpk->cost)) << k;
        for (std::size_t f = 0; f < formulas.size(); ++f) {
            const auto first = clp.x.begin() + programme.firstColumn[f];
            const std::vector<double> x(first, first + ni);
            EXPECT_EQ(violatedLimit(formulas[f].problem, x, 1e-6), "") << k << " formula " << f;
        }
        for (std::size_t s = 0; s < stocks.size(); ++s) {
            const int row = programme.stockRows[s];
            EXPECT_LE(clp.activity[static_cast<size_t>(row)], stocks[s].existencia * (1 + 1e-9));
            const double value = -clp.duals[static_cast<size_t>(row)];
            EXPECT_GE(value, -1e-9);
            if (value > 1e-9)
                ++binding;
            const double delta = std::max(1e-3, 1e-4 * stocks[s].existencia);
            const double up = (glpk->cost - glpkCost(programme, row, delta)) / delta;
            const double down = (glpkCost(programme, row, -delta) - glpk->cost) / delta;
            if (std::fabs(up - down) < 1e-6 * std::max(1.0, std::fabs(up))) {
                EXPECT_NEAR(value, up, 1e-5 * std::max(1.0, std::fabs(up))) << k << " stock " << s;
                ++uniqueCompared;
            }
        }
    }
    EXPECT_GT(binding, 10);
    EXPECT_GT(uniqueCompared, 20);
}

} // namespace
} // namespace tarvela::test
