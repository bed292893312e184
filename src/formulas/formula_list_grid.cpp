#include "formulas/formula_list_grid.h"

#include <QDate>

namespace tarvela::formulas {

namespace {

const std::vector<grid::GridColumn>& listColumns() {
    static const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("id_formula"), QString(), 0},
        {QStringLiteral("codigo"), QStringLiteral("Código"), 1000},
        {QStringLiteral("producto"), QStringLiteral("Producto"), 2900},
        {QStringLiteral("cantidad"), QString(), 0},
        {QStringLiteral("version"), QStringLiteral("Versión"), 700},
        {QStringLiteral("fecha_Creacion"), QString(), 0},
        {QStringLiteral("fecha_Modificacion"), QStringLiteral("Modificada"), 1100},
        {QStringLiteral("nombre"), QStringLiteral("Cliente"), 3000},
    };
    return columns;
}

QString cellText(const QVariant& value, QChar decimalSeparator) {
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return grid::rawCellText(value.toDouble(), decimalSeparator);
    return value.toString();
}

} // namespace

grid::GridPaint paintFormulaList(const db::Result& result, QChar decimalSeparator) {
    grid::GridPaint paint;
    paint.columns = listColumns();
    paint.rows.push_back(grid::headingCells(paint.columns));

    for (int r = 0; r < result.rowCount(); ++r) {
        std::vector<grid::CellPaint> line;
        for (const auto& column : paint.columns) {
            const int source = result.columnIndex(column.field);
            grid::CellPaint cell;
            if (source >= 0)
                cell.text = cellText(result.value(r, source), decimalSeparator);
            line.push_back(cell);
        }
        line[kColCodigo].text = line[kColCodigo].text.trimmed();
        paint.rows.push_back(std::move(line));
    }
    return paint;
}

} // namespace tarvela::formulas
