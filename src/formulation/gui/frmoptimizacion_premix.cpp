// "Guardar como &Ingrediente": the mix kept as an ingredient of the catalog.
#include "formulation/gui/frmoptimizacion.h"

#include "catalogs/gui/frmComoProducto.h"
#include "widgets/modal_launcher.h"

namespace tarvela {

void frmoptimizacion::saveAsIngredient() {
    catalogs::MixComposition mix;
    mix.asFed = !model_.vSecaNut;
    for (const formulation::NutrientRow& row : model_.rsPropiedades)
        mix.nutrients.push_back({row.id_propiedad, row.valor});
    frmComoProducto window(ctx_, model_.vCostoHumeda, model_.vMateriaSeca, std::move(mix), this);
    execModal(ctx_, window);
}

} // namespace tarvela
