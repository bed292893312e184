#pragma once

#include "formulation/working_model.h"
#include "grid/grid_paint.h"

#include <QChar>

#include <vector>

// How the formulation window paints its grids, as data (see grid/grid_paint.h).
namespace tarvela::formulation {

// Columns of flexProd and flexProp (fields, headings, widths in twips).
const std::vector<grid::GridColumn>& flexProdColumns();
const std::vector<grid::GridColumn>& flexPropColumns();

// flexProd from the ingredient working table, in its current order.
grid::GridPaint paintFlexProd(const WorkingModel& model, QChar decimalSeparator);
// flexProp from the nutrient working table. While loading, a nutrient whose recomputed value
// differs from the value saved with the formula, as the grid shows them, shows its name green.
grid::GridPaint paintFlexProp(const WorkingModel& model, QChar decimalSeparator, bool loading);

// The third grid, "Relaciones y Grupos": one row per ratio limit, then one per group limit, with
// their limits and value; a value outside its limits red, a ratio without a value "—".
const std::vector<grid::GridColumn>& flexRelColumns();
grid::GridPaint paintFlexRel(const WorkingModel& model, QChar decimalSeparator);

// What a row of that grid (1 = the first below the heading) holds.
struct LimitRowRef {
    enum class Kind { None, Ratio, Group } kind = Kind::None;
    int index = -1; // in model.relaciones or model.grupos
};
LimitRowRef limitRowAt(const WorkingModel& model, int gridRow);

} // namespace tarvela::formulation
