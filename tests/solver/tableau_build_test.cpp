// The tableau of a small formulation, computed by hand for each basis combination.
#include "solver/problem.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvela::simplex {
namespace {

// Two ingredients (A: dry matter 90 %, at most 60; B: dry matter 80 %, exactly 20), protein
// between 18 and 22 (contents 30 and 10), fibre at most 5 (contents 2 and 8), batch of 100.
LpProblem smallFormulation(bool vSecaIng, bool vSecaNut) {
    LpProblem pb;
    pb.Q = 100;
    pb.vSecaIng = vSecaIng;
    pb.vSecaNut = vSecaNut;
    pb.ingredients.push_back({11, "Maíz", 2.0, 0.9, std::nullopt, 60.0});
    pb.ingredients.push_back({12, "Harina d'avena", 1.0, 0.8, 20.0, 20.0});
    pb.nutrients.push_back({"Proteína", 18.0, 22.0, {30, 10}});
    pb.nutrients.push_back({"Fibra", std::nullopt, 5.0, {2, 8}});
    return pb;
}

// Rows 1..M as {ingredient columns..., right-hand side}; slack of row i is column NI + i.
void expectRows(const Tableau& t, const std::vector<std::vector<double>>& rows) {
    ASSERT_EQ(static_cast<int>(rows.size()), t.m());
    for (int i = 1; i <= t.m(); ++i) {
        const auto& expected = rows[static_cast<std::size_t>(i - 1)];
        for (int j = 1; j <= t.ni(); ++j) {
            EXPECT_NEAR(t.at(i, j), expected[static_cast<std::size_t>(j - 1)], 1e-12)
                << "row " << i << " column " << j;
        }
        EXPECT_NEAR(t.rhs(i), expected.back(), 1e-12) << "row " << i;
        EXPECT_EQ(t.at(i, 0), 0.0);
        for (int s = 1; s <= t.m(); ++s) {
            EXPECT_EQ(t.at(i, t.ni() + s), s == i ? 1.0 : 0.0) << "row " << i << " slack " << s;
        }
        EXPECT_EQ(t.basis()[static_cast<std::size_t>(i)], t.ni() + i);
    }
}

// The ingredient and total-share rows are the same in every combination.
const std::vector<std::vector<double>> kIngredientRows = {
    {-1, 0, 0},      {1, 0, 0.6},        {0, -1, -0.19999},
    {0, 1, 0.20001}, {1, 1, 1.00000001}, {-1, -1, -0.99999999},
};

std::vector<std::vector<double>> withIngredientRows(std::vector<std::vector<double>> rows) {
    rows.insert(rows.end(), kIngredientRows.begin(), kIngredientRows.end());
    return rows;
}

TEST(TableauBuild, ShapeLabelsAndPriceRow) {
    const BuiltTableau built = buildTableau(smallFormulation(true, true));
    const Tableau& t = built.tableau;
    EXPECT_EQ(t.ni(), 2);
    EXPECT_EQ(built.rowsOf(LimitKind::Nutrient), 3);
    EXPECT_EQ(built.rowsOf(LimitKind::Ingredient), 4);
    EXPECT_EQ(t.m(), 9);
    EXPECT_EQ(t.p(), 12);
    const std::vector<std::string> labels = {"",
                                             "Mínimo para Proteína",
                                             "Máximo para Proteína",
                                             "Máximo para Fibra",
                                             "Mínimo para Maíz",
                                             "Máximo para Maíz",
                                             "Mínimo para Harina d'avena",
                                             "Máximo para Harina d'avena",
                                             "Cantidad > 1.0000001",
                                             "Cantidad < 0.0000009"};
    EXPECT_EQ(built.rowLabels, labels);
    EXPECT_EQ(t.at(0, 0), 1.0);
    EXPECT_EQ(t.at(0, 1), 2.0);
    EXPECT_EQ(t.at(0, 2), 1.0);
    for (int k = 3; k <= t.p(); ++k) {
        EXPECT_EQ(t.at(0, k), 0.0);
    }
}

TEST(TableauBuild, DryIngredientsDryNutrients) {
    expectRows(buildTableau(smallFormulation(true, true)).tableau,
               withIngredientRows({{-30, -10, -18}, {30, 10, 22}, {2, 8, 5}}));
}

TEST(TableauBuild, WetIngredientsWetNutrientsScaleContentsByDryMatter) {
    expectRows(buildTableau(smallFormulation(false, false)).tableau,
               withIngredientRows({{-27, -8, -18}, {27, 8, 22}, {1.8, 6.4, 5}}));
}

// The limit moves into the coefficients: (min − v)·d and (v − max)·d, right-hand side 0.
TEST(TableauBuild, WetIngredientsDryNutrientsCarryTheLimitInTheCoefficients) {
    expectRows(buildTableau(smallFormulation(false, true)).tableau,
               withIngredientRows({{-10.8, 6.4, 0}, {7.2, -9.6, 0}, {-2.7, 2.4, 0}}));
}

TEST(TableauBuild, DryIngredientsWetNutrientsLeaveNutrientRowsEmpty) {
    expectRows(buildTableau(smallFormulation(true, false)).tableau,
               withIngredientRows({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}));
}

// minimo = maximo = 20 in a batch of 100: the share band is 0.19999 to 0.20001. Different
// limits are not widened, and a missing content counts as 0.
TEST(TableauBuild, EqualLimitsAreWidenedOnBothRowsOnly) {
    LpProblem pb = smallFormulation(true, true);
    pb.ingredients[0].minimo = 10.0;
    pb.nutrients[1].contents = {2}; // no composition row for the second ingredient
    const Tableau t = buildTableau(pb).tableau;
    EXPECT_DOUBLE_EQ(-t.rhs(6), 0.19999);
    EXPECT_DOUBLE_EQ(t.rhs(7), 0.20001);
    EXPECT_DOUBLE_EQ(t.rhs(4), -0.1);
    EXPECT_DOUBLE_EQ(t.rhs(5), 0.6);
    EXPECT_EQ(t.at(3, 2), 0.0);
}

} // namespace
} // namespace tarvela::simplex
