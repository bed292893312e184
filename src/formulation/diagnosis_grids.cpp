#include "formulation/diagnosis_grids.h"

#include "grid/grid_colors.h"
#include "text/format.h"

namespace tarvela::formulation {

const QString kNotEnoughAlone = QStringLiteral("No alcanza");

namespace {

grid::GridPaint limitsGridHeading(const QString& heading) {
    grid::GridPaint paint;
    paint.columns = {
        {QStringLiteral("restriccion"), QStringLiteral("Restricción"), grid::kRestWidth},
        {QStringLiteral("nuevo_valor"), heading, 1800}};
    paint.rows.push_back(grid::headingCells(paint.columns));
    return paint;
}

// The limit's caption, then its new value in bold.
void addLimitRows(grid::GridPaint& paint, const std::vector<DiagnosedLimit>& limits, QChar sep) {
    for (const DiagnosedLimit& limit : limits) {
        std::vector<grid::CellPaint> cells(2);
        cells[0].text = limitCaption(limit, sep);
        cells[1].text =
            limit.nuevoValor ? limitValueText(limit, *limit.nuevoValor, sep) : kNotEnoughAlone;
        cells[1].bold = true;
        paint.rows.push_back(std::move(cells));
    }
}

} // namespace

grid::GridPaint conflictGrid(const FormulaDiagnosis& diagnosis, QChar sep) {
    grid::GridPaint paint = limitsGridHeading(QStringLiteral("Valor Necesario"));
    const bool several = diagnosis.conflicts.size() > 1;
    for (size_t g = 0; g < diagnosis.conflicts.size(); ++g) {
        if (several) {
            std::vector<grid::CellPaint> cells(2);
            cells[0].text = QStringLiteral("Conflicto ") + QString::number(g + 1);
            cells[0].bold = true;
            cells[0].background = cells[1].background = grid::colors::outOfMix;
            paint.rows.push_back(std::move(cells));
        }
        addLimitRows(paint, diagnosis.conflicts[g], sep);
    }
    return paint;
}

grid::GridPaint relaxationGrid(const FormulaDiagnosis& diagnosis, QChar sep) {
    grid::GridPaint paint = limitsGridHeading(QStringLiteral("Valor Propuesto"));
    addLimitRows(paint, diagnosis.relaxation, sep);
    return paint;
}

QString proposalCostText(const FormulaDiagnosis& diagnosis, QChar sep) {
    if (!diagnosis.costoUnitario)
        return {};
    return QStringLiteral("$ ") +
           text::formatNumber(*diagnosis.costoUnitario, QStringLiteral("#####0.00##"), sep);
}

} // namespace tarvela::formulation
