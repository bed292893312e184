#pragma once

#include "reports/formula_report.h"
#include "reports/text_document.h"

// The formula as a text document of four tables: the title line, the header data, the nutrients
// and the ingredients of the mix, in Arial 9 points.
namespace tarvela::reports {

// The page width the tables are laid out for, in points (a letter page with one-inch margins).
inline constexpr double kDocumentTextWidth = 468;

TextDocument formulaDocument(const FormulaReport& report);

} // namespace tarvela::reports
