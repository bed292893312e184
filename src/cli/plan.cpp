#include "cli/commands.h"
#include "cli/stored_formula.h"

#include "cli/plan_output.h"
#include "cli/terminal_output.h"
#include "db/connection.h"
#include "db/schema.h"
#include "plan/plan_run.h"
#include "plan/plan_store.h"
#include "text/format.h"

#include <QDir>

#include <optional>

// tarvela-cli plan: a production plan's formulas formulated together over its stocks, each
// beside its single run, with what each stock is worth to the plan.
namespace tarvela::cli {

namespace {

int fail(const QString& message) {
    printError(message);
    return 2;
}

int usage() {
    return fail(QStringLiteral("usage: tarvela-cli plan PLAN_ID [--db FILE] [--json]"));
}

} // namespace

int plan(const QStringList& args) {
    std::optional<int> planId;
    QString dbFile;
    bool asJson = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--json")) {
            asJson = true;
        } else if (a == QLatin1String("--db")) {
            if (i + 1 >= args.size())
                return usage();
            dbFile = args[++i];
        } else if (!a.startsWith(QLatin1String("--")) && !planId) {
            bool ok = false;
            const int id = a.toInt(&ok);
            if (!ok || id < 1)
                return fail(QStringLiteral("PLAN_ID must be a plan number"));
            planId = id;
        } else {
            return usage();
        }
    }
    if (!planId)
        return usage();
    if (dbFile.isEmpty())
        dbFile = QDir::current().filePath(QStringLiteral("TarvelaN.mdb"));

    const QChar sep = text::workstationDecimalSeparator();
    try {
        std::unique_ptr<db::Connection> conn = openDatabase(dbFile);
        const std::optional<plan::Plan> stored = plan::loadPlan(*conn, *planId);
        if (!stored)
            return fail(QStringLiteral("No existe el plan %1").arg(*planId));
        const plan::PlanOutcome outcome = plan::runPlan(*conn, *stored, sep);
        if (asJson)
            printOut(jsonText(planJson(*stored, outcome)));
        else
            printOut(planTable(*stored, outcome, sep));
        return outcome.end == plan::PlanEnd::Found ? 0 : 1;
    } catch (const db::DbError& e) {
        return fail(QStringLiteral("Error nro.: %1 - %2").arg(e.number()).arg(e.description()));
    }
}

} // namespace tarvela::cli
