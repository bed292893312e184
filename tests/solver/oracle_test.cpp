// The solver against GLPK on generated formulation problems, and against a plain transcription
// of the method with exact comparisons where no safeguard had to act.
#include "reference_simplex.h"
#include "support/reference/formulation_lp.h"
#include "support/reference/glpk_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tarvela::test {
namespace {

using simplex::buildTableau;
using simplex::Outcome;

constexpr Bases kAllBases[] = {Bases::DryDry, Bases::WetWet, Bases::WetDry};

TEST(SolverOracle, GeneratedFormulationsReachGlpkOptimum) {
    std::mt19937_64 rng(20240611);
    std::uniform_int_distribution<int> ingredients(5, 30);
    int problems = 0;
    int safeguarded = 0;
    for (int k = 0; k < 360; ++k) {
        const Bases bases = kAllBases[k % 3];
        const int ni = ingredients(rng);
        const int nutrients = 1 + static_cast<int>(rng() % 15);
        const simplex::LpProblem pb = generateFormulation(rng, ni, nutrients, bases);
        auto built = buildTableau(pb);
        const GlpkAnswer glpk = solveTableauWithGlpk(built.tableau);
        ASSERT_TRUE(glpk.optimal) << "problem " << k << " is generated feasible";

        const simplex::SolveReport report = simplex::solve(built.tableau);
        ASSERT_EQ(report.outcome, Outcome::Optimal) << "problem " << k;
        EXPECT_FALSE(report.passLimitReached);
        const double cost = -built.tableau.rhs(0);
        EXPECT_NEAR(cost, glpk.cost, 1e-9 * std::max(1.0, std::fabs(glpk.cost))) << "problem " << k;
        EXPECT_EQ(violatedLimit(pb, mixOf(built.tableau), 1e-7), "") << "problem " << k;
        ++problems;
        safeguarded += report.safeguardsIdle() ? 0 : 1;
    }
    EXPECT_EQ(problems, 360);
    RecordProperty("safeguarded", safeguarded);
}

// Where no safeguard changed a decision the pivots are exactly those of sign comparisons.
TEST(SolverOracle, ClearOfTolerancesTheTableauIsThePlainMethods) {
    std::mt19937_64 rng(77);
    int compared = 0;
    for (int k = 0; k < 150; ++k) {
        const simplex::LpProblem pb =
            generateFormulation(rng, 4 + static_cast<int>(rng() % 20), -1, kAllBases[k % 3]);
        auto built = buildTableau(pb);
        simplex::Tableau plain = built.tableau;
        const simplex::SolveReport report = simplex::solve(built.tableau);
        const Outcome plainOutcome = referenceSolve(plain);
        if (!report.safeguardsIdle()) {
            continue;
        }
        ++compared;
        ASSERT_EQ(report.outcome, plainOutcome) << "problem " << k;
        ASSERT_EQ(built.tableau.basis(), plain.basis()) << "problem " << k;
        const auto& a = built.tableau.data();
        const auto& b = plain.data();
        for (std::size_t q = 0; q < a.size(); ++q) {
            ASSERT_EQ(a[q], b[q]) << "problem " << k << " entry " << q;
        }
    }
    EXPECT_GT(compared, 50);
}

} // namespace
} // namespace tarvela::test
