// Pivot choices, ties and every way a solve ends, on tableaux small enough to follow by hand.
#include "hand_tableau.h"
#include "solver/problem.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using simplex::Outcome;

TEST(SimplexPivot, DividesFromColumnOneAndEliminatesTheColumn) {
    simplex::Tableau t = handTableau({3, 2}, {{2, 4, 8}, {1, 0, 3}});
    simplex::pivot(t, 1, 1);
    const std::vector<double> expected = {
        1, 0, -4, -1.5, 0, -12, // row 0
        0, 1, 2,  0.5,  0, 4,   // row 1: divided by 2
        0, 0, -2, -0.5, 1, -1,  // row 2
    };
    EXPECT_EQ(t.data(), expected);
    EXPECT_EQ(basisOf(t, 1), 1);
}

// Only the total-share row M starts negative; every ingredient holds −1 there and the cheapest
// enters. It stays: the others cost more, so the mix is all of it at the lowest total share.
TEST(SimplexPhase1, OnlyRowMNegativeTheCheapestIngredientEnters) {
    simplex::LpProblem pb;
    pb.Q = 100;
    pb.ingredients = {
        {1, "A", 3.0, 0.9, {}, {}}, {2, "B", 1.0, 0.9, {}, {}}, {3, "C", 2.0, 0.9, {}, {}}};
    pb.nutrients = {{"Fibra", {}, 9.0, {5, 6, 7}}};
    auto built = simplex::buildTableau(pb);
    simplex::Tableau& t = built.tableau;
    const simplex::SolveReport report = simplex::solve(t);
    EXPECT_EQ(report.outcome, Outcome::Optimal);
    EXPECT_EQ(basisOf(t, t.m()), 2);
    EXPECT_DOUBLE_EQ(t.rhs(t.m()), 0.99999999);
    EXPECT_DOUBLE_EQ(-t.rhs(0), 0.99999999);
}

// Two ingredients of equal price: the lower column (lower id_producto) enters, and the other,
// whose reduced cost is then exactly 0, does not enter in phase 2.
TEST(SimplexPhase1, EqualPricesTheLowerColumnEnters) {
    simplex::LpProblem pb;
    pb.Q = 100;
    pb.ingredients = {
        {1, "A", 1.0, 0.9, {}, {}}, {2, "B", 1.0, 0.9, {}, {}}, {3, "C", 2.0, 0.9, {}, {}}};
    pb.nutrients = {{"Fibra", {}, 9.0, {5, 6, 7}}};
    auto built = simplex::buildTableau(pb);
    simplex::Tableau& t = built.tableau;
    EXPECT_EQ(simplex::solve(t).outcome, Outcome::Optimal);
    EXPECT_EQ(basisOf(t, t.m()), 1);
    EXPECT_EQ(t.at(0, 2), 0.0);
    EXPECT_FALSE(t.isBasic(2));
}

// Row 1 ties at −2 in columns 1 and 2: the smaller objective entry decides, then the column.
TEST(SimplexPhase1, EntryTiesGoToTheSmallerObjectiveEntryThenTheLowerColumn) {
    simplex::Tableau cheaperSecond = handTableau({5, 4, 3}, {{-2, -2, -1, -4}});
    EXPECT_EQ(simplex::solve(cheaperSecond).outcome, Outcome::Optimal);
    EXPECT_EQ(basisOf(cheaperSecond, 1), 2);
    EXPECT_DOUBLE_EQ(-cheaperSecond.rhs(0), 8);

    simplex::Tableau equalCosts = handTableau({5, 5, 3}, {{-2, -2, -1, -4}});
    EXPECT_EQ(simplex::solve(equalCosts).outcome, Outcome::Optimal);
    EXPECT_EQ(basisOf(equalCosts, 1), 1);
    EXPECT_DOUBLE_EQ(-equalCosts.rhs(0), 10);
}

// Reduced costs tie at −1 (column 1 enters), ratios tie at 2 (row 1 leaves).
TEST(SimplexPhase2, TiesGoToTheLowestColumnAndTheLowestRow) {
    simplex::Tableau t = handTableau({-1, -1}, {{1, 0, 2}, {1, 1, 2}});
    const simplex::SolveReport report = simplex::solve(t);
    EXPECT_EQ(report.outcome, Outcome::Optimal);
    EXPECT_EQ(basisOf(t, 1), 1);
    EXPECT_EQ(basisOf(t, 2), 2);
    EXPECT_DOUBLE_EQ(-t.rhs(0), -2);
}

TEST(SimplexEnd, EnteringColumnWithoutPositiveEntryIsUnbounded) {
    simplex::Tableau t = handTableau({-1}, {{-1, 1}});
    EXPECT_EQ(simplex::solve(t).outcome, Outcome::Unbounded);
}

TEST(SimplexEnd, PivotLimitStopsPhase2) {
    simplex::Tableau t = handTableau({-1, -1}, {{1, 0, 2}, {1, 1, 2}});
    simplex::SolveOptions options;
    options.phase2PivotLimit = 1;
    const simplex::SolveReport report = simplex::solve(t, options);
    EXPECT_EQ(report.outcome, Outcome::IterationLimit);
    EXPECT_EQ(report.phase2Pivots, 1);
}

// A slack column with a cost is not a unit column of row 0: the basis is not standard.
TEST(SimplexEnd, BasisThatIsNotAUnitBasisIsNotStandard) {
    simplex::Tableau t = handTableau({1}, {{1, 1}});
    t.at(0, 2) = 5;
    EXPECT_EQ(simplex::solve(t).outcome, Outcome::NotStandard);
}

// x1 <= −1 cannot hold. Phase 1 pivots x1 into row 2 and x2 into row 1 and stops with row 2 at
// −1; the shares of the basic ingredients are clipped at 0 and rescaled to add up to 1.
TEST(SimplexEnd, InfeasibleClipsAndRescalesTheBasicShares) {
    simplex::Tableau t = handTableau({1, 2}, {{1, 0, -1}, {-1, -1, -0.5}});
    const simplex::SolveReport report = simplex::solve(t);
    EXPECT_EQ(report.outcome, Outcome::Infeasible);
    EXPECT_FALSE(report.passLimitReached);
    EXPECT_EQ(basisOf(t, 1), 2);
    EXPECT_EQ(basisOf(t, 2), 1);
    EXPECT_DOUBLE_EQ(t.rhs(1), 1.0);
    EXPECT_DOUBLE_EQ(t.rhs(2), 0.0);
}

// A nutrient minimum above every ingredient's content: infeasible, basic shares add up to 1.
TEST(SimplexEnd, UnreachableNutrientMinimumIsInfeasible) {
    simplex::LpProblem pb;
    pb.Q = 100;
    pb.ingredients = {{1, "A", 1.0, 0.9, {}, {}}, {2, "B", 2.0, 0.9, {}, 40.0}};
    pb.nutrients = {{"Proteína", 50.0, {}, {10, 20}}};
    auto built = simplex::buildTableau(pb);
    simplex::Tableau& t = built.tableau;
    EXPECT_EQ(simplex::solve(t).outcome, Outcome::Infeasible);
    double total = 0;
    for (int i = 1; i <= t.m(); ++i) {
        if (basisOf(t, i) <= t.ni()) {
            EXPECT_GE(t.rhs(i), 0.0);
            total += t.rhs(i);
        }
    }
    EXPECT_NEAR(total, 1.0, 1e-15);
}

} // namespace
} // namespace tarvela::test
