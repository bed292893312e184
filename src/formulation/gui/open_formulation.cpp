#include "formulation/gui/open_formulation.h"

#include "context/app_context.h"
#include "formulation/gui/frmoptimizacion.h"
#include "widgets/modal_launcher.h"

#include <memory>

namespace tarvela {

void openFormulationWindow(AppContext& ctx, int formulaId, QWidget* parent) {
    std::unique_ptr<frmoptimizacion> window;
    {
        BusyPointer busy(ctx.ui());
        window = std::make_unique<frmoptimizacion>(ctx, formulaId, parent);
    }
    execModal(ctx, *window);
}

void openFormulationWindow(AppContext& ctx, QWidget* parent,
                           const formulation::WorkingModel& model) {
    std::unique_ptr<frmoptimizacion> window;
    {
        BusyPointer busy(ctx.ui());
        window = std::make_unique<frmoptimizacion>(ctx, model.formulaId, parent);
        window->showWorkingModel(model);
    }
    execModal(ctx, *window);
}

} // namespace tarvela
