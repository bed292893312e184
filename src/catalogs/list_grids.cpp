#include "catalogs/list_grids.h"

#include "text/format.h"

#include <functional>

namespace tarvela::catalogs {

namespace {

using grid::GridColumn;
using grid::kRestWidth;

QString valueText(const QVariant& value, QChar decimalSeparator) {
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double)
        return grid::rawCellText(value.toDouble(), decimalSeparator);
    return value.toString();
}

// One grid row per result row, each column showing the result column of its field, passed
// through adjust (column, text) when given.
grid::GridPaint paintResult(const db::Result& result, const std::vector<GridColumn>& columns,
                            QChar decimalSeparator,
                            const std::function<QString(int, const QString&)>& adjust = {}) {
    std::vector<int> sources;
    for (const auto& column : columns)
        sources.push_back(result.columnIndex(column.field));
    return grid::paintTable(columns, result.rowCount(), [&](int r, int c) {
        const int source = sources[static_cast<size_t>(c)];
        const QString text =
            source < 0 ? QString() : valueText(result.value(r, source), decimalSeparator);
        return adjust ? adjust(c, text) : text;
    });
}

} // namespace

grid::GridPaint paintNutrientList(const db::Result& result) {
    static const std::vector<GridColumn> columns = {
        {QStringLiteral("id_propiedad"), QString(), 0},
        {QStringLiteral("nombre"), QStringLiteral("Descripción"), kRestWidth},
        {QStringLiteral("unidad"), QStringLiteral("Unidad"), 1200},
    };
    return paintResult(result, columns, QLatin1Char('.'));
}

grid::GridPaint paintIngredientList(const db::Result& result, QChar decimalSeparator) {
    static const std::vector<GridColumn> columns = {
        {QStringLiteral("id_producto"), QString(), 0},
        {QStringLiteral("codigo"), QStringLiteral("Código"), 1200, true},
        {QStringLiteral("nombre"), QStringLiteral("Descripción"), kRestWidth},
        {QStringLiteral("unidad"), QStringLiteral("Unidad"), 900},
        {QStringLiteral("costo"), QStringLiteral("Costo"), 1100, true},
        {QStringLiteral("materia_seca"), QString(), 0},
    };
    return paintResult(result, columns, decimalSeparator, [](int column, const QString& text) {
        return column == kIngCodigo ? text.trimmed() : text;
    });
}

grid::GridPaint paintCustomerList(const db::Result& result) {
    static const std::vector<GridColumn> columns = {
        {QStringLiteral("idCliente"), QString(), 0},
        {QStringLiteral("nombre"), QStringLiteral("Nombre"), kRestWidth},
        {QStringLiteral("direccion"), QStringLiteral("Dirección"), 3000},
        {QStringLiteral("localidad"), QStringLiteral("Localidad"), 2200},
    };
    return paintResult(result, columns, QLatin1Char('.'));
}

grid::GridPaint paintComposition(const db::Result& result) {
    static const std::vector<GridColumn> columns = {
        {QStringLiteral("id_producto"), QString(), 0},
        {QStringLiteral("id_propiedad"), QString(), 0},
        {QStringLiteral("nombre"), QStringLiteral("Nutriente"), kRestWidth},
        {QStringLiteral("valor"), QStringLiteral("Valor"), 1500, true},
    };
    grid::GridPaint paint =
        paintResult(result, columns, QLatin1Char('.'), [](int column, const QString& text) {
            const bool zero = column == kCompValor && text::parseUserNumber(text) == 0.0;
            return zero ? QString() : text;
        });
    if (result.isEmpty())
        paint.rows.emplace_back(columns.size());
    return paint;
}

int rowKey(const QString& identifierCell) {
    bool numeric = false;
    const int key = identifierCell.toInt(&numeric);
    return numeric && key > 0 ? key : 0;
}

} // namespace tarvela::catalogs
