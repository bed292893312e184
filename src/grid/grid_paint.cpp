#include "grid/grid_paint.h"

#include <QLocale>

#include <algorithm>

namespace tarvela::grid {

std::vector<CellPaint> headingCells(const std::vector<GridColumn>& columns) {
    std::vector<CellPaint> row;
    row.reserve(columns.size());
    for (const auto& column : columns)
        row.push_back({column.heading, colors::header, colors::lightText, false});
    return row;
}

GridPaint paintTable(const std::vector<GridColumn>& columns, int rowCount,
                     const std::function<QString(int row, int column)>& textOf) {
    GridPaint paint;
    paint.columns = columns;
    paint.rows.reserve(static_cast<size_t>(rowCount) + 1);
    paint.rows.push_back(headingCells(columns));
    for (int r = 0; r < rowCount; ++r) {
        std::vector<CellPaint> line;
        line.reserve(columns.size());
        for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
            CellPaint cell;
            cell.text = textOf(r, c);
            line.push_back(std::move(cell));
        }
        paint.rows.push_back(std::move(line));
    }
    return paint;
}

int restColumnWidth(int gridWidthTwips, const std::vector<GridColumn>& columns,
                    bool verticalScrollBar) {
    int others = 70;
    for (const auto& column : columns)
        if (column.widthTwips != kRestWidth)
            others += column.widthTwips;
    if (verticalScrollBar)
        others += 240;
    return std::max(0, gridWidthTwips - others);
}

bool needsVerticalScrollBar(int gridHeight, int rowHeight, int rowCount) {
    return gridHeight < rowHeight * rowCount;
}

QString rawCellText(const std::optional<double>& value, QChar decimalSeparator) {
    if (!value)
        return {};
    QString text = QLocale::c().toString(*value, 'g', 15);
    if (decimalSeparator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

} // namespace tarvela::grid
