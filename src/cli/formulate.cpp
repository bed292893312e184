#include "cli/commands.h"

#include "cli/diagnosis_output.h"
#include "cli/formulate_output.h"
#include "cli/stored_formula.h"
#include "cli/terminal_output.h"
#include "context/recording_desktop.h"
#include "db/connection.h"
#include "db/schema.h"
#include "formulation/loading.h"
#include "formulation/run.h"
#include "text/format.h"

#include <QDir>
#include <optional>

// tarvela-cli formulate: loads a formula as the formulation window does and runs the least-cost
// formulation through the same code, printing the messages and the resulting mix.
namespace tarvela::cli {

namespace {

// The run's messages as the command line records them. The contributions window becomes a
// message: its caption, its rows and the blend maximum, then the window's own message. Returns
// the index of the message holding the contributions table, once shown.
std::optional<size_t> recordRunMessages(const formulation::RunResult& result,
                                        RecordingDesktop& desktop, QChar sep) {
    std::optional<size_t> contributions;
    formulation::showRunMessages(
        result.messages, desktop, [&](const formulation::AportesReport& report) {
            contributions = desktop.messages.size();
            desktop.message(contributionsText(report, sep), MsgIcon::None, report.caption);
            desktop.message(QStringLiteral("No es posible alcanzar el Mínimo para la propiedad ") +
                                report.propertyName.trimmed(),
                            MsgIcon::Critical, QStringLiteral("Se ha cancelado la Formulación"));
        });
    return contributions;
}

int fail(const QString& message) {
    printError(message);
    return 2;
}

int usage() {
    return fail(QStringLiteral("usage: tarvela-cli formulate FORMULA_ID [--db "
                               "FILE|postgresql://...] [--cantidad Q] [--json]"));
}

} // namespace

int formulate(const QStringList& args) {
    std::optional<int> formulaId;
    QString dbFile;
    std::optional<QString> cantidad;
    bool asJson = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--json")) {
            asJson = true;
        } else if (a == QLatin1String("--db") || a == QLatin1String("--cantidad")) {
            if (i + 1 >= args.size())
                return usage();
            (a == QLatin1String("--db") ? dbFile : cantidad.emplace()) = args[++i];
        } else if (!a.startsWith(QLatin1String("--")) && !formulaId) {
            bool ok = false;
            const int id = a.toInt(&ok);
            if (!ok || id < 1 || id > 32767)
                return fail(QStringLiteral("FORMULA_ID must be a formula number from 1 to 32767"));
            formulaId = id;
        } else {
            return usage();
        }
    }
    if (!formulaId)
        return usage();
    if (dbFile.isEmpty())
        dbFile = QDir::current().filePath(QStringLiteral("TarvelaN.mdb"));

    const QChar sep = text::workstationDecimalSeparator();
    try {
        std::unique_ptr<db::Connection> conn = openDatabase(dbFile);
        RecordingDesktop desktop;
        formulation::WorkingModel model;
        if (!loadStoredFormula(model, *conn, *formulaId, desktop, sep))
            return 2;

        const formulation::RunResult result =
            formulation::formulate(model, cantidad ? *cantidad : model.txtCantidad, *conn, sep);
        const std::optional<size_t> contributions = recordRunMessages(result, desktop, sep);

        // A run whose limits cannot all be met is followed by the diagnosis of its conflict.
        std::optional<formulation::FormulaDiagnosis> diagnosis;
        if (result.limitsConflict)
            diagnosis = formulation::diagnoseFormula(model, *conn);

        if (asJson) {
            QJsonObject out = formulationJson(model, desktop.messages);
            if (diagnosis)
                out.insert(QStringLiteral("diagnosis"), diagnosisJson(*diagnosis));
            printOut(jsonText(out));
        } else {
            printOut(formulationTable(model, desktop.messages, sep, contributions) +
                     (diagnosis ? diagnosisTable(*diagnosis, sep) : QString()));
        }
        // A script must never take the clipped mix of an infeasible run for a formula.
        return formulation::mixMeetsLimits(result) ? 0 : 1;
    } catch (const db::DbError& e) {
        return fail(QStringLiteral("Error nro.: %1 - %2").arg(e.number()).arg(e.description()));
    }
}

} // namespace tarvela::cli
