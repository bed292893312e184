#pragma once

#include "formulation/working_model.h"
#include "grid/grid_paint.h"

#include <QChar>
#include <QString>

#include <vector>

namespace tarvela {

// Headings of one analysis list: the record kinds it shows and the headings of detalle and of
// the three values.
struct AnalysisGridKind {
    std::vector<formulation::AnalysisKind> kinds;
    QString detalle;
    QString valor1;
    QString valor2;
    QString valor3;
    // The lists of limits also show how far each record holds: "Válido desde", "Válido hasta".
    bool ranges = false;
};

// One list of the analysis window: the records of its kinds in ascending order of valor2 (equal
// values keep the records' order; an unlimited valor2 comes after every finite one), valor1 as
// "#####0.00", valor2 and valor3 as "#####0.000", unlimited values empty; with ranges, the values
// the record holds between as "#####0.000", "Sin límite" for an end without limit. The records
// themselves are left as they are.
grid::GridPaint analysisGridPaint(const std::vector<formulation::AnalysisRecord>& records,
                                  const AnalysisGridKind& kind, QChar decimalSeparator);

// The record shown on line `line` of the paint (1 = the first below the heading row, the grid
// widget's row 0), as the paint orders them; nullptr for the heading or past the end.
const formulation::AnalysisRecord*
analysisGridRecord(const std::vector<formulation::AnalysisRecord>& records,
                   const AnalysisGridKind& kind, int line);

} // namespace tarvela
