#pragma once

#include "grid/grid_paint.h"

#include <functional>
#include <vector>

// A preview's grid as data whose cells are painted when asked for, so that a file of 100,000
// rows is shown without a painted copy of every cell.
namespace tarvela::imports {

struct PreviewGrid {
    std::vector<grid::GridColumn> columns;
    int rowCount = 0;
    // The cell of a row (from 0, below the heading) and column.
    std::function<grid::CellPaint(int row, int column)> cell;
};

// "1 fila rechazada", "3 filas rechazadas": a count with its words.
inline QString counted(qsizetype n, const QString& one, const QString& many) {
    return QString::number(n) + QLatin1Char(' ') + (n == 1 ? one : many);
}

// The colours of the preview's states.
namespace previewColors {
inline const QColor refused{255, 0, 0}; // with white text
inline const QColor changed{0, 192, 0};
inline const QColor confirm{255, 192, 0}; // applied only when confirmed
} // namespace previewColors

} // namespace tarvela::imports
