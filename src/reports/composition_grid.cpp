#include "reports/composition_grid.h"

#include "text/format.h"

namespace tarvela {

using grid::CellPaint;
using grid::GridPaint;

namespace {

enum Column { cId, cNombre, cCanS, cPorS, cCanH, cPorH, cSep, cFirstNutrient };

std::vector<CellPaint> rowCells(const reports::CompositionRow& row, int columns, QChar sep) {
    const QString quantity = QStringLiteral("#####0.00");
    const QString share = QStringLiteral("##0.00%");
    std::vector<CellPaint> cells(static_cast<size_t>(columns));
    if (row.id_producto)
        cells[cId].text = QString::number(*row.id_producto);
    cells[cNombre].text = row.nombre;
    cells[cCanS].text = text::formatNumber(row.cantidad_seca, quantity, sep);
    cells[cPorS].text = text::formatNumber(row.porcentaje_seca, share, sep);
    cells[cCanH].text = text::formatNumber(row.cantidad_humeda, quantity, sep);
    cells[cPorH].text = text::formatNumber(row.porcentaje_humeda, share, sep);
    cells[cSep].background = grid::colors::header;
    for (size_t n = 0; n < row.aportes.size(); ++n)
        if (row.aportes[n])
            cells[cFirstNutrient + n].text = text::formatNumber(*row.aportes[n], quantity, sep);
    return cells;
}

} // namespace

GridPaint compositionGridPaint(const reports::CompositionTable& table,
                               const QStringList& nutrientHeadings, QChar decimalSeparator) {
    GridPaint paint;
    paint.columns = {{QStringLiteral("id_producto"), QString(), 0},
                     {QStringLiteral("nombre"), QStringLiteral("Ingrediente"), 2950},
                     {QStringLiteral("cantidad_seca"), QStringLiteral("Mat.Seca"), 1000},
                     {QStringLiteral("porcentaje_seca"), QString(), 850},
                     {QStringLiteral("cantidad_humeda"), QStringLiteral("Mat.Húmeda"), 1000},
                     {QStringLiteral("porcentaje_humeda"), QString(), 850},
                     {QStringLiteral("sep"), QString(), 80}};
    for (int n = 0; n < table.nutrientFields.size(); ++n)
        paint.columns.push_back({table.nutrientFields[n], nutrientHeadings.value(n), 2000});
    const int columns = static_cast<int>(paint.columns.size());

    paint.rows.push_back(grid::headingCells(paint.columns));
    for (const auto& row : table.rows)
        paint.rows.push_back(rowCells(row, columns, decimalSeparator));

    std::vector<CellPaint> totals = rowCells(table.totals, columns, decimalSeparator);
    for (int c = cCanS; c < columns; ++c) {
        if (c == cSep)
            continue;
        totals[static_cast<size_t>(c)].background = grid::colors::outOfMix;
        totals[static_cast<size_t>(c)].bold = true;
    }
    paint.rows.push_back(std::move(totals));
    return paint;
}

} // namespace tarvela
