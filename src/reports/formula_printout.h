#pragma once

#include "reports/formula_report.h"

class QPagedPaintDevice;

// The printed formula: the page header on every page, the header data, the nutrients and the
// ingredients of the mix with the totals line, placed in millimetres from the page's top-left
// corner.
namespace tarvela::reports {

// Prints the report on the device (a printer, or a PDF document). False when the device could
// not be painted on.
bool printFormula(QPagedPaintDevice& device, const FormulaReport& report);

} // namespace tarvela::reports
