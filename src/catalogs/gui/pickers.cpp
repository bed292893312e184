#include "catalogs/gui/pickers.h"

#include "catalogs/gui/frmClientes.h"
#include "catalogs/gui/frmproductos.h"
#include "catalogs/gui/frmpropiedades.h"
#include "widgets/modal_launcher.h"
#include "widgets/window_controls.h"

namespace tarvela {

namespace {

// Shows a list in pick mode beside its owner and returns what it picked.
template <typename List>
auto pickFrom(AppContext& ctx, QWidget* owner, const QString& caption = {}) {
    List list(ctx, ListMode::Pick, owner);
    if (!caption.isEmpty())
        list.setWindowTitle(caption);
    placeBeside(list, owner);
    execModal(ctx, list);
    return list.picked();
}

} // namespace

std::optional<PickedNutrient> pickNutrient(AppContext& ctx, QWidget* owner,
                                           const QString& caption) {
    return pickFrom<frmpropiedades>(ctx, owner, caption);
}

std::optional<PickedIngredient> pickIngredient(AppContext& ctx, QWidget* owner) {
    return pickFrom<frmproductos>(ctx, owner);
}

std::vector<PickedIngredient> pickIngredients(AppContext& ctx, QWidget* owner) {
    frmproductos list(ctx, ListMode::PickSeveral, owner);
    placeBeside(list, owner);
    execModal(ctx, list);
    return list.pickedAll();
}

int pickCustomer(AppContext& ctx, QWidget* owner) {
    frmClientes list(ctx, ListMode::Pick, owner);
    placeBeside(list, owner);
    execModal(ctx, list);
    // The customer chosen, or none, becomes the session's customer.
    ctx.currentCustomer = list.picked().value_or(0);
    return ctx.currentCustomer;
}

} // namespace tarvela
