// The painting rules of the formulation window's grids, without widgets.
#include "formulation/grid_cells.h"

#include <gtest/gtest.h>

namespace tarvela::formulation {
namespace {

using grid::CellPaint;
using grid::GridPaint;
using grid::kRestWidth;
using grid::needsVerticalScrollBar;
using grid::restColumnWidth;
namespace colors = grid::colors;

namespace col {
enum {
    id,
    nombre,
    ms,
    costoSeca,
    precio,
    sep1,
    min,
    max,
    sep2,
    canS,
    porS,
    sep3,
    canH,
    porH,
    costo,
    msActual,
    precioActual
};
}

IngredientRow maiz() {
    IngredientRow r;
    r.id_producto = 1;
    r.nombre = QStringLiteral("Maíz");
    r.materia_seca = 88;
    r.costo_humeda = 0.2;
    r.costo_seca = 0.2 / 0.88;
    r.minimo = std::nullopt;
    r.maximo = 300;
    r.cantidad_seca = 147.064;
    r.porcentaje_seca = 0.147064;
    r.cantidad_humeda = 167.118;
    r.porcentaje_humeda = 0.078035;
    r.costo_total = 167.118 * 0.2;
    r.materiaSecaActual = 88;
    r.costoHumedaActual = 0.2;
    return r;
}

WorkingModel modelWith(std::vector<IngredientRow> rows, bool dry = true) {
    WorkingModel m;
    m.vSecaIng = dry;
    m.vSecaNut = dry;
    m.ingredients = std::move(rows);
    return m;
}

bool isRed(const CellPaint& c) {
    return c.background == colors::outOfLimits && c.foreground == colors::lightText;
}

TEST(FlexProdColumns, HeadingsWidthsAndRestRule) {
    const auto& columns = flexProdColumns();
    ASSERT_EQ(columns.size(), 17u);
    EXPECT_EQ(columns[col::nombre].heading, QStringLiteral("Descripción"));
    EXPECT_EQ(columns[col::nombre].widthTwips, kRestWidth);
    EXPECT_EQ(columns[col::canH].heading, QStringLiteral("B.Húmeda"));
    EXPECT_EQ(columns[col::costo].widthTwips, 1200);
    EXPECT_EQ(columns[col::costoSeca].widthTwips, 0);
    EXPECT_EQ(columns[col::precioActual].field, QStringLiteral("costoHumedaActual"));

    // 70 + 8790 twips of fixed columns; 240 more with a vertical scroll bar.
    EXPECT_EQ(restColumnWidth(13020, columns, false), 13020 - 8860);
    EXPECT_EQ(restColumnWidth(13020, columns, true), 13020 - 8860 - 240);
    EXPECT_EQ(restColumnWidth(5000, columns, true), 0);
    EXPECT_EQ(restColumnWidth(7050, flexPropColumns(), false), 7050 - 3830);
    EXPECT_TRUE(needsVerticalScrollBar(100, 18, 6));
    EXPECT_FALSE(needsVerticalScrollBar(108, 18, 6));

    const GridPaint paint = paintFlexProd(modelWith({}), QLatin1Char('.'));
    ASSERT_EQ(paint.rows.size(), 1u);
    for (const auto& heading : paint.rows[0]) {
        EXPECT_EQ(heading.background, colors::header);
        EXPECT_EQ(heading.foreground, colors::lightText);
    }
    EXPECT_EQ(paint.cell(0, col::porH).text, QStringLiteral("%"));
}

TEST(FlexProd, IngredientInTheMixShowsFormatsAndBoldOnItsBasis) {
    const GridPaint dry = paintFlexProd(modelWith({maiz()}, true), QLatin1Char('.'));
    EXPECT_EQ(dry.cell(1, col::nombre).text, QStringLiteral("Maíz"));
    EXPECT_EQ(dry.cell(1, col::ms).text, QStringLiteral("88.00 %"));
    EXPECT_EQ(dry.cell(1, col::precio).text, QStringLiteral("$ 0.20"));
    EXPECT_EQ(dry.cell(1, col::min).text, QString());
    EXPECT_EQ(dry.cell(1, col::max).text, QStringLiteral("300.000"));
    EXPECT_EQ(dry.cell(1, col::canS).text, QStringLiteral("147.064"));
    EXPECT_EQ(dry.cell(1, col::porS).text, QStringLiteral("14.71"));
    EXPECT_EQ(dry.cell(1, col::canH).text, QStringLiteral("167.118"));
    EXPECT_EQ(dry.cell(1, col::porH).text, QStringLiteral("7.80"));
    EXPECT_EQ(dry.cell(1, col::costo).text, QStringLiteral("$ 33.4236"));
    for (int c : {col::sep1, col::sep2, col::sep3})
        EXPECT_EQ(dry.cell(1, c).background, colors::header);
    for (int c : {col::nombre, col::canS, col::porS})
        EXPECT_TRUE(dry.cell(1, c).bold) << c;
    for (int c : {col::canH, col::porH, col::precio})
        EXPECT_FALSE(dry.cell(1, c).bold) << c;
    EXPECT_EQ(dry.cell(1, col::nombre).background, colors::background);

    const GridPaint wet = paintFlexProd(modelWith({maiz()}, false), QLatin1Char('.'));
    EXPECT_TRUE(wet.cell(1, col::canH).bold);
    EXPECT_TRUE(wet.cell(1, col::porH).bold);
    EXPECT_FALSE(wet.cell(1, col::canS).bold);
}

TEST(FlexProd, IngredientOutOfTheMixIsLightGreyWithEmptyCells) {
    IngredientRow out = maiz();
    out.cantidad_seca = 0;
    out.porcentaje_seca = 0;
    out.cantidad_humeda = 0;
    out.porcentaje_humeda = 0;
    out.costo_total = 0;
    const GridPaint paint = paintFlexProd(modelWith({out}), QLatin1Char('.'));
    for (int c = 0; c < 17; ++c) {
        const QColor expected = (c == col::sep1 || c == col::sep2 || c == col::sep3)
                                    ? colors::header
                                    : colors::outOfMix;
        EXPECT_EQ(paint.cell(1, c).background, expected) << c;
        EXPECT_FALSE(paint.cell(1, c).bold) << c;
    }
    for (int c : {col::canS, col::porS, col::canH, col::porH, col::costo})
        EXPECT_TRUE(paint.cell(1, c).text.isEmpty()) << c;

    // On the as-fed basis the as-fed quantity decides; a tiny share that shows 0 is empty.
    IngredientRow wetOnly = maiz();
    wetOnly.cantidad_seca = 0;
    wetOnly.porcentaje_seca = 0.00001;
    const GridPaint wet = paintFlexProd(modelWith({wetOnly}, false), QLatin1Char('.'));
    EXPECT_EQ(wet.cell(1, col::nombre).background, colors::background);
    EXPECT_TRUE(wet.cell(1, col::canS).text.isEmpty());
    EXPECT_TRUE(wet.cell(1, col::porS).text.isEmpty());
    const GridPaint dry = paintFlexProd(modelWith({wetOnly}, true), QLatin1Char('.'));
    EXPECT_EQ(dry.cell(1, col::nombre).background, colors::outOfMix);
    EXPECT_EQ(dry.cell(1, col::costo).text, QStringLiteral("$ 33.4236"));
}

TEST(FlexProd, QuantityOutsideItsLimitsIsRed) {
    IngredientRow below = maiz();
    below.minimo = 150; // above the dry quantity 147.064
    IngredientRow above = maiz();
    above.maximo = 100;
    IngredientRow widened = maiz(); // equal limits widened by 0.001: the mix at 9.999 meets them
    widened.minimo = 10;
    widened.maximo = 10;
    widened.cantidad_seca = 9.999;
    IngredientRow beyond = widened; // past the widening
    beyond.cantidad_seca = 10.002;
    IngredientRow roundOff = maiz(); // at its limit but for round-off
    roundOff.minimo = 147.064;
    roundOff.cantidad_seca = 147.06399999999;
    IngredientRow outOfMix = maiz();
    outOfMix.minimo = 350;
    outOfMix.cantidad_seca = 0;

    const GridPaint paint = paintFlexProd(
        modelWith({below, above, widened, roundOff, outOfMix, maiz(), beyond}), QLatin1Char('.'));
    EXPECT_TRUE(isRed(paint.cell(1, col::canS)));
    EXPECT_FALSE(isRed(paint.cell(1, col::canH)));
    EXPECT_TRUE(isRed(paint.cell(2, col::canS)));
    EXPECT_FALSE(isRed(paint.cell(3, col::canS)));
    EXPECT_TRUE(isRed(paint.cell(7, col::canS)));
    EXPECT_FALSE(isRed(paint.cell(4, col::canS)));
    EXPECT_TRUE(isRed(paint.cell(5, col::canS)));
    EXPECT_TRUE(paint.cell(5, col::canS).text.isEmpty());
    EXPECT_FALSE(isRed(paint.cell(6, col::canS)));

    // As fed, the as-fed quantity is compared.
    IngredientRow wet = maiz();
    wet.maximo = 160;
    const GridPaint wetPaint = paintFlexProd(modelWith({wet}, false), QLatin1Char('.'));
    EXPECT_TRUE(isRed(wetPaint.cell(1, col::canH)));
    EXPECT_FALSE(isRed(wetPaint.cell(1, col::canS)));
}

TEST(FlexProd, CatalogDifferencesMarkDryMatterRedAndPriceGreen) {
    IngredientRow changed = maiz();
    changed.materiaSecaActual = 87.5;
    changed.costoHumedaActual = 0.21;
    IngredientRow removed = maiz(); // no catalog values
    removed.materiaSecaActual = std::nullopt;
    removed.costoHumedaActual = std::nullopt;
    const GridPaint paint = paintFlexProd(modelWith({changed, maiz(), removed}), QLatin1Char('.'));
    EXPECT_TRUE(isRed(paint.cell(1, col::ms)));
    EXPECT_EQ(paint.cell(1, col::ms).text, QStringLiteral("88.00 %"));
    EXPECT_EQ(paint.cell(1, col::precio).background, colors::differsFromCatalog);
    EXPECT_EQ(paint.cell(1, col::precio).text, QStringLiteral("$ 0.20"));
    EXPECT_EQ(paint.cell(1, col::msActual).text, QStringLiteral("87.5"));
    EXPECT_EQ(paint.cell(2, col::ms).background, colors::background);
    EXPECT_EQ(paint.cell(2, col::precio).background, colors::background);
    EXPECT_TRUE(isRed(paint.cell(3, col::ms)));
    EXPECT_EQ(paint.cell(3, col::precio).background, colors::differsFromCatalog);
}

TEST(FlexProd, CommaWorkstationShowsCommas) {
    IngredientRow r = maiz();
    r.minimo = 12.5;
    const GridPaint paint = paintFlexProd(modelWith({r}), QLatin1Char(','));
    EXPECT_EQ(paint.cell(1, col::ms).text, QStringLiteral("88,00 %"));
    EXPECT_EQ(paint.cell(1, col::precio).text, QStringLiteral("$ 0,20"));
    EXPECT_EQ(paint.cell(1, col::min).text, QStringLiteral("12,500"));
    EXPECT_EQ(paint.cell(1, col::canS).text, QStringLiteral("147,064"));
    EXPECT_EQ(paint.cell(1, col::porS).text, QStringLiteral("14,71"));
    EXPECT_EQ(paint.cell(1, col::costo).text, QStringLiteral("$ 33,4236"));
    EXPECT_EQ(paint.cell(1, col::costoSeca).text, QStringLiteral("0,227272727272727"));
    // The catalog comparison is not disturbed by the separator.
    EXPECT_EQ(paint.cell(1, col::ms).background, colors::background);
}

NutrientRow proteina(Opt minimo, Opt maximo, Opt valor, Opt anterior) {
    NutrientRow n;
    n.id_propiedad = 1;
    n.nombre = QStringLiteral("Proteína Bruta");
    n.minimo = minimo;
    n.maximo = maximo;
    n.valor = valor;
    n.valorAnterior = anterior;
    return n;
}

TEST(FlexProp, ValueRedOutsideItsLimitsAsShownAndAlwaysBold) {
    WorkingModel m;
    m.rsPropiedades = {proteina(16, 18, 15.994, 15.994), // shows 15.99 < 16.00
                       proteina(16, 18, 15.996, 15.996), // shows 16.00: inside
                       proteina(16, 18, 18.01, 18.01),   // above
                       proteina(std::nullopt, 18, 3, 3), // no minimum
                       proteina(16, std::nullopt, std::nullopt, std::nullopt)}; // just added
    const GridPaint paint = paintFlexProp(m, QLatin1Char('.'), false);
    ASSERT_EQ(paint.rows.size(), 6u);
    EXPECT_EQ(paint.cell(0, 6).text, QStringLiteral("Valor"));
    EXPECT_TRUE(isRed(paint.cell(1, 6)));
    EXPECT_EQ(paint.cell(1, 6).text, QStringLiteral("15.99"));
    EXPECT_FALSE(isRed(paint.cell(2, 6)));
    EXPECT_EQ(paint.cell(2, 6).text, QStringLiteral("16.00"));
    EXPECT_TRUE(isRed(paint.cell(3, 6)));
    EXPECT_FALSE(isRed(paint.cell(4, 6)));
    EXPECT_EQ(paint.cell(4, 3).text, QString());
    EXPECT_EQ(paint.cell(4, 4).text, QStringLiteral("18.00"));
    EXPECT_EQ(paint.cell(5, 6).text, QString());
    EXPECT_FALSE(isRed(paint.cell(5, 6)));
    for (int r = 1; r <= 5; ++r) {
        EXPECT_TRUE(paint.cell(r, 6).bold);
        EXPECT_FALSE(paint.cell(r, 1).bold);
        EXPECT_EQ(paint.cell(r, 2).background, colors::header);
        EXPECT_EQ(paint.cell(r, 5).background, colors::header);
    }

    const GridPaint comma = paintFlexProp(m, QLatin1Char(','), false);
    EXPECT_EQ(comma.cell(3, 6).text, QStringLiteral("18,01"));
    EXPECT_EQ(comma.cell(1, 3).text, QStringLiteral("16,00"));
}

TEST(FlexProp, NameGreenOnlyWhileLoadingAndWhenTheValueChanged) {
    WorkingModel m;
    // Compared as the grid shows them: round-off below the second decimal is no change.
    m.rsPropiedades = {proteina(16, 18, 16.5, 16.4),         proteina(16, 18, 16.5, 16.5),
                       proteina(16, 18, 16.5, std::nullopt), proteina(16, 18, 16.5, 16.50000001),
                       proteina(16, 18, 16.004, 15.996),     proteina(16, 18, 16.5, 16.494)};
    const GridPaint loading = paintFlexProp(m, QLatin1Char('.'), true);
    const bool green[] = {true, false, true, false, false, true};
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(loading.cell(r, 1).background,
                  green[r - 1] ? colors::differsFromCatalog : colors::background)
            << r;
    const GridPaint after = paintFlexProp(m, QLatin1Char('.'), false);
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(after.cell(r, 1).background, colors::background);
}

} // namespace
} // namespace tarvela::formulation
