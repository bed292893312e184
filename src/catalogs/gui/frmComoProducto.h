#pragma once

#include "catalogs/gui/frmproducto.h"
#include "catalogs/premix_ingredient.h"

namespace tarvela {

// "Ingredientes" opened from the formulation window: a new ingredient of the current base made
// from the formulated mix, its price and dry matter proposed from the mix and its composition
// the nutrient values the mix reaches. A code that any base holds is refused. The window closes
// once the ingredient is stored.
class frmComoProducto : public frmproducto {
    Q_OBJECT

public:
    frmComoProducto(AppContext& ctx, double costoHumeda, double materiaSeca,
                    catalogs::MixComposition mix, QWidget* parent = nullptr);

protected:
    bool save() override;
    bool closesAfterSave() const override { return true; }

private:
    catalogs::MixComposition mix_;
};

} // namespace tarvela
