#pragma once

#include "app/app_context.h"
#include "formulation/grid_cells.h"

#include <QChar>

class QTableWidget;

namespace tarvela {

// The decimal separator the windows display numbers with.
inline QChar displaySeparator(const AppContext& ctx) {
    return ctx.decimalSeparator.isEmpty() ? QLatin1Char('.') : ctx.decimalSeparator.at(0);
}

// Read-only grid look: no editing, no row numbers, a heading row that stays in view.
void setupReadOnlyGrid(QTableWidget& grid);

// Copies a painted grid into a table widget: row 0 of the paint becomes the headings, the other
// rows the table's rows (table row r shows paint row r + 1). Widths are twips; width 0 hides a
// column, a column narrower than its heading is widened to show it whole, and the rest column
// takes what the others leave. The widget never owns data: every call replaces its whole
// contents.
void paintGrid(QTableWidget& grid, const formulation::GridPaint& paint);

// Left edge and width, in the grid's parent's coordinates, of a column as painted.
struct ColumnSpan {
    int left = 0;
    int width = 0;
};
ColumnSpan columnSpan(const QTableWidget& grid, int column);

} // namespace tarvela
