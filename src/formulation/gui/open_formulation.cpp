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

} // namespace tarvela
