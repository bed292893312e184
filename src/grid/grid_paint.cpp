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

int GridPaint::columnOf(const QString& field) const {
    for (size_t c = 0; c < columns.size(); ++c)
        if (columns[c].field == field)
            return static_cast<int>(c);
    return -1;
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
