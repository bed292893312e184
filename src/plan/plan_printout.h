#pragma once

#include "db/result.h"
#include "plan/plan_run.h"
#include "plan/plan_store.h"
#include "reports/list_printout.h"

// "Imprimir": the plan's summary as a list printout: one line per formula (quantity to make,
// unit cost in the plan) followed by its mix (quantity and percent of each ingredient in it),
// the three totals, then one line per ingredient (stock, used, left, value of one more kg,
// "Limitante"). Long names are broken into lines, never cut.
namespace tarvela::plan {

reports::ListLayout planSummaryLayout(const Plan& plan);
db::Result planSummaryRows(const PlanOutcome& outcome);

} // namespace tarvela::plan
