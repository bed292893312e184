#pragma once

#include "db/result.h"
#include "reports/formula_report.h"

// The formula laid out for a comma-separated file: nine text columns "_1" to "_9", a title line,
// a date line, the header, the nutrients and the ingredients of the mix.
namespace tarvela::reports {

db::Result formulaCsvTable(const FormulaReport& report);

} // namespace tarvela::reports
