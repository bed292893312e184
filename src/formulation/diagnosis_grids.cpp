#include "formulation/diagnosis_grids.h"

#include "text/format.h"

namespace tarvela::formulation {

const QString kNotEnoughAlone = QStringLiteral("No alcanza");

namespace {

// The limit's caption, then its new value in bold.
grid::GridPaint limitsGrid(const std::vector<DiagnosedLimit>& limits, const QString& heading,
                           QChar sep) {
    grid::GridPaint paint;
    paint.columns = {
        {QStringLiteral("restriccion"), QStringLiteral("Restricción"), grid::kRestWidth},
        {QStringLiteral("nuevo_valor"), heading, 1800}};
    paint.rows.push_back(grid::headingCells(paint.columns));
    for (const DiagnosedLimit& limit : limits) {
        std::vector<grid::CellPaint> cells(2);
        cells[0].text = limitCaption(limit, sep);
        cells[1].text =
            limit.nuevoValor ? limitValueText(limit, *limit.nuevoValor, sep) : kNotEnoughAlone;
        cells[1].bold = true;
        paint.rows.push_back(std::move(cells));
    }
    return paint;
}

} // namespace

grid::GridPaint conflictGrid(const FormulaDiagnosis& diagnosis, QChar sep) {
    return limitsGrid(diagnosis.conflict, QStringLiteral("Valor Necesario"), sep);
}

grid::GridPaint relaxationGrid(const FormulaDiagnosis& diagnosis, QChar sep) {
    return limitsGrid(diagnosis.relaxation, QStringLiteral("Valor Propuesto"), sep);
}

QString proposalCostText(const FormulaDiagnosis& diagnosis, QChar sep) {
    if (!diagnosis.costoUnitario)
        return {};
    return QStringLiteral("$ ") +
           text::formatNumber(*diagnosis.costoUnitario, QStringLiteral("#####0.00##"), sep);
}

} // namespace tarvela::formulation
