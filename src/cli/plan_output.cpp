#include "cli/plan_output.h"

#include "cli/terminal_output.h"
#include "formulation/formula_diagnosis.h"
#include "text/format.h"

#include <QJsonArray>
#include <QJsonValue>

namespace tarvela::cli {

namespace {

QJsonValue json(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject limitJson(const plan::PlanLimit& limit, bool withNewValue) {
    QJsonObject o{{QStringLiteral("formula"),
                   limit.existencia ? QJsonValue(QJsonValue::Null) : QJsonValue(limit.idFormula)},
                  {QStringLiteral("tipo"), limit.existencia
                                               ? QStringLiteral("existencia")
                                               : formulation::limitKindName(limit.limit.kind)},
                  {QStringLiteral("id"), limit.limit.kind == simplex::LimitKind::Total
                                             ? QJsonValue(QJsonValue::Null)
                                             : QJsonValue(limit.limit.id)},
                  {QStringLiteral("nombre"), limit.limit.nombre},
                  {QStringLiteral("limite"), formulation::limitSideName(limit.limit.side)},
                  {QStringLiteral("valor"), limit.limit.valor}};
    if (withNewValue)
        o.insert(QStringLiteral("nuevo_valor"), json(limit.limit.nuevoValor));
    return o;
}

QJsonObject diagnosisJson(const plan::PlanDiagnosis& diagnosis) {
    QJsonArray conflict;
    for (const plan::PlanLimit& limit : diagnosis.conflict)
        conflict.append(limitJson(limit, false));
    QJsonValue relaxation(QJsonValue::Null);
    if (!diagnosis.relaxation.empty()) {
        QJsonArray changes;
        for (const plan::PlanLimit& limit : diagnosis.relaxation)
            changes.append(limitJson(limit, true));
        relaxation = QJsonObject{{QStringLiteral("changes"), changes},
                                 {QStringLiteral("costo"), json(diagnosis.costo)}};
    }
    return QJsonObject{{QStringLiteral("conflict"), conflict},
                       {QStringLiteral("relaxation"), relaxation}};
}

QString money(double value, QChar sep) {
    return text::formatNumber(value, QStringLiteral("0.00"), sep);
}

QString money(const std::optional<double>& value, QChar sep) {
    return value ? money(*value, sep) : QStringLiteral("-");
}

QString unitCost(const std::optional<double>& value, QChar sep) {
    return value ? text::formatNumber(*value, QStringLiteral("0.0000"), sep) : QStringLiteral("-");
}

QString amount(double value, QChar sep) {
    return text::formatNumber(value, QStringLiteral("0.000"), sep);
}

} // namespace

QJsonObject planJson(const plan::Plan& plan, const plan::PlanOutcome& outcome) {
    QJsonArray formulas;
    for (const plan::FormulaOutcome& f : outcome.formulas) {
        QJsonArray ingredientes;
        for (const plan::IngredientLine& line : f.ingredientes)
            ingredientes.append(QJsonObject{{QStringLiteral("id"), line.idProducto},
                                            {QStringLiteral("nombre"), line.nombre},
                                            {QStringLiteral("cantidad"), line.cantidad},
                                            {QStringLiteral("porcentaje"), line.porcentaje}});
        formulas.append(
            QJsonObject{{QStringLiteral("id_formula"), f.formula.idFormula},
                        {QStringLiteral("codigo"), f.formula.codigo},
                        {QStringLiteral("cantidad"), f.formula.cantidad},
                        {QStringLiteral("costo_unitario"), json(f.costoUnitario)},
                        {QStringLiteral("costo_unitario_solo"), json(f.costoUnitarioSolo)},
                        {QStringLiteral("ingredientes"), ingredientes}});
    }
    QJsonArray existencias;
    for (const plan::StockOutcome& s : outcome.existencias)
        existencias.append(QJsonObject{{QStringLiteral("id"), s.idProducto},
                                       {QStringLiteral("nombre"), s.nombre},
                                       {QStringLiteral("existencia"), json(s.existencia)},
                                       {QStringLiteral("usado"), s.usado},
                                       {QStringLiteral("sobrante"), json(s.sobrante)},
                                       {QStringLiteral("valor_marginal"), s.valorMarginal},
                                       {QStringLiteral("limitante"), s.limitante}});
    QJsonObject o{{QStringLiteral("plan"), plan.idPlan},
                  {QStringLiteral("nombre"), plan.nombre},
                  {QStringLiteral("costo_total"), json(outcome.costoTotal)},
                  {QStringLiteral("costo_separado"), json(outcome.costoSeparado)},
                  {QStringLiteral("costo_escasez"), json(outcome.costoEscasez())},
                  {QStringLiteral("formulas"), formulas},
                  {QStringLiteral("existencias"), existencias},
                  {QStringLiteral("messages"), QJsonArray::fromStringList(outcome.mensajes)}};
    if (outcome.diagnosis)
        o.insert(QStringLiteral("diagnosis"), diagnosisJson(*outcome.diagnosis));
    return o;
}

QString planTable(const plan::Plan& plan, const plan::PlanOutcome& outcome, QChar sep) {
    QString out = QStringLiteral("Plan %1: %2\n").arg(plan.idPlan).arg(terminalText(plan.nombre));
    for (const QString& m : outcome.mensajes)
        out += terminalText(m) + QLatin1Char('\n');
    if (outcome.end == plan::PlanEnd::Found) {
        for (const plan::FormulaOutcome& f : outcome.formulas) {
            out += QStringLiteral("\nFórmula %1 %2, cantidad %3: costo unitario %4 (sola %5)\n")
                       .arg(terminalText(f.formula.codigo), terminalText(f.formula.producto),
                            amount(f.formula.cantidad, sep), unitCost(f.costoUnitario, sep),
                            unitCost(f.costoUnitarioSolo, sep));
            for (const plan::IngredientLine& line : f.ingredientes)
                if (line.cantidad > 0 || line.cantidadSola > 0)
                    out +=
                        QStringLiteral("  %1 | %2 | %3 % | sola %4 %\n")
                            .arg(terminalText(line.nombre), amount(line.cantidad, sep),
                                 text::formatNumber(line.porcentaje, QStringLiteral("0.00"), sep),
                                 text::formatNumber(line.porcentajeSolo, QStringLiteral("0.00"),
                                                    sep));
        }
        out += QStringLiteral("\nCosto del plan: %1\nCosto de las fórmulas solas: %2\n"
                              "Costo de la escasez: %3\n")
                   .arg(money(outcome.costoTotal, sep), money(outcome.costoSeparado, sep),
                        money(outcome.costoEscasez(), sep));
        out +=
            QStringLiteral("\nIngrediente | Existencia | Usado | Sobrante | Valor de 1 kg más\n");
        for (const plan::StockOutcome& s : outcome.existencias)
            out +=
                QStringLiteral("%1 | %2 | %3 | %4 | %5%6\n")
                    .arg(terminalText(s.nombre),
                         s.existencia ? amount(*s.existencia, sep) : QStringLiteral("sin límite"),
                         amount(s.usado, sep),
                         s.sobrante ? amount(*s.sobrante, sep) : QStringLiteral("-"),
                         text::formatNumber(s.valorMarginal, QStringLiteral("0.0000"), sep),
                         s.limitante ? QStringLiteral(" Limitante") : QString());
    }
    if (outcome.diagnosis) {
        out += QStringLiteral("\nRestricciones que no pueden cumplirse juntas\n");
        for (const plan::PlanLimit& limit : outcome.diagnosis->conflict)
            out += terminalText(plan::planLimitCaption(limit, sep)) + QLatin1Char('\n');
        if (outcome.diagnosis->relaxation.empty()) {
            out += QStringLiteral("\nNo se encontró un cambio que permita elaborar el plan\n");
        } else {
            out += QStringLiteral("\nMenor cambio que permite elaborar el plan\n");
            for (const plan::PlanLimit& limit : outcome.diagnosis->relaxation)
                out += terminalText(plan::planLimitCaption(limit, sep)) + QStringLiteral(" | ") +
                       plan::planLimitNewValue(limit, sep) + QLatin1Char('\n');
            if (outcome.diagnosis->costo)
                out += QStringLiteral("Costo: ") + money(*outcome.diagnosis->costo, sep) +
                       QLatin1Char('\n');
        }
    }
    return out;
}

} // namespace tarvela::cli
