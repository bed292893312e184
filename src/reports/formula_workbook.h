#pragma once

#include "reports/formula_report.h"
#include "reports/workbook.h"

// The formula as a small worksheet report: the product name as title, the header block, the
// nutrient table and the ingredient table of the mix. Figures are numbers whose formats show
// them as the window does; the batch cost of each ingredient is a formula.
namespace tarvela::reports {

Sheet formulaSheet(const FormulaReport& report);

} // namespace tarvela::reports
