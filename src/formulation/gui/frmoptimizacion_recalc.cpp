// "&Recalcular Valores": the mix scaled to a new batch quantity.
#include "formulation/gui/frmoptimizacion.h"

#include "formulation/gui/frmRecalcular.h"
#include "formulation/recalculation.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

namespace tarvela {

void frmoptimizacion::recalculate() {
    if (model_.ingredients.empty())
        return;
    std::optional<formulation::RecalcRequest> request;
    {
        frmRecalcular dialog(ctx_, model_.vSecaIng, this);
        execModal(ctx_, dialog);
        request = dialog.request();
    }
    if (!request)
        return;
    try {
        BusyPointer busy(ctx_.ui());
        formulation::recalculate(model_, ctx_.db(), *request);
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo recalcular la Fórmula"), error);
    }
    recomputeResults();
}

} // namespace tarvela
