#include "app/gui/menu.h"

#include "catalogs/gui/frmCliente.h"
#include "catalogs/gui/frmClientes.h"
#include "catalogs/gui/frmGrupos.h"
#include "catalogs/gui/frmproducto.h"
#include "catalogs/gui/frmproductos.h"
#include "catalogs/gui/frmpropiedad.h"
#include "catalogs/gui/frmpropiedades.h"
#include "imports/gui/catalog_file_actions.h"
#include "widgets/modal_launcher.h"

#include <memory>

// The "&Datos del Sistema" items and the customer items of "&Fórmulas": the catalog windows and
// the catalog's files.
namespace tarvela {

namespace {

// Opens a window for a new item, built with the hourglass pointer.
template <typename Window> void openNewItem(AppContext& ctx, QWidget* parent) {
    std::unique_ptr<Window> window;
    {
        BusyPointer busy(ctx.ui());
        window = std::make_unique<Window>(ctx, 0, parent);
    }
    execModal(ctx, *window);
}

} // namespace

void menu::newIngredient() {
    openNewItem<frmproducto>(ctx_, this);
}

void menu::listIngredients() {
    frmproductos window(ctx_, ListMode::Maintenance, this);
    execModal(ctx_, window);
}

void menu::newNutrient() {
    openNewItem<frmpropiedad>(ctx_, this);
}

void menu::listNutrients() {
    frmpropiedades window(ctx_, ListMode::Maintenance, this);
    execModal(ctx_, window);
}

void menu::listGroups() {
    frmGrupos window(ctx_, ListMode::Maintenance, this);
    execModal(ctx_, window);
}

void menu::updatePricesFromFile() {
    importPricesFromFile(ctx_, this);
}

void menu::importComposition() {
    importCompositionFromFile(ctx_, this);
}

void menu::exportComposition() {
    exportCompositionToFile(ctx_, this);
}

void menu::newCustomer() {
    frmCliente window(ctx_, 0, this);
    execModal(ctx_, window);
}

void menu::listCustomers() {
    frmClientes window(ctx_, ListMode::Maintenance, this);
    execModal(ctx_, window);
}

} // namespace tarvela
