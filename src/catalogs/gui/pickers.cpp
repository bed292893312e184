#include "catalogs/gui/pickers.h"

#include "catalogs/gui/frmClientes.h"
#include "catalogs/gui/frmproductos.h"
#include "catalogs/gui/frmpropiedades.h"
#include "widgets/modal_launcher.h"
#include "widgets/window_controls.h"

namespace tarvela {

namespace {

const QString kPickMode = QStringLiteral("BUSCAR");

// Shows a list in pick mode; the caller's list mode is restored afterwards.
template <typename List> void showPicker(AppContext& ctx, QWidget* owner) {
    const QString mode = ctx.listMode;
    ctx.listMode = kPickMode;
    {
        List list(ctx, owner);
        placeBeside(list, owner);
        execModal(ctx, list);
    }
    ctx.listMode = mode;
}

} // namespace

std::optional<PickedNutrient> pickNutrient(AppContext& ctx, QWidget* owner) {
    ctx.currentPropertyId = 0;
    showPicker<frmpropiedades>(ctx, owner);
    if (ctx.currentPropertyId < 1)
        return std::nullopt;
    return PickedNutrient{ctx.currentPropertyId, ctx.currentPropertyName};
}

std::optional<PickedIngredient> pickIngredient(AppContext& ctx, QWidget* owner) {
    ctx.currentProductId = 0;
    showPicker<frmproductos>(ctx, owner);
    if (ctx.currentProductId < 1)
        return std::nullopt;
    return PickedIngredient{ctx.currentProductId, ctx.currentProductName, ctx.currentProductPrice};
}

int pickCustomer(AppContext& ctx, QWidget* owner) {
    frmClientes list(ctx, owner);
    list.vAction = kPickMode;
    placeBeside(list, owner);
    execModal(ctx, list);
    return ctx.currentCustomer;
}

} // namespace tarvela
