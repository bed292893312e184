#pragma once

#include "formulation/working_model.h"

#include <QChar>
#include <QColor>
#include <QString>

#include <vector>

// How the formulation window paints its two grids, as data: for every cell its text, colours
// and weight; for every column its field, heading and width. The grids themselves only copy
// this, so the painting rules are tested without widgets.
namespace tarvela::formulation {

namespace gridcolors {
inline const QColor header{128, 128, 128};   // heading row and separator cells
inline const QColor outOfMix{224, 224, 224}; // ingredient not in the mix
inline const QColor outOfLimits{255, 0, 0};  // with white text
inline const QColor differsFromCatalog{0, 192, 0};
inline const QColor background{255, 255, 255};
inline const QColor text{0, 0, 0};
inline const QColor lightText{255, 255, 255};
} // namespace gridcolors

struct CellPaint {
    QString text;
    QColor background = gridcolors::background;
    QColor foreground = gridcolors::text;
    bool bold = false;
};

// Width of the column that takes the rest of the grid.
inline constexpr int kRestWidth = -1;

struct GridColumn {
    QString field;      // the working-table field shown in the column
    QString heading;    // text of the heading row
    int widthTwips = 0; // 0 hides the column; kRestWidth = the rest of the grid
};

struct GridPaint {
    std::vector<GridColumn> columns;
    // Row 0 is the heading row; then one row per working-table row in the table's order.
    std::vector<std::vector<CellPaint>> rows;

    const CellPaint& cell(int row, int column) const {
        return rows.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
    }
    // Index of the column showing a field; -1 when none.
    int columnOf(const QString& field) const;
};

// The heading row: every heading grey with white text.
std::vector<CellPaint> headingCells(const std::vector<GridColumn>& columns);

// Columns of flexProd and flexProp (fields, headings, widths in twips).
const std::vector<GridColumn>& flexProdColumns();
const std::vector<GridColumn>& flexPropColumns();

// flexProd from the ingredient working table, in its current order.
GridPaint paintFlexProd(const WorkingModel& model, QChar decimalSeparator);
// flexProp from the nutrient working table. While loading, a nutrient whose recomputed value
// differs from the value saved with the formula, as the grid shows them, shows its name green.
GridPaint paintFlexProp(const WorkingModel& model, QChar decimalSeparator, bool loading);

// The width left for the rest column: grid width − (70 + all other widths, + 240 when a
// vertical scroll bar shows); never below 0.
int restColumnWidth(int gridWidthTwips, const std::vector<GridColumn>& columns,
                    bool verticalScrollBar);
// A vertical scroll bar shows when the rows are taller than the grid.
bool needsVerticalScrollBar(int gridHeight, int rowHeight, int rowCount);

// The text a grid shows for a value before it is formatted: up to 15 significant digits, the
// workstation's separator; empty for null.
QString rawCellText(const Opt& value, QChar decimalSeparator);

// Twips to pixels at 96 dpi.
inline constexpr int twipsToPixels(int twips) {
    return twips / 15;
}
inline constexpr int pixelsToTwips(int pixels) {
    return pixels * 15;
}

} // namespace tarvela::formulation
