#include "app/gui/menu.h"

#include "formulas/gui/frmformulas.h"
#include "formulation/gui/open_formulation.h"
#include "plan/gui/frmplanes.h"
#include "widgets/modal_launcher.h"
#include "worklist/gui/frmreformular.h"

namespace tarvela {

void menu::openFormulaList() {
    frmformulas window(
        ctx_,
        [this](int formulaId, QWidget* parent) { openFormulationWindow(ctx_, formulaId, parent); },
        this);
    execModal(ctx_, window);
}

void menu::openReformulation() {
    frmreformular window(ctx_, ctx_.currentBase, this);
    execModal(ctx_, window);
}

void menu::openProductionPlan() {
    frmplanes window(ctx_, this);
    execModal(ctx_, window);
}

} // namespace tarvela
