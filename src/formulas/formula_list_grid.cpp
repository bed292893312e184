#include "formulas/formula_list_grid.h"

#include <QDate>

namespace tarvela::formulas {

namespace {

const std::vector<grid::GridColumn>& listColumns() {
    static const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("id_formula"), QString(), 0},
        {QStringLiteral("codigo"), QStringLiteral("Código"), 1000, true},
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
    const auto& columns = listColumns();
    std::vector<int> sources;
    for (const auto& column : columns)
        sources.push_back(result.columnIndex(column.field));
    return grid::paintTable(columns, result.rowCount(), [&](int r, int c) {
        const int source = sources[static_cast<size_t>(c)];
        if (source < 0)
            return QString();
        const QString text = cellText(result.value(r, source), decimalSeparator);
        return c == kColCodigo ? text.trimmed() : text;
    });
}

} // namespace tarvela::formulas
