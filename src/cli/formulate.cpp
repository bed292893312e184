#include "cli/command_line.h"
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

int usage() {
    return fail(QStringLiteral("uso: tarvela-cli formulate ID_FORMULA [--db "
                               "ARCHIVO|postgresql://...] [--cantidad Q] [--json]"));
}

} // namespace

int formulate(const QStringList& args) {
    const Arguments read(args, {QStringLiteral("--json")},
                         {QStringLiteral("--db"), QStringLiteral("--cantidad")}, 1);
    if (!read.ok() || read.words().isEmpty())
        return usage();
    const std::optional<int> formulaId = wholeNumber(read.words().front(), 1, 32767);
    if (!formulaId)
        return fail(QStringLiteral("ID_FORMULA debe ser un número de fórmula de 1 a 32767"));
    const std::optional<QString> cantidad = read.value(QStringLiteral("--cantidad"));
    const bool asJson = read.has(QStringLiteral("--json"));
    const QString dbFile = read.database();

    const QChar sep = text::workstationDecimalSeparator();
    return guarded([&] {
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
    });
}

} // namespace tarvela::cli
