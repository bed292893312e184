#pragma once

#include "formulation/formula_diagnosis.h"
#include "grid/grid_paint.h"

#include <QChar>
#include <QString>

// The two grids of the diagnosis window as data: the conflicting limits with the value each must
// take on its own, and the limits the proposal changes with their new values.
namespace tarvela::formulation {

// What a conflicting limit shows when moving it alone is not enough.
extern const QString kNotEnoughAlone;

// "Restricción" | "Valor Necesario": one row per limit of the conflicts; with more than one
// conflict each opens with a bold row "Conflicto 1", "Conflicto 2", ...
grid::GridPaint conflictGrid(const FormulaDiagnosis& diagnosis, QChar sep);

// "Restricción" | "Valor Propuesto": one row per limit the proposal changes.
grid::GridPaint relaxationGrid(const FormulaDiagnosis& diagnosis, QChar sep);

// The proposal's cost as the totals box "Costo U.Húmeda" shows a cost: "$ 0.2339"; empty
// without a proposal.
QString proposalCostText(const FormulaDiagnosis& diagnosis, QChar sep);

} // namespace tarvela::formulation
