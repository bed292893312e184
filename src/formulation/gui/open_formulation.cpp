#include "formulation/gui/open_formulation.h"

#include "context/app_context.h"
#include "formulation/gui/frmoptimizacion.h"
#include "widgets/modal_launcher.h"

#include <memory>

namespace tarvela {

void openFormulationWindow(AppContext& ctx, QWidget* parent) {
    std::unique_ptr<frmoptimizacion> window;
    {
        BusyPointer busy(ctx.ui());
        window = std::make_unique<frmoptimizacion>(ctx, parent);
    }
    execModal(ctx, *window);
}

void openFormulationWindow(AppContext& ctx, QWidget* parent,
                           const formulation::WorkingModel& model) {
    std::unique_ptr<frmoptimizacion> window;
    {
        BusyPointer busy(ctx.ui());
        ctx.currentFormulaId = static_cast<qint16>(model.formulaId);
        window = std::make_unique<frmoptimizacion>(ctx, parent);
        window->showWorkingModel(model);
    }
    execModal(ctx, *window);
}

} // namespace tarvela
