#pragma once

class QWidget;

namespace tarvela {

struct AppContext;
namespace formulation {
struct WorkingModel;
}

// Opens the formulation window on a formula (0 = a new formula), with the busy pointer while it
// loads, and returns when the window closes.
void openFormulationWindow(AppContext& ctx, int formulaId, QWidget* parent);
// Opens the formulation window on a working model held in memory, a result not saved yet: the
// window shows it as it is, to be saved or discarded ("Cancelar" reloads the stored formula).
void openFormulationWindow(AppContext& ctx, QWidget* parent,
                           const formulation::WorkingModel& model);

} // namespace tarvela
