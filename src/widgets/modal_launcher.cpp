#include "widgets/modal_launcher.h"

#include "context/app_context.h"
#include "context/modal_launcher.h"

#include <QDialog>

namespace tarvela {

int execModal(AppContext& ctx, QDialog& dialog) {
    return ctx.launcher ? ctx.launcher->exec(dialog) : dialog.exec();
}

} // namespace tarvela
