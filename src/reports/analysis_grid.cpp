#include "reports/analysis_grid.h"

#include "text/format.h"

#include <algorithm>

namespace tarvela {

using formulation::AnalysisRecord;
using grid::CellPaint;
using grid::GridPaint;

grid::GridPaint analysisGridPaint(const std::vector<AnalysisRecord>& records,
                                  const AnalysisGridKind& kind, QChar decimalSeparator) {
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

    GridPaint paint;
    paint.columns = {{QStringLiteral("tipo"), QString(), 0},
                     {QStringLiteral("detalle"), kind.detalle, grid::kRestWidth},
                     {QStringLiteral("valor1"), kind.valor1, 1500},
                     {QStringLiteral("valor2"), kind.valor2, 1500},
                     {QStringLiteral("valor3"), kind.valor3, 1500}};
    paint.rows.push_back(grid::headingCells(paint.columns));
    auto format = [decimalSeparator](const formulation::Opt& value, const QString& pattern) {
        return value ? text::formatNumber(*value, pattern, decimalSeparator) : QString();
    };
    for (const AnalysisRecord* record : shown) {
        std::vector<CellPaint> cells(5);
        cells[0].text = formulation::analysisCode(record->kind);
        cells[1].text = record->detalle;
        cells[2].text = format(record->valor1, QStringLiteral("#####0.00"));
        cells[3].text = format(record->valor2, QStringLiteral("#####0.000"));
        cells[4].text = format(record->valor3, QStringLiteral("#####0.000"));
        paint.rows.push_back(std::move(cells));
    }
    return paint;
}

} // namespace tarvela
