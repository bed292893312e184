#include "formulation/catalog_refresh.h"

#include <gtest/gtest.h>

namespace tarvela::formulation {
namespace {

IngredientRow row(const QString& name, double ms, double price, Opt msActual, Opt priceActual) {
    IngredientRow r;
    r.nombre = name;
    r.materia_seca = ms;
    r.costo_humeda = price;
    r.costo_seca = price / (ms / 100);
    r.materiaSecaActual = msActual;
    r.costoHumedaActual = priceActual;
    return r;
}

// The dry price follows the formula's dry matter, not the catalog's (which the price refresh
// leaves alone).
TEST(CatalogRefresh, PricesFollowTheCatalogAndAnUnknownPriceKeepsTheFormulas) {
    WorkingModel model;
    model.ingredients = {row("Maíz", 80, 0.2, 90, 0.3), row("Soja", 90, 0.5, 90, std::nullopt)};
    refreshPrices(model);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].costo_humeda, 0.3);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].costo_seca, 0.3 / 0.8);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].materia_seca, 80);
    EXPECT_DOUBLE_EQ(*model.ingredients[1].costo_humeda, 0.5);
    EXPECT_EQ(refreshPricesQuestion(),
              "Confirma la Actualización de los Precios para los Ingredietnes?");
}

TEST(CatalogRefresh, DryMatterKeepsTheQuantityOfTheFormulasBasis) {
    WorkingModel model;
    IngredientRow dry = row("Maíz", 88, 0.2, 90, 0.2);
    dry.cantidad_seca = 10;
    dry.cantidad_humeda = 10 / 0.88;
    dry.porcentaje_seca = 0.25;
    dry.porcentaje_humeda = 0.3;
    model.ingredients = {dry};
    model.vSecaIng = true;
    EXPECT_TRUE(refreshDryMatter(model).isEmpty());
    const IngredientRow& r = model.ingredients[0];
    EXPECT_DOUBLE_EQ(*r.materia_seca, 90);
    EXPECT_DOUBLE_EQ(*r.cantidad_seca, 10);
    EXPECT_NEAR(*r.cantidad_humeda, 11.111, 5e-4);
    EXPECT_DOUBLE_EQ(*r.costo_seca, 0.2 / 0.9);
    EXPECT_DOUBLE_EQ(*r.porcentaje_seca, 0.25);
    EXPECT_DOUBLE_EQ(*r.porcentaje_humeda, 0.3);

    // As fed: the as-fed quantity stays and the dry one follows.
    model.vSecaIng = false;
    model.ingredients[0].materiaSecaActual = 50;
    refreshDryMatter(model);
    EXPECT_NEAR(*r.cantidad_humeda, 11.111, 5e-4);
    EXPECT_NEAR(*r.cantidad_seca, 11.111 / 2, 5e-4);
}

TEST(CatalogRefresh, ACatalogDryMatterOfZeroOrNoneLeavesTheRowAndIsNamed) {
    WorkingModel model;
    model.vSecaIng = true;
    model.ingredients = {row("Maíz ", 88, 0.2, 0.0, 0.2), row("Soja", 90, 0.5, std::nullopt, 0.5),
                         row("Trigo", 85, 0.3, 87, 0.3)};
    for (IngredientRow& r : model.ingredients)
        r.cantidad_seca = 10;
    const QStringList skipped = refreshDryMatter(model);
    EXPECT_EQ(skipped, QStringList({"Maíz", "Soja"}));
    EXPECT_DOUBLE_EQ(*model.ingredients[0].materia_seca, 88);
    EXPECT_FALSE(model.ingredients[0].cantidad_humeda.has_value());
    EXPECT_DOUBLE_EQ(*model.ingredients[1].materia_seca, 90);
    EXPECT_DOUBLE_EQ(*model.ingredients[2].materia_seca, 87);
    EXPECT_EQ(dryMatterNotRefreshedMessage(skipped),
              "El Ingrediente no posee materia seca definida\n\n"
              "No se ha actualizado la Materia Seca de: Maíz, Soja");
}

} // namespace
} // namespace tarvela::formulation
