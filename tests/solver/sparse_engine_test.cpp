// The sparse engines against GLPK: the run's programmes of generated formulation problems, held
// sparse, solved by CLP and by the dense simplex; a programme with rows of both bounds and
// bounded columns; an infeasible one.
#include "support/reference/formulation_lp.h"
#include "support/reference/glpk_reference.h"

#include "solver/sparse_programme.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tarvela::test {
namespace {

using simplex::Engine;
using simplex::EngineOutcome;
using simplex::SparseProgramme;

// The tableau's programme: every row "<=".
SparseProgramme sparseOf(const simplex::Tableau& t) {
    SparseProgramme p;
    for (int j = 1; j <= t.ni(); ++j)
        p.addColumn(t.at(0, j));
    for (int i = 1; i <= t.m(); ++i) {
        const int row = p.addRow(-simplex::kNoBound, t.rhs(i));
        for (int j = 1; j <= t.ni(); ++j)
            p.add(row, j - 1, t.at(i, j));
    }
    return p;
}

TEST(SparseEngines, AgreeWithGlpkOnGeneratedProgrammes) {
    std::mt19937_64 rng(20261208);
    const Bases bases[] = {Bases::DryDry, Bases::WetWet, Bases::WetDry};
    int compared = 0;
    for (int k = 0; k < 60; ++k) {
        const simplex::LpProblem problem =
            generateFormulation(rng, 4 + k % 12, -1, bases[k % 3], k % 2 == 0);
        const SparseProgramme p = sparseOf(simplex::buildTableau(problem).tableau);
        const std::optional<GlpkSparseAnswer> glpk = solveSparseWithGlpk(p);
        ASSERT_TRUE(glpk) << "problem " << k;
        for (const Engine engine : {Engine::Clp, Engine::DenseSimplex}) {
            const simplex::EngineSolution s = simplex::solve(p, engine);
            ASSERT_EQ(s.outcome, EngineOutcome::Optimal) << simplex::engineName(engine) << k;
            EXPECT_NEAR(s.cost, glpk->cost, 1e-7 * std::max(1.0, std::fabs(glpk->cost)))
                << simplex::engineName(engine) << " problem " << k;
            EXPECT_EQ(violatedLimit(problem, s.x, 1e-6), "") << simplex::engineName(engine) << k;
            // The duals price the rows: their sum against the bounds is the cost.
            double dualCost = 0;
            for (int i = 0; i < p.rows(); ++i)
                dualCost += s.duals[static_cast<size_t>(i)] * p.rowUpper()[static_cast<size_t>(i)];
            EXPECT_NEAR(dualCost, s.cost, 1e-6 * std::max(1.0, std::fabs(s.cost)))
                << simplex::engineName(engine) << " problem " << k;
        }
        ++compared;
    }
    EXPECT_EQ(compared, 60);
}

// min x + 2y with 5 <= x + y <= 8 and 0 <= x <= 3: CLP reads a row of two bounds and a bounded
// column; the dual of the binding lower bound is the cost of one more unit.
TEST(SparseEngines, ClpReadsRangesBoundsAndDuals) {
    SparseProgramme p;
    const int x = p.addColumn(1.0, 0.0, 3.0);
    const int y = p.addColumn(2.0);
    const int total = p.addRow(5.0, 8.0); // x + y in [5, 8]
    p.add(total, x, 1.0);
    p.add(total, y, 1.0);
    const simplex::EngineSolution s = simplex::solve(p, Engine::Clp);
    ASSERT_TRUE(s.optimal());
    EXPECT_NEAR(s.x[0], 3.0, 1e-9);
    EXPECT_NEAR(s.x[1], 2.0, 1e-9);
    EXPECT_NEAR(s.cost, 7.0, 1e-9);
    EXPECT_NEAR(s.duals[0], 2.0, 1e-9); // one more unit of the lower bound costs a y
    EXPECT_NEAR(s.activity[0], 5.0, 1e-9);
    const std::optional<GlpkSparseAnswer> glpk = solveSparseWithGlpk(p);
    ASSERT_TRUE(glpk);
    EXPECT_NEAR(glpk->duals[0], s.duals[0], 1e-9);
    // The dense simplex takes columns from 0 without upper bounds only.
    EXPECT_EQ(simplex::solve(p, Engine::DenseSimplex).outcome, EngineOutcome::Failed);
}

TEST(SparseEngines, InfeasibleProgrammesAreNamedSo) {
    SparseProgramme p;
    const int x = p.addColumn(1.0);
    const int low = p.addRow(4.0, simplex::kNoBound);
    const int high = p.addRow(-simplex::kNoBound, 3.0);
    p.add(low, x, 1.0);
    p.add(high, x, 1.0);
    EXPECT_EQ(simplex::solve(p, Engine::Clp).outcome, EngineOutcome::Infeasible);
    EXPECT_EQ(simplex::solve(p, Engine::DenseSimplex).outcome, EngineOutcome::Infeasible);
}

} // namespace
} // namespace tarvela::test
