#pragma once

#include "plan/plan_run.h"
#include "plan/plan_store.h"
#include "reports/workbook.h"

#include <vector>

// "Exportar": the plan as a workbook for purchasing: a summary sheet (totals, formulas, stocks
// with what they are worth) and one sheet per formula with its planned mix beside its single
// run.
namespace tarvela::plan {

std::vector<reports::NamedSheet> planSheets(const Plan& plan, const PlanOutcome& outcome);

// The tab name of a formula's sheet: "F " and its code, without the characters a tab cannot
// hold, cut to 31 characters, made unique among the names given.
QString formulaSheetName(const QString& codigo, const std::vector<reports::NamedSheet>& taken);

} // namespace tarvela::plan
