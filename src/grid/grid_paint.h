#pragma once

#include "grid/grid_colors.h"

#include <QChar>
#include <QColor>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// A grid as data: for every cell its text, colours and weight; for every column its field,
// heading and width. Windows only copy a paint into their grid widget, so the painting rules are
// tested without widgets.
namespace tarvela::grid {

struct CellPaint {
    QString text;
    QColor background = colors::background;
    QColor foreground = colors::text;
    bool bold = false;
};

// Width of the column that takes the rest of the grid.
inline constexpr int kRestWidth = -1;

struct GridColumn {
    QString field;      // the working-table field shown in the column
    QString heading;    // text of the heading row
    int widthTwips = 0; // 0 hides the column; kRestWidth = the rest of the grid
    bool alignRight = false;
};

struct GridPaint {
    std::vector<GridColumn> columns;
    // Row 0 is the heading row; then one row per working-table row in the table's order.
    std::vector<std::vector<CellPaint>> rows;

    const CellPaint& cell(int row, int column) const {
        return rows.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
    }
};

// The heading row: every heading grey with white text.
std::vector<CellPaint> headingCells(const std::vector<GridColumn>& columns);

// A grid of plain cells: the heading row, then rowCount rows whose cells read textOf(row, column).
GridPaint paintTable(const std::vector<GridColumn>& columns, int rowCount,
                     const std::function<QString(int row, int column)>& textOf);

// The width left for the rest column: grid width − (70 + all other widths, + 240 when a
// vertical scroll bar shows); never below 0.
int restColumnWidth(int gridWidthTwips, const std::vector<GridColumn>& columns,
                    bool verticalScrollBar);
// A vertical scroll bar shows when the rows are taller than the grid.
bool needsVerticalScrollBar(int gridHeight, int rowHeight, int rowCount);

// The text a grid shows for a value before it is formatted: up to 15 significant digits, the
// workstation's separator; empty for null.
QString rawCellText(const std::optional<double>& value, QChar decimalSeparator);

} // namespace tarvela::grid
