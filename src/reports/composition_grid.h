#pragma once

#include "grid/grid_paint.h"
#include "reports/composition.h"

#include <QChar>
#include <QStringList>

namespace tarvela {

// The composition grid: quantities as "#####0.00", shares as "##0.00%", contributions as
// "#####0.00" (empty when the ingredient has none), the separator column grey, and the totals
// row light grey and bold. Nutrient columns are headed with the given names.
grid::GridPaint compositionGridPaint(const reports::CompositionTable& table,
                                     const QStringList& nutrientHeadings, QChar decimalSeparator);

} // namespace tarvela
