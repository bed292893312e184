#pragma once

#include "formulation/cost_curve.h"
#include "grid/grid_paint.h"
#include "reports/workbook.h"

#include <QChar>
#include <QColor>
#include <QPointF>
#include <QString>

#include <vector>

// A cost curve or a price map as the chart draws it, as plain data: the lines (broken where the
// limits cannot be met), the marks with their labels, the notes on the gaps and the axes. The
// window only hands it to the chart; the table under the chart and the workbook are made here too.
namespace tarvela::reports {

struct ChartMark {
    double x = 0;
    double y = 0;
    QString label;
    QColor colour; // the records' lines: each its own, named in the legend
};

struct ChartAxis {
    QString title; // rich text: a long title is broken into lines ("<br>")
    double min = 0;
    double max = 1;
    int ticks = 6; // including both ends
    // printf-style pattern for the tick labels, fixed-point: a money axis never shows
    // scientific notation.
    QString labelFormat;
};

struct CurveChart {
    QString title; // "Curva de costo: Mínimo para Proteína Bruta", "Mapa de precio: ..."
    ChartAxis x;
    ChartAxis y;                       // the unit cost the run minimises, named by its basis
    std::optional<ChartAxis> quantity; // price maps: the ingredient's quantity, on the left
    // Stretches where the limits are met, each a polyline of (value, unit cost).
    std::vector<std::vector<QPointF>> cost;
    std::vector<std::vector<QPointF>> quantityLines; // price maps: (price, quantity)
    std::optional<ChartMark> current;                // the formula's own value
    std::vector<ChartMark> changes; // where the mix changes, labelled with what enters or leaves
    std::vector<ChartMark> records; // price maps: the price record's limits
    std::vector<QString> gapNotes;  // "Sin solución entre 24,50 y 34,50"
};

// The chart of a curve; numbers in labels and notes with the workstation's separator.
CurveChart curveChart(const formulation::CostCurve& curve, QChar decimalSeparator);

// What a change point says: "Entra X", "Sale Y", then the limits that start or stop binding.
QString changeLabel(const formulation::CurvePoint& point);

// The table under the chart: value, the unit cost the run minimises, the quantities of the
// ingredients that change, status.
grid::GridPaint curvePointsPaint(const formulation::CostCurve& curve, QChar decimalSeparator);

// The same table as a worksheet, under the chart's title, with the unit cost on the other basis
// beside the one minimised.
Sheet curveSheet(const formulation::CostCurve& curve);

} // namespace tarvela::reports
