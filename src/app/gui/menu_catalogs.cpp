#include "app/gui/menu.h"

#include "catalogs/gui/frmCliente.h"
#include "catalogs/gui/frmClientes.h"
#include "catalogs/gui/frmGrupos.h"
#include "catalogs/gui/frmproducto.h"
#include "catalogs/gui/frmproductos.h"
#include "catalogs/gui/frmpropiedad.h"
#include "catalogs/gui/frmpropiedades.h"
#include "widgets/modal_launcher.h"

#include <memory>

// The "&Datos del Sistema" items and the customer items of "&Fórmulas": the catalog windows.
namespace tarvela {

namespace {

// Opens a window that is built with the hourglass pointer (the item's window loads an item).
template <typename Window> void openBusy(AppContext& ctx, QWidget* parent) {
    std::unique_ptr<Window> window;
    {
        BusyPointer busy(ctx.ui());
        window = std::make_unique<Window>(ctx, parent);
    }
    execModal(ctx, *window);
}

} // namespace

void menu::mnuNueIng_Click() {
    ctx_.currentProductId = 0;
    openBusy<frmproducto>(ctx_, this);
}

void menu::mnuConIng_Click() {
    ctx_.listMode = QStringLiteral("ABM");
    frmproductos window(ctx_, this);
    execModal(ctx_, window);
}

void menu::mnuNUeNut_Click() {
    ctx_.currentPropertyId = 0;
    openBusy<frmpropiedad>(ctx_, this);
}

void menu::mnuConNut_Click() {
    ctx_.listMode = QStringLiteral("ABM");
    frmpropiedades window(ctx_, this);
    execModal(ctx_, window);
}

void menu::mnuGrupos_Click() {
    frmGrupos window(ctx_, false, this);
    execModal(ctx_, window);
}

void menu::mnuNuevoCliente_Click() {
    frmCliente window(ctx_, this);
    window.vIdCliente = 0;
    execModal(ctx_, window);
}

void menu::mnuClienteConsultas_Click() {
    frmClientes window(ctx_, this);
    window.vAction = QStringLiteral("ABM");
    execModal(ctx_, window);
}

} // namespace tarvela
