#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/stored_formula.h"

#include "cli/reformulate_output.h"
#include "cli/terminal_output.h"
#include "db/connection.h"
#include "db/schema.h"
#include "text/format.h"
#include "worklist/parallel_runs.h"
#include "worklist/reformulation.h"
#include "worklist/version_save.h"
#include "worklist/worklist_reading.h"
#include "worklist/worklist_selection.h"

#include <QDate>

#include <optional>

// tarvela-cli reformulate: every formula of a base (the latest version of each code) re-run at
// today's catalog prices and dry matter, with the cost before and after and the status of each;
// with --save, the optimal results stored as new versions.
namespace tarvela::cli {

namespace {

int usage() {
    return fail(
        QStringLiteral("uso: tarvela-cli reformulate [--db ARCHIVO|postgresql://...] [--base N] "
                       "[--cliente ID] [--save] [--json]"));
}

} // namespace

int reformulate(const QStringList& args) {
    const Arguments read(
        args, {QStringLiteral("--json"), QStringLiteral("--save")},
        {QStringLiteral("--db"), QStringLiteral("--base"), QStringLiteral("--cliente")}, 0);
    if (!read.ok())
        return usage();
    std::optional<int> base;
    if (const std::optional<QString> given = read.value(QStringLiteral("--base"))) {
        base = wholeNumber(*given, 1, 3);
        if (!base)
            return fail(QStringLiteral("--base debe ser 1, 2 o 3"));
    }
    int customer = 0;
    if (const std::optional<QString> given = read.value(QStringLiteral("--cliente"))) {
        const std::optional<int> id = wholeNumber(*given, 1, 2147483647);
        if (!id)
            return fail(QStringLiteral("--cliente debe ser un número de cliente"));
        customer = *id;
    }
    const bool save = read.has(QStringLiteral("--save"));
    const bool asJson = read.has(QStringLiteral("--json"));
    const QString dbFile = read.database();

    const QChar sep = text::workstationDecimalSeparator();
    return guarded([&] {
        std::unique_ptr<db::Connection> conn = openDatabase(dbFile);
        worklist::WorklistFilter filter;
        if (base) {
            filter.base = *base;
        } else {
            // The current base, as the program left it.
            const db::Result current = conn->query(QStringLiteral("select idBase from parametros"));
            filter.base =
                current.isEmpty() || current.value(0, 0).isNull() ? 1 : current.value(0, 0).toInt();
        }
        filter.customer = customer;

        worklist::Worklist list =
            worklist::newWorklist(worklist::selectWorklist(*conn, filter), sep);
        worklist::readAndRunAll(*conn, list, filter.base, worklist::defaultThreads());

        // The diagnosis of each formula whose limits cannot all be met.
        Diagnoses diagnoses;
        for (const worklist::Reformulated& row : list.rows)
            if (row.estado == worklist::Estado::SinSolucion)
                diagnoses.emplace(row.formula.idFormula,
                                  formulation::diagnoseFormula(row.model, *conn));

        worklist::VersionsSaved saved;
        if (save) {
            for (worklist::Reformulated& row : list.rows)
                row.marcada = row.estado == worklist::Estado::Optima;
            saved = worklist::saveNewVersions(*conn, list.rows, filter.base, QDate::currentDate());
        }

        if (asJson)
            printOut(jsonText(reformulationJson(list.rows, diagnoses, save, saved)));
        else
            printOut(reformulationTable(list.rows, diagnoses, save, saved, sep));

        bool allFound = saved.failures.empty();
        for (const worklist::Reformulated& row : list.rows)
            allFound = allFound && row.costoActual.has_value();
        return allFound ? 0 : 1;
    });
}

} // namespace tarvela::cli
