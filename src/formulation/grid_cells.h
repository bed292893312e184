#pragma once

#include "formulation/working_model.h"
#include "grid/grid_paint.h"

#include <QChar>

#include <vector>

// How the formulation window paints its two grids, as data (see grid/grid_paint.h).
namespace tarvela::formulation {

// Columns of flexProd and flexProp (fields, headings, widths in twips).
const std::vector<grid::GridColumn>& flexProdColumns();
const std::vector<grid::GridColumn>& flexPropColumns();

// flexProd from the ingredient working table, in its current order.
grid::GridPaint paintFlexProd(const WorkingModel& model, QChar decimalSeparator);
// flexProp from the nutrient working table. While loading, a nutrient whose recomputed value
// differs from the value saved with the formula, as the grid shows them, shows its name green.
grid::GridPaint paintFlexProp(const WorkingModel& model, QChar decimalSeparator, bool loading);

} // namespace tarvela::formulation
