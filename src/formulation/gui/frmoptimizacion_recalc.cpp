// "&Recalcular Valores": the mix scaled to a new batch quantity.
#include "formulation/gui/frmoptimizacion.h"

#include "formulation/gui/frmRecalcular.h"
#include "formulation/recalculation.h"
#include "widgets/errores.h"
#include "widgets/modal_launcher.h"

namespace tarvela {

void frmoptimizacion::cmdRecalcular_Click() {
    if (model_.ingredients.empty())
        return;
    ctx_.currentFormulaQuantity = 0;
    {
        frmRecalcular dialog(ctx_, model_.vSecaIng, this);
        execModal(ctx_, dialog);
    }
    if (ctx_.currentFormulaQuantity == 0)
        return;
    try {
        BusyPointer busy(ctx_.ui());
        formulation::recalculate(model_, ctx_.db(), ctx_.currentFormulaQuantity,
                                 ctx_.recalcKeepNutrients);
    } catch (const db::DbError& error) {
        reportDbError(QStringLiteral("No se pudo recalcular la Fórmula"), error);
    }
    actuResultados();
}

} // namespace tarvela
