#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/stored_formula.h"

#include "cli/plan_output.h"
#include "cli/terminal_output.h"
#include "db/connection.h"
#include "db/schema.h"
#include "plan/plan_run.h"
#include "plan/plan_store.h"
#include "text/format.h"

#include <optional>

// tarvela-cli plan: a production plan's formulas formulated together over its stocks, each
// beside its single run, with what each stock is worth to the plan.
namespace tarvela::cli {

namespace {

int usage() {
    return fail(
        QStringLiteral("uso: tarvela-cli plan ID_PLAN [--db ARCHIVO|postgresql://...] [--json]"));
}

} // namespace

int plan(const QStringList& args) {
    const Arguments read(args, {QStringLiteral("--json")}, {QStringLiteral("--db")}, 1);
    if (!read.ok() || read.words().isEmpty())
        return usage();
    const std::optional<int> planId = wholeNumber(read.words().front(), 1, 2147483647);
    if (!planId)
        return fail(QStringLiteral("ID_PLAN debe ser un número de plan"));
    const bool asJson = read.has(QStringLiteral("--json"));
    const QString dbFile = read.database();

    const QChar sep = text::workstationDecimalSeparator();
    return guarded([&] {
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
    });
}

} // namespace tarvela::cli
