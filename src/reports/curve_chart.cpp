#include "reports/curve_chart.h"

#include "reports/chart_labels.h"
#include "text/format.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace tarvela::reports {

namespace {

using formulation::CostCurve;
using formulation::CurveKind;
using formulation::CurvePoint;

// The characters of a vertical axis title's line; a horizontal one takes twice as many.
constexpr int kTitleLine = 30;

QString num(double v, QChar sep, const char* pattern = "0.00##") {
    return text::formatNumber(v, QString::fromLatin1(pattern), sep);
}

// An axis over [lo, hi] on round ticks (1, 2 or 5 times a power of ten, five or six of them),
// never of zero height (a flat curve gets a band of 10 % around its value), and tick labels
// with as many decimals as the tick step needs.
ChartAxis axisOver(const QString& title, double lo, double hi, bool fromZero = false) {
    ChartAxis axis;
    axis.title = title;
    if (!(hi >= lo) || !std::isfinite(lo) || !std::isfinite(hi)) {
        lo = 0;
        hi = 1;
    }
    const double size = std::max(std::fabs(lo), std::fabs(hi));
    if (hi - lo < 1e-9 * std::max(1.0, size)) {
        const double band = std::max(size * 0.1, 1e-6);
        lo -= band / 2;
        hi += band / 2;
    }
    const double rough = (hi - lo) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double f : {1.0, 2.0, 5.0, 10.0}) {
        step = f * power;
        if (step >= rough)
            break;
    }
    axis.min = std::floor(lo / step) * step;
    axis.max = std::ceil(hi / step) * step;
    if (fromZero && lo >= 0)
        axis.min = std::max(0.0, axis.min);
    axis.ticks = static_cast<int>(std::lround((axis.max - axis.min) / step)) + 1;
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 8);
    axis.labelFormat = QStringLiteral("%.") + QString::number(decimals) + QStringLiteral("f");
    return axis;
}

std::vector<QString> joinedLabels(const CurvePoint& p) {
    std::vector<QString> parts;
    for (const QString& n : p.entering)
        parts.push_back(QStringLiteral("Entra ") + n);
    for (const QString& n : p.leaving)
        parts.push_back(QStringLiteral("Sale ") + n);
    for (const QString& n : p.binding)
        parts.push_back(QStringLiteral("Se alcanza ") + n);
    for (const QString& n : p.released)
        parts.push_back(QStringLiteral("Se libera ") + n);
    return parts;
}

int subjectIngredient(const CostCurve& curve) {
    const auto it =
        std::find(curve.ingredientIds.begin(), curve.ingredientIds.end(), curve.subject.id);
    return it == curve.ingredientIds.end() ? -1
                                           : static_cast<int>(it - curve.ingredientIds.begin());
}

QString statusText(const CurvePoint& p) {
    if (!p.met())
        return QStringLiteral("Sin solución");
    if (p.role == CurvePoint::Role::Change)
        return QStringLiteral("Cambio: ") + changeLabel(p);
    if (p.role == CurvePoint::Role::Edge)
        return QStringLiteral("Límite de la solución");
    return QStringLiteral("Óptima");
}

// The chart names the ingredients that enter and leave; the limits that start or stop binding
// only where no ingredient does. Every change has its own mark at its own value.
void addChangeMark(std::vector<ChartMark>& marks, const CurvePoint& p) {
    QStringList parts;
    for (const QString& n : p.entering)
        parts << QStringLiteral("Entra ") + n;
    for (const QString& n : p.leaving)
        parts << QStringLiteral("Sale ") + n;
    const QString label = parts.isEmpty() ? changeLabel(p) : parts.join(QStringLiteral("; "));
    marks.push_back({p.value, *p.unitCost, label, {}});
}

} // namespace

QString changeLabel(const CurvePoint& point) {
    QStringList parts;
    for (const QString& s : joinedLabels(point))
        parts << s;
    return parts.join(QStringLiteral("; "));
}

CurveChart curveChart(const CostCurve& curve, QChar sep) {
    CurveChart chart;
    const bool price = curve.subject.kind == CurveKind::IngredientPrice;
    chart.title =
        (price ? QStringLiteral("Mapa de precio: ") : QStringLiteral("Curva de costo: ")) +
        curve.start.caption;
    const int j = price ? subjectIngredient(curve) : -1;

    double costLo = INFINITY, costHi = -INFINITY, qLo = INFINITY, qHi = -INFINITY;
    std::vector<QPointF> line, qline;
    std::optional<double> gapFrom;
    double lastMet = curve.range.desde;
    bool anyMet = false;
    for (const CurvePoint& p : curve.points) {
        if (!p.met()) {
            if (!line.empty()) {
                chart.cost.push_back(std::move(line));
                line.clear();
                if (!qline.empty())
                    chart.quantityLines.push_back(std::move(qline));
                qline.clear();
            }
            if (!gapFrom)
                gapFrom = anyMet ? lastMet : p.value;
            continue;
        }
        if (gapFrom) {
            chart.gapNotes.push_back(QStringLiteral("Sin solución entre ") + num(*gapFrom, sep) +
                                     QStringLiteral(" y ") + num(p.value, sep));
            gapFrom.reset();
        }
        anyMet = true;
        lastMet = p.value;
        line.emplace_back(p.value, *p.unitCost);
        costLo = std::min(costLo, *p.unitCost);
        costHi = std::max(costHi, *p.unitCost);
        if (j >= 0) {
            const double q = p.quantities[static_cast<size_t>(j)];
            qline.emplace_back(p.value, q);
            qLo = std::min(qLo, q);
            qHi = std::max(qHi, q);
        }
        if (p.role == CurvePoint::Role::Change)
            addChangeMark(chart.changes, p);
    }
    if (!line.empty())
        chart.cost.push_back(std::move(line));
    if (!qline.empty())
        chart.quantityLines.push_back(std::move(qline));
    if (gapFrom)
        chart.gapNotes.push_back(QStringLiteral("Sin solución entre ") + num(*gapFrom, sep) +
                                 QStringLiteral(" y ") + num(curve.range.hasta, sep));

    QString xTitle = curve.start.caption;
    if (!curve.start.unit.isEmpty())
        xTitle += QStringLiteral(" (") + curve.start.unit + QStringLiteral(")");
    chart.x =
        axisOver(wrappedTitle(xTitle, 2 * kTitleLine), curve.range.desde, curve.range.hasta, true);
    chart.y =
        axisOver(formulation::unitCostCaption(curve) + QStringLiteral(" ($)"), costLo, costHi);
    if (price) {
        chart.quantity = axisOver(wrappedTitle(QStringLiteral("Cantidad de ") +
                                                   curve.ingredientNames.at(static_cast<size_t>(j)),
                                               kTitleLine),
                                  qLo, qHi, true);
        const auto mark = [&](const std::optional<double>& x, const QString& label,
                              const QColor& colour) {
            if (x && *x >= curve.range.desde && *x <= curve.range.hasta)
                chart.records.push_back(
                    {*x, 0, label + QStringLiteral(" ") + num(*x, sep), colour});
        };
        mark(curve.heldTo, QStringLiteral("Precio Máximo"), QColor(190, 0, 40));
        mark(curve.heldFrom, QStringLiteral("Precio Oportuno"), QColor(0, 130, 110));
    }
    const double c = curve.start.current;
    if (c >= curve.range.desde && c <= curve.range.hasta) {
        // The current value on the curve: between the points around it.
        std::optional<double> y;
        const CurvePoint* before = nullptr;
        for (const CurvePoint& p : curve.points) {
            if (p.value <= c && p.met())
                before = &p;
            if (p.value >= c && p.met() && before) {
                const double span = p.value - before->value;
                y = span > 0 ? *before->unitCost +
                                   (*p.unitCost - *before->unitCost) * (c - before->value) / span
                             : *p.unitCost;
                break;
            }
        }
        chart.current =
            ChartMark{c, y.value_or(chart.y.min), QStringLiteral("Actual ") + num(c, sep), {}};
    }
    return chart;
}

grid::GridPaint curvePointsPaint(const CostCurve& curve, QChar sep) {
    const bool price = curve.subject.kind == CurveKind::IngredientPrice;
    const std::vector<int> changing = formulation::changingIngredients(curve);
    std::vector<grid::GridColumn> columns{
        {QStringLiteral("valor"), price ? QStringLiteral("Precio") : QStringLiteral("Nivel"), 1200,
         true},
        {QStringLiteral("costo"), formulation::unitCostCaption(curve), 1500, true}};
    for (int k : changing)
        columns.push_back({QStringLiteral("cantidad"),
                           curve.ingredientNames[static_cast<size_t>(k)], 1500, true});
    columns.push_back({QStringLiteral("estado"), QStringLiteral("Estado"), grid::kRestWidth});
    const int nq = static_cast<int>(changing.size());
    return grid::paintTable(columns, static_cast<int>(curve.points.size()), [&](int r, int c) {
        const CurvePoint& p = curve.points[static_cast<size_t>(r)];
        if (c == 0)
            return num(p.value, sep, "0.00####");
        if (c == 1)
            return p.unitCost ? num(*p.unitCost, sep, "0.0000##") : QString();
        if (c - 2 < nq)
            return p.met() ? num(p.quantities[static_cast<size_t>(
                                     changing[static_cast<size_t>(c - 2)])],
                                 sep, "0.00##")
                           : QString();
        return statusText(p);
    });
}

Sheet curveSheet(const CostCurve& curve) {
    Sheet sheet;
    const bool price = curve.subject.kind == CurveKind::IngredientPrice;
    sheet.setText(
        1, 1,
        (price ? QStringLiteral("Mapa de precio: ") : QStringLiteral("Curva de costo: ")) +
            curve.start.caption);
    sheet.setBold(1, 1, 1, 1);
    const std::vector<int> changing = formulation::changingIngredients(curve);
    int col = 1;
    sheet.setText(3, col++, price ? QStringLiteral("Precio") : QStringLiteral("Nivel"));
    sheet.setText(3, col++, formulation::unitCostCaption(curve));
    sheet.setText(3, col++, formulation::otherUnitCostCaption(curve));
    for (int k : changing)
        sheet.setText(3, col++, curve.ingredientNames[static_cast<size_t>(k)]);
    sheet.setText(3, col, QStringLiteral("Estado"));
    sheet.setBold(3, 1, 3, col);
    int row = 4;
    for (const CurvePoint& p : curve.points) {
        int c = 1;
        sheet.setNumber(row, c++, p.value, QStringLiteral("0.00####"));
        for (const std::optional<double>& cost : {p.unitCost, p.otherUnitCost}) {
            if (cost)
                sheet.setNumber(row, c, *cost, QStringLiteral("0.0000##"));
            ++c;
        }
        for (int k : changing) {
            if (p.met())
                sheet.setNumber(row, c, p.quantities[static_cast<size_t>(k)],
                                QStringLiteral("0.00##"));
            ++c;
        }
        sheet.setText(row, c, statusText(p));
        ++row;
    }
    for (int c = 1; c <= col; ++c)
        sheet.setColumnWidth(c, c == col ? 50 : 16);
    return sheet;
}

} // namespace tarvela::reports
