#include "worklist/worklist_grid.h"

#include "db/statements.h"
#include "text/format.h"

#include <algorithm>

namespace tarvela::worklist {

namespace {

const QString kUnmarked = QStringLiteral("\u2610");
const QString kMarked = QStringLiteral("\u2611");
const QString kCostPattern = QStringLiteral("#####0.00##");
const QString kChangePattern = QStringLiteral("#####0.00");

std::vector<grid::GridColumn> columns() {
    return {
        {QStringLiteral("marca"), QString(), 400},
        {QStringLiteral("codigo"), QStringLiteral("Código"), 1100},
        {QStringLiteral("producto"), QStringLiteral("Producto"), 2600},
        {QStringLiteral("cliente"), QStringLiteral("Cliente"), 1800},
        {QStringLiteral("version"), QStringLiteral("Versión"), 800, true},
        {QStringLiteral("costo_anterior"), QStringLiteral("Costo anterior"), 1300, true},
        {QStringLiteral("costo_actual"), QStringLiteral("Costo actual"), 1300, true},
        {QStringLiteral("variacion"), QStringLiteral("Variación %"), 1100, true},
        {QStringLiteral("estado"), QStringLiteral("Estado"), 2600},
        {QStringLiteral("entran"), QStringLiteral("Entran"), 2200},
        {QStringLiteral("salen"), QStringLiteral("Salen"), grid::kRestWidth},
    };
}

QString cost(const std::optional<double>& value, QChar sep) {
    return value ? QStringLiteral("$ ") + text::formatNumber(*value, kCostPattern, sep) : QString();
}

QString versionText(const Reformulated& row) {
    QString text = QString::number(row.formula.version);
    if (row.versionNueva)
        text += QStringLiteral(" \u2192 ") + QString::number(*row.versionNueva);
    return text;
}

QString join(const QStringList& names) {
    return names.join(QStringLiteral(", "));
}

// -1, 0 or 1; an empty value after any other whatever the direction.
int compareOptional(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b)
        return a ? -2 : (b ? 2 : 0);
    return *a < *b ? -1 : (*b < *a ? 1 : 0);
}

int compareText(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() ? (b.isEmpty() ? 0 : 2) : -2;
    const int c = QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareRows(const Reformulated& a, const Reformulated& b, int column) {
    switch (column) {
    case kColMarca:
        return int(b.marcada) - int(a.marcada);
    case kColCodigo: {
        const int c = QString::compare(db::rightAlignCode(a.formula.codigo),
                                       db::rightAlignCode(b.formula.codigo));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    case kColProducto:
        return compareText(a.formula.producto, b.formula.producto);
    case kColCliente:
        return compareText(a.formula.cliente, b.formula.cliente);
    case kColVersion:
        return a.formula.version < b.formula.version   ? -1
               : b.formula.version < a.formula.version ? 1
                                                       : 0;
    case kColCostoAnterior:
        return compareOptional(a.costoAnterior, b.costoAnterior);
    case kColCostoActual:
        return compareOptional(a.costoActual, b.costoActual);
    case kColVariacion:
        return compareOptional(a.variacion, b.variacion);
    case kColEstado:
        return compareText(a.estadoTexto, b.estadoTexto);
    case kColEntran:
        return compareText(join(a.entran), join(b.entran));
    case kColSalen:
        return compareText(join(a.salen), join(b.salen));
    default:
        return 0;
    }
}

} // namespace

std::vector<int> shownRows(const std::vector<Reformulated>& rows) {
    std::vector<int> shown;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].estado != Estado::Pendiente)
            shown.push_back(static_cast<int>(i));
    return shown;
}

grid::GridPaint paintWorklist(const std::vector<Reformulated>& rows, QChar decimalSeparator) {
    grid::GridPaint paint;
    paint.columns = columns();
    paint.rows.push_back(grid::headingCells(paint.columns));
    for (int index : shownRows(rows)) {
        const Reformulated& row = rows[static_cast<size_t>(index)];
        std::vector<grid::CellPaint> cells(kColumnCount);
        if (row.estado == Estado::Optima && row.idFormulaNueva == 0)
            cells[kColMarca].text = row.marcada ? kMarked : kUnmarked;
        cells[kColCodigo].text = row.formula.codigo;
        cells[kColProducto].text = row.formula.producto;
        cells[kColCliente].text = row.formula.cliente;
        cells[kColVersion].text = versionText(row);
        cells[kColCostoAnterior].text = cost(row.costoAnterior, decimalSeparator);
        cells[kColCostoActual].text = cost(row.costoActual, decimalSeparator);
        if (row.variacion) {
            grid::CellPaint& change = cells[kColVariacion];
            change.text = text::formatNumber(*row.variacion, kChangePattern, decimalSeparator);
            if (change.text.startsWith(QLatin1Char('-'))) {
                change.background = grid::colors::differsFromCatalog; // a fall: green
            } else if (text::parseUserNumber(change.text).value_or(0.0) != 0) {
                change.background = grid::colors::outOfLimits; // a rise: red, white text
                change.foreground = grid::colors::lightText;
            }
        }
        cells[kColEstado].text = row.estadoTexto.simplified();
        cells[kColEstado].bold = row.estado == Estado::Optima;
        cells[kColEntran].text = join(row.entran);
        cells[kColSalen].text = join(row.salen);
        paint.rows.push_back(std::move(cells));
    }
    return paint;
}

void sortWorklist(std::vector<Reformulated>& rows, int column, bool ascending) {
    std::stable_sort(rows.begin(), rows.end(),
                     [column, ascending](const Reformulated& a, const Reformulated& b) {
                         const int c = compareRows(a, b, column);
                         if (c == 2 || c == -2)
                             return c < 0; // empty values last in both directions
                         return ascending ? c < 0 : c > 0;
                     });
}

reports::Sheet worklistSheet(const std::vector<Reformulated>& rows) {
    reports::Sheet sheet;
    const std::vector<grid::GridColumn> cols = columns();
    for (int c = kColCodigo; c < kColumnCount; ++c) {
        sheet.setText(1, c, cols[static_cast<size_t>(c)].heading);
        sheet.setColumnWidth(
            c, c == kColVersion ? 9 : (c >= kColCostoAnterior && c <= kColVariacion ? 14 : 28));
    }
    sheet.setBold(1, kColCodigo, 1, kColumnCount - 1);
    sheet.setFill(1, kColCodigo, 1, kColumnCount - 1, reports::kHeadingFill);
    const QString costFormat = QStringLiteral("0.00##");
    int r = 2;
    for (int index : shownRows(rows)) {
        const Reformulated& row = rows[static_cast<size_t>(index)];
        sheet.setText(r, kColCodigo, row.formula.codigo);
        sheet.setText(r, kColProducto, row.formula.producto);
        sheet.setText(r, kColCliente, row.formula.cliente);
        sheet.setNumber(r, kColVersion, row.formula.version);
        if (row.costoAnterior)
            sheet.setNumber(r, kColCostoAnterior, *row.costoAnterior, costFormat);
        if (row.costoActual)
            sheet.setNumber(r, kColCostoActual, *row.costoActual, costFormat);
        if (row.variacion)
            sheet.setNumber(r, kColVariacion, *row.variacion, QStringLiteral("0.00"));
        sheet.setText(r, kColEstado, row.estadoTexto.simplified());
        sheet.setText(r, kColEntran, join(row.entran));
        sheet.setText(r, kColSalen, join(row.salen));
        ++r;
    }
    return sheet;
}

} // namespace tarvela::worklist
