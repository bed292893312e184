#include "cli/diagnosis_output.h"

#include "cli/terminal_output.h"
#include "formulation/diagnosis_grids.h"

#include <QJsonArray>
#include <QJsonValue>

namespace tarvela::cli {

namespace {

QJsonObject limitJson(const formulation::DiagnosedLimit& limit, bool withNewValue) {
    QJsonObject o{{QStringLiteral("tipo"), formulation::limitKindName(limit.kind)},
                  {QStringLiteral("nombre"), limit.nombre},
                  {QStringLiteral("limite"), formulation::limitSideName(limit.side)},
                  {QStringLiteral("valor"), limit.valor}};
    switch (limit.kind) {
    case simplex::LimitKind::Ratio:
        o.insert(QStringLiteral("id_num"), limit.id);
        o.insert(QStringLiteral("id_den"), limit.idDen);
        break;
    case simplex::LimitKind::Total:
        o.insert(QStringLiteral("id"), QJsonValue(QJsonValue::Null));
        break;
    default:
        o.insert(QStringLiteral("id"), limit.id);
        break;
    }
    if (withNewValue)
        o.insert(QStringLiteral("nuevo_valor"),
                 limit.nuevoValor ? QJsonValue(*limit.nuevoValor) : QJsonValue(QJsonValue::Null));
    return o;
}

// The grid's rows as lines "caption | value", the heading first.
QString gridLines(const grid::GridPaint& paint) {
    QString out;
    for (const auto& row : paint.rows)
        out += terminalText(row[0].text) + QStringLiteral(" | ") + terminalText(row[1].text) +
               QLatin1Char('\n');
    return out;
}

} // namespace

QJsonObject diagnosisJson(const formulation::FormulaDiagnosis& diagnosis) {
    QJsonArray conflicts;
    QJsonArray single;
    for (const auto& group : diagnosis.conflicts) {
        QJsonArray conflict;
        for (const auto& limit : group) {
            conflict.append(limitJson(limit, false));
            single.append(limitJson(limit, true));
        }
        conflicts.append(conflict);
    }
    QJsonValue relaxation(QJsonValue::Null);
    if (diagnosis.costoUnitario) {
        QJsonArray changes;
        for (const auto& limit : diagnosis.relaxation)
            changes.append(limitJson(limit, true));
        relaxation = QJsonObject{{QStringLiteral("changes"), changes},
                                 {QStringLiteral("costo_unitario"), *diagnosis.costoUnitario}};
    }
    return QJsonObject{{QStringLiteral("conflict"),
                        conflicts.isEmpty() ? QJsonArray() : conflicts.first().toArray()},
                       {QStringLiteral("conflicts"), conflicts},
                       {QStringLiteral("single_changes"), single},
                       {QStringLiteral("relaxation"), relaxation}};
}

QString diagnosisTable(const formulation::FormulaDiagnosis& diagnosis, QChar sep) {
    if (diagnosis.limitsMet)
        return QStringLiteral("\nNo se encontraron restricciones en conflicto\n");
    QString out = QStringLiteral("\nRestricciones que no pueden cumplirse juntas\n");
    out += gridLines(formulation::conflictGrid(diagnosis, sep));
    if (!diagnosis.costoUnitario)
        return out + QStringLiteral("\nNo se encontró un cambio que permita formular\n");
    out += QStringLiteral("\nMenor cambio que permite formular\n");
    out += gridLines(formulation::relaxationGrid(diagnosis, sep));
    out += QStringLiteral("Costo U.Húmeda ") + formulation::proposalCostText(diagnosis, sep) +
           QLatin1Char('\n');
    return out;
}

} // namespace tarvela::cli
