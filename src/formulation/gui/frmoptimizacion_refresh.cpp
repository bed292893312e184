// "Actualizar &Precios" and "Actualizar &M.Seca": the catalog's prices and dry matter taken into
// the formula.
#include "formulation/gui/frmoptimizacion.h"

#include "formulation/catalog_refresh.h"

namespace tarvela {

void frmoptimizacion::refreshPrices() {
    if (!ctx_.ui().question(formulation::refreshPricesQuestion()))
        return;
    formulation::refreshPrices(model_);
    repaintIngredients();
    recomputeResults();
}

void frmoptimizacion::refreshDryMatter() {
    if (!ctx_.ui().question(formulation::refreshDryMatterQuestion()))
        return;
    const QStringList skipped = formulation::refreshDryMatter(model_);
    repaintIngredients();
    recomputeResults();
    if (!skipped.isEmpty())
        ctx_.ui().message(formulation::dryMatterNotRefreshedMessage(skipped), MsgIcon::Critical);
}

} // namespace tarvela
