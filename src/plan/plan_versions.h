#pragma once

#include "db/connection.h"
#include "plan/plan_run.h"

#include <QDate>
#include <QString>

#include <vector>

// "Grabar versiones": each formula's planned mix saved as a new version dated today, the whole
// plan in one transaction: either every formula gets its version or none does.
namespace tarvela::plan {

struct PlanVersionsSaved {
    bool saved = false;
    std::vector<int> idFormulasNuevas; // in the plan's order
    QString motivo;                    // why nothing was saved, as the user reads it
};

// Only a plan that was found can be saved. Never throws for a formula's failure.
PlanVersionsSaved savePlanVersions(db::Connection& conn, const PlanOutcome& outcome, int base,
                                   const QDate& today);

} // namespace tarvela::plan
