#include "app/gui/modal_launcher.h"

#include "context/app_context.h"

#include <QDialog>

namespace tarvela {

int ModalLauncher::exec(QDialog& dialog) {
    return dialog.exec();
}

int execModal(AppContext& ctx, QDialog& dialog) {
    return ctx.launcher ? ctx.launcher->exec(dialog) : dialog.exec();
}

} // namespace tarvela
