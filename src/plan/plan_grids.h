#pragma once

#include "grid/grid_paint.h"
#include "plan/plan_run.h"
#include "plan/plan_store.h"

#include <QChar>
#include <QString>

// The grids of "Plan de Producción" as data: the plan's formulas, one formula's mix beside its
// single run, the stocks, and the diagnosis of a plan that cannot be met.
namespace tarvela::plan {

// The list of plans: the key (hidden), "Nombre", "Fecha", "Fórmulas".
grid::GridPaint planListGrid(const std::vector<PlanListRow>& rows);

// The plan as it is entered: "Código" | "Versión" | "Producto" | "Cantidad a elaborar" (a formula
// deleted since reads "(eliminada)" in its product), and "Ingrediente" | "Existencia" (blank:
// without limit) | "Precio".
grid::GridPaint planFormulasGrid(const Plan& plan, QChar sep);
grid::GridPaint planStocksGrid(const Plan& plan, QChar sep);

// "Código" | "Producto" | "Cantidad a elaborar" | "Costo Unitario" | "Costo U. Sola" |
// "Diferencia": one row per formula; figures the plan did not reach are blank.
grid::GridPaint formulasGrid(const PlanOutcome& outcome, QChar sep);

// "Ingrediente" | "Cantidad" | "%" | "Cantidad Sola" | "% Sola": every ingredient of the formula;
// those in neither mix light grey.
grid::GridPaint mixGrid(const FormulaOutcome& formula, QChar sep);

// "Ingrediente" | "Existencia" | "Usado" | "Sobrante" | "Valor de 1 kg más" | "": one row per
// ingredient of the plan; a stock without limit shows "sin límite"; a binding stock reads
// "Limitante" in red with white text.
grid::GridPaint stocksGrid(const PlanOutcome& outcome, QChar sep);

// "Restricción" | "Valor Necesario" and "Restricción" | "Valor Propuesto", as the single
// formula's diagnosis window shows its limits.
grid::GridPaint planConflictGrid(const PlanDiagnosis& diagnosis, QChar sep);
grid::GridPaint planRelaxationGrid(const PlanDiagnosis& diagnosis, QChar sep);

// A money figure as the window shows it: "$ 78.00"; empty for none.
QString moneyText(const std::optional<double>& value, QChar sep);

} // namespace tarvela::plan
