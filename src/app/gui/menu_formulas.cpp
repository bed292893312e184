#include "app/gui/menu.h"

#include "formulas/gui/frmformulas.h"
#include "formulation/gui/open_formulation.h"
#include "plan/gui/frmplanes.h"
#include "widgets/modal_launcher.h"
#include "worklist/gui/frmreformular.h"

namespace tarvela {

void menu::admformulas_Click() {
    ctx_.listMode = QStringLiteral("ABM");
    frmformulas window(
        ctx_, [this](QWidget* parent) { openFormulationWindow(ctx_, parent); }, this);
    execModal(ctx_, window);
}

void menu::mnuReformular_Click() {
    frmreformular window(ctx_, ctx_.currentBase, this);
    execModal(ctx_, window);
}

void menu::mnuPlan_Click() {
    frmplanes window(ctx_, this);
    execModal(ctx_, window);
}

} // namespace tarvela
