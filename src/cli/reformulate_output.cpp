#include "cli/reformulate_output.h"

#include "cli/diagnosis_output.h"
#include "cli/terminal_output.h"
#include "text/format.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QStringList>

namespace tarvela::cli {

namespace {

QJsonValue json(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

const worklist::SaveFailure* failureOf(const worklist::VersionsSaved& save, int idFormula) {
    for (const worklist::SaveFailure& f : save.failures)
        if (f.idFormula == idFormula)
            return &f;
    return nullptr;
}

QString escapedList(const QStringList& names) {
    QStringList out;
    for (const QString& n : names)
        out << terminalText(n);
    return out.join(QStringLiteral(", "));
}

} // namespace

QJsonObject reformulationJson(const std::vector<worklist::Reformulated>& rows,
                              const Diagnoses& diagnoses, bool saved,
                              const worklist::VersionsSaved& save) {
    QJsonArray formulas;
    for (const worklist::Reformulated& row : rows) {
        QJsonArray messages;
        for (const QString& note : row.notas)
            messages.append(note);
        for (const formulation::RunMessage& m : row.mensajes)
            messages.append(m.text);
        QJsonObject o{{QStringLiteral("id_formula"), row.formula.idFormula},
                      {QStringLiteral("codigo"), row.formula.codigo},
                      {QStringLiteral("version"), row.formula.version},
                      {QStringLiteral("producto"), row.formula.producto},
                      {QStringLiteral("cliente"), row.formula.cliente},
                      {QStringLiteral("costo_anterior"), json(row.costoAnterior)},
                      {QStringLiteral("costo_actual"), json(row.costoActual)},
                      {QStringLiteral("variacion"), json(row.variacion)},
                      {QStringLiteral("estado"), row.estadoTexto},
                      {QStringLiteral("entran"), QJsonArray::fromStringList(row.entran)},
                      {QStringLiteral("salen"), QJsonArray::fromStringList(row.salen)},
                      {QStringLiteral("messages"), messages}};
        const auto d = diagnoses.find(row.formula.idFormula);
        if (d != diagnoses.end())
            o.insert(QStringLiteral("diagnosis"), diagnosisJson(d->second));
        if (saved) {
            o.insert(QStringLiteral("id_formula_nueva"), row.idFormulaNueva > 0
                                                             ? QJsonValue(row.idFormulaNueva)
                                                             : QJsonValue(QJsonValue::Null));
            if (const worklist::SaveFailure* f = failureOf(save, row.formula.idFormula))
                o.insert(QStringLiteral("error_grabacion"), f->motivo);
        }
        formulas.append(o);
    }
    return QJsonObject{{QStringLiteral("formulas"), formulas}};
}

QString reformulationTable(const std::vector<worklist::Reformulated>& rows,
                           const Diagnoses& diagnoses, bool saved,
                           const worklist::VersionsSaved& save, QChar sep) {
    const auto cost = [sep](const std::optional<double>& v) {
        return v ? text::formatNumber(*v, QStringLiteral("#####0.00##"), sep) : QString();
    };
    QStringList headings{QStringLiteral("Código"),         QStringLiteral("Versión"),
                         QStringLiteral("Costo anterior"), QStringLiteral("Costo actual"),
                         QStringLiteral("Variación %"),    QStringLiteral("Estado"),
                         QStringLiteral("Entran"),         QStringLiteral("Salen")};
    if (saved)
        headings << QStringLiteral("Nueva versión");
    QString out = headings.join(QStringLiteral(" | ")) + QLatin1Char('\n');
    for (const worklist::Reformulated& row : rows) {
        QStringList cells{terminalText(row.formula.codigo),
                          QString::number(row.formula.version),
                          cost(row.costoAnterior),
                          cost(row.costoActual),
                          row.variacion
                              ? text::formatNumber(*row.variacion, QStringLiteral("#####0.00"), sep)
                              : QString(),
                          terminalText(row.estadoTexto),
                          escapedList(row.entran),
                          escapedList(row.salen)};
        if (saved)
            cells << (row.versionNueva ? QString::number(*row.versionNueva) : QString());
        out += cells.join(QStringLiteral(" | ")) + QLatin1Char('\n');
    }
    for (const worklist::Reformulated& row : rows) {
        const auto d = diagnoses.find(row.formula.idFormula);
        if (d == diagnoses.end())
            continue;
        out += QStringLiteral("\nDiagnóstico de ") + terminalText(row.formula.codigo) +
               QLatin1Char('\n') + diagnosisTable(d->second, sep);
    }
    // The failures one per line, each line escaped on its own.
    if (!save.failures.empty()) {
        out += QLatin1Char('\n');
        for (const QString& line : worklist::failureLines(save.failures))
            out += terminalText(line) + QLatin1Char('\n');
    }
    return out;
}

} // namespace tarvela::cli
