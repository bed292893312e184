#include "formulation/mix_share.h"
#include "formulation/write_back.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvela::test {
namespace {

using formulation::IngredientRow;
using formulation::WorkingModel;

// A final tableau with two ingredient columns basic in rows 1 and 2 at the given shares.
simplex::Tableau solvedTableau(double x1, double x2, int basic2 = 2) {
    simplex::Tableau t(2, 4);
    t.basis()[1] = 1;
    t.basis()[2] = basic2;
    t.rhs(1) = x1;
    t.rhs(2) = x2;
    t.rhs(3) = 0.3; // slack rows are not ingredients
    return t;
}

WorkingModel twoIngredients(bool seca) {
    WorkingModel m;
    m.vSecaIng = seca;
    for (int id : {20, 10}) {
        IngredientRow r;
        r.id_producto = id;
        r.materia_seca = id == 10 ? 90 : 50;
        r.cantidad_seca = 123; // stale figures are cleared
        r.costo_total = 9;
        m.ingredients.push_back(r);
    }
    return m;
}

TEST(WriteBack, WetBasisSharesGiveBothQuantitiesAndDryShares) {
    WorkingModel m = twoIngredients(false);
    std::vector<formulation::RunMessage> messages;
    writeBack(m, solvedTableau(0.6, 0.4), {10, 20}, 500, messages);
    EXPECT_TRUE(messages.empty());
    const IngredientRow& a = *m.findIngredient(10);
    const IngredientRow& b = *m.findIngredient(20);
    EXPECT_DOUBLE_EQ(*a.cantidad_humeda, 300);
    EXPECT_DOUBLE_EQ(*b.cantidad_humeda, 200);
    EXPECT_DOUBLE_EQ(*a.cantidad_seca, 270);
    EXPECT_DOUBLE_EQ(*b.cantidad_seca, 100);
    EXPECT_DOUBLE_EQ(*a.porcentaje_seca, 270.0 / 370.0);
    EXPECT_DOUBLE_EQ(*b.porcentaje_seca, 100.0 / 370.0);
    EXPECT_DOUBLE_EQ(*a.porcentaje_humeda, 0.6);
    EXPECT_EQ(*a.costo_total, 0.0);
    EXPECT_EQ(m.ingredients[0].id_producto, 10); // left in key order
}

TEST(WriteBack, DryBasisDividesByTheDryMatter) {
    WorkingModel m = twoIngredients(true);
    std::vector<formulation::RunMessage> messages;
    writeBack(m, solvedTableau(0.6, 0.4), {10, 20}, 500, messages);
    const IngredientRow& a = *m.findIngredient(10);
    const IngredientRow& b = *m.findIngredient(20);
    EXPECT_DOUBLE_EQ(*a.porcentaje_seca, 0.6);
    EXPECT_DOUBLE_EQ(*a.cantidad_seca, 300);
    EXPECT_DOUBLE_EQ(*a.cantidad_humeda, 300 / 0.9);
    EXPECT_DOUBLE_EQ(*b.cantidad_humeda, 400);
    EXPECT_DOUBLE_EQ(*b.porcentaje_humeda, 400 / (400 + 300 / 0.9));
}

TEST(WriteBack, DryMatterZeroOnTheDryPathGivesNoQuantityAsFed) {
    WorkingModel m = twoIngredients(true);
    m.findIngredient(20)->materia_seca = 0;
    std::vector<formulation::RunMessage> messages;
    writeBack(m, solvedTableau(0.6, 0.4), {10, 20}, 500, messages);
    const IngredientRow& b = *m.findIngredient(20);
    EXPECT_DOUBLE_EQ(*b.cantidad_seca, 200);
    EXPECT_EQ(*b.cantidad_humeda, 0.0);
    EXPECT_EQ(*b.porcentaje_humeda, 0.0);
    EXPECT_DOUBLE_EQ(*m.findIngredient(10)->porcentaje_humeda, 1.0);
    for (const IngredientRow& r : m.ingredients)
        EXPECT_TRUE(std::isfinite(*r.porcentaje_humeda) && std::isfinite(*r.cantidad_humeda));
}

TEST(WriteBack, MissingIngredientIsReportedAndTheOthersWritten) {
    WorkingModel m = twoIngredients(false);
    std::vector<formulation::RunMessage> messages;
    writeBack(m, solvedTableau(0.6, 0.4), {10, 77}, 500, messages);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("No se pudo obtener los datos del ingrediente 77"));
    EXPECT_EQ(messages[0].icon, MsgIcon::Critical);
    EXPECT_DOUBLE_EQ(*m.findIngredient(10)->cantidad_humeda, 300);
    EXPECT_EQ(*m.findIngredient(20)->cantidad_humeda, 0.0);
    EXPECT_DOUBLE_EQ(*m.findIngredient(10)->porcentaje_seca, 1.0);
}

// A basic ingredient the pivots leave at 1e-15 of the batch is no part of the mix: written as 0,
// and a quantity that small stored before reads as absent.
TEST(WriteBack, ASharesWithinRoundOffIsZero) {
    WorkingModel m = twoIngredients(false);
    m.batchQuantity = 500;
    std::vector<formulation::RunMessage> messages;
    writeBack(m, solvedTableau(1.0 - 1e-15, 1.33e-15), {10, 20}, 500, messages);
    const IngredientRow& b = *m.findIngredient(20);
    EXPECT_EQ(*b.cantidad_humeda, 0.0);
    EXPECT_EQ(*b.cantidad_seca, 0.0);
    EXPECT_EQ(*b.porcentaje_humeda, 0.0);
    EXPECT_EQ(*b.porcentaje_seca, 0.0);
    EXPECT_FALSE(formulation::isInMix(b, m));
    EXPECT_TRUE(formulation::isInMix(*m.findIngredient(10), m));
    // A share just above round-off stays: 1e-8 of 500 kg.
    writeBack(m, solvedTableau(1.0 - 1e-8, 1e-8), {10, 20}, 500, messages);
    EXPECT_DOUBLE_EQ(*m.findIngredient(20)->cantidad_humeda, 5e-6);
    EXPECT_TRUE(formulation::isInMix(*m.findIngredient(20), m));

    m.findIngredient(20)->cantidad_humeda = 1.01e-14; // as an earlier version stored it
    EXPECT_FALSE(formulation::isInMix(*m.findIngredient(20), m));
}

} // namespace
} // namespace tarvela::test
