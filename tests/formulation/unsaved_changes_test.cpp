#include "formulation/unsaved_changes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvela::formulation {
namespace {

WorkingModel twoRowModel() {
    WorkingModel model;
    model.batchQuantity = 1000;
    for (int id : {3, 8}) {
        IngredientRow ingredient;
        ingredient.id_producto = id;
        ingredient.minimo = 10;
        ingredient.costo_humeda = 0.2;
        model.ingredients.push_back(ingredient);
        NutrientRow nutrient;
        nutrient.id_propiedad = id;
        nutrient.maximo = 2.5;
        model.rsPropiedades.push_back(nutrient);
    }
    for (int den : {3, 8}) {
        RatioRow ratio;
        ratio.id_num = 5;
        ratio.id_den = den;
        ratio.minimo = 1.5;
        model.relaciones.push_back(ratio);
    }
    GroupRow group;
    group.id_grupo = 1;
    group.maximo = 600;
    model.grupos.push_back(group);
    return model;
}

// Only what a save would store differently counts: not the rows' order, not values only shown.
TEST(UnsavedChanges, WhatASaveWouldStoreDifferently) {
    const WorkingModel saved = twoRowModel();
    WorkingModel now = saved;
    std::reverse(now.ingredients.begin(), now.ingredients.end());
    now.ingredients[0].costo_total = 99;
    now.ingredients[0].costoHumedaActual = 0.3;
    now.rsPropiedades[1].valorAnterior = 7;
    now.totals.costoTotal = 12;
    std::reverse(now.relaciones.begin(), now.relaciones.end());
    EXPECT_FALSE(differsFromSaved(now, saved));

    const auto changed = [&](auto change) {
        WorkingModel edited = saved;
        change(edited);
        return differsFromSaved(edited, saved);
    };
    EXPECT_TRUE(changed([](WorkingModel& m) { m.ingredients[1].costo_humeda = 0.25; }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.ingredients[0].maximo = 500; }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.rsPropiedades[0].minimo = 1; }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.rsPropiedades.pop_back(); }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.ingredients[0].id_producto = 4; }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.batchQuantity = 500; }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.vSecaNut = false; }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.relaciones[1].maximo = 2; }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.relaciones.pop_back(); }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.grupos[0].minimo = 100; }));
    EXPECT_TRUE(changed([](WorkingModel& m) { m.grupos.clear(); }));
}

} // namespace
} // namespace tarvela::formulation
