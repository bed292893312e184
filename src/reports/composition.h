#pragma once

#include "db/connection.h"
#include "formulation/working_model.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The composition of a mix ("Composición de la Fórmula"): each ingredient's quantities and shares
// and its contribution to every nutrient of the formula, with a totals row.
namespace tarvela::reports {

using Opt = std::optional<double>;

struct CompositionRow {
    std::optional<int> id_producto; // empty in the totals row
    QString nombre;                 // empty in the totals row
    double cantidad_seca = 0;
    double porcentaje_seca = 0; // fraction of 1
    double cantidad_humeda = 0;
    double porcentaje_humeda = 0;
    // One per nutrient, in the order of nutrientFields; empty when the catalog has no
    // composition row for the ingredient.
    std::vector<Opt> aportes;
};

// The table rsResultado: one row per ingredient in the working table's current order, then the
// totals row, whose nutrient cells equal each nutrient's value in the mix.
struct CompositionTable {
    std::vector<int> nutrientIds; // rsPropiedades' order
    QStringList nutrientFields;   // each id_propiedad written as decimal text
    std::vector<CompositionRow> rows;
    CompositionRow totals;
};

// Builds the table from the working model and the catalog composition; nothing (std::nullopt)
// when the formula has no nutrient rows.
std::optional<CompositionTable> buildComposition(const formulation::WorkingModel& model,
                                                 db::Connection& conn);

// The nutrient columns' headings: each nutrient's nombre, found in "SELECT * FROM Propiedades";
// empty for a nutrient no longer in the catalog.
QStringList compositionHeadings(const CompositionTable& table, db::Connection& conn);

} // namespace tarvela::reports
