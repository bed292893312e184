// The chart of a curve as data: lines broken at the gaps, marks and notes, readable axes.
#include "reports/chart_labels.h"
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

TEST(CurveChart, EachChangeIsLabelledAtItsOwnValueAndTheRecordsDiffer) {
    formulation::CostCurve curve = sampleCurve();
    curve.subject = {formulation::CurveKind::IngredientPrice, 9, false};
    curve.start.caption = QStringLiteral("Precio de Harina de carne y hueso 45 % (lote nuevo)");
    curve.ingredientNames[1] = QStringLiteral("Harina de carne y hueso 45 % (lote nuevo)");
    CurvePoint leaves = point(15.2, 0.2101, CurvePoint::Role::Change);
    leaves.leaving = {QStringLiteral("Pellet de girasol")};
    curve.points.insert(curve.points.begin() + 2, leaves);
    curve.heldFrom = 12.5;
    curve.heldTo = 25;
    const reports::CurveChart chart = reports::curveChart(curve, QLatin1Char('.'));
    // Two changes 0.2 apart (within 1 % of the range) keep a label each, at their own values.
    ASSERT_EQ(chart.changes.size(), 2u);
    EXPECT_EQ(chart.changes[1].x, 15.2);
    EXPECT_EQ(chart.changes[1].label, QStringLiteral("Sale Pellet de girasol"));
    ASSERT_EQ(chart.records.size(), 2u);
    EXPECT_NE(chart.records[0].colour, chart.records[1].colour);
    // Long axis titles are broken into lines, none of them cut.
    EXPECT_EQ(chart.quantity->title,
              QStringLiteral("Cantidad de Harina de carne y<br>hueso 45 % (lote nuevo)"));
    // A formula on dry matter plots the dry cost the run minimises, and names it.
    EXPECT_EQ(chart.y.title, QStringLiteral("Costo U.Húmeda ($)"));
    curve.dryBasis = true;
    EXPECT_EQ(reports::curveChart(curve, QLatin1Char('.')).y.title,
              QStringLiteral("Costo U.Seca ($)"));
}

TEST(ChartLabels, NoTwoBoxesIntersectAndEachStaysNearItsPoint) {
    const QRectF area(50, 20, 600, 300);
    std::vector<reports::LabelRequest> labels;
    // Crowded: ten labels within 30 pixels, two of them at the same point, one at the edge.
    for (int k = 0; k < 10; ++k)
        labels.push_back({QPointF(300 + 3 * k, 150 + (k % 3)), QSizeF(140, 14)});
    labels.push_back({QPointF(300, 150), QSizeF(90, 14)});
    labels.push_back({QPointF(645, 25), QSizeF(120, 14)});
    labels.push_back({QPointF(100, 300), QSizeF(60, 14)}); // alone: right above its point
    const std::vector<reports::PlacedLabel> placed = reports::placeLabels(labels, area);
    ASSERT_EQ(placed.size(), labels.size());
    for (std::size_t a = 0; a < placed.size(); ++a) {
        EXPECT_EQ(placed[a].box.size(), labels[a].size);
        EXPECT_TRUE(area.contains(placed[a].box)) << a;
        for (std::size_t b = a + 1; b < placed.size(); ++b)
            EXPECT_FALSE(placed[a].box.intersects(placed[b].box)) << a << " " << b;
    }
    EXPECT_FALSE(placed.back().leader);
    EXPECT_LT(placed.back().box.bottom(), 300);
    EXPECT_GT(placed.back().box.bottom(), 290);
    EXPECT_TRUE(placed[1].leader);

    // More labels than the area holds: the rest stack above it, still apart.
    std::vector<reports::LabelRequest> many(40, {QPointF(300, 150), QSizeF(200, 14)});
    const std::vector<reports::PlacedLabel> stacked = reports::placeLabels(many, area);
    for (std::size_t a = 0; a < stacked.size(); ++a)
        for (std::size_t b = a + 1; b < stacked.size(); ++b)
            EXPECT_FALSE(stacked[a].box.intersects(stacked[b].box)) << a << " " << b;
}

} // namespace
} // namespace tarvela::test
