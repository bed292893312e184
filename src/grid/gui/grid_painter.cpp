#include "grid/gui/grid_painter.h"

#include "grid/twips.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>

namespace tarvela {

using grid::GridPaint;
using grid::kRestWidth;
using grid::pixelsToTwips;
using grid::twipsToPixels;

namespace {

// Pixels a heading cell takes besides its text: its border and padding on both sides, and one
// pixel of air each side.
constexpr int kHeadingMargin = 6;

QTableWidgetItem* makeItem(const grid::CellPaint& cell) {
    auto* item = new QTableWidgetItem(cell.text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setBackground(QBrush(cell.background));
    item->setForeground(QBrush(cell.foreground));
    if (cell.bold) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

} // namespace

void setupReadOnlyGrid(QTableView& grid) {
    // The column widths are made for a small grid font.
    QFont font = grid.font();
    font.setPointSize(8);
    grid.setFont(font);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setDefaultSectionSize(18);
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.horizontalHeader()->setHighlightSections(false);
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.horizontalHeader()->setMinimumSectionSize(0);
    grid.horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(128,128,128); color: white; "
                       "border: 1px solid rgb(160,160,160); padding: 1px; }"));
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setWordWrap(false);
}

void sizeColumns(QTableView& grid, const std::vector<grid::GridColumn>& columns, int rows) {
    // A heading is never shown cut: a column narrower than its heading is widened just enough
    // (border and padding of the heading cell included).
    std::vector<grid::GridColumn> widths = columns;
    const QFontMetrics headingMetrics(grid.horizontalHeader()->font());
    for (auto& column : widths) {
        if (column.widthTwips <= 0 || column.heading.isEmpty())
            continue;
        const int needed = headingMetrics.horizontalAdvance(column.heading) + kHeadingMargin;
        if (twipsToPixels(column.widthTwips) < needed)
            column.widthTwips = pixelsToTwips(needed);
    }

    // Widths; the rest column takes what is left (less the vertical scroll bar when the rows
    // do not fit). The rule counts 70 twips for the borders and 240 for the scroll bar: the
    // grid's own borders and scroll bar take their place.
    const int rowHeight = grid.verticalHeader()->defaultSectionSize();
    const int frame = 2 * grid.frameWidth();
    const int headerHeight = grid.horizontalHeader()->sizeHint().height();
    const bool scrollBar =
        grid::needsVerticalScrollBar(grid.height() - frame - headerHeight, rowHeight, rows);
    const int scrollBarWidth =
        scrollBar ? grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grid) : 0;
    const int gridTwips =
        pixelsToTwips(grid.width() - frame - scrollBarWidth) + 70 + (scrollBar ? 240 : 0);
    for (int c = 0; c < static_cast<int>(widths.size()); ++c) {
        int twips = widths[static_cast<size_t>(c)].widthTwips;
        if (twips == kRestWidth)
            twips = grid::restColumnWidth(gridTwips, widths, scrollBar);
        grid.setColumnHidden(c, twips == 0);
        if (twips > 0)
            grid.setColumnWidth(c, twipsToPixels(twips));
    }
}

void paintGrid(QTableWidget& grid, const GridPaint& paint) {
    grid.setUpdatesEnabled(false);
    const int columns = static_cast<int>(paint.columns.size());
    const int rows = paint.rows.empty() ? 0 : static_cast<int>(paint.rows.size()) - 1;
    grid.clearContents();
    grid.setColumnCount(columns);
    grid.setRowCount(rows);

    for (int c = 0; c < columns; ++c) {
        const auto& heading = paint.cell(0, c);
        auto* item = makeItem(heading);
        grid.setHorizontalHeaderItem(c, item);
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            QTableWidgetItem* item = makeItem(paint.cell(r + 1, c));
            if (paint.columns[static_cast<size_t>(c)].alignRight)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid.setItem(r, c, item);
        }
    }

    sizeColumns(grid, paint.columns, rows);
    grid.setUpdatesEnabled(true);
}

ColumnSpan columnSpan(const QTableWidget& grid, int column) {
    const QHeaderView* header = grid.horizontalHeader();
    const int left = grid.x() + grid.viewport()->x() + header->sectionViewportPosition(column);
    return {left, header->sectionSize(column)};
}

} // namespace tarvela
