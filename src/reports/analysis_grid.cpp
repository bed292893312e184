#include "reports/analysis_grid.h"

#include "text/format.h"

#include <algorithm>

namespace tarvela {

using formulation::AnalysisRecord;
using grid::CellPaint;
using grid::GridPaint;

namespace {

// The records of the list's kinds in the order the list shows them.
std::vector<const AnalysisRecord*> shownRecords(const std::vector<AnalysisRecord>& records,
                                                const AnalysisGridKind& kind) {
    std::vector<const AnalysisRecord*> shown;
    for (const auto& record : records)
        if (std::find(kind.kinds.begin(), kind.kinds.end(), record.kind) != kind.kinds.end())
            shown.push_back(&record);
    std::stable_sort(shown.begin(), shown.end(),
                     [](const AnalysisRecord* a, const AnalysisRecord* b) {
                         if (!a->valor2 || !b->valor2)
                             return a->valor2.has_value() && !b->valor2.has_value();
                         return *a->valor2 < *b->valor2;
                     });
    return shown;
}

} // namespace

const AnalysisRecord* analysisGridRecord(const std::vector<AnalysisRecord>& records,
                                         const AnalysisGridKind& kind, int line) {
    const std::vector<const AnalysisRecord*> shown = shownRecords(records, kind);
    if (line < 1 || line > static_cast<int>(shown.size()))
        return nullptr;
    return shown[static_cast<size_t>(line - 1)];
}

grid::GridPaint analysisGridPaint(const std::vector<AnalysisRecord>& records,
                                  const AnalysisGridKind& kind, QChar decimalSeparator) {
    const std::vector<const AnalysisRecord*> shown = shownRecords(records, kind);

    GridPaint paint;
    paint.columns = {{QStringLiteral("tipo"), QString(), 0},
                     {QStringLiteral("detalle"), kind.detalle, grid::kRestWidth},
                     {QStringLiteral("valor1"), kind.valor1, 1500},
                     {QStringLiteral("valor2"), kind.valor2, 1500},
                     {QStringLiteral("valor3"), kind.valor3, 1500}};
    if (kind.ranges) {
        paint.columns.push_back(
            {QStringLiteral("valido_desde"), QStringLiteral("Válido desde"), 1500});
        paint.columns.push_back(
            {QStringLiteral("valido_hasta"), QStringLiteral("Válido hasta"), 1500});
    }
    paint.rows.push_back(grid::headingCells(paint.columns));
    auto format = [decimalSeparator](const formulation::Opt& value, const QString& pattern) {
        return value ? text::formatNumber(*value, pattern, decimalSeparator) : QString();
    };
    for (const AnalysisRecord* record : shown) {
        std::vector<CellPaint> cells(paint.columns.size());
        cells[0].text = formulation::analysisCode(record->kind);
        cells[1].text = record->detalle;
        cells[2].text = format(record->valor1, QStringLiteral("#####0.00"));
        cells[3].text = format(record->valor2, QStringLiteral("#####0.000"));
        cells[4].text = format(record->valor3, QStringLiteral("#####0.000"));
        if (kind.ranges && record->ranged) {
            const auto end = [&](const formulation::Opt& value) {
                return value ? format(value, QStringLiteral("#####0.000"))
                             : QStringLiteral("Sin límite");
            };
            cells[5].text = end(record->validoDesde);
            cells[6].text = end(record->validoHasta);
        }
        paint.rows.push_back(std::move(cells));
    }
    return paint;
}

} // namespace tarvela
