#include "support/small_catalog.h"
#include "support/test_database.h"

#include "formulation/grid_cells.h"
#include "formulation/loading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tarvela::test {
namespace {

using formulation::WorkingModel;

TEST(Loading, DemoFormulaFillsHeaderTablesAndRecomputedValues) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    ScriptedDesktop desk;
    WorkingModel model = loadFormula(tdb.conn(), 1, desk);

    EXPECT_TRUE(desk.messages.empty());
    EXPECT_EQ(model.formulaId, 1);
    EXPECT_EQ(model.header.codigo, QStringLiteral("1001"));
    EXPECT_EQ(model.header.version, QStringLiteral("1"));
    EXPECT_EQ(model.header.producto, QStringLiteral("RTM vaca lechera 30 L/día"));
    EXPECT_EQ(model.header.fechaCreacion, QStringLiteral("07/12/2026"));
    EXPECT_TRUE(model.vSecaIng);
    EXPECT_TRUE(model.vSecaNut);
    EXPECT_EQ(model.batchQuantity, 1000.0);
    EXPECT_FALSE(model.loading);
    EXPECT_EQ(desk.busyDepth, 0);

    // Nutrients by name; the value is recomputed from the catalog and the stored one kept.
    ASSERT_EQ(model.rsPropiedades.size(), 8u);
    EXPECT_EQ(model.rsPropiedades.front().nombre, QStringLiteral("Calcio"));
    for (size_t i = 1; i < model.rsPropiedades.size(); ++i)
        EXPECT_LE(QString::compare(model.rsPropiedades[i - 1].nombre, model.rsPropiedades[i].nombre,
                                   Qt::CaseInsensitive),
                  0);
    for (const auto& n : model.rsPropiedades) {
        ASSERT_TRUE(n.valor && n.valorAnterior);
        EXPECT_NEAR(*n.valor, *n.valorAnterior, 1e-3) << n.nombre.toStdString();
    }

    // Ingredients largest dry share first, with their price per unit of dry matter and cost.
    ASSERT_EQ(model.ingredients.size(), 16u);
    for (size_t i = 1; i < model.ingredients.size(); ++i)
        EXPECT_GE(*model.ingredients[i - 1].porcentaje_seca, *model.ingredients[i].porcentaje_seca);
    const auto& maiz = *model.findIngredient(1);
    EXPECT_DOUBLE_EQ(*maiz.costo_seca, 0.2 / 0.88);
    EXPECT_DOUBLE_EQ(*maiz.costo_total, *maiz.cantidad_humeda * 0.2);
    EXPECT_EQ(*maiz.materiaSecaActual, 88.0);

    EXPECT_NEAR(model.vCostoHumeda, 0.0864, 5e-5);
    EXPECT_EQ(model.totalsTexts.txtCosH, QStringLiteral("$ 0.0864"));
    EXPECT_EQ(model.totalsTexts.txtCosS, QStringLiteral("$ 0.1851"));
    EXPECT_EQ(model.totalsTexts.txtPorS, QStringLiteral("100.00"));
    EXPECT_FALSE(model.totalsTexts.porSOutOfRange);
    EXPECT_TRUE(model.totalsTexts.txtMatSeca.endsWith(QStringLiteral(" %")));
    // The batch box shows the sum of the dry quantities, not the stored batch quantity.
    EXPECT_EQ(model.txtCantidad, model.totalsTexts.txtCanS);
}

// The demo formulas hold the values their mixes give, so loading one marks no nutrient green.
TEST(Loading, DemoFormulasHoldTheValuesTheirMixesGive) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    ScriptedDesktop desk;
    for (qint16 id = 1; id <= 6; ++id) {
        const WorkingModel model = loadFormula(tdb.conn(), id, desk);
        ASSERT_FALSE(model.rsPropiedades.empty());
        for (const auto& n : model.rsPropiedades)
            EXPECT_NEAR(*n.valor, *n.valorAnterior, 1e-9 * std::max(1.0, std::fabs(*n.valor)))
                << id << ' ' << n.nombre.toStdString();
        const auto paint = formulation::paintFlexProp(model, QLatin1Char('.'), true);
        for (size_t r = 1; r < paint.rows.size(); ++r)
            EXPECT_EQ(paint.cell(static_cast<int>(r), 1).background, grid::colors::background)
                << id << ' ' << paint.cell(static_cast<int>(r), 1).text.toStdString();
    }
    EXPECT_TRUE(desk.messages.empty());
}

TEST(Loading, MissingFormulaAndFormulaZero) {
    TestDatabase tdb(TestDatabase::Contents::Demo);
    ScriptedDesktop desk;
    WorkingModel model = loadFormula(tdb.conn(), 1, desk);
    const size_t ingredients = model.ingredients.size();

    model.formulaId = 99;
    formulation::actuFormula(model, tdb.conn(), desk, QLatin1Char('.'));
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].text, QStringLiteral("No se pudo establecer la Fórmula"));
    EXPECT_EQ(desk.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(model.formulaId, 0);
    EXPECT_TRUE(model.header.codigo.isEmpty());
    EXPECT_TRUE(model.txtCantidad.isEmpty());
    EXPECT_EQ(model.ingredients.size(), ingredients); // the tables are left as they were

    formulation::actuFormula(model, tdb.conn(), desk, QLatin1Char('.'));
    EXPECT_TRUE(model.ingredients.empty());
    EXPECT_TRUE(model.rsPropiedades.empty());
    EXPECT_TRUE(model.vSecaIng && model.vSecaNut);
    EXPECT_TRUE(model.totalsTexts.txtCosH.isEmpty());
}

TEST(Loading, IngredientWithoutDryMatterIsLeftOutWithItsMessage) {
    TestDatabase tdb;
    SmallCatalog cat(tdb.conn());
    cat.ingredient(1, QStringLiteral("Harina d'avena"), 0.3, 88);
    cat.ingredient(2, QStringLiteral("Agua  "), 0.01, 0);
    cat.nutrient(1, QStringLiteral("Proteína"));
    cat.formula(1, 100, false, false);
    cat.formulaIngredient(1, 1, std::nullopt, std::nullopt);
    cat.formulaIngredient(1, 2, std::nullopt, std::nullopt);
    cat.formulaNutrient(1, 1, 1.0, std::nullopt);

    ScriptedDesktop desk;
    WorkingModel model = loadFormula(tdb.conn(), 1, desk);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].text,
              QStringLiteral("El Ingrediente no posee materia seca definida\n\nEl ingrediente "
                             "Agua no se ha ingresado a la Fórmula"));
    EXPECT_EQ(desk.messages[0].icon, MsgIcon::Critical);
    ASSERT_EQ(model.ingredients.size(), 1u);
    EXPECT_EQ(model.ingredients[0].nombre, QStringLiteral("Harina d'avena"));
    EXPECT_FALSE(model.vSecaIng);
    EXPECT_TRUE(model.header.fechaModificacion.isEmpty());
}

// Rows whose ingredient or nutrient the catalog no longer holds are named when the formula is
// loaded; they are not in the working model, so the next save removes them.
TEST(Loading, ItemsGoneFromTheCatalogAreNamedWhenTheFormulaLoads) {
    TestDatabase tdb;
    SmallCatalog cat(tdb.conn());
    cat.ingredient(1, QStringLiteral("Maíz"), 0.2, 88);
    cat.ingredient(17, QStringLiteral("Soja"), 0.4, 90);
    cat.nutrient(1, QStringLiteral("Proteína"));
    cat.nutrient(4, QStringLiteral("Calcio"));
    cat.formula(1, 100, true, true);
    cat.formulaIngredient(1, 1, std::nullopt, std::nullopt);
    cat.formulaIngredient(1, 17, std::nullopt, std::nullopt);
    cat.formulaNutrient(1, 1, 1.0, std::nullopt);
    cat.formulaNutrient(1, 4, 1.0, std::nullopt);
    tdb.conn().execute(QStringLiteral("delete from productos where id_producto=17"));
    tdb.conn().execute(QStringLiteral("delete from propiedades where id_propiedad=4"));

    ScriptedDesktop desk;
    const WorkingModel model = loadFormula(tdb.conn(), 1, desk);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].text,
              QStringLiteral("El ingrediente 17 de la fórmula ya no existe en el catálogo; se "
                             "quitará al grabar.\nEl nutriente 4 de la fórmula ya no existe en el "
                             "catálogo; se quitará al grabar."));
    EXPECT_EQ(model.ingredients.size(), 1u);
    EXPECT_EQ(model.rsPropiedades.size(), 1u);
}

TEST(Loading, TotalsShareBoxTurnsRedOnlyWhenTheShownTextIsNot100) {
    TestDatabase tdb;
    WorkingModel model;
    model.vSecaIng = false;
    model.vSecaNut = false;
    formulation::IngredientRow a;
    a.id_producto = 2;
    a.materia_seca = 90;
    a.costo_humeda = 1.5;
    a.costo_seca = 1.5 / 0.9;
    a.porcentaje_humeda = 0.5;
    a.porcentaje_seca = 0.4;
    a.cantidad_humeda = 500;
    a.cantidad_seca = 450;
    formulation::IngredientRow b = a;
    b.id_producto = 1;
    b.porcentaje_humeda = 0.49995;
    b.porcentaje_seca = 0.5999;
    model.ingredients = {a, b};

    formulation::actuResultados(model, tdb.conn(), QLatin1Char(','));
    EXPECT_EQ(model.totalsTexts.txtPorH, QStringLiteral("100,00")); // 99.995 shows 100.00
    EXPECT_FALSE(model.totalsTexts.porHOutOfRange);
    EXPECT_EQ(model.totalsTexts.txtPorS, QStringLiteral("99,99"));
    EXPECT_TRUE(model.totalsTexts.porSOutOfRange);
    EXPECT_EQ(model.totalsTexts.txtCanH, QStringLiteral("1000,00"));
    EXPECT_EQ(model.totalsTexts.txtCosTot, QStringLiteral("$ 1500,00"));
    EXPECT_EQ(model.totalsTexts.txtMatSeca, QStringLiteral("90,00 %"));
    EXPECT_EQ(model.txtCantidad, model.totalsTexts.txtCanH);
    // Display order: largest share as fed first.
    EXPECT_EQ(model.ingredients[0].id_producto, 2);
}

TEST(Loading, NutrientValueOnEachBasis) {
    TestDatabase tdb;
    SmallCatalog cat(tdb.conn());
    cat.ingredient(1, QStringLiteral("A"), 0.2, 90);
    cat.ingredient(2, QStringLiteral("B"), 0.3, 50);
    cat.nutrient(7, QStringLiteral("Proteína"));
    cat.content(1, 7, 10);
    WorkingModel model;
    for (int id : {1, 2}) {
        formulation::IngredientRow r;
        r.id_producto = id;
        r.materia_seca = id == 1 ? 90 : 50;
        r.porcentaje_humeda = 0.5;
        r.porcentaje_seca = id == 1 ? 0.9 / 1.4 : 0.5 / 1.4;
        model.ingredients.push_back(r);
    }
    formulation::NutrientRow n;
    n.id_propiedad = 7;
    model.rsPropiedades = {n};

    model.vSecaIng = false;
    model.vSecaNut = false;
    formulation::actuResultados(model, tdb.conn(), QLatin1Char('.'));
    EXPECT_DOUBLE_EQ(*model.rsPropiedades[0].valor, 4.5); // 10 x 0.90 x 0.5
    model.vSecaNut = true;
    formulation::actuResultados(model, tdb.conn(), QLatin1Char('.'));
    EXPECT_DOUBLE_EQ(*model.rsPropiedades[0].valor, 10 * 0.9 / 1.4);
}

TEST(Loading, BasisOptionsNeverGiveAsFedNutrientsWithDryIngredients) {
    WorkingModel model;
    model.vSecaIng = false;
    model.vSecaNut = false;
    formulation::chooseIngredientBasis(model, true);
    EXPECT_TRUE(model.vSecaIng && model.vSecaNut);
    formulation::chooseNutrientBasis(model, false);
    EXPECT_FALSE(model.vSecaIng || model.vSecaNut);
    formulation::chooseNutrientBasis(model, true);
    EXPECT_FALSE(model.vSecaIng);
    EXPECT_TRUE(model.vSecaNut);
}

} // namespace
} // namespace tarvela::test
