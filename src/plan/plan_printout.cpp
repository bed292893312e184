#include "plan/plan_printout.h"

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
        {QStringLiteral("Concepto"), QStringLiteral("concepto"), 62, false, {}},
        {QStringLiteral("Cant./Exist."), QStringLiteral("cantidad"), 28, true,
         QStringLiteral("#,##0.00")},
        {QStringLiteral("Usado"), QStringLiteral("usado"), 24, true, QStringLiteral("#,##0.00")},
        {QStringLiteral("Sobrante"), QStringLiteral("sobrante"), 24, true,
         QStringLiteral("#,##0.00")},
        {QStringLiteral("Costo/Valor"), QStringLiteral("valor"), 26, true,
         QStringLiteral("#,##0.0000")},
        {QString(), QStringLiteral("nota"), 20, false, {}}};
    return layout;
}

db::Result planSummaryRows(const PlanOutcome& outcome) {
    std::vector<QVariantList> rows;
    for (const FormulaOutcome& f : outcome.formulas)
        rows.push_back(
            {QStringLiteral("Fórmula ") + f.formula.codigo + QLatin1Char(' ') + f.formula.producto,
             f.formula.cantidad, QVariant(), QVariant(), figure(f.costoUnitario), QString()});
    rows.push_back({QStringLiteral("Costo del plan"), figure(outcome.costoTotal), QVariant(),
                    QVariant(), QVariant(), QString()});
    rows.push_back({QStringLiteral("Costo de las fórmulas solas"), figure(outcome.costoSeparado),
                    QVariant(), QVariant(), QVariant(), QString()});
    rows.push_back({QStringLiteral("Costo de la escasez"), figure(outcome.costoEscasez()),
                    QVariant(), QVariant(), QVariant(), QString()});
    for (const StockOutcome& s : outcome.existencias)
        rows.push_back({s.nombre, figure(s.existencia), s.usado, figure(s.sobrante),
                        s.existencia ? QVariant(s.valorMarginal) : QVariant(),
                        s.limitante    ? QStringLiteral("Limitante")
                        : s.existencia ? QString()
                                       : QStringLiteral("sin límite")});
    return db::Result({QStringLiteral("concepto"), QStringLiteral("cantidad"),
                       QStringLiteral("usado"), QStringLiteral("sobrante"), QStringLiteral("valor"),
                       QStringLiteral("nota")},
                      std::move(rows));
}

} // namespace tarvela::plan
