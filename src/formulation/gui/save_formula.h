#pragma once

#include "context/app_context.h"
#include "formulation/working_model.h"

class QWidget;

namespace tarvela {

// "Grabar" of the formulation window: the "Grabar Fórmula" dialog writes the header row, then
// the detail rows follow, all in one transaction, and the model is reloaded. A cancelled dialog
// or a failure leaves database and model as they were. Returns true when the formula was saved
// (the caller repaints).
bool saveFormula(AppContext& ctx, formulation::WorkingModel& model, QWidget* parent);

} // namespace tarvela
