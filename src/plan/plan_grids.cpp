#include "plan/plan_grids.h"

#include "grid/grid_colors.h"
#include "text/format.h"

namespace tarvela::plan {

namespace {

QString number(double value, const char* pattern, QChar sep) {
    return text::formatNumber(value, QString::fromLatin1(pattern), sep);
}

QString optionalNumber(const std::optional<double>& value, const char* pattern, QChar sep) {
    return value ? number(*value, pattern, sep) : QString();
}

grid::GridPaint limitsGrid(const std::vector<PlanLimit>& limits, const QString& heading,
                           QChar sep) {
    grid::GridPaint paint;
    paint.columns = {
        {QStringLiteral("restriccion"), QStringLiteral("Restricción"), grid::kRestWidth},
        {QStringLiteral("nuevo_valor"), heading, 1800, true}};
    paint.rows.push_back(grid::headingCells(paint.columns));
    for (const PlanLimit& limit : limits) {
        std::vector<grid::CellPaint> cells(2);
        cells[0].text = planLimitCaption(limit, sep);
        cells[1].text = planLimitNewValue(limit, sep);
        cells[1].bold = true;
        paint.rows.push_back(std::move(cells));
    }
    return paint;
}

} // namespace

QString moneyText(const std::optional<double>& value, QChar sep) {
    if (!value)
        return {};
    return QStringLiteral("$ ") + number(*value, "#,##0.00", sep);
}

grid::GridPaint planListGrid(const std::vector<PlanListRow>& rows) {
    const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("id_plan"), QString(), 0},
        {QStringLiteral("nombre"), QStringLiteral("Nombre"), grid::kRestWidth},
        {QStringLiteral("fecha"), QStringLiteral("Fecha"), 1200},
        {QStringLiteral("formulas"), QStringLiteral("Fórmulas"), 1000, true}};
    return grid::paintTable(columns, static_cast<int>(rows.size()), [&](int r, int c) {
        const PlanListRow& row = rows[static_cast<size_t>(r)];
        switch (c) {
        case 0:
            return QString::number(row.idPlan);
        case 1:
            return row.nombre;
        case 2:
            return row.fecha;
        default:
            return QString::number(row.formulas);
        }
    });
}

grid::GridPaint planFormulasGrid(const Plan& plan, QChar sep) {
    const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("codigo"), QStringLiteral("Código"), 1000},
        {QStringLiteral("version"), QStringLiteral("Versión"), 800, true},
        {QStringLiteral("producto"), QStringLiteral("Producto"), grid::kRestWidth},
        {QStringLiteral("cantidad"), QStringLiteral("Cantidad a elaborar"), 1700, true}};
    return grid::paintTable(columns, static_cast<int>(plan.formulas.size()), [&](int r, int c) {
        const PlanFormula& f = plan.formulas[static_cast<size_t>(r)];
        switch (c) {
        case 0:
            return f.gone ? QString::number(f.idFormula) : f.codigo;
        case 1:
            return f.version;
        case 2:
            return f.gone ? QStringLiteral("(eliminada)") : f.producto;
        default:
            return number(f.cantidad, "0.00", sep);
        }
    });
}

grid::GridPaint planStocksGrid(const Plan& plan, QChar sep) {
    const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("nombre"), QStringLiteral("Ingrediente"), grid::kRestWidth},
        {QStringLiteral("existencia"), QStringLiteral("Existencia"), 1500, true},
        {QStringLiteral("costo"), QStringLiteral("Precio"), 1100, true}};
    return grid::paintTable(columns, static_cast<int>(plan.existencias.size()), [&](int r, int c) {
        const PlanStock& s = plan.existencias[static_cast<size_t>(r)];
        switch (c) {
        case 0:
            return s.gone ? QStringLiteral("(eliminado) %1").arg(s.idProducto) : s.nombre;
        case 1:
            return optionalNumber(s.existencia, "0.00", sep);
        default:
            return optionalNumber(s.costo, "0.0000", sep);
        }
    });
}

grid::GridPaint formulasGrid(const PlanOutcome& outcome, QChar sep) {
    const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("codigo"), QStringLiteral("Código"), 700},
        {QStringLiteral("producto"), QStringLiteral("Producto"), grid::kRestWidth},
        {QStringLiteral("cantidad"), QStringLiteral("Cantidad a elaborar"), 1300, true},
        {QStringLiteral("costo"), QStringLiteral("Costo Unitario"), 1000, true},
        {QStringLiteral("costo_solo"), QStringLiteral("Costo U. Sola"), 1000, true},
        {QStringLiteral("diferencia"), QStringLiteral("Diferencia"), 900, true}};
    return grid::paintTable(
        columns, static_cast<int>(outcome.formulas.size()), [&](int row, int column) {
            const FormulaOutcome& f = outcome.formulas[static_cast<size_t>(row)];
            switch (column) {
            case 0:
                return f.formula.codigo;
            case 1:
                return f.formula.producto;
            case 2:
                return number(f.formula.cantidad, "#,##0.00", sep);
            case 3:
                return optionalNumber(f.costoUnitario, "0.0000", sep);
            case 4:
                return optionalNumber(f.costoUnitarioSolo, "0.0000", sep);
            default:
                if (f.costoUnitario && f.costoUnitarioSolo)
                    return number(*f.costoUnitario - *f.costoUnitarioSolo, "0.0000", sep);
                return QString();
            }
        });
}

grid::GridPaint mixGrid(const FormulaOutcome& formula, QChar sep) {
    const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("nombre"), QStringLiteral("Ingrediente"), grid::kRestWidth},
        {QStringLiteral("cantidad"), QStringLiteral("Cantidad"), 1100, true},
        {QStringLiteral("porcentaje"), QStringLiteral("%"), 700, true},
        {QStringLiteral("cantidad_sola"), QStringLiteral("Cantidad Sola"), 1100, true},
        {QStringLiteral("porcentaje_solo"), QStringLiteral("% Sola"), 700, true}};
    grid::GridPaint paint = grid::paintTable(
        columns, static_cast<int>(formula.ingredientes.size()), [&](int row, int column) {
            const IngredientLine& line = formula.ingredientes[static_cast<size_t>(row)];
            switch (column) {
            case 0:
                return line.nombre;
            case 1:
                return number(line.cantidad, "#,##0.000", sep);
            case 2:
                return number(line.porcentaje, "0.00", sep);
            case 3:
                return number(line.cantidadSola, "#,##0.000", sep);
            default:
                return number(line.porcentajeSolo, "0.00", sep);
            }
        });
    for (size_t r = 0; r < formula.ingredientes.size(); ++r) {
        const IngredientLine& line = formula.ingredientes[r];
        if (line.cantidad <= 0 && line.cantidadSola <= 0)
            for (grid::CellPaint& cell : paint.rows[r + 1])
                cell.background = grid::colors::outOfMix;
    }
    return paint;
}

grid::GridPaint stocksGrid(const PlanOutcome& outcome, QChar sep) {
    const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("nombre"), QStringLiteral("Ingrediente"), grid::kRestWidth},
        {QStringLiteral("existencia"), QStringLiteral("Existencia"), 1300, true},
        {QStringLiteral("usado"), QStringLiteral("Usado"), 1300, true},
        {QStringLiteral("sobrante"), QStringLiteral("Sobrante"), 1300, true},
        {QStringLiteral("valor_marginal"), QStringLiteral("Valor de 1 kg más"), 1500, true},
        {QStringLiteral("limitante"), QStringLiteral("Estado"), 1100}};
    grid::GridPaint paint = grid::paintTable(
        columns, static_cast<int>(outcome.existencias.size()), [&](int row, int column) {
            const StockOutcome& s = outcome.existencias[static_cast<size_t>(row)];
            switch (column) {
            case 0:
                return s.nombre;
            case 1:
                return s.existencia ? number(*s.existencia, "#,##0.000", sep)
                                    : QStringLiteral("sin límite");
            case 2:
                return number(s.usado, "#,##0.000", sep);
            case 3:
                return optionalNumber(s.sobrante, "#,##0.000", sep);
            case 4:
                return s.existencia ? number(s.valorMarginal, "0.0000", sep) : QString();
            default:
                return s.limitante ? QStringLiteral("Limitante") : QString();
            }
        });
    for (size_t r = 0; r < outcome.existencias.size(); ++r) {
        if (!outcome.existencias[r].limitante)
            continue;
        grid::CellPaint& cell = paint.rows[r + 1][5];
        cell.background = grid::colors::outOfLimits;
        cell.foreground = grid::colors::lightText;
        cell.bold = true;
    }
    return paint;
}

grid::GridPaint planConflictGrid(const PlanDiagnosis& diagnosis, QChar sep) {
    return limitsGrid(diagnosis.conflict, QStringLiteral("Valor Necesario"), sep);
}

grid::GridPaint planRelaxationGrid(const PlanDiagnosis& diagnosis, QChar sep) {
    return limitsGrid(diagnosis.relaxation, QStringLiteral("Valor Propuesto"), sep);
}

} // namespace tarvela::plan
