// Small formulation problems on which the method with exact sign comparisons goes wrong (a mix
// that breaks its limits, a cost above the optimum, a false unbounded stop, a false
// infeasibility): the solver reaches the independent optimum on every one.
#include "reference_simplex.h"
#include "support/reference/formulation_lp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace tarvela::test {
namespace {

std::optional<double> optionalNumber(const QJsonValue& v) {
    if (v.isNull() || v.isUndefined()) {
        return std::nullopt;
    }
    return v.toDouble();
}

struct SolverCase {
    QString name;
    simplex::LpProblem problem;
    bool feasible = true;
    double optimalUnitCost = 0;
};

// Ingredients go into id_producto order, as the run sorts them before building the tableau.
SolverCase loadCase(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    SolverCase c;
    c.name = QFileInfo(path).fileName();
    simplex::LpProblem& pb = c.problem;
    pb.Q = root["Q"].toDouble();
    pb.vSecaIng = root["vSecaIng"].toBool();
    pb.vSecaNut = root["vSecaNut"].toBool();

    const QJsonArray ingredients = root["ingredients"].toArray();
    std::vector<int> order(static_cast<std::size_t>(ingredients.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return ingredients[a].toObject()["id"].toInt() < ingredients[b].toObject()["id"].toInt();
    });
    for (int j : order) {
        const QJsonObject o = ingredients[j].toObject();
        simplex::LpIngredient ing;
        ing.id = o["id"].toInt();
        ing.name = o["name"].toString().toStdString();
        ing.dryFraction = o["materia_seca"].toDouble() / 100;
        const double costoHumeda = o["costo_humeda"].toDouble();
        ing.price = pb.vSecaIng ? costoHumeda / ing.dryFraction : costoHumeda;
        ing.minimo = optionalNumber(o["minimo"]);
        ing.maximo = optionalNumber(o["maximo"]);
        pb.ingredients.push_back(ing);
    }
    const QJsonArray nutrients = root["nutrients"].toArray();
    const QJsonArray contents = root["contents"].toArray();
    for (int n = 0; n < nutrients.size(); ++n) {
        const QJsonObject o = nutrients[n].toObject();
        simplex::LpNutrient nut;
        nut.name = o["name"].toString().toStdString();
        nut.minimo = optionalNumber(o["minimo"]);
        nut.maximo = optionalNumber(o["maximo"]);
        const QJsonArray row = contents[n].toArray();
        for (int j : order) {
            nut.contents.push_back(row[j].toDouble());
        }
        pb.nutrients.push_back(nut);
    }
    const QJsonObject expected = root["expected"].toObject();
    c.feasible = expected["feasible"].toBool();
    c.optimalUnitCost = expected["optimal_unit_cost"].toDouble();
    return c;
}

std::vector<SolverCase> allCases() {
    const QDir dir(QStringLiteral(TARVELA_SOLVER_CASES_DIR));
    std::vector<SolverCase> cases;
    for (const QString& f : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        cases.push_back(loadCase(dir.filePath(f)));
    }
    return cases;
}

TEST(SolverCases, EveryCaseReachesTheIndependentOptimum) {
    const std::vector<SolverCase> cases = allCases();
    ASSERT_EQ(cases.size(), 10u);
    for (const SolverCase& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        ASSERT_TRUE(c.feasible);
        auto built = simplex::buildTableau(c.problem);
        const simplex::SolveReport report = simplex::solve(built.tableau);
        ASSERT_EQ(report.outcome, simplex::Outcome::Optimal);
        EXPECT_FALSE(report.passLimitReached);
        const double cost = -built.tableau.rhs(0);
        EXPECT_NEAR(cost, c.optimalUnitCost, 1e-9 * std::fabs(c.optimalUnitCost));
        EXPECT_EQ(violatedLimit(c.problem, mixOf(built.tableau), 1e-7), "");
    }
}

// A larger case whose tableau drifts when the textbook phase 1 settles its feasibility: the drift
// check recomputes it from the data, without which the solve ends in a false "infeasible". The
// dual simplex method reaches the same optimum.
TEST(SolverCases, ADriftedTableauIsRecomputedWithinTheSolve) {
    const SolverCase c = loadCase(QStringLiteral(TARVELA_SOLVER_CASES_DIR) +
                                  QStringLiteral("/larger/refactorised_105x40.json"));
    ASSERT_TRUE(c.feasible);
    for (const simplex::Takeover takeover :
         {simplex::Takeover::TextbookPhase1, simplex::Takeover::DualSimplex}) {
        simplex::SolveOptions options;
        options.takeover = takeover;
        options.phase1WorkLimit = 1e12; // the passes as long as they make progress
        auto built = simplex::buildTableau(c.problem);
        const simplex::SolveReport report = simplex::solve(built.tableau, options);
        ASSERT_EQ(report.outcome, simplex::Outcome::Optimal);
        if (takeover == simplex::Takeover::TextbookPhase1) {
            EXPECT_GE(report.refactorizations, 1);
        }
        EXPECT_NEAR(-built.tableau.rhs(0), c.optimalUnitCost, 1e-9 * c.optimalUnitCost);
        EXPECT_EQ(violatedLimit(c.problem, mixOf(built.tableau), 1e-7), "");
    }
}

// Contents and prices some seven orders of magnitude apart: the dual simplex method's own
// drift check finds its tableau off the data once and recomputes it before it answers.
TEST(SolverCases, TheDualMethodChecksItsTableauAgainstTheData) {
    const SolverCase c = loadCase(QStringLiteral(TARVELA_SOLVER_CASES_DIR) +
                                  QStringLiteral("/larger/dual_refactorised_57x16.json"));
    simplex::SolveOptions dualFirst;
    dualFirst.phase1WorkLimit = 0;
    auto built = simplex::buildTableau(c.problem);
    const simplex::SolveReport report = simplex::solve(built.tableau, dualFirst);
    ASSERT_EQ(report.outcome, simplex::Outcome::Optimal);
    EXPECT_TRUE(report.dualSimplexUsed);
    EXPECT_FALSE(report.textbookPhase1Used);
    EXPECT_GE(report.refactorizations, 1);
    EXPECT_NEAR(-built.tableau.rhs(0), c.optimalUnitCost, 1e-9 * c.optimalUnitCost);
    EXPECT_EQ(violatedLimit(c.problem, mixOf(built.tableau), 1e-7), "");
}

// The cases are only worth keeping while they still break the plain method: at least the
// "suboptimal" and "infeasible mix" ones must go wrong with exact comparisons.
TEST(SolverCases, ThePlainMethodGoesWrongOnThem) {
    int wrong = 0;
    for (const SolverCase& c : allCases()) {
        auto built = simplex::buildTableau(c.problem);
        const simplex::Outcome outcome = referenceSolve(built.tableau);
        const double cost = -built.tableau.rhs(0);
        const bool sound = outcome == simplex::Outcome::Optimal &&
                           std::fabs(cost - c.optimalUnitCost) <= 1e-9 * c.optimalUnitCost &&
                           violatedLimit(c.problem, mixOf(built.tableau), 1e-7).empty();
        wrong += sound ? 0 : 1;
    }
    EXPECT_GE(wrong, 6);
}

} // namespace
} // namespace tarvela::test
