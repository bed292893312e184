#pragma once

#include "grid/grid_paint.h"

class QTableView;
class QTableWidget;

namespace tarvela {

// Read-only grid look: no editing, no row numbers, a heading row that stays in view.
void setupReadOnlyGrid(QTableView& grid);

// Copies a painted grid into a table widget: row 0 of the paint becomes the headings, the other
// rows the table's rows (table row r shows paint row r + 1). Widths are twips; width 0 hides a
// column, a column narrower than its heading is widened to show it whole, and the rest column
// takes what the others leave; the cells of a column marked alignRight are right-aligned. The
// widget never owns data: every call replaces its whole contents.
void paintGrid(QTableWidget& grid, const grid::GridPaint& paint);

// The columns' widths as paintGrid sets them, for a grid (or a view over a model of its own)
// showing that many rows.
void sizeColumns(QTableView& grid, const std::vector<grid::GridColumn>& columns, int rows);

// Left edge and width, in the grid's parent's coordinates, of a column as painted.
struct ColumnSpan {
    int left = 0;
    int width = 0;
};
ColumnSpan columnSpan(const QTableWidget& grid, int column);

} // namespace tarvela
