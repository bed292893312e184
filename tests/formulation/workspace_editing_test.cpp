#include "formulation/workspace_editing.h"
#include "support/formula_fixture.h"
#include "support/small_catalog.h"

namespace tarvela::test {
namespace {

using formulation::EditOutcome;
using formulation::IngredientRow;
using formulation::WorkingModel;

IngredientRow ingredient(int id, double ms) {
    IngredientRow row;
    row.id_producto = id;
    row.nombre = QStringLiteral("I%1").arg(id);
    row.materia_seca = ms;
    row.costo_humeda = 0.2;
    return row;
}

// The message of a refused or missing edit; empty when stored.
QString editLimit(WorkingModel& model, const QString& field, const QString& text, int id = 1) {
    return formulation::editIngredientLimit(model, id, field, text).message;
}

TEST(WorkspaceEditing, IngredientLimitsFromZeroToAThousandOrNone) {
    WorkingModel model;
    model.ingredients = {ingredient(1, 90)};
    IngredientRow& row = model.ingredients[0];
    EXPECT_EQ(editLimit(model, "minimo", "0"), "");
    EXPECT_EQ(row.minimo, 0.0);
    EXPECT_EQ(editLimit(model, "maximo", "1000"), "");
    EXPECT_EQ(row.maximo, 1000.0);
    EXPECT_EQ(editLimit(model, "maximo", "1000.001"), "El valor debe ser menor a 1000 unidades");
    EXPECT_EQ(editLimit(model, "maximo", "-1"), "El valor debe ser mayor que cero");
    EXPECT_EQ(editLimit(model, "maximo", "uno"), "El valor debe ser numérico");
    EXPECT_EQ(row.maximo, 1000.0);
    EXPECT_EQ(editLimit(model, "maximo", "12,34567"), "");
    EXPECT_EQ(row.maximo, 12.346);
    EXPECT_EQ(editLimit(model, "maximo", "  "), "");
    EXPECT_FALSE(row.maximo.has_value());
    const auto missing = formulation::editIngredientLimit(model, 9, "minimo", "1");
    EXPECT_EQ(missing.outcome, EditOutcome::NotFound);
    EXPECT_EQ(missing.message, "No se encuentra el Producto");
}

TEST(WorkspaceEditing, PricesAndNutrientLimits) {
    WorkingModel model;
    model.ingredients = {ingredient(1, 80)};
    EXPECT_EQ(formulation::editIngredientPrice(model, 1, "0.123456").outcome, EditOutcome::Stored);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].costo_humeda, 0.1235);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].costo_seca, 0.1235 / 0.8);
    EXPECT_EQ(formulation::editIngredientPrice(model, 1, "").outcome, EditOutcome::Dropped);
    EXPECT_EQ(formulation::editIngredientPrice(model, 1, "-0.1").message,
              "El valor debe ser mayor que cero");
    EXPECT_EQ(formulation::editIngredientPrice(model, 2, "1").message,
              "No se encuentra el Ingrediente");
    EXPECT_DOUBLE_EQ(*model.ingredients[0].costo_humeda, 0.1235);

    formulation::NutrientRow calcio;
    calcio.id_propiedad = 3;
    model.rsPropiedades = {calcio};
    EXPECT_EQ(formulation::editNutrientLimit(model, 3, "minimo", "-0.555").message, "");
    EXPECT_EQ(model.rsPropiedades[0].minimo, -0.56);
    EXPECT_EQ(formulation::editNutrientLimit(model, 3, "minimo", "").message, "");
    EXPECT_FALSE(model.rsPropiedades[0].minimo.has_value());
    EXPECT_EQ(formulation::editNutrientLimit(model, 3, "maximo", "x").message,
              "El valor debe ser numérico");
    EXPECT_EQ(formulation::editNutrientLimit(model, 4, "maximo", "1").message,
              "No se encuentra el Nutriente");
}

TEST(WorkspaceEditing, AQuantityDerivesTheOtherBasisAndEveryShare) {
    WorkingModel model;
    model.ingredients = {ingredient(1, 90), ingredient(2, 50)};
    auto edit = [&](int id, const char* field, const char* text) {
        return formulation::editIngredientQuantity(model, id, field, text).message;
    };
    // 60/40 as fed with dry matter 90/50.
    EXPECT_EQ(edit(1, "cantidad_humeda", "60"), "");
    EXPECT_EQ(edit(2, "cantidad_humeda", "40"), "");
    const IngredientRow& a = model.ingredients[0];
    const IngredientRow& b = model.ingredients[1];
    EXPECT_DOUBLE_EQ(*a.cantidad_seca, 54);
    EXPECT_DOUBLE_EQ(*b.cantidad_seca, 20);
    EXPECT_DOUBLE_EQ(*a.porcentaje_humeda, 0.6);
    EXPECT_DOUBLE_EQ(*a.porcentaje_seca, 54.0 / 74);
    // 45 dry at 90 % is 50 as fed.
    EXPECT_EQ(edit(1, "cantidad_seca", "45"), "");
    EXPECT_DOUBLE_EQ(*a.cantidad_humeda, 50);
    EXPECT_DOUBLE_EQ(*a.porcentaje_humeda, 50.0 / 90);
    EXPECT_EQ(edit(1, "cantidad_seca", "-1"), "El valor debe ser mayor que cero");
    EXPECT_EQ(edit(1, "cantidad_seca", "mucho"), "El valor debe ser numérico");
    // Emptied: 0, and the share moves to the other ingredient; all 0: every share 0.
    EXPECT_EQ(edit(1, "cantidad_humeda", ""), "");
    EXPECT_DOUBLE_EQ(*a.cantidad_seca, 0);
    EXPECT_DOUBLE_EQ(*b.porcentaje_humeda, 1);
    EXPECT_DOUBLE_EQ(*b.porcentaje_seca, 1);
    EXPECT_EQ(edit(2, "cantidad_humeda", "0"), "");
    EXPECT_DOUBLE_EQ(*b.porcentaje_humeda, 0);
    EXPECT_DOUBLE_EQ(*b.porcentaje_seca, 0);
}

class WorkspaceCatalog : public FormulaFixture {
protected:
    SmallCatalog catalog{conn()};
    WorkingModel model;
};

TEST_F(WorkspaceCatalog, AddingAndRemovingRows) {
    catalog.ingredient(1, "Maíz", 0.2, 80);
    catalog.ingredient(2, "Agua ", 0, 0);
    auto added = formulation::addIngredient(model, conn(), 1);
    EXPECT_TRUE(added.added);
    const IngredientRow& maiz = model.ingredients.at(0);
    EXPECT_EQ(maiz.nombre, "Maíz");
    EXPECT_DOUBLE_EQ(*maiz.costo_seca, 0.25);
    EXPECT_EQ(maiz.minimo, 0.0);
    EXPECT_FALSE(maiz.maximo.has_value());
    EXPECT_EQ(maiz.cantidad_humeda, 0.0);
    EXPECT_EQ(maiz.materiaSecaActual, 80.0);
    EXPECT_EQ(formulation::addIngredient(model, conn(), 1).message,
              "El Ingrediente Ya se encuentra Asginado a la Fórmula");
    EXPECT_EQ(formulation::addIngredient(model, conn(), 2).message,
              "El Ingrediente no posee materia seca definida\n\nEl ingrediente Agua no se ha "
              "ingresado a la Fórmule");
    EXPECT_EQ(model.ingredients.size(), 1u);

    EXPECT_TRUE(formulation::addNutrient(model, 5, "Calcio").added);
    EXPECT_EQ(formulation::addNutrient(model, 5, "Calcio").message,
              "El Nutriente Ya se encuentra Asginada a la Fórmula");
    EXPECT_EQ(model.rsPropiedades.at(0).minimo, 0.0);
    EXPECT_FALSE(model.rsPropiedades.at(0).valor.has_value());

    // The catalog changed while the formula was open.
    conn().execute("update productos set costo=0.3, materia_seca=85 where id_producto=1");
    formulation::refreshCatalogValues(model, conn(), 1);
    EXPECT_EQ(maiz.costoHumedaActual, 0.3);
    EXPECT_EQ(maiz.materiaSecaActual, 85.0);
    EXPECT_EQ(maiz.costo_humeda, 0.2);

    EXPECT_TRUE(formulation::removeNutrient(model, 5));
    EXPECT_FALSE(formulation::removeNutrient(model, 5));
    EXPECT_TRUE(formulation::removeIngredient(model, 1));
    EXPECT_FALSE(formulation::removeIngredient(model, 1));
    EXPECT_TRUE(model.ingredients.empty() && model.rsPropiedades.empty());
}

TEST(WorkspaceEditing, RemovingAnIngredientSharesItsPartOut) {
    WorkingModel model;
    model.ingredients = {ingredient(1, 90), ingredient(2, 50), ingredient(3, 50)};
    for (auto& row : model.ingredients)
        row.cantidad_humeda = row.cantidad_seca = 10.0;
    formulation::removeIngredient(model, 2);
    EXPECT_DOUBLE_EQ(*model.ingredients[0].porcentaje_humeda, 0.5);
    EXPECT_DOUBLE_EQ(*model.ingredients[1].porcentaje_seca, 0.5);
}

} // namespace
} // namespace tarvela::test
