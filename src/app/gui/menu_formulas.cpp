#include "app/gui/menu.h"

#include "app/gui/modal_launcher.h"
#include "formulas/gui/frmformulas.h"

namespace tarvela {

void menu::admformulas_Click() {
    ctx_.listMode = QStringLiteral("ABM");
    frmformulas window(ctx_, this);
    execModal(ctx_, window);
}

} // namespace tarvela
