#include "formulation/loading.h"
#include "formulation/recalculation.h"
#include "support/formula_fixture.h"
#include "support/small_catalog.h"

namespace tarvela::test {
namespace {

using formulation::IngredientRow;
using formulation::NutrientRow;

class Recalculation : public FormulaFixture {
protected:
    Recalculation() {
        catalog.ingredient(1, "Maíz", 0.2, 80);
        catalog.ingredient(2, "Conchilla", 0.1, 98);
        catalog.nutrient(1, "Proteína");
        catalog.nutrient(2, "Fósforo");
        catalog.nutrient(3, "Calcio");
        catalog.content(1, 1, 0); // a zero content brings nothing
        catalog.content(1, 2, 0.3);
        catalog.content(2, 3, 38);
        catalog.content(2, 2, 0.1);
    }

    // The dry share differs from the wet one unless given: a recalculation must read the share
    // of the formula's basis.
    void addRow(int id, double ms, double wetShare, std::optional<double> dryShare = {}) {
        IngredientRow row;
        row.id_producto = id;
        row.materia_seca = ms;
        row.porcentaje_humeda = wetShare;
        row.porcentaje_seca = dryShare.value_or(1 - wetShare);
        model.ingredients.push_back(row);
    }

    SmallCatalog catalog{conn()};
    formulation::WorkingModel model;
};

TEST_F(Recalculation, ScalesTheSharesOfTheFormulasBasisToTheNewQuantity) {
    model.vSecaIng = false;
    addRow(1, 80, 0.25);
    addRow(2, 50, 0.75);
    formulation::recalculate(model, conn(), {2000, true});
    EXPECT_DOUBLE_EQ(*model.ingredients[0].cantidad_humeda, 500);
    EXPECT_DOUBLE_EQ(*model.ingredients[1].cantidad_humeda, 1500);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].cantidad_seca, 400);
    EXPECT_DOUBLE_EQ(*model.ingredients[1].cantidad_seca, 750);
    EXPECT_DOUBLE_EQ(model.batchQuantity, 2000);

    // On dry matter the dry shares (0.75 and 0.25) give the quantities.
    model.vSecaIng = true;
    formulation::recalculate(model, conn(), {100, true});
    EXPECT_DOUBLE_EQ(*model.ingredients[0].cantidad_seca, 75);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].cantidad_humeda, 75 / 0.8);
    EXPECT_DOUBLE_EQ(*model.ingredients[1].cantidad_seca, 25);
    EXPECT_DOUBLE_EQ(*model.ingredients[1].cantidad_humeda, 50);
    // The totals follow: the box shows the new quantity.
    formulation::actuResultados(model, conn(), QLatin1Char('.'));
    EXPECT_EQ(model.txtCantidad, QStringLiteral("100.00"));
}

TEST_F(Recalculation, IncorporatingRebuildsTheNutrientsFromTheIngredientsContents) {
    addRow(1, 80, 0.5);
    addRow(2, 98, 0.5);
    NutrientRow protein;
    protein.id_propiedad = 1;
    protein.minimo = 10;
    model.rsPropiedades = {protein};

    formulation::recalculate(model, conn(), {10, true});
    ASSERT_EQ(model.rsPropiedades.size(), 1u);
    EXPECT_EQ(model.rsPropiedades[0].minimo, 10.0);

    formulation::recalculate(model, conn(), {10, false});
    ASSERT_EQ(model.rsPropiedades.size(), 2u);
    EXPECT_EQ(model.rsPropiedades[0].nombre, QStringLiteral("Fósforo"));
    EXPECT_EQ(model.rsPropiedades[1].nombre, QStringLiteral("Calcio"));
    for (const NutrientRow& row : model.rsPropiedades) {
        EXPECT_EQ(row.minimo, 0.0);
        EXPECT_FALSE(row.maximo.has_value());
    }
}

TEST(RecalcQuantity, ANumberAboveZeroOrItsMessage) {
    EXPECT_EQ(formulation::checkRecalcQuantity("abc").message,
              QStringLiteral("La cantidad debe ser un dato numérico válido"));
    EXPECT_EQ(formulation::checkRecalcQuantity("").message,
              QStringLiteral("La cantidad debe ser un dato numérico válido"));
    EXPECT_EQ(formulation::checkRecalcQuantity("0").message,
              QStringLiteral("La cantidad debe ser mayor que cero"));
    EXPECT_EQ(formulation::checkRecalcQuantity("-5").message,
              QStringLiteral("La cantidad debe ser mayor que cero"));
    // A batch the run would refuse is refused as the run refuses it.
    EXPECT_EQ(formulation::checkRecalcQuantity("999999999").message,
              QStringLiteral("La cantidad a elaborar no puede ser mayor a 1000"));
    EXPECT_EQ(formulation::checkRecalcQuantity("1000").quantity, 1000.0);
    EXPECT_EQ(formulation::checkRecalcQuantity("2,5").quantity, 2.5);
    EXPECT_EQ(formulation::checkRecalcQuantity("1000").quantity, 1000.0);
    // A batch the run refuses is refused with the run's message.
    EXPECT_EQ(formulation::checkRecalcQuantity("999999999").message,
              QStringLiteral("La cantidad a elaborar no puede ser mayor a 1000"));
    EXPECT_EQ(formulation::recalcQuantityBasis(false), QStringLiteral("Materia Húmeda"));
}

TEST_F(Recalculation, IngredientLimitsFollowTheBatchUnlessAskedNotTo) {
    model.vSecaIng = false;
    model.batchQuantity = 1000;
    addRow(1, 80, 0.6);
    addRow(2, 98, 0.4);
    model.ingredients[0].minimo = 400;
    model.ingredients[0].maximo = 700;
    model.ingredients[1].minimo = 0.0011;
    // A group's limits are quantities of the batch too.
    formulation::GroupRow cereals;
    cereals.minimo = 300;
    cereals.maximo = 550;
    model.grupos.push_back(cereals);
    formulation::recalculate(model, conn(), {500, true, true});
    EXPECT_EQ(model.grupos[0].minimo, 150.0);
    EXPECT_EQ(model.grupos[0].maximo, 275.0);
    EXPECT_EQ(model.ingredients[0].minimo, 200.0);
    EXPECT_EQ(model.ingredients[0].maximo, 350.0);
    EXPECT_EQ(model.ingredients[1].minimo, 0.001); // kept with 3 decimals
    EXPECT_FALSE(model.ingredients[1].maximo.has_value());

    // Up again, a limit never passes 1000; without scaling the limits stay.
    model.ingredients[0].maximo = 600;
    formulation::recalculate(model, conn(), {1000, true, true});
    EXPECT_EQ(model.ingredients[0].maximo, 1000.0);
    formulation::recalculate(model, conn(), {250, true, false});
    EXPECT_EQ(model.ingredients[0].minimo, 400.0);
    EXPECT_EQ(model.grupos[0].maximo, 550.0);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].cantidad_humeda, 150);
}

} // namespace
} // namespace tarvela::test
