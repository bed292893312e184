#pragma once

class QWidget;

namespace tarvela {

struct AppContext;

// Opens the formulation window on a formula (0 = a new formula), with the busy pointer while it
// loads, and returns when the window closes.
void openFormulationWindow(AppContext& ctx, int formulaId, QWidget* parent);

} // namespace tarvela
