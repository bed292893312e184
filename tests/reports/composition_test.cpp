// The composition of a mix with the contributions of each ingredient to each nutrient.
#include "reports/composition.h"
#include "support/small_catalog.h"
#include "support/test_database.h"

#include <gtest/gtest.h>

namespace tarvela::test {
namespace {

TEST(Composition, ContributionsHeadingsAndEmptyCells) {
    TestDatabase tdb;
    SmallCatalog cat(tdb.conn());
    cat.ingredient(1, QStringLiteral("A"), 0.2, 90);
    cat.ingredient(2, QStringLiteral("B"), 0.3, 50);
    cat.nutrient(7, QStringLiteral("Proteína"));
    cat.nutrient(8, QStringLiteral("Calcio"));
    cat.content(1, 7, 10);
    cat.content(1, 8, 1);
    cat.content(2, 8, 3);
    formulation::WorkingModel model;
    model.vSecaIng = false;
    model.vSecaNut = false;
    for (int id : {2, 1}) {
        formulation::IngredientRow r;
        r.id_producto = id;
        r.nombre = id == 1 ? QStringLiteral("A") : QStringLiteral("B");
        r.porcentaje_humeda = 0.5;
        r.cantidad_humeda = 50;
        // The formula's own dry matter counts, not the catalog's (A: 90 in the catalog).
        r.materia_seca = id == 1 ? 80 : 50;
        model.ingredients.push_back(r);
    }
    for (int id : {8, 7}) {
        formulation::NutrientRow n;
        n.id_propiedad = id;
        model.rsPropiedades.push_back(n);
    }

    const auto table = reports::buildComposition(model, tdb.conn());
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->nutrientFields, (QStringList{"8", "7"}));
    EXPECT_EQ(reports::compositionHeadings(*table, tdb.conn()),
              (QStringList{"Calcio", "Proteína"}));
    ASSERT_EQ(table->rows.size(), 2u);
    const auto& b = table->rows[0];
    const auto& a = table->rows[1];
    EXPECT_EQ(*b.id_producto, 2);
    EXPECT_DOUBLE_EQ(*a.aportes[1], 4.0);   // 10 x 0.80 x 0.5
    EXPECT_FALSE(b.aportes[1].has_value()); // no composition row
    EXPECT_DOUBLE_EQ(*b.aportes[0], 0.75);
    EXPECT_DOUBLE_EQ(*table->totals.aportes[0], 0.4 + 0.75);
    EXPECT_FALSE(table->totals.id_producto.has_value());
    EXPECT_DOUBLE_EQ(table->totals.cantidad_humeda, 100);

    model.rsPropiedades.clear();
    EXPECT_FALSE(reports::buildComposition(model, tdb.conn()).has_value());
}

} // namespace
} // namespace tarvela::test
