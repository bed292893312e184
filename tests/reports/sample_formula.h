#pragma once

#include "formulation/working_model.h"

#include <QString>

// Formulas held by the formulation window, made by hand for the reports' tests.
namespace tarvela::test {

// Two nutrients with one limit missing, two ingredients in the mix (one named like a formula,
// "=1+1"), one ingredient out of it, and the totals boxes as the window shows them.
inline formulation::WorkingModel sampleFormula() {
    formulation::WorkingModel m;
    m.formulaId = 7;
    m.header = {QStringLiteral("1001"), QStringLiteral("2"), QStringLiteral("Ración A<b>&C"),
                QStringLiteral("15/01/2026"), QStringLiteral("20/02/2026")};
    m.rsPropiedades = {
        {3, QStringLiteral("Calcio"), 0.6, 0.8, 0.7125, 0.7},
        {1, QStringLiteral("Proteína Bruta"), std::nullopt, 18, 16.4, 16.4},
    };
    formulation::IngredientRow corn;
    corn.id_producto = 1;
    corn.nombre = QStringLiteral("Maíz grano");
    corn.materia_seca = 88;
    corn.costo_humeda = 0.2;
    corn.cantidad_seca = 528;
    corn.porcentaje_seca = 0.6;
    corn.cantidad_humeda = 600;
    corn.porcentaje_humeda = 0.6;
    formulation::IngredientRow formulaLike = corn;
    formulaLike.id_producto = 2;
    formulaLike.nombre = QStringLiteral("=1+1");
    formulaLike.costo_humeda = 1.25;
    formulaLike.cantidad_seca = 352;
    formulaLike.porcentaje_seca = 0.4;
    formulaLike.cantidad_humeda = 400;
    formulaLike.porcentaje_humeda = 0.4;
    formulation::IngredientRow unused = corn;
    unused.id_producto = 3;
    unused.nombre = QStringLiteral("Fuera de la mezcla");
    unused.cantidad_seca = unused.porcentaje_seca = unused.cantidad_humeda =
        unused.porcentaje_humeda = 0;
    m.ingredients = {corn, formulaLike, unused};

    m.totals.cantidadSeca = 880;
    m.totals.cantidadHumeda = 1000;
    m.totals.porcentajeSeca = m.totals.porcentajeHumeda = 1;
    m.totals.costoUnitarioHumeda = 0.62;
    m.totals.costoUnitarioSeca = 0.704545454545;
    m.totals.materiaSeca = 88;
    m.totals.costoTotal = 620;
    m.totalsTexts = {QStringLiteral("88.00 %"), QStringLiteral("880.00"),
                     QStringLiteral("100.00"),  QStringLiteral("1000.00"),
                     QStringLiteral("100.00"),  QStringLiteral("$ 620.00"),
                     QStringLiteral("$ 0.62"),  QStringLiteral("$ 0.7045")};
    return m;
}

// The sample with a ratio limit whose value is known, one whose denominator is 0 in the mix, and
// a group limit.
inline formulation::WorkingModel sampleWithRatiosAndGroups() {
    formulation::WorkingModel m = sampleFormula();
    m.relaciones = {
        {3, 11, QStringLiteral("Calcio"), QStringLiteral("Fósforo disp."), 1.5, 2.0, 1.8, 1.8},
        {3, 12, QStringLiteral("Calcio"), QStringLiteral("Cobre"), std::nullopt, 9.0, std::nullopt,
         std::nullopt}};
    m.grupos = {{1, QStringLiteral("Cereales"), {1}, std::nullopt, 600.0, 528.0, 528.0}};
    return m;
}

// A formula long enough to need several pages: the nutrients "Nutriente 01", ... and the
// ingredients "Ingrediente 01", ..., all in the mix; the last ingredient has a name too long for
// its column.
inline formulation::WorkingModel largeFormula(int nutrients, int ingredients) {
    formulation::WorkingModel m = sampleFormula();
    m.rsPropiedades.clear();
    m.ingredients.clear();
    for (int n = 1; n <= nutrients; ++n)
        m.rsPropiedades.push_back({n,
                                   QStringLiteral("Nutriente %1").arg(n, 2, 10, QLatin1Char('0')),
                                   1.0 * n, 2.0 * n, 1.5 * n, 1.5 * n});
    for (int i = 1; i <= ingredients; ++i) {
        formulation::IngredientRow row;
        row.id_producto = i;
        row.nombre = QStringLiteral("Ingrediente %1").arg(i, 2, 10, QLatin1Char('0'));
        row.materia_seca = 90;
        row.costo_humeda = 0.5;
        row.cantidad_humeda = 1000.0 / ingredients;
        row.porcentaje_humeda = 1.0 / ingredients;
        row.cantidad_seca = 900.0 / ingredients;
        row.porcentaje_seca = 1.0 / ingredients;
        m.ingredients.push_back(row);
    }
    m.ingredients.back().nombre =
        QStringLiteral("Ingrediente %1 con un nombre larguísimo que no cabe en su columna")
            .arg(ingredients);
    return m;
}

} // namespace tarvela::test
