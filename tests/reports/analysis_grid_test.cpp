// One list of the analysis window, as data.
#include "reports/analysis_grid.h"

#include <gtest/gtest.h>

namespace tarvela {
namespace {

using formulation::AnalysisKind;
using formulation::AnalysisRecord;

TEST(AnalysisGrid, FiltersSortsOnValor2WithUnlimitedLastAndKeepsTheRecords) {
    const std::vector<AnalysisRecord> records = {
        {AnalysisKind::IngredientInMix, QStringLiteral("A"), 0.2, std::nullopt, std::nullopt},
        {AnalysisKind::IngredientLeftOut, QStringLiteral("X"), 0.3, 0.01, 0.31},
        {AnalysisKind::IngredientInMix, QStringLiteral("B"), 0.1, 0.05, 0.15},
        {AnalysisKind::IngredientInMix, QStringLiteral("C"), 0.4, -0.5, 0.35},
        {AnalysisKind::IngredientInMix, QStringLiteral("D"), 0.25, 0.05, 0.3},
        {AnalysisKind::IngredientInMix, QStringLiteral("E"), 1.5, std::nullopt, std::nullopt}};
    const AnalysisGridKind kind{{AnalysisKind::IngredientInMix},
                                QStringLiteral("Ingrediente"),
                                QStringLiteral("Precio Actual"),
                                QStringLiteral("Máxima Variación"),
                                QStringLiteral("Precio Máximo")};
    const auto paint = analysisGridPaint(records, kind, QLatin1Char(','));
    ASSERT_EQ(paint.rows.size(), 6u);
    QStringList order;
    for (size_t r = 1; r < paint.rows.size(); ++r)
        order << paint.rows[r][1].text;
    EXPECT_EQ(order.join(QString()), QStringLiteral("CBDAE"));
    EXPECT_EQ(paint.cell(1, 2).text, QStringLiteral("0,40"));
    EXPECT_EQ(paint.cell(1, 3).text, QStringLiteral("-0,500"));
    EXPECT_EQ(paint.cell(1, 4).text, QStringLiteral("0,350"));
    EXPECT_TRUE(paint.cell(4, 3).text.isEmpty());
    EXPECT_TRUE(paint.cell(4, 4).text.isEmpty());
    EXPECT_EQ(paint.cell(0, 0).text, QString());
    EXPECT_EQ(paint.cell(0, 3).text, QStringLiteral("Máxima Variación"));
    EXPECT_EQ(paint.columns[0].widthTwips, 0);
    EXPECT_EQ(paint.columns[4].widthTwips, 1500);

    const auto none = analysisGridPaint(
        records, {{AnalysisKind::NutrientLimit}, QString(), QString(), QString(), QString()},
        QLatin1Char('.'));
    EXPECT_EQ(none.rows.size(), 1u);
}

TEST(AnalysisGrid, LimitListsShowHowFarEachRecordHolds) {
    AnalysisRecord held{AnalysisKind::NutrientLimit, QStringLiteral("Mínimo para Proteína"), 230.0,
                        4.5, 234.5};
    held.ranged = true;
    held.validoDesde = 21.25;
    const AnalysisGridKind kind{{AnalysisKind::NutrientLimit}, QStringLiteral("Por cada unidad"),
                                QStringLiteral("a"),           QStringLiteral("b"),
                                QStringLiteral("c"),           true};
    const grid::GridPaint paint = analysisGridPaint({held}, kind, QLatin1Char(','));
    ASSERT_EQ(paint.columns.size(), 7u);
    EXPECT_EQ(paint.cell(0, 5).text, QStringLiteral("Válido desde"));
    EXPECT_EQ(paint.cell(0, 6).text, QStringLiteral("Válido hasta"));
    EXPECT_EQ(paint.cell(1, 5).text, QStringLiteral("21,250"));
    EXPECT_EQ(paint.cell(1, 6).text, QStringLiteral("Sin límite"));
    EXPECT_EQ(analysisGridRecord({held}, kind, 1)->detalle, held.detalle);
    EXPECT_EQ(analysisGridRecord({held}, kind, 2), nullptr);
}

} // namespace
} // namespace tarvela
