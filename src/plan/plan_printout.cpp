#include "plan/plan_printout.h"

#include "formulation/mix_share.h"

namespace tarvela::plan {

namespace {

QVariant figure(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant();
}

} // namespace

reports::ListLayout planSummaryLayout(const Plan& plan) {
    reports::ListLayout layout;
    layout.name = QStringLiteral("repPlan");
    layout.title = QStringLiteral("Plan de Producción ") + plan.nombre;
    layout.columns = {
        {QStringLiteral("Concepto"), QStringLiteral("concepto"), 58, false, {}, true},
        {QStringLiteral("Cant./Exist."), QStringLiteral("cantidad"), 24, true,
         QStringLiteral("#,##0.00")},
        {QStringLiteral("%"), QStringLiteral("porcentaje"), 14, true, QStringLiteral("0.00")},
        {QStringLiteral("Usado"), QStringLiteral("usado"), 22, true, QStringLiteral("#,##0.00")},
        {QStringLiteral("Sobrante"), QStringLiteral("sobrante"), 22, true,
         QStringLiteral("#,##0.00")},
        {QStringLiteral("Costo/Valor"), QStringLiteral("valor"), 24, true,
         QStringLiteral("#,##0.0000")},
        {QStringLiteral("Estado"), QStringLiteral("nota"), 16, false, {}}};
    return layout;
}

db::Result planSummaryRows(const PlanOutcome& outcome) {
    std::vector<QVariantList> rows;
    // Each formula with its quantity and unit cost, then its mix in the plan.
    for (const FormulaOutcome& f : outcome.formulas) {
        rows.push_back(
            {QStringLiteral("Fórmula ") + f.formula.codigo + QLatin1Char(' ') + f.formula.producto,
             f.formula.cantidad, QVariant(), QVariant(), QVariant(), figure(f.costoUnitario),
             QString()});
        for (const IngredientLine& line : f.ingredientes)
            if (formulation::isInMix(line.cantidad, f.formula.cantidad))
                rows.push_back({QStringLiteral("    ") + line.nombre, line.cantidad,
                                line.porcentaje, QVariant(), QVariant(), QVariant(), QString()});
    }
    const auto total = [&](const QString& name, const std::optional<double>& value) {
        rows.push_back(
            {name, figure(value), QVariant(), QVariant(), QVariant(), QVariant(), QString()});
    };
    total(QStringLiteral("Costo del plan"), outcome.costoTotal);
    total(QStringLiteral("Costo de las fórmulas solas"), outcome.costoSeparado);
    total(QStringLiteral("Costo de la escasez"), outcome.costoEscasez());
    for (const StockOutcome& s : outcome.existencias)
        rows.push_back({s.nombre, figure(s.existencia), QVariant(), s.usado, figure(s.sobrante),
                        s.existencia ? QVariant(s.valorMarginal) : QVariant(),
                        s.limitante    ? QStringLiteral("Limitante")
                        : s.existencia ? QString()
                                       : QStringLiteral("sin límite")});
    return db::Result({QStringLiteral("concepto"), QStringLiteral("cantidad"),
                       QStringLiteral("porcentaje"), QStringLiteral("usado"),
                       QStringLiteral("sobrante"), QStringLiteral("valor"), QStringLiteral("nota")},
                      std::move(rows));
}

} // namespace tarvela::plan
