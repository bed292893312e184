// Each numerical safeguard on a small case that needs it.
#include "hand_tableau.h"
#include "reference_simplex.h"
#include "solver/simplex_internal.h"
#include "support/reference/formulation_lp.h"
#include "support/reference/glpk_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tarvela::test {
namespace {

using simplex::Outcome;
constexpr auto kQuick = simplex::detail::DriftScope::ObjectiveAndRightHandSide;
constexpr auto kResults = simplex::detail::DriftScope::Results;

double maxAbsEntry(const simplex::Tableau& t) {
    double largest = 0;
    for (double v : t.data()) {
        largest = std::max(largest, std::fabs(v));
    }
    return largest;
}

// Row 2 reads −1e-17·x1 <= −1e-17: round-off, not a constraint to pivot on. Sign comparisons
// pivot on it and fill the tableau with entries of 1e17.
TEST(SimplexSafeguards, RoundOffEntryIsNotAPhase1Pivot) {
    const simplex::Tableau initial = handTableau({1, 2}, {{1, 1, 1}, {-1e-17, 0, -1e-17}});
    simplex::Tableau plain = initial;
    referenceSolve(plain);
    EXPECT_GT(maxAbsEntry(plain), 1e16);

    simplex::Tableau t = initial;
    const simplex::SolveReport report = simplex::solve(t);
    EXPECT_EQ(report.outcome, Outcome::Optimal);
    EXPECT_GT(report.toleranceDecisions, 0);
    EXPECT_FALSE(report.textbookPhase1Used);
    EXPECT_EQ(basisOf(t, 2), 4);
    EXPECT_EQ(t.rhs(2), 0.0); // the round-off right-hand side is cleared
    EXPECT_LT(maxAbsEntry(t), 10);
}

// An entry of 1e-12 in the entering column is round-off: the ratio test passes it over, and the
// column enters at its true bound x1 = 1 instead of at 0 on the round-off row.
TEST(SimplexSafeguards, RoundOffEntryIsNotARatioTestPivot) {
    const simplex::Tableau initial = handTableau({-1}, {{1e-12, 0}, {1, 1}});
    simplex::Tableau plain = initial;
    referenceSolve(plain);
    EXPECT_DOUBLE_EQ(-plain.rhs(0), 0.0);

    simplex::Tableau t = initial;
    EXPECT_EQ(simplex::solve(t).outcome, Outcome::Optimal);
    EXPECT_DOUBLE_EQ(-t.rhs(0), -1.0);
    EXPECT_EQ(basisOf(t, 2), 1);
}

TEST(SimplexSafeguards, RoundOffReducedCostDoesNotEnter) {
    simplex::Tableau t = handTableau({-1e-12}, {{1, 1}});
    const simplex::SolveReport report = simplex::solve(t);
    EXPECT_EQ(report.outcome, Outcome::Optimal);
    EXPECT_EQ(report.phase2Pivots, 0);
    EXPECT_GT(report.toleranceDecisions, 0);
}

TEST(SimplexSafeguards, DriftedTableauIsRecomputedFromTheData) {
    std::mt19937_64 rng(5);
    const simplex::LpProblem pb = generateFormulation(rng, 6, 3, Bases::WetWet);
    const simplex::Tableau initial = simplex::buildTableau(pb).tableau;
    simplex::Tableau solved = initial;
    ASSERT_EQ(simplex::solve(solved).outcome, Outcome::Optimal);

    simplex::Tableau same = solved;
    EXPECT_EQ(simplex::detail::refactoriseIfDrifted(same, initial, kResults),
              simplex::detail::DriftCheck::Consistent);
    EXPECT_EQ(same.data(), solved.data());

    simplex::Tableau drifted = solved;
    drifted.rhs(0) += 1e-6;
    drifted.at(1, drifted.p() - 1) *= 1.001;
    drifted.at(0, 0) = 1 + 1e-7;
    ASSERT_EQ(simplex::detail::refactoriseIfDrifted(drifted, initial, kQuick),
              simplex::detail::DriftCheck::Refactorised);
    for (std::size_t k = 0; k < solved.data().size(); ++k) {
        EXPECT_NEAR(drifted.data()[k], solved.data()[k], 1e-12 * std::max(1.0, solved.data()[k]))
            << "entry " << k;
    }
    // Basic columns are exact unit vectors again, so the unit-basis test holds.
    for (int i = 1; i <= drifted.m(); ++i) {
        for (int k = 0; k <= drifted.m(); ++k) {
            EXPECT_EQ(drifted.at(k, basisOf(drifted, i)), k == i ? 1.0 : 0.0);
        }
    }
    EXPECT_EQ(drifted.at(0, 0), 1.0);

    // A drifted entry in the row of a basic ingredient, read by the sensitivity records: the
    // check after phase 2 sees it, the quick one between the phases looks only at row 0 and
    // the right-hand sides.
    int ingredientRow = 1;
    while (basisOf(solved, ingredientRow) > solved.ni()) {
        ++ingredientRow;
    }
    int nonBasic = 1;
    while (solved.isBasic(nonBasic)) {
        ++nonBasic;
    }
    simplex::Tableau body = solved;
    body.at(ingredientRow, nonBasic) += 1e-5;
    simplex::Tableau quick = body;
    EXPECT_EQ(simplex::detail::refactoriseIfDrifted(quick, initial, kQuick),
              simplex::detail::DriftCheck::Consistent);
    EXPECT_EQ(simplex::detail::refactoriseIfDrifted(body, initial, kResults),
              simplex::detail::DriftCheck::Refactorised);
    EXPECT_NEAR(body.at(ingredientRow, nonBasic), solved.at(ingredientRow, nonBasic), 1e-12);
}

TEST(SimplexSafeguards, SingularBasisIsReported) {
    const simplex::Tableau initial = handTableau({1, 1}, {{1, 1, 1}, {2, 2, 2}});
    simplex::Tableau t = initial;
    t.basis()[1] = 1;
    t.basis()[2] = 2; // columns (1, 2) and (1, 2): singular
    t.at(0, 0) = 2;   // drifted, so that it must be recomputed
    EXPECT_EQ(simplex::detail::refactoriseIfDrifted(t, initial, kQuick),
              simplex::detail::DriftCheck::Singular);
    t.basis()[1] = 3;
    t.basis()[2] = 3; // the slack of row 1 basic in two rows
    EXPECT_EQ(simplex::detail::refactoriseIfDrifted(t, initial, kQuick),
              simplex::detail::DriftCheck::Singular);
}

// Infeasible: the textbook phase 1 keeps a positive artificial and leaves the tableau alone.
// Feasible: it ends with no negative right-hand side and a unit basis, the costs carried along.
TEST(SimplexSafeguards, TextbookPhase1DecidesFeasibility) {
    simplex::Tableau infeasible = handTableau({1, 2}, {{1, 0, -1}, {-1, -1, -0.5}});
    const simplex::Tableau before = infeasible;
    simplex::SolveReport report;
    EXPECT_EQ(simplex::detail::textbookPhase1(infeasible, report),
              simplex::detail::Phase1Verdict::Infeasible);
    EXPECT_EQ(infeasible.data(), before.data());

    // x1 + x2 >= 1, x1 >= 0.25, x2 >= 0.25, x1 + x2 <= 2.
    simplex::Tableau feasible =
        handTableau({3, 1}, {{-1, -1, -1}, {-1, 0, -0.25}, {0, -1, -0.25}, {1, 1, 2}});
    EXPECT_EQ(simplex::detail::textbookPhase1(feasible, report),
              simplex::detail::Phase1Verdict::Feasible);
    for (int i = 1; i <= feasible.m(); ++i) {
        EXPECT_GE(feasible.rhs(i), 0.0);
        for (int k = 0; k <= feasible.m(); ++k) {
            EXPECT_NEAR(feasible.at(k, basisOf(feasible, i)), k == i ? 1.0 : 0.0, 1e-15);
        }
    }
    EXPECT_EQ(simplex::solve(feasible).outcome, Outcome::Optimal);
    EXPECT_DOUBLE_EQ(-feasible.rhs(0), 3 * 0.25 + 0.75);
}

// The row-by-row passes hand over after their limit: the dual simplex method from the slack
// basis, or the textbook phase 1 from wherever they stopped, and phase 2 still reach GLPK's
// optimum.
TEST(SimplexSafeguards, PassLimitHandsOverTheFeasibilityQuestion) {
    for (const simplex::Takeover takeover :
         {simplex::Takeover::DualSimplex, simplex::Takeover::TextbookPhase1}) {
        std::mt19937_64 rng(99);
        simplex::SolveOptions options;
        options.phase1PassLimit = 1;
        options.takeover = takeover;
        int handedOver = 0;
        for (int k = 0; k < 60; ++k) {
            const simplex::LpProblem pb = generateFormulation(
                rng, 5 + static_cast<int>(rng() % 20), -1, k % 2 ? Bases::WetDry : Bases::DryDry);
            simplex::Tableau t = simplex::buildTableau(pb).tableau;
            const GlpkAnswer glpk = solveTableauWithGlpk(t);
            const simplex::SolveReport report = simplex::solve(t, options);
            ASSERT_EQ(report.outcome, Outcome::Optimal) << "problem " << k;
            EXPECT_NEAR(-t.rhs(0), glpk.cost, 1e-9 * std::max(1.0, std::fabs(glpk.cost)));
            EXPECT_EQ(violatedLimit(pb, mixOf(t), 1e-7), "");
            handedOver += report.dualSimplexUsed || report.textbookPhase1Used ? 1 : 0;
            if (takeover == simplex::Takeover::TextbookPhase1) {
                EXPECT_FALSE(report.dualSimplexUsed);
            }
        }
        EXPECT_GT(handedOver, 10);
    }
}

// Beale's problem cycles under the most-negative-cost rule with the lowest row on ties; Bland's
// rule takes over after a run of degenerate pivots and reaches the optimum −1.
TEST(SimplexSafeguards, BlandsRuleEndsCycling) {
    const simplex::Tableau beale = handTableau(
        {-10, 57, 9, 24}, {{0.5, -5.5, -2.5, 9, 0}, {0.5, -1.5, -0.5, 1, 0}, {1, 0, 0, 0, 1}});
    simplex::SolveOptions never;
    never.degeneratePivotsBeforeBland = 1 << 30;
    never.phase2PivotLimit = 10000;
    simplex::Tableau cycling = beale;
    EXPECT_EQ(simplex::solve(cycling, never).outcome, Outcome::IterationLimit);

    simplex::Tableau t = beale;
    const simplex::SolveReport report = simplex::solve(t);
    EXPECT_EQ(report.outcome, Outcome::Optimal);
    EXPECT_TRUE(report.blandUsed);
    EXPECT_DOUBLE_EQ(-t.rhs(0), -1.0);
}

} // namespace
} // namespace tarvela::test
