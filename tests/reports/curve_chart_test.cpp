// The chart of a curve as data: lines broken at the gaps, marks and notes, readable axes.
#include "reports/curve_chart.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

using formulation::CurvePoint;

CurvePoint point(double value, std::optional<double> cost,
                 CurvePoint::Role role = CurvePoint::Role::Step) {
    CurvePoint p;
    p.role = role;
    p.value = value;
    p.unitCost = cost;
    if (cost)
        p.quantities = {value * 10, 100 - value};
    return p;
}

formulation::CostCurve sampleCurve() {
    formulation::CostCurve curve;
    curve.subject = {formulation::CurveKind::NutrientLimit, 1, false};
    curve.start.caption = QStringLiteral("Mínimo para Proteína Bruta");
    curve.start.current = 20;
    curve.range = {10, 40, 3};
    curve.ingredientIds = {7, 9};
    curve.ingredientNames = {QStringLiteral("Maíz"), QStringLiteral("Harina de soja")};
    CurvePoint change = point(15, 0.2101, CurvePoint::Role::Change);
    change.entering = {QStringLiteral("Harina de soja")};
    change.binding = {QStringLiteral("Máximo para Maíz")};
    curve.points = {point(10, 0.2100), change, point(20, 0.2102), point(30, std::nullopt),
                    point(40, 0.2301)};
    return curve;
}

TEST(CurveChart, GapsBreakTheLineAndAreNoted) {
    const reports::CurveChart chart = reports::curveChart(sampleCurve(), QLatin1Char(','));
    EXPECT_EQ(chart.title, QStringLiteral("Curva de costo: Mínimo para Proteína Bruta"));
    ASSERT_EQ(chart.cost.size(), 2u);
    EXPECT_EQ(chart.cost[0].size(), 3u);
    EXPECT_EQ(chart.cost[1].front(), QPointF(40, 0.2301));
    ASSERT_EQ(chart.gapNotes.size(), 1u);
    EXPECT_EQ(chart.gapNotes[0], QStringLiteral("Sin solución entre 20,00 y 40,00"));
    ASSERT_EQ(chart.changes.size(), 1u);
    // The ingredient that enters names the change; the limit that starts binding does not.
    EXPECT_EQ(chart.changes[0].label, QStringLiteral("Entra Harina de soja"));
    ASSERT_TRUE(chart.current);
    EXPECT_DOUBLE_EQ(chart.current->y, 0.2102);
    EXPECT_FALSE(chart.quantity);
    // The money axis spans the costs with fixed decimals, never scientific notation.
    EXPECT_LE(chart.y.min, 0.2100);
    EXPECT_GE(chart.y.max, 0.2301);
    EXPECT_TRUE(chart.y.labelFormat.endsWith(QLatin1Char('f')));
}

TEST(CurveChart, FlatCurvesKeepAReadableAxis) {
    formulation::CostCurve curve = sampleCurve();
    curve.points = {point(10, 0.25), point(40, 0.25)};
    const reports::CurveChart chart = reports::curveChart(curve, QLatin1Char('.'));
    EXPECT_GT(chart.y.max - chart.y.min, 0.01);
    EXPECT_TRUE(chart.gapNotes.empty());
}

TEST(CurveChart, PriceMapsDrawTheQuantityAndTheRecordPrices) {
    formulation::CostCurve curve = sampleCurve();
    curve.subject = {formulation::CurveKind::IngredientPrice, 9, false};
    curve.start.caption = QStringLiteral("Precio de Harina de soja");
    curve.heldFrom = 12.5;
    const reports::CurveChart chart = reports::curveChart(curve, QLatin1Char('.'));
    ASSERT_TRUE(chart.quantity);
    EXPECT_EQ(chart.quantity->title, QStringLiteral("Cantidad de Harina de soja"));
    ASSERT_EQ(chart.quantityLines.size(), 2u);
    EXPECT_EQ(chart.quantityLines[0][0], QPointF(10, 90));
    ASSERT_EQ(chart.records.size(), 1u);
    EXPECT_EQ(chart.records[0].label, QStringLiteral("Precio Oportuno 12.50"));

    const grid::GridPaint table = reports::curvePointsPaint(curve, QLatin1Char('.'));
    EXPECT_EQ(table.cell(0, 0).text, QStringLiteral("Precio"));
    EXPECT_EQ(table.cell(4, 1).text, QString()); // the gap has no cost
    EXPECT_EQ(table.cell(4, table.columns.size() - 1).text, QStringLiteral("Sin solución"));
}

} // namespace
} // namespace tarvela::test
